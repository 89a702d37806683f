// Renderer of the seventh scene: two ground layers under a sky dome, forty picture cards orbiting
// high above, thirty smoke ribbons rising through the picture and a glowing swarm drifting up a
// funnel between the layers, then the frame overlay. No state of its own.
#include "scenes/SeventhScene.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/PictureCards.h"
#include "scenes/Renderers.h"
#include "scenes/Ribbons.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/SeededNoise.h"
#include "scenes/SkyDome.h"
#include "scenes/StateSetters.h"
#include "scenes/SwarmSprites.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr Aim kLight{{1.0f, 180.0f, 1.0f}, {0.1f, 1.0f, 0.0f}, 0.5235988f};

// Ribbon grids: noise period, amplitude, phase per second, length; the seeds of grids 0 and 1.
constexpr RibbonShape kRibbon{30.0f, 30.0f, 600.0f, 200};
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

// The card orbit turns a quarter turn further per card.
constexpr float kQuarterTurn = 1.5707964f;

// Swarm: rise speed, wrap height, spread from noise and with height, funnel centre.
constexpr float kSwarmRise = 10.0f;
constexpr float kSwarmWrap = 40.0f;
constexpr float kSwarmNoiseSpread = 0.4f;
constexpr float kSwarmHeightSpread = 0.02f;
constexpr float kSwarmCentreX = 7.6f;
constexpr float kSwarmCentreZ = 28.8f;
constexpr std::array<float, 2> kSwarmSize = {0.8f, 0.8f};

constexpr SkyDome kSky{"sky3", {0.0f, -50.0f, 0.0f}, 2.0f};
constexpr float kSkyGain = 2.0f;  // sky brightness 2 S2 + 0.3
constexpr float kSkyFloor = 0.3f;
constexpr float kGroundGain = 6.0f;  // ground light 6 S2 + 1
constexpr float kGroundFloor = 1.0f;
constexpr UINT kGroundPass = 3;

float noiseOf(int n, std::uint32_t factor = 1u) { return seededNoise(static_cast<std::uint32_t>(n), factor); }

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

// Both ground layers draw the same way: cull counter-clockwise, depth test on, blending off;
// "bakke1" pass 3, lit from the light camera and brightened by band 2. The back layer draws first,
// the front one last.
void drawGroundLayer(timeline::MainStage& stage, const char* layer, const SceneView& view, float s2) {
  setStates(render::device(), D3DCULL_CCW, true);
  assets::TextureStack& textures = timeline::manifest().textures;
  CurrentEffect ground(timeline::manifest().effects, "bakke1");
  ground.matrix("matWorldViewProjection", view.viewProjection)
      .matrix("matLightViewProjection", view.lightViewProjection)
      .value("alpha1", kGroundGain * s2 + kGroundFloor)
      .vector("LightPosition", view.lightEye)
      .texture("tex0", textures.lookup("diffusef"))
      .texture("tex1", textures.lookup("spotlight"))
      .texture("tex3", textures.lookup("normalf"));
  ground.begin(kGroundPass);
  if (assets::Mesh* mesh = stage.bakkeMeshes.lookup(layer)) mesh->draw(render::device());
  ground.end();
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
  const float w = kCardOrbit.rate * u;
  const float a = noiseOf(i);
  const float b = noiseOf(i, kCardOrbit.phaseSeed);
  const float turn = static_cast<float>(i) * kQuarterTurn;
  return {kCardOrbit.radius * std::sin(a * w + b + turn), kCardOrbit.height * (a + 1.0f),
          kCardOrbit.radius * std::cos(a * w + turn)};
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

void seventhScene(timeline::MainStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s2 = timeline::spectrumTrack().band(2, musicTime);

  // 1. Light, ribbon grids, camera and its far plane.
  aimCamera(render::lightCamera(), kLight);
  for (std::size_t g = 0; g < 2; ++g) shapeRibbon(stage.planeGrids[g], kRibbon, sceneTime, kRibbonSeeds[g]);
  const int pathIndex = seventhCameraPath(sceneTime, musicTime);
  assets::CameraPath& path =
      pathIndex == 0 ? stage.bakkeCamera : stage.bakkeCameras[static_cast<std::size_t>(pathIndex - 1)];
  followPath(path, seventhCameraTime(sceneTime)).farPlane = kCameraFar;
  const SceneView view = sceneView();

  // 2. The back buffer; 3. sky dome.
  beginBackBuffer(device);
  setStates(device, D3DCULL_CCW, false);
  drawSkyDome(stage.bakkeMeshes, kSky, kSkyGain * s2 + kSkyFloor, view.viewProjection);

  // 4. Picture cards (minimum blending).
  placePictureCards(stage, kSeventhCards, seventhCardCentre, sceneTime);
  drawPictureCards(stage, view.view, view.viewProjection);

  // 5. Back ground layer.
  drawGroundLayer(stage, "bakkebg", view, s2);

  // 6. Rising ribbons.
  setStates(device, D3DCULL_NONE, true, kAlphaOver);
  {
    CurrentEffect ribbons(m.effects, "line1");
    ribbons.matrix("matView", view.view)
        .value("ambient", 0.0f)
        .value("alpha", seventhRibbonFade(musicTime))
        .texture("tex0", m.textures.lookup("softshadowline"))
        .vector("LightPosition", view.lightEye);
    ribbons.begin(2);
    for (int i = 0; i < kRisingRibbons; ++i) {
      ribbons.matrix("matWorldViewProjection", seventhRibbonWorld(i, sceneTime) * view.viewProjection);
      ribbons.commit();
      stage.planeGrids[kDrawnRibbonGrid].draw(device);
    }
    ribbons.end();
  }

  // 7. Swarm (additive).
  driftSwarm(stage, sceneTime);
  drawSwarmSprites(stage, view, kSwarmSize, std::nullopt);

  // 8. Front ground layer.
  drawGroundLayer(stage, "bakkefg", view, s2);
  device->EndScene();

  // 9. Frame overlay, present.
  device->BeginScene();
  drawScreenCardsAndPresent(device, {kFrameOverlay});
}

}  // namespace scenes
