// The placeholder soundtrack and its spectrum file: the MP3 decodes gapless to exactly 280.7 s,
// the spectrum file loads in the player's own reader and holds exactly what the player's FFT
// gives for the decoded music, and the bands the pictures read behave as the scenes need.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/audio/DecodedAudio.h"
#include "platform/audio/SpectrumAnalyser.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TraceCapture.h"
#include "tests/tools/GeneratedContent.h"
#include "timeline/SpectrumTrack.h"

namespace {

class MusicContentTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    std::ifstream in(testsupport::builtContent("RV07\\Vemir-Red Kite.mp3"), std::ios::binary);
    std::vector<unsigned char> mp3{std::istreambuf_iterator<char>(in), {}};
    audio_ = new audio::DecodedAudio(audio::decodeMp3(mp3));
    track_ = new timeline::SpectrumTrack;
    testsupport::TraceCapture capture;
    loaded_ = track_->load(testsupport::builtContent("RV07\\syncdata\\fft.txt").c_str());
    boxes_ = testsupport::messageBoxes(capture).size();
  }
  static void TearDownTestSuite() {
    delete track_;
    delete audio_;
  }
  void SetUp() override {
    ASSERT_FALSE(audio_->empty()) << "the build's MP3 does not decode";
    ASSERT_TRUE(loaded_ && track_->bands().size() == 5 && track_->bands()[2].keys.size() == 8400) << "no usable fft.txt";
  }

  // Band k of record i, as stored.
  static float band(std::uint32_t k, std::uint32_t i) { return track_->bands()[k].keys[i]; }
  static std::uint32_t recordAt(double seconds) { return std::uint32_t(std::lround(seconds * 30.0)); }

  static inline audio::DecodedAudio* audio_ = nullptr;
  static inline timeline::SpectrumTrack* track_ = nullptr;
  static inline bool loaded_ = false;
  static inline std::size_t boxes_ = 0;
};

TEST_F(MusicContentTest, Mp3DecodesGaplessToTheShowsLength) {
  ASSERT_FALSE(audio_->empty());
  EXPECT_EQ(audio_->rate, 44100);
  // Without the LAME tag the decoder would add the encoder's delay and padding (over 1000 frames).
  EXPECT_EQ(audio_->frames(), std::uint64_t(std::llround(280.7 * 44100)));
}

TEST_F(MusicContentTest, SpectrumFileLoadsCleanlyAndMatchesThePlayersFft) {
  ASSERT_TRUE(loaded_);
  EXPECT_EQ(boxes_, 0u) << "the reader complained about the file";
  EXPECT_EQ(track_->recordCount(), 8400u);
  EXPECT_EQ(track_->bandCount(), 5u);
  ASSERT_EQ(track_->bands().size(), 5u);
  audio::SpectrumAnalyser analyser;
  std::array<float, audio::kFftBins> bins{};
  for (std::uint32_t i : {0u, 1u, 160u, 616u, 1474u, 3000u, 5311u, 8399u}) {
    analyser.analyse(audio_->samples, std::uint64_t(i) * 1470, bins);
    for (std::uint32_t k = 0; k < 5; ++k) ASSERT_EQ(band(k, i), bins[k]) << "record " << i << " band " << k;
  }
}

TEST_F(MusicContentTest, OpeningFlashesOnlyOnItsAccents) {
  // Band 0 over 0.1 switches the opening to its flash variant: only just after the title-card
  // changes (5.49, 9.57, 10.2 s) and during the roll from 20.54 s.
  int flashes = 0;
  for (std::uint32_t i = 1; i <= recordAt(21.4); ++i) {
    double t = i / 30.0;
    bool accent = (t >= 5.49 && t < 5.8) || (t >= 9.57 && t < 9.9) || (t >= 10.2 && t < 10.5) || t >= 20.54;
    if (band(0, i) > 0.1f) {
      ++flashes;
      EXPECT_TRUE(accent) << "a flash frame at " << t;
    }
    EXPECT_LE(band(2, i), 0.08f) << t;
  }
  EXPECT_GE(flashes, 6);
}

TEST_F(MusicContentTest, ThirdSceneFlashWindowsLightTheFloor) {
  const double beats[] = {49.12, 50.45, 51.77, 53.11, 54.45, 55.77, 57.1, 58.43, 59.78, 61.11, 62.45, 63.78, 65.1, 66.46};
  for (double beat : beats) {
    double sum = 0.0;
    int n = 0;
    for (std::uint32_t i = recordAt(beat - 0.45); i < recordAt(beat); ++i, ++n) sum += band(0, i);
    EXPECT_GT(sum / n, 0.04) << "the flash window before " << beat << " stays dark";
  }
}

TEST_F(MusicContentTest, FourthSceneBassLiftsTheCubesAndRests) {
  float high = 0.0f, low = 1.0f;
  for (std::uint32_t i = recordAt(71.0); i < recordAt(90.0); ++i) {
    high = std::max(high, band(1, i));
    low = std::min(low, band(1, i));
  }
  EXPECT_GT(high, 0.1f);
  EXPECT_LT(low, 0.03f);
}

TEST_F(MusicContentTest, FifthSceneKeepsBandTwoLowForTheMorph) {
  for (std::uint32_t i = recordAt(91.0); i <= recordAt(119.8); ++i) ASSERT_LE(band(2, i), 0.08f) << i / 30.0;
}

TEST_F(MusicContentTest, ClosingTailCarriesNoBandTwo) {
  // The closing logo is covered by 300 × band 2: anything above 0.0003 darkens it visibly.
  for (std::uint32_t i = recordAt(267.3); i <= recordAt(274.0); ++i) ASSERT_LE(band(2, i), 0.0003f) << i / 30.0;
}

}  // namespace
