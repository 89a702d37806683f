// The fifth scene's shared pieces: beat flash, fade, path time, the swarm and its two passes, the
// sprite orbit and the light.
#include "scenes/FifthScene.h"

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "render/Device.h"
#include "render/Transforms.h"
#include "scenes/CurrentEffect.h"
#include "scenes/PeriodicWrap.h"
#include "scenes/PictureCards.h"
#include "scenes/Ribbons.h"
#include "scenes/ScreenCards.h"
#include "scenes/SeededNoise.h"
#include "scenes/StateSetters.h"
#include "scenes/TargetPass.h"
#include "scenes/VertexLock.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace scenes {
namespace {

constexpr float kFlashRate = 1.3f;
constexpr float kBlackFadeRate = 0.5f;
constexpr float kPathRate = 6.25f;
constexpr float kPathLength = 50.0f;
constexpr float kMorphRate = 0.0333f;
constexpr float kMorphBandGain = 3.0f;

// The swarm's ribbon shapes: noise period, amplitude, phase per second of music, length; seeds.
constexpr RibbonShape kRibbon{40.0f, 20.0f, 200.0f, 600};
constexpr std::int32_t kRibbonSeeds[2] = {423423, 4223423};

// Swarm placement: scale, pitch numerator, and the seed factors of x, y and z.
constexpr float kSwarmScale = 0.5f;
constexpr float kSwarmPitchPi = 3.1415927f;
constexpr std::uint32_t kSwarmSeedX = 5234u;
constexpr std::uint32_t kSwarmSeedY = 5234234u;
constexpr std::uint32_t kSwarmSeedZ = 523334u;

constexpr float kQuarterTurn = 1.5707964f;

constexpr float kLightRadius = 40.0f;

// The morph blends position and normal, the first six floats of a vertex.
constexpr std::size_t kMorphedFloats = 6;
// Cube (r, q) reads noise vertex 162 (r + 1) + 2 q: every other vertex of every other 81-vertex row.
constexpr std::size_t kNoiseRowStride = 162;
constexpr std::size_t kNoiseColumnStride = 2;
// The alternate view's push of the eye: scale and lift.
constexpr float kEyePush = 1.5f;
constexpr float kEyeLift = 30.0f;
constexpr int kVariants = 4;
constexpr float kTargetShake = 10.0f;  // the target moves 10 x S1 along every axis

float noiseOf(int n, std::uint32_t factor = 1u) { return seededNoise(static_cast<std::uint32_t>(n), factor); }

// The thirty placements never change: built once.
const std::array<D3DXMATRIX, kSwarmInstances>& swarmWorlds() {
  static const std::array<D3DXMATRIX, kSwarmInstances> worlds = [] {
    std::array<D3DXMATRIX, kSwarmInstances> w{};
    for (int k = 0; k < kSwarmInstances; ++k) w[static_cast<std::size_t>(k)] = swarmWorld(k);
    return w;
  }();
  return worlds;
}

// The thirty ribbon instances: grid 1 for even k and grid 0 for odd k.
std::array<PlacedRibbon, kSwarmInstances> swarmRibbons(timeline::MainStage& stage) {
  const auto& worlds = swarmWorlds();
  std::array<PlacedRibbon, kSwarmInstances> swarm;
  for (std::size_t k = 0; k < swarm.size(); ++k) swarm[k] = {worlds[k], &stage.planeGrids[k % 2 == 0 ? 1 : 0]};
  return swarm;
}

// The two noise meshes locked for reading and `out` for writing, handed to `write` as floats, when
// the noise meshes hold noise vertices and `out` vertices of `outStride` bytes.
template <class Write>
void rewriteFromNoiseMeshes(timeline::MainStage& stage, assets::Mesh& out, UINT outStride, Write write) {
  constexpr UINT kNoiseStride = kNoiseVertexFloats * sizeof(float);
  if (stage.noiseMesh.stride != kNoiseStride || stage.noise2Mesh.stride != kNoiseStride || out.stride != outStride)
    return;
  const VertexLock a(stage.noiseMesh, D3DLOCK_READONLY);
  const VertexLock b(stage.noise2Mesh, D3DLOCK_READONLY);
  const VertexLock target(out, 0);
  write(a.floats(), b.floats(), target.floats());
}

}  // namespace

