// The soundtrack and its spectrum file as the build wrote them: the MP3 decodes gapless to exactly
// 280.7 s, the spectrum file has the player's header and record count and holds what the player's
// FFT gives for the decoded music, and the bands the pictures read behave as the scenes need.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/audio/DecodedAudio.h"
#include "platform/audio/SpectrumAnalyser.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TraceCapture.h"
#include "tests/tools/GeneratedContent.h"
#include "timeline/ScheduleTables.h"
#include "timeline/SpectrumTrack.h"
#include "tools/contentgen/MusicCues.h"

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
  EXPECT_EQ(audio_->rate, 44100);
  // Without the LAME tag the decoder would add the encoder's delay and padding (over 1000 frames).
  EXPECT_EQ(audio_->frames(), std::uint64_t(std::llround(280.7 * 44100)));
}

TEST_F(MusicContentTest, SpectrumFileHasThePlayersHeaderAndRecordCount) {
  // N = 30 × trunc(280.7 − 0.05) = 8400 records of 5 bands after the 8-byte header.
  const std::string path = testsupport::builtContent("RV07\\syncdata\\fft.txt");
  std::ifstream in(path, std::ios::binary);
  std::uint32_t header[2] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  EXPECT_EQ(header[0], 8400u);
  EXPECT_EQ(header[1], 5u);
  EXPECT_EQ(std::filesystem::file_size(path), 8u + 8400u * 5u * 4u);
  EXPECT_EQ(boxes_, 0u) << "the player's reader complained about the file";
  EXPECT_EQ(track_->recordCount(), 8400u);
}

TEST_F(MusicContentTest, SpectrumRecordsAreThePlayersFftOfTheDecodedMusic) {
  audio::SpectrumAnalyser analyser;
  std::array<float, audio::kFftBins> bins{};
  for (std::uint32_t i : {0u, 1u, 160u, 616u, 1474u, 3000u, 5311u, 8399u}) {
    analyser.analyse(audio_->samples, std::uint64_t(i) * 1470, bins);
    for (std::uint32_t k = 0; k < 5; ++k) ASSERT_EQ(band(k, i), bins[k]) << "record " << i << " band " << k;
  }
}

TEST_F(MusicContentTest, OpeningFlashesOnlyOnItsLowHits) {
  // Band 0 over 0.1 switches the opening to its flash variant: only in the 0.3 s after each
  // title-card change and during the roll from the pump's start into the second scene; each of
  // those gives flash frames.
  const std::vector<double> accents = contentgen::openingCardTimes();
  std::vector<int> flashesAfter(accents.size() + 1, 0);
  for (std::uint32_t i = 1; i <= recordAt(contentgen::slotStart(1)); ++i) {
    double t = i / 30.0;
    EXPECT_LE(band(2, i), 0.08f) << "the sky and glow flare at " << t;
    if (band(0, i) <= timeline::kSpectrumFlashThreshold) continue;
    std::size_t which = accents.size();
    for (std::size_t a = 0; a < accents.size(); ++a) {
      if (t >= accents[a] && t < accents[a] + 0.3) which = a;
    }
    if (which == accents.size() && t < timeline::kOpeningFlashStart) {
      ADD_FAILURE() << "a flash frame at " << t << " with no hit to cause it";
      continue;
    }
    ++flashesAfter[which];
  }
  for (std::size_t a = 0; a < accents.size(); ++a) EXPECT_GE(flashesAfter[a], 1) << "no flash on the card at " << accents[a];
  EXPECT_GE(flashesAfter.back(), 4) << "the roll into the second scene hardly strobes";
}

TEST_F(MusicContentTest, ThirdSceneFlashWindowsLightTheFloor) {
  for (double beat : contentgen::thirdSceneBeatTimes()) {
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

TEST_F(MusicContentTest, FifthSceneKeepsItsMorphAndCameraCalm) {
  // The ground morph adds 3 × band 2 and the camera target moves by 10 × band 1.
  for (std::uint32_t i = recordAt(91.0); i <= recordAt(119.8); ++i) {
    ASSERT_LE(band(2, i), 0.08f) << i / 30.0;
    ASSERT_LE(band(1, i), 0.2f) << i / 30.0;
  }
}

TEST_F(MusicContentTest, ClosingTailCarriesNoBandTwo) {
  // The closing logo is covered by 300 × band 2: anything above 0.0003 darkens it visibly.
  for (std::uint32_t i = recordAt(267.3); i <= recordAt(274.0); ++i) ASSERT_LE(band(2, i), 0.0003f) << i / 30.0;
}

TEST_F(MusicContentTest, BandsOneAndTwoNeverSitAtZeroForLong) {
  // Bands 1 and 2 lift the cubes and brighten the skies: outside the opening's first seconds and
  // the closing logo, never more than 2 s with both near zero.
  int run = 0;
  for (std::uint32_t i = recordAt(3.0); i < recordAt(contentgen::slotStart(10)); ++i) {
    run = band(1, i) < 0.002f && band(2, i) < 0.002f ? run + 1 : 0;
    ASSERT_LE(run, 60) << "bands 1 and 2 silent for 2 s up to " << i / 30.0;
  }
}

}  // namespace
