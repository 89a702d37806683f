// Renderer of the fourth scene: a 40 × 40 field of cubes lifted by a running history of spectrum
// band 1, under a sky dome, four ribbons above it casting soft shadows through a circling light,
// camera cuts on a beat table and a white flash on another. The history lives for the whole run.
#include "scenes/FourthScene.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "geometry/CubeGrid.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/OrganRibbons.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/SceneView.h"
#include "scenes/ShadowedGround.h"
#include "scenes/ScreenCards.h"
#include "scenes/SkyDome.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// Spectrum history: pushed at most once per 0.1 key positions (the band's keys run at 3 b).
constexpr float kKeyRate = 3.0f;
constexpr float kHistoryInterval = 0.1f;
constexpr float kHistoryPerBand = 60.0f;

// Box lift: a base height, the history row of the box, a sway along x.
constexpr float kLiftBase = 60.0f;
constexpr float kSwayHeight = 7.0f;
constexpr float kSwayPerX = 0.02f;
constexpr float kRowOffset = 200.0f;
constexpr float kRowFactor = 0.1f;
constexpr D3DXVECTOR3 kFieldShift{0.0f, 0.0f, -150.0f};

// Cameras: time 2 a wrapped past 50.
constexpr float kCameraRate = 2.0f;
constexpr Cycle kCameraLength{50.0f, 0.02f};

// The light circles at height 230 around (0, ·, −100), looking at the field's middle.
constexpr float kLightRadius = 50.0f;
constexpr float kLightHeight = 230.0f;
constexpr float kLightCentreZ = -100.0f;
constexpr D3DXVECTOR3 kLightTarget{0.0f, 100.0f, -100.0f};
constexpr float kLightFov = 1.2566371f;

constexpr float kRibbonPhaseRate = 200.0f;
constexpr float kRibbonScale = 0.3f;

constexpr SkyDome kSky{"sky4", {0.0f, 50.0f, 0.0f}, 1.5f};
constexpr float kSkyBrightnessPerBand = 3.0f;
constexpr float kSkyBrightness = 0.3f;

// The lifts of one frame, one per box; the largest field 16-bit indices allow.
std::array<float, geometry::kMaxBoxes> gLifts{};

// The key position of the last history push; 0 at start, never reset.
float gLastHistoryUpdate = 0.0f;

// The rest vertices of the cube field as the stage copied them at load.
std::span<const geometry::CubeVertex> restVertices(const timeline::OrganStage& stage) {
  return {reinterpret_cast<const geometry::CubeVertex*>(stage.cubeVertexCopy.data()),
          stage.cubeVertexCopy.size() / sizeof(geometry::CubeVertex)};
}

// Rewrites the cube field: every box lifted by its history row and sway, moved 150 toward −z.
void liftCubes(timeline::OrganStage& stage, float c) {
  const std::span<const geometry::CubeVertex> rest = restVertices(stage);
  const std::size_t boxes = std::min<std::size_t>(rest.size() / geometry::kBoxVertices, gLifts.size());
  const std::array<float, timeline::kSpectrumHistoryLength>& history = timeline::spectrumHistory();
  for (std::size_t box = 0; box < boxes; ++box) {
    const D3DXVECTOR3& centre = rest[box * geometry::kBoxVertices].binormal;
    gLifts[box] = fourthSceneBoxLift(history, centre.x, centre.z, c);
  }
  geometry::liftCubeGrid(stage.cubeGrid, rest, std::span<const float>(gLifts.data(), boxes), kFieldShift);
}


void drawSpotLitCubes(timeline::OrganStage& stage, const SceneView& view) {
  CurrentEffect kube(timeline::manifest().effects, "kube");
  setSpotLitCubeParameters(kube, view);
  kube.value("alpha1", 1.0f);
  kube.begin(2);
  stage.cubeGrid.draw(render::device());
  kube.end();
}

// The white flash at weight w added over the picture, then the frame overlay blended in the same
// pass: one "demo1text" bracket with the blending changed between the two quads.
void drawFlashAndOverlay(IDirect3DDevice9* device, float w) {
  timeline::Manifest& m = timeline::manifest();
  setStates(device, D3DCULL_CW, false, kAdditive);
  CurrentEffect text(m.effects, "demo1text");
  text.matrix("matProjection", render::screenProjection())
      .texture("tex0", m.textures.lookup("white"))
      .value("alpha1", w);
  text.begin(0);
  m.fullScreenQuad.draw(device);
  setBlend(device, kAlphaOver);
  text.texture("tex0", m.textures.lookup(kFrameOverlay.texture)).value("alpha1", kFrameOverlay.opacity).commit();
  m.fullScreenQuad.draw(device);
  text.end();
}

}  // namespace