int fifthBeatIndex(float b) {
  const auto first = kFifthSceneBeats.begin() + 1;
  const auto found = std::find_if(first, kFifthSceneBeats.end(), [b](float beat) { return !(beat < b); });
  if (found == kFifthSceneBeats.end()) return static_cast<int>(kFifthSceneBeats.size()) - 1;
  return static_cast<int>(found - kFifthSceneBeats.begin());
}

float fifthFlashOpacity(float b) {
  const float next = kFifthSceneBeats[static_cast<std::size_t>(fifthBeatIndex(b))];
  return std::clamp(kFlashRate * (next - b), 0.0f, 1.0f);
}

float fifthBlackOpacity(float a) { return 1.0f - std::clamp(kBlackFadeRate * a, 0.0f, 1.0f); }

float fifthPathTime(float a) { return wrapPast(kPathRate * a, kPathLength); }

float fifthMorphWeight(float a, float s2) { return std::clamp(kMorphRate * a, 0.0f, 1.0f) + kMorphBandGain * s2; }

void morphNoiseVertices(std::span<const float> a, std::span<const float> b, std::span<float> out, float t) {
  const std::size_t vertices = std::min({a.size(), b.size(), out.size()}) / kNoiseVertexFloats;
  for (std::size_t v = 0; v < vertices; ++v) {
    const std::size_t base = v * kNoiseVertexFloats;
    for (std::size_t f = base; f < base + kMorphedFloats; ++f) out[f] = a[f] + t * (b[f] - a[f]);
  }
}

float cubeLiftHeight(std::span<const float> a, std::span<const float> b, int n, float x) {
  if (n < 0) return 0.0f;
  const std::size_t r = static_cast<std::size_t>(n / kCubeRows);
  const std::size_t q = static_cast<std::size_t>(n % kCubeRows);
  const std::size_t y = (kNoiseRowStride * (r + 1) + kNoiseColumnStride * q) * kNoiseVertexFloats + 1;
  if (y >= a.size() || y >= b.size()) return 0.0f;
  const float ya = a[y];
  const float yb = b[y];
  return ya + (yb - ya) * x;
}

void liftCubeVertices(std::span<float> cubes, std::span<const float> a, std::span<const float> b, float x) {
  constexpr std::size_t cubeFloats = kCubeVertices * kCubeVertexFloats;
  const int count = static_cast<int>(std::min<std::size_t>(kCubeCount, cubes.size() / cubeFloats));
  for (int n = 0; n < count; ++n) {
    const float h = cubeLiftHeight(a, b, n, x);
    float* cube = cubes.data() + static_cast<std::size_t>(n) * cubeFloats;
    for (std::size_t v = 0; v < kCubeVertices; ++v) {
      float* vertex = cube + v * kCubeVertexFloats;
      vertex[1] = h + vertex[9];
    }
  }
}

void morphFifthGround(timeline::MainStage& stage, float t) {
  rewriteFromNoiseMeshes(stage, stage.noiseMeshB, kNoiseVertexFloats * sizeof(float),
                         [t](std::span<float> a, std::span<float> b, std::span<float> out) {
                           morphNoiseVertices(a, b, out, t);
                         });
}

void liftFifthCubes(timeline::MainStage& stage, float x) {
  rewriteFromNoiseMeshes(stage, stage.cubeGrid, kCubeVertexFloats * sizeof(float),
                         [x](std::span<float> a, std::span<float> b, std::span<float> cubes) {
                           liftCubeVertices(cubes, a, b, x);
                         });
}

