// The shadowed ground, the cube fields' parameters, the cave ground and the card over it.
#include "scenes/ShadowedGround.h"

#include "render/Device.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"

namespace scenes {
namespace {

constexpr D3DCOLOR kShadowClear = 0x00ffffff;

void drawFlatCard(timeline::MainStage& stage, IDirect3DTexture9* picture, float pump,
                  const D3DXMATRIX& worldViewProjection) {
  CurrentEffect organ(timeline::manifest().effects, "organ");
  organ.matrix("matProjection", worldViewProjection).texture("tex0", picture).value("pump", pump);
  organ.begin(1);
  stage.smallGrid.draw(render::device());
  organ.end();
}

}  // namespace

ShadowedGround::ShadowedGround(const SceneView& view)
    : effect_(timeline::manifest().effects, "bakke1"), lightEye_(view.lightEye) {
  effect_.matrix("matWorldViewProjection", view.viewProjection)
      .matrix("matLightViewProjection", view.lightViewProjection)
      .matrix("matView", view.view);
}

ShadowedGround& ShadowedGround::value(const char* name, float value) {
  effect_.value(name, value);
  return *this;
}

ShadowedGround& ShadowedGround::textures(const char* diffuse, const char* normal) {
  timeline::Manifest& m = timeline::manifest();
  effect_.texture("tex0", m.textures.lookup(diffuse))
      .texture("tex1", m.textures.lookup("spotlight"))
      .texture("tex2", m.shadowTarget.texture.get())
      .texture("tex3", m.textures.lookup(normal));
  return *this;
}

void ShadowedGround::draw(const assets::Mesh& mesh) {
  effect_.vector("LightPosition", lightEye_);
  effect_.begin(2);
  mesh.draw(render::device());
  effect_.end();
}

void setSpotLitCubeParameters(CurrentEffect& effect, const SceneView& view) {
  timeline::Manifest& m = timeline::manifest();
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  effect.matrix("matWorldViewProjection", view.viewProjection)
      .matrix("matLightViewProjection", view.lightViewProjection)
      .matrix("matView", view.view)
      .matrix("matWorld", identity)
      .vector("LightPosition", view.lightEye)
      .texture("tex0", m.textures.lookup("spotlight"))
      .texture("tex1", m.textures.lookup("cubediffuse4"))
      .texture("tex2", m.shadowTarget.texture.get());
}

void drawCaveGround(timeline::MainStage& stage, const SceneView& view, const char* diffuse, float light) {
  setStates(render::device(), D3DCULL_CCW, true);
  ShadowedGround(view).value("alpha1", light).textures(diffuse, "normal1").draw(stage.grotteMesh);
}

void drawCardOverCave(timeline::MainStage& stage, const SceneView& view, IDirect3DTexture9* picture, float pump,
                      const D3DXMATRIX& shadowWorld, const D3DXMATRIX& cardWorld, float groundLight) {
  IDirect3DDevice9* device = render::device();
  {
    TargetPass shadow(timeline::manifest().shadowTarget, kShadowClear);
    setStates(device, D3DCULL_NONE, false);
    drawFlatCard(stage, picture, pump, shadowWorld * view.lightViewProjection);
  }
  beginBackBuffer(device);
  drawCaveGround(stage, view, "cubediffuse4", groundLight);
  setStates(device, D3DCULL_NONE, true, kDarkest);
  drawFlatCard(stage, picture, pump, cardWorld * view.viewProjection);
}

}  // namespace scenes
