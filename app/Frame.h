// One frame of the show for a music time: the renderer the schedule picks, or the default frame
// (clear to blue, nothing presented) before the first scene and after the last.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "timeline/Stages.h"

namespace app {

// The default frame's clear colour: alpha 0, red 0, green 0, blue 255.
inline constexpr D3DCOLOR kDefaultFrameColour = 0x000000FFu;

void drawDefaultFrame(IDirect3DDevice9* device);

// Writes the frame event to the frame trace, then draws the frame for `musicTime` with the
// renderer the schedule picks on one of the two stages.
void drawFrame(IDirect3DDevice9* device, double musicTime, timeline::OrganStage& organ, timeline::MainStage& main);

}  // namespace app
