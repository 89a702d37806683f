// Renderer of the closing scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kClosingScenePlaceholder = 0x00000000;

void closingScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kClosingScenePlaceholder);
}

}  // namespace scenes
