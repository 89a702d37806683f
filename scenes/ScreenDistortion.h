// The picture's copy drawn back through the distortion grid ("postfx"): waves or a ring over the
// finished frame. The caller copies the back buffer into the screen-copy target and sets the
// states; draws with render::device() and the global registries; main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace scenes {

// Pass 1 bends the copy into waves ("anim", "amplitude", "freq"); pass 0 pulses a ring ("anim" only).
struct Distortion {
  UINT pass;
  float anim;
  float amplitude;
  float freq;
};

// "postfx" with the screen projection and "tex0" = the screen-copy target, the distortion's values
// (amplitude and frequency only for pass 1), its pass on the distortion grid.
void drawDistortedCopy(IDirect3DDevice9* device, const Distortion& distortion);

}  // namespace scenes
