// What the scenes write into the stages' geometry, worked out here from the definitions: every
// scene's ribbons after a frame (rung r of V vertices at s = 2r L / V along, placed by the smooth
// noise at phase + s, 5 units wide, turned about y by pi cos(nx / A), with each scene's period,
// amplitude, phase, length and seeds), and the picture sprites' orbits of the fifth and seventh
// scenes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "geometry/GenerateGrid.h"
#include "geometry/LatticeNoise.h"
#include "geometry/SmoothNoise.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

struct Ribbon {
  float period, amplitude, phase;
  int length;
  std::int32_t seed;
};

// Vertex i of a ribbon of V vertices.
D3DXVECTOR3 ribbonVertex(const Ribbon& rb, int i, int V) {
  const float step = float(rb.length) / float(V), half = float(rb.length) / 2.0f;
  const float s = float(i - i % 2) * step;
  const D3DXVECTOR3 n = geometry::SmoothNoise(rb.period, rb.phase + s, rb.amplitude, rb.seed);
  const float x = n.x + 5.0f * float(i % 2), angle = 3.1415927f * std::cos(n.x / rb.amplitude);
  return {x * std::cos(angle) + n.y * std::sin(angle), s - half, n.y * std::cos(angle) - x * std::sin(angle)};
}

void expectRibbon(const assets::Mesh& grid, const Ribbon& rb, const std::string& what) {
  const int V = int(grid.vertexCount);
  ASSERT_EQ(V, 400) << what;
  void* data = nullptr;
  ASSERT_EQ(grid.vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK) << what;
  const auto* drawn = static_cast<const geometry::GridVertex*>(data);
  for (int i : {0, 1, 2, 157, 398, 399})
    EXPECT_TRUE(pointsNear(drawn[i].position, ribbonVertex(rb, i, V), 0.01f)) << what << " vertex " << i;
  grid.vertexBuffer->Unlock();
}

// Ribbons of one period, amplitude, phase and length, one per seed, for grids 0 on.
std::vector<Ribbon> ribbons(float period, float amplitude, float phase, int length, std::vector<std::uint32_t> seeds) {
  std::vector<Ribbon> out;
  for (std::uint32_t seed : seeds) out.push_back({period, amplitude, phase, length, std::int32_t(seed)});
  return out;
}
// Seeds 453463 i for i = 0 to 3, wrapping in 32 bits.
const std::vector<std::uint32_t> kSteppedSeeds = {0u, 453463u, 2u * 453463u, 3u * 453463u};

TEST(RibbonRebuild, EachSceneRebuildsItsRibbonsWithItsNumbers) {
  struct Case {
    const char* scene;
    std::function<void(Show&)> draw;
    std::vector<Ribbon> ribbons;  // grid i gets ribbons[i]
  };
  const float a = 3.7f, b = 100.3f;
  // clang-format off
  const Case cases[] = {
      {"opening", [=](Show& s) { scenes::openingScene(*s.main, a, b); }, ribbons(20, 20, 50 * a, 200, {623423})},
      {"second", [=](Show& s) { scenes::secondScene(*s.main, a, b); },
       ribbons(30, 15, 560 * a, 200, {423423, 7673423, 233423, 73423, 9673423, 6573423})},
      {"fifth", [=](Show& s) { scenes::fifthSceneA(*s.main, a, b, 0); },
       ribbons(40, 20, 200 * b, 600, {423423, 4223423})},
      {"fifth alternate", [=](Show& s) { scenes::fifthSceneB(*s.main, a, b, 1); },
       ribbons(40, 20, 200 * b, 600, {423423, 4223423})},
      // Cut 0 (u up to 3.25): the ribbon time is u.
      {"sixth", [=](Show& s) { scenes::sixthScene(*s.main, 2.0f, b); },
       ribbons(40, 30, 1000 * 2.0f, 400, kSteppedSeeds)},
      {"seventh", [=](Show& s) { scenes::seventhScene(*s.main, a, b); },
       ribbons(30, 30, 600 * a, 200, {35234, 4685234})},
      {"ninth", [=](Show& s) { scenes::ninthScene(*s.main, a, b); }, ribbons(40, 30, 50 * a, 400, kSteppedSeeds)},
      {"third", [=](Show& s) { scenes::thirdScene(*s.organ, a, b); }, ribbons(40, 30, 300 * b, 400, kSteppedSeeds)},
      {"fourth", [=](Show& s) { scenes::fourthScene(*s.organ, a, b); }, ribbons(40, 30, 200 * b, 400, kSteppedSeeds)},
  };
  // clang-format on
  for (const Case& c : cases) {
    drawDirect(c.draw);
    Show& show = Show::instance();
    const bool organ = std::string(c.scene) == "third" || std::string(c.scene) == "fourth";
    for (std::size_t i = 0; i < c.ribbons.size(); ++i)
      expectRibbon(organ ? show.organ->planeGrids[i] : show.main->planeGrids[i], c.ribbons[i],
                   std::string(c.scene) + " ribbon " + std::to_string(i));
  }
}

// Sprite i of sprites40 with N(n) the lattice noise: the fifth scene at a puts it at
// (1000 sin(phi + N(5234 i)), 500 N(i), 1000 cos(phi)), phi = 0.1 a N(i) + 1.5707964 i; the seventh
// at u at (1000 sin(w + N(5234 i)), 500 (N(i) + 1), 1000 cos(w)), w = 0.1 u N(i) + 1.5707964 i.
TEST(SpriteOrbit, FifthAndSeventhScenes) {
  auto N = [](std::uint32_t n) { return float(geometry::LatticeNoise(std::int32_t(n))); };
  const float a = 7.3f, u = 12.6f;
  for (bool fifth : {true, false}) {
    drawDirect([=](Show& s) {
      if (fifth)
        scenes::fifthSceneA(*s.main, a, 91.0f + a, 0);
      else
        scenes::seventhScene(*s.main, u, 119.8f + u);
    });
    const auto& positions = Show::instance().main->sprites40.positions;
    ASSERT_EQ(positions.size(), 40u);
    for (std::uint32_t i : {0u, 1u, 17u, 39u}) {
      const float phi = 0.1f * (fifth ? a : u) * N(i) + 1.5707964f * float(i);
      const D3DXVECTOR3 expected(1000.0f * std::sin(phi + N(5234u * i)), 500.0f * (N(i) + (fifth ? 0.0f : 1.0f)),
                                 1000.0f * std::cos(phi));
      EXPECT_TRUE(pointsNear({positions[i].x, positions[i].y, positions[i].z}, expected, 0.05f))
          << (fifth ? "fifth" : "seventh") << " sprite " << i;
    }
  }
}

}  // namespace
