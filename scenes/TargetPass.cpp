// Target and back-buffer brackets.
#include "scenes/TargetPass.h"

#include "render/Device.h"

namespace scenes {
namespace {

constexpr D3DCOLOR kBackBufferClear = 0x00000000;

}  // namespace

TargetPass::TargetPass(render::RenderTarget& target, D3DCOLOR clearColour, DWORD clearFlags) : target_(target) {
  target_.begin();
  render::device()->Clear(0, nullptr, clearFlags, clearColour, 1.0f, 0);
}

TargetPass::~TargetPass() { target_.end(); }

void beginBackBuffer(IDirect3DDevice9* device) {
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackBufferClear, 1.0f, 0);
}

}  // namespace scenes
