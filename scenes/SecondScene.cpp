// Renderer of the second scene: six noise ribbons rush over the cave ground under a sky dome,
// thrown back on every hit; they cast soft shadows through a shadow map, the picture gets a
// depth-of-field blur, and a flash follows every camera cut. Keeps no state between frames.
#include "scenes/SecondScene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geometry/LatticeNoise.h"
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
#include "scenes/SkyDome.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr RibbonShape kRibbon{30.0f, 15.0f, 560.0f, 200};
constexpr std::size_t kRibbonCount = kSecondSceneRibbonSeeds.size();

// Ribbon placement: counter steps per ribbon for y and x, the spread of x and y, the nearest z,
// the gap between ribbons and the flight speed after a hit.
constexpr std::uint32_t kRibbonYCounterStep = 634324234u;
constexpr std::uint32_t kRibbonXCounterStep = 6323453u;
constexpr float kRibbonXSpread = 3.0f;
constexpr float kRibbonHeight = 13.0f;
constexpr float kRibbonYSpread = 7.0f;
constexpr float kRibbonStartZ = 100.0f;
constexpr float kRibbonGapZ = 5.0f;
constexpr float kRibbonSpeed = 112.0f;
constexpr float kRibbonScale = 0.2f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kPi = 3.1415927f;

// The camera: five paths cycled by a count wrapped at 4.6; path time 1.9 a wrapped at 50.
constexpr Cycle kPathCycle{4.6f, 0.21739131f};
constexpr int kPathCount = 5;
constexpr float kPathRate = 1.9f;
constexpr Cycle kPathLength{50.0f, 0.02f};
constexpr float kCameraFar = 10000.0f;

constexpr Aim kLight{{1.0f, 80.0f, 70.0f}, {5.0f, 20.0f, 38.0f}, 0.8975979f};
constexpr SkyDome kSky{"sky1", {0.0f, 50.0f, 0.0f}, 2.0f};

// Depth of field: focus 60 units (depth is view distance / 200), exponent and fall-off.
constexpr DepthOfField kDepthOfField{0.3f, 1.1f, 7.0f};
constexpr float kBlur = 1.2f;
constexpr float kGroundLight = 2.0f;

// The flash: half its weight per second to the next cut, fading out after kSecondSceneFlashFadeStart;
// zoom 1 % per second.
constexpr float kFlashRate = 0.5f;
constexpr float kFlashZoomRate = 0.01f;

constexpr D3DCOLOR kShadowClear = 0x00ffffff;
constexpr D3DCOLOR kDepthClear = 0x00000000;

// Into the shadow target (cull none, depth test off, source alpha over): the ribbons' soft shapes
// ("line" pass 1 with "softshadowline") and the shadow mesh ("plain"), seen from the light.
void drawShadows(timeline::MainStage& stage, std::span<const PlacedRibbon> ribbons, const SceneView& view) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  TargetPass shadow(m.shadowTarget, kShadowClear);
  stampSoftShadows(ribbons, view, false);
  CurrentEffect plain(m.effects, "plain");
  plain.matrix("Matrix", view.lightViewProjection);
  plain.begin(0);
  stage.shadowMesh.draw(device);
  plain.end();
}

}  // namespace

CameraCut secondSceneCut(float a) {
  const auto passed = std::count_if(kSecondSceneCuts.begin(), kSecondSceneCuts.end(), [a](float t) { return t < a; });
  // Past the sentinel there is no next cut: stay on the last entry rather than read past the table.
  const int cut = static_cast<int>(std::min<std::ptrdiff_t>(passed, kSecondSceneCuts.size() - 1));
  return {cut, kSecondSceneCuts[cut] - a};
}

int secondScenePath(int cut) {
  const float g = wrapCycle(static_cast<float>(cut), kPathCycle);
  return std::clamp(static_cast<int>(std::trunc(g)), 0, kPathCount - 1);
}

float secondScenePathTime(float a) {
  return wrapCycle(kPathRate * a, kPathLength);
}

float secondSceneLastHit(float a) {
  float hit = 0.0f;
  for (float h : kSecondSceneHits)
    if (h < a) hit = h;
  return hit;
}

