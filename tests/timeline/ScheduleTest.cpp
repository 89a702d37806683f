#include "timeline/Schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "tests/support/TempDir.h"
#include "timeline/SpectrumTrack.h"

namespace {

using timeline::Renderer;

// A spectrum track whose band 0 holds `value` everywhere (three bands, a minute of records).
timeline::SpectrumTrack constantSpectrum(float value) {
  testsupport::TempDir dir;
  constexpr std::uint32_t kRecords = 1800, kBands = 3;
  std::string bytes(8 + kRecords * kBands * 4, '\0');
  std::memcpy(bytes.data(), &kRecords, 4);
  std::memcpy(bytes.data() + 4, &kBands, 4);
  for (std::uint32_t i = 0; i < kRecords * kBands; ++i) std::memcpy(bytes.data() + 8 + i * 4, &value, 4);
  timeline::SpectrumTrack track;
  EXPECT_TRUE(track.load(dir.write("fft.txt", bytes).c_str()));
  return track;
}

const timeline::SpectrumTrack& quiet() {
  static timeline::SpectrumTrack track = constantSpectrum(0.0f);
  return track;
}

Renderer rendererAt(double t) { return timeline::scheduleFor(t, quiet())->renderer; }

TEST(Schedule, WrapTablesMatchTheDoublePrecisionRule) {
  const int by36[17] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 0, 1, 2, 3, 0, 1};
  const int by16[17] = {0, 1, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0};
  for (int n = 0; n <= 16; ++n) {
    EXPECT_EQ(timeline::wrapBy3_6(n), by36[n]) << n;
    EXPECT_EQ(timeline::wrapBy1_6(n), by16[n]) << n;
  }
  // Past 8 the wrap by 1.6 repeats with period 8: 1 exactly when n mod 8 is 3 or 6.
  for (int n = 8; n < 120; ++n) EXPECT_EQ(timeline::wrapBy1_6(n), (n % 8 == 3 || n % 8 == 6) ? 1 : 0) << n;
}

TEST(Schedule, SlotBoundariesBelongToTheEarlierSlot) {
  const double starts[] = {21.4f, 47.7f, 69.4f, 91.0f, 119.8f, 154.64f, 176.0f, 220.0f, 253.45f, 266.35f};
  for (int k = 0; k < 10; ++k) {
    double boundary = starts[k];
    EXPECT_EQ(timeline::slotOf(boundary), k + 1) << boundary;
    EXPECT_EQ(timeline::slotOf(std::nextafter(boundary, 1e9)), k + 2) << boundary;
  }
  EXPECT_EQ(timeline::slotOf(0.0), 0);
  EXPECT_EQ(timeline::slotOf(-3.0), 0);
  EXPECT_EQ(timeline::slotOf(1e-9), 1);
  EXPECT_EQ(timeline::slotOf(500.0), 11);
  EXPECT_EQ(timeline::slotOf(500.001), 12);
  EXPECT_FALSE(timeline::scheduleFor(0.0, quiet()));
  EXPECT_FALSE(timeline::scheduleFor(500.5, quiet()));
  EXPECT_TRUE(timeline::scheduleFor(500.0, quiet()));
}

TEST(Schedule, EachSlotCallsItsRendererWithItsSceneTime) {
  struct Case {
    double t;
    Renderer renderer;
    timeline::StageKind stage;
    float sceneTime;
  } cases[] = {
      {10.0, Renderer::openingScene, timeline::StageKind::Main, 10.0f},
      {30.0, Renderer::secondScene, timeline::StageKind::Main, 30.0f - 21.4f},
      {48.0, Renderer::thirdScene, timeline::StageKind::Organ, 48.0f - 47.7f},
      {80.0, Renderer::fourthScene, timeline::StageKind::Organ, 80.0f - 69.4f},
      {121.0, Renderer::sixthScene, timeline::StageKind::Main, float((121.0 - double(119.8f)) * double(0.333f))},
      {160.0, Renderer::seventhScene, timeline::StageKind::Main, 160.0f - 119.8f},
      {200.0, Renderer::eighthScene, timeline::StageKind::Main, 200.0f - 176.0f},
      {230.0, Renderer::ninthScene, timeline::StageKind::Main, 230.0f - 220.0f},
      {260.0, Renderer::creditsScene, timeline::StageKind::Main, 260.0f - 253.45f},
      {270.0, Renderer::closingScene, timeline::StageKind::Main, 270.0f - 266.35f},
  };
  for (const Case& c : cases) {
    auto call = timeline::scheduleFor(c.t, quiet());
    ASSERT_TRUE(call) << c.t;
    EXPECT_EQ(call->renderer, c.renderer) << c.t;
    EXPECT_EQ(call->stage, c.stage) << c.t;
    EXPECT_EQ(call->sceneTime, c.sceneTime) << c.t;
    EXPECT_EQ(call->musicTime, float(c.t)) << c.t;
  }
}

// The flash runs only when band 0 is above 0.1; exactly 0.1 keeps the opening.
TEST(Schedule, OpeningSlotSwitchesOnTheSpectrum) {
  auto exact = constantSpectrum(0.1f);
  EXPECT_EQ(timeline::scheduleFor(5.0, exact)->renderer, Renderer::openingScene);
  auto loud = constantSpectrum(0.11f);
  auto flash = timeline::scheduleFor(20.7, loud);
  EXPECT_EQ(flash->renderer, Renderer::openingFlash);
  EXPECT_EQ(flash->sceneTime, float((20.7 - double(20.54f)) * 5.0));
  EXPECT_EQ(flash->stage, timeline::StageKind::Main);
}

