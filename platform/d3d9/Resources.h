// The parts of device objects that every backend shares: reference counting, debug names, the
// surface (a stand-alone one, or a texture level that lives and dies with its texture), texture
// levels and declarations. Each backend derives its own objects and adds where its bytes live.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

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

// A resource with a debug name (what the frame trace writes for it).
template <typename Interface>
class Named : public RefCounted<Interface> {
public:
  void SetDebugName(const char* name) override { name_ = name ? name : ""; }
  const char* GetDebugName() const override { return name_.empty() ? nullptr : name_.c_str(); }

private:
  std::string name_;
};

// A stand-alone surface (back buffer, depth-stencil) or a level of a texture. A level shares the
// texture's reference count and name, as Direct3D's texture levels do; the texture owns the level.
class Surface : public Named<IDirect3DSurface9> {
public:
  Surface(const D3DSURFACE_DESC& desc, IDirect3DTexture9* container) : desc_(desc), container_(container) {}

  ULONG AddRef() override { return container_ ? container_->AddRef() : Named::AddRef(); }
  ULONG Release() override { return container_ ? container_->Release() : Named::Release(); }
  const char* GetDebugName() const override { return container_ ? container_->GetDebugName() : Named::GetDebugName(); }
  HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc_;
    return D3D_OK;
  }

  const D3DSURFACE_DESC& desc() const { return desc_; }
  bool isRenderTarget() const { return (desc_.Usage & D3DUSAGE_RENDERTARGET) != 0; }
  bool isDepthStencil() const { return (desc_.Usage & D3DUSAGE_DEPTHSTENCIL) != 0; }
  RECT wholeRect() const { return RECT{0, 0, LONG(desc_.Width), LONG(desc_.Height)}; }

private:
  D3DSURFACE_DESC desc_;
  IDirect3DTexture9* container_;
};

// A vertex or index buffer: its bytes in memory (so a lock reads back what was written), its
// description and its lock. A backend that keeps the bytes elsewhere too hears of every finished
// lock through `unlocked`.
template <typename Interface, typename Desc>
class Buffer : public Named<Interface> {
public:
  explicit Buffer(const Desc& desc) : desc_(desc), bytes_(desc.Size) {}

  HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override {
    if (!ppbData || locked_) return D3DERR_INVALIDCALL;
    UINT size = SizeToLock == 0 ? desc_.Size - std::min(OffsetToLock, desc_.Size) : SizeToLock;
    if (OffsetToLock > desc_.Size || size > desc_.Size - OffsetToLock) return D3DERR_INVALIDCALL;
    locked_ = true;
    lockOffset_ = OffsetToLock;
    lockSize_ = size;
    lockFlags_ = Flags;
    *ppbData = bytes_.data() + OffsetToLock;
    return D3D_OK;
  }
  HRESULT Unlock() override {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    unlocked(lockOffset_, lockSize_, lockFlags_);
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

protected:
  virtual void unlocked(UINT /*offset*/, UINT /*size*/, DWORD /*flags*/) {}

private:
  Desc desc_;
  std::vector<BYTE> bytes_;
  bool locked_ = false;
  UINT lockOffset_ = 0;
  UINT lockSize_ = 0;
  DWORD lockFlags_ = 0;
};

// A texture's levels, largest first: each holds its surface (a unique_ptr named `surface`, sharing
// the texture's count) and what the backend keeps for it while locked.
template <typename LevelData>
class Texture : public Named<IDirect3DTexture9> {
public:
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override {
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    return levels_[Level].surface->GetDesc(pDesc);
  }
  HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel) override {
    if (!ppSurfaceLevel || Level >= levels_.size()) return D3DERR_INVALIDCALL;
    AddRef();
    *ppSurfaceLevel = levels_[Level].surface.get();
    return D3D_OK;
  }

protected:
  std::vector<LevelData> levels_;
};

// How many levels a full mip chain of a width x height texture has, down to 1x1.
inline UINT mipChainLength(UINT width, UINT height) {
  UINT levels = 1;
  while (width > 1 || height > 1) {
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
    ++levels;
  }
  return levels;
}

// As on Direct3D: render targets and static default-pool textures cannot be locked.
inline bool lockable(const D3DSURFACE_DESC& desc) {
  return !(desc.Usage & D3DUSAGE_RENDERTARGET) && (desc.Pool != D3DPOOL_DEFAULT || (desc.Usage & D3DUSAGE_DYNAMIC));
}

// A vertex declaration's elements, end marker excluded; GetDeclaration hands them back with it.
class Declaration : public RefCounted<IDirect3DVertexDeclaration9> {
public:
  explicit Declaration(std::vector<D3DVERTEXELEMENT9> elements) : elements_(std::move(elements)) {}
  HRESULT GetDeclaration(D3DVERTEXELEMENT9* pDecl, UINT* pNumElements) override {
    if (!pNumElements) return D3DERR_INVALIDCALL;
    *pNumElements = static_cast<UINT>(elements_.size() + 1);
    if (pDecl) {
      std::copy(elements_.begin(), elements_.end(), pDecl);
      pDecl[elements_.size()] = D3DDECL_END();
    }
    return D3D_OK;
  }
  const std::vector<D3DVERTEXELEMENT9>& elements() const { return elements_; }

private:
  std::vector<D3DVERTEXELEMENT9> elements_;
};

}  // namespace d3d9
