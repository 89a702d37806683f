// The trace backend's device objects: textures, surfaces, buffers and declarations that keep their
// bytes in memory, so locks read back what was written and draws can be checked against the data.
// Each object is reference counted and deletes itself on its last Release.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/Resources.h"
#include "platform/d3d9/d3d9.h"

namespace d3d9::trace {

class TraceTexture;

// A stand-alone surface (back buffer, depth-stencil) or a level of a texture.
class TraceSurface final : public Surface {
public:
  using Surface::Surface;
};

struct TraceLevel {
  std::unique_ptr<TraceSurface> surface;
  std::vector<BYTE> bytes;
  bool locked = false;
};

class TraceTexture final : public Texture<TraceLevel> {
public:
  TraceTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);

  HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
  HRESULT UnlockRect(UINT Level) override;

  // The texels of a level, rows top first, for tests and readers of the trace device.
  const std::vector<BYTE>& levelBytes(UINT level) const { return levels_[level].bytes; }
};

// A vertex or index buffer, its bytes in memory only.
template <typename Interface, typename Desc>
class TraceBuffer final : public Buffer<Interface, Desc> {
public:
  using Buffer<Interface, Desc>::Buffer;
};

using TraceVertexBuffer = TraceBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using TraceIndexBuffer = TraceBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

class TraceVertexDeclaration final : public Declaration {
public:
  using Declaration::Declaration;
};

}  // namespace d3d9::trace
