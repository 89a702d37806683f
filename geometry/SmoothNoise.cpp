// Smooth noise: the lattice cell of t and two cubic blends 20 lattice points apart.
#include "geometry/SmoothNoise.h"

#include <limits>

#include "geometry/LatticeNoise.h"

namespace geometry {

namespace {

// x and y read disjoint stretches of the lattice so they do not follow each other.
constexpr std::uint32_t kXLatticeOffset = 20u;

// Truncation toward zero, defined for every float: out of range and NaN give INT32_MIN.
std::int32_t truncateToInt(float u) {
  if (u >= -2147483648.0f && u < 2147483648.0f) return static_cast<std::int32_t>(u);
  return std::numeric_limits<std::int32_t>::min();
}

// The lattice value at a wrapped index, taken as float.
float latticeAt(std::uint32_t index) { return static_cast<float>(LatticeNoise(static_cast<std::int32_t>(index))); }

}  // namespace

float cubicBlend(float w0, float w1, float w2, float w3, float f) {
  const float p = (w3 - w2) - (w0 - w1);
  const float q = (w0 - w1) - p;
  const float r = w2 - w0;
  return p * f * f * f + q * f * f + r * f + w1;
}

D3DXVECTOR3 SmoothNoise(float period, float t, float amplitude, std::int32_t seed) {
  return SmoothNoisePath(period, amplitude, seed).at(t);
}

SmoothNoisePath::SmoothNoisePath(float period, float amplitude, std::int32_t seed)
    : period_(period), amplitude_(amplitude), seed_(static_cast<std::uint32_t>(seed)) {}

void SmoothNoisePath::load(std::uint32_t m) {
  const std::uint32_t k = m + kXLatticeOffset;
  x_ = {latticeAt(k - 1u), latticeAt(k), latticeAt(k + 1u), latticeAt(k + 2u)};
  y_ = {latticeAt(m - 1u), latticeAt(m), latticeAt(m + 1u), latticeAt(m + 2u)};
  cell_ = m;
  loaded_ = true;
}

D3DXVECTOR3 SmoothNoisePath::at(float t) {
  const float u = t / period_;
  const std::int32_t whole = truncateToInt(u);
  const float f = u - static_cast<float>(whole);
  const std::uint32_t m = static_cast<std::uint32_t>(whole) + seed_;
  if (!loaded_ || m != cell_) load(m);
  return {amplitude_ * cubicBlend(x_.w0, x_.w1, x_.w2, x_.w3, f),
          amplitude_ * cubicBlend(y_.w0, y_.w1, y_.w2, y_.w3, f), t};
}

}  // namespace geometry
