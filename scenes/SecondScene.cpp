// Renderer of the second scene: six noise ribbons rush over the cave ground under a sky dome,
// thrown back on every hit; they cast soft shadows through a shadow map, the picture gets a
// depth-of-field blur, and a flash follows every camera cut. Keeps no state between frames.
#include "scenes/SecondScene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geometry/LatticeNoise.h"
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

constexpr float kRibbonPeriod = 30.0f;
constexpr float kRibbonAmplitude = 15.0f;
constexpr float kRibbonPhaseRate = 560.0f;
constexpr int kRibbonLength = 200;
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
constexpr float kPathCycle = 4.6f;
constexpr float kPathCycleFactor = 0.21739131f;
constexpr int kPathCount = 5;
constexpr float kPathRate = 1.9f;
constexpr float kPathLength = 50.0f;
constexpr float kPathLengthFactor = 0.02f;
constexpr float kCameraFar = 10000.0f;

constexpr D3DXVECTOR3 kLightEye{1.0f, 80.0f, 70.0f};
constexpr D3DXVECTOR3 kLightTarget{5.0f, 20.0f, 38.0f};
constexpr float kLightFov = 0.8975979f;

constexpr float kSkyScale = 2.0f;
constexpr D3DXVECTOR3 kSkyPosition{0.0f, 50.0f, 0.0f};

// Depth of field: focus 60 units (depth is view distance / 200), fall-off and exponent.
constexpr float kFocus = 0.3f;
constexpr float kEksponent = 1.1f;
constexpr float kFallOff = 7.0f;
constexpr float kBlur = 1.2f;
constexpr float kGroundLight = 2.0f;

// The flash: half its weight per second to the next cut, fading out after kSecondSceneFlashFadeStart;
// zoom 1 % per second.
constexpr float kFlashRate = 0.5f;
constexpr float kFlashZoomRate = 0.01f;

constexpr D3DCOLOR kShadowClear = 0x00ffffff;
constexpr D3DCOLOR kClearColour = 0x00000000;

using RibbonWorlds = std::array<D3DXMATRIX, kRibbonCount>;

// The ribbon drawing routine: each ribbon placed by its world matrix, through the camera and the
// light, with the effect the caller made current and began.
void drawRibbons(IDirect3DDevice9* device, timeline::MainStage& stage, CurrentEffect& effect,
                 const RibbonWorlds& worlds, const D3DXMATRIX& viewProjection,
                 const D3DXMATRIX& lightViewProjection) {
  for (std::size_t i = 0; i < kRibbonCount; ++i) {
    effect.matrix("matWorldViewProjection", worlds[i] * viewProjection)
        .matrix("matLightViewProjection", worlds[i] * lightViewProjection);
    effect.commit();
    stage.planeGrids[i].draw(device);
  }
}

}  // namespace

CameraCut secondSceneCut(float a) {
  const auto passed = std::count_if(kSecondSceneCuts.begin(), kSecondSceneCuts.end(), [a](float t) { return t < a; });
  // Past the sentinel there is no next cut: stay on the last entry rather than read past the table.
  const int cut = static_cast<int>(std::min<std::ptrdiff_t>(passed, kSecondSceneCuts.size() - 1));
  return {cut, kSecondSceneCuts[cut] - a};
}

int secondScenePath(int cut) {
  float g = static_cast<float>(cut);
  if (g > kPathCycle) g = g - std::trunc(g * kPathCycleFactor) * kPathCycle;
  return std::clamp(static_cast<int>(std::trunc(g)), 0, kPathCount - 1);
}

