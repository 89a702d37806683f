// Renderer of the closing scene: the logo card fills the screen, fades in over two seconds,
// flickers dark with the music's band 2 and sinks into black. Needs no stage member, touches no
// camera and keeps no state.
#include "scenes/ClosingScene.h"

#include <algorithm>

#include "render/Device.h"
#include "render/ScreenPass.h"
#include "scenes/CurrentEffect.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCardSequence.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kFadeInRate = 0.5f;
constexpr float kBandWeight = 300.0f;
constexpr float kSinkRate = 0.1033058f;  // 1 / 9.68: black by time alone 9.68 s in
constexpr D3DCOLOR kClearColour = 0x00000000;

// One texture over the whole screen, unblended, through "texture" pass 0.
void drawFullScreenPicture(IDirect3DDevice9* device, const char* textureKey) {
  timeline::Manifest& m = timeline::manifest();
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, false);
  setAlphaBlend(device, false);
  CurrentEffect picture(m.effects, "texture");
  picture.matrix("matWorldViewProjection", render::screenProjection()).texture("tex0", m.textures.lookup(textureKey));
  picture.begin(0);
  m.fullScreenQuad.draw(device);
  picture.end();
}

}  // namespace

float closingBlackWeight(float a, float s2) {
  return (1.0f - std::clamp(kFadeInRate * a, 0.0f, 1.0f)) + kBandWeight * s2 + kSinkRate * a;
}

void closingScene(timeline::MainStage&, float a, float b) {
  IDirect3DDevice9* device = render::device();

  // 1. Begin the scene.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);

  // 2. The logo.
  drawFullScreenPicture(device, "tinkerfolks8");

  // 3. The black card's weight; 4. the black card and the frame overlay.
  const float k = closingBlackWeight(a, timeline::spectrumTrack().band(2, b));
  const CardLayer cards[] = {{"black6", k}, {"overlay02", 1.0f}};
  drawScreenCardSequence(device, cards);

  // 5. End the scene and present.
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
