// Renderer of the sixth scene: the valley. A shadow map of four drifting ribbons from the cut's
// light, a depth target from the camera, the lit terrain and ribbons, then a blurred half-size copy
// mixed back by depth, the frame overlay, the white fade-in and beat flashes. No state of its own.
#include "scenes/SixthScene.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/DepthOfField.h"
#include "scenes/GlowSource.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/Ribbons.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/ShadowedGround.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kWrapTime = 12.9f;
// The cut count wraps by 5.6 with the factor 0.17857143, in double precision.
constexpr float kCutModulus = 5.6f;
constexpr float kCutFactor = 0.17857143f;
constexpr float kCameraRate = 5.0f;
constexpr float kPathLength = 50.0f;
constexpr float kCameraFar = 10000.0f;

// Ribbons: noise period, amplitude, phase per ribbon-second, length; seed step.
constexpr RibbonShape kRibbon{40.0f, 30.0f, 1000.0f, 400};
constexpr std::int32_t kRibbonSeedStep = 453463;
// Ribbon placement: spacing, speed, wrap, shift, height, scale and the turn that lays it along x.
constexpr float kRibbonSpacing = 15.0f;
constexpr float kRibbonSpeed = 100.0f;
constexpr float kRibbonWrap = 600.0f;
constexpr float kRibbonShift = 400.0f;
constexpr float kRibbonHeight = -20.0f;
constexpr float kRibbonScale = 0.1f;
constexpr float kRibbonPitch = 1.5707964f;
constexpr float kRibbonRoll = -1.5707964f;

constexpr D3DCOLOR kShadowClear = 0x00FFFFFF;
constexpr D3DCOLOR kDepthClear = 0x00FFFFFF;

constexpr float kDepthExponent = 1.1f;
constexpr float kDepthFallOff = 1.7f;
constexpr float kTerrainLightGain = 1.6f;  // "alpha1" = 1.6 S2 + 2.8
constexpr float kTerrainLightFloor = 2.8f;
constexpr float kTerrainGammaFloor = 0.6f;  // "gamma" = S2 + 0.6
constexpr float kBlurRadius = 1.8f;

constexpr float kFadeRate = 0.5f;
constexpr float kFlashRate = 3.3f;
constexpr float kFlashPeak = 0.5f;

using RibbonSet = std::array<PlacedRibbon, kSixthRibbons>;

// The four ribbons placed at time tau.
RibbonSet placeRibbons(timeline::MainStage& stage, float tau) {
  RibbonSet ribbons;
  for (std::size_t i = 0; i < ribbons.size(); ++i)
    ribbons[i] = {sixthRibbonWorld(static_cast<int>(i), tau), &stage.planeGrids[i]};
  return ribbons;
}

}  // namespace

float sixthWrappedTime(float u) {
  float uw = u;
  if (uw > kWrapTime) uw -= kWrapTime;
  if (uw > kWrapTime) uw -= kWrapTime;
  return uw;
}

int sixthCutIndex(float uw) {
  const auto below = std::count_if(kSixthSceneCuts.begin(), kSixthSceneCuts.end(), [uw](float t) { return t < uw; });
  double n = static_cast<double>(below);
  if (n > static_cast<double>(kCutModulus))
    n -= std::trunc(n * static_cast<double>(kCutFactor)) * static_cast<double>(kCutModulus);
  return std::clamp(static_cast<int>(n), 0, static_cast<int>(kSixthCutSetups.size()) - 1);
}

float sixthCameraTime(int cut, float uw) {
  return wrapPast(kCameraRate * (kSixthSceneCuts[static_cast<std::size_t>(cut)] - uw), kPathLength);
}

float sixthRibbonTime(int cut, float u, float uw) {
  const SixthCut& setup = kSixthCutSetups[static_cast<std::size_t>(cut)];
  return setup.ribbonOnWrapped ? uw + setup.ribbonOffset : u;
}

float sixthRibbonX(int i, float tau) {
  return wrapPast(kRibbonSpacing * static_cast<float>(i) + kRibbonSpeed * tau, kRibbonWrap) - kRibbonShift;
}

