// Ribbon shapes and placed ribbon sets.
#include "scenes/Ribbons.h"

#include "geometry/NoiseRibbon.h"
#include "render/Device.h"

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

}  // namespace scenes