TEST(Schedule, ThirdSlotFlashesInTheHalfSecondBeforeEachBeat) {
  // d exactly 1: still the normal renderer.
  auto before = timeline::scheduleFor(double(50.45f) - 0.5, quiet());
  ASSERT_TRUE(before);
  float d = float(2.0 * (double(50.45f) - (double(50.45f) - 0.5)));
  ASSERT_EQ(d, 1.0f);
  EXPECT_EQ(before->renderer, Renderer::thirdScene);
  // Just after that: the flash, beat 2, value just below 1.
  auto during = timeline::scheduleFor(double(50.45f) - 0.49, quiet());
  EXPECT_EQ(during->renderer, Renderer::thirdFlash);
  EXPECT_EQ(during->stage, timeline::StageKind::Main);
  EXPECT_EQ(during->beat, 2);
  EXPECT_NEAR(during->flash, 0.98f, 1e-5);
  // On the beat: flash value 0; the last beat is 14.
  auto onBeat = timeline::scheduleFor(double(49.12f), quiet());
  EXPECT_EQ(onBeat->renderer, Renderer::thirdFlash);
  EXPECT_EQ(onBeat->beat, 1);
  EXPECT_EQ(onBeat->flash, 0.0f);
  EXPECT_EQ(timeline::scheduleFor(double(66.46f), quiet())->beat, 14);
  // After the last beat the sentinel keeps the normal renderer to the end of the slot.
  EXPECT_EQ(rendererAt(69.4), Renderer::thirdScene);
}

TEST(Schedule, FifthSlotPicksFollowTheTable) {
  struct Pick {
    double from, to;
    Renderer renderer;
    int variant;
  } picks[] = {{91, 92.8, Renderer::fifthSceneA, 0},     {92.8, 93.8, Renderer::fifthSceneB, 0},
               {93.8, 96, Renderer::fifthSceneA, 0},     {96, 97.7, Renderer::fifthSceneB, 0},
               {97.7, 99.1, Renderer::fifthSceneA, 0},   {99.1, 100.21, Renderer::fifthSceneA, 1},
               {100.21, 101.4, Renderer::fifthSceneB, 1}, {101.4, 102.9, Renderer::fifthSceneA, 1},
               {102.9, 105.1, Renderer::fifthSceneA, 2}, {105.1, 107.4, Renderer::fifthSceneA, 3},
               {107.4, 109.4, Renderer::fifthSceneB, 3}, {109.4, 109.7, Renderer::fifthSceneA, 3},
               {109.7, 111.4, Renderer::fifthSceneA, 0}, {111.4, 113.5, Renderer::fifthSceneB, 0},
               {113.5, 115.5, Renderer::fifthSceneB, 1}, {115.5, 119.8, Renderer::fifthSceneB, 2}};
  for (const Pick& p : picks) {
    for (double t : {p.from + 0.01, (p.from + p.to) / 2, p.to - 0.01}) {
      auto call = timeline::scheduleFor(t, quiet());
      EXPECT_EQ(call->renderer, p.renderer) << t;
      EXPECT_EQ(call->variant, p.variant) << t;
    }
  }
  auto at93 = timeline::scheduleFor(93.0, quiet());
  EXPECT_EQ(at93->renderer, Renderer::fifthSceneB);
  EXPECT_EQ(at93->sceneTime, 2.0f);
  EXPECT_EQ(at93->variant, 0);
}

// The seventh scene cuts in for exactly these 29 intervals of the sixth slot.
TEST(Schedule, SixthSlotCutsInTheSeventhSceneOnItsIntervals) {
  const std::pair<double, double> cutIns[29] = {
      {122.41, 122.63}, {122.82, 123.8},   {124.13, 125},     {125.8, 125.98},   {127.15, 127.47},
      {128.28, 128.49}, {129.29, 129.78},  {131.16, 131.3},   {132.45, 132.82},  {133.47, 133.62},
      {133.99, 134.12}, {135.46, 135.94},  {136.44, 136.78},  {137.98, 138.14},  {138.64, 138.8},
      {139.97, 140.48}, {140.98, 141.48},  {142.41, 142.63},  {143.12, 143.32},  {144.17, 144.5},
      {144.8, 145.08},  {145.81, 146.21},  {146.81, 147.15},  {148.32, 148.48},  {149.14, 149.46},
      {150.62, 151.18}, {151.63, 152.13},  {153.3, 153.66},   {154.15, 154.3}};
  auto inCutIn = [&](double t) {
    for (const auto& [from, to] : cutIns)
      if (t > double(float(from)) && t <= double(float(to))) return true;
    return false;
  };
  int seventhSteps = 0;
  for (double t = 119.805; t <= double(154.64f); t += 0.005) {
    Renderer expected = inCutIn(t) ? Renderer::seventhScene : Renderer::sixthScene;
    auto call = timeline::scheduleFor(t, quiet());
    ASSERT_EQ(call->renderer, expected) << t;
    if (expected == Renderer::seventhScene) {
      ++seventhSteps;
      EXPECT_EQ(call->sceneTime, float(t) - 119.8f);
    }
  }
  EXPECT_GT(seventhSteps, 29 * 20);
  // c = 9 falls in (125.5, 125.64]: the sixth scene, not the exact-decimal 1.
  EXPECT_EQ(rendererAt(125.6), Renderer::sixthScene);
}

TEST(Schedule, NamesAreTheTraceNames) {
  EXPECT_STREQ(timeline::rendererName(Renderer::fifthSceneB), "fifthSceneB");
  EXPECT_STREQ(timeline::rendererName(Renderer::closingScene), "closingScene");
  EXPECT_STREQ(timeline::stageName(timeline::StageKind::Organ), "OrganStage");
}

}  // namespace
