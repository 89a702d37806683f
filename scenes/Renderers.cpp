// Dispatch from a schedule decision to its renderer.
#include "scenes/Renderers.h"

#include <string>

#include "platform/trace/FrameTrace.h"

namespace scenes {
namespace {

void recordScene(const timeline::SceneCall& call) {
  if (!trace::frameTrace().recording()) return;
  std::string args = "[";
  trace::appendJsonFloat(args, call.sceneTime);
  args += ',';
  trace::appendJsonFloat(args, call.musicTime);
  if (call.renderer == timeline::Renderer::thirdFlash) {
    args += ',' + std::to_string(call.beat) + ',';
    trace::appendJsonFloat(args, call.flash);
  } else if (call.renderer == timeline::Renderer::fifthSceneA || call.renderer == timeline::Renderer::fifthSceneB) {
    args += ',' + std::to_string(call.variant);
  }
  args += ']';
  trace::frameTrace()
      .event("scene")
      .str("renderer", timeline::rendererName(call.renderer))
      .str("stage", timeline::stageName(call.stage))
      .raw("args", args);
}

}  // namespace

void drawScene(const timeline::SceneCall& call, timeline::OrganStage& organ, timeline::MainStage& main) {
  using timeline::Renderer;
  recordScene(call);
  const float s = call.sceneTime, t = call.musicTime;
  switch (call.renderer) {
    case Renderer::openingScene: return openingScene(main, s, t);
    case Renderer::openingFlash: return openingFlash(main, s, t);
    case Renderer::secondScene: return secondScene(main, s, t);
    case Renderer::thirdScene: return thirdScene(organ, s, t);
    case Renderer::thirdFlash: return thirdFlash(main, s, t, call.beat, call.flash);
    case Renderer::fourthScene: return fourthScene(organ, s, t);
    case Renderer::fifthSceneA: return fifthSceneA(main, s, t, call.variant);
    case Renderer::fifthSceneB: return fifthSceneB(main, s, t, call.variant);
    case Renderer::sixthScene: return sixthScene(main, s, t);
    case Renderer::seventhScene: return seventhScene(main, s, t);
    case Renderer::eighthScene: return eighthScene(main, s, t);
    case Renderer::ninthScene: return ninthScene(main, s, t);
    case Renderer::creditsScene: return creditsScene(main, s, t);
    case Renderer::closingScene: return closingScene(main, s, t);
  }
}

}  // namespace scenes
