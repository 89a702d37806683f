// `VertexDecl`: the rule that turns a .mesh component mask into a Direct3D vertex declaration.
// Pure apart from the report of an invalid bit. Main thread only.
#pragma once

#include <vector>

#include "platform/d3d9/d3d9.h"

namespace assets {

// One element per set bit 0-9, in bit order, stream 0, usage index 0, packed from offset 0, then the
// end marker. Each set bit 10-15 shows "There's something very wrong" (caption "VertexDecl") and
// prints "vertexdecl bit[n]\n" (n = elements placed so far) to standard output; no element
// follows it.
std::vector<D3DVERTEXELEMENT9> VertexDecl(WORD mask);

}  // namespace assets
