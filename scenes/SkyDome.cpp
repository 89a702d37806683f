// The sky dome pass.
#include "scenes/SkyDome.h"

#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "timeline/Manifest.h"

namespace scenes {

void drawSkyDome(assets::MeshProxy& meshes, const SkyDome& dome, float brightness, const D3DXMATRIX& viewProjection) {
  timeline::Manifest& m = timeline::manifest();
  CurrentEffect sky(m.effects, "demo1text");
  sky.matrix("matProjection", render::place(dome.position, {0.0f, 0.0f, 0.0f}, dome.scale) * viewProjection)
      .texture("tex0", m.textures.lookup(dome.texture))
      .value("alpha1", brightness);
  sky.begin(0);
  if (assets::Mesh* hemi = meshes.lookup("hemi")) hemi->draw(render::device());
  sky.end();
}

}  // namespace scenes
