// Card sequences over the finished picture.
#include "scenes/ScreenCardSequence.h"

#include "render/ScreenPass.h"
#include "scenes/CurrentEffect.h"
#include "scenes/ScreenCard.h"
#include "timeline/Manifest.h"

namespace scenes {

void drawScreenCardSequence(IDirect3DDevice9* device, std::span<const CardLayer> layers) {
  if (layers.empty()) return;
  timeline::Manifest& m = timeline::manifest();
  setOverlayStates(device);
  CurrentEffect text(m.effects, "demo1text");
  text.matrix("matProjection", render::screenProjection())
      .texture("tex0", m.textures.lookup(layers[0].texture))
      .value("alpha1", layers[0].opacity);
  text.begin(0);
  m.fullScreenQuad.draw(device);
  for (std::size_t i = 1; i < layers.size(); ++i) {
    text.texture("tex0", m.textures.lookup(layers[i].texture)).value("alpha1", layers[i].opacity);
    text.commit();
    m.fullScreenQuad.draw(device);
  }
  text.end();
}

}  // namespace scenes
