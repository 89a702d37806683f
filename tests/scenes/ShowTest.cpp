// The whole timeline on the trace device with the generated content.
#include <gtest/gtest.h>

#include <set>

#include "app/StartUp.h"
#include "tests/support/FrameReplay.h"

namespace {

TEST(Show, EveryAssetLoadsWithoutAMessage) {
  auto& show = testsupport::Show::instance();
  EXPECT_TRUE(show.startUpMessages.empty()) << show.startUpMessages.front();
}

// One frame every half second from the start to the end of the music: all fourteen renderers
// run, no frame shows a message box or makes a call the device refuses, and each scene frame
// presents exactly once.
TEST(Show, TheWholeTimelineDrawsEveryRenderer) {
  auto& show = testsupport::Show::instance();
  std::set<std::string> renderers;
  unsigned invalidBefore = show.traceDevice().invalidCalls();
  for (double t = 0.0; t <= app::kShowEnd; t += 0.5) {
    const testsupport::Frame frame = testsupport::frameAt(t);
    EXPECT_TRUE(frame.messages.empty()) << t;
    if (frame.renderer.empty()) continue;
    renderers.insert(frame.renderer);
    EXPECT_EQ(frame.count("present"), 1) << t;
  }
  // The flashes of the opening and the third scene need loud beats; the rest are on the clock.
  for (const char* name : {"openingScene", "secondScene", "thirdScene", "thirdFlash", "fourthScene", "fifthSceneA",
                           "fifthSceneB", "sixthScene", "seventhScene", "eighthScene", "ninthScene", "creditsScene",
                           "closingScene"})
    EXPECT_TRUE(renderers.count(name)) << name;
  EXPECT_EQ(show.traceDevice().invalidCalls(), invalidBefore);
}

TEST(Show, FifthSceneAlternateViewAt93) {
  auto lines = testsupport::Show::instance().frameAt(93.0);
  auto scenes = testsupport::eventsOf(lines, "scene");
  ASSERT_EQ(scenes.size(), 1u);
  EXPECT_EQ(scenes[0], R"({"ev":"scene","renderer":"fifthSceneB","stage":"MainStage","args":[2.0,93.0,0]})");
}

// The swarm: particle 0 at the lattice noise of 0, particle 9999 at the top of the column; the
// selection within radius 2000 holds all of them.
TEST(Show, SwarmPlacementAndSelection) {
  auto& main = *testsupport::Show::instance().main;
  ASSERT_EQ(main.swarmSprites.positions.size(), 10000u);
  EXPECT_FLOAT_EQ(main.swarmSprites.positions[9999].y, 39.996f);
  EXPECT_EQ(main.swarmSprites.positions[0].y, 0.0f);
  EXPECT_EQ(main.swarmSelection.indices.size(), 10000u);
  EXPECT_EQ(main.swarmSelection.records.size(), 10000u);
  EXPECT_EQ(main.swarmSelection.indices[9999], 9999u);
}

}  // namespace
