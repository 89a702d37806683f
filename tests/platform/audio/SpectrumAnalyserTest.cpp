#include "platform/audio/SpectrumAnalyser.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using Bins = std::array<float, audio::kFftBins>;

// Stereo PCM: left = value(i), right = right(i).
template <typename Left, typename Right>
std::vector<std::int16_t> stereo(std::size_t frames, Left left, Right right) {
  std::vector<std::int16_t> pcm(frames * 2);
  for (std::size_t i = 0; i < frames; ++i) {
    pcm[i * 2] = static_cast<std::int16_t>(std::lround(left(i) * 32767.0));
    pcm[i * 2 + 1] = static_cast<std::int16_t>(std::lround(right(i) * 32767.0));
  }
  return pcm;
}

double binSine(std::size_t i, int bin) { return std::sin(2.0 * std::numbers::pi * bin * double(i) / 512.0); }

Bins analyse(const std::vector<std::int16_t>& pcm, std::uint64_t endFrame) {
  audio::SpectrumAnalyser analyser;
  Bins bins;
  bins.fill(-1.0f);
  analyser.analyse(pcm, endFrame, bins);
  return bins;
}

// The scale the spectrum file's thresholds are written against: 0.5 for a full-scale sine at a
// bin centre, the Hann window's half-height neighbours, nothing elsewhere.
TEST(SpectrumAnalyser, FullScaleSineAtABinCentre) {
  auto sine = [](std::size_t i) { return binSine(i, 10); };
  Bins bins = analyse(stereo(2048, sine, sine), 1500);
  EXPECT_NEAR(bins[10], 0.5f, 0.005f);
  EXPECT_NEAR(bins[9], 0.25f, 0.005f);
  EXPECT_NEAR(bins[11], 0.25f, 0.005f);
  for (std::size_t k = 0; k < audio::kFftBins; ++k) {
    if (k < 9 || k > 11) {
      EXPECT_LT(bins[k], 0.002f) << "bin " << k;
    }
  }
}

TEST(SpectrumAnalyser, ConstantOffsetIsBinZero) {
  auto dc = [](std::size_t) { return 0.25; };
  Bins bins = analyse(stereo(1024, dc, dc), 1024);
  EXPECT_NEAR(bins[0], 0.25f, 0.002f);
  EXPECT_NEAR(bins[1], 0.125f, 0.002f);
  for (std::size_t k = 2; k < audio::kFftBins; ++k) EXPECT_LT(bins[k], 0.001f) << "bin " << k;
}

// Taking one channel instead of the mix would give 0.5 or 0.
TEST(SpectrumAnalyser, ChannelsAreMixedToMono) {
  Bins bins = analyse(stereo(1024, [](std::size_t i) { return binSine(i, 20); }, [](std::size_t) { return 0.0; }), 900);
  EXPECT_NEAR(bins[20], 0.25f, 0.005f);
}

// Near the start the window reaches before the first frame, near the end past the last: silence,
// never a read outside the samples.
TEST(SpectrumAnalyser, FramesOutsideTheStreamAreSilence) {
  auto dc = [](std::size_t) { return 0.5; };
  auto pcm = stereo(1024, dc, dc);
  EXPECT_NEAR(analyse(pcm, 256)[0], 0.25f, 0.002f);  // second half of the window holds the signal
  EXPECT_NEAR(analyse(pcm, 1024 + 256)[0], 0.25f, 0.002f);  // first half does
  EXPECT_EQ(analyse(pcm, 0)[0], 0.0f);
  EXPECT_EQ(analyse(pcm, 5000)[0], 0.0f);
}

}  // namespace
