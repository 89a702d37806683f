// Renderer of the credits. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kCreditsScenePlaceholder = 0x00080808;

void creditsScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kCreditsScenePlaceholder);
}

}  // namespace scenes
