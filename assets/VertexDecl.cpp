// The mask table and its walk.
#include "assets/VertexDecl.h"

#include <cstdio>

#include "platform/win32/MessageBox.h"

namespace assets {
namespace {

struct MaskBit {
  BYTE usage;
  BYTE type;
  WORD size;
};

constexpr MaskBit kMaskBits[] = {
    {D3DDECLUSAGE_POSITION, D3DDECLTYPE_FLOAT3, 12},    // bit 0
    {D3DDECLUSAGE_NORMAL, D3DDECLTYPE_FLOAT3, 12},      // bit 1
    {D3DDECLUSAGE_TEXCOORD, D3DDECLTYPE_FLOAT2, 8},     // bit 2
    {D3DDECLUSAGE_TANGENT, D3DDECLTYPE_FLOAT3, 12},     // bit 3
    {D3DDECLUSAGE_BINORMAL, D3DDECLTYPE_FLOAT3, 12},    // bit 4
    {D3DDECLUSAGE_COLOR, D3DDECLTYPE_FLOAT3, 12},       // bit 5
    {D3DDECLUSAGE_BLENDWEIGHT, D3DDECLTYPE_FLOAT1, 4},  // bit 6
    {D3DDECLUSAGE_TEXCOORD, D3DDECLTYPE_FLOAT3, 12},    // bit 7
    {D3DDECLUSAGE_TEXCOORD, D3DDECLTYPE_FLOAT3, 12},    // bit 8
    {D3DDECLUSAGE_TEXCOORD, D3DDECLTYPE_FLOAT3, 12},    // bit 9
};
constexpr int kMaskBitCount = 16;

constexpr const char* kInvalidBitText = "There's something very wrong";
constexpr const char* kInvalidBitCaption = "VertexDecl";

}  // namespace

std::vector<D3DVERTEXELEMENT9> VertexDecl(WORD mask) {
  std::vector<D3DVERTEXELEMENT9> elements;
  WORD offset = 0;
  for (int bit = 0; bit < kMaskBitCount; ++bit) {
    if (!(mask & (1u << bit))) continue;
    if (bit >= static_cast<int>(std::size(kMaskBits))) {
      MessageBoxA(nullptr, kInvalidBitText, kInvalidBitCaption, MB_OK);
      std::printf("vertexdecl bit[%d]\n", static_cast<int>(elements.size()));
      std::fflush(stdout);
      continue;
    }
    const MaskBit& entry = kMaskBits[bit];
    elements.push_back({0, offset, entry.type, D3DDECLMETHOD_DEFAULT, entry.usage, 0});
    offset = static_cast<WORD>(offset + entry.size);
  }
  elements.push_back(D3DDECL_END());
  return elements;
}

}  // namespace assets
