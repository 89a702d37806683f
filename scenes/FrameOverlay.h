// The last draw of every scene: the frame overlay "overlay02" through "demo1text" over the whole
// screen with source-alpha blending, then the frame is presented.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace scenes {

// Draws the overlay inside the open back-buffer bracket, ends it and presents.
void drawOverlayAndPresent(IDirect3DDevice9* device);

}  // namespace scenes
