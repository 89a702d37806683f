// Renderer of the second scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kSecondScenePlaceholder = 0x00201810;

void secondScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kSecondScenePlaceholder);
}

}  // namespace scenes
