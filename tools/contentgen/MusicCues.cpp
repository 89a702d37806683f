// Music times of the show's timed events.
#include "tools/contentgen/MusicCues.h"

#include <span>

#include "timeline/Schedule.h"

namespace contentgen {
namespace {

std::vector<double> shifted(std::span<const double> table, double offset) {
  std::vector<double> times;
  for (double e : table) times.push_back(e + offset);
  return times;
}

// The renderer chosen after `count` cut-table entries have passed: 1 is the seventh renderer.
int sixthRendererAfter(std::size_t count) { return timeline::wrapBy1_6(int(count)); }

}  // namespace

double slotStart(int k) { return double(timeline::kDemoTimeline[k]); }

std::vector<double> secondSceneHitTimes() { return shifted(kSecondSceneHits, slotStart(1)); }
std::vector<double> secondSceneCutTimes() { return shifted(kSecondSceneCuts, slotStart(1)); }
std::vector<double> thirdSceneCutTimes() { return shifted(kThirdSceneCuts, slotStart(2)); }
std::vector<double> fourthSceneCameraTimes() { return shifted(kFourthSceneCameraBeats, slotStart(3)); }
std::vector<double> eighthSceneCutTimes() { return shifted(kEighthSceneCuts, -kEighthCutLead); }
std::vector<double> eighthSceneBeatTimes() { return shifted(kEighthSceneBeats, -kEighthBeatLead); }

std::vector<double> sixthSlotCutTimes() {
  std::vector<double> times;
  for (double e : kSixthCutTimes) {
    if (e > slotStart(5) && e <= slotStart(6)) times.push_back(e);
  }
  return times;
}

SixthCut sixthCutKind(std::size_t index) {
  int before = sixthRendererAfter(index), after = sixthRendererAfter(index + 1);
  if (before == after) return SixthCut::sameRenderer;
  return after == 1 ? SixthCut::toSeventh : SixthCut::toValley;
}

bool seventhOnScreen(double t) {
  std::size_t passed = 0;
  while (passed < std::size(kSixthCutTimes) && kSixthCutTimes[passed] < t) ++passed;
  return sixthRendererAfter(passed) == 1;
}

std::vector<double> sixthSlotShotChanges() {
  std::vector<double> times;
  for (double u : kValleyCuts) {
    double t = slotStart(5) + u / kValleyRate;
    if (t < slotStart(6) && !seventhOnScreen(t)) times.push_back(t);
  }
  for (double u : kSeventhSceneCuts) {
    double t = slotStart(5) + u;
    if (t < slotStart(6) && seventhOnScreen(t)) times.push_back(t);
  }
  return times;
}

std::vector<double> fifthViewChanges() {
  std::vector<double> times;
  for (std::size_t i = 0; i < std::size(kFifthSwitchTimes); ++i) {
    if (timeline::wrapBy1_6(int(i)) != timeline::wrapBy1_6(int(i + 1))) times.push_back(kFifthSwitchTimes[i]);
  }
  return times;
}

std::vector<double> fifthVariantChanges() { return shifted(kFifthVariantTimes, slotStart(4)); }

std::vector<DrumCue> drumCues() {
  return {
      {"second scene hits", secondSceneHitTimes()},
      {"third scene beats", {std::begin(kThirdSceneBeats), std::end(kThirdSceneBeats)}},
      {"fourth scene flash beats", {std::begin(kFourthSceneFlashBeats), std::end(kFourthSceneFlashBeats)}},
      {"fifth scene beats", {std::begin(kFifthSceneBeats), std::end(kFifthSceneBeats)}},
      {"sixth slot cuts", sixthSlotCutTimes()},
      {"eighth scene cuts", eighthSceneCutTimes()},
      {"eighth scene beats", eighthSceneBeatTimes()},
      {"ninth scene cuts", {std::begin(kNinthSceneCuts), std::end(kNinthSceneCuts)}},
      {"credits card changes", {std::begin(kCreditsCardTimes), std::end(kCreditsCardTimes)}},
  };
}

}  // namespace contentgen
