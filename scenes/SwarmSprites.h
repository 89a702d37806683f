// The glowing particles of the main stage's `swarmSprites` (the seventh scene's funnel, the ninth's
// stream), billboarded through the stage's own "partikkel" effect and added to the picture. The
// scenes write the centres; draws with render::device(); main thread only.
#pragma once

#include <array>
#include <optional>

#include "scenes/SceneView.h"
#include "timeline/Stages.h"

namespace scenes {

// Distance fog over the particles: where it starts and where it is full.
struct SpriteFog {
  float start;
  float end;
};

// Cull none, depth test off, additive blending; "partikkel" with "tex0" = "remsef", "matView", then
// with fog "CameraPosition" = the eye, "FogEnd" and "FogStart", then "matViewProjection" and
// "ParticleSize" = `size`; the centres uploaded and every particle drawn in pass 3 with fog, 0 without.
void drawSwarmSprites(timeline::MainStage& stage, const SceneView& view, std::array<float, 2> size,
                      std::optional<SpriteFog> fog);

}  // namespace scenes
