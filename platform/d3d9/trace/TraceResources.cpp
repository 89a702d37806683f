// Textures, surfaces and declarations of the trace backend.
#include "platform/d3d9/trace/TraceResources.h"

#include <algorithm>

#include "platform/d3d9/Formats.h"

namespace d3d9::trace {

TraceTexture::TraceTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool) {
  UINT count = levels == 0 ? mipChainLength(width, height) : levels;
  levels_.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, usage, pool, D3DMULTISAMPLE_NONE, 0, width, height};
    levels_.push_back(TraceLevel{std::make_unique<TraceSurface>(desc, this),
                                 std::vector<BYTE>(std::size_t(width) * height * bytesPerTexel(format))});
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
}

HRESULT TraceTexture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD) {
  if (!pLockedRect || Level >= levels_.size() || pRect) return D3DERR_INVALIDCALL;
  auto& level = levels_[Level];
  const D3DSURFACE_DESC& desc = level.surface->desc();
  if (level.locked || !lockable(desc)) return D3DERR_INVALIDCALL;
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

}  // namespace d3d9::trace
