// Renderer of the eighth scene: a polished ground and its mirror image as the ceiling, eight
// columns of three spheres that climb, wrap and spin on the beat, seen through depth of field;
// camera cuts, beat flashes and the fade to black at the end. Keeps no state between frames.
#include "scenes/EighthScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/win32/Keyboard.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/DepthOfField.h"
#include "scenes/GlowSource.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/SeededNoise.h"
#include "scenes/ShotCycle.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"

namespace scenes {
namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kBeatRise = 5.0f;  // x grows 5 per second: the flash is gone after about 0.31 s
constexpr float kFadeStart = 218.0f;
constexpr float kFadeRate = 0.5f;

constexpr float kColumnHeightScale = 50.0f;
constexpr float kSphereSpacing = 20.0f;
constexpr float kSphereClimb = 10.0f;
constexpr Cycle kSphereWrap{70.0f, 0.014285714f};
constexpr float kSphereDrop = 10.0f;
constexpr float kSphereScale = 0.1f;
constexpr D3DXVECTOR2 kColumnOffset{4.0f, 8.0f};
constexpr float kMirrorHeight = 60.0f;

constexpr float kCameraFar = 10000.0f;
constexpr DepthOfField kDepthOfField{0.1f, 2.1f, 2.7f};
constexpr float kBlur = 1.8f;

constexpr D3DCOLOR kDepthClear = 0x00FFFFFF;
constexpr int kTimeKey = 0x43;  // held: print the scene time every frame

// The number of leading entries of an ascending table that lie (lead seconds early) before b.
template <std::size_t N>
int entriesTaken(const std::array<float, N>& table, float lead, float b) {
  int taken = 0;
  while (taken < static_cast<int>(N) && table[taken] - lead < b) ++taken;
  return taken;
}

// The sphere drawing routine, on the effect the caller made current and began: every sphere's
// world, world-view and world-view-projection, committed before its draw.
void drawSpheres(IDirect3DDevice9* device, const assets::Mesh* sphere, CurrentEffect& effect, const D3DXMATRIX& view,
                 const D3DXMATRIX& viewProjection, float s) {
  for (int i = 0; i < kSphereColumns; ++i) {
    for (int j = 0; j < kSpheresPerColumn; ++j) {
      const D3DXMATRIX world = sphereWorld(i, j, s);
      effect.matrix("matWorldViewProjection", world * viewProjection)
          .matrix("matWorldView", world * view)
          .matrix("matWorld", world);
      effect.commit();
      if (sphere) sphere->draw(device);
    }
  }
}

// The ground drawn with the pass's own matrices, then again through its mirror.
void drawGroundAndMirror(const assets::Mesh* ground, CurrentEffect& effect, const D3DXMATRIX& mirrorViewProjection) {
  IDirect3DDevice9* device = render::device();
  if (ground) ground->draw(device);
  effect.matrix("matWorldViewProjection", mirrorViewProjection).commit();
  if (ground) ground->draw(device);
}

}  // namespace

int eighthCameraPath(float b) {
  const int n = b <= -kEighthCutLead ? 0 : 1 + entriesTaken(kEighthSceneCuts, kEighthCutLead, b);
  return shotCyclePath(n);
}

BeatEnvelope eighthBeatEnvelope(float b) {
  const int taken = entriesTaken(kEighthSceneBeats, kEighthBeatLead, b);
  const int k = b <= -kEighthBeatLead ? 0 : 1 + taken;
  const float p = taken > 0 ? kEighthSceneBeats[taken - 1] : 0.0f;
  const float rise = std::sin(std::clamp(kBeatRise * (b - (p - kEighthBeatLead)), 0.0f, kHalfPi));
  return {1.0f - rise, b + 2.0f * static_cast<float>(k) + rise};
}

float eighthFadeToBlack(float b) {
  return b <= kFadeStart ? 0.0f : std::clamp(kFadeRate * (b - kFadeStart), 0.0f, 1.0f);
}

float sphereColumnHeight(int column) {
  return kColumnHeightScale * seededNoise(static_cast<std::uint32_t>(column));
}

float sphereHeight(int column, int sphere, float s) {
  const float y = kSphereSpacing * static_cast<float>(sphere) + kSphereClimb * s + sphereColumnHeight(column);
  return wrapCycle(y, kSphereWrap) - kSphereDrop;
}

D3DXMATRIX sphereWorld(int column, int sphere, float s) {
  const D3DXVECTOR2 anchor = kSphereAnchors[static_cast<std::size_t>(column)];
  const float spin = static_cast<float>(column + sphere) + s;
  return render::place(anchor.x + kColumnOffset.x, sphereHeight(column, sphere, s), anchor.y + kColumnOffset.y, spin,
                       spin, spin, kSphereScale);
}

D3DXMATRIX eighthMirrorWorld() { return render::place(0.0f, kMirrorHeight, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, -1.0f, 1.0f); }

void eighthScene(timeline::MainStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  if (GetAsyncKeyState(kTimeKey) & 0x8000) std::printf("time = %f\n", sceneTime);

  // 1. Cut and camera; beat envelope, sphere time and fade.
  assets::CameraPath& path = stage.endorfCameras[static_cast<std::size_t>(eighthCameraPath(musicTime))];
  followPath(path, sceneTime).farPlane = kCameraFar;
  const SceneView view = sceneView();
  const D3DXMATRIX mirror = eighthMirrorWorld();
  const BeatEnvelope beat = eighthBeatEnvelope(musicTime);
  const assets::Mesh* ground = stage.endorfMeshes.lookup("planedown");
  const assets::Mesh* sphere = stage.endorfMeshes.lookup("dorf");

  // 2. Depth pass: ground, mirror and spheres into the depth target.
  {
    DepthPass depth(kDepthOfField, kDepthClear, view.viewProjection);
    drawGroundAndMirror(ground, depth.effect(), mirror * view.viewProjection);
    drawSpheres(device, sphere, depth.effect(), view.view, view.viewProjection, beat.sphereTime);
  }

  // 3. Begin the scene; 4. the polished ground and its mirror image.
  beginBackBuffer(device);
  setStates(device, D3DCULL_NONE, true);
  {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    CurrentEffect floor(m.effects, "endorf");
    floor.matrix("matWorldViewProjection", view.viewProjection)
        .matrix("matWorldView", view.view)
        .matrix("matWorld", identity)
        .texture("tex0", m.textures.lookup("endorfdiffuse6"))
        .vector("CameraPosition", view.eye);
    floor.begin(0);
    drawGroundAndMirror(ground, floor, mirror * view.viewProjection);
    floor.end();
  }

  // 5. The spheres.
  setStates(device, D3DCULL_CCW, true);
  {
    CurrentEffect shiny(m.effects, "endorf");
    shiny.matrix("matWorldView", view.view)
        .texture("tex0", m.textures.lookup("dorf6"))
        .vector("CameraPosition", view.eye);
    shiny.begin(1);
    drawSpheres(device, sphere, shiny, view.view, view.viewProjection, beat.sphereTime);
    shiny.end();
  }
  device->EndScene();

  // 6-7. Screen-pass states; the picture copied into half-size target B and blurred into A.
  blurBackBufferIntoHalfTargetA(device, kBlur);

  // 8. Depth of field: the blurred picture over the sharp one, by distance from the focus.
  mixDepthOfField(device, MixBinding::sharpFirst);

  // 9. Fade to black, beat flash and frame overlay, one card over the other; 10. end and present.
  drawScreenCardsAndPresent(device, {{"black6", eighthFadeToBlack(musicTime)}, {"white", beat.flash}, kFrameOverlay});
}

}  // namespace scenes
