// Renderer of the fifth scene. Until the scene is built it draws the placeholder frame in its own colour.
#include "scenes/PlaceholderFrame.h"
#include "scenes/Renderers.h"

namespace scenes {

constexpr D3DCOLOR kFifthSceneAPlaceholder = 0x00183018;

void fifthSceneA(timeline::MainStage&, float, float, int) {
  drawPlaceholderFrame(kFifthSceneAPlaceholder);
}

}  // namespace scenes
