// The schedule's rules over the tables of timeline/ScheduleTables.h. Music times arrive as 64-bit
// floats; table entries are 32-bit and are widened for every comparison, an entry counting as
// passed only when strictly less than the music time. Scene times are the 32-bit music time minus
// a 32-bit constant, except the two scaled ones, computed in double from the 64-bit time and then
// narrowed.
#include "timeline/Schedule.h"

#include <cmath>
#include <span>

#include "timeline/ScheduleTables.h"
#include "timeline/SpectrumTrack.h"

namespace timeline {
namespace {

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
