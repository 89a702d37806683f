// Renderer of the opening scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kOpeningScenePlaceholder = 0x00101830;

void openingScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kOpeningScenePlaceholder);
}

}  // namespace scenes
