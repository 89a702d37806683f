// The noise ribbons most scenes fly: a ribbon's shape (period, amplitude, phase rate, length)
// rebuilt into a stage grid, and a set of placed ribbons drawn through both the camera and the
// light with the pass the caller began. Draws with render::device(); main thread only.
#pragma once

#include <cstdint>
#include <span>

#include "assets/Mesh.h"
#include "platform/d3dx9/D3DXMath.h"
#include "scenes/CurrentEffect.h"
#include "scenes/SceneView.h"

namespace scenes {

struct RibbonShape {
  float period;
  float amplitude;
  float phaseRate;  // noise phase per second of the time given
  int length;
};

// Rebuilds `grid` as the noise ribbon of `shape` at phase phaseRate × `time` with `seed`.
void shapeRibbon(assets::Mesh& grid, const RibbonShape& shape, float time, std::int32_t seed);

// One ribbon on screen: where it is and the grid it draws.
struct PlacedRibbon {
  D3DXMATRIX world;
  const assets::Mesh* grid;
};

// For each ribbon in order: "matWorldViewProjection" = world × the view-projection,
// "matLightViewProjection" = world × the light's view-projection, commit, draw its grid.
void drawRibbons(CurrentEffect& effect, std::span<const PlacedRibbon> ribbons, const SceneView& view);

// The ribbons' soft shapes stamped into the open shadow target: cull none, depth test as given,
// source alpha over; "line" with "tex0" = "softshadowline", the ribbons drawn in pass 1.
void stampSoftShadows(std::span<const PlacedRibbon> ribbons, const SceneView& view, bool depthTest);

}  // namespace scenes