D3DXVECTOR3 pushedEye(const D3DXVECTOR3& eye) {
  return {kEyePush * eye.x, kEyePush * (eye.y + kEyeLift), kEyePush * eye.z};
}

D3DXMATRIX swarmWorld(int k) {
  const float kf = static_cast<float>(k);
  const float pitch = kSwarmPitchPi / (2.0f - 0.1f * noiseOf(k));
  const float x = 200.0f * noiseOf(k, kSwarmSeedX);
  const float y = 100.0f + 50.0f * noiseOf(k, kSwarmSeedY);
  const float z = 0.3f * noiseOf(k, kSwarmSeedZ);
  return render::place(x, y, z, kf, pitch, 0.5f * kf, kSwarmScale);
}

D3DXVECTOR3 fifthSpriteCentre(int i, float a) {
  const float s = kCardOrbit.rate * a;
  const float phi = noiseOf(i) * s + kQuarterTurn * static_cast<float>(i);
  const float psi = noiseOf(i, kCardOrbit.phaseSeed);
  return {kCardOrbit.radius * std::sin(phi + psi), kCardOrbit.height * noiseOf(i), kCardOrbit.radius * std::cos(phi)};
}

D3DXVECTOR3 fifthLightEye(float a, float height) {
  return {kLightRadius * std::sin(a), height, kLightRadius * std::cos(a)};
}

SceneView placeFifthView(timeline::MainStage& stage, float a, float b, int variant, const FifthView& look) {
  const float s1 = timeline::spectrumTrack().band(1, b);
  for (std::size_t g = 0; g < 2; ++g) shapeRibbon(stage.planeGrids[g], kRibbon, b, kRibbonSeeds[g]);
  assets::CameraPath& path = stage.gCameras[static_cast<std::size_t>(std::clamp(variant, 0, kVariants - 1))];
  assets::Camera& camera = followPath(path, fifthPathTime(a));
  if (look.pushedOut) camera.eye = pushedEye(camera.eye);
  camera.farPlane = look.cameraFar;
  camera.target += D3DXVECTOR3(kTargetShake * s1, kTargetShake * s1, kTargetShake * s1);
  aimCamera(render::lightCamera(), {fifthLightEye(a, look.lightHeight), look.lightTarget, look.lightFov});
  placePictureCards(stage, kFifthSprites, fifthSpriteCentre, a);
  return sceneView();
}

void drawFifthBackdrop(timeline::MainStage& stage, const FifthView& look, float skyBrightness, const SceneView& view) {
  IDirect3DDevice9* device = render::device();
  timeline::Manifest& m = timeline::manifest();
  const auto swarm = swarmRibbons(stage);
  {
    TargetPass shadow(m.shadowTarget, look.shadowClear);
    stampSoftShadows(swarm, view, true);
  }
  beginBackBuffer(device);
  setStates(device, D3DCULL_CCW, false);
  drawSkyDome(stage.bakkeMeshes, look.sky, skyBrightness, view.viewProjection);
  drawPictureCards(stage, view.view, view.viewProjection);
  setStates(device, D3DCULL_NONE, true, kAlphaOver);
  CurrentEffect line1(m.effects, "line1");
  line1.texture("tex0", m.textures.lookup("linediffuse"))
      .texture("tex1", m.textures.lookup("spotlight"))
      .matrix("matView", view.view)
      .vector("LightPosition", view.lightEye)
      .value("ambient", 0.0f)
      .value("alpha", 1.0f);
  line1.begin(1);
  drawRibbons(line1, swarm, view);
  line1.end();
}

void drawFifthCardsAndPresent(IDirect3DDevice9* device, float a, float b) {
  drawScreenCardsAndPresent(device, {{"black6", fifthBlackOpacity(a)}, {"white", fifthFlashOpacity(b)}, kFrameOverlay});
}

}  // namespace scenes
