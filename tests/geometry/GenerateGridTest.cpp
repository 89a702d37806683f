#include "geometry/GenerateGrid.h"

#include "tests/geometry/GeometryTestSupport.h"

namespace {

using d3d9::trace::Call;
using geometry::GenerateGrid;
using geometry::GridVertex;
using geometrytest::readBuffer;

using GenerateGridTest = geometrytest::GeometryTest;

// The full-screen rectangle: corners, texture coordinates (v from 0 at the bottom to -1 at the
// top), the two triangles, and a draw the device accepts. Catches swapped rows and columns, a
// positive v, a wrong index pattern.
TEST_F(GenerateGridTest, FullScreenQuadHasItsCornersTexcoordsAndIndices) {
  assets::Mesh mesh;
  ASSERT_TRUE(GenerateGrid(device(), mesh, 2, 2, 640, 480, -320, -240, "fullScreenQuad"));
  const auto vertices = readBuffer<GridVertex>(mesh.vertexBuffer.get());
  ASSERT_EQ(vertices.size(), 4u);
  const D3DXVECTOR3 corners[] = {{-320, -240, 1}, {320, -240, 1}, {-320, 240, 1}, {320, 240, 1}};
  const D3DXVECTOR2 texcoords[] = {{0, 0}, {1, 0}, {0, -1}, {1, -1}};
  for (int v = 0; v < 4; ++v) {
    EXPECT_EQ(vertices[v].position, corners[v]) << v;
    EXPECT_EQ(vertices[v].texcoord, texcoords[v]) << v;
    EXPECT_EQ(vertices[v].normal, D3DXVECTOR3(0, 0, 1)) << v;
  }
  const std::vector<WORD> indices = {0, 1, 2, 3, 2, 1};
  EXPECT_EQ(readBuffer<WORD>(mesh.indexBuffer.get()), indices);
  EXPECT_EQ(mesh.indexCopy, indices);

  drawInScene(mesh);
  EXPECT_EQ(geometrytest::drawEvents(capture),
            std::vector<std::string>{geometrytest::drawLine("fullScreenQuad", 0, 4, 2)});
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

// Ribbon strips, the distortion grid and the largest grid 16-bit indices allow: counts, the far
// corner on the extent, rows bottom to top, every index inside the vertex buffer.
TEST_F(GenerateGridTest, StripsDistortionGridAndLargestGridDrawInRange) {
  struct Case {
    UINT columns, rows, triangles;
  };
  for (const Case& c : {Case{2, 200, 398}, Case{100, 75, 14652}, Case{256, 256, 130050}}) {
    SCOPED_TRACE(testing::Message() << c.columns << " x " << c.rows);
    assets::Mesh mesh;
    ASSERT_TRUE(GenerateGrid(device(), mesh, c.columns, c.rows, 640, 480, -320, -240));
    EXPECT_EQ(mesh.vertexCount, c.columns * c.rows);
    EXPECT_EQ(mesh.triangleCount, c.triangles);
    EXPECT_EQ(readBuffer<WORD>(mesh.indexBuffer.get()), mesh.indexCopy);
    const auto vertices = readBuffer<GridVertex>(mesh.vertexBuffer.get());
    EXPECT_NEAR(vertices.back().position.x, 320, 1e-3);
    EXPECT_NEAR(vertices.back().position.y, 240, 1e-3);
    EXPECT_NEAR(vertices.back().texcoord.y, -1, 1e-6);
    EXPECT_LT(vertices[0].position.y, vertices[c.columns].position.y);
    drawInScene(mesh);
  }
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

// Fewer than 2 columns or rows divide by zero; more than 65536 vertices (a 32-bit product that
// wraps included) overflow the indices. Refused with the vertex-buffer message, the mesh emptied.
TEST_F(GenerateGridTest, GridsThatCannotBeIndexedAreRefused) {
  for (auto [columns, rows] : {std::pair<UINT, UINT>{1, 2}, {2, 1}, {257, 256}, {65536, 65536}}) {
    SCOPED_TRACE(testing::Message() << columns << " x " << rows);
    assets::Mesh mesh;
    ASSERT_TRUE(GenerateGrid(device(), mesh, 2, 2, 1, 1, 0, 0));
    capture.lines.clear();
    EXPECT_FALSE(GenerateGrid(device(), mesh, columns, rows, 640, 480, -320, -240));
    EXPECT_EQ(boxes(), box("CreateVertexBuffer", "GenerateGrid"));
    EXPECT_FALSE(mesh.vertexBuffer);
    EXPECT_TRUE(mesh.indexCopy.empty());
    EXPECT_EQ(mesh.vertexCount, 0u);
  }
}

// Each device failure shows its message and stops; the partial grid draws nothing. The grid's
// declaration result is not checked, so that failure shows nothing.
TEST_F(GenerateGridTest, DeviceFailuresShowTheirMessageAndTheGridDrawsNothing) {
  struct Case {
    Call call;
    std::vector<std::string> boxes;
    bool keepsVertexBuffer;
  };
  const Case cases[] = {{Call::CreateVertexBuffer, box("CreateVertexBuffer", "GenerateGrid"), false},
                        {Call::CreateIndexBuffer, box("CreateIndexBuffer", "GenerateGrid"), true},
                        {Call::CreateVertexDeclaration, {}, true}};
  for (const Case& c : cases) {
    failNext(c.call, E_OUTOFMEMORY);
    assets::Mesh mesh;
    EXPECT_FALSE(GenerateGrid(device(), mesh, 2, 200, 640, 480, -320, -240));
    EXPECT_EQ(boxes(), c.boxes);
    EXPECT_EQ(static_cast<bool>(mesh.vertexBuffer), c.keepsVertexBuffer);
    drawInScene(mesh);
    EXPECT_TRUE(geometrytest::drawEvents(capture).empty());
  }
}

}  // namespace
