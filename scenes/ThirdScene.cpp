// Renderer of the third scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kThirdScenePlaceholder = 0x00301020;

void thirdScene(timeline::OrganStage&, float, float) {
  drawPlaceholderFrame(kThirdScenePlaceholder);
}

}  // namespace scenes
