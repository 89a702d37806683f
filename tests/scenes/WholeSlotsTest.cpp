// The first two slots played through on the trace device: every frame comes from one of the three
// renderers, shows no message, keeps its scene and effect brackets balanced, returns to the back
// buffer, draws the frame overlay last and presents once.
#include <gtest/gtest.h>

#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

TEST(OpeningSlots, EveryFrameEndsWithTheOverlayAndOnePresent) {
  Show& show = Show::instance();
  const unsigned invalidBefore = show.traceDevice().invalidCalls();
  int flashes = 0;
  for (int frameIndex = 1; frameIndex <= 1431; ++frameIndex) {
    const double t = frameIndex / 30.0;
    Frame frame = frameAt(t);
    // The first slot ends at the 32-bit 21.4, a hair below the decimal one.
    const std::string expected = t <= static_cast<double>(21.4f) ? "opening" : "secondScene";
    ASSERT_EQ(frame.renderer.compare(0, expected.size(), expected), 0) << t << " drew " << frame.renderer;
    flashes += frame.renderer == "openingFlash";
    expectOverlayLastAndOnePresent(frame, std::to_string(t));
    EXPECT_EQ(frame.count("beginScene"), frame.count("endScene")) << t;
    EXPECT_EQ(frame.count("effectBegin"), frame.count("effectEnd")) << t;
    EXPECT_EQ(frame.count("effectBegin"), frame.count("beginPass")) << t;
  }
  EXPECT_GT(flashes, 0) << "the opening's kicks pick the flash on some frames";
  EXPECT_EQ(show.traceDevice().invalidCalls(), invalidBefore) << "a call the device refused";
}

}  // namespace
