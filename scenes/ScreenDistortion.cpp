// The distortion pass.
#include "scenes/ScreenDistortion.h"

#include "render/ScreenPass.h"
#include "scenes/CurrentEffect.h"
#include "timeline/Manifest.h"

namespace scenes {

void drawDistortedCopy(IDirect3DDevice9* device, const Distortion& distortion) {
  timeline::Manifest& m = timeline::manifest();
  CurrentEffect post(m.effects, "postfx");
  post.matrix("matWorldViewProjection", render::screenProjection())
      .texture("tex0", m.screenCopyTarget.texture.get())
      .value("anim", distortion.anim);
  if (distortion.pass == 1) post.value("amplitude", distortion.amplitude).value("freq", distortion.freq);
  post.begin(distortion.pass);
  m.distortionGrid.draw(device);
  post.end();
}

}  // namespace scenes
