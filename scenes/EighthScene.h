// The eighth scene's rules that follow from the music time alone: the camera cut, the beat
// envelope (white flash and sphere time), the fade to black, the sphere columns and each sphere's
// height and world. Pure functions and tables; any thread.
#pragma once

#include <array>

#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// Camera cuts (music time), ending with a closing entry; each cut happens 0.1 s before its entry.
inline constexpr std::array<float, 9> kEighthSceneCuts = {177.46f, 182.78f, 188.14f, 190.8f, 198.8f,
                                                          204.13f, 209.45f, 212.12f, 1000.0f};
inline constexpr float kEighthCutLead = 0.1f;

// Beats (music time), ending with a closing entry; each beat is taken 0.3 s before its entry.
inline constexpr std::array<float, 27> kEighthSceneBeats = {
    176.3f,  176.92f, 178.9f,  179.65f, 181.5f,  182.2f,  184.24f, 185.11f, 186.46f,
    186.62f, 186.8f,  190.57f, 197.55f, 198.24f, 200.25f, 200.9f,  201.24f, 201.64f,
    202.92f, 203.58f, 205.59f, 206.47f, 207.8f,  208.16f, 208.47f, 212.12f, 1000.0f};
inline constexpr float kEighthBeatLead = 0.3f;

// The sphere columns' anchors (x, z) on the ground; each column stands 4 units along x and 8
// along z from its anchor and holds three spheres 20 units apart.
inline constexpr int kSphereColumns = 8;
inline constexpr int kSpheresPerColumn = 3;
inline constexpr std::array<D3DXVECTOR2, kSphereColumns> kSphereAnchors = {{
    {-30.9f, 34.6f}, {11.5f, 62.1f}, {64.0f, 54.6f}, {19.0f, -12.8f},
    {-68.4f, -27.84f}, {-20.9f, -47.8f}, {-35.9f, -82.8f}, {66.5f, -65.3f},
}};

// The endorfCameras path (0 to 2) of music time b: 1 + the cut entries already taken, through
// the three-path cycle.
int eighthCameraPath(float b);

struct BeatEnvelope {
  float flash;       // q = 1 - sin x: 1 on the beat, 0 about 0.31 s later
  float sphereTime;  // s = b + 2 k + sin x
};

// The envelope of the last beat taken before b (x = 5 (b - (entry - 0.3)) clamped to [0, pi/2]).
BeatEnvelope eighthBeatEnvelope(float b);

// The black card's opacity: 0 up to 218 s, rising to 1 at 220 s.
float eighthFadeToBlack(float b);

// Column i's height offset, 50 LatticeNoise(i).
float sphereColumnHeight(int column);

// The centre height of sphere j of column i at sphere time s: 20 j + 10 s + h(i), reduced by
// whole multiples of 70 once above 70, then lowered by 10.
float sphereHeight(int column, int sphere, float s);

// Sphere j of column i at sphere time s: scale 0.1, yaw = pitch = roll = i + j + s, at
// (anchor x + 4, height, anchor z + 8).
D3DXMATRIX sphereWorld(int column, int sphere, float s);

// The mirror image of the ground: y flipped about the plane y = 30.
D3DXMATRIX eighthMirrorWorld();

}  // namespace scenes
