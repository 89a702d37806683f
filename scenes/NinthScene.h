// The ninth scene's rules that follow from the scene and music times: the cut, its still camera
// path and the ribbon weight that fades towards each cut, the particle stream's centres, the
// ribbons' world and the black fades. Pure functions and tables; any thread.
#pragma once

#include <array>
#include <cstdint>

#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// Camera cuts (music time), ending with a closing entry.
inline constexpr std::array<float, 9> kNinthSceneCuts = {224.45f, 229.86f, 235.26f, 240.45f, 245.66f,
                                                         248.35f, 250.97f, 253.65f, 1000.0f};

inline constexpr int kNinthRibbons = 4;

struct NinthCut {
  int cameraPath;      // r7Cameras 0 to 2
  float ribbonWeight;  // F: 1, falling to 0 over the 3.33 s before the next cut
};

// n = the cut entries below b (0 up to the first entry); F = clamp(0.3 (entry n - b), 0, 1); the
// path is n through the three-path cycle.
NinthCut ninthCut(float b);

// The stream centre of selection entry k at scene time a: x drifts +10 units per second through
// (-300, 100], wrapping back by 400; y and z stay in (-100, 100].
D3DXVECTOR3 streamCentre(std::uint32_t k, float a);

// The four ribbons' world: pitch and roll a quarter turn each, scale 1, at the origin, so the
// ribbons run along x.
D3DXMATRIX ninthRibbonWorld();

// The black card's opacity: 1 at a = 0, gone at a = 2; from 251.45 s it rises to 1 at 253.45 s.
float ninthBlackOpacity(float a, float b);

}  // namespace scenes
