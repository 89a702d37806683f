// Textures, surfaces and declarations of the trace backend.
#include "platform/d3d9/trace/TraceResources.h"

#include <algorithm>

#include "platform/d3d9/Formats.h"

namespace d3d9::trace {

TraceSurface::TraceSurface(const D3DSURFACE_DESC& desc, TraceTexture* container)
    : desc_(desc), container_(container) {}

ULONG TraceSurface::AddRef() {
  return container_ ? container_->AddRef() : Named<IDirect3DSurface9>::AddRef();
}

ULONG TraceSurface::Release() {
  return container_ ? container_->Release() : Named<IDirect3DSurface9>::Release();
}

const char* TraceSurface::GetDebugName() const {
  return container_ ? container_->GetDebugName() : Named<IDirect3DSurface9>::GetDebugName();
}

HRESULT TraceSurface::GetDesc(D3DSURFACE_DESC* pDesc) {
  if (!pDesc) return D3DERR_INVALIDCALL;
  *pDesc = desc_;
  return D3D_OK;
}

namespace {
UINT fullChainLength(UINT width, UINT height) {
  UINT levels = 1;
  while (width > 1 || height > 1) {
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
    ++levels;
  }
  return levels;
}
}  // namespace

TraceTexture::TraceTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool) {
  UINT count = levels == 0 ? fullChainLength(width, height) : levels;
  levels_.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, usage, pool, D3DMULTISAMPLE_NONE, 0, width, height};
    levels_.push_back(Level{new TraceSurface(desc, this),
                            std::vector<BYTE>(std::size_t(width) * height * bytesPerTexel(format))});
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
}

TraceTexture::~TraceTexture() {
  for (Level& level : levels_) delete level.surface;
}

DWORD TraceTexture::GetLevelCount() { return static_cast<DWORD>(levels_.size()); }

HRESULT TraceTexture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
  if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
  return levels_[Level].surface->GetDesc(pDesc);
}

HRESULT TraceTexture::GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel) {
  if (!ppSurfaceLevel || Level >= levels_.size()) return D3DERR_INVALIDCALL;
  AddRef();
  *ppSurfaceLevel = levels_[Level].surface;
  return D3D_OK;
}

HRESULT TraceTexture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD) {
  if (!pLockedRect || Level >= levels_.size() || pRect) return D3DERR_INVALIDCALL;
  auto& level = levels_[Level];
  const D3DSURFACE_DESC& desc = level.surface->desc();
  // As on Direct3D: render targets and static default-pool textures cannot be locked.
  bool lockable = !(desc.Usage & D3DUSAGE_RENDERTARGET) &&
                  (desc.Pool != D3DPOOL_DEFAULT || (desc.Usage & D3DUSAGE_DYNAMIC));
  if (level.locked || !lockable) return D3DERR_INVALIDCALL;
  level.locked = true;
  pLockedRect->Pitch = static_cast<INT>(desc.Width * bytesPerTexel(desc.Format));
  pLockedRect->pBits = level.bytes.data();
  return D3D_OK;
}

HRESULT TraceTexture::UnlockRect(UINT Level) {
  if (Level >= levels_.size() || !levels_[Level].locked) return D3DERR_INVALIDCALL;
  levels_[Level].locked = false;
  return D3D_OK;
}

HRESULT TraceVertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* pDecl, UINT* pNumElements) {
  if (!pNumElements) return D3DERR_INVALIDCALL;
  *pNumElements = static_cast<UINT>(elements_.size() + 1);
  if (pDecl) {
    std::copy(elements_.begin(), elements_.end(), pDecl);
    pDecl[elements_.size()] = D3DDECL_END();
  }
  return D3D_OK;
}

}  // namespace d3d9::trace
