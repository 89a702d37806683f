// The camera cycle the eighth and ninth scenes share: a shot count wrapped by 2.6 picks one of
// three camera paths. Pure; any thread.
#pragma once

#include <algorithm>
#include <cmath>

#include "scenes/PeriodicWrap.h"

namespace scenes {

inline constexpr int kShotCyclePaths = 3;

// A count above 2.6 loses 2.6 times trunc(count x 0.3846154); the path is the truncated rest:
// 0, 1, 2, then 0.4, 1.4, 2.4, 0.8, 1.8, 0.2, 1.2 ... for counts 0 to 9. Clamped to a path that
// exists, so a count the tables cannot produce still names a loaded camera.
inline int shotCyclePath(int count) {
  constexpr Cycle kShotCycle{2.6f, 0.3846154f};
  const float x = wrapCycle(static_cast<float>(count), kShotCycle);
  return std::clamp(static_cast<int>(std::trunc(x)), 0, kShotCyclePaths - 1);
}

}  // namespace scenes
