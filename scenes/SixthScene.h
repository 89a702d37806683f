// The sixth scene's rules that follow from its scene and music times: the cut table and what each
// cut sets (camera path, light, far plane, ribbon time, focus), the backwards camera time, the
// ribbon placements, the white fade-in and the beat flash. Pure functions and tables; any thread.
#pragma once

#include <array>

#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// Cut table in (wrapped) scene time, ending with a closing entry.
inline constexpr std::array<float, 14> kSixthSceneCuts = {3.25f, 4.6f,  6.46f, 8.9f,  10.9f, 12.9f, 14.9f,
                                                          16.9f, 18.9f, 20.9f, 22.9f, 24.9f, 26.9f, 400.0f};
static_assert(kSixthSceneCuts.back() == 400.0f, "a missing entry would leave a zero at the end");

// Flash beats (music time), ending with a closing entry.
inline constexpr std::array<float, 113> kSixthFlashBeats = {
    122.41f, 122.63f, 122.82f, 123.8f,  123.96f, 124.13f, 125.0f,  125.31f, 125.5f,  125.64f, 125.8f,  125.98f,
    126.13f, 127.15f, 127.47f, 127.82f, 128.05f, 128.14f, 128.28f, 128.49f, 128.8f,  129.29f, 129.78f, 130.11f,
    130.83f, 130.98f, 131.16f, 131.3f,  131.45f, 132.45f, 132.82f, 132.99f, 133.16f, 133.31f, 133.47f, 133.62f,
    133.79f, 133.99f, 134.12f, 134.8f,  134.98f, 135.15f, 135.46f, 135.94f, 136.13f, 136.44f, 136.78f, 137.3f,
    137.63f, 137.8f,  137.98f, 138.14f, 138.49f, 138.64f, 138.8f,  138.99f, 139.15f, 139.45f, 139.97f, 140.48f,
    140.8f,  140.98f, 141.48f, 141.83f, 141.98f, 142.12f, 142.41f, 142.63f, 143.0f,  143.12f, 143.32f, 143.48f,
    143.65f, 143.79f, 144.17f, 144.5f,  144.65f, 144.8f,  145.08f, 145.28f, 145.45f, 145.65f, 145.81f, 146.21f,
    146.61f, 146.81f, 147.15f, 147.31f, 147.48f, 147.97f, 148.32f, 148.48f, 148.8f,  149.14f, 149.46f, 149.63f,
    149.83f, 150.13f, 150.62f, 151.18f, 151.45f, 151.63f, 152.13f, 152.47f, 152.63f, 152.8f,  153.3f,  153.66f,
    153.8f,  154.15f, 154.3f,  154.66f, 1000.0f};
static_assert(kSixthFlashBeats.back() == 1000.0f, "a missing entry would leave a zero at the end");

// What a cut sets once its path is sampled. The light looks at the sampled target T moved by
// `lightTargetOffset`; the ribbon time is u, or u' + `ribbonOffset` where `ribbonOnWrapped`.
struct SixthCut {
  int cameraPath;  // index into vallyCameras
  D3DXVECTOR3 lightEye;
  D3DXVECTOR3 lightTargetOffset;
  float lightFov;
  bool keepsPathFar;  // the far plane stays as the path gives it; otherwise 10000
  bool ribbonOnWrapped;
  float ribbonOffset;
  float focus;
};

inline constexpr std::array<SixthCut, 6> kSixthCutSetups = {{
    {0, {0.0f, 100.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.5707964f, false, false, 0.0f, 0.3f},
    {1, {-90.0f, 100.0f, 80.0f}, {0.0f, 0.0f, 0.0f}, 0.62831855f, false, true, -1.3f, 0.3f},
    {2, {-90.0f, 100.0f, 80.0f}, {-30.0f, 0.0f, -30.0f}, 1.5707964f, false, true, -2.0f, 0.3f},
    {5, {-50.0f, 40.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.5707964f, true, true, -4.0f, 0.8f},
    {3, {-30.0f, 40.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.5707964f, false, false, 0.0f, 0.3f},
    {4, {-50.0f, 40.0f, 0.0f}, {40.0f, 0.0f, 0.0f}, 1.5707964f, false, false, 0.0f, 0.5f},
}};

inline constexpr int kSixthRibbons = 4;

// u' = u, less 12.9 once or twice while above 12.9.
float sixthWrappedTime(float u);
// The cut of u': the count of cut entries below u', wrapped by 5.6 (0 to 5).
int sixthCutIndex(float uw);
// Five times the time left until the cut's end, so each shot runs its path backwards to key 0.
float sixthCameraTime(int cut, float uw);
// The ribbon time r of a cut.
float sixthRibbonTime(int cut, float u, float uw);
// Ribbon i's world for placement time tau: scale 0.1, pitch pi/2, roll -pi/2, at (X, -20, 0) with
// X = (15 i + 100 tau, wrapped past 600) - 400.
D3DXMATRIX sixthRibbonWorld(int i, float tau);
float sixthRibbonX(int i, float tau);
// White fade-in 1 - clamp(0.5 u', 0, 1).
float sixthFadeOpacity(float uw);
// The flash weight 0.5 (1 - f), f = clamp(3.3 (next beat - b), 0, 1).
float sixthFlashOpacity(float b);

}  // namespace scenes
