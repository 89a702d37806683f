// Renderer of the credits: one credit card at a time stands tilted above the cave ground, casting
// its shadow through the shadow target, while camera and light glide along z with it; a fade from
// black, a white flash before each card change and the frame overlay. No state between frames.
#include "scenes/CreditsScene.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/Renderers.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/ShadowedGround.h"
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

void creditsScene(timeline::MainStage& stage, float sceneTime, float musicTime) {
  // 1. The card and its flash; camera and light.
  IDirect3DTexture9* card =
      timeline::manifest().textures.lookup(kCreditsCards[static_cast<std::size_t>(creditsCard(musicTime))]);
  placeCreditsCamera(render::currentCamera(), sceneTime);
  placeCreditsLight(render::lightCamera(), sceneTime);

  // 2. Shadow pass: the card, a little larger, seen from the light; 3. begin the scene; 4. the
  // cave ground under the spot light, with the card's shadow; 5. the card, darkening what lies
  // behind it.
  drawCardOverCave(stage, sceneView(), card, sceneTime, creditsCardWorld(sceneTime, kCreditsShadowScale),
                   creditsCardWorld(sceneTime, kCreditsCardScale), kGroundLight);

  // 6. Fade from black, the flash before the card change, the frame overlay; 7. end and present.
  drawScreenCardsAndPresent(
      render::device(),
      {{"black6", creditsBlackOpacity(sceneTime)}, {"white", creditsFlash(musicTime)}, kFrameOverlay});
}

}  // namespace scenes
