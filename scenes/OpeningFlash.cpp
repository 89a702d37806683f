// Renderer of the opening scene's flash variant. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kOpeningFlashPlaceholder = 0x00F0F0F0;

void openingFlash(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kOpeningFlashPlaceholder);
}

}  // namespace scenes
