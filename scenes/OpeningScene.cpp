// Renderer of the opening scene: sky dome, a lit noise ribbon, a glow of the blurred half-size
// copy added back, a wave distortion driven by the spectrum, then the title card, the fade from
// black and the frame overlay. Keeps no state: the frame follows from the scene and music times.
#include "scenes/OpeningScene.h"

#include <algorithm>
#include <cmath>

#include "geometry/NoiseRibbon.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/GlowSource.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCard.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// The ribbon: noise period, amplitude, phase per second of scene time, length and seed.
constexpr float kRibbonPeriod = 20.0f;
constexpr float kRibbonAmplitude = 20.0f;
constexpr float kRibbonPhaseRate = 50.0f;
constexpr int kRibbonLength = 200;
constexpr int kRibbonSeed = 623423;

// The camera path runs at twice the scene time; its far plane is pushed out to hold the dome.
constexpr float kCameraPathRate = 2.0f;
constexpr float kCameraFar = 100000.0f;

constexpr D3DXVECTOR3 kLightEye{1.0f, 100.0f, 1.0f};
constexpr D3DXVECTOR3 kLightTarget{0.0f, 0.0f, 0.0f};
constexpr float kLightFov = 1.2566371f;

constexpr float kHalfPi = 1.5707964f;
constexpr float kSkyScale = 2.0f;
constexpr D3DXVECTOR3 kSkyPosition{0.0f, -50.0f, 0.0f};

constexpr float kGlowBlur = 2.0f;
constexpr D3DCOLOR kClearColour = 0x00000000;

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

void openingScene(timeline::MainStage& stage, float a, float b) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const float s0 = spectrum.band(0, b);
  const float s2 = spectrum.band(2, b);

  // 1. Ribbon, camera and light; card and opacities.
  geometry::NoiseRibbon(stage.planeGrids[0], kRibbonPeriod, kRibbonAmplitude, kRibbonPhaseRate * a, kRibbonLength,
                        kRibbonSeed);
  render::sampleCamera(stage.introCamera, kCameraPathRate * a);
  assets::Camera& camera = render::currentCamera();
  camera = stage.introCamera.camera;
  camera.farPlane = kCameraFar;
  assets::Camera& light = render::lightCamera();
  light.eye = kLightEye;
  light.target = kLightTarget;
  light.fov = kLightFov;
  const TitleCard card = openingTitleCard(a);
  const float fade = openingFadeIn(a);
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = view * render::cameraProjection(camera);
  const D3DXMATRIX screen = render::screenProjection();

  // 2. Begin the scene and clear.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);

  // 3. Sky dome.
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  {
    CurrentEffect sky(m.effects, "demo1text");
    sky.matrix("matProjection", render::place(kSkyPosition, {0.0f, 0.0f, 0.0f}, kSkyScale) * viewProjection)
        .texture("tex0", m.textures.lookup("sky1"))
        .value("alpha1", 3.0f * s2 + 0.6f);
    sky.begin(0);
    if (assets::Mesh* hemi = stage.bakkeMeshes.lookup("hemi")) hemi->draw(device);
    sky.end();
  }

  // 4. The lit ribbon.
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  {
    CurrentEffect line(m.effects, "line1");
    line.matrix("matWorldViewProjection", render::place(0.0f, 0.0f, 0.0f, 0.0f, kHalfPi, 0.0f, 1.0f) * viewProjection)
        .matrix("matView", view)
        .texture("tex0", m.textures.lookup("line1"))
        .value("ambient", 12.0f * s2 + 0.2f)
        .vector("LightPosition", light.eye);
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
  render::setAdditiveBlend(device);
  {
    CurrentEffect glow(m.effects, "texture");
    glow.matrix("matWorldViewProjection", screen)
        .texture("tex0", m.halfTargetA.texture.get())
        .value("alpha", 6.0f * s2 + 1.0f);
    glow.begin(1);
    m.fullScreenQuad.draw(device);
    glow.end();
  }
  device->EndScene();

  // 9. Copy the back buffer into the screen-copy target.
  m.screenCopyTarget.grabBackBuffer();
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);

  // 10. Wave distortion of the copy.
  device->BeginScene();
  {
    CurrentEffect post(m.effects, "postfx");
    post.matrix("matWorldViewProjection", screen)
        .texture("tex0", m.screenCopyTarget.texture.get())
        .value("anim", a)
        .value("amplitude", 0.05f * std::sin(s0))
        .value("freq", 50000.0f * s0);
    post.begin(1);
    m.distortionGrid.draw(device);
    post.end();
  }

  // 11. Title card, fade from black, frame overlay; 12. end the scene and present.
  drawScreenCard(device, card.texture, card.opacity);
  drawScreenCard(device, "black6", 1.0f - fade);
  drawOverlayCardAndPresent(device);
}

}  // namespace scenes
