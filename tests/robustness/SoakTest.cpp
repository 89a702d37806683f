// The whole show on the trace device with the generated content: one frame every 1/30 s from 0 to
// past the end of the music, then seeks back and forth across every slot boundary, as the O and I
// keys and a jump across the timeline would ask. Run under the sanitizers, this is the whole-show
// soak: any read out of bounds or undefined operation in a scene ends it with a report.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/robustness/ShowRun.h"

namespace {

constexpr double kFrameStep = 1.0 / 30.0;
using app::kShowEnd;

// What every frame must do, whatever its time: no message box, no call the device refuses, one
// present for a scene and none for the default frame, and no value an effect cannot use (the
// frame trace writes a NaN or an infinity as null).
class FrameChecker {
public:
  explicit FrameChecker(robustness::ShowRun& run) : run_(run), refused_(run.invalidCalls()) {}

  void draw(double t) {
    robustness::FrameResult frame = run_.frame(t);
    ++frames_;
    EXPECT_TRUE(frame.messageBoxes.empty()) << "at " << t << ": " << frame.messageBoxes.front();
    EXPECT_EQ(frame.presents, frame.scene ? 1u : 0u) << "at " << t;
    EXPECT_EQ(run_.invalidCalls(), refused_) << "the device refused a call at " << t;
    refused_ = run_.invalidCalls();
    for (const std::string& line : frame.nonFiniteParameters)
      if (++nonFinite_ <= 5) ADD_FAILURE() << "a value that is not a finite number at " << t << ": " << line;
  }

  int frames() const { return frames_; }

private:
  robustness::ShowRun& run_;
  unsigned refused_;
  int frames_ = 0;
  int nonFinite_ = 0;
};

TEST(Soak, EveryThirtiethOfASecondOfTheWholeShow) {
  robustness::ShowRun run(REDKITE_CONTENT_DIR);
  ASSERT_TRUE(run.started());
  EXPECT_TRUE(run.startUpMessages.empty()) << run.startUpMessages.front();
  FrameChecker checker(run);
  for (int k = 0; k * kFrameStep <= kShowEnd; ++k) checker.draw(k * kFrameStep);
  EXPECT_EQ(checker.frames(), 8431);
}

// Seeking: 0.1 s steps forward and back through each slot boundary (the O and I keys), frames on
// both sides of every boundary, then jumps from each boundary to every other one and back, so each
// scene is entered from any other with whatever state the previous one left.
TEST(Soak, SeeksBackAndForthAcrossEverySlotBoundary) {
  robustness::ShowRun run(REDKITE_CONTENT_DIR);
  ASSERT_TRUE(run.started());
  FrameChecker checker(run);
  std::vector<double> boundaries(std::begin(timeline::kDemoTimeline), std::end(timeline::kDemoTimeline) - 1);
  boundaries.push_back(280.7);  // the end of the music
  for (double b : boundaries) {
    for (int step = -10; step <= 10; ++step) checker.draw(b + step * 0.1);
    for (int step = 10; step >= -10; --step) checker.draw(b + step * 0.1);
    for (double eps : {1e-4, -1e-4, 0.0, kFrameStep, -kFrameStep}) checker.draw(b + eps);
  }
  for (double from : boundaries) {
    for (double to : boundaries) {
      checker.draw(from + kFrameStep);
      checker.draw(to - kFrameStep);
    }
  }
  checker.draw(0.0);
  EXPECT_GT(checker.frames(), 600);
}

}  // namespace
