// Renderer of the third scene: a dusk ground with the ribbons' soft shadows under a sky dome, six
// organ cards circling above it, four ribbons, the face card, and a wave distortion pulsing on two
// trigger tables. Its two pulse generators live for the whole run; everything else follows from a, b.
#include "scenes/ThirdScene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/win32/Keyboard.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/OrganRibbons.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/SkyDome.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kPulseRateA = 4.712389f;
constexpr float kPulseRateB = 2.984513f;
constexpr float kPi = 3.1415927f;

// The key that prints the scene and music times while held (virtual-key code 67, 'C').
constexpr int kDebugPrintKey = 67;
constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);

// Camera paths: time 1.4 a wrapped past 40; far plane forced out past the sky dome.
constexpr float kPathRate = 1.4f;
constexpr Cycle kPathLength{40.0f, 0.025f};
constexpr float kCameraFar = 100000.0f;

constexpr Aim kLight{{100.0f, 300.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, 1.0471976f};

constexpr float kRibbonPhaseRate = 300.0f;
constexpr float kRibbonScale = 0.5f;
constexpr float kMeshRate = 1.55f;

// Ground: the earth texture streams with 0.01 of the ribbon phase; its base colour matches the
// sky's horizon.
constexpr float kMovementRate = 0.01f;
constexpr std::array<float, 4> kGroundBaseColor = {0.6039216f, 0.254902f, 0.07058824f, 0.0f};

constexpr SkyDome kSky{"sky3", {0.0f, 50.0f, 0.0f}, 1.5f};
constexpr float kSkyBrightnessPerBand = 3.0f;
constexpr float kSkyBrightness = 0.8f;

// Distortion: waves between kThirdSceneWavesFrom and kThirdSceneWavesUntil, ring pulses outside.
constexpr float kWaveAmplitude = 0.05f;
constexpr float kWaveFrequencyPerBand = 5000.0f;

// The six organ cards and their pictures, drawn in this order.
struct OrganCard {
  const char* mesh;
  const char* texture;
};
constexpr std::array<OrganCard, 6> kOrganCards = {{{"organ1", "organ13"},
                                                   {"organ2", "organ23"},
                                                   {"organ3", "organ33"},
                                                   {"organ4", "organ43"},
                                                   {"organ5", "organ53"},
                                                   {"organ6", "organ63"}}};

// The organ drawing routine: the six cards placed by their own tracks at mesh time r, blended over
// what is drawn, without depth.
void drawOrganCards(timeline::OrganStage& stage, const D3DXMATRIX& viewProjection, float r) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  setStates(device, D3DCULL_NONE, false, kAlphaOver);
  CurrentEffect organ(m.effects, "organ");
  organ.begin(0);
  for (const OrganCard& card : kOrganCards) {
    assets::Mesh* mesh = stage.organMeshes.lookup(card.mesh);
    if (!mesh) continue;
    organ.texture("tex0", m.textures.lookup(card.texture))
        .matrix("matProjection", render::meshWorld(*mesh, r) * viewProjection)
        .commit();
    mesh->draw(device);
  }
  organ.end();
}


// The ground streaming with the ribbons' phase, darkened by the shadow map.
void drawDuskGround(const assets::Mesh& ground, const SceneView& view, float a, float b) {
  timeline::Manifest& m = timeline::manifest();
  const float movement[2] = {kMovementRate * (kRibbonPhaseRate * b), 0.0f};
  CurrentEffect bakke(m.effects, "bakke3");
  bakke.matrix("matWorldViewProjection", render::meshWorld(ground, a) * view.viewProjection)
      .matrix("matLightViewProjection", view.lightViewProjection)
      .texture("tex0", m.textures.lookup("bakke3"))
      .texture("tex1", m.textures.lookup("cover3"))
      .texture("tex2", m.shadowTarget.texture.get())
      .value("alpha1", 1.0f)
      .floats("movement", movement, 2)
      .floats("baseColor", kGroundBaseColor.data(), 4);
  bakke.begin(0);
  ground.draw(render::device());
  bakke.end();
}

