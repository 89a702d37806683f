// Renderer of the ninth scene: a stream of glowing particles drifting sideways on black, and four
// noise ribbons with a blurred warm glow behind them, seen from still views that cut on a table;
// ribbons and glow fade out towards each cut. Keeps no state between frames.
#include "scenes/NinthScene.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/LatticeNoise.h"
#include "geometry/NoiseRibbon.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCardSequence.h"
#include "scenes/ShotCycle.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kRibbonFadeRate = 0.3f;

// Ribbons: noise period, amplitude, phase per second, length and the seed step per ribbon.
constexpr float kRibbonPeriod = 40.0f;
constexpr float kRibbonAmplitude = 30.0f;
constexpr float kRibbonPhaseRate = 50.0f;
constexpr int kRibbonLength = 400;
constexpr std::int32_t kRibbonSeedStep = 453463;
constexpr float kQuarterTurn = 1.5707964f;

// The stream: seeds of x, y and z, spread, drift per second, the wrap and the shift back.
constexpr std::uint32_t kStreamSeedX = 73457u;
constexpr std::uint32_t kStreamSeedY = 973452u;
constexpr std::uint32_t kStreamSeedZ = 2345u;
constexpr float kStreamSpreadX = 200.0f;
constexpr float kStreamSpreadYZ = 100.0f;
constexpr float kStreamDrift = 10.0f;
constexpr float kStreamWrap = 400.0f;
constexpr float kStreamWrapFactor = 0.0025f;
constexpr float kStreamShift = 300.0f;

constexpr float kCameraFar = 10000.0f;
constexpr D3DXVECTOR3 kLightEye{0.0f, 200.0f, 0.0f};
constexpr D3DXVECTOR3 kLightTarget{0.0f, 0.0f, 0.0f};
constexpr float kLightFov = 1.5707964f;

constexpr float kFogStart = 0.0f;
constexpr float kFogEnd = 100.0f;
constexpr float kParticleSize[2] = {1.8f, 1.8f};
constexpr float kGlowBlur = 2.0f;
constexpr float kGlowBase = 1.5f;  // glow "alpha" = (S2 + 1.5) F

constexpr float kFadeInRate = 0.5f;
constexpr float kFadeOutStart = 251.45f;
constexpr float kFadeOutRate = 0.5f;

constexpr D3DCOLOR kClearColour = 0x00000000;

float noiseAt(std::uint32_t k, std::uint32_t seed) {
  return static_cast<float>(geometry::LatticeNoise(static_cast<std::int32_t>(k * seed)));
}

// Writes the centre of every selected particle; particles outside the selection keep theirs.
void placeStream(timeline::MainStage& stage, float a) {
  std::vector<D3DXVECTOR4>& positions = stage.swarmSprites.positions;
  const std::vector<std::uint32_t>& selected = stage.swarmSelection.indices;
  for (std::size_t k = 0; k < selected.size(); ++k) {
    if (selected[k] >= positions.size()) continue;
    const D3DXVECTOR3 c = streamCentre(static_cast<std::uint32_t>(k), a);
    D3DXVECTOR4& p = positions[selected[k]];
    p.x = c.x;
    p.y = c.y;
    p.z = c.z;
  }
}

}  // namespace

NinthCut ninthCut(float b) {
  int n = 0;
  if (b > kNinthSceneCuts[0])
    n = static_cast<int>(std::count_if(kNinthSceneCuts.begin(), kNinthSceneCuts.end(), [b](float t) { return t < b; }));
  // Past the closing entry there is no next cut: stay on the table.
  n = std::min(n, static_cast<int>(kNinthSceneCuts.size()) - 1);
  const float weight = std::clamp(kRibbonFadeRate * (kNinthSceneCuts[static_cast<std::size_t>(n)] - b), 0.0f, 1.0f);
  return {shotCyclePath(n), weight};
}

D3DXVECTOR3 streamCentre(std::uint32_t k, float a) {
  float x0 = kStreamSpreadX * (noiseAt(k, kStreamSeedX) + 1.0f) + kStreamDrift * a;
  if (x0 > kStreamWrap) x0 = x0 - kStreamWrap * std::trunc(x0 * kStreamWrapFactor);
  return {x0 - kStreamShift, kStreamSpreadYZ * noiseAt(k, kStreamSeedY), kStreamSpreadYZ * noiseAt(k, kStreamSeedZ)};
}

D3DXMATRIX ninthRibbonWorld() { return render::place(0.0f, 0.0f, 0.0f, 0.0f, kQuarterTurn, kQuarterTurn, 1.0f); }

