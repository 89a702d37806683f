// The back buffer's blurred half-size copy.
#include "scenes/GlowSource.h"

#include <array>

#include "render/ScreenPass.h"
#include "scenes/CurrentEffect.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"

namespace scenes {

void blurBackBufferIntoHalfTargetA(IDirect3DDevice9* device, float blur) {
  timeline::Manifest& m = timeline::manifest();
  setStates(device, D3DCULL_NONE, false);
  m.halfTargetB.grabBackBuffer();

  m.halfTargetA.begin();
  {
    const std::array<float, 2> texel = render::texelSize(m.halfTargetB);
    CurrentEffect effect(m.effects, "blur");
    effect.matrix("matProjection", render::screenProjection())
        .texture("tex0", m.halfTargetB.texture.get())
        .floats("ps", texel.data(), 2)
        .value("blur", blur);
    effect.begin(0);
    m.fullScreenQuad.draw(device);
    effect.end();
  }
  m.halfTargetA.end();
}

}  // namespace scenes
