// Card layers over the finished picture and the frame's close.
#include "scenes/ScreenCards.h"

#include "render/ScreenPass.h"
#include "scenes/CurrentEffect.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"

namespace scenes {

void drawScreenCards(IDirect3DDevice9* device, std::initializer_list<CardLayer> layers) {
  if (layers.size() == 0) return;
  timeline::Manifest& m = timeline::manifest();
  setStates(device, D3DCULL_CW, false, kAlphaOver);
  const CardLayer* layer = layers.begin();
  CurrentEffect text(m.effects, "demo1text");
  text.matrix("matProjection", render::screenProjection())
      .texture("tex0", m.textures.lookup(layer->texture))
      .value("alpha1", layer->opacity);
  text.begin(0);
  m.fullScreenQuad.draw(device);
  for (++layer; layer != layers.end(); ++layer) {
    text.texture("tex0", m.textures.lookup(layer->texture)).value("alpha1", layer->opacity);
    text.commit();
    m.fullScreenQuad.draw(device);
  }
  text.end();
}

void drawScreenCardsAndPresent(IDirect3DDevice9* device, std::initializer_list<CardLayer> layers) {
  drawScreenCards(device, layers);
  present(device);
}

void present(IDirect3DDevice9* device) {
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
