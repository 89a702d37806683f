// The lattice noise the scenes scatter things with: the noise of an index times a seed factor,
// the product wrapping in 32 bits, so each factor gives its own repeatable scatter. Pure; any thread.
#pragma once

#include <cstdint>

#include "geometry/LatticeNoise.h"

namespace scenes {

inline float seededNoise(std::uint32_t n, std::uint32_t factor = 1u) {
  return static_cast<float>(geometry::LatticeNoise(static_cast<std::int32_t>(n * factor)));
}

}  // namespace scenes