float secondScenePathTime(float a) {
  float t = kPathRate * a;
  if (t > kPathLength) t = t - std::trunc(t * kPathLengthFactor) * kPathLength;
  return t;
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

void secondScene(timeline::MainStage& stage, float a, float b) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s0 = timeline::spectrumTrack().band(0, b);

  // 1. Ribbons, light and camera.
  RibbonWorlds worlds;
  for (std::size_t i = 0; i < kRibbonCount; ++i) {
    geometry::NoiseRibbon(stage.planeGrids[i], kRibbonPeriod, kRibbonAmplitude, kRibbonPhaseRate * a, kRibbonLength,
                          kSecondSceneRibbonSeeds[i]);
    worlds[i] = render::place(secondSceneRibbonOffset(static_cast<int>(i), a), {0.0f, kHalfPi, kPi}, kRibbonScale);
  }
  assets::Camera& light = render::lightCamera();
  light.eye = kLightEye;
  light.target = kLightTarget;
  light.fov = kLightFov;
  const CameraCut cut = secondSceneCut(a);
  assets::CameraPath& path = stage.grotteCameras[secondScenePath(cut.cut)];
  render::sampleCamera(path, secondScenePathTime(a));
  assets::Camera& camera = render::currentCamera();
  camera = path.camera;
  camera.farPlane = kCameraFar;
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = view * render::cameraProjection(camera);
  const D3DXMATRIX lightViewProjection = render::cameraViewProjection(light);
  const D3DXMATRIX screen = render::screenProjection();
  const CutFlash flash = secondSceneFlash(a);

  // 2. Shadow map: the ribbons' soft shapes and the shadow mesh, seen from the light.
  m.shadowTarget.begin();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kShadowClear, 1.0f, 0);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  {
    CurrentEffect line(m.effects, "line");
    line.texture("tex0", m.textures.lookup("softshadowline"));
    line.begin(1);
    drawRibbons(device, stage, line, worlds, viewProjection, lightViewProjection);
    line.end();
  }
  {
    CurrentEffect plain(m.effects, "plain");
    plain.matrix("Matrix", lightViewProjection);
    plain.begin(0);
    stage.shadowMesh.draw(device);
    plain.end();
  }
  m.shadowTarget.end();

  // 3. Depth: the view distance of the ground and the ribbons.
  m.depthTarget.begin();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  {
    CurrentEffect dof(m.effects, "dof1");
    dof.matrix("matWorldViewProjection", viewProjection)
        .value("Focus", kFocus)
        .value("Eksponent", kEksponent)
        .value("FallOff", kFallOff);
    dof.begin(0);
    stage.grotteMesh.draw(device);
    drawRibbons(device, stage, dof, worlds, viewProjection, lightViewProjection);
    dof.end();
  }
  m.depthTarget.end();

  // 4. Begin the scene; the sky dome.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  {
    CurrentEffect sky(m.effects, "demo1text");
    sky.matrix("matProjection", render::place(kSkyPosition, {0.0f, 0.0f, 0.0f}, kSkyScale) * viewProjection)
        .texture("tex0", m.textures.lookup("sky1"))
        .value("alpha1", 3.0f * s0 + 0.6f);
    sky.begin(0);
    if (assets::Mesh* hemi = stage.bakkeMeshes.lookup("hemi")) hemi->draw(device);
    sky.end();
  }

  // 5. The shadowed cave ground.
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  {
    CurrentEffect ground(m.effects, "bakke1");
    ground.matrix("matWorldViewProjection", viewProjection)
        .matrix("matLightViewProjection", lightViewProjection)
        .matrix("matView", view)
        .value("alpha1", kGroundLight)
        .texture("tex0", m.textures.lookup("diffuse1"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .texture("tex2", m.shadowTarget.texture.get())
        .texture("tex3", m.textures.lookup("normal1"))
        .vector("LightPosition", light.eye);
    ground.begin(2);
    stage.grotteMesh.draw(device);
    ground.end();
  }

  // 6. The spot-lit ribbons.
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  {
    CurrentEffect line(m.effects, "line1");
    line.matrix("matView", view)
        .value("alpha1", 1.0f)
        .value("ambient", 0.0f)
        .texture("tex0", m.textures.lookup("linediffuse"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .vector("LightPosition", light.eye);
    line.begin(1);
    drawRibbons(device, stage, line, worlds, viewProjection, lightViewProjection);
    line.end();
  }

  // 7-8. End the scene; screen-pass states; the picture copied into half-size target B and
  // blurred into A.
  device->EndScene();
  blurBackBufferIntoHalfTargetA(device, kBlur);

  // 9. Depth of field: the blurred picture over the sharp one, by distance from the focus.
  device->BeginScene();
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  {
    CurrentEffect dof(m.effects, "dof1");
    dof.matrix("matWorldViewProjection", screen)
        .texture("tex0", m.halfTargetA.texture.get())
        .texture("tex1", m.depthTarget.texture.get())
        .texture("tex2", m.halfTargetB.texture.get());
    dof.begin(4);
    m.fullScreenQuad.draw(device);
    dof.end();
  }

  // 10. The flash after the cut.
  setOverlayStates(device);
  {
    CurrentEffect burst(m.effects, "flashfx");
    burst.matrix("matProjection", screen)
        .texture("tex0", m.textures.lookup("flash2"))
        .value("alpha", 2.0f * flash.weight)
        .value("scale", 1.0f - flash.zoom);
    burst.begin(0);
    m.fullScreenQuad.draw(device);
    burst.end();
  }

  // 11. Frame overlay; 12. end the scene and present.
  drawOverlayCardAndPresent(device);
}

}  // namespace scenes
