// The third scene's two pulse generators over one run, on the trace device: generator A fires on
// the first frame of the slot and after 21.2 s, B once after each of its times; seeking back fires
// neither again. One test in its own binary, so the generators start as the program starts.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/Renderers.h"
#include "scenes/ThirdScene.h"
#include "tests/support/FrameReplay.h"
#include "timeline/SpectrumTrack.h"

namespace {

using namespace testsupport;

constexpr float kPi = 3.1415927f;
constexpr float kRateA = 4.712389f;
constexpr float kRateB = 2.984513f;

Draw distortion(float a) {
  return drawDirect([a](Show& show) { scenes::thirdScene(*show.organ, a, 47.7f + a); }).drawsOf("distortionGrid").at(0);
}

TEST(ThirdScenePulses, WalkThroughTheSlotWithSeeksBack) {
  ASSERT_EQ(scenes::thirdScenePulseA().nextIndex(), 0u) << "nothing drew the third scene before";
  ASSERT_EQ(scenes::thirdScenePulseB().nextIndex(), 0u);

  // The ring swells from 0 on the slot's first frame and reaches pi after 0.667 s.
  EXPECT_EQ(distortion(0.05f).value("anim"), 0.0f);
  EXPECT_NEAR(distortion(0.3f).value("anim"), kRateA * 0.25f, 1e-5f);
  EXPECT_EQ(distortion(0.8f).value("anim"), kPi);
  EXPECT_EQ(distortion(2.9f).pass, 0);

  // B fires on the first frame past 2.9 s: the waves start at amplitude 0 and swell with sin(v).
  Draw waves = distortion(3.0f);
  EXPECT_EQ(waves.pass, 1);
  EXPECT_EQ(waves.value("amplitude"), 0.0f);
  EXPECT_NEAR(distortion(3.5f).value("amplitude"), 0.05f * std::sin(kRateB * 0.5f), 1e-6f);

  // Seeking back fires nothing: A stays at pi, B keeps its trigger at 3.0.
  EXPECT_EQ(distortion(2.0f).value("anim"), kPi);
  EXPECT_NEAR(distortion(3.2f).value("amplitude"), 0.05f * std::sin(kRateB * 0.2f), 1e-6f);
  EXPECT_EQ(scenes::thirdScenePulseA().nextIndex(), 1u);

  // 8.2 s fires B at 9.0; back at 5.0 the phase is 0 (before the trigger), so no waves.
  EXPECT_EQ(distortion(9.0f).value("amplitude"), 0.0f);
  EXPECT_EQ(distortion(5.0f).value("amplitude"), 0.0f);
  EXPECT_NEAR(distortion(9.5f).value("amplitude"), 0.05f * std::sin(kRateB * 0.5f), 1e-6f);

  // Past 21.2 s A fires once more: the ring swells again, and not after another seek back.
  EXPECT_EQ(distortion(21.5f).value("anim"), 0.0f);
  EXPECT_NEAR(distortion(21.6f).value("anim"), kRateA * 0.1f, 1e-4f);
  distortion(0.5f);
  EXPECT_NEAR(distortion(21.65f).value("anim"), kRateA * 0.15f, 1e-4f);
  EXPECT_EQ(scenes::thirdScenePulseA().nextIndex(), 2u);
  EXPECT_EQ(scenes::thirdScenePulseA().triggerTime(), 21.5f);
}

}  // namespace
