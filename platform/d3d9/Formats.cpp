// Format sizes and the vertex declaration checks.
#include "platform/d3d9/Formats.h"

namespace d3d9 {

UINT bytesPerTexel(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_R32F:
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
      return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_D16:
      return 2;
    default:
      return 0;
  }
}

bool isDepthFormat(D3DFORMAT format) {
  return format == D3DFMT_D24S8 || format == D3DFMT_D24X8 || format == D3DFMT_D16;
}

UINT declTypeSize(BYTE type) {
  switch (type) {
    case D3DDECLTYPE_FLOAT1: return 4;
    case D3DDECLTYPE_FLOAT2: return 8;
    case D3DDECLTYPE_FLOAT3: return 12;
    case D3DDECLTYPE_FLOAT4: return 16;
    case D3DDECLTYPE_D3DCOLOR: return 4;
    default: return 0;
  }
}

HRESULT parseDeclaration(const D3DVERTEXELEMENT9* declaration, std::vector<D3DVERTEXELEMENT9>& elements) {
  elements.clear();
  if (!declaration) return D3DERR_INVALIDCALL;
  for (UINT i = 0;; ++i) {
    const D3DVERTEXELEMENT9& e = declaration[i];
    if (e.Stream == 0xFF && e.Type == D3DDECLTYPE_UNUSED) return D3D_OK;
    if (i + 1 >= MAXD3DDECLLENGTH || e.Stream != 0 || declTypeSize(e.Type) == 0) {
      elements.clear();
      return D3DERR_INVALIDCALL;
    }
    for (const D3DVERTEXELEMENT9& earlier : elements) {
      if (earlier.Usage == e.Usage && earlier.UsageIndex == e.UsageIndex) {
        elements.clear();
        return D3DERR_INVALIDCALL;
      }
    }
    elements.push_back(e);
  }
}

}  // namespace d3d9
