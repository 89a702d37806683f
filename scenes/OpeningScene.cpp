// Renderer of the opening scene: sky dome, a lit noise ribbon, a glow of the blurred half-size
// copy added back, a wave distortion driven by the spectrum, then the title card, the fade from
// black and the frame overlay. Keeps no state: the frame follows from the scene and music times.
#include "scenes/OpeningScene.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/GlowSource.h"
#include "scenes/Renderers.h"
#include "scenes/Ribbons.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/ScreenDistortion.h"
#include "scenes/SkyDome.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// The ribbon: noise period, amplitude, phase per second of scene time, length; its seed.
constexpr RibbonShape kRibbon{20.0f, 20.0f, 50.0f, 200};
constexpr int kRibbonSeed = 623423;

// The camera path runs at twice the scene time; its far plane is pushed out to hold the dome.
constexpr float kCameraPathRate = 2.0f;
constexpr float kCameraFar = 100000.0f;

constexpr Aim kLight{{1.0f, 100.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, 1.2566371f};

constexpr float kHalfPi = 1.5707964f;
constexpr SkyDome kSky{"sky1", {0.0f, -50.0f, 0.0f}, 2.0f};

constexpr float kGlowBlur = 2.0f;

// Card opacity: the fade-in rate, the rate of the fade before each change, the last card's end.
constexpr float kCardFadeInRate = 0.25f;
constexpr float kCardFadeInEnd = 4.0f;
constexpr float kCardFadeOutRate = 0.8f;
constexpr float kLastCardRate = 0.5f;
constexpr float kLastCardEnd = 12.2f;
constexpr float kFadeInRate = 0.5f;

}  // namespace

int openingCardIndex(float a) {
  return static_cast<int>(std::count_if(kOpeningCardTimes.begin(), kOpeningCardTimes.end(),
                                        [a](float t) { return t < a; }));
}

TitleCard openingTitleCard(float a) {
  const int k = openingCardIndex(a);
  // Past the last change there is no next change to fade toward; the last card's rule below decides.
  float opacity = k < static_cast<int>(kOpeningCardTimes.size())
                      ? std::clamp(kCardFadeOutRate * (kOpeningCardTimes[k] - a), 0.0f, 1.0f)
                      : 0.0f;
  if (a < kCardFadeInEnd) opacity = kCardFadeInRate * a;
  if (a > kOpeningCardTimes.back()) opacity = std::clamp(kLastCardRate * (kLastCardEnd - a), 0.0f, 1.0f);
  return {kOpeningCards[k], opacity};
}

float openingFadeIn(float a) { return std::clamp(kFadeInRate * a, 0.0f, 1.0f); }

void openingScene(timeline::MainStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const float s0 = spectrum.band(0, musicTime);
  const float s2 = spectrum.band(2, musicTime);

  // 1. Ribbon, camera and light; card and opacities.
  shapeRibbon(stage.planeGrids[0], kRibbon, sceneTime, kRibbonSeed);
  followPath(stage.introCamera, kCameraPathRate * sceneTime).farPlane = kCameraFar;
  aimCamera(render::lightCamera(), kLight);
  const TitleCard card = openingTitleCard(sceneTime);
  const float fade = openingFadeIn(sceneTime);
  const SceneView view = sceneView();

  // 2. Begin the scene and clear; 3. sky dome.
  beginBackBuffer(device);
  setStates(device, D3DCULL_CCW, false);
  drawSkyDome(stage.bakkeMeshes, kSky, 3.0f * s2 + 0.6f, view.viewProjection);

  // 4. The lit ribbon.
  setAlphaBlend(device, false);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  {
    CurrentEffect line(m.effects, "line1");
    line.matrix("matWorldViewProjection",
                render::place(0.0f, 0.0f, 0.0f, 0.0f, kHalfPi, 0.0f, 1.0f) * view.viewProjection)
        .matrix("matView", view.view)
        .texture("tex0", m.textures.lookup("line1"))
        .value("ambient", 12.0f * s2 + 0.2f)
        .vector("LightPosition", view.lightEye);
    line.begin(0);
    stage.planeGrids[0].draw(device);
    line.end();
  }

  // 5-7. End the scene; screen-pass states; the picture copied into half-size target B and
  // blurred into A.
  device->EndScene();
  blurBackBufferIntoHalfTargetA(device, kGlowBlur);

  // 8. Add the glow.
  device->BeginScene();
  setBlend(device, kAdditive);
  {
    CurrentEffect glow(m.effects, "texture");
    glow.matrix("matWorldViewProjection", render::screenProjection())
        .texture("tex0", m.halfTargetA.texture.get())
        .value("alpha", 6.0f * s2 + 1.0f);
    glow.begin(1);
    m.fullScreenQuad.draw(device);
    glow.end();
  }
  device->EndScene();

  // 9. Copy the back buffer into the screen-copy target.
  m.screenCopyTarget.grabBackBuffer();
  setAlphaBlend(device, false);

  // 10. Wave distortion of the copy.
  device->BeginScene();
  drawDistortedCopy(device, {1, sceneTime, 0.05f * std::sin(s0), 50000.0f * s0});

  // 11. Title card, fade from black, frame overlay; 12. end the scene and present.
  drawScreenCards(device, {{card.texture, card.opacity}});
  drawScreenCards(device, {{"black6", 1.0f - fade}});
  drawScreenCardsAndPresent(device, {kFrameOverlay});
}

}  // namespace scenes
