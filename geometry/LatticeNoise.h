// `LatticeNoise`: the integer hash that is the show's only source of pseudo-random numbers, and
// the value in (-1, 1] made from it. Pure functions of a 32-bit integer, deterministic on every
// machine; any thread.
#pragma once

#include <cstdint>

namespace geometry {

// h(n) = (m * (m * m * 15731 + 789221) - 771171059) AND 0x7FFFFFFF with m = n XOR (n << 13),
// in wrapping 32-bit arithmetic. Some scenes use the hash itself.
std::uint32_t latticeHash(std::int32_t n);

// 1.0 - h(n) / 2^30, computed and returned in double: a value in (-1, 1]. Callers that work in
// float (SmoothNoise, the scenes' placements) convert the result once.
double LatticeNoise(std::int32_t n);

}  // namespace geometry
