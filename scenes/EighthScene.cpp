// Renderer of the eighth scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kEighthScenePlaceholder = 0x00303018;

void eighthScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kEighthScenePlaceholder);
}

}  // namespace scenes
