// Renderer of the fourth scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kFourthScenePlaceholder = 0x00102030;

void fourthScene(timeline::OrganStage&, float, float) {
  drawPlaceholderFrame(kFourthScenePlaceholder);
}

}  // namespace scenes
