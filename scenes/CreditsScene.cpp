// Renderer of the credits: one credit card at a time stands tilted above the cave ground, casting
// its shadow through the shadow target, while camera and light glide along z with it; a fade from
// black, a white flash before each card change and the frame overlay. No state between frames.
#include "scenes/CreditsScene.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCardSequence.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"

namespace scenes {
namespace {

constexpr float kCardLimit = 4.6f;  // the card count is clamped to [0, 4.6] and truncated
constexpr float kGlide = 3.0f;      // units per second along z
constexpr float kCardStartZ = -30.0f;
constexpr float kCameraBack = 10.0f;  // the eye stays 10 units behind the card
constexpr float kCameraHeight = 30.0f;
constexpr float kCameraFov = 1.5707964f;
constexpr D3DXVECTOR3 kLightOffset{1.0f, 100.0f, 0.0f};
constexpr D3DXVECTOR3 kLightTargetOffset{0.0f, 20.0f, 0.0f};
constexpr float kLightFov = 1.0471976f;
constexpr float kCardHeight = 15.0f;
constexpr float kCardPitch = 1.2566371f;
constexpr float kFadeInRate = 0.5f;
constexpr float kGroundLight = 2.8f;

constexpr D3DCOLOR kShadowClear = 0x00FFFFFF;
constexpr D3DCOLOR kClearColour = 0x00000000;

}  // namespace

int creditsCard(float b) {
  float n = 0.0f;
  if (b > kCreditsCardTimes[0])
    n = static_cast<float>(
        std::count_if(kCreditsCardTimes.begin(), kCreditsCardTimes.end(), [b](float t) { return t < b; }));
  return static_cast<int>(std::trunc(std::clamp(n, 0.0f, kCardLimit)));
}

float creditsFlash(float b) {
  const float next = kCreditsCardTimes[static_cast<std::size_t>(creditsCard(b))];
  return std::clamp(1.0f - (next - b), 0.0f, 1.0f);
}

float creditsCardZ(float a) { return kGlide * a + kCardStartZ; }

void placeCreditsCamera(assets::Camera& camera, float a) {
  const float z = creditsCardZ(a);
  camera.eye = {0.0f, kCameraHeight, z - kCameraBack};
  camera.target = {0.0f, 0.0f, z};
  camera.fov = kCameraFov;
}

void placeCreditsLight(assets::Camera& light, float a) {
  const D3DXVECTOR3 along{0.0f, 0.0f, creditsCardZ(a)};
  light.eye = along + kLightOffset;
  light.target = along + kLightTargetOffset;
  light.fov = kLightFov;
}

D3DXMATRIX creditsCardWorld(float a, float scale) {
  return render::place(0.0f, kCardHeight, creditsCardZ(a), 0.0f, kCardPitch, 0.0f, scale);
}

float creditsBlackOpacity(float a) { return 1.0f - std::clamp(kFadeInRate * a, 0.0f, 1.0f); }

void creditsScene(timeline::MainStage& stage, float a, float b) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();

  // 1. The card and its flash; camera and light.
  IDirect3DTexture9* card = m.textures.lookup(kCreditsCards[static_cast<std::size_t>(creditsCard(b))]);
  const float flash = creditsFlash(b);
  assets::Camera& camera = render::currentCamera();
  placeCreditsCamera(camera, a);
  assets::Camera& light = render::lightCamera();
  placeCreditsLight(light, a);
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = view * render::cameraProjection(camera);
  const D3DXMATRIX lightViewProjection = render::cameraViewProjection(light);

  // 2. Shadow pass: the card, a little larger, seen from the light.
  m.shadowTarget.begin();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kShadowClear, 1.0f, 0);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, false);
  setAlphaBlend(device, false);
  {
    CurrentEffect organ(m.effects, "organ");
    organ.matrix("matProjection", creditsCardWorld(a, kCreditsShadowScale) * lightViewProjection)
        .texture("tex0", card)
        .value("pump", a);
    organ.begin(1);
    stage.smallGrid.draw(device);
    organ.end();
  }
  m.shadowTarget.end();

  // 3. Begin the scene.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  setCull(device, D3DCULL_CCW);
  setDepthTest(device, true);
  setAlphaBlend(device, false);

  // 4. The cave ground under the spot light, with the card's shadow.
  {
    CurrentEffect ground(m.effects, "bakke1");
    ground.matrix("matWorldViewProjection", viewProjection)
        .matrix("matLightViewProjection", lightViewProjection)
        .matrix("matView", view)
        .value("alpha1", kGroundLight)
        .texture("tex0", m.textures.lookup("cubediffuse4"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .texture("tex2", m.shadowTarget.texture.get())
        .texture("tex3", m.textures.lookup("normal1"))
        .vector("LightPosition", light.eye);
    ground.begin(2);
    stage.grotteMesh.draw(device);
    ground.end();
  }

  // 5. The card, darkening what lies behind it.
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  setAlphaBlend(device, true);
  setBlend(device, D3DBLENDOP_MIN, D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCCOLOR);
  {
    CurrentEffect organ(m.effects, "organ");
    organ.matrix("matProjection", creditsCardWorld(a, kCreditsCardScale) * viewProjection)
        .texture("tex0", card)
        .value("pump", a);
    organ.begin(1);
    stage.smallGrid.draw(device);
    organ.end();
  }

  // 6. Fade from black, the flash before the card change, the frame overlay.
  const CardLayer cards[] = {{"black6", creditsBlackOpacity(a)}, {"white", flash}, {"overlay02", 1.0f}};
  drawScreenCardSequence(device, cards);

  // 7. End the scene and present.
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace scenes