D3DXMATRIX sixthRibbonWorld(int i, float tau) {
  return render::place(sixthRibbonX(i, tau), kRibbonHeight, 0.0f, 0.0f, kRibbonPitch, kRibbonRoll, kRibbonScale);
}

float sixthFadeOpacity(float uw) { return 1.0f - std::clamp(kFadeRate * uw, 0.0f, 1.0f); }

float sixthFlashOpacity(float b) {
  const auto next = std::find_if(kSixthFlashBeats.begin(), kSixthFlashBeats.end(), [b](float t) { return !(t < b); });
  // Past the closing entry no beat is ahead: no flash.
  if (next == kSixthFlashBeats.end()) return 0.0f;
  const float f = std::clamp(kFlashRate * (*next - b), 0.0f, 1.0f);
  return kFlashPeak * (1.0f - f);
}

void sixthScene(timeline::MainStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s2 = timeline::spectrumTrack().band(2, musicTime);

  // 1. Wrap the scene time, pick the cut, sample its path, set the light; rebuild the ribbons.
  const float uw = sixthWrappedTime(sceneTime);
  const int cut = sixthCutIndex(uw);
  const SixthCut& setup = kSixthCutSetups[static_cast<std::size_t>(cut)];
  assets::Camera& camera =
      followPath(stage.vallyCameras[static_cast<std::size_t>(setup.cameraPath)], sixthCameraTime(cut, uw));
  aimCamera(render::lightCamera(), {setup.lightEye, camera.target + setup.lightTargetOffset, setup.lightFov});
  if (!setup.keepsPathFar) camera.farPlane = kCameraFar;
  const float r = sixthRibbonTime(cut, sceneTime, uw);
  for (int i = 0; i < kSixthRibbons; ++i)
    shapeRibbon(stage.planeGrids[static_cast<std::size_t>(i)], kRibbon, r,
                static_cast<std::int32_t>(static_cast<std::uint32_t>(i) * kRibbonSeedStep));
  const SceneView view = sceneView();
  const RibbonSet atRibbonTime = placeRibbons(stage, r);

  // 2. Shadow pass: the ribbons from the light.
  {
    TargetPass shadow(m.shadowTarget, kShadowClear);
    stampSoftShadows(atRibbonTime, view, false);
  }

  // 3. Depth pass: terrain and ribbons (placed at u', not r) from the camera.
  {
    DepthPass depth({setup.focus, kDepthExponent, kDepthFallOff}, kDepthClear, view.viewProjection);
    stage.vallyMesh.draw(device);
    drawRibbons(depth.effect(), placeRibbons(stage, uw), view);
  }

  // 4. The back buffer; 5. terrain.
  beginBackBuffer(device);
  setAlphaBlend(device, false);
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, true);
  ShadowedGround(view)
      .textures("diffuse5", "normalv")
      .value("alpha1", kTerrainLightGain * s2 + kTerrainLightFloor)
      .value("gamma", s2 + kTerrainGammaFloor)
      .draw(stage.vallyMesh);

  // 6. Ribbons.
  setStates(device, D3DCULL_NONE, true);
  {
    CurrentEffect ribbons(m.effects, "line1");
    ribbons.matrix("matView", view.view)
        .value("alpha1", 1.0f)
        .texture("tex0", m.textures.lookup("linediffuse"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .vector("LightPosition", view.lightEye);
    ribbons.begin(1);
    drawRibbons(ribbons, atRibbonTime, view);
    ribbons.end();
  }
  device->EndScene();

  // 7-8. Screen-pass states; the picture copied into half-size target B and blurred into A.
  blurBackBufferIntoHalfTargetA(device, kBlurRadius);

  // 9. Depth of field: the blurred picture mixed over the sharp one by depth; 10. frame overlay.
  mixDepthOfField(device, MixBinding::sharpFirst);
  drawScreenCards(device, {kFrameOverlay});

  // 11. White fade-in, beat flash and the overlay once more; 12. present.
  drawScreenCardsAndPresent(device,
                            {{"white", sixthFadeOpacity(uw)}, {"white", sixthFlashOpacity(musicTime)}, kFrameOverlay});
}

}  // namespace scenes
