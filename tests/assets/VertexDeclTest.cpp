// The component-mask rule: element order, offsets, types, and invalid bits 10 to 15.
#include "assets/VertexDecl.h"

#include <gtest/gtest.h>

#include "tests/support/MessageBoxes.h"

namespace {

struct Element {
  WORD offset;
  BYTE type;
  BYTE usage;
  bool operator==(const Element&) const = default;
};

// The elements before the end marker, checking the fields every element shares.
std::vector<Element> elementsOf(const std::vector<D3DVERTEXELEMENT9>& decl) {
  EXPECT_FALSE(decl.empty());
  EXPECT_EQ(decl.back().Stream, 0xFF);
  EXPECT_EQ(decl.back().Type, D3DDECLTYPE_UNUSED);
  std::vector<Element> out;
  for (std::size_t i = 0; i + 1 < decl.size(); ++i) {
    EXPECT_EQ(decl[i].Stream, 0);
    EXPECT_EQ(decl[i].Method, D3DDECLMETHOD_DEFAULT);
    EXPECT_EQ(decl[i].UsageIndex, 0);
    out.push_back({decl[i].Offset, decl[i].Type, decl[i].Usage});
  }
  return out;
}

TEST(VertexDecl, MasksGivePackedElementsInBitOrder) {
  EXPECT_EQ(elementsOf(assets::VertexDecl(0x0007)),
            (std::vector<Element>{{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION},
                                  {12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL},
                                  {24, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD}}));
  EXPECT_EQ(elementsOf(assets::VertexDecl(0x0041)),
            (std::vector<Element>{{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION},
                                  {12, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_BLENDWEIGHT}}));
  EXPECT_EQ(elementsOf(assets::VertexDecl(0x03FF)),
            (std::vector<Element>{{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION},
                                  {12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL},
                                  {24, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD},
                                  {32, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TANGENT},
                                  {44, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_BINORMAL},
                                  {56, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_COLOR},
                                  {68, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_BLENDWEIGHT},
                                  {72, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD},
                                  {84, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD},
                                  {96, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD}}));
  EXPECT_TRUE(elementsOf(assets::VertexDecl(0)).empty());
}

// Bit 2 beside bit 7 gives two TEXCOORD elements of usage index 0; the rule itself does not
// refuse them (the device does, see MeshTest).
TEST(VertexDecl, Bit7BesideBit2GivesTwoTexcoordZeroElements) {
  EXPECT_EQ(elementsOf(assets::VertexDecl(0x0084)),
            (std::vector<Element>{{0, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD},
                                  {8, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD}}));
}

TEST(VertexDecl, InvalidBitsAreReportedEachAndAddNoElement) {
  testsupport::TraceCapture capture;
  testing::internal::CaptureStdout();
  auto decl = assets::VertexDecl(0x8403);
  std::string out = testing::internal::GetCapturedStdout();

  EXPECT_EQ(elementsOf(decl), (std::vector<Element>{{0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION},
                                                    {12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL}}));
  EXPECT_EQ(out, "vertexdecl bit[2]\nvertexdecl bit[2]\n");
  std::string box = testsupport::messageBoxLine("There's something very wrong", "VertexDecl");
  EXPECT_EQ(testsupport::messageBoxes(capture), (std::vector<std::string>{box, box}));
}

}  // namespace
