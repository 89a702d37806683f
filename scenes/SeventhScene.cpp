// Renderer of the seventh scene: two ground layers under a sky dome, forty picture cards orbiting
// high above, thirty smoke ribbons rising through the picture and a glowing swarm drifting up a
// funnel between the layers, then the frame overlay. No state of its own.
#include "scenes/SeventhScene.h"

#include <algorithm>
#include <cmath>

#include "geometry/LatticeNoise.h"
#include "geometry/NoiseRibbon.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/PictureCards.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCard.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr D3DXVECTOR3 kLightEye{1.0f, 180.0f, 1.0f};
constexpr D3DXVECTOR3 kLightTarget{0.1f, 1.0f, 0.0f};
constexpr float kLightFov = 0.5235988f;

// Ribbon grids: noise period, amplitude, phase per second, length and the seeds of grids 0 and 1.
constexpr float kRibbonPeriod = 30.0f;
constexpr float kRibbonAmplitude = 30.0f;
constexpr float kRibbonPhaseRate = 600.0f;
constexpr int kRibbonLength = 200;
constexpr std::int32_t kRibbonSeeds[2] = {35234, 4685234};
constexpr std::size_t kDrawnRibbonGrid = 1;

// Rising ribbons: spacing, speed, wrap, shift, scale, and the column's spread and centre.
constexpr float kRiseSpacing = 15.0f;
constexpr float kRiseSpeed = 120.0f;
constexpr float kRiseWrap = 500.0f;
constexpr float kRiseShift = 300.0f;
constexpr float kRiseScale = 0.2f;
constexpr float kRiseSpread = 5.0f;
constexpr float kRiseCentreX = 7.0f;
constexpr float kRiseCentreZ = 32.0f;
constexpr float kRibbonFadeStart = 154.8f;
constexpr float kRibbonFadeEnd = 156.8f;
constexpr float kRibbonFadeRate = 0.5f;

constexpr float kCameraRate = 2.0f;
constexpr float kPathLength = 50.0f;
constexpr float kCameraFar = 100000.0f;

// Card orbit: radius, height, angular rate, quarter turn per card, phase seed factor.
constexpr float kOrbitRadius = 1000.0f;
constexpr float kOrbitHeight = 500.0f;
constexpr float kOrbitRate = 0.1f;
constexpr float kQuarterTurn = 1.5707964f;
constexpr std::uint32_t kOrbitPhaseSeed = 5234u;

// Swarm: rise speed, wrap height, spread from noise and with height, funnel centre.
constexpr float kSwarmRise = 10.0f;
constexpr float kSwarmWrap = 40.0f;
constexpr float kSwarmNoiseSpread = 0.4f;
constexpr float kSwarmHeightSpread = 0.02f;
constexpr float kSwarmCentreX = 7.6f;
constexpr float kSwarmCentreZ = 28.8f;
constexpr float kSwarmSize[2] = {0.8f, 0.8f};

constexpr D3DCOLOR kClearColour = 0x00000000;
constexpr float kSkyScale = 2.0f;
constexpr D3DXVECTOR3 kSkyPosition{0.0f, -50.0f, 0.0f};
constexpr float kSkyGain = 2.0f;  // sky brightness 2 S2 + 0.3
constexpr float kSkyFloor = 0.3f;
constexpr float kGroundGain = 6.0f;  // ground light 6 S2 + 1
constexpr float kGroundFloor = 1.0f;
constexpr UINT kGroundPass = 3;

float noiseOf(int n, std::uint32_t factor = 1u) {
  return static_cast<float>(
      geometry::LatticeNoise(static_cast<std::int32_t>(static_cast<std::uint32_t>(n) * factor)));
}

void placeCards(timeline::MainStage& stage, float u) {
  auto& positions = stage.sprites40.positions;
  const int count = std::min(kSeventhCards, static_cast<int>(positions.size()));
  for (int i = 0; i < count; ++i) {
    const D3DXVECTOR3 c = seventhCardCentre(i, u);
    D3DXVECTOR4& p = positions[static_cast<std::size_t>(i)];
    p = {c.x, c.y, c.z, p.w};
  }
}

