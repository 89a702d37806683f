// Renderer of the opening scene's flash variant: a picture card seen from above, its shadow cast
// by a spot light onto the lit cave ground, the card itself darkening the picture by minimum
// blending, and the frame overlay. Keeps no state: the frame follows from the pump and music times.
#include "scenes/OpeningFlash.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/ShadowedGround.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// Picture cycle in tenths of a second: its length, and one over it as the cycle count factor.
constexpr float kPictureRate = 10.0f;
constexpr Cycle kPictureCycle{2.6f, 0.3846154f};

constexpr float kHalfPi = 1.5707964f;

// The camera looks down at the card from above and behind it (the eye half a turn round a small
// circle); the spot light stands over it.
constexpr float kPi = 3.1415927f;
constexpr float kEyeSwing = 5.0f;
constexpr float kEyeHeight = 30.0f;
constexpr float kEyeDepth = 10.0f;
constexpr float kEyeOffset = -30.0f;
constexpr D3DXVECTOR3 kCameraTarget{0.0f, 0.0f, -30.0f};
constexpr float kCameraFov = 1.5707964f;
constexpr Aim kLight{{1.0f, 100.0f, -30.0f}, {0.0f, 20.0f, -30.0f}, 1.0471976f};

// Both cards lie flat (pitch a quarter turn) at the same place; the shadow card is larger.
constexpr D3DXVECTOR3 kCardPosition{0.0f, 15.0f, -30.0f};
constexpr float kShadowCardScale = 1.7f;
constexpr float kVisibleCardScale = 1.4f;

constexpr float kGroundLightPerBand = 18.0f;

}  // namespace

int openingFlashPicture(float x) {
  const float c = wrapCycle(kPictureRate * x, kPictureCycle);
  // Rounding can leave c a hair below 0 or at the cycle's end; negative times would index before
  // the table. Keep the index on the table.
  return std::clamp(static_cast<int>(std::trunc(c)), 0, static_cast<int>(kOpeningFlashPictures.size()) - 1);
}

void openingFlash(timeline::MainStage& stage, float sceneTime, float musicTime) {
  const float s0 = timeline::spectrumTrack().band(0, musicTime);

  // 1. Picture, camera and light.
  const char* pictureKey = kOpeningFlashPictures[openingFlashPicture(musicTime)];
  IDirect3DTexture9* picture = timeline::manifest().textures.lookup(pictureKey);
  const D3DXVECTOR3 eye{kEyeSwing * std::sin(kPi), kEyeHeight, kEyeDepth * std::cos(kPi) + kEyeOffset};
  aimCamera(render::currentCamera(), {eye, kCameraTarget, kCameraFov});
  aimCamera(render::lightCamera(), kLight);
  const SceneView view = sceneView();
  const D3DXVECTOR3 cardAngles{0.0f, kHalfPi, 0.0f};

  // 2. Shadow map: the picture seen from the light; 3. the lit cave ground; 4. the card itself,
  // darkening what lies behind it.
  drawCardOverCave(stage, view, picture, sceneTime, render::place(kCardPosition, cardAngles, kShadowCardScale),
                   render::place(kCardPosition, cardAngles, kVisibleCardScale), kGroundLightPerBand * s0);

  // 5. Frame overlay; 6. end the scene and present.
  drawScreenCardsAndPresent(render::device(), {kFrameOverlay});
}

}  // namespace scenes
