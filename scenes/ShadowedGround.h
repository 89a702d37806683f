// Spot-lit surfaces the light shadows: the ground ("bakke1" pass 2, built step by step as scenes set
// its values in their own order), the cube fields' parameters, the main stage's cave ground and the
// picture card over it. Draws with render::device() and the registries; main thread only.
#pragma once

#include "assets/Mesh.h"
#include "platform/d3d9/d3d9.h"
#include "scenes/CurrentEffect.h"
#include "scenes/SceneView.h"
#include "timeline/Stages.h"

namespace scenes {

class ShadowedGround {
public:
  // "bakke1" made current with "matWorldViewProjection", "matLightViewProjection" and "matView"
  // from `view`.
  explicit ShadowedGround(const SceneView& view);

  ShadowedGround& value(const char* name, float value);
  // "tex0" = `diffuse`, "tex1" = "spotlight", "tex2" = the shadow target, "tex3" = `normal`.
  ShadowedGround& textures(const char* diffuse, const char* normal);
  // "LightPosition" = the light's eye; pass 2 draws `mesh`.
  void draw(const assets::Mesh& mesh);

private:
  CurrentEffect effect_;
  D3DXVECTOR3 lightEye_;
};

// The cube fields' shared parameters on `effect`: "matWorldViewProjection", "matLightViewProjection",
// "matView" from `view`, "matWorld" = identity, "LightPosition" = the light's eye, "tex0" =
// "spotlight", "tex1" = "cubediffuse4", "tex2" = the shadow target.
void setSpotLitCubeParameters(CurrentEffect& effect, const SceneView& view);

// Cull counter-clockwise, depth test on, blending off; the cave ground with "alpha1" = `light`,
// `diffuse` and "normal1".
void drawCaveGround(timeline::MainStage& stage, const SceneView& view, const char* diffuse, float light);

// A picture card over the cave: into the shadow target (cleared to transparent white; cull none,
// depth test off, blending off) the card at `shadowWorld` seen from the light; the back buffer
// begun; the cave ground in "cubediffuse4" at `groundLight`; the card at `cardWorld` darkening what
// lies behind it (cull none, depth test on, operation minimum). The card is "organ" pass 1 on the
// small grid with "tex0" = `picture` and "pump" = `pump`. Leaves the back buffer's scene open.
void drawCardOverCave(timeline::MainStage& stage, const SceneView& view, IDirect3DTexture9* picture, float pump,
                      const D3DXMATRIX& shadowWorld, const D3DXMATRIX& cardWorld, float groundLight);

}  // namespace scenes
