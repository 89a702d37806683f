// Renderer of the fifth scene: a noise ground morphing between two meshes under a sky dome, a swarm
// of thirty ribbons casting soft shadows from a circling light, forty picture sprites far around,
// the fade from black, white beat flashes and the frame overlay. No state of its own.
#include <cmath>

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

constexpr float kCameraFar = 10000.0f;
constexpr float kTargetShake = 10.0f;  // the target moves 10 x S1 along every axis

constexpr float kLightHeight = 400.0f;
constexpr D3DXVECTOR3 kLightTarget{0.0f, 0.0f, 0.0f};
constexpr float kLightFov = 0.41887903f;

constexpr D3DCOLOR kShadowClear = 0xffffffff;
constexpr D3DCOLOR kClearColour = 0x00000000;

constexpr float kSkyScale = 2.0f;
constexpr D3DXVECTOR3 kSkyPosition{0.0f, -50.0f, 0.0f};
constexpr float kSkyGain = 2.0f;  // sky brightness 2 S0 + 0.6
constexpr float kSkyFloor = 0.6f;

constexpr float kGroundGammaFloor = 1.5f;  // bump strength S0 + 1.5
constexpr float kGroundLight = 1.7f;

// noiseMeshB = noiseMesh + t (noise2Mesh - noiseMesh), position and normal, from the buffers.
void morphGround(timeline::MainStage& stage, float t) {
  constexpr UINT kStride = kNoiseVertexFloats * sizeof(float);
  if (stage.noiseMesh.stride != kStride || stage.noise2Mesh.stride != kStride || stage.noiseMeshB.stride != kStride)
    return;
  const VertexLock a(stage.noiseMesh, D3DLOCK_READONLY);
  const VertexLock b(stage.noise2Mesh, D3DLOCK_READONLY);
  const VertexLock out(stage.noiseMeshB, 0);
  morphNoiseVertices(a.floats(), b.floats(), out.floats(), t);
}

}  // namespace

void fifthSceneA(timeline::MainStage& stage, float a, float b, int c) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const float s0 = spectrum.band(0, b);
  const float s1 = spectrum.band(1, b);
  const float s2 = spectrum.band(2, b);

  // 1. Ground morph, ribbons, camera, light, sprite positions.
  morphGround(stage, fifthMorphWeight(a, s2));
  rebuildSwarmRibbons(stage, b);
  sampleFifthCamera(stage, a, c);
  assets::Camera& camera = render::currentCamera();
  camera.farPlane = kCameraFar;
  camera.target += D3DXVECTOR3(kTargetShake * s1, kTargetShake * s1, kTargetShake * s1);
  assets::Camera& light = render::lightCamera();
  light.eye = fifthLightEye(a, kLightHeight);
  light.target = kLightTarget;
  light.fov = kLightFov;
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
        .texture("tex0", m.textures.lookup("sky3"))
        .value("alpha1", kSkyGain * s0 + kSkyFloor);
    sky.begin(0);
    if (assets::Mesh* hemi = stage.bakkeMeshes.lookup("hemi")) hemi->draw(device);
    sky.end();
  }

  // 5. Picture sprites (minimum blending).
  drawPictureCards(stage, view, viewProjection);

  // 6. Lit ribbons.
  drawLitSwarm(stage);

  // 7. Shadowed ground.
  setAlphaBlend(device, false);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  {
    CurrentEffect ground(m.effects, "bakke1");
    ground.matrix("matWorldViewProjection", viewProjection)
        .matrix("matLightViewProjection", render::cameraViewProjection(light))
        .matrix("matView", view)
        .texture("tex0", m.textures.lookup("diffuse5"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .texture("tex2", m.shadowTarget.texture.get())
        .texture("tex3", m.textures.lookup("normal5"))
        .value("gamma", s0 + kGroundGammaFloor)
        .value("alpha1", kGroundLight)
        .vector("LightPosition", light.eye);
    ground.begin(2);
    stage.noiseMeshB.draw(device);
    ground.end();
  }

  // 8. Fade from black, beat flash, frame overlay.
  drawFifthCards(device, a, b);

  // 9. Present.
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