// The face card at mesh time r, blended over the picture; its states are set inside the pass.
void drawFaceCard(const assets::Mesh& face, const D3DXMATRIX& viewProjection, float r) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  CurrentEffect organ(m.effects, "organ");
  organ.begin(0);
  setStates(device, D3DCULL_CCW, true, kAlphaOver);
  organ.matrix("matProjection", render::meshWorld(face, r) * viewProjection)
      .texture("tex0", m.textures.lookup("face3"))
      .value("alpha1", 1.0f)
      .commit();
  face.draw(device);
  organ.end();
}

}  // namespace

float PulseGenerator::update(float a) {
  if (next_ < triggers_.size() && triggers_[next_] < a) {
    trigger_ = a;
    while (next_ < triggers_.size() && triggers_[next_] < a) ++next_;
  }
  return std::clamp(rate_ * (a - trigger_), 0.0f, kPi);
}

PulseGenerator& thirdScenePulseA() {
  static PulseGenerator pulse(kThirdScenePulsesA, kPulseRateA);
  return pulse;
}

PulseGenerator& thirdScenePulseB() {
  static PulseGenerator pulse(kThirdScenePulsesB, kPulseRateB);
  return pulse;
}

int thirdScenePath(float a) {
  const auto passed = std::count_if(kThirdSceneCuts.begin(), kThirdSceneCuts.end(), [a](float cut) { return cut < a; });
  return timeline::wrapBy3_6(static_cast<int>(passed));
}

float thirdScenePathTime(float a) {
  return wrapCycle(kPathRate * a, kPathLength);
}

Distortion thirdSceneDistortion(float a, float u, float v, float s0) {
  if (a > kThirdSceneWavesFrom && a < kThirdSceneWavesUntil)
    return {1, a, kWaveAmplitude * std::sin(v), kWaveFrequencyPerBand * s0};
  return {0, u, 0.0f, 0.0f};
}

void thirdScene(timeline::OrganStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  const float s0 = timeline::spectrumTrack().band(0, musicTime);
  const float s2 = timeline::spectrumTrack().band(2, musicTime);

  // 1. Pulses, debug print, ribbons, camera and light.
  const float u = thirdScenePulseA().update(sceneTime);
  const float v = thirdScenePulseB().update(sceneTime);
  if (GetAsyncKeyState(kDebugPrintKey) & kKeyDown) std::printf("time = %f - rtime = %f\n", sceneTime, musicTime);
  rebuildOrganRibbons(stage, kRibbonPhaseRate * musicTime);
  assets::CameraPath& path = stage.organCameras[static_cast<std::size_t>(thirdScenePath(sceneTime))];
  followPath(path, thirdScenePathTime(sceneTime)).farPlane = kCameraFar;
  aimCamera(render::lightCamera(), kLight);
  const SceneView view = sceneView();
  const float r = kMeshRate * sceneTime;

  // 2. Shadow map: the ribbons' soft shapes seen from the light.
  drawOrganRibbonShadows(stage, view.lightViewProjection);

  // 3. Begin the scene; 4. the ground, darkened by the shadow map.
  beginBackBuffer(device);
  setStates(device, D3DCULL_CCW, true);
  if (assets::Mesh* ground = stage.organMeshes.lookup("plane01")) drawDuskGround(*ground, view, sceneTime, musicTime);

  // 5. The sky dome, brightened by band 2.
  if (stage.organMeshes.lookup("hemi"))
    drawSkyDome(stage.organMeshes, kSky, kSkyBrightnessPerBand * s2 + kSkyBrightness, view.viewProjection);

  // 6. The organ cards.
  drawOrganCards(stage, view.viewProjection, r);

  // 7. The lit ribbons.
  drawLitOrganRibbons(stage, view.view, view.viewProjection, view.lightEye, kRibbonScale);

  // 8. The face card, last in the picture.
  if (assets::Mesh* face = stage.organMeshes.lookup("face")) drawFaceCard(*face, view.viewProjection, r);

  // 9. End the scene and copy the picture; 10. the copy drawn back through the distortion grid.
  device->EndScene();
  timeline::manifest().screenCopyTarget.grabBackBuffer();
  device->BeginScene();
  setStates(device, D3DCULL_CW, false);
  drawDistortedCopy(device, thirdSceneDistortion(sceneTime, u, v, s0));

  // 11. Frame overlay; 12. end the scene and present.
  drawScreenCardsAndPresent(device, {kFrameOverlay});
}

}  // namespace scenes
