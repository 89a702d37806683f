// `Mesh`: everything drawable in the show, loaded from a .mesh file or filled by a generator: a
// vertex buffer, a 16-bit index buffer, its `VertexDecl` declaration, the counts, a system copy of
// the indices and three transform tracks. The Mesh owns its device objects (ComPtr) and the index
// copy; every mesh is drawn by the same four device calls. Main thread only.
#pragma once

#include <vector>

#include "assets/QuaternionTrack.h"
#include "assets/VectorTrack.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"

namespace assets {

struct Mesh {
  VectorTrack position;
  VectorTrack scale;
  QuaternionTrack rotation;
  d3d9::ComPtr<IDirect3DVertexBuffer9> vertexBuffer;
  d3d9::ComPtr<IDirect3DIndexBuffer9> indexBuffer;
  d3d9::ComPtr<IDirect3DVertexDeclaration9> declaration;
  UINT vertexCount = 0;
  UINT stride = 0;
  UINT triangleCount = 0;
  std::vector<WORD> indexCopy;
  // Set by load when an index names a vertex past the vertex count; such a mesh is never drawn.
  bool indicesOutOfRange = false;
  // Set by load when the declared vertex layout is wider than the stride, so the device would read
  // past the last vertex; such a mesh is never drawn either.
  bool layoutPastStride = false;

  // Fills the mesh (made empty first) from a .mesh file; the buffers are named by the path for the
  // frame trace. A file that cannot be opened, or is shorter than its counts say, shows the path
  // with caption "Failed To Open The MeshFile" and leaves the mesh empty. Device failures are
  // reported under "VertexDecl", "IndexBuffer" and "VertexBuffer" as the loader goes. True when
  // the mesh loaded whole and can be drawn.
  bool load(IDirect3DDevice9* device, const char* path);

  // SetStreamSource, SetVertexDeclaration, SetIndices, DrawIndexedPrimitive. A mesh missing a
  // buffer or its declaration, or with indices out of range, draws nothing.
  void draw(IDirect3DDevice9* device) const;
  bool drawable() const;

  // Releases the vertex buffer, index buffer and declaration and frees the index copy; the tracks
  // and counts stay.
  void release();
};

}  // namespace assets
