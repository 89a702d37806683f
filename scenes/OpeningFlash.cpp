// Renderer of the opening scene's flash variant: a picture card seen from above, its shadow cast
// by a spot light onto the lit cave ground, the card itself darkening the picture by minimum
// blending, and the frame overlay. Keeps no state: the frame follows from the pump and music times.
#include "scenes/OpeningFlash.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/Renderers.h"
#include "scenes/ScreenCard.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// Picture cycle in tenths of a second: its length, and one over it as the cycle count factor.
constexpr float kPictureRate = 10.0f;
constexpr float kPictureCycle = 2.6f;
constexpr float kPictureCycleFactor = 0.3846154f;

constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;

// The camera looks down at the card from above and behind it.
constexpr float kEyeSwing = 5.0f;
constexpr float kEyeHeight = 30.0f;
constexpr float kEyeDepth = 10.0f;
constexpr float kEyeOffset = -30.0f;
constexpr D3DXVECTOR3 kCameraTarget{0.0f, 0.0f, -30.0f};
constexpr float kCameraFov = 1.5707964f;

constexpr D3DXVECTOR3 kLightEye{1.0f, 100.0f, -30.0f};
constexpr D3DXVECTOR3 kLightTarget{0.0f, 20.0f, -30.0f};
constexpr float kLightFov = 1.0471976f;

// Both cards lie flat (pitch a quarter turn) at the same place; the shadow card is larger.
constexpr D3DXVECTOR3 kCardPosition{0.0f, 15.0f, -30.0f};
constexpr float kShadowCardScale = 1.7f;
constexpr float kVisibleCardScale = 1.4f;

constexpr float kGroundLightPerBand = 18.0f;
constexpr D3DCOLOR kShadowClear = 0x00ffffff;
constexpr D3DCOLOR kClearColour = 0x00000000;

}  // namespace

int openingFlashPicture(float x) {
  float c = kPictureRate * x;
  if (c > kPictureCycle) c = c - std::trunc(c * kPictureCycleFactor) * kPictureCycle;
  // Rounding can leave c a hair below 0 or at the cycle's end; negative times would index before
  // the table. Keep the index on the table.
  return std::clamp(static_cast<int>(std::trunc(c)), 0, static_cast<int>(kOpeningFlashPictures.size()) - 1);
}

void openingFlash(timeline::MainStage& stage, float p, float x) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const float s0 = timeline::spectrumTrack().band(0, x);

  // 1. Picture, camera and light.
  IDirect3DTexture9* picture = m.textures.lookup(kOpeningFlashPictures[openingFlashPicture(x)]);
  assets::Camera& camera = render::currentCamera();
  camera.eye = {kEyeSwing * std::sin(kPi), kEyeHeight, kEyeDepth * std::cos(kPi) + kEyeOffset};
  camera.target = kCameraTarget;
  camera.fov = kCameraFov;
  assets::Camera& light = render::lightCamera();
  light.eye = kLightEye;
  light.target = kLightTarget;
  light.fov = kLightFov;
  const D3DXMATRIX view = render::cameraView(camera);
  const D3DXMATRIX viewProjection = view * render::cameraProjection(camera);
  const D3DXMATRIX lightViewProjection = render::cameraViewProjection(light);
  const D3DXVECTOR3 cardAngles{0.0f, kHalfPi, 0.0f};

  // 2. Shadow map: the picture seen from the light.
  m.shadowTarget.begin();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kShadowClear, 1.0f, 0);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  {
    CurrentEffect organ(m.effects, "organ");
    organ.matrix("matProjection", render::place(kCardPosition, cardAngles, kShadowCardScale) * lightViewProjection)
        .texture("tex0", picture)
        .value("pump", p);
    organ.begin(1);
    stage.smallGrid.draw(device);
    organ.end();
  }
  m.shadowTarget.end();

  // 3. The lit cave ground.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  {
    CurrentEffect ground(m.effects, "bakke1");
    ground.matrix("matWorldViewProjection", viewProjection)
        .matrix("matLightViewProjection", lightViewProjection)
        .matrix("matView", view)
        .value("alpha1", kGroundLightPerBand * s0)
        .texture("tex0", m.textures.lookup("cubediffuse4"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .texture("tex2", m.shadowTarget.texture.get())
        .texture("tex3", m.textures.lookup("normal1"))
        .vector("LightPosition", light.eye);
    ground.begin(2);
    stage.grotteMesh.draw(device);
    ground.end();
  }

  // 4. The card itself, darkening what lies behind it.
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_MIN);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_INVSRCCOLOR);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
  {
    CurrentEffect organ(m.effects, "organ");
    organ.matrix("matProjection", render::place(kCardPosition, cardAngles, kVisibleCardScale) * viewProjection)
        .texture("tex0", picture)
        .value("pump", p);
    organ.begin(1);
    stage.smallGrid.draw(device);
    organ.end();
  }

  // 5. Frame overlay; 6. end the scene and present.
  drawOverlayCardAndPresent(device);
}

}  // namespace scenes
