// Facts about formats and vertex declarations that both backends need: bytes per texel, which
// formats are depth formats, and the checks a declaration must pass before a backend accepts it.
#pragma once

#include <vector>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

// Bytes per texel of a colour or depth format; 0 for a format the stand-in does not support.
UINT bytesPerTexel(D3DFORMAT format);
bool isDepthFormat(D3DFORMAT format);

// Bytes of one element of a declaration type; 0 for UNUSED or an unknown type.
UINT declTypeSize(BYTE type);

// Copies a declaration up to its end marker into `elements` (marker excluded) and checks it as the
// Direct3D debug runtime does: stream 0 only, known types, no two elements with the same usage and
// usage index, at most MAXD3DDECLLENGTH elements. D3DERR_INVALIDCALL when it is refused.
HRESULT parseDeclaration(const D3DVERTEXELEMENT9* declaration, std::vector<D3DVERTEXELEMENT9>& elements);

}  // namespace d3d9
