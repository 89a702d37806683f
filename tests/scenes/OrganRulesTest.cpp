// The third scene, its flash variant and the fourth scene by their pure rules: pulse generators,
// camera cuts, slides and eyes of the beats, the spectrum history, box lifts and the flash weight.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>

#include "geometry/CubeGrid.h"
#include "scenes/FourthScene.h"
#include "scenes/ThirdFlash.h"
#include "scenes/ThirdScene.h"

namespace {

constexpr float kPi = 3.1415927f;
float after(float t) { return std::nextafter(t, 1e9f); }

// A generator fires on the first update past an entry, once for all the entries passed, never
// again for them (a backward seek included), and never once its table is used up.
TEST(ThirdScenePulses, FireOncePerPassedEntryAndNeverPastTheTable) {
  const std::array<float, 6> table = {2.9f, 8.2f, 13.5f, 19.0f, 20.0f, 21.0f};
  scenes::PulseGenerator pulse(table, 2.984513f);
  EXPECT_EQ(pulse.update(2.9f), kPi) << "an entry equal to the time is not passed yet";
  EXPECT_EQ(pulse.update(3.0f), 0.0f);
  EXPECT_NEAR(pulse.update(3.5f), 2.984513f * 0.5f, 1e-5f);
  EXPECT_EQ(pulse.update(5.0f), kPi) << "the phase stops at pi";
  EXPECT_EQ(pulse.update(2.0f), 0.0f) << "before the trigger time the phase is 0";
  EXPECT_EQ(pulse.triggerTime(), 3.0f) << "a backward seek does not fire";
  EXPECT_EQ(pulse.update(19.5f), 0.0f) << "three entries passed at once fire once";
  EXPECT_EQ(pulse.nextIndex(), 4u);
  pulse.update(20.5f);
  pulse.update(21.5f);
  EXPECT_EQ(pulse.update(30.0f), kPi) << "a used-up table never fires";
  EXPECT_EQ(pulse.triggerTime(), 21.5f);
  EXPECT_EQ(pulse.nextIndex(), 6u);
  scenes::PulseGenerator empty({}, 1.0f);
  EXPECT_EQ(empty.update(10.0f), kPi);
}

// Path 1 up to 1.27 s (path 0 only from 4.15 s), and after 13.37 s straight from 2 to 0. A cut
// time still belongs to the shot before it. The path time never wraps inside the slot.
TEST(ThirdSceneCamera, PathOfEveryCutInterval) {
  const float cuts[] = {0.0f,   1.27f,  2.7f,   4.15f,  5.46f,  6.72f,  8.04f,  9.38f,
                        10.73f, 12.04f, 13.37f, 14.77f, 16.06f, 17.41f, 18.75f, 20.06f};
  const int paths[] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 0, 1, 2, 3, 0, 1};
  EXPECT_EQ(scenes::thirdScenePath(-1.0f), 0);
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(scenes::thirdScenePath(cuts[k]), paths[k]) << cuts[k];
    EXPECT_EQ(scenes::thirdScenePath(after(cuts[k])), paths[k + 1]) << cuts[k];
  }
  for (float a = 0.01f; a <= 4.15f; a += 0.01f) EXPECT_NE(scenes::thirdScenePath(a), 0) << a;
  EXPECT_NEAR(scenes::thirdScenePathTime(21.7f), 30.38f, 1e-4f);
  EXPECT_NEAR(scenes::thirdScenePathTime(30.0f), 2.0f, 1e-4f);
}

// Slides 1-6, 1-6, 1, 2 on the 14 beats, each from the eye of its table; beat numbers off the
// table still name a slide.
TEST(ThirdFlashRules, SlideAndEyeOfEveryBeat) {
  const int slides[] = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1};
  const D3DXVECTOR3 eyes[] = {
      {9.722f, 29.372f, -41.133f},   {8.902f, 47.411f, -46.150f},   {8.542f, 36.414f, -31.850f},
      {-6.127f, 42.578f, -52.963f},  {10.126f, 46.588f, -32.904f},  {12.530f, 30.126f, -27.861f},
      {-13.684f, 32.267f, -43.088f}, {6.714f, 35.613f, -40.820f},   {-1.045f, 29.090f, -28.088f},
      {8.269f, 38.537f, -30.928f},   {-10.113f, 52.022f, -29.431f}, {-10.963f, 57.053f, -48.606f},
      {-9.048f, 32.638f, -32.831f},  {10.861f, 29.706f, -52.860f}};
  for (int n = 1; n <= 14; ++n) {
    EXPECT_EQ(scenes::thirdFlashSlide(n), slides[n - 1]) << n;
    const D3DXVECTOR3 d = scenes::thirdFlashEye(n) - eyes[n - 1];
    EXPECT_LT(std::fabs(d.x) + std::fabs(d.y) + std::fabs(d.z), 3e-3f) << n;
  }
  for (int n : {0, -1, -40, 15, 1000, 1 << 30}) {
    EXPECT_GE(scenes::thirdFlashSlide(n), 0) << n;
    EXPECT_LT(scenes::thirdFlashSlide(n), 6) << n;
  }
}

