// The opening flash's picture choice: three pictures cycling every 0.1 s of music time in a cycle
// of 0.26 s. Pure functions; any thread.
#pragma once

#include <array>

namespace scenes {

inline constexpr std::array<const char*, 3> kOpeningFlashPictures = {"organ1f", "organ5cf", "organ4cf"};

// The picture index (0 to 2) for music time `x`: c = 10 x reduced by whole cycles of 2.6.
int openingFlashPicture(float x);

}  // namespace scenes
