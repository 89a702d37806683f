// The fourth scene's spectrum history over one run, on the trace device: a push at most every
// 1/30 s of music, newest first, and after a backward seek no push until the music passes the
// last push again, the boxes still swaying on the frozen rows. One test in its own binary, so the
// history starts as the program starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "geometry/CubeGrid.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"
#include "timeline/SpectrumTrack.h"
#include "timeline/Stages.h"

namespace {

using namespace testsupport;

void fourth(float b) {
  drawDirect([b](Show& show) { scenes::fourthScene(*show.organ, b - 69.4f, b); });
}

// The lift of the field's first box (row 0, x = -195) as the vertex buffer holds it.
float firstBoxLift() {
  timeline::OrganStage& stage = *Show::instance().organ;
  void* data = nullptr;
  stage.cubeGrid.vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY);
  const float lifted = static_cast<const geometry::CubeVertex*>(data)[0].position.y;
  stage.cubeGrid.vertexBuffer->Unlock();
  return lifted - reinterpret_cast<const geometry::CubeVertex*>(stage.cubeVertexCopy.data())[0].position.y;
}

TEST(FourthSceneHistory, PushesOncePerThirtiethAndFreezesAfterASeekBack) {
  Show::instance();  // start-up loads the spectrum and clears the history
  auto& history = timeline::spectrumHistory();
  ASSERT_TRUE(std::all_of(history.begin(), history.end(), [](float v) { return v == 0.0f; }));
  const float first = 60.0f * timeline::spectrumTrack().band(1, 82.0f);
  const float second = 60.0f * timeline::spectrumTrack().band(1, 82.04f);
  ASSERT_NE(first, second) << "band 1 must move between these two times for the test to see the order";

  fourth(82.0f);
  EXPECT_EQ(history[0], first);
  EXPECT_EQ(history[1], 0.0f);
  fourth(82.02f);  // 0.06 key positions later: no push
  EXPECT_EQ(history[0], first);
  EXPECT_EQ(history[1], 0.0f);
  fourth(82.04f);  // 0.12 later: push, the older value one row back
  EXPECT_EQ(history[0], second);
  EXPECT_EQ(history[1], first);

  // Back to 75 s: nothing is pushed, the rows keep their values and only the sway moves.
  const std::array<float, 41> frozen = history;
  fourth(75.0f);
  EXPECT_EQ(history, frozen);
  EXPECT_NEAR(firstBoxLift(), 60.0f + frozen[0] + 7.0f * std::sin(3.0f * 75.0f + 0.02f * -195.0f), 2e-3f);
  fourth(82.05f);  // 0.03 past the last push: still nothing
  EXPECT_EQ(history, frozen);
  fourth(82.1f);  // 0.18 past it: the history runs again
  EXPECT_EQ(history[0], 60.0f * timeline::spectrumTrack().band(1, 82.1f));
  EXPECT_EQ(history[1], second);
  EXPECT_EQ(history[2], first);
}

}  // namespace
