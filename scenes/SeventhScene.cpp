// Renderer of the seventh scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kSeventhScenePlaceholder = 0x00182830;

void seventhScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kSeventhScenePlaceholder);
}

}  // namespace scenes
