// The swarm's particles.
#include "scenes/SwarmSprites.h"

#include "render/Device.h"
#include "scenes/CurrentEffect.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"

namespace scenes {

void drawSwarmSprites(timeline::MainStage& stage, const SceneView& view, std::array<float, 2> size,
                      std::optional<SpriteFog> fog) {
  IDirect3DDevice9* device = render::device();
  setStates(device, D3DCULL_NONE, false, kAdditive);
  CurrentEffect sprites(stage.stageEffects, "partikkel");
  sprites.texture("tex0", timeline::manifest().textures.lookup("remsef")).matrix("matView", view.view);
  if (fog) sprites.vector("CameraPosition", view.eye).value("FogEnd", fog->end).value("FogStart", fog->start);
  sprites.matrix("matViewProjection", view.viewProjection).floats("ParticleSize", size.data(), 2);
  sprites.begin(fog ? 3 : 0);
  stage.swarmSprites.upload();
  stage.swarmSprites.draw(device, 0, stage.swarmSprites.count);
  sprites.end();
}

}  // namespace scenes
