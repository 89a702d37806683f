// Renderer of the fifth scene's alternate view: the same swarm, light, sprites and flashes as the
// normal view, seen from a camera pushed out and up, under another sky, over a field of cubes each
// lifted to the morphing ground's height at its place. No state of its own.
#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/FifthScene.h"
#include "scenes/PictureCards.h"
#include "scenes/Renderers.h"
#include "scenes/StateSetters.h"
#include "scenes/VertexLock.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kCameraFar = 100000.0f;
constexpr float kTargetShake = 10.0f;  // the target moves 10 x S1 along every axis

constexpr float kLightHeight = 500.0f;
constexpr D3DXVECTOR3 kLightTarget{1.0f, 1.0f, 1.0f};
constexpr float kLightFov = 0.48332196f;

constexpr D3DCOLOR kShadowClear = 0x00ffffff;
constexpr D3DCOLOR kClearColour = 0x00000000;

constexpr float kSkyScale = 1.5f;
constexpr D3DXVECTOR3 kSkyPosition{0.0f, -50.0f, 0.0f};
constexpr float kSkyBrightness = 1.0f;

constexpr float kCubeLightGain = 2.0f;  // cube light 2 S0 + 0.6
constexpr float kCubeLightFloor = 0.6f;
constexpr float kCubeScrollRate = 0.5f;  // "time" = 0.5 a

// Every cube of the stage's field lifted to the morphing ground's height under it.
void liftCubes(timeline::MainStage& stage, float x) {
  constexpr UINT kNoiseStride = kNoiseVertexFloats * sizeof(float);
  constexpr UINT kCubeStride = kCubeVertexFloats * sizeof(float);
  if (stage.noiseMesh.stride != kNoiseStride || stage.noise2Mesh.stride != kNoiseStride ||
      stage.cubeGrid.stride != kCubeStride)
    return;
  const VertexLock a(stage.noiseMesh, D3DLOCK_READONLY);
  const VertexLock b(stage.noise2Mesh, D3DLOCK_READONLY);
  const VertexLock cubes(stage.cubeGrid, 0);
  liftCubeVertices(cubes.floats(), a.floats(), b.floats(), x);
}

}  // namespace

void fifthSceneB(timeline::MainStage& stage, float a, float b, int c) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const float s0 = spectrum.band(0, b);
  const float s1 = spectrum.band(1, b);
  const float s2 = spectrum.band(2, b);

  // 1. Ribbons, camera (pushed out and up), light, cube lift, sprite positions.
  rebuildSwarmRibbons(stage, b);
  sampleFifthCamera(stage, a, c);
  assets::Camera& camera = render::currentCamera();
  camera.eye = pushedEye(camera.eye);
  camera.farPlane = kCameraFar;
  camera.target += D3DXVECTOR3(kTargetShake * s1, kTargetShake * s1, kTargetShake * s1);
  assets::Camera& light = render::lightCamera();
  light.eye = fifthLightEye(a, kLightHeight);
  light.target = kLightTarget;
  light.fov = kLightFov;
  liftCubes(stage, fifthMorphWeight(a, s2));
  placeFifthSprites(stage, a);
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = render::cameraViewProjection(camera);

  // 2. Shadow map of the swarm.
  drawSwarmShadow(stage, kShadowClear);

  // 3. The back buffer.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, false);
  setAlphaBlend(device, false);

  // 4. Sky dome.
  {
    CurrentEffect sky(m.effects, "demo1text");
    sky.matrix("matProjection", render::place(kSkyPosition, {0.0f, 0.0f, 0.0f}, kSkyScale) * viewProjection)
        .texture("tex0", m.textures.lookup("sky4"))
        .value("alpha1", kSkyBrightness);
    sky.begin(0);
    if (assets::Mesh* hemi = stage.bakkeMeshes.lookup("hemi")) hemi->draw(device);
    sky.end();
  }

  // 5. Picture sprites (minimum blending).
  drawPictureCards(stage, view, viewProjection);

  // 6. Lit ribbons.
  drawLitSwarm(stage);

  // 7. Cube field.
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, true);
  setAlphaBlend(device, false);
  {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    CurrentEffect cubes(m.effects, "kube5");
    cubes.matrix("matWorldViewProjection", viewProjection)
        .matrix("matLightViewProjection", render::cameraViewProjection(light))
        .matrix("matView", view)
        .matrix("matWorld", identity)
        .vector("LightPosition", light.eye)
        .texture("tex0", m.textures.lookup("spotlight"))
        .texture("tex1", m.textures.lookup("cubediffuse4"))
        .texture("tex2", m.shadowTarget.texture.get())
        .texture("tex3", m.textures.lookup("organ5f"))
        .value("time", kCubeScrollRate * a)
        .value("alpha1", kCubeLightGain * s0 + kCubeLightFloor);
    cubes.begin(0);
    stage.cubeGrid.draw(device);
    cubes.end();
  }

  // 8. Fade from black, beat flash, frame overlay.
  drawFifthCards(device, a, b);

  // 9. Present.
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
