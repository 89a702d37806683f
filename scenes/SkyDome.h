// The sky dome several scenes draw behind everything: the stage's hemisphere mesh placed and scaled
// around the view, textured through the global "demo1text" at a brightness. The caller sets the
// render states; draws with render::device(); main thread only.
#pragma once

#include "assets/MeshProxy.h"
#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// A scene's dome: its texture, where its centre sits and its uniform scale (no rotation).
struct SkyDome {
  const char* texture;
  D3DXVECTOR3 position;
  float scale;
};

// "demo1text" with "matProjection" = the dome's place × `viewProjection`, "tex0" = the dome's
// texture and "alpha1" = `brightness`; pass 0 draws the "hemi" of `meshes` when it holds one.
void drawSkyDome(assets::MeshProxy& meshes, const SkyDome& dome, float brightness, const D3DXMATRIX& viewProjection);

}  // namespace scenes
