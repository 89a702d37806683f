// The blurred copy of the picture several scenes build for glow and depth of field: the back
// buffer copied into half-size target B and blurred into half-size target A. Draws with
// render::device() and the global registries; main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace scenes {

// Cull none, depth test off, alpha blending off; the back buffer into half-size target B; then
// "blur" pass 0 ("matProjection" = the screen projection, "tex0" = B, "ps" = B's texel size,
// "blur" = `blur`) on the full-screen quad into half-size target A. Call between scenes.
void blurBackBufferIntoHalfTargetA(IDirect3DDevice9* device, float blur);

}  // namespace scenes
