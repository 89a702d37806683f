#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "geometry/LatticeNoise.h"
#include "geometry/SmoothNoise.h"

namespace {

using geometry::latticeHash;
using geometry::LatticeNoise;
using geometry::SmoothNoise;

// Worked by hand, mod 2^32, with m = n XOR (n << 13) and h = (m(m^2 * 15731 + 789221) - 771171059)
// AND 0x7FFFFFFF:
//   n = 0: m = 0; 0 - 771171059 = 3523796237; AND -> 1376312589; 1 - h / 2^30 = -0.28179098...
//   n = 1: m = 8193; m^2 * 15731 = 1055947292019 = 3680304499; + 789221 = 3681093720;
//          * 8193 = 30159200847960 = 4235462744; - 771171059 = 3464291685; AND -> 1316808037;
//          1 - h / 2^30 = -0.22637305...
//   n = 2: m = 16386; m^2 * 15731 = 1836316108; + 789221 = 1837105329; * 16386 = 3677110626;
//          - 771171059 = 2905939567; AND -> 758455919; 1 - h / 2^30 = 0.29363288...
TEST(LatticeNoise, KnownValuesToSevenDigits) {
  EXPECT_EQ(latticeHash(0), 1376312589u);
  EXPECT_EQ(latticeHash(1), 1316808037u);
  EXPECT_EQ(latticeHash(2), 758455919u);
  EXPECT_NEAR(LatticeNoise(0), -0.2817910, 5e-8);
  EXPECT_NEAR(LatticeNoise(1), -0.2263731, 5e-8);
  EXPECT_NEAR(LatticeNoise(2), 0.2936329, 5e-8);
}

// Wrapping 32-bit products: INT32_MIN hashes like 0 (m = 2^31, m^2 = 0, m * 789221 = 2^31) and -1
// like INT32_MAX (their m differ by 2^31, the inner factor is even); wider arithmetic differs.
// Every value lies in (-1, 1].
TEST(LatticeNoise, ProductsWrapAndValuesStayInRange) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(latticeHash(kMin), latticeHash(0));
  EXPECT_EQ(latticeHash(-1), latticeHash(kMax));
  for (std::int32_t n = -200000; n <= 200000; ++n) {
    const double value = LatticeNoise(n);
    ASSERT_TRUE(value > -1.0 && value <= 1.0) << n;
  }
}

// At t = k * p the fraction is 0: y is exactly A * N(k + seed), x exactly A * N(k + seed + 20)
// (in float, as the blend works), z is t; the seed wraps.
TEST(SmoothNoise, LatticePointsGiveTheLatticeValues) {
  auto lattice = [](std::uint32_t n) { return static_cast<float>(LatticeNoise(static_cast<std::int32_t>(n))); };
  for (std::int32_t seed : {0, 423423, 4685234, std::numeric_limits<std::int32_t>::max()}) {
    for (std::uint32_t k : {0u, 3u, 7u}) {
      const D3DXVECTOR3 noise = SmoothNoise(40, 40.0f * k, 15, seed);
      const std::uint32_t m = k + static_cast<std::uint32_t>(seed);
      EXPECT_EQ(noise, D3DXVECTOR3(15 * lattice(m + 20), 15 * lattice(m), 40.0f * k)) << seed << " " << k;
    }
  }
}

// Between lattice points y follows P f^3 + Q f^2 + R f + w1 with P = (w3 - w2) - (w0 - w1),
// Q = (w0 - w1) - P, R = w2 - w0, over w0..w3 = N(0)..N(3) for seed 0 in cell 1. By hand:
// N(3): m = 24579; m^2 * 15731 = 3057969419; + 789221 = 3058758640; * m = 2121063376;
// - 771171059 = 1349892317 (AND keeps it); 1 - h / 2^30 = -0.25718519. With N(0..2) above,
// P = -0.49540014, Q = 0.43998220, R = 0.57542386.
TEST(SmoothNoise, CubicBetweenLatticePoints) {
  const std::pair<float, float> cases[] = {{0.25f, -0.06275882f}, {0.5f, 0.10940941f}, {0.75f, 0.24368790f}};
  for (const auto& [f, y] : cases) EXPECT_NEAR(SmoothNoise(40, 40.0f * (1.0f + f), 1, 0).y, y, 1e-6f) << f;
}

// One period on with seed s is the cell of seed s + 1 (fractions exact in float); approaching the
// next lattice point from below gives its value, so the path does not jump between cells.
TEST(SmoothNoise, SeedShiftsByOnePeriodAndPathIsContinuous) {
  for (float t : {5.0f, 10.0f, 20.0f, 35.0f, 85.0f}) {
    const D3DXVECTOR3 later = SmoothNoise(40, t + 40, 15, 35234);
    const D3DXVECTOR3 shifted = SmoothNoise(40, t, 15, 35235);
    EXPECT_EQ(later.x, shifted.x) << t;
    EXPECT_EQ(later.y, shifted.y) << t;
  }
  for (int k = 1; k < 20; ++k) {
    const D3DXVECTOR3 before = SmoothNoise(30, k * 30.0f - 1e-3f, 20, 453463);
    const D3DXVECTOR3 at = SmoothNoise(30, k * 30.0f, 20, 453463);
    EXPECT_NEAR(before.x, at.x, 0.01) << k;
    EXPECT_NEAR(before.y, at.y, 0.01) << k;
  }
}

// A path keeping its last cell's lattice values gives what a fresh evaluation gives, forwards,
// backwards, within and across cells: a stale cell would not.
TEST(SmoothNoise, PathKeepingItsCellMatchesFreshEvaluation) {
  geometry::SmoothNoisePath path(40, 30, 453463);
  for (float t : {0.0f, 1.0f, 39.0f, 40.0f, 41.0f, 200.0f, 3.0f, 3.5f, 120.0f, 119.0f, 81.0f, 1e4f})
    EXPECT_EQ(path.at(t), SmoothNoise(40, t, 30, 453463)) << t;
}

}  // namespace
