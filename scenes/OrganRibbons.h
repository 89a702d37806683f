// The four noise ribbons the third and fourth scenes hang over their ground: their per-frame
// rebuild, their world matrices, the soft-shadow stamp into the shadow target and the lit pass on
// screen. The grids are OrganStage's `planeGrids`; draws with render::device(); main thread only.
#pragma once

#include <cstdint>

#include "platform/d3dx9/D3DXMath.h"
#include "timeline/Stages.h"

namespace scenes {

inline constexpr int kOrganRibbons = 4;
inline constexpr std::int32_t kOrganRibbonSeedStep = 453463;

// Ribbon i's seed: 453463 · i.
constexpr std::int32_t organRibbonSeed(int i) { return kOrganRibbonSeedStep * i; }

// Rebuilds the four grids as noise ribbons of period 40, amplitude 30 and length 400 at `phase`.
void rebuildOrganRibbons(timeline::OrganStage& stage, float phase);

// Ribbon i hangs along z at height 150: yaw 0, pitch a quarter turn, roll a half turn, uniform
// `scale`, translation (0, 150, 15 i).
D3DXMATRIX organRibbonWorld(int i, float scale);

// Renders into the shadow target (cleared to transparent white): cull none, depth test off, source
// alpha blending; "line" pass 1 with "softshadowline" stamps each ribbon at scale 0.5 through the
// light's view-projection. Leaves the shadow target.
void drawOrganRibbonShadows(timeline::OrganStage& stage, const D3DXMATRIX& lightViewProjection);

// Inside the open back-buffer bracket: cull none, depth test on, blending off; "line" pass 0 with
// "linediffuse", lit from `lightEye`, each ribbon at `scale`.
void drawLitOrganRibbons(timeline::OrganStage& stage, const D3DXMATRIX& view, const D3DXMATRIX& viewProjection,
                         const D3DXVECTOR3& lightEye, float scale);

}  // namespace scenes
