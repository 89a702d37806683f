#include "timeline/SpectrumTrack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <regex>

#include "platform/win32/Keyboard.h"
#include "tests/platform/audio/ToneMp3.h"
#include "tests/support/TraceCapture.h"

namespace {

using timeline::SpectrumBand;
using timeline::SpectrumSource;
using timeline::SpectrumTrack;

std::vector<unsigned char> spectrumFile(std::uint32_t records, std::uint32_t bands, const std::vector<float>& values) {
  std::vector<unsigned char> bytes(8 + values.size() * 4);
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<unsigned char>(records >> (8 * i));
    bytes[4 + i] = static_cast<unsigned char>(bands >> (8 * i));
  }
  if (!values.empty()) std::memcpy(bytes.data() + 8, values.data(), values.size() * 4);
  return bytes;
}

std::size_t storedKeys(const SpectrumTrack& track) {
  std::size_t keys = 0;
  for (const auto& band : track.bands()) keys += band.keys.size();
  return keys;
}

bool problemShown(const testsupport::TraceCapture& capture, const std::string& path) {
  std::string line = R"({"ev":"messageBox","text":")" + path + R"(","caption":"Problems With File"})";
  return std::find(capture.lines.begin(), capture.lines.end(), line) != capture.lines.end();
}

TEST(SpectrumBand, SamplingFollowsTheKeyframeRule) {
  SpectrumBand none;
  EXPECT_EQ(timeline::sampleBand(none, 1.0f), 0.0f);
  SpectrumBand one{1, {5.0f}};
  EXPECT_EQ(timeline::sampleBand(one, 0.0f), 5.0f);
  EXPECT_EQ(timeline::sampleBand(one, 7.3f), 5.0f);

  SpectrumBand three{3, {1.0f, 2.0f, 4.0f}};
  EXPECT_FLOAT_EQ(timeline::sampleBand(three, 0.15f), 3.0f);             // keys 1 and 2, halfway
  EXPECT_EQ(timeline::sampleBand(three, 0.2f), 4.0f);                    // the last key, exactly
  EXPECT_NEAR(timeline::sampleBand(three, 0.199f), 3.98f, 1e-4f);
  EXPECT_EQ(timeline::sampleBand(three, 100.0f), 4.0f);
  EXPECT_EQ(timeline::sampleBand(three, 1e30f), 4.0f);                   // no overflow of the index
  EXPECT_EQ(timeline::sampleBand(three, -0.5f), 1.0f);                   // before the first key: the first
  EXPECT_EQ(timeline::sampleBand(three, std::numeric_limits<float>::quiet_NaN()), 1.0f);

  // A short file: five keys counted, two stored; the rest read 0, including the last.
  SpectrumBand shortBand{5, {1.0f, 2.0f}};
  EXPECT_FLOAT_EQ(timeline::sampleBand(shortBand, 0.05f), 1.5f);
  EXPECT_FLOAT_EQ(timeline::sampleBand(shortBand, 0.15f), 1.0f);        // key 1 (2) toward key 2 (0)
  EXPECT_EQ(timeline::sampleBand(shortBand, 10.0f), 0.0f);
}

TEST(SpectrumRecordCount, WholeSecondsOfThePieceOrTheOverride) {
  EXPECT_EQ(timeline::recordCountFor(280.7, 0.0f), 30u * 280u);
  EXPECT_EQ(timeline::recordCountFor(280.04, 0.0f), 30u * 279u);
  EXPECT_EQ(timeline::recordCountFor(3.0, 1.0f), 30u);
  EXPECT_EQ(timeline::recordCountFor(3.0, 2.01f), 60u);
  EXPECT_EQ(timeline::recordCountFor(3.0, -1.0f), 60u);     // a negative override means the whole piece
  EXPECT_EQ(timeline::recordCountFor(3.0, 100.0f), 90u);    // never past the end of the piece
  EXPECT_EQ(timeline::recordCountFor(3.0, 1e30f), 90u);
  EXPECT_EQ(timeline::recordCountFor(0.5, 0.0f), 0u);
  EXPECT_EQ(timeline::recordCountFor(-1.0, 1.0f), 0u);      // no stream: nothing to record
  EXPECT_EQ(timeline::recordCountFor(std::nan(""), 0.0f), 0u);
}

