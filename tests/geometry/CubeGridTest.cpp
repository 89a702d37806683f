#include "geometry/CubeGrid.h"

#include <algorithm>
#include <set>
#include <utility>

#include "tests/geometry/GeometryTestSupport.h"

namespace {

using d3d9::trace::Call;
using geometry::CubeGrid;
using geometry::CubeVertex;
using geometrytest::readBuffer;

using CubeGridTest = geometrytest::GeometryTest;

// The lowest and highest corner of the box in `slot`.
std::pair<D3DXVECTOR3, D3DXVECTOR3> boundsOfBox(const std::vector<CubeVertex>& vertices, std::size_t slot) {
  D3DXVECTOR3 low = vertices[slot * 24].position, high = low;
  for (std::size_t v = slot * 24; v < slot * 24 + 24; ++v) {
    const D3DXVECTOR3& p = vertices[v].position;
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  return {low, high};
}

// The 40 x 40 field of 10 x 20 x 10 boxes: box (0, 0) and box (39, 39) span the corners of a
// field centred on x = 0 and z = 0 standing on y = 0; the field is one draw the device accepts.
TEST_F(CubeGridTest, CornerBoxesOfTheFieldSpanTheirPlaces) {
  assets::Mesh mesh;
  ASSERT_TRUE(CubeGrid(device(), mesh, 10, 20, 10, 40, 40, "MainStage.cubeGrid"));
  const auto vertices = readBuffer<CubeVertex>(mesh.vertexBuffer.get());
  ASSERT_EQ(vertices.size(), 38400u);
  EXPECT_EQ(boundsOfBox(vertices, 0), std::pair(D3DXVECTOR3(-200, 0, -200), D3DXVECTOR3(-190, 20, -190)));
  EXPECT_EQ(boundsOfBox(vertices, 39 * 40 + 39), std::pair(D3DXVECTOR3(190, 0, 190), D3DXVECTOR3(200, 20, 200)));
  EXPECT_TRUE(mesh.indexCopy.empty());
  drawInScene(mesh);
  EXPECT_EQ(geometrytest::drawEvents(capture),
            std::vector<std::string>{geometrytest::drawLine("MainStage.cubeGrid", 0, 38400, 19200)});
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

// With d != e a swapped slot formula shows: box (i, k) sits in slot i * e + k, its 36 indices name
// only its own 24 vertices, and every vertex's BINORMAL holds the box centre's x and z and its own y.
TEST_F(CubeGridTest, EveryBoxOwnsItsSlotAndCarriesItsCentre) {
  constexpr UINT d = 3, e = 5;
  assets::Mesh mesh;
  ASSERT_TRUE(CubeGrid(device(), mesh, 10, 20, 10, d, e));
  const auto vertices = readBuffer<CubeVertex>(mesh.vertexBuffer.get());
  const auto indices = readBuffer<WORD>(mesh.indexBuffer.get());
  ASSERT_EQ(indices.size(), 36u * d * e);
  for (UINT i = 0; i < d; ++i) {
    for (UINT k = 0; k < e; ++k) {
      SCOPED_TRACE(testing::Message() << "box (" << i << ", " << k << ")");
      const std::size_t slot = i * e + k;
      const float x = 10.0f * i - 10.0f, z = 10.0f * k - 20.0f;  // a * i - (a * d / 2 - a / 2)
      EXPECT_EQ(boundsOfBox(vertices, slot), std::pair(D3DXVECTOR3(x - 5, 0, z - 5), D3DXVECTOR3(x + 5, 20, z + 5)));
      for (std::size_t v = slot * 24; v < slot * 24 + 24; ++v)
        EXPECT_EQ(vertices[v].binormal, D3DXVECTOR3(x, vertices[v].position.y, z));
      const std::set<WORD> used(indices.begin() + slot * 36, indices.begin() + slot * 36 + 36);
      EXPECT_EQ(used.size(), 24u);
      EXPECT_EQ(*used.begin(), slot * 24);
    }
  }
}

// The box and index templates must agree: each triangle lies on one face, its winding
// (p1 - p0) x (p2 - p0) points along the face normal, which points out of the box; each face maps
// the four texture corners once.
TEST_F(CubeGridTest, TrianglesLieOnTheirFaceAndFaceOutwards) {
  assets::Mesh mesh;
  ASSERT_TRUE(CubeGrid(device(), mesh, 10, 20, 10, 2, 2));
  const auto vertices = readBuffer<CubeVertex>(mesh.vertexBuffer.get());
  const auto indices = readBuffer<WORD>(mesh.indexBuffer.get());
  const D3DXVECTOR3 centre(vertices[72].binormal.x, 10, vertices[72].binormal.z);  // box slot 3
  for (std::size_t t = 108; t < 144; t += 3) {
    const CubeVertex &a = vertices[indices[t]], &b = vertices[indices[t + 1]], &c = vertices[indices[t + 2]];
    EXPECT_TRUE(a.normal == b.normal && a.normal == c.normal) << t;
    D3DXVECTOR3 e1 = b.position - a.position, e2 = c.position - a.position, winding, out = a.position - centre;
    D3DXVec3Cross(&winding, &e1, &e2);
    EXPECT_GT(D3DXVec3Dot(&winding, &a.normal), 0.0f) << t;
    EXPECT_GT(D3DXVec3Dot(&out, &a.normal), 0.0f) << t;
  }
  for (std::size_t face = 0; face < 6; ++face) {
    std::set<std::pair<float, float>> corners;
    for (std::size_t v = 72 + face * 4; v < 76 + face * 4; ++v)
      corners.insert({vertices[v].texcoord.x, vertices[v].texcoord.y});
    EXPECT_EQ(corners, (std::set<std::pair<float, float>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}})) << face;
  }
}

// 2730 boxes are the most 16-bit indices reach and draw whole; one more, or none, is refused.
// Device failures show their own texts; a failed declaration keeps buffers and counts but draws
// nothing.
TEST_F(CubeGridTest, LimitsAndFailuresShowTheirMessages) {
  assets::Mesh largest;
  ASSERT_TRUE(CubeGrid(device(), largest, 1, 1, 1, 2730, 1));
  drawInScene(largest);
  EXPECT_EQ(holder.invalidCalls(), 0u);
  for (auto [d, e] : {std::pair<UINT, UINT>{2731, 1}, {0, 40}, {65536, 65536}}) {
    capture.lines.clear();
    assets::Mesh mesh;
    EXPECT_FALSE(CubeGrid(device(), mesh, 10, 10, 10, d, e));
    EXPECT_EQ(boxes(), box("CreateVertexBuffer", "GenerateGrid")) << d << " x " << e;
    EXPECT_FALSE(mesh.vertexBuffer);
  }

  struct Case {
    Call call;
    const char *text, *caption;
  };
  for (const Case& c : {Case{Call::CreateVertexBuffer, "CreateVertexBuffer", "GenerateGrid"},
                        Case{Call::CreateIndexBuffer, "CreateIndexBuffer", "GenerateGrid"},
                        Case{Call::CreateVertexDeclaration, "CreateVertexDeclaration", "Quarv, CubeGrid"}}) {
    failNext(c.call, D3DERR_OUTOFVIDEOMEMORY);
    assets::Mesh mesh;
    EXPECT_FALSE(CubeGrid(device(), mesh, 10, 10, 10, 40, 40));
    EXPECT_EQ(boxes(), box(c.text, c.caption));
    drawInScene(mesh);
    EXPECT_TRUE(geometrytest::drawEvents(capture).empty());
  }
  assets::Mesh undeclared;
  failNext(Call::CreateVertexDeclaration, E_FAIL);
  CubeGrid(device(), undeclared, 10, 10, 10, 40, 40);
  EXPECT_TRUE(undeclared.vertexBuffer && undeclared.indexBuffer);
  EXPECT_EQ(undeclared.vertexCount, 38400u);
}

// The per-frame rewrite: each box moves up by its own lift and the field by the shift, the rest
// stays; a rest copy or lift list of the wrong size writes nothing.
TEST_F(CubeGridTest, LiftMovesEachBoxByItsOwnLift) {
  assets::Mesh mesh;
  ASSERT_TRUE(CubeGrid(device(), mesh, 10, 20, 10, 4, 6));
  const std::vector<CubeVertex> rest = geometry::cubeGridVertices(10, 20, 10, 4, 6);
  std::vector<float> lifts(24);
  for (std::size_t box = 0; box < lifts.size(); ++box) lifts[box] = 1.5f * box;
  ASSERT_TRUE(geometry::liftCubeGrid(mesh, rest, lifts, D3DXVECTOR3(0, 0, -150)));
  const auto lifted = readBuffer<CubeVertex>(mesh.vertexBuffer.get());
  for (std::size_t v = 0; v < rest.size(); ++v) {
    CubeVertex expected = rest[v];
    expected.position += D3DXVECTOR3(0, lifts[v / 24], -150);
    EXPECT_EQ(std::memcmp(&lifted[v], &expected, sizeof expected), 0) << v;
  }
  EXPECT_FALSE(geometry::liftCubeGrid(mesh, std::span(rest).first(rest.size() - 24), lifts, {}));
  EXPECT_FALSE(geometry::liftCubeGrid(mesh, rest, std::span(lifts).first(23), {}));
  EXPECT_EQ(readBuffer<CubeVertex>(mesh.vertexBuffer.get()).back().position, lifted.back().position);
}

}  // namespace
