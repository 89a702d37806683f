// The placeholder frame.
#include "scenes/PlaceholderFrame.h"

#include "render/Device.h"
#include "scenes/FrameOverlay.h"

namespace scenes {

void drawPlaceholderFrame(D3DCOLOR clearColour) {
  IDirect3DDevice9* device = render::device();
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColour, 1.0f, 0);
  drawOverlayAndPresent(device);
}

}  // namespace scenes
