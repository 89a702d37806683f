// The trace backend's device objects: textures, surfaces, buffers and declarations that keep their
// bytes in memory, so locks read back what was written and draws can be checked against the data.
// Each object is reference counted and deletes itself on its last Release.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace d3d9::trace {

// AddRef/Release for one interface; the object deletes itself when the count reaches zero.
template <typename Interface>
class RefCounted : public Interface {
public:
  ULONG AddRef() override { return ++count_; }
  ULONG Release() override {
    ULONG left = --count_;
    if (left == 0) delete this;
    return left;
  }

private:
  ULONG count_ = 1;
};

// A named resource.
template <typename Interface>
class Named : public RefCounted<Interface> {
public:
  void SetDebugName(const char* name) override { name_ = name ? name : ""; }
  const char* GetDebugName() const override { return name_.empty() ? nullptr : name_.c_str(); }

private:
  std::string name_;
};

class TraceTexture;

// A stand-alone surface (back buffer, depth-stencil) or a level of a texture. A level shares the
// texture's reference count and name, as Direct3D's texture levels do.
class TraceSurface final : public Named<IDirect3DSurface9> {
public:
  TraceSurface(const D3DSURFACE_DESC& desc, TraceTexture* container);
  ULONG AddRef() override;
  ULONG Release() override;
  const char* GetDebugName() const override;
  HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override;

  const D3DSURFACE_DESC& desc() const { return desc_; }
  bool isRenderTarget() const { return (desc_.Usage & D3DUSAGE_RENDERTARGET) != 0; }
  bool isDepthStencil() const { return (desc_.Usage & D3DUSAGE_DEPTHSTENCIL) != 0; }

private:
  D3DSURFACE_DESC desc_;
  TraceTexture* container_;
};

class TraceTexture final : public Named<IDirect3DTexture9> {
public:
  TraceTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
  ~TraceTexture() override;

  DWORD GetLevelCount() override;
  HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
  HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel) override;
  HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
  HRESULT UnlockRect(UINT Level) override;

  // The texels of a level, rows top first, for tests and readers of the trace device.
  const std::vector<BYTE>& levelBytes(UINT level) const { return levels_[level].bytes; }

private:
  struct Level {
    TraceSurface* surface;
    std::vector<BYTE> bytes;
    bool locked = false;
  };
  std::vector<Level> levels_;
};

// A vertex or index buffer: its bytes, its description and whether it is locked.
template <typename Interface, typename Desc>
class TraceBuffer final : public Named<Interface> {
public:
  explicit TraceBuffer(const Desc& desc) : desc_(desc), bytes_(desc.Size) {}

  HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD) override {
    if (!ppbData || locked_) return D3DERR_INVALIDCALL;
    UINT size = SizeToLock == 0 ? desc_.Size - std::min(OffsetToLock, desc_.Size) : SizeToLock;
    if (OffsetToLock > desc_.Size || size > desc_.Size - OffsetToLock) return D3DERR_INVALIDCALL;
    locked_ = true;
    *ppbData = bytes_.data() + OffsetToLock;
    return D3D_OK;
  }
  HRESULT Unlock() override {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
  }
  HRESULT GetDesc(Desc* pDesc) override {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc_;
    return D3D_OK;
  }

  const Desc& desc() const { return desc_; }
  const std::vector<BYTE>& bytes() const { return bytes_; }
  bool locked() const { return locked_; }

private:
  Desc desc_;
  std::vector<BYTE> bytes_;
  bool locked_ = false;
};

using TraceVertexBuffer = TraceBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using TraceIndexBuffer = TraceBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

class TraceVertexDeclaration final : public RefCounted<IDirect3DVertexDeclaration9> {
public:
  explicit TraceVertexDeclaration(std::vector<D3DVERTEXELEMENT9> elements) : elements_(std::move(elements)) {}
  HRESULT GetDeclaration(D3DVERTEXELEMENT9* pDecl, UINT* pNumElements) override;
  const std::vector<D3DVERTEXELEMENT9>& elements() const { return elements_; }

private:
  std::vector<D3DVERTEXELEMENT9> elements_;
};

}  // namespace d3d9::trace
