// The second scene's rules that follow from the scene time alone: the camera cut and its path,
// the path time, the last ribbon hit, where each ribbon flies and the flash after each cut.
// Pure functions; any thread.
#pragma once

#include <array>

#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// Camera cuts in scene time; the last entry lies past the slot and keeps the time to the next cut large.
inline constexpr std::array<float, 33> kSecondSceneCuts = {
    0.59f,  1.2f,   2.14f,  2.65f,  3.37f,  3.95f,  4.77f,  5.32f,  6.03f,  6.71f,  7.36f,
    8.06f,  8.7f,   9.33f,  10.02f, 10.64f, 11.38f, 12.05f, 12.79f, 13.4f,  14.05f, 14.69f,
    15.4f,  16.05f, 16.72f, 17.35f, 18.03f, 18.68f, 19.39f, 20.0f,  20.63f, 21.35f, 4000.0f};

// Hits that throw the ribbons back, in scene time.
inline constexpr std::array<float, 15> kSecondSceneHits = {0.0f,  2.33f,  3.57f, 5.0f,  6.37f,
                                                           7.72f, 9.0f,   10.4f, 11.77f, 13.0f,
                                                           14.35f, 15.7f, 18.37f, 19.7f, 21.11f};

// From this scene time the cut flash jumps to full and fades out over a second, whatever the cuts.
inline constexpr float kSecondSceneFlashFadeStart = 21.0f;

inline constexpr std::array<int, 6> kSecondSceneRibbonSeeds = {423423, 7673423, 233423, 73423, 9673423, 6573423};

struct CameraCut {
  int cut;              // entries of the cut table passed (0 to 32)
  float untilNextCut;   // seconds to the next entry
};

// The cut of scene time `a`: the number of cut times strictly below it and the time left to the next.
CameraCut secondSceneCut(float a);

// The camera path (0 to 4) of cut number `cut`: the count reduced by whole cycles of 4.6.
int secondScenePath(int cut);

// The path time 1.9 a, reduced by whole multiples of 50 once it passes 50.
float secondScenePathTime(float a);

// The last hit strictly before `a` (0 when there is none).
float secondSceneLastHit(float a);

// Where ribbon i (0 to 5) sits at scene time `a`: x and y from the lattice noise of the ribbon's
// counters, z = 100 - 5 i less 112 units per second since the last hit.
D3DXVECTOR3 secondSceneRibbonOffset(int ribbon, float a);

struct CutFlash {
  float weight;  // q: the flash's "alpha" is twice this
  float zoom;    // s: the flash's "scale" is 1 - s
};

// q = clamp(time to next cut / 2, 0, 1), fading out over the second after 21 instead; s = clamp(a / 100, 0, 1).
CutFlash secondSceneFlash(float a);

}  // namespace scenes
