// Cards laid over the finished picture: the overlay render states, one texture drawn through the
// global "demo1text" on the full-screen quad at an opacity, and the frame's close (the overlay
// "overlay02" as the last draw, EndScene, Present). Draws with render::device(); main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace scenes {

// Cull clockwise, depth test off, alpha blending on, blend operation add, source alpha over
// inverse source alpha.
void setOverlayStates(IDirect3DDevice9* device);

// The overlay states, then "demo1text" as the current effect with "matProjection" = the screen
// projection, "tex0" = the texture found by `textureKey`, "alpha1" = `opacity`; pass 0 on the
// full-screen quad.
void drawScreenCard(IDirect3DDevice9* device, const char* textureKey, float opacity);

// The frame overlay at opacity 1.0 as a screen card, then EndScene and Present of the whole back buffer.
void drawOverlayCardAndPresent(IDirect3DDevice9* device);

}  // namespace scenes
