// The camera cycle the eighth and ninth scenes share: a shot count wrapped by 2.6 picks one of
// three camera paths. Pure; any thread.
#pragma once

#include <algorithm>
#include <cmath>

namespace scenes {

inline constexpr int kShotCyclePaths = 3;

// A count above 2.6 loses 2.6 times trunc(count x 0.3846154); the path is the truncated rest:
// 0, 1, 2, then 0.4, 1.4, 2.4, 0.8, 1.8, 0.2, 1.2 ... for counts 0 to 9. Clamped to a path that
// exists, so a count the tables cannot produce still names a loaded camera.
inline int shotCyclePath(int count) {
  constexpr float kCycle = 2.6f;
  constexpr float kCycleFactor = 0.3846154f;
  float x = static_cast<float>(count);
  if (x > kCycle) x = x - kCycle * std::trunc(x * kCycleFactor);
  return std::clamp(static_cast<int>(std::trunc(x)), 0, kShotCyclePaths - 1);
}

}  // namespace scenes
