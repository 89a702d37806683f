// The sixth scene's rules that follow from its scene and music times: the cut table and what each
// cut sets (camera path, light, far plane, ribbon time, focus), the backwards camera time, the
// ribbon placements, the white fade-in and the beat flash. Pure functions and tables; any thread.
#pragma once

#include <array>

#include "platform/d3dx9/D3DXMath.h"
#include "timeline/ScheduleTables.h"

namespace scenes {

// Cut table in (wrapped) scene time, ending with a closing entry.
inline constexpr std::array<float, 14> kSixthSceneCuts = {3.25f, 4.6f,  6.46f, 8.9f,  10.9f, 12.9f, 14.9f,
                                                          16.9f, 18.9f, 20.9f, 22.9f, 24.9f, 26.9f, 400.0f};
static_assert(kSixthSceneCuts.back() == 400.0f, "a missing entry would leave a zero at the end");

// Flash beats (music time), ending with a closing entry: the schedule's cut table, so the
// flash peaks on every cut between the valley and the seventh renderer.
inline constexpr const std::array<float, 113>& kSixthFlashBeats = timeline::kSixthCutTimes;

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
