// The forty picture cards of `sprites40` in the fifth and seventh scenes: their shared orbit, their
// placement, and four groups of ten ink drawings billboarded through "partikkel" under minimum
// blending, so only what is darker than the sky shows. Draws with render::device(); main thread only.
#pragma once

#include <cstdint>

#include "platform/d3dx9/D3DXMath.h"
#include "timeline/Stages.h"

namespace scenes {

// The orbit the cards circle far above the ground: radius, height, angular rate per second and
// the seed factor of each card's phase.
struct CardOrbit {
  float radius;
  float height;
  float rate;
  std::uint32_t phaseSeed;
};
inline constexpr CardOrbit kCardOrbit{1000.0f, 500.0f, 0.1f, 5234u};

// Writes centre(i, t) into the position of each of the first `count` cards sprites40 holds,
// keeping each position's w; uploaded when the cards are drawn.
void placePictureCards(timeline::MainStage& stage, int count, D3DXVECTOR3 (*centre)(int, float), float t);

// Cull none, depth test off, alpha blending on with operation minimum (factors inverse source
// colour / source colour); "partikkel" of stageEffects with the view and view-projection; the
// centres already written into sprites40 are uploaded; pass 2 draws particles 0-9 with "organ1f"
// at 400 x 200, then 10-19 "organ3f" 400 x 200, 20-29 "organ4f" 200 x 400, 30-39 "organ5f" 200 x 400.
void drawPictureCards(timeline::MainStage& stage, const D3DXMATRIX& view, const D3DXMATRIX& viewProjection);

}  // namespace scenes
