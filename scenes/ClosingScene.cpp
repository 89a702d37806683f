// Renderer of the closing scene: the logo card fills the screen, fades in over two seconds,
// flickers dark with the music's band 2 and sinks into black. Needs no stage member, touches no
// camera and keeps no state.
#include "scenes/ClosingScene.h"

#include <algorithm>

#include "render/Device.h"
#include "render/ScreenPass.h"
#include "scenes/CurrentEffect.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCards.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kFadeInRate = 0.5f;
constexpr float kBandWeight = 300.0f;
constexpr float kSinkRate = 0.1033058f;  // 1 / 9.68: black by time alone 9.68 s in

// One texture over the whole screen, unblended, through "texture" pass 0.
void drawFullScreenPicture(IDirect3DDevice9* device, const char* textureKey) {
  timeline::Manifest& m = timeline::manifest();
  setStates(device, D3DCULL_NONE, false);
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

void closingScene(timeline::MainStage&, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();

  // 1. Begin the scene; 2. the logo.
  beginBackBuffer(device);
  drawFullScreenPicture(device, "tinkerfolks8");

  // 3. The black card's weight; 4. the black card and the frame overlay; 5. end and present.
  const float k = closingBlackWeight(sceneTime, timeline::spectrumTrack().band(2, musicTime));
  drawScreenCardsAndPresent(device, {{"black6", k}, kFrameOverlay});
}

}  // namespace scenes
