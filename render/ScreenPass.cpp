// Screen-pass helpers.
#include "render/ScreenPass.h"

#include "render/Transforms.h"

namespace render {

D3DXMATRIX screenProjection() { return ortho(kScreenWidth, kScreenHeight); }

std::array<float, 2> texelSize(const RenderTarget& source) {
  return {1.0f / static_cast<float>(source.width), 1.0f / static_cast<float>(source.height)};
}

void setScreenPassStates(IDirect3DDevice9* device) {
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
}

void setAdditiveBlend(IDirect3DDevice9* device) {
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
}

}  // namespace render
