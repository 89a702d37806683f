// The organ stage's ribbons: rebuild, placement, shadow stamp and lit pass.
#include "scenes/OrganRibbons.h"

#include "geometry/NoiseRibbon.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"

namespace scenes {
namespace {

constexpr float kRibbonPeriod = 40.0f;
constexpr float kRibbonAmplitude = 30.0f;
constexpr int kRibbonLength = 400;

constexpr float kRibbonHeight = 150.0f;
constexpr float kRibbonSpacing = 15.0f;
constexpr float kRibbonPitch = 1.5707964f;
constexpr float kRibbonRoll = 3.1415927f;
constexpr float kShadowScale = 0.5f;

constexpr D3DCOLOR kShadowClear = 0x00ffffff;

}  // namespace

void rebuildOrganRibbons(timeline::OrganStage& stage, float phase) {
  for (int i = 0; i < kOrganRibbons; ++i)
    geometry::NoiseRibbon(stage.planeGrids[i], kRibbonPeriod, kRibbonAmplitude, phase, kRibbonLength,
                          organRibbonSeed(i));
}

D3DXMATRIX organRibbonWorld(int i, float scale) {
  return render::place(0.0f, kRibbonHeight, kRibbonSpacing * static_cast<float>(i), 0.0f, kRibbonPitch, kRibbonRoll,
                       scale);
}

void drawOrganRibbonShadows(timeline::OrganStage& stage, const D3DXMATRIX& lightViewProjection) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  TargetPass shadow(m.shadowTarget, kShadowClear);
  setStates(device, D3DCULL_NONE, false, kAlphaOver);
  CurrentEffect line(m.effects, "line");
  line.texture("tex0", m.textures.lookup("softshadowline"));
  line.begin(1);
  for (int i = 0; i < kOrganRibbons; ++i) {
    line.matrix("matLightViewProjection", organRibbonWorld(i, kShadowScale) * lightViewProjection).commit();
    stage.planeGrids[i].draw(device);
  }
  line.end();
}

void drawLitOrganRibbons(timeline::OrganStage& stage, const D3DXMATRIX& view, const D3DXMATRIX& viewProjection,
                         const D3DXVECTOR3& lightEye, float scale) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  setStates(device, D3DCULL_NONE, true);
  CurrentEffect line(m.effects, "line");
  line.matrix("matView", view)
      .value("alpha1", 1.0f)
      .texture("tex0", m.textures.lookup("linediffuse"))
      .vector("LightPosition", lightEye);
  line.begin(0);
  for (int i = 0; i < kOrganRibbons; ++i) {
    line.matrix("matWorldViewProjection", organRibbonWorld(i, scale) * viewProjection).commit();
    stage.planeGrids[i].draw(device);
  }
  line.end();
}

}  // namespace scenes
