// What the fifth scene's two views share: the beat table and its flash, the fade from black, the
// camera path time, the ribbon swarm (shapes, placements, the shadow stamp and the lit pass), the
// orbit of the picture sprites and the light's circle. Pure helpers plus the steps both views draw
// the same way; everything follows from the scene and music times. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx9/D3DXMath.h"
#include "scenes/SceneView.h"
#include "scenes/SkyDome.h"
#include "timeline/Stages.h"

namespace scenes {

// Beat table W of the fifth slot (music time), entry 0 a placeholder, ending with two sentinels.
inline constexpr std::array<float, 66> kFifthSceneBeats = {
    0.0f,    91.45f,  92.47f,  93.3f,   93.8f,   94.13f,  94.66f,  94.92f,  95.17f,  95.46f,  95.8f,
    96.16f,  96.77f,  97.3f,   97.81f,  98.13f,  99.4f,   99.99f,  100.8f,  101.1f,  101.3f,  101.5f,
    102.12f, 103.14f, 103.64f, 103.97f, 104.4f,  104.8f,  105.3f,  105.8f,  105.99f, 106.14f, 106.97f,
    107.4f,  107.98f, 108.5f,  108.8f,  109.47f, 110.12f, 110.63f, 111.16f, 111.45f, 111.6f,  111.77f,
    111.9f,  112.4f,  112.6f,  112.8f,  113.8f,  114.3f,  114.6f,  115.1f,  115.3f,  115.46f, 116.3f,
    116.8f,  117.18f, 117.5f,  117.63f, 117.82f, 118.13f, 118.66f, 119.16f, 119.45f, 200.16f, 300.0f};
static_assert(kFifthSceneBeats.back() == 300.0f, "a missing entry would leave a zero at the end");

inline constexpr int kSwarmInstances = 30;
inline constexpr int kFifthSprites = 40;

// The index of the first beat after entry 0 that is not before music time `b`; the last entry
// when every entry is before it.
int fifthBeatIndex(float b);
// White flash opacity: 1.3 x the time to that beat, clamped to [0, 1].
float fifthFlashOpacity(float b);
// Black fade-in opacity: 1 at a = 0, gone from a = 2.
float fifthBlackOpacity(float a);
// Camera path time 6.25 a, wrapped by whole multiples of 50 once past 50.
float fifthPathTime(float a);
// The ground morph / cube lift weight: clamp(0.0333 a, 0, 1) + 3 S2, not clamped again.
float fifthMorphWeight(float a, float s2);

// Noise-mesh vertices are 8 floats (position, normal, texture coordinate); cube-grid vertices 11,
// 24 to a cube, 40 x 40 cubes (row r along x, column q along z).
inline constexpr std::size_t kNoiseVertexFloats = 8;
inline constexpr std::size_t kCubeVertexFloats = 11;
inline constexpr std::size_t kCubeVertices = 24;
inline constexpr int kCubeRows = 40;
inline constexpr int kCubeCount = kCubeRows * kCubeRows;

// The ground morph: position and normal of each vertex of `out` become A + t (B - A) from the
// same vertex of `a` and `b`; the texture coordinates are left as they are. Only vertices all
// three hold are written.
void morphNoiseVertices(std::span<const float> a, std::span<const float> b, std::span<float> out, float t);

// Cube n's height: the y of noise vertex 162 (r + 1) + 2 q in `a` and `b`, blended by x; 0 when
// either mesh lacks that vertex.
float cubeLiftHeight(std::span<const float> a, std::span<const float> b, int n, float x);
// Lifts every cube the grid holds: float 1 (y) of each of its vertices becomes its height plus
// float 9 (the rest height the cube-grid generator stores). Nothing else changes.
void liftCubeVertices(std::span<float> cubes, std::span<const float> a, std::span<const float> b, float x);

// noiseMeshB = noiseMesh + t (noise2Mesh - noiseMesh), position and normal, in the vertex buffers.
void morphFifthGround(timeline::MainStage& stage, float t);
// Every cube of the stage's cubeGrid lifted to the morphing ground's height under it (liftCubeVertices).
// Either does nothing unless the meshes hold vertices of the layouts above.
void liftFifthCubes(timeline::MainStage& stage, float x);

// The alternate view's eye: (1.5 x, 1.5 (y + 30), 1.5 z).
D3DXVECTOR3 pushedEye(const D3DXVECTOR3& eye);

// Swarm instance k's world: scale 0.5, yaw k, pitch pi / (2 - 0.1 u(k)), roll 0.5 k, moved by
// (200 u(5234 k), 100 + 50 u(5234234 k), 0.3 u(523334 k)), products wrapping in 32 bits.
D3DXMATRIX swarmWorld(int k);
// The picture sprite i's centre at scene time a on its orbit of radius 1000.
D3DXVECTOR3 fifthSpriteCentre(int i, float a);
// The light circling 400 (normal view) or 500 (alternate view) above the ground.
D3DXVECTOR3 fifthLightEye(float a, float height);

// What the two views set differently in the steps they share.
struct FifthView {
  bool pushedOut;  // the eye pushed out and up (pushedEye)
  float cameraFar;
  float lightHeight;
  D3DXVECTOR3 lightTarget;
  float lightFov;
  D3DCOLOR shadowClear;
  SkyDome sky;
};

// The swarm's two ribbon shapes (planeGrids 0 and 1) rebuilt for music time b; gCameras[variant]
// (variant clamped to 0..3) sampled at the path time of a into the current camera, pushed out where
// the view says, with its far plane and its target moved 10 S1 along every axis; the light on its
// circle; the sprite orbit written into sprites40. Returns the frame's view.
SceneView placeFifthView(timeline::MainStage& stage, float a, float b, int variant, const FifthView& look);

// The swarm's shadow (the shadow target cleared to the view's colour, "line" pass 1), the back
// buffer begun, the sky dome at `skyBrightness`, the picture sprites and the lit swarm ("line1"
// pass 1). Leaves the scene open.
void drawFifthBackdrop(timeline::MainStage& stage, const FifthView& look, float skyBrightness, const SceneView& view);

// The fade from black, the beat flash and the frame overlay in one "demo1text" bracket; end and present.
void drawFifthCardsAndPresent(IDirect3DDevice9* device, float a, float b);

}  // namespace scenes
