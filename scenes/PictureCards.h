// The forty picture cards of `sprites40` seen by the fifth and seventh scenes: four groups of ten
// ink drawings billboarded through the stage's own "partikkel" effect under minimum blending, so
// only what is darker than the sky shows. Draws with render::device(); main thread only.
#pragma once

#include "platform/d3dx9/D3DXMath.h"
#include "timeline/Stages.h"

namespace scenes {

// Cull none, depth test off, alpha blending on with operation minimum (factors inverse source
// colour / source colour); "partikkel" of stageEffects with the view and view-projection; the
// centres already written into sprites40 are uploaded; pass 2 draws particles 0-9 with "organ1f"
// at 400 x 200, then 10-19 "organ3f" 400 x 200, 20-29 "organ4f" 200 x 400, 30-39 "organ5f" 200 x 400.
void drawPictureCards(timeline::MainStage& stage, const D3DXMATRIX& view, const D3DXMATRIX& viewProjection);

}  // namespace scenes