// Record i is music time i / 30: band k at music time t is key 30 t of band k.
TEST(SpectrumLoad, BandsAreReadAtThreeTimesTheMusicTime) {
  testsupport::ScratchFile file("fft-good.txt");
  // Four records of three bands: record i band j = 10 i + j.
  ASSERT_TRUE(file.write(spectrumFile(4, 3, {0, 1, 2, 10, 11, 12, 20, 21, 22, 30, 31, 32, 99})));
  testsupport::TraceCapture capture;
  SpectrumTrack track;
  ASSERT_TRUE(track.load(file.path().c_str()));
  EXPECT_TRUE(capture.lines.empty());  // the trailing extra float is ignored quietly
  EXPECT_EQ(track.recordCount(), 4u);
  EXPECT_EQ(track.bandCount(), 3u);
  EXPECT_FLOAT_EQ(track.band(1, 2.0f / 30.0f), 21.0f);
  EXPECT_FLOAT_EQ(track.band(2, 1.5f / 30.0f), 17.0f);
  EXPECT_FLOAT_EQ(track.band(0, 10.0f), 30.0f);
  EXPECT_FLOAT_EQ(track.band(0, -1.0f), 0.0f);
  EXPECT_FLOAT_EQ(track.band(3, 1.0f / 30.0f), 0.0f);  // no such band
}

TEST(SpectrumLoad, MissingOrHeaderlessFileFailsWithItsMessage) {
  testsupport::TraceCapture capture;
  SpectrumTrack track;
  EXPECT_FALSE(track.load("no\\such\\fft.txt"));
  EXPECT_TRUE(problemShown(capture, "no\\\\such\\\\fft.txt"));
  testsupport::ScratchFile stub("fft-stub.txt");
  ASSERT_TRUE(stub.write({1, 0, 0, 0, 5}));
  EXPECT_FALSE(track.load(stub.path().c_str()));
  EXPECT_TRUE(problemShown(capture, stub.path()));
  EXPECT_EQ(track.bands().size(), 0u);
}

TEST(SpectrumLoad, ShortFileKeepsWhatItHoldsAndTheRestReadsZero) {
  testsupport::ScratchFile file("fft-short.txt");
  ASSERT_TRUE(file.write(spectrumFile(10, 3, {1, 2, 3, 4, 5, 6, 7})));  // two records and a bit
  testsupport::TraceCapture capture;
  SpectrumTrack track;
  ASSERT_TRUE(track.load(file.path().c_str()));
  EXPECT_TRUE(problemShown(capture, file.path()));
  EXPECT_EQ(track.recordCount(), 10u);
  EXPECT_FLOAT_EQ(track.band(0, 1.0f / 30.0f), 4.0f);
  EXPECT_FLOAT_EQ(track.band(0, 2.0f / 30.0f), 7.0f);
  EXPECT_FLOAT_EQ(track.band(1, 2.0f / 30.0f), 0.0f);
  EXPECT_FLOAT_EQ(track.band(0, 5.0f / 30.0f), 0.0f);
  EXPECT_FLOAT_EQ(track.band(0, 100.0f), 0.0f);
  EXPECT_EQ(storedKeys(track), 7u);
}

