// The lattice hash in unsigned arithmetic, so that its wrapping products are defined behaviour.
#include "geometry/LatticeNoise.h"

namespace geometry {

namespace {
constexpr std::uint32_t kSquareFactor = 15731u;
constexpr std::uint32_t kLinearTerm = 789221u;
constexpr std::uint32_t kOffset = 771171059u;
constexpr std::uint32_t kSignMask = 0x7FFFFFFFu;
constexpr double kHashScale = 1073741824.0;  // 2^30
}  // namespace

std::uint32_t latticeHash(std::int32_t n) {
  const auto bits = static_cast<std::uint32_t>(n);
  const std::uint32_t m = bits ^ (bits << 13);
  return (m * (m * m * kSquareFactor + kLinearTerm) - kOffset) & kSignMask;
}

double LatticeNoise(std::int32_t n) { return 1.0 - latticeHash(n) / kHashScale; }

}  // namespace geometry
