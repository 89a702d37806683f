// One-line setters for the render states the scenes name in each frame step (culling, depth test,
// alpha blending and its operation and factors), so a step reads like its description. Inline;
// draws on the device given; main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace scenes {

inline void setCull(IDirect3DDevice9* device, D3DCULL cull) { device->SetRenderState(D3DRS_CULLMODE, cull); }

inline void setDepthTest(IDirect3DDevice9* device, bool on) {
  device->SetRenderState(D3DRS_ZENABLE, on ? D3DZB_TRUE : D3DZB_FALSE);
}

inline void setAlphaBlend(IDirect3DDevice9* device, bool on) {
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, on ? TRUE : FALSE);
}

inline void setBlend(IDirect3DDevice9* device, D3DBLENDOP op, D3DBLEND source, D3DBLEND destination) {
  device->SetRenderState(D3DRS_BLENDOP, op);
  device->SetRenderState(D3DRS_SRCBLEND, source);
  device->SetRenderState(D3DRS_DESTBLEND, destination);
}

}  // namespace scenes
