// Renderer of the fifth scene's alternate view: the same swarm, light, sprites and flashes as the
// normal view, seen from a camera pushed out and up, under another sky, over a field of cubes each
// lifted to the morphing ground's height at its place. No state of its own.
#include "render/Device.h"
#include "scenes/CurrentEffect.h"
#include "scenes/FifthScene.h"
#include "scenes/Renderers.h"
#include "scenes/ShadowedGround.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

// The alternate view: the eye pushed out, far plane 100000, the light circling 500 up, the shadow
// target cleared to transparent white, the "sky4" dome at a steady brightness.
constexpr FifthView kView{true, 100000.0f, 500.0f, {1.0f, 1.0f, 1.0f}, 0.48332196f, 0x00ffffff,
                          {"sky4", {0.0f, -50.0f, 0.0f}, 1.5f}};
constexpr float kSkyBrightness = 1.0f;

constexpr float kCubeLightGain = 2.0f;  // cube light 2 S0 + 0.6
constexpr float kCubeLightFloor = 0.6f;
constexpr float kCubeScrollRate = 0.5f;  // "time" = 0.5 a

}  // namespace

void fifthSceneB(timeline::MainStage& stage, float sceneTime, float musicTime, int variant) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const float s0 = spectrum.band(0, musicTime);
  const float s2 = spectrum.band(2, musicTime);

  // 1. Ribbons, camera (pushed out and up), light, cube lift, sprite positions.
  const SceneView view = placeFifthView(stage, sceneTime, musicTime, variant, kView);
  liftFifthCubes(stage, fifthMorphWeight(sceneTime, s2));

  // 2. Shadow map of the swarm; 3. the back buffer; 4. sky dome; 5. picture sprites (minimum
  // blending); 6. lit ribbons.
  drawFifthBackdrop(stage, kView, kSkyBrightness, view);

  // 7. Cube field.
  setStates(device, D3DCULL_CCW, true);
  {
    CurrentEffect cubes(m.effects, "kube5");
    setSpotLitCubeParameters(cubes, view);
    cubes.texture("tex3", m.textures.lookup("organ5f"))
        .value("time", kCubeScrollRate * sceneTime)
        .value("alpha1", kCubeLightGain * s0 + kCubeLightFloor);
    cubes.begin(0);
    stage.cubeGrid.draw(device);
    cubes.end();
  }

  // 8. Fade from black, beat flash, frame overlay; 9. present.
  drawFifthCardsAndPresent(device, sceneTime, musicTime);
}

}  // namespace scenes
