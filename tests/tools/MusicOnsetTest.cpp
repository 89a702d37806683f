// The soundtrack's drums land on the scenes' tables: in the decoded MP3 the build wrote, every
// time of every table the pictures time cuts, flashes and beats by has a drum onset within 10 ms.
// The onset detector is checked first on made-up audio, so that a displaced or missing hit shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/audio/DecodedAudio.h"
#include "tests/tools/GeneratedContent.h"
#include "tests/tools/OnsetDetector.h"
#include "tools/contentgen/MusicCues.h"

namespace {

constexpr int kRate = 44100;
constexpr double kTolerance = 0.010;  // seconds
constexpr double kClearRise = 6.0;    // dB: random spots between the hits rise ~1.5 dB (90 %: 4 dB)

// Made-up audio: a soft chord and faint noise, plus bright decaying noise bursts (the drums).
class MadeUpAudio {
public:
  explicit MadeUpAudio(double seconds) : stereo_(std::size_t(seconds * kRate) * 2, 0) {
    for (std::size_t n = 0; n < frames(); ++n) {
      double t = double(n) / kRate;
      double v = 0.1 * std::sin(2 * 3.14159 * 220 * t) + 0.05 * std::sin(2 * 3.14159 * 330 * t) + 0.002 * noise();
      set(n, v);
    }
  }
  // A burst starting at t; a clap is three bursts 9 ms apart.
  void hit(double t, double level, int bursts = 1) {
    for (int b = 0; b < bursts; ++b) {
      std::size_t start = std::size_t((t + 0.009 * b) * kRate);
      for (std::size_t n = 0; n < std::size_t(0.1 * kRate) && start + n < frames(); ++n) {
        add(start + n, level * std::exp(-double(n) / (0.02 * kRate)) * noise());
      }
    }
  }
  std::span<const std::int16_t> samples() const { return stereo_; }

private:
  std::size_t frames() const { return stereo_.size() / 2; }
  double noise() {
    seed_ = seed_ * 1664525u + 1013904223u;
    return double(std::int32_t(seed_)) / 2147483648.0;
  }
  void set(std::size_t n, double v) { stereo_[2 * n] = stereo_[2 * n + 1] = std::int16_t(std::lround(v * 32767)); }
  void add(std::size_t n, double v) { set(n, stereo_[2 * n] / 32767.0 + v); }

  std::vector<std::int16_t> stereo_;
  std::uint32_t seed_ = 12345;
};

TEST(OnsetDetectorTest, FindsHitsWhereTheyAreAndNotWhereTheyAreMissing) {
  MadeUpAudio audio(3.0);
  audio.hit(0.5, 0.3);
  audio.hit(1.2, 0.3, 3);
  audio.hit(2.0, 0.3);
  testsupport::OnsetDetector detector(audio.samples(), kRate);
  testsupport::Onset on = detector.near(0.5, 0.04);
  EXPECT_NEAR(on.offset, 0.0, 0.003);
  EXPECT_GT(on.rise, kClearRise);
  // A clap: its first burst, not a later one.
  EXPECT_NEAR(detector.near(1.2, 0.04).offset, 0.0, 0.003);
  // A hit 25 ms late is reported 25 ms late, so a displaced drum fails the 10 ms check.
  EXPECT_NEAR(detector.near(1.975, 0.04).offset, 0.025, 0.003);
  // Nothing at 2.6 s: no clear rise.
  EXPECT_LT(detector.near(2.6, 0.04).rise, kClearRise);
}

TEST(OnsetDetectorTest, IgnoresAFaintNoiseJustBeforeTheHit) {
  // An MP3 smears a little of a hit's noise over the block before it (pre-echo), here 8 ms at
  // −36 dB out of silence: the onset is still the hit.
  MadeUpAudio audio(1.0);
  audio.hit(0.492, 0.005);
  audio.hit(0.5, 0.3);
  testsupport::OnsetDetector detector(audio.samples(), kRate);
  EXPECT_NEAR(detector.near(0.5, 0.04).offset, 0.0, 0.003);
}

class MusicOnsetTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    std::ifstream in(testsupport::builtContent("RV07\\Vemir-Red Kite.mp3"), std::ios::binary);
    std::vector<unsigned char> mp3{std::istreambuf_iterator<char>(in), {}};
    audio_ = new audio::DecodedAudio(audio::decodeMp3(mp3));
    if (!audio_->empty()) detector_ = new testsupport::OnsetDetector(audio_->samples, audio_->rate);
  }
  static void TearDownTestSuite() {
    delete detector_;
    delete audio_;
  }

  static inline audio::DecodedAudio* audio_ = nullptr;
  static inline testsupport::OnsetDetector* detector_ = nullptr;
};

TEST_F(MusicOnsetTest, EveryTableTimeHasADrumOnsetWithinTenMilliseconds) {
  ASSERT_NE(detector_, nullptr) << "the build's MP3 does not decode";
  std::vector<double> all;
  for (const contentgen::DrumCue& cue : contentgen::drumCues()) all.insert(all.end(), cue.times.begin(), cue.times.end());
  std::size_t checked = 0;
  for (const contentgen::DrumCue& cue : contentgen::drumCues()) {
    for (double t : cue.times) {
      // Search ±40 ms, but never as far as half-way to a neighbouring table time.
      double half = 0.04;
      for (double other : all) {
        if (other != t) half = std::min(half, std::fabs(other - t) / 2.0);
      }
      testsupport::Onset on = detector_->near(t, half);
      EXPECT_GE(on.rise, kClearRise) << cue.table << " " << t << ": no clear drum hit";
      EXPECT_LE(std::fabs(on.offset), kTolerance) << cue.table << " " << t << ": the hit is " << on.offset * 1000 << " ms off";
      ++checked;
    }
  }
  // 15 + 14 + 31 + 63 + 111 + 8 + 26 + 7 + 4 table times.
  EXPECT_EQ(checked, 279u);
}

}  // namespace
