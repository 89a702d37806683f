// The fourth scene's rules that tests can call without a device: the spectrum history push, the
// lift of a box of the cube field, the camera and camera time of a scene time, the circling light
// and the white flash weight. Pure functions; any thread.
#pragma once

#include <array>
#include <span>

#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// Camera cuts in scene time, closed by a sentinel past the slot.
inline constexpr std::array<float, 16> kFourthSceneCuts = {1.27f,  2.7f,   4.15f,  5.46f,  6.72f,  8.04f,
                                                           9.38f,  10.73f, 12.04f, 13.37f, 14.77f, 16.06f,
                                                           17.41f, 18.75f, 20.06f, 500.0f};
static_assert(kFourthSceneCuts.back() == 500.0f, "a missing entry would leave a zero at the end");

// White flash beats in music time.
inline constexpr std::array<float, 31> kFourthSceneFlashes = {
    70.45f, 71.11f, 71.78f, 72.45f, 73.12f, 73.97f, 74.46f, 75.1f,  75.78f, 76.45f, 77.12f,
    77.77f, 78.44f, 79.1f,  80.15f, 81.12f, 81.78f, 82.45f, 83.12f, 83.8f,  84.62f, 85.12f,
    85.8f,  86.44f, 87.11f, 87.8f,  88.43f, 89.12f, 89.8f,  90.45f, 90.82f};

// Pushes `newest` into the history (newest first, the oldest drops out) and sets `lastUpdate` to
// `keyPosition` when the key position has moved more than 0.1 past `lastUpdate`; otherwise leaves
// both alone. A key position behind `lastUpdate` (after a backward seek) pushes nothing. True when
// it pushed.
bool pushSpectrumHistory(std::span<float> history, float& lastUpdate, float keyPosition, float newest);

// The lift of the box centred at (px, pz): 60 + history[k] + 7 sin(c + 0.02 px) with
// k = trunc((pz + 200) · 0.1), the row of the box; a centre off the 40 rows reads the nearest row
// the history holds.
float fourthSceneBoxLift(std::span<const float> history, float px, float pz, float c);

// The camera (0 r4Camera09, 1 r4Camera10, 2 r3Camera06, 3 r4Camera12) of scene time a: 0 while
// a ≤ 0, otherwise 1 + the beat-table entries below a, wrapped by 3.6.
int fourthSceneCamera(float a);
// The camera time 2 a, less whole multiples of 50 once it passes 50.
float fourthSceneCameraTime(float a);

// The light circling above the field: (50 sin a, 230, 50 cos a − 100).
D3DXVECTOR3 fourthSceneLightEye(float a);

// The white flash weight at music time b: the time to the next flash beat not below b, clamped to
// 0 … 1; 1 after the last beat.
float fourthSceneFlash(float b);

}  // namespace scenes
