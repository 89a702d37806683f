#include "platform/d3d9/Formats.h"

#include <gtest/gtest.h>

namespace {

D3DVERTEXELEMENT9 element(WORD offset, BYTE type, BYTE usage, BYTE index = 0) {
  return {0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index};
}

TEST(VertexDeclaration, AcceptsADistinctLayoutUpToTheEndMarker) {
  D3DVERTEXELEMENT9 decl[] = {element(0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION),
                              element(12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL),
                              element(24, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD),
                              element(32, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD, 1), D3DDECL_END()};
  std::vector<D3DVERTEXELEMENT9> elements;
  EXPECT_EQ(d3d9::parseDeclaration(decl, elements), D3D_OK);
  ASSERT_EQ(elements.size(), 4u);
  EXPECT_EQ(elements[2].Offset, 24);
  EXPECT_EQ(elements[3].UsageIndex, 1);
}

// Two TEXCOORD elements with usage index 0 (a mesh mask with bit 2 and bit 7) are refused, as the
// debug runtime refuses them; so are an unknown type, a second stream and a missing list.
TEST(VertexDeclaration, RefusesWhatTheDebugRuntimeRefuses) {
  std::vector<D3DVERTEXELEMENT9> elements;
  D3DVERTEXELEMENT9 twice[] = {element(0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION),
                               element(12, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD),
                               element(20, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD), D3DDECL_END()};
  EXPECT_EQ(d3d9::parseDeclaration(twice, elements), D3DERR_INVALIDCALL);
  EXPECT_TRUE(elements.empty());

  D3DVERTEXELEMENT9 badType[] = {element(0, 9, D3DDECLUSAGE_POSITION), D3DDECL_END()};
  EXPECT_EQ(d3d9::parseDeclaration(badType, elements), D3DERR_INVALIDCALL);

  D3DVERTEXELEMENT9 secondStream[] = {{1, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
  EXPECT_EQ(d3d9::parseDeclaration(secondStream, elements), D3DERR_INVALIDCALL);
  EXPECT_EQ(d3d9::parseDeclaration(nullptr, elements), D3DERR_INVALIDCALL);
}

TEST(VertexDeclaration, AListWithoutEndMarkerStopsAtTheLengthLimit) {
  std::vector<D3DVERTEXELEMENT9> many(MAXD3DDECLLENGTH + 4);
  for (std::size_t i = 0; i < many.size(); ++i)
    many[i] = element(WORD(i * 4), D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_TEXCOORD, BYTE(i));
  std::vector<D3DVERTEXELEMENT9> elements;
  EXPECT_EQ(d3d9::parseDeclaration(many.data(), elements), D3DERR_INVALIDCALL);
}

TEST(Formats, TexelSizes) {
  EXPECT_EQ(d3d9::bytesPerTexel(D3DFMT_X8R8G8B8), 4u);
  EXPECT_EQ(d3d9::bytesPerTexel(D3DFMT_R32F), 4u);
  EXPECT_EQ(d3d9::bytesPerTexel(D3DFMT_UNKNOWN), 0u);
  EXPECT_TRUE(d3d9::isDepthFormat(D3DFMT_D24X8));
  EXPECT_FALSE(d3d9::isDepthFormat(D3DFMT_R32F));
}

}  // namespace
