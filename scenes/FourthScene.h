// The fourth scene's rules that tests can call without a device: the spectrum history push, the
// lift of a box of the cube field, the camera and camera time of a scene time, the circling light
// and the white flash weight. Pure functions; any thread.
#pragma once

#include <span>

#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

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
