// The seventh scene's rules that follow from its scene and music times: the camera cut and path
// time, the orbit of the picture cards, the drift of the swarm, the rising ribbons and their fade.
// Pure functions and tables; any thread.
#pragma once

#include <array>
#include <cstdint>

#include "platform/d3dx9/D3DXMath.h"
#include "scenes/FourthScene.h"

namespace scenes {

// Cut table in scene time, ending with a closing entry: the fourth scene's own.
inline constexpr const std::array<float, 16>& kSeventhSceneCuts = kFourthSceneCuts;

// From this music time on the camera stays on the first path (index 0) whatever the cut.
inline constexpr float kSeventhHoldTime = 154.65f;

inline constexpr int kSeventhCards = 40;
inline constexpr int kRisingRibbons = 30;

// The camera index of scene time u: 0 for u <= 0, else 1 + the cut entries below u, wrapped by
// 3.6 (0 to 3); 0 is bakkeCamera, 1 to 3 are bakkeCameras 0 to 2.
int seventhCameraIndex(float u);
// The path index actually sampled: the cut's, or 0 once the music passes kSeventhHoldTime.
int seventhCameraPath(float u, float b);
// Path time 2 u, wrapped by whole multiples of 50 once past 50.
float seventhCameraTime(float u);

// Picture card i's centre at scene time u.
D3DXVECTOR3 seventhCardCentre(int i, float u);
// Swarm particle of selection entry k, its load-time centre `rest`, at scene time u: height
// (10 u + rest y) wrapped within 40, spread s = 0.4 LatticeNoise(k) + 0.02 height around (7.6, 28.8).
D3DXVECTOR3 seventhSwarmCentre(std::uint32_t k, const D3DXVECTOR4& rest, float u);
// Rising ribbon i's height before the shift: 15 i + 120 u, wrapped past 500.
float seventhRibbonRise(int i, float u);
// Rising ribbon i's world: scale 0.2, yaw i, at (5 A + 7, rise - 300, 5 A + 32), A = LatticeNoise(i).
D3DXMATRIX seventhRibbonWorld(int i, float u);
// The rising ribbons' opacity: 1 until 154.8 s, falling to 0 at 156.8 s.
float seventhRibbonFade(float b);

}  // namespace scenes
