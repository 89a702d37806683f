#include "geometry/PointSprites.h"

#include "tests/geometry/GeometryTestSupport.h"

namespace {

using d3d9::trace::Call;
using geometry::PointSprites;
using geometry::SpriteVertex;
using geometrytest::drawEvents;
using geometrytest::drawLine;
using geometrytest::readBuffer;

using PointSpritesTest = geometrytest::GeometryTest;

const D3DXVECTOR2 kCorners[] = {{0.5f, 0.5f}, {0.5f, -0.5f}, {-0.5f, 0.5f}, {-0.5f, -0.5f}};

// One particle is one quad at the origin with triangles (2, 0, 1) and (3, 2, 1); after upload each
// particle's four vertices carry its centre (not the unused fourth float) and the corner offsets
// in order.
TEST_F(PointSpritesTest, EachParticleIsOneQuadAtItsCentre) {
  PointSprites single;
  ASSERT_TRUE(single.init(device(), 1));
  EXPECT_EQ(readBuffer<WORD>(single.indexBuffer.get()), (std::vector<WORD>{2, 0, 1, 3, 2, 1}));
  const auto quad = readBuffer<SpriteVertex>(single.vertexBuffer.get());
  ASSERT_EQ(quad.size(), 4u);
  for (int corner = 0; corner < 4; ++corner) {
    EXPECT_EQ(quad[corner].position, D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(quad[corner].texcoord, kCorners[corner]) << corner;
  }

  PointSprites sprites;
  ASSERT_TRUE(sprites.init(device(), 40));
  for (UINT k = 0; k < 40; ++k) sprites.positions[k] = D3DXVECTOR4(1.0f * k, 2.0f * k, -3.0f * k, 99);
  sprites.upload();
  const auto vertices = readBuffer<SpriteVertex>(sprites.vertexBuffer.get());
  ASSERT_EQ(vertices.size(), 160u);
  for (UINT v = 0; v < 160; ++v) {
    EXPECT_EQ(vertices[v].position, D3DXVECTOR3(1.0f * (v / 4), 2.0f * (v / 4), -3.0f * (v / 4))) << v;
    EXPECT_EQ(vertices[v].texcoord, kCorners[v % 4]) << v;
  }
}

// Half-open ranges reach their particles through the base vertex; a range past the count, an
// empty range and a reversed one draw nothing; the device refuses none of the draws.
TEST_F(PointSpritesTest, DrawRangesUseTheBaseVertexAndStayInside) {
  PointSprites sprites;
  ASSERT_TRUE(sprites.init(device(), 40, "MainStage.sprites40"));
  device()->BeginScene();
  for (auto [first, last] : {std::pair<UINT, UINT>{10, 20}, {30, 41}, {5, 5}, {20, 10}, {0, 40}, {39, 40}})
    sprites.draw(device(), first, last);
  device()->EndScene();
  EXPECT_EQ(drawEvents(capture), (std::vector<std::string>{drawLine("MainStage.sprites40", 40, 40, 20),
                                                           drawLine("MainStage.sprites40", 0, 160, 80),
                                                           drawLine("MainStage.sprites40", 156, 4, 2)}));
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

// 16384 particles use the whole 16-bit index range and draw inside it; 0 or 16385 are refused.
TEST_F(PointSpritesTest, ParticleCountIsBoundBySixteenBitIndices) {
  PointSprites largest;
  ASSERT_TRUE(largest.init(device(), 16384));
  EXPECT_EQ(readBuffer<WORD>(largest.indexBuffer.get()).back(), 65533);  // 4 * 16383 + 1
  device()->BeginScene();
  largest.draw(device(), 0, 16384);
  largest.draw(device(), 16383, 16384);
  device()->EndScene();
  EXPECT_EQ(drawEvents(capture).size(), 2u);
  EXPECT_EQ(holder.invalidCalls(), 0u);
  for (UINT n : {0u, 16385u}) {
    capture.lines.clear();
    PointSprites sprites;
    EXPECT_FALSE(sprites.init(device(), n));
    EXPECT_EQ(boxes(), box("CreateVertexBuffer", "PointSprites Init")) << n;
    EXPECT_TRUE(sprites.positions.empty());
  }
}

// Each failure shows its text and caption and ends init; the positions stay writable so a scene
// filling and uploading them stays in bounds, and nothing is drawn. Release leaves nothing behind.
TEST_F(PointSpritesTest, FailuresAndReleaseLeaveAHarmlessObject) {
  struct Case {
    Call call;
    HRESULT hr;
    const char *text, *caption;
  };
  const Case cases[] = {
      {Call::CreateVertexBuffer, E_OUTOFMEMORY, "CreateVertexBuffer", "PointSprites Init"},
      {Call::CreateVertexDeclaration, D3DERR_INVALIDCALL, "InvalidCall With PointSprites Init", "VertexDecl"},
      {Call::CreateIndexBuffer, E_OUTOFMEMORY, "OutOfMemory With PointSprites Init", "CreateIndexBuffer"},
  };
  auto drawAll = [this](const PointSprites& sprites) {
    device()->BeginScene();
    sprites.draw(device(), 0, 40);
    device()->EndScene();
  };
  for (const Case& c : cases) {
    failNext(c.call, c.hr);
    PointSprites sprites;
    EXPECT_FALSE(sprites.init(device(), 40));
    EXPECT_EQ(boxes(), box(c.text, c.caption));
    ASSERT_EQ(sprites.positions.size(), 40u);
    sprites.positions.back() = D3DXVECTOR4(1, 2, 3, 0);
    sprites.upload();
    drawAll(sprites);
  }

  failures().clear();
  PointSprites sprites;
  ASSERT_TRUE(sprites.init(device(), 40));
  IDirect3DVertexBuffer9* buffer = sprites.vertexBuffer.get();
  buffer->AddRef();
  sprites.release();
  EXPECT_EQ(buffer->Release(), 0u) << "a reference left behind";
  EXPECT_TRUE(sprites.positions.empty());
  drawAll(sprites);
  EXPECT_TRUE(drawEvents(capture).empty());
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

}  // namespace
