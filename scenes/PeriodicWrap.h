// The wrap the scenes apply to times and heights that run past a period: a value above the period
// loses its whole multiples of it; a value at or below the period is kept as it is (so the period
// itself stays, and is not folded to 0). Pure; any thread.
#pragma once

#include <cmath>

namespace scenes {

inline float wrapPast(float x, float period) { return x > period ? std::fmod(x, period) : x; }

}  // namespace scenes
