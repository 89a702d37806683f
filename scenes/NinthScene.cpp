// Renderer of the ninth scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kNinthScenePlaceholder = 0x00102828;

void ninthScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kNinthScenePlaceholder);
}

}  // namespace scenes
