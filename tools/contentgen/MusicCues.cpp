// Music times of the show's timed events, read from the schedule's and the scenes' tables.
#include "tools/contentgen/MusicCues.h"

#include "scenes/CreditsScene.h"
#include "scenes/EighthScene.h"
#include "scenes/FifthScene.h"
#include "scenes/FourthScene.h"
#include "scenes/NinthScene.h"
#include "scenes/OpeningScene.h"
#include "scenes/SecondScene.h"
#include "scenes/SeventhScene.h"
#include "scenes/SixthScene.h"
#include "scenes/ThirdScene.h"
#include "timeline/Schedule.h"
#include "timeline/ScheduleTables.h"

namespace contentgen {
namespace {

bool inSlot(double t, int slot) { return t >= slotStart(slot - 1) && t <= slotStart(slot); }

// The renderer chosen after `count` cut-table entries have passed: 1 is the seventh renderer.
int sixthRendererAfter(std::size_t count) { return timeline::wrapBy1_6(int(count)); }

}  // namespace

double slotStart(int k) { return double(timeline::kDemoTimeline[k]); }

std::vector<double> slotTimes(std::span<const float> table, double offset, int slot) {
  std::vector<double> times;
  for (float e : table) {
    double t = double(e) + offset;
    if (inSlot(t, slot)) times.push_back(t);
  }
  return times;
}

std::vector<double> openingCardTimes() { return slotTimes(scenes::kOpeningCardTimes, 0.0, 1); }
std::vector<double> secondSceneHitTimes() { return slotTimes(scenes::kSecondSceneHits, slotStart(1), 2); }
std::vector<double> secondSceneCutTimes() { return slotTimes(scenes::kSecondSceneCuts, slotStart(1), 2); }
std::vector<double> thirdSceneBeatTimes() { return slotTimes(timeline::kThirdSceneBeats, 0.0, 3); }
std::vector<double> thirdSceneCutTimes() { return slotTimes(scenes::kThirdSceneCuts, slotStart(2), 3); }
std::vector<double> fourthSceneCameraTimes() { return slotTimes(scenes::kFourthSceneCuts, slotStart(3), 4); }
std::vector<double> fourthSceneFlashTimes() { return slotTimes(scenes::kFourthSceneFlashes, 0.0, 4); }
std::vector<double> fifthSceneBeatTimes() { return slotTimes(scenes::kFifthSceneBeats, 0.0, 5); }
std::vector<double> sixthSlotCutTimes() { return slotTimes(timeline::kSixthCutTimes, 0.0, 6); }
std::vector<double> eighthSceneCutTimes() { return slotTimes(scenes::kEighthSceneCuts, -double(scenes::kEighthCutLead), 8); }
std::vector<double> eighthSceneBeatTimes() {
  return slotTimes(scenes::kEighthSceneBeats, -double(scenes::kEighthBeatLead), 8);
}
std::vector<double> ninthSceneCutTimes() { return slotTimes(scenes::kNinthSceneCuts, 0.0, 9); }
std::vector<double> creditsCardTimes() { return slotTimes(scenes::kCreditsCardTimes, 0.0, 10); }

SixthCut sixthCutKind(std::size_t index) {
  int before = sixthRendererAfter(index), after = sixthRendererAfter(index + 1);
  if (before == after) return SixthCut::sameRenderer;
  return after == 1 ? SixthCut::toSeventh : SixthCut::toValley;
}

bool seventhOnScreen(double t) {
  std::size_t passed = 0;
  while (passed < timeline::kSixthCutTimes.size() && double(timeline::kSixthCutTimes[passed]) < t) ++passed;
  return sixthRendererAfter(passed) == 1;
}

std::vector<double> sixthSlotShotChanges() {
  // The valley runs on u′ = (t − slot start) × rate, the seventh renderer on u = t − slot start.
  const double start = double(timeline::kSixthSlotStart), rate = double(timeline::kSixthSceneRate);
  std::vector<double> times;
  for (float u : scenes::kSixthSceneCuts) {
    double t = start + double(u) / rate;
    if (inSlot(t, 6) && !seventhOnScreen(t)) times.push_back(t);
  }
  for (double t : slotTimes(scenes::kSeventhSceneCuts, start, 6)) {
    if (seventhOnScreen(t)) times.push_back(t);
  }
  return times;
}

std::vector<double> fifthSwitchTimes() { return slotTimes(timeline::kFifthSwitchTimes, 0.0, 5); }

std::vector<double> fifthViewChanges() {
  // After i switches the schedule shows view wrapBy1_6(i).
  std::vector<double> times;
  for (std::size_t i = 0; i < timeline::kFifthSwitchTimes.size(); ++i) {
    double t = double(timeline::kFifthSwitchTimes[i]);
    if (inSlot(t, 5) && timeline::wrapBy1_6(int(i)) != timeline::wrapBy1_6(int(i + 1))) times.push_back(t);
  }
  return times;
}

std::vector<double> fifthVariantChanges() {
  return slotTimes(timeline::kFifthVariantTimes, double(timeline::kFifthSlotStart), 5);
}

std::vector<DrumCue> drumCues() {
  return {
      {"second scene hits", secondSceneHitTimes()},
      {"third scene beats", thirdSceneBeatTimes()},
      {"fourth scene flash beats", fourthSceneFlashTimes()},
      {"fifth scene beats", fifthSceneBeatTimes()},
      {"sixth slot cuts", sixthSlotCutTimes()},
      {"eighth scene cuts", eighthSceneCutTimes()},
      {"eighth scene beats", eighthSceneBeatTimes()},
      {"ninth scene cuts", ninthSceneCutTimes()},
      {"credits card changes", creditsCardTimes()},
  };
}

}  // namespace contentgen
