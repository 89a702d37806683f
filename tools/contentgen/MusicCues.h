// The show's timed events the soundtrack plays on, for the whole score and its tests. The times
// come from the schedule's tables (timeline/ScheduleTables.h) and the scenes' own, turned into
// music times (seconds); each list keeps only the entries inside the slot whose pictures the
// table times, so sentinels and entries past the slot drop out.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace contentgen {

// Slot k covers music times (slotStart(k − 1), slotStart(k)], k = 1 … 11.
double slotStart(int k);

// The entries of `table` moved by `offset`, as music times, that lie in slot `slot` (both ends
// included), in table order.
std::vector<double> slotTimes(std::span<const float> table, double offset, int slot);

// Music times of the drum hits, one list per table the pictures time things by.
std::vector<double> openingCardTimes();
std::vector<double> secondSceneHitTimes();
std::vector<double> secondSceneCutTimes();
std::vector<double> thirdSceneBeatTimes();
std::vector<double> thirdSceneCutTimes();
std::vector<double> fourthSceneCameraTimes();
std::vector<double> fourthSceneFlashTimes();
std::vector<double> fifthSceneBeatTimes();
std::vector<double> sixthSlotCutTimes();  // the cut table's entries inside the sixth slot
std::vector<double> eighthSceneCutTimes();   // each 0.1 s before its entry, when the picture cuts
std::vector<double> eighthSceneBeatTimes();  // each 0.3 s before its entry, when the beat is taken
std::vector<double> ninthSceneCutTimes();
std::vector<double> creditsCardTimes();

// What an entry of the sixth slot's cut table does to the picture.
enum class SixthCut { toSeventh, toValley, sameRenderer };
SixthCut sixthCutKind(std::size_t index);
// Whether the seventh renderer is on screen at a music time inside the sixth slot.
bool seventhOnScreen(double t);
// Shot changes seen on screen in the sixth slot: the valley's own cuts while it shows, the
// seventh renderer's while it shows.
std::vector<double> sixthSlotShotChanges();

// The fifth slot's view switches, those among them that change the picture (the others leave it
// as it was), and its camera variant changes.
std::vector<double> fifthSwitchTimes();
std::vector<double> fifthViewChanges();
std::vector<double> fifthVariantChanges();

// Every table the drums land on, with a name for messages.
struct DrumCue {
  const char* table;
  std::vector<double> times;
};
std::vector<DrumCue> drumCues();

}  // namespace contentgen
