// The brackets a frame's passes draw in: an off-screen target switched in and cleared for the
// length of a scope, and the back buffer's scene begun and cleared to black. Draws with
// render::device(); main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "render/RenderTarget.h"

namespace scenes {

// Switches drawing into `target` (its own BeginScene) and clears the parts `clearFlags` name to
// `clearColour`, depth 1; switches back (EndScene) when the scope ends.
class TargetPass {
public:
  TargetPass(render::RenderTarget& target, D3DCOLOR clearColour, DWORD clearFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
  ~TargetPass();
  TargetPass(const TargetPass&) = delete;
  TargetPass& operator=(const TargetPass&) = delete;

private:
  render::RenderTarget& target_;
};

// BeginScene on the back buffer and clear of colour (black) and depth.
void beginBackBuffer(IDirect3DDevice9* device);

}  // namespace scenes
