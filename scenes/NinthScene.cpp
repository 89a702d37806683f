// Renderer of the ninth scene: a stream of glowing particles drifting sideways on black, and four
// noise ribbons with a blurred warm glow behind them, seen from still views that cut on a table;
// ribbons and glow fade out towards each cut. Keeps no state between frames.
#include "scenes/NinthScene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/Renderers.h"
#include "scenes/Ribbons.h"
#include "scenes/SceneView.h"
#include "scenes/ScreenCards.h"
#include "scenes/SeededNoise.h"
#include "scenes/ShotCycle.h"
#include "scenes/StateSetters.h"
#include "scenes/SwarmSprites.h"
#include "scenes/TargetPass.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kRibbonFadeRate = 0.3f;

// Ribbons: noise period, amplitude, phase per second, length; the seed step per ribbon.
constexpr RibbonShape kRibbon{40.0f, 30.0f, 50.0f, 400};
constexpr std::int32_t kRibbonSeedStep = 453463;
constexpr float kQuarterTurn = 1.5707964f;

// The stream: seeds of x, y and z, spread, drift per second, the wrap and the shift back.
constexpr std::uint32_t kStreamSeedX = 73457u;
constexpr std::uint32_t kStreamSeedY = 973452u;
constexpr std::uint32_t kStreamSeedZ = 2345u;
constexpr float kStreamSpreadX = 200.0f;
constexpr float kStreamSpreadYZ = 100.0f;
constexpr float kStreamDrift = 10.0f;
constexpr Cycle kStreamWrap{400.0f, 0.0025f};
constexpr float kStreamShift = 300.0f;

constexpr float kCameraFar = 10000.0f;
constexpr Aim kLight{{0.0f, 200.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.5707964f};

constexpr float kFogStart = 0.0f;
constexpr float kFogEnd = 100.0f;
constexpr std::array<float, 2> kParticleSize = {1.8f, 1.8f};
constexpr float kGlowBlur = 2.0f;
constexpr float kGlowBase = 1.5f;  // glow "alpha" = (S2 + 1.5) F

constexpr float kFadeInRate = 0.5f;
constexpr float kFadeOutStart = 251.45f;
constexpr float kFadeOutRate = 0.5f;

constexpr D3DCOLOR kClearColour = 0x00000000;

// Writes the centre of every selected particle; particles outside the selection keep theirs.
void placeStream(timeline::MainStage& stage, float a) {
  std::vector<D3DXVECTOR4>& positions = stage.swarmSprites.positions;
  const std::vector<std::uint32_t>& selected = stage.swarmSelection.indices;
  for (std::size_t k = 0; k < selected.size(); ++k) {
    if (selected[k] >= positions.size()) continue;
    const D3DXVECTOR3 c = streamCentre(static_cast<std::uint32_t>(k), a);
    D3DXVECTOR4& p = positions[selected[k]];
    p.x = c.x;
    p.y = c.y;
    p.z = c.z;
  }
}

}  // namespace

NinthCut ninthCut(float b) {
  int n = 0;
  if (b > kNinthSceneCuts[0])
    n = static_cast<int>(std::count_if(kNinthSceneCuts.begin(), kNinthSceneCuts.end(), [b](float t) { return t < b; }));
  // Past the closing entry there is no next cut: stay on the table.
  n = std::min(n, static_cast<int>(kNinthSceneCuts.size()) - 1);
  const float weight = std::clamp(kRibbonFadeRate * (kNinthSceneCuts[static_cast<std::size_t>(n)] - b), 0.0f, 1.0f);
  return {shotCyclePath(n), weight};
}

D3DXVECTOR3 streamCentre(std::uint32_t k, float a) {
  const float x0 = wrapCycle(kStreamSpreadX * (seededNoise(k, kStreamSeedX) + 1.0f) + kStreamDrift * a, kStreamWrap);
  return {x0 - kStreamShift, kStreamSpreadYZ * seededNoise(k, kStreamSeedY),
          kStreamSpreadYZ * seededNoise(k, kStreamSeedZ)};
}

D3DXMATRIX ninthRibbonWorld() { return render::place(0.0f, 0.0f, 0.0f, 0.0f, kQuarterTurn, kQuarterTurn, 1.0f); }

float ninthBlackOpacity(float a, float b) {
  if (b > kFadeOutStart) return kFadeOutRate * (b - kFadeOutStart);
  return 1.0f - std::clamp(kFadeInRate * a, 0.0f, 1.0f);
}

void ninthScene(timeline::MainStage& stage, float sceneTime, float musicTime) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();

  // 1. Ribbons; the cut's still view, far plane and the light.
  std::array<PlacedRibbon, kNinthRibbons> ribbons;
  for (std::size_t i = 0; i < ribbons.size(); ++i) {
    shapeRibbon(stage.planeGrids[i], kRibbon, sceneTime, kRibbonSeedStep * static_cast<std::int32_t>(i));
    ribbons[i] = {ninthRibbonWorld(), &stage.planeGrids[i]};
  }
  const NinthCut cut = ninthCut(musicTime);
  followPath(stage.r7Cameras[static_cast<std::size_t>(cut.cameraPath)], 0.0f).farPlane = kCameraFar;
  aimCamera(render::lightCamera(), kLight);
  const SceneView view = sceneView();
  const float s2 = timeline::spectrumTrack().band(2, musicTime);

  // 2. Begin the scene; 3. the particle stream, added.
  beginBackBuffer(device);
  setStates(device, D3DCULL_CCW, false);
  placeStream(stage, sceneTime);
  drawSwarmSprites(stage, view, kParticleSize, SpriteFog{kFogStart, kFogEnd});
  device->EndScene();

  // 4. Glow source: the ribbons as flat shapes into half-size target A.
  {
    TargetPass glowSource(m.halfTargetA, kClearColour, D3DCLEAR_TARGET);
    setStates(device, D3DCULL_NONE, false);
    CurrentEffect plain(m.effects, "plain");
    plain.begin(0);
    for (const PlacedRibbon& ribbon : ribbons) {
      plain.matrix("Matrix", ribbon.world * view.viewProjection).commit();
      ribbon.grid->draw(device);
    }
    plain.end();
  }

  // 5. The glow: target A blurred and added, with the music and the ribbon weight.
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
  setStates(device, D3DCULL_CW, false, kAdditive);
  {
    const auto ps = render::texelSize(m.halfTargetA);
    CurrentEffect glow(m.effects, "blur");
    glow.matrix("matProjection", render::screenProjection())
        .texture("tex0", m.halfTargetA.texture.get())
        .floats("ps", ps.data(), 2)
        .value("blur", kGlowBlur)
        .value("alpha", (s2 + kGlowBase) * cut.ribbonWeight);
    glow.begin(1);
    m.fullScreenQuad.draw(device);
    glow.end();
  }

  // 6. The ribbons over everything.
  setStates(device, D3DCULL_NONE, true, kAlphaOver);
  {
    CurrentEffect band(m.effects, "line1");
    band.matrix("matView", view.view)
        .value("alpha", cut.ribbonWeight)
        .texture("tex0", m.textures.lookup("linediffuse"))
        .texture("tex1", m.textures.lookup("spotlight"))
        .vector("LightPosition", view.lightEye);
    band.begin(2);
    drawRibbons(band, ribbons, view);
    band.end();
  }

  // 7. Black fades and the frame overlay; 8. end the scene and present.
  drawScreenCardsAndPresent(device, {{"black6", ninthBlackOpacity(sceneTime, musicTime)}, kFrameOverlay});
}

}  // namespace scenes
