// Screen cards and the frame's close.
#include "scenes/ScreenCard.h"

#include "render/ScreenPass.h"
#include "scenes/CurrentEffect.h"
#include "timeline/Manifest.h"

namespace scenes {

void setOverlayStates(IDirect3DDevice9* device) {
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

void drawScreenCard(IDirect3DDevice9* device, const char* textureKey, float opacity) {
  timeline::Manifest& m = timeline::manifest();
  setOverlayStates(device);
  CurrentEffect text(m.effects, "demo1text");
  text.matrix("matProjection", render::screenProjection())
      .texture("tex0", m.textures.lookup(textureKey))
      .value("alpha1", opacity);
  text.begin(0);
  m.fullScreenQuad.draw(device);
  text.end();
}

void drawOverlayCardAndPresent(IDirect3DDevice9* device) {
  drawScreenCard(device, "overlay02", 1.0f);
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