// Moves every selected swarm particle; particles outside the selection keep their centres.
void driftSwarm(timeline::MainStage& stage, float u) {
  const timeline::SpriteSelection& selection = stage.swarmSelection;
  auto& positions = stage.swarmSprites.positions;
  const std::size_t entries = std::min(selection.indices.size(), selection.records.size());
  for (std::size_t k = 0; k < entries; ++k) {
    const std::uint32_t index = selection.indices[k];
    if (index >= positions.size()) continue;
    const D3DXVECTOR3 c = seventhSwarmCentre(static_cast<std::uint32_t>(k), selection.records[k], u);
    D3DXVECTOR4& p = positions[index];
    p = {c.x, c.y, c.z, p.w};
  }
}

// Both ground layers share their parameters; the back layer draws first, the front one last.
void setGroundParameters(CurrentEffect& ground, const D3DXMATRIX& viewProjection, const assets::Camera& light,
                         float s2) {
  assets::TextureStack& textures = timeline::manifest().textures;
  ground.matrix("matWorldViewProjection", viewProjection)
      .matrix("matLightViewProjection", render::cameraViewProjection(light))
      .value("alpha1", kGroundGain * s2 + kGroundFloor)
      .vector("LightPosition", light.eye)
      .texture("tex0", textures.lookup("diffusef"))
      .texture("tex1", textures.lookup("spotlight"))
      .texture("tex3", textures.lookup("normalf"));
}

}  // namespace

int seventhCameraIndex(float u) {
  if (u <= 0.0f) return 0;
  const auto below = std::count_if(kSeventhSceneCuts.begin(), kSeventhSceneCuts.end(), [u](float t) { return t < u; });
  return timeline::wrapBy3_6(1 + static_cast<int>(below));
}

int seventhCameraPath(float u, float b) { return b > kSeventhHoldTime ? 0 : seventhCameraIndex(u); }

float seventhCameraTime(float u) { return wrapPast(kCameraRate * u, kPathLength); }

D3DXVECTOR3 seventhCardCentre(int i, float u) {
  const float w = kOrbitRate * u;
  const float a = noiseOf(i);
  const float b = noiseOf(i, kOrbitPhaseSeed);
  const float turn = static_cast<float>(i) * kQuarterTurn;
  return {kOrbitRadius * std::sin(a * w + b + turn), kOrbitHeight * (a + 1.0f), kOrbitRadius * std::cos(a * w + turn)};
}

D3DXVECTOR3 seventhSwarmCentre(std::uint32_t k, const D3DXVECTOR4& rest, float u) {
  const float v = wrapPast(kSwarmRise * u + rest.y, kSwarmWrap);
  const float s = kSwarmNoiseSpread * noiseOf(static_cast<int>(k)) + kSwarmHeightSpread * v;
  return {s * rest.x + kSwarmCentreX, v, s * rest.z + kSwarmCentreZ};
}

float seventhRibbonRise(int i, float u) {
  return wrapPast(kRiseSpacing * static_cast<float>(i) + kRiseSpeed * u, kRiseWrap);
}

D3DXMATRIX seventhRibbonWorld(int i, float u) {
  const float a = noiseOf(i);
  return render::place(kRiseSpread * a + kRiseCentreX, seventhRibbonRise(i, u) - kRiseShift,
                       kRiseSpread * a + kRiseCentreZ, static_cast<float>(i), 0.0f, 0.0f, kRiseScale);
}

float seventhRibbonFade(float b) {
  if (b <= kRibbonFadeStart) return 1.0f;
  return std::clamp(kRibbonFadeRate * (kRibbonFadeEnd - b), 0.0f, 1.0f);
}