bool pushSpectrumHistory(std::span<float> history, float& lastUpdate, float keyPosition, float newest) {
  if (history.empty() || !(keyPosition - lastUpdate > kHistoryInterval)) return false;
  std::copy_backward(history.begin(), history.end() - 1, history.end());
  history.front() = newest;
  lastUpdate = keyPosition;
  return true;
}

float fourthSceneBoxLift(std::span<const float> history, float px, float pz, float c) {
  if (history.empty()) return kLiftBase + kSwayHeight * std::sin(c + kSwayPerX * px);
  const float row = std::trunc((pz + kRowOffset) * kRowFactor);
  const float lastRow = static_cast<float>(history.size() - 1);
  // The clamp also sends a NaN centre to row 0 instead of indexing with it.
  const std::size_t k = row > 0.0f ? static_cast<std::size_t>(std::min(row, lastRow)) : 0;
  return kLiftBase + history[k] + kSwayHeight * std::sin(c + kSwayPerX * px);
}

int fourthSceneCamera(float a) {
  if (a <= 0.0f) return 0;
  const auto passed =
      std::count_if(kFourthSceneCuts.begin(), kFourthSceneCuts.end(), [a](float cut) { return cut < a; });
  return timeline::wrapBy3_6(1 + static_cast<int>(passed));
}

float fourthSceneCameraTime(float a) {
  return wrapCycle(kCameraRate * a, kCameraLength);
}

D3DXVECTOR3 fourthSceneLightEye(float a) {
  return {kLightRadius * std::sin(a), kLightHeight, kLightRadius * std::cos(a) + kLightCentreZ};
}

float fourthSceneFlash(float b) {
  const auto next =
      std::find_if(kFourthSceneFlashes.begin(), kFourthSceneFlashes.end(), [b](float beat) { return !(beat < b); });
  if (next == kFourthSceneFlashes.end()) return 1.0f;
  return std::clamp(*next - b, 0.0f, 1.0f);
}

void fourthScene(timeline::OrganStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const float s2 = spectrum.band(2, musicTime);

  // 1. Cube heights, camera, light and ribbons.
  const float c = kKeyRate * musicTime;
  const float newest = kHistoryPerBand * spectrum.band(1, musicTime);
  pushSpectrumHistory(timeline::spectrumHistory(), gLastHistoryUpdate, c, newest);
  liftCubes(stage, c);
  const std::array<assets::CameraPath*, 4> paths = {&stage.r4Camera09, &stage.r4Camera10, &stage.r3Camera06,
                                                    &stage.r4Camera12};
  followPath(*paths[static_cast<std::size_t>(fourthSceneCamera(sceneTime))], fourthSceneCameraTime(sceneTime));
  aimCamera(render::lightCamera(), {fourthSceneLightEye(sceneTime), kLightTarget, kLightFov});
  rebuildOrganRibbons(stage, kRibbonPhaseRate * musicTime);
  const float w = fourthSceneFlash(musicTime);
  const SceneView view = sceneView();

  // 2, 3. Shadow pass: the ribbons' soft shapes seen from the light.
  drawOrganRibbonShadows(stage, view.lightViewProjection);

  // 4. Begin the scene; 5. sky, brightened by band 2.
  beginBackBuffer(device);
  setStates(device, D3DCULL_CCW, false);
  if (stage.organMeshes.lookup("hemi"))
    drawSkyDome(stage.organMeshes, kSky, kSkyBrightnessPerBand * s2 + kSkyBrightness, view.viewProjection);

  // 6. Cubes under the spot light and the ribbons' shadow.
  setStates(device, D3DCULL_CCW, true);
  drawSpotLitCubes(stage, view);

  // 7. The lit ribbons, smaller than the shadows they cast.
  drawLitOrganRibbons(stage, view.view, view.viewProjection, view.lightEye, kRibbonScale);

  // 8, 9. White flash, added, then the frame overlay in the same pass; 10. end the scene and present.
  drawFlashAndOverlay(device, w);
  present(device);
}

}  // namespace scenes