D3DXVECTOR3 secondSceneRibbonOffset(int ribbon, float a) {
  const auto i = static_cast<std::uint32_t>(ribbon);
  const auto d = static_cast<std::int32_t>(i * kRibbonYCounterStep);
  const auto o = static_cast<std::int32_t>(i * kRibbonXCounterStep);
  const float travelled = kRibbonSpeed * (a - secondSceneLastHit(a));
  return {kRibbonXSpread * static_cast<float>(geometry::LatticeNoise(o)),
          kRibbonHeight + kRibbonYSpread * static_cast<float>(geometry::LatticeNoise(d)),
          kRibbonStartZ - kRibbonGapZ * static_cast<float>(ribbon) - travelled};
}

CutFlash secondSceneFlash(float a) {
  float q = std::clamp(kFlashRate * secondSceneCut(a).untilNextCut, 0.0f, 1.0f);
  if (a > kSecondSceneFlashFadeStart) q = 1.0f - std::clamp(a - kSecondSceneFlashFadeStart, 0.0f, 1.0f);
  return {q, std::clamp(kFlashZoomRate * a, 0.0f, 1.0f)};
}

void secondScene(timeline::MainStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s0 = timeline::spectrumTrack().band(0, musicTime);

  // 1. Ribbons, light and camera.
  std::array<PlacedRibbon, kRibbonCount> ribbons;
  for (std::size_t i = 0; i < kRibbonCount; ++i) {
    shapeRibbon(stage.planeGrids[i], kRibbon, sceneTime, kSecondSceneRibbonSeeds[i]);
    const D3DXVECTOR3 offset = secondSceneRibbonOffset(static_cast<int>(i), sceneTime);
    ribbons[i] = {render::place(offset, {0.0f, kHalfPi, kPi}, kRibbonScale), &stage.planeGrids[i]};
  }
  aimCamera(render::lightCamera(), kLight);
  assets::CameraPath& path = stage.grotteCameras[secondScenePath(secondSceneCut(sceneTime).cut)];
  followPath(path, secondScenePathTime(sceneTime)).farPlane = kCameraFar;
  const SceneView view = sceneView();
  const CutFlash flash = secondSceneFlash(sceneTime);

  // 2. Shadow map: the ribbons' soft shapes and the shadow mesh, seen from the light.
  drawShadows(stage, ribbons, view);

  // 3. Depth: the view distance of the ground and the ribbons.
  {
    DepthPass depth(kDepthOfField, kDepthClear, view.viewProjection);
    stage.grotteMesh.draw(device);
    drawRibbons(depth.effect(), ribbons, view);
  }

  // 4. Begin the scene; the sky dome.
  beginBackBuffer(device);
  setStates(device, D3DCULL_CCW, false);
  drawSkyDome(stage.bakkeMeshes, kSky, 3.0f * s0 + 0.6f, view.viewProjection);

  // 5. The shadowed cave ground.
  drawCaveGround(stage, view, "diffuse1", kGroundLight);

  // 6. The spot-lit ribbons.
  setStates(device, D3DCULL_NONE, true);
  {
    CurrentEffect line(m.effects, "line1");
    line.matrix("matView", view.view)
        .value("alpha1", 1.0f)
        .value("ambient", 0.0f)
        .texture("tex0", m.textures.lookup("linediffuse"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .vector("LightPosition", view.lightEye);
    line.begin(1);
    drawRibbons(line, ribbons, view);
    line.end();
  }

  // 7-8. End the scene; screen-pass states; the picture copied into half-size target B and
  // blurred into A.
  device->EndScene();
  blurBackBufferIntoHalfTargetA(device, kBlur);

  // 9. Depth of field: the blurred picture over the sharp one, by distance from the focus.
  mixDepthOfField(device, MixBinding::sharpLast);

  // 10. The flash after the cut.
  setStates(device, D3DCULL_CW, false, kAlphaOver);
  {
    CurrentEffect burst(m.effects, "flashfx");
    burst.matrix("matProjection", render::screenProjection())
        .texture("tex0", m.textures.lookup("flash2"))
        .value("alpha", 2.0f * flash.weight)
        .value("scale", 1.0f - flash.zoom);
    burst.begin(0);
    m.fullScreenQuad.draw(device);
    burst.end();
  }

  // 11. Frame overlay; 12. end the scene and present.
  drawScreenCardsAndPresent(device, {kFrameOverlay});
}

}  // namespace scenes
