// The one way the scenes set render states: culling, depth test, alpha blending and the blend
// modes they use, one call per state in the order given, so a step reads like its description.
// Inline; draws on the device given; main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace scenes {

// A blend operation with its source and destination factors.
struct BlendMode {
  D3DBLENDOP op;
  D3DBLEND source;
  D3DBLEND destination;
};

// Source alpha over inverse source alpha: cards, soft shapes, fading ribbons.
inline constexpr BlendMode kAlphaOver{D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA};
// One plus one: glows, flashes, sparks.
inline constexpr BlendMode kAdditive{D3DBLENDOP_ADD, D3DBLEND_ONE, D3DBLEND_ONE};
// The darker of the two (operation minimum): ink pictures that only darken what lies behind.
inline constexpr BlendMode kDarkest{D3DBLENDOP_MIN, D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCCOLOR};

inline void setCull(IDirect3DDevice9* device, D3DCULL cull) { device->SetRenderState(D3DRS_CULLMODE, cull); }

inline void setDepthTest(IDirect3DDevice9* device, bool on) {
  device->SetRenderState(D3DRS_ZENABLE, on ? D3DZB_TRUE : D3DZB_FALSE);
}

inline void setAlphaBlend(IDirect3DDevice9* device, bool on) {
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, on ? TRUE : FALSE);
}

// Alpha blending on, then the mode's operation, source and destination factors.
inline void setBlend(IDirect3DDevice9* device, const BlendMode& mode) {
  setAlphaBlend(device, true);
  device->SetRenderState(D3DRS_BLENDOP, mode.op);
  device->SetRenderState(D3DRS_SRCBLEND, mode.source);
  device->SetRenderState(D3DRS_DESTBLEND, mode.destination);
}

// Culling, depth test, alpha blending off.
inline void setStates(IDirect3DDevice9* device, D3DCULL cull, bool depthTest) {
  setCull(device, cull);
  setDepthTest(device, depthTest);
  setAlphaBlend(device, false);
}

// Culling, depth test, then blending with `mode`.
inline void setStates(IDirect3DDevice9* device, D3DCULL cull, bool depthTest, const BlendMode& mode) {
  setCull(device, cull);
  setDepthTest(device, depthTest);
  setBlend(device, mode);
}

}  // namespace scenes
