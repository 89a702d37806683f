// Ribbon shapes and placed ribbon sets.
#include "scenes/Ribbons.h"

#include "geometry/NoiseRibbon.h"
#include "render/Device.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"

namespace scenes {

void shapeRibbon(assets::Mesh& grid, const RibbonShape& shape, float time, std::int32_t seed) {
  geometry::NoiseRibbon(grid, shape.period, shape.amplitude, shape.phaseRate * time, shape.length, seed);
}

void drawRibbons(CurrentEffect& effect, std::span<const PlacedRibbon> ribbons, const SceneView& view) {
  IDirect3DDevice9* device = render::device();
  for (const PlacedRibbon& ribbon : ribbons) {
    effect.matrix("matWorldViewProjection", ribbon.world * view.viewProjection)
        .matrix("matLightViewProjection", ribbon.world * view.lightViewProjection);
    effect.commit();
    ribbon.grid->draw(device);
  }
}

void stampSoftShadows(std::span<const PlacedRibbon> ribbons, const SceneView& view, bool depthTest) {
  timeline::Manifest& m = timeline::manifest();
  setStates(render::device(), D3DCULL_NONE, depthTest, kAlphaOver);
  CurrentEffect line(m.effects, "line");
  line.texture("tex0", m.textures.lookup("softshadowline"));
  line.begin(1);
  drawRibbons(line, ribbons, view);
  line.end();
}

}  // namespace scenes
