// Renderer of the third scene's flash variant: one of six slides cast as a shadow by a spot light
// onto the cave ground, seen from an eye that depends only on the beat number, the ground lit by
// band 0 and the flash value, then the frame overlay. Keeps no state.
#include "scenes/ThirdFlash.h"

#include <cmath>
#include <cstdint>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/SeededNoise.h"
#include "scenes/ShadowedGround.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// Slides cycle every 5.6 beats (0.17857143 is one over 5.6).
constexpr Cycle kSlideCycle{5.6f, 0.17857143f};

// The eye: lattice noise of the beat number times these steps, spread 15 around (0, 44, −40).
constexpr std::uint32_t kEyeXStep = 344u;
constexpr std::uint32_t kEyeYStep = 34434u;
constexpr std::uint32_t kEyeZStep = 634532u;
constexpr float kEyeSpread = 15.0f;
constexpr D3DXVECTOR3 kEyeCentre{0.0f, 44.0f, -40.0f};
constexpr D3DXVECTOR3 kCameraTarget{0.0f, 0.0f, -20.0f};
constexpr float kCameraFov = 1.5707964f;

constexpr Aim kLight{{1.0f, 100.0f, -30.0f}, {0.0f, 20.0f, -30.0f}, 1.0471976f};

// The slide card lies flat (pitch a quarter turn) under the light.
constexpr D3DXVECTOR3 kSlidePosition{0.0f, 15.0f, -30.0f};
constexpr D3DXVECTOR3 kSlideAngles{0.0f, 1.5707964f, 0.0f};
constexpr float kSlideScale = 1.7f;

constexpr float kGroundLightPerFlash = 20.0f;
constexpr D3DCOLOR kShadowClear = 0x00ffffff;

float eyeNoise(int n, std::uint32_t step) { return kEyeSpread * seededNoise(static_cast<std::uint32_t>(n), step); }

}  // namespace

int thirdFlashSlide(int n) {
  const int slide = static_cast<int>(std::trunc(wrapCycle(static_cast<float>(n - 1), kSlideCycle)));
  return slide >= 1 && slide < static_cast<int>(kThirdFlashSlides.size()) ? slide : 0;
}

D3DXVECTOR3 thirdFlashEye(int n) {
  return {kEyeCentre.x + eyeNoise(n, kEyeXStep), kEyeCentre.y + eyeNoise(n, kEyeYStep),
          kEyeCentre.z + eyeNoise(n, kEyeZStep)};
}

void thirdFlash(timeline::MainStage& stage, float /*sceneTime*/, float musicTime, int beat, float flash) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s0 = timeline::spectrumTrack().band(0, musicTime);

  // 1. Slide, camera and light. Up, near and far of the current camera stay as they were.
  IDirect3DTexture9* slide = m.textures.lookup(kThirdFlashSlides[static_cast<std::size_t>(thirdFlashSlide(beat))]);
  aimCamera(render::currentCamera(), {thirdFlashEye(beat), kCameraTarget, kCameraFov});
  aimCamera(render::lightCamera(), kLight);
  const SceneView view = sceneView();

  // 2. Shadow map: the slide seen from the light, white where light passes.
  {
    TargetPass shadow(m.shadowTarget, kShadowClear);
    setStates(device, D3DCULL_NONE, false);
    CurrentEffect texture(m.effects, "texture");
    texture
        .matrix("matWorldViewProjection",
                render::place(kSlidePosition, kSlideAngles, kSlideScale) * view.lightViewProjection)
        .value("alpha1", 1.0f)
        .texture("tex0", slide)
        .value("pump", 0.0f);
    texture.begin(1);
    stage.wideGrid.draw(device);
    texture.end();
  }

  // 3. The cave ground under the spot light, brightened by band 0 as the beat nears.
  beginBackBuffer(device);
  drawCaveGround(stage, view, "cubediffuse4", kGroundLightPerFlash * flash * s0);

  // 4. Frame overlay; 5. end the scene and present.
  drawScreenCardsAndPresent(device, {kFrameOverlay});
}

}  // namespace scenes
