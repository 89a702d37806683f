// Renderer of the third scene's flash variant. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kThirdFlashPlaceholder = 0x00E0D0C0;

void thirdFlash(timeline::MainStage&, float, float, int, float) {
  drawPlaceholderFrame(kThirdFlashPlaceholder);
}

}  // namespace scenes
