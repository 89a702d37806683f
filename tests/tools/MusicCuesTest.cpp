// The score's music times, read from the schedule's tables and cut to their slots, agree with the
// schedule itself: the third slot's beats are where the flash renderer hands back, the sixth
// slot's cut kinds are where the two renderers swap, and the fifth slot's view and variant changes
// are where the picture changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"
#include "tools/contentgen/MusicCues.h"

namespace {

constexpr double kJustBefore = -1e-4, kJustAfter = 1e-4;

timeline::SceneCall callAt(double t) {
  static const timeline::SpectrumTrack empty;
  std::optional<timeline::SceneCall> call = timeline::scheduleFor(t, empty);
  EXPECT_TRUE(call.has_value()) << t;
  return call.value_or(timeline::SceneCall{timeline::Renderer::openingScene, timeline::StageKind::Main, 0, 0});
}

// A slot's own ends count as inside it (the second scene's first hit is at its scene time 0, the
// credits' last card change at the slot's end); sentinels and entries past the slot drop out.
TEST(MusicCuesTest, SlotTimesKeepEntriesInsideTheSlotBothEndsIncluded) {
  const float music[] = {0.0f, 21.4f, 30.0f, 47.7f, 47.8f, 4000.0f};
  EXPECT_EQ(contentgen::slotTimes(music, 0.0, 2), (std::vector<double>{double(21.4f), 30.0, double(47.7f)}));
  const float scene[] = {0.0f, 10.0f, 26.4f, 500.0f};
  const double start = contentgen::slotStart(1);
  EXPECT_EQ(contentgen::slotTimes(scene, start, 2), (std::vector<double>{start, start + 10.0}));
  EXPECT_EQ(contentgen::slotTimes(scene, start, 3), (std::vector<double>{start + double(26.4f)}));
}

TEST(MusicCuesTest, ThirdSceneBeatsAreWhereTheScheduleEndsEachFlash) {
  const std::vector<double> beats = contentgen::thirdSceneBeatTimes();
  ASSERT_EQ(beats.size(), 14u);
  for (std::size_t k = 0; k < beats.size(); ++k) {
    double beat = beats[k];
    timeline::SceneCall before = callAt(beat - 0.25), after = callAt(beat + 0.01);
    EXPECT_EQ(before.renderer, timeline::Renderer::thirdFlash) << beat;
    EXPECT_EQ(before.beat, int(k) + 1) << beat;
    EXPECT_EQ(after.renderer, timeline::Renderer::thirdScene) << beat;
  }
}

TEST(MusicCuesTest, SixthCutKindsAreWhereTheScheduleSwapsRenderers) {
  const std::vector<double> cuts = contentgen::sixthSlotCutTimes();
  ASSERT_EQ(cuts.size(), 111u);
  int toSeventh = 0;
  for (std::size_t i = 0; i < cuts.size(); ++i) {
    timeline::Renderer before = callAt(cuts[i] + kJustBefore).renderer, after = callAt(cuts[i] + kJustAfter).renderer;
    switch (contentgen::sixthCutKind(i)) {
      case contentgen::SixthCut::toSeventh:
        ++toSeventh;
        EXPECT_EQ(before, timeline::Renderer::sixthScene) << cuts[i];
        EXPECT_EQ(after, timeline::Renderer::seventhScene) << cuts[i];
        break;
      case contentgen::SixthCut::toValley:
        EXPECT_EQ(before, timeline::Renderer::seventhScene) << cuts[i];
        EXPECT_EQ(after, timeline::Renderer::sixthScene) << cuts[i];
        break;
      case contentgen::SixthCut::sameRenderer:
        EXPECT_EQ(before, after) << cuts[i];
        break;
    }
    EXPECT_EQ(contentgen::seventhOnScreen(cuts[i] + kJustAfter), after == timeline::Renderer::seventhScene) << cuts[i];
  }
  EXPECT_EQ(toSeventh, 29);
}

TEST(MusicCuesTest, FifthViewAndVariantChangesAreWhereThePictureChanges) {
  const std::vector<double> views = contentgen::fifthViewChanges(), variants = contentgen::fifthVariantChanges();
  const std::vector<double> switches = contentgen::fifthSwitchTimes();
  EXPECT_EQ(switches.size(), 14u);
  for (double t : switches) {
    bool changes = callAt(t + kJustBefore).renderer != callAt(t + kJustAfter).renderer;
    bool listed = std::find(views.begin(), views.end(), t) != views.end();
    EXPECT_EQ(changes, listed) << t;
  }
  EXPECT_EQ(views.size(), 9u);
  EXPECT_EQ(variants.size(), 6u);
  for (double t : variants) EXPECT_NE(callAt(t + kJustBefore).variant, callAt(t + kJustAfter).variant) << t;
}

TEST(MusicCuesTest, EveryDrumCueFallsInsideTheSlotWhosePicturesItTimes) {
  // A cue outside its slot (the cut tables' last entries run into the next scene) would sound
  // on nothing the picture does.
  constexpr int kSlots[] = {2, 3, 4, 5, 6, 8, 8, 9, 10};
  const std::vector<contentgen::DrumCue> cues = contentgen::drumCues();
  ASSERT_EQ(cues.size(), std::size(kSlots));
  for (std::size_t i = 0; i < cues.size(); ++i) {
    for (double t : cues[i].times) {
      EXPECT_GE(t, contentgen::slotStart(kSlots[i] - 1)) << cues[i].table << " " << t;
      EXPECT_LE(t, contentgen::slotStart(kSlots[i])) << cues[i].table << " " << t;
    }
  }
}

}  // namespace
