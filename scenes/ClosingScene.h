// The closing scene's one rule: the weight of the black card over the logo, from the scene time and
// the music's band 2. Pure; any thread.
#pragma once

namespace scenes {

// k = (1 - clamp(a / 2, 0, 1)) + 300 S2 + a / 9.68, not clamped: 1 or more is fully black.
float closingBlackWeight(float a, float s2);

}  // namespace scenes