// A push needs the key position more than 0.1 past the last push; it shifts everything back one
// place and drops the oldest. A key position behind the last push (a backward seek) waits.
TEST(FourthSceneHistory, PushesAtMostEveryTenthOfAKeyAndWaitsAfterASeekBack) {
  std::array<float, 41> history{};
  float last = 0.0f;
  EXPECT_FALSE(scenes::pushSpectrumHistory(history, last, 0.1f, 5.0f)) << "exactly 0.1 is not more";
  EXPECT_TRUE(scenes::pushSpectrumHistory(history, last, 0.11f, 1.0f));
  EXPECT_FALSE(scenes::pushSpectrumHistory(history, last, 0.2f, 7.0f));
  for (int v = 2; v <= 42; ++v) EXPECT_TRUE(scenes::pushSpectrumHistory(history, last, 0.2f * v, float(v)));
  EXPECT_EQ(history[0], 42.0f);
  EXPECT_EQ(history[40], 2.0f) << "the oldest value dropped out";
  const std::array<float, 41> before = history;
  EXPECT_FALSE(scenes::pushSpectrumHistory(history, last, 1.0f, 99.0f));
  EXPECT_FALSE(scenes::pushSpectrumHistory(history, last, last + 0.05f, 99.0f));
  EXPECT_EQ(history, before);
  EXPECT_TRUE(scenes::pushSpectrumHistory(history, last, last + 0.2f, 99.0f));
}

// Each of the field's 40 rows reads its own history entry, the sway follows x, and centres off
// the field never index past the history.
TEST(FourthSceneHistory, EveryRowOfTheFieldReadsItsOwnEntry) {
  std::array<float, 41> history{};
  for (int k = 0; k < 41; ++k) history[k] = float(k);
  const std::vector<geometry::CubeVertex> field = geometry::cubeGridVertices(10, 10, 10, 40, 40);
  std::map<float, int> boxesPerLift;
  for (std::size_t box = 0; box < 1600; ++box)
    ++boxesPerLift[scenes::fourthSceneBoxLift(history, 0.0f, field[box * 24].binormal.z, 0.0f)];
  ASSERT_EQ(boxesPerLift.size(), 40u);
  EXPECT_EQ(boxesPerLift.begin()->first, 60.0f);
  EXPECT_EQ(boxesPerLift.rbegin()->first, 99.0f);
  for (const auto& [lift, boxes] : boxesPerLift) EXPECT_EQ(boxes, 40) << lift;
  EXPECT_NEAR(scenes::fourthSceneBoxLift(history, 50.0f, -195.0f, 2.0f), 60.0f + 7.0f * std::sin(3.0f), 1e-5f);
  EXPECT_EQ(scenes::fourthSceneBoxLift(history, 0.0f, 900.0f, 0.0f), 100.0f);
  EXPECT_EQ(scenes::fourthSceneBoxLift(history, 0.0f, -900.0f, 0.0f), 60.0f);
  EXPECT_EQ(scenes::fourthSceneBoxLift(history, 0.0f, std::nanf(""), 0.0f), 60.0f);
}

// r4Camera10 up to and including 1.27 s, back to index 0 for 13.37 to 14.77 s, r4Camera10 after
// 20.06 s; the camera time wraps only past 50.
TEST(FourthSceneCamera, CameraOfEveryBeatInterval) {
  const float cuts[] = {1.27f,  2.7f,   4.15f,  5.46f,  6.72f,  8.04f,  9.38f, 10.73f,
                        12.04f, 13.37f, 14.77f, 16.06f, 17.41f, 18.75f, 20.06f};
  const int cameras[] = {1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 0, 1, 2, 3, 0, 1};
  EXPECT_EQ(scenes::fourthSceneCamera(0.0f), 0);
  EXPECT_EQ(scenes::fourthSceneCamera(0.01f), 1);
  for (int k = 0; k < 15; ++k) {
    EXPECT_EQ(scenes::fourthSceneCamera(cuts[k]), cameras[k]) << cuts[k];
    EXPECT_EQ(scenes::fourthSceneCamera(after(cuts[k])), cameras[k + 1]) << cuts[k];
  }
  EXPECT_EQ(scenes::fourthSceneCameraTime(25.0f), 50.0f);
  EXPECT_NEAR(scenes::fourthSceneCameraTime(30.0f), 10.0f, 1e-5f);
}

// 1 a second or more before a beat, 0 on it, the gap to the next beat just after it, 1 after the last.
TEST(FourthSceneFlash, TimeToTheNextBeatClampedAndOneAfterTheLast) {
  EXPECT_EQ(scenes::fourthSceneFlash(69.4f), 1.0f);
  EXPECT_NEAR(scenes::fourthSceneFlash(70.0f), 0.45f, 1e-5f);
  EXPECT_EQ(scenes::fourthSceneFlash(70.45f), 0.0f);
  EXPECT_NEAR(scenes::fourthSceneFlash(after(70.45f)), 0.66f, 1e-5f);
  EXPECT_EQ(scenes::fourthSceneFlash(90.82f), 0.0f);
  EXPECT_EQ(scenes::fourthSceneFlash(after(90.82f)), 1.0f);
}

}  // namespace
