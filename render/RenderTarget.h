// `RenderTarget`: a colour texture with its own depth surface, and the bracket that switches
// drawing into it and back (begin issues BeginScene, end EndScene). While active it holds the
// device's previous colour and depth surfaces; end restores and drops them. Owns its device objects
// (ComPtr); draws with render::device(). Main thread only.
#pragma once

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"

namespace render {

struct RenderTarget {
  d3d9::ComPtr<IDirect3DSurface9> surface;  // level 0 of texture
  d3d9::ComPtr<IDirect3DTexture9> texture;
  d3d9::ComPtr<IDirect3DSurface9> depth;
  UINT width = 0;
  UINT height = 0;
  d3d9::ComPtr<IDirect3DSurface9> savedDepth;
  d3d9::ComPtr<IDirect3DSurface9> savedColour;

  // A one-level render-target texture in the default pool and a D24X8 depth surface of the same
  // size. `name` names the texture in the frame trace and the depth surface name + ".depth".
  // Failures: "boya" (caption "ME") for the texture, "depth" (caption "rt") for the depth surface.
  void create(UINT width, UINT height, D3DFORMAT format, const char* name = nullptr);

  // Saves the device's colour and depth surfaces, binds this target's, then BeginScene. Each failing
  // call shows its message (caption "render") and the sequence goes on.
  void begin();
  // EndScene, binds the saved surfaces again and drops them.
  void end();
  // Copies the device's render target 0 (the back buffer, between scene brackets) into this
  // target's surface, unfiltered.
  void grabBackBuffer();
};

}  // namespace render
