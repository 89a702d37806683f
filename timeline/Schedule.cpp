// The schedule's tables and rules. Music times arrive as 64-bit floats; table entries are 32-bit
// and are widened for every comparison, an entry counting as passed only when strictly less than
// the music time. Scene times are the 32-bit music time minus a 32-bit constant, except the two
// scaled ones, computed in double from the 64-bit time and then narrowed.
#include "timeline/Schedule.h"

#include <cmath>
#include <span>

#include "timeline/SpectrumTrack.h"

namespace timeline {
namespace {

constexpr float kThirdSceneBeats[16] = {0,     49.12f, 50.45f, 51.77f, 53.11f, 54.45f, 55.77f, 57.1f,
                                        58.43f, 59.78f, 61.11f, 62.45f, 63.78f, 65.1f,  66.46f, 100};

// Fifth slot, in its own scene time (music time minus 91).
constexpr float kFifthVariantTimes[16] = {8.1f, 11.9f, 14.1f, 18.7f, 22.5f, 24.5f, 29.3f, 32.4f,
                                          35.4f, 38,    39,    40.3f, 44,    46,    49.1f, 300};

constexpr float kFifthSwitchTimes[15] = {92.8f,  93.8f, 96,     97.7f,  98.25f, 100.21f, 101.4f, 105.2f,
                                         105.7f, 106.7f, 107.4f, 109.4f, 110.2f, 111.4f,  400};

constexpr float kSixthCutTimes[113] = {
    122.41f, 122.63f, 122.82f, 123.8f,  123.96f, 124.13f, 125,     125.31f, 125.5f,  125.64f, 125.8f,  125.98f,
    126.13f, 127.15f, 127.47f, 127.82f, 128.05f, 128.14f, 128.28f, 128.49f, 128.8f,  129.29f, 129.78f, 130.11f,
    130.83f, 130.98f, 131.16f, 131.3f,  131.45f, 132.45f, 132.82f, 132.99f, 133.16f, 133.31f, 133.47f, 133.62f,
    133.79f, 133.99f, 134.12f, 134.8f,  134.98f, 135.15f, 135.46f, 135.94f, 136.13f, 136.44f, 136.78f, 137.3f,
    137.63f, 137.8f,  137.98f, 138.14f, 138.49f, 138.64f, 138.8f,  138.99f, 139.15f, 139.45f, 139.97f, 140.48f,
    140.8f,  140.98f, 141.48f, 141.83f, 141.98f, 142.12f, 142.41f, 142.63f, 143,     143.12f, 143.32f, 143.48f,
    143.65f, 143.79f, 144.17f, 144.5f,  144.65f, 144.8f,  145.08f, 145.28f, 145.45f, 145.65f, 145.81f, 146.21f,
    146.61f, 146.81f, 147.15f, 147.31f, 147.48f, 147.97f, 148.32f, 148.48f, 148.8f,  149.14f, 149.46f, 149.63f,
    149.83f, 150.13f, 150.62f, 151.18f, 151.45f, 151.63f, 152.13f, 152.47f, 152.63f, 152.8f,  153.3f,  153.66f,
    153.8f,  154.15f, 154.3f,  154.66f, 1000};

constexpr float kFifthSlotStart = 91;
constexpr float kSpectrumFlashThreshold = 0.1f;
constexpr float kOpeningFlashStart = 20.54f;
constexpr float kOpeningFlashRate = 5;
constexpr float kSixthSlotStart = 119.8f;
constexpr float kSixthSceneRate = 0.333f;
constexpr float kWrap36Modulus = 3.6f, kWrap36Factor = 0.2777778f;
constexpr float kWrap16Modulus = 1.6f, kWrap16Factor = 0.625f;

bool passed(float entry, double musicTime) { return double(entry) < musicTime; }

// How many entries from the start the music time has passed.
int passedCount(std::span<const float> table, double musicTime) {
  int count = 0;
  while (count < int(table.size()) && passed(table[count], musicTime)) ++count;
  return count;
}

int wrap(int n, float modulus, float factor) {
  double x = n;
  if (x > double(modulus)) x = x - std::trunc(x * double(factor)) * double(modulus);
  return int(std::trunc(x));
}

SceneCall call(Renderer renderer, StageKind stage, float sceneTime, double musicTime) {
  return SceneCall{renderer, stage, sceneTime, float(musicTime)};
}

SceneCall openingSlot(double t, const SpectrumTrack& spectrum) {
  if (spectrum.band(0, float(t)) > kSpectrumFlashThreshold) {
    float sceneTime = float((t - double(kOpeningFlashStart)) * double(kOpeningFlashRate));
    return call(Renderer::openingFlash, StageKind::Main, sceneTime, t);
  }
  return call(Renderer::openingScene, StageKind::Main, float(t), t);
}

// The half second before each beat shows the flash renderer, its value falling to 0 at the beat.
SceneCall thirdSlot(double t) {
  float sceneTime = float(t) - kDemoTimeline[2];
  int k = 1;
  while (passed(kThirdSceneBeats[k], t)) ++k;
  float d = float(2.0 * (double(kThirdSceneBeats[k]) - t));
  if (d >= 1.0f) return call(Renderer::thirdScene, StageKind::Organ, sceneTime, t);
  SceneCall flash = call(Renderer::thirdFlash, StageKind::Main, sceneTime, t);
  flash.beat = k;
  flash.flash = d < 0 ? 0.0f : d;
  return flash;
}

SceneCall fifthSlot(double t) {
  int variantCount = 0;
  while (double(kFifthVariantTimes[variantCount]) + double(kFifthSlotStart) < t) ++variantCount;
  int switches = passedCount(kFifthSwitchTimes, t);
  Renderer renderer = wrapBy1_6(switches) == 1 ? Renderer::fifthSceneB : Renderer::fifthSceneA;
  SceneCall fifth = call(renderer, StageKind::Main, float(t) - kFifthSlotStart, t);
  fifth.variant = wrapBy3_6(variantCount);
  return fifth;
}

SceneCall sixthSlot(double t) {
  if (wrapBy1_6(passedCount(kSixthCutTimes, t)) == 1)
    return call(Renderer::seventhScene, StageKind::Main, float(t) - kSixthSlotStart, t);
  float sceneTime = float((t - double(kSixthSlotStart)) * double(kSixthSceneRate));
  return call(Renderer::sixthScene, StageKind::Main, sceneTime, t);
}

}  // namespace

int slotOf(double musicTime) {
  if (musicTime <= 0) return 0;
  int k = 1;
  while (k < 12 && passed(kDemoTimeline[k], musicTime)) ++k;
  return k;
}

int wrapBy3_6(int n) { return wrap(n, kWrap36Modulus, kWrap36Factor); }
int wrapBy1_6(int n) { return wrap(n, kWrap16Modulus, kWrap16Factor); }

std::optional<SceneCall> scheduleFor(double t, const SpectrumTrack& spectrum) {
  auto since = [&](int slot) { return float(t) - kDemoTimeline[slot - 1]; };
  switch (slotOf(t)) {
    case 1: return openingSlot(t, spectrum);
    case 2: return call(Renderer::secondScene, StageKind::Main, since(2), t);
    case 3: return thirdSlot(t);
    case 4: return call(Renderer::fourthScene, StageKind::Organ, since(4), t);
    case 5: return fifthSlot(t);
    case 6: return sixthSlot(t);
    case 7: return call(Renderer::seventhScene, StageKind::Main, float(t) - kSixthSlotStart, t);
    case 8: return call(Renderer::eighthScene, StageKind::Main, since(8), t);
    case 9: return call(Renderer::ninthScene, StageKind::Main, since(9), t);
    case 10: return call(Renderer::creditsScene, StageKind::Main, since(10), t);
    case 11: return call(Renderer::closingScene, StageKind::Main, since(11), t);
    default: return std::nullopt;
  }
}

const char* rendererName(Renderer renderer) {
  constexpr const char* kNames[kRendererCount] = {
      "openingScene", "openingFlash", "secondScene",  "thirdScene",  "thirdFlash",  "fourthScene",  "fifthSceneA",
      "fifthSceneB",  "sixthScene",   "seventhScene", "eighthScene", "ninthScene",  "creditsScene", "closingScene"};
  return kNames[static_cast<int>(renderer)];
}

const char* stageName(StageKind stage) { return stage == StageKind::Organ ? "OrganStage" : "MainStage"; }

}  // namespace timeline
