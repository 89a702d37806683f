// The depth pass and the depth-of-field mix.
#include "scenes/DepthOfField.h"

#include "render/Device.h"
#include "render/ScreenPass.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"

namespace scenes {
namespace {

// The depth pass's states come after the target's clear and before the effect is looked up.
CurrentEffect depthEffectAfterStates() {
  setStates(render::device(), D3DCULL_NONE, true);
  return CurrentEffect(timeline::manifest().effects, "dof1");
}

}  // namespace

DepthPass::DepthPass(const DepthOfField& depthOfField, D3DCOLOR clearColour, const D3DXMATRIX& viewProjection)
    : target_(timeline::manifest().depthTarget, clearColour), effect_(depthEffectAfterStates()) {
  effect_.matrix("matWorldViewProjection", viewProjection)
      .value("Focus", depthOfField.focus)
      .value("Eksponent", depthOfField.exponent)
      .value("FallOff", depthOfField.fallOff);
  effect_.begin(0);
}

DepthPass::~DepthPass() { effect_.end(); }

void mixDepthOfField(IDirect3DDevice9* device, MixBinding binding) {
  timeline::Manifest& m = timeline::manifest();
  device->BeginScene();
  setBlend(device, kAlphaOver);
  CurrentEffect mix(m.effects, "dof1");
  mix.matrix("matWorldViewProjection", render::screenProjection());
  if (binding == MixBinding::sharpFirst) mix.texture("tex2", m.halfTargetB.texture.get());
  mix.texture("tex0", m.halfTargetA.texture.get()).texture("tex1", m.depthTarget.texture.get());
  if (binding == MixBinding::sharpLast) mix.texture("tex2", m.halfTargetB.texture.get());
  mix.begin(4);
  m.fullScreenQuad.draw(device);
  mix.end();
}

}  // namespace scenes
