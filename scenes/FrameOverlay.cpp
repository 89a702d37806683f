// The frame overlay pass.
#include "scenes/FrameOverlay.h"

#include "render/EffectBinding.h"
#include "render/ScreenPass.h"
#include "timeline/Manifest.h"

namespace scenes {

void drawOverlayAndPresent(IDirect3DDevice9* device) {
  timeline::Manifest& m = timeline::manifest();
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  m.effects.currentKey = "demo1text";
  if (ID3DXEffect* effect = m.effects.lookup("demo1text")) {
    D3DXMATRIX projection = render::screenProjection();
    effect->SetMatrix("matProjection", &projection);
    effect->SetTexture("tex0", m.textures.lookup("overlay02"));
    effect->SetFloat("alpha1", 1.0f);
  }
  render::beginEffect(m.effects, 0);
  m.fullScreenQuad.draw(device);
  render::endEffect(m.effects);
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
