// Renderer of the fifth scene: a noise ground morphing between two meshes under a sky dome, a swarm
// of thirty ribbons casting soft shadows from a circling light, forty picture sprites far around,
// the fade from black, white beat flashes and the frame overlay. No state of its own.
#include "render/Device.h"
#include "scenes/FifthScene.h"
#include "scenes/Renderers.h"
#include "scenes/ShadowedGround.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// The normal view: camera far plane 10000, the light circling 400 up looking at the origin, the
// shadow target cleared to opaque white, the "sky3" dome.
constexpr FifthView kView{false, 10000.0f, 400.0f, {0.0f, 0.0f, 0.0f}, 0.41887903f, 0xffffffff,
                          {"sky3", {0.0f, -50.0f, 0.0f}, 2.0f}};
constexpr float kSkyGain = 2.0f;  // sky brightness 2 S0 + 0.6
constexpr float kSkyFloor = 0.6f;

constexpr float kGroundGammaFloor = 1.5f;  // bump strength S0 + 1.5
constexpr float kGroundLight = 1.7f;

}  // namespace

void fifthSceneA(timeline::MainStage& stage, float sceneTime, float musicTime, int variant) {
  IDirect3DDevice9* device = render::device();
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const float s0 = spectrum.band(0, musicTime);
  const float s2 = spectrum.band(2, musicTime);

  // 1. Ground morph, ribbons, camera, light, sprite positions.
  morphFifthGround(stage, fifthMorphWeight(sceneTime, s2));
  const SceneView view = placeFifthView(stage, sceneTime, musicTime, variant, kView);

  // 2. Shadow map of the swarm; 3. the back buffer; 4. sky dome; 5. picture sprites (minimum
  // blending); 6. lit ribbons.
  drawFifthBackdrop(stage, kView, kSkyGain * s0 + kSkyFloor, view);

  // 7. Shadowed ground.
  setAlphaBlend(device, false);
  setCull(device, D3DCULL_NONE);
  setDepthTest(device, true);
  ShadowedGround(view)
      .textures("diffuse5", "normal5")
      .value("gamma", s0 + kGroundGammaFloor)
      .value("alpha1", kGroundLight)
      .draw(stage.noiseMeshB);

  // 8. Fade from black, beat flash, frame overlay; 9. present.
  drawFifthCardsAndPresent(device, sceneTime, musicTime);
}

}  // namespace scenes