// Counts in the billions with a few bytes behind them: only what the file holds is allocated.
TEST(SpectrumLoad, HostileHeaderCostsNoMoreThanTheFile) {
  testsupport::ScratchFile file("fft-hostile.txt");
  testsupport::TraceCapture capture;
  SpectrumTrack track;
  ASSERT_TRUE(file.write(spectrumFile(0xFFFFFFFFu, 0xFFFFFFFFu, {1, 2, 3, 4})));
  ASSERT_TRUE(track.load(file.path().c_str()));
  EXPECT_TRUE(problemShown(capture, file.path()));
  EXPECT_EQ(storedKeys(track), 4u);
  EXPECT_EQ(track.bands().size(), 4u);
  EXPECT_FLOAT_EQ(track.band(2, 0.0f), 3.0f);
  EXPECT_FLOAT_EQ(track.band(2, 1000.0f), 0.0f);
  EXPECT_FLOAT_EQ(track.band(4000000000u, 0.0f), 0.0f);

  ASSERT_TRUE(file.write(spectrumFile(1u << 30, 3, {1, 2, 3, 4, 5, 6})));
  ASSERT_TRUE(track.load(file.path().c_str()));
  EXPECT_EQ(storedKeys(track), 6u);
  for (const auto& band : track.bands()) EXPECT_LE(band.keys.capacity(), 2u);
  EXPECT_FLOAT_EQ(track.band(1, 1.0f / 30.0f), 5.0f);
}

// The readers use bands 0 to 2; with two bands the file is reported and band 2 reads 0.
TEST(SpectrumLoad, TwoBandsAreReportedAndTheMissingBandReadsZero) {
  testsupport::ScratchFile file("fft-two.txt");
  ASSERT_TRUE(file.write(spectrumFile(2, 2, {1, 2, 3, 4})));
  testsupport::TraceCapture capture;
  SpectrumTrack track;
  ASSERT_TRUE(track.load(file.path().c_str()));
  EXPECT_TRUE(problemShown(capture, file.path()));
  EXPECT_FLOAT_EQ(track.band(1, 1.0f / 30.0f), 4.0f);
  EXPECT_FLOAT_EQ(track.band(2, 1.0f / 30.0f), 0.0f);
  EXPECT_FLOAT_EQ(track.band(2, 0.0f), 0.0f);

  ASSERT_TRUE(file.write(spectrumFile(3, 0, {})));
  ASSERT_TRUE(track.load(file.path().c_str()));
  EXPECT_FLOAT_EQ(track.band(0, 0.0f), 0.0f);
}

// A recording pass needs the library and a stream; the dummy driver keeps it silent.
class SpectrumRecordTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr)); }
  void TearDown() override {
    win32::setKeyStateForTesting(VK_ESCAPE, false);
    GetAsyncKeyState(VK_ESCAPE);
    BASS_Free();
  }

  // A tone at the centre of FFT bin 2 at half of full scale.
  static HSTREAM createTone(const testsupport::ScratchFile& file, double seconds) {
    auto pcm = testsupport::tone(44100, 2, seconds, 2 * 44100.0 / 512, 0.5);
    EXPECT_TRUE(file.write(testsupport::encodeMp3(pcm, 44100, 2, 7)));
    return BASS_StreamCreateFile(FALSE, file.path().c_str(), 0, 0, 0);
  }
};

// Recorded and read back in the same run, so the bands are live at once, and the file is in place
// complete and alone; the Windows path reaches the file.
TEST_F(SpectrumRecordTest, RecordingIsLoadedInTheSameRun) {
  testsupport::ScratchFile music("record-3s.mp3");
  HSTREAM channel = createTone(music, 3.0);
  ASSERT_NE(channel, 0u);
  testsupport::ScratchFile fft("record-fft.txt");
  std::string windowsPath = fft.path();
  windowsPath.replace(windowsPath.rfind('/'), 1, "\\");

  SpectrumTrack track;
  testing::internal::CaptureStdout();
  SpectrumSource source = track.loadOrRecord(windowsPath.c_str(), channel, 5, 1.0f);
  std::string out = testing::internal::GetCapturedStdout();

  EXPECT_EQ(source, SpectrumSource::Recorded);
  EXPECT_EQ(out.rfind("Sampling - Start", 0), 0u) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("NumberOfSamples = 30     Recorded = (28|29|30)\n$"))) << out;
  std::smatch progress;
  std::string afterStart = out.substr(16);
  if (std::regex_search(afterStart, progress, std::regex("Time = [^\n]*\n"))) {
    EXPECT_TRUE(std::regex_match(progress.str(), std::regex("Time = \\d+\\.\\d{6} Of 1\\.000000   At Sample = \\d+\n")))
        << progress.str();
  }

  EXPECT_TRUE(fft.exists());
  EXPECT_FALSE(std::filesystem::exists(fft.path() + ".part"));
  EXPECT_EQ(fft.read().size(), 8u + 30u * 5u * 4u);
  EXPECT_EQ(track.recordCount(), 30u);
  EXPECT_EQ(track.bandCount(), 5u);
  for (float t = 0.1f; t < 0.95f; t += 0.1f) {
    EXPECT_NEAR(track.band(2, t), 0.25f, 0.03f) << "t " << t;
    EXPECT_NEAR(track.band(1, t), 0.125f, 0.03f) << "t " << t;
    EXPECT_LT(track.band(4, t), 0.03f) << "t " << t;
  }
  // Back at the start (still playing, silently) for the show to start from the top.
  EXPECT_LT(BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel)), 0.05);
}

