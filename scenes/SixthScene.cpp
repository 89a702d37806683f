// Renderer of the sixth scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kSixthScenePlaceholder = 0x00281828;

void sixthScene(timeline::MainStage&, float, float) {
  drawPlaceholderFrame(kSixthScenePlaceholder);
}

}  // namespace scenes
