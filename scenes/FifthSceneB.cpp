// Renderer of the fifth scene's alternate view. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kFifthSceneBPlaceholder = 0x00302818;

void fifthSceneB(timeline::MainStage&, float, float, int) {
  drawPlaceholderFrame(kFifthSceneBPlaceholder);
}

}  // namespace scenes
