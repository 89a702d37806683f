#include "geometry/NoiseRibbon.h"

#include <cmath>

#include "geometry/CubeGrid.h"
#include "geometry/SmoothNoise.h"
#include "tests/geometry/GeometryTestSupport.h"

namespace {

using geometry::GridVertex;
using geometry::NoiseRibbon;
using geometrytest::readBuffer;

class NoiseRibbonTest : public geometrytest::GeometryTest {
protected:
  void SetUp() override { ASSERT_TRUE(geometry::GenerateGrid(device(), ribbon, 2, 200, 640, 480, -320, -240)); }
  assets::Mesh ribbon;
};

// L = 200 over 400 vertices is a step of 0.5: rung r lies at y = r - 100, from -100 to 99, which
// the y rotation keeps; v = i / V; each rung is 5 units wide in any rotation; the rebuilt ribbon
// draws inside its buffers.
TEST_F(NoiseRibbonTest, RungsSpanTheLengthOneUnitApart) {
  ASSERT_TRUE(NoiseRibbon(ribbon, 30, 15, 12.5f, 200, 35234));
  const auto vertices = readBuffer<GridVertex>(ribbon.vertexBuffer.get());
  ASSERT_EQ(vertices.size(), 400u);
  for (int r = 0; r < 200; ++r) {
    const GridVertex &left = vertices[2 * r], &right = vertices[2 * r + 1];
    EXPECT_TRUE(left.position.y == r - 100.0f && right.position.y == r - 100.0f) << r;
    EXPECT_EQ(left.texcoord, D3DXVECTOR2(0, 2.0f * r / 400.0f)) << r;
    EXPECT_EQ(right.texcoord, D3DXVECTOR2(1, 2.0f * r / 400.0f)) << r;
    EXPECT_NEAR(std::hypot(right.position.x - left.position.x, right.position.z - left.position.z), 5.0, 1e-4) << r;
  }
  drawInScene(ribbon);
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

// Each rung is (nx, s - L/2, ny) and the point 5 units along x, turned about y by pi cos(nx / A)
// with D3DX's rotation (x' = x cos + z sin, z' = z cos - x sin). Catches a wrong rotation sign,
// rotating before the width is added, or a wrong phase.
TEST_F(NoiseRibbonTest, RungIsTheNoisePointTurnedAboutY) {
  ASSERT_TRUE(NoiseRibbon(ribbon, 40, 20, 300, 400, 453463));
  const auto vertices = readBuffer<GridVertex>(ribbon.vertexBuffer.get());
  for (int r : {0, 1, 57, 123, 199}) {
    const double s = 2.0 * r;  // i * 400 / 400
    const D3DXVECTOR3 noise = geometry::SmoothNoise(40, 300 + static_cast<float>(s), 20, 453463);
    const double angle = 3.14159265358979 * std::cos(double(noise.x) / 20);
    for (int side = 0; side < 2; ++side) {
      const double x = noise.x + 5.0 * side, z = noise.y;
      const D3DXVECTOR3& got = vertices[2 * r + side].position;
      EXPECT_NEAR(got.x, x * std::cos(angle) + z * std::sin(angle), 1e-3) << r << " " << side;
      EXPECT_NEAR(got.y, s - 200.0, 1e-4) << r << " " << side;
      EXPECT_NEAR(got.z, z * std::cos(angle) - x * std::sin(angle), 1e-3) << r << " " << side;
    }
  }
}

// A pure function of its parameters: a rebuild with other parameters in between, or a rebuild of
// another grid, gives the same bytes, normals included. A mesh that is not a 2-column grid (the
// 44-byte cube vertex, no buffer) is left alone.
TEST_F(NoiseRibbonTest, SameParametersGiveBitIdenticalVertices) {
  ASSERT_TRUE(NoiseRibbon(ribbon, 40, 30, 250, 400, 453463 * 3));
  const auto first = readBuffer<BYTE>(ribbon.vertexBuffer.get());
  ASSERT_TRUE(NoiseRibbon(ribbon, 40, 30, 350, 400, 453463 * 3));
  EXPECT_NE(readBuffer<BYTE>(ribbon.vertexBuffer.get()), first);
  ASSERT_TRUE(NoiseRibbon(ribbon, 40, 30, 250, 400, 453463 * 3));
  EXPECT_EQ(readBuffer<BYTE>(ribbon.vertexBuffer.get()), first);
  assets::Mesh other;
  ASSERT_TRUE(geometry::GenerateGrid(device(), other, 2, 200, 640, 480, -320, -240));
  ASSERT_TRUE(NoiseRibbon(other, 40, 30, 250, 400, 453463 * 3));
  EXPECT_EQ(readBuffer<BYTE>(other.vertexBuffer.get()), first);

  assets::Mesh cubes, empty;
  ASSERT_TRUE(geometry::CubeGrid(device(), cubes, 10, 10, 10, 2, 2));
  const auto before = readBuffer<BYTE>(cubes.vertexBuffer.get());
  EXPECT_FALSE(NoiseRibbon(cubes, 30, 15, 0, 200, 1));
  EXPECT_EQ(readBuffer<BYTE>(cubes.vertexBuffer.get()), before);
  EXPECT_FALSE(NoiseRibbon(empty, 30, 15, 0, 200, 1));
}

// Old normals are discarded; a flat grid faces -z (winding (p2 - p0) x (p1 - p0)); a shared vertex
// sums the unnormalised face vectors, so the larger face weighs more; a vertex in no triangle gets
// zero; a triangle naming a missing vertex, and a trailing partial one, are skipped.
TEST(RecomputeNormals, NormalsAreAreaWeightedSumsOfTheFaces) {
  auto flat = geometry::gridVertices(3, 3, 2, 2, 0, 0);
  for (GridVertex& v : flat) v.normal = {7, 7, 7};
  geometry::recomputeNormals(flat, geometry::gridIndices(3, 3));
  for (const GridVertex& v : flat) EXPECT_EQ(v.normal, D3DXVECTOR3(0, 0, -1));

  std::vector<GridVertex> vertices(5);
  vertices[1].position = {4, 0, 0};
  vertices[2].position = {0, 4, 0};  // with 0 and 1: area 8 in the xy plane, face (0, 0, -16)
  vertices[3].position = {0, 0, 1};  // with 0 and 1: area 2 in the xz plane, face (0, 4, 0)
  vertices[4].normal = {1, 1, 1};    // in no triangle
  geometry::recomputeNormals(vertices, std::vector<WORD>{0, 1, 2, 0, 1, 3, 0, 1, 9, 2});
  const float norm = std::sqrt(16.0f * 16.0f + 4.0f * 4.0f);
  EXPECT_NEAR(vertices[0].normal.y, 4 / norm, 1e-6);
  EXPECT_NEAR(vertices[0].normal.z, -16 / norm, 1e-6);
  EXPECT_EQ(vertices[2].normal, D3DXVECTOR3(0, 0, -1));
  EXPECT_EQ(vertices[3].normal, D3DXVECTOR3(0, 1, 0));
  EXPECT_EQ(vertices[4].normal, D3DXVECTOR3(0, 0, 0));
}

}  // namespace
