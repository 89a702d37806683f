// Renderer of the sixth scene: the valley. A shadow map of four drifting ribbons from the cut's
// light, a depth target from the camera, the lit terrain and ribbons, then a blurred half-size copy
// mixed back by depth, the frame overlay, the white fade-in and beat flashes. No state of its own.
#include "scenes/SixthScene.h"

#include <algorithm>
#include <cmath>

#include "geometry/NoiseRibbon.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/GlowSource.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCard.h"
#include "scenes/ScreenCardSequence.h"
#include "scenes/StateSetters.h"
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

// Ribbons: noise period, amplitude, phase per ribbon-second, length, seed step.
constexpr float kRibbonPeriod = 40.0f;
constexpr float kRibbonAmplitude = 30.0f;
constexpr float kRibbonPhaseRate = 1000.0f;
constexpr int kRibbonLength = 400;
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
constexpr D3DCOLOR kClearColour = 0x00000000;

constexpr float kDepthExponent = 1.1f;
constexpr float kDepthFallOff = 1.7f;
constexpr float kTerrainLightGain = 1.6f;  // "alpha1" = 1.6 S2 + 2.8
constexpr float kTerrainLightFloor = 2.8f;
constexpr float kTerrainGammaFloor = 0.6f;  // "gamma" = S2 + 0.6
constexpr float kBlurRadius = 1.8f;

constexpr float kFadeRate = 0.5f;
constexpr float kFlashRate = 3.3f;
constexpr float kFlashPeak = 0.5f;

// Rebuilds the four ribbon grids for ribbon time r.
void rebuildRibbons(timeline::MainStage& stage, float r) {
  for (int i = 0; i < kSixthRibbons; ++i)
    geometry::NoiseRibbon(stage.planeGrids[static_cast<std::size_t>(i)], kRibbonPeriod, kRibbonAmplitude,
                          kRibbonPhaseRate * r, kRibbonLength,
                          static_cast<std::int32_t>(static_cast<std::uint32_t>(i) * kRibbonSeedStep));
}

// The four ribbons placed at time tau, inside the caller's pass of the current effect.
void drawRibbons(timeline::MainStage& stage, CurrentEffect& effect, float tau) {
  IDirect3DDevice9* device = render::device();
  const D3DXMATRIX viewProjection = render::cameraViewProjection(render::currentCamera());
  const D3DXMATRIX lightViewProjection = render::cameraViewProjection(render::lightCamera());
  for (int i = 0; i < kSixthRibbons; ++i) {
    const D3DXMATRIX world = sixthRibbonWorld(i, tau);
    effect.matrix("matWorldViewProjection", world * viewProjection)
        .matrix("matLightViewProjection", world * lightViewProjection);
    effect.commit();
    stage.planeGrids[static_cast<std::size_t>(i)].draw(device);
  }
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

void sixthScene(timeline::MainStage& stage, float u, float b) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s2 = timeline::spectrumTrack().band(2, b);

  // 1. Wrap the scene time, pick the cut, sample its path, set the light; rebuild the ribbons.
  const float uw = sixthWrappedTime(u);
  const int cut = sixthCutIndex(uw);
  const SixthCut& setup = kSixthCutSetups[static_cast<std::size_t>(cut)];
  assets::CameraPath& path = stage.vallyCameras[static_cast<std::size_t>(setup.cameraPath)];
  render::sampleCamera(path, sixthCameraTime(cut, uw));
  assets::Camera& camera = render::currentCamera();
  camera = path.camera;
  assets::Camera& light = render::lightCamera();
  light.eye = setup.lightEye;
  light.target = camera.target + setup.lightTargetOffset;
  light.fov = setup.lightFov;
  if (!setup.keepsPathFar) camera.farPlane = kCameraFar;
  const float r = sixthRibbonTime(cut, u, uw);
  rebuildRibbons(stage, r);
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = render::cameraViewProjection(camera);

  // 2. Shadow pass: the ribbons from the light.
  m.shadowTarget.begin();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kShadowClear, 1.0f, 0);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, false);
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  {
    CurrentEffect line(m.effects, "line");
    line.texture("tex0", m.textures.lookup("softshadowline"));
    line.begin(1);
    drawRibbons(stage, line, r);
    line.end();
  }
  m.shadowTarget.end();

  // 3. Depth pass: terrain and ribbons (placed at u', not r) from the camera.
  m.depthTarget.begin();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kDepthClear, 1.0f, 0);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  setAlphaBlend(device, false);
  {
    CurrentEffect depth(m.effects, "dof1");
    depth.matrix("matWorldViewProjection", viewProjection)
        .value("Focus", setup.focus)
        .value("Eksponent", kDepthExponent)
        .value("FallOff", kDepthFallOff);
    depth.begin(0);
    stage.vallyMesh.draw(device);
    drawRibbons(stage, depth, uw);
    depth.end();
  }
  m.depthTarget.end();

  // 4. The back buffer.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  setAlphaBlend(device, false);
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, true);

  // 5. Terrain.
  {
    CurrentEffect terrain(m.effects, "bakke1");
    terrain.matrix("matWorldViewProjection", viewProjection)
        .matrix("matLightViewProjection", render::cameraViewProjection(light))
        .matrix("matView", view)
        .texture("tex0", m.textures.lookup("diffuse5"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .texture("tex2", m.shadowTarget.texture.get())
        .texture("tex3", m.textures.lookup("normalv"))
        .value("alpha1", kTerrainLightGain * s2 + kTerrainLightFloor)
        .value("gamma", s2 + kTerrainGammaFloor)
        .vector("LightPosition", light.eye);
    terrain.begin(2);
    stage.vallyMesh.draw(device);
    terrain.end();
  }

  // 6. Ribbons.
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  setAlphaBlend(device, false);
  {
    CurrentEffect ribbons(m.effects, "line1");
    ribbons.matrix("matView", view)
        .value("alpha1", 1.0f)
        .texture("tex0", m.textures.lookup("linediffuse"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .vector("LightPosition", light.eye);
    ribbons.begin(1);
    drawRibbons(stage, ribbons, r);
    ribbons.end();
  }
  device->EndScene();

  // 7-8. Screen-pass states; the picture copied into half-size target B and blurred into A.
  blurBackBufferIntoHalfTargetA(device, kBlurRadius);

  // 9. Depth of field: the blurred picture mixed over the sharp one by depth.
  device->BeginScene();
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  {
    CurrentEffect mix(m.effects, "dof1");
    mix.matrix("matWorldViewProjection", render::screenProjection())
        .texture("tex2", m.halfTargetB.texture.get())
        .texture("tex0", m.halfTargetA.texture.get())
        .texture("tex1", m.depthTarget.texture.get());
    mix.begin(4);
    m.fullScreenQuad.draw(device);
    mix.end();
  }

  // 10. Frame overlay.
  drawScreenCard(device, "overlay02", 1.0f);

  // 11. White fade-in, beat flash and the overlay once more.
  const CardLayer layers[] = {
      {"white", sixthFadeOpacity(uw)},
      {"white", sixthFlashOpacity(b)},
      {"overlay02", 1.0f},
  };
  drawScreenCardSequence(device, layers);

  // 12. Present.
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
