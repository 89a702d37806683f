// The frame a renderer draws until its scene is built: a clear in a colour of its own, then the
// frame overlay and present, so a run shows which renderer drew each frame.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace scenes {

void drawPlaceholderFrame(D3DCOLOR clearColour);

}  // namespace scenes
