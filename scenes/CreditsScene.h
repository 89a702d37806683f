// The credits' rules that follow from the scene and music times: which card stands, the white
// flash before each card change, the gliding camera and light, the card's world and the fade-in.
// Pure functions and tables; any thread.
#pragma once

#include <array>

#include "assets/Camera.h"
#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// Card changes (music time), ending with a closing entry.
inline constexpr std::array<float, 5> kCreditsCardTimes = {256.7f, 260.0f, 263.23f, 266.35f, 1000.0f};
// The texture of each card, 0 to 4.
inline constexpr std::array<const char*, 5> kCreditsCards = {"producer", "music", "moral", "organ", "tinkerfolks8"};

// The card on screen at music time b (0 to 4): the card changes just after each entry.
int creditsCard(float b);

// The white flash: 0 until one second before the next card change, rising to 1 at it.
float creditsFlash(float b);

// Where the card (and the ground point under the screen centre) is at scene time a: z = 3 a - 30.
float creditsCardZ(float a);

// The current camera's eye, target and field of view at scene time a; up, near and far are
// left as `camera` holds them.
void placeCreditsCamera(assets::Camera& camera, float a);

// The light's eye, target and field of view at scene time a; the rest is left as it is.
void placeCreditsLight(assets::Camera& light, float a);

// The card's world at scene time a with uniform scale `scale` (2.7 for its shadow, 2.4 on screen).
D3DXMATRIX creditsCardWorld(float a, float scale);

// The black card's opacity: 1 at a = 0, gone at a = 2.
float creditsBlackOpacity(float a);

inline constexpr float kCreditsShadowScale = 2.7f;
inline constexpr float kCreditsCardScale = 2.4f;

}  // namespace scenes
