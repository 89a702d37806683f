// The wraps the scenes apply to times, counts and heights that run past a period: a value above the
// period loses its whole multiples of it; a value at or below the period is kept as it is (so the
// period itself stays, and is not folded to 0). Pure; any thread.
#pragma once

#include <cmath>

namespace scenes {

inline float wrapPast(float x, float period) { return x > period ? std::fmod(x, period) : x; }

// A period and the factor that stands for one over it. The cycle wrap multiplies by the factor
// given instead of dividing, so it rounds as the scenes' tables were timed.
struct Cycle {
  float period;
  float factor;
};

// Above the period, x loses period × trunc(x × factor); otherwise it is kept.
inline float wrapCycle(float x, const Cycle& cycle) {
  return x > cycle.period ? x - std::trunc(x * cycle.factor) * cycle.period : x;
}

}  // namespace scenes