float ninthBlackOpacity(float a, float b) {
  if (b > kFadeOutStart) return kFadeOutRate * (b - kFadeOutStart);
  return 1.0f - std::clamp(kFadeInRate * a, 0.0f, 1.0f);
}

void ninthScene(timeline::MainStage& stage, float a, float b) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();

  // 1. Ribbons; the cut's still view, far plane and the light.
  for (int i = 0; i < kNinthRibbons; ++i)
    geometry::NoiseRibbon(stage.planeGrids[static_cast<std::size_t>(i)], kRibbonPeriod, kRibbonAmplitude,
                          kRibbonPhaseRate * a, kRibbonLength, kRibbonSeedStep * i);
  const NinthCut cut = ninthCut(b);
  assets::CameraPath& path = stage.r7Cameras[static_cast<std::size_t>(cut.cameraPath)];
  render::sampleCamera(path, 0.0f);
  assets::Camera& camera = render::currentCamera();
  camera = path.camera;
  camera.farPlane = kCameraFar;
  assets::Camera& light = render::lightCamera();
  light.eye = kLightEye;
  light.target = kLightTarget;
  light.fov = kLightFov;
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = view * render::cameraProjection(camera);
  const D3DXMATRIX lightViewProjection = render::cameraViewProjection(light);
  const D3DXMATRIX ribbonWorld = ninthRibbonWorld();
  const D3DXMATRIX screen = render::screenProjection();
  const float s2 = timeline::spectrumTrack().band(2, b);

  // 2. Begin the scene.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, false);
  setAlphaBlend(device, false);

  // 3. The particle stream, added.
  placeStream(stage, a);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, false);
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_ADD, D3DBLEND_ONE, D3DBLEND_ONE);
  {
    CurrentEffect sparks(stage.stageEffects, "partikkel");
    sparks.texture("tex0", m.textures.lookup("remsef"))
        .matrix("matView", view)
        .vector("CameraPosition", camera.eye)
        .value("FogEnd", kFogEnd)
        .value("FogStart", kFogStart)
        .matrix("matViewProjection", viewProjection)
        .floats("ParticleSize", kParticleSize, 2);
    sparks.begin(3);
    stage.swarmSprites.upload();
    stage.swarmSprites.draw(device, 0, stage.swarmSprites.count);
    sparks.end();
  }
  device->EndScene();

  // 4. Glow source: the ribbons as flat shapes into half-size target A.
  m.halfTargetA.begin();
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kClearColour, 1.0f, 0);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, false);
  setAlphaBlend(device, false);
  {
    CurrentEffect plain(m.effects, "plain");
    plain.begin(0);
    for (int i = 0; i < kNinthRibbons; ++i) {
      plain.matrix("Matrix", ribbonWorld * viewProjection).commit();
      stage.planeGrids[static_cast<std::size_t>(i)].draw(device);
    }
    plain.end();
  }
  m.halfTargetA.end();

  // 5. The glow: target A blurred and added, with the music and the ribbon weight.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  setCull(device, D3DCULL_CW);
  setDepthTest(device, false);
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_ADD, D3DBLEND_ONE, D3DBLEND_ONE);
  {
    const auto ps = render::texelSize(m.halfTargetA);
    CurrentEffect glow(m.effects, "blur");
    glow.matrix("matProjection", screen)
        .texture("tex0", m.halfTargetA.texture.get())
        .floats("ps", ps.data(), 2)
        .value("blur", kGlowBlur)
        .value("alpha", (s2 + kGlowBase) * cut.ribbonWeight);
    glow.begin(1);
    m.fullScreenQuad.draw(device);
    glow.end();
  }

  // 6. The ribbons over everything.
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  {
    CurrentEffect band(m.effects, "line1");
    band.matrix("matView", view)
        .value("alpha", cut.ribbonWeight)
        .texture("tex0", m.textures.lookup("linediffuse"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .vector("LightPosition", light.eye);
    band.begin(2);
    for (int i = 0; i < kNinthRibbons; ++i) {
      band.matrix("matWorldViewProjection", ribbonWorld * viewProjection)
          .matrix("matLightViewProjection", ribbonWorld * lightViewProjection);
      band.commit();
      stage.planeGrids[static_cast<std::size_t>(i)].draw(device);
    }
    band.end();
  }

  // 7. Black fades and the frame overlay.
  const CardLayer cards[] = {{"black6", ninthBlackOpacity(a, b)}, {"overlay02", 1.0f}};
  drawScreenCardSequence(device, cards);

  // 8. End the scene and present.
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