void seventhScene(timeline::MainStage& stage, float u, float b) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s2 = timeline::spectrumTrack().band(2, b);

  // 1. Light, ribbon grids, camera and its far plane.
  assets::Camera& light = render::lightCamera();
  light.eye = kLightEye;
  light.target = kLightTarget;
  light.fov = kLightFov;
  for (std::size_t g = 0; g < 2; ++g)
    geometry::NoiseRibbon(stage.planeGrids[g], kRibbonPeriod, kRibbonAmplitude, kRibbonPhaseRate * u, kRibbonLength,
                          kRibbonSeeds[g]);
  const int pathIndex = seventhCameraPath(u, b);
  assets::CameraPath& path =
      pathIndex == 0 ? stage.bakkeCamera : stage.bakkeCameras[static_cast<std::size_t>(pathIndex - 1)];
  render::sampleCamera(path, seventhCameraTime(u));
  assets::Camera& camera = render::currentCamera();
  camera = path.camera;
  camera.farPlane = kCameraFar;
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = render::cameraViewProjection(camera);

  // 2. The back buffer.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, false);
  setAlphaBlend(device, false);

  // 3. Sky dome.
  {
    CurrentEffect sky(m.effects, "demo1text");
    sky.matrix("matProjection", render::place(kSkyPosition, {0.0f, 0.0f, 0.0f}, kSkyScale) * viewProjection)
        .texture("tex0", m.textures.lookup("sky3"))
        .value("alpha1", kSkyGain * s2 + kSkyFloor);
    sky.begin(0);
    if (assets::Mesh* hemi = stage.bakkeMeshes.lookup("hemi")) hemi->draw(device);
    sky.end();
  }

  // 4. Picture cards (minimum blending).
  placeCards(stage, u);
  drawPictureCards(stage, view, viewProjection);

  // 5. Back ground layer.
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, true);
  setAlphaBlend(device, false);
  {
    CurrentEffect ground(m.effects, "bakke1");
    setGroundParameters(ground, viewProjection, light, s2);
    ground.begin(kGroundPass);
    if (assets::Mesh* back = stage.bakkeMeshes.lookup("bakkebg")) back->draw(device);
    ground.end();
  }

  // 6. Rising ribbons.
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  {
    CurrentEffect ribbons(m.effects, "line1");
    ribbons.matrix("matView", view)
        .value("ambient", 0.0f)
        .value("alpha", seventhRibbonFade(b))
        .texture("tex0", m.textures.lookup("softshadowline"))
        .vector("LightPosition", light.eye);
    ribbons.begin(2);
    for (int i = 0; i < kRisingRibbons; ++i) {
      ribbons.matrix("matWorldViewProjection", seventhRibbonWorld(i, u) * viewProjection);
      ribbons.commit();
      stage.planeGrids[kDrawnRibbonGrid].draw(device);
    }
    ribbons.end();
  }

  // 7. Swarm (additive).
  driftSwarm(stage, u);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, false);
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_ADD, D3DBLEND_ONE, D3DBLEND_ONE);
  {
    CurrentEffect swarm(stage.stageEffects, "partikkel");
    swarm.texture("tex0", m.textures.lookup("remsef"))
        .matrix("matView", view)
        .matrix("matViewProjection", viewProjection)
        .floats("ParticleSize", kSwarmSize, 2);
    swarm.begin(0);
    stage.swarmSprites.upload();
    stage.swarmSprites.draw(device, 0, stage.swarmSprites.count);
    swarm.end();
  }

  // 8. Front ground layer.
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, true);
  setAlphaBlend(device, false);
  {
    CurrentEffect ground(m.effects, "bakke1");
    setGroundParameters(ground, viewProjection, light, s2);
    ground.begin(kGroundPass);
    if (assets::Mesh* front = stage.bakkeMeshes.lookup("bakkefg")) front->draw(device);
    ground.end();
  }
  device->EndScene();

  // 9. Frame overlay, present.
  device->BeginScene();
  drawOverlayCardAndPresent(device);
}

}  // namespace scenes