// An override longer than the piece would poll for ever once the music stops at its end.
TEST_F(SpectrumRecordTest, RecordingEndsAtTheEndOfThePiece) {
  testsupport::ScratchFile music("record-short.mp3");
  HSTREAM channel = createTone(music, 0.5);
  ASSERT_NE(channel, 0u);
  testsupport::ScratchFile fft("record-short-fft.txt");
  SpectrumTrack track;
  testing::internal::CaptureStdout();
  EXPECT_EQ(track.record(fft.path().c_str(), channel, 3, 100.0f), timeline::RecordResult::Complete);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(fft.read().size(), 8u + 15u * 3u * 4u);  // the header's 15 records, all present
}

// Escape ends the program cleanly: no file (complete or not) is left for the next run to trust.
TEST_F(SpectrumRecordTest, EscapeCancelsAndLeavesNoFile) {
  testsupport::ScratchFile music("record-escape.mp3");
  HSTREAM channel = createTone(music, 1.0);
  ASSERT_NE(channel, 0u);
  testsupport::ScratchFile fft("record-escape-fft.txt");
  win32::setKeyStateForTesting(VK_ESCAPE, true);
  SpectrumTrack track;
  testing::internal::CaptureStdout();
  SpectrumSource source = track.loadOrRecord(fft.path().c_str(), channel, 5, 0.0f);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(source, SpectrumSource::Cancelled);
  EXPECT_FALSE(fft.exists());
  EXPECT_FALSE(std::filesystem::exists(fft.path() + ".part"));
  EXPECT_LT(BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel)), 0.05);
}

TEST_F(SpectrumRecordTest, RecordingThatCannotStartLeavesTheTrackEmpty) {
  testsupport::TraceCapture capture;
  SpectrumTrack track;
  // No stream: nothing to record by.
  EXPECT_EQ(track.loadOrRecord("no-stream-fft.txt", 0, 5, 0.0f), SpectrumSource::Empty);
  EXPECT_FALSE(std::filesystem::exists("no-stream-fft.txt"));

  testsupport::ScratchFile music("record-fail.mp3");
  HSTREAM channel = createTone(music, 1.0);
  ASSERT_NE(channel, 0u);
  EXPECT_EQ(track.record("no\\such\\dir\\fft.txt", channel, 5, 0.0f), timeline::RecordResult::Failed);
  EXPECT_TRUE(problemShown(capture, "no\\\\such\\\\dir\\\\fft.txt"));
  testsupport::ScratchFile fft("record-bands-fft.txt");
  EXPECT_EQ(track.record(fft.path().c_str(), channel, 0, 0.0f), timeline::RecordResult::Failed);
  EXPECT_EQ(track.record(fft.path().c_str(), channel, 257, 0.0f), timeline::RecordResult::Failed);
  EXPECT_FALSE(fft.exists());
  EXPECT_FLOAT_EQ(track.band(0, 0.5f), 0.0f);
}

}  // namespace
