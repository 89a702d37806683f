#include "platform/audio/bass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <tuple>

#include "tests/platform/audio/ToneMp3.h"

namespace {

using namespace std::chrono_literals;

// The library on the silent output (SDL's dummy driver), freed when the test ends.
struct SilentLibrary {
  SilentLibrary() { initialised = BASS_Init(0, 44100, 0, nullptr, nullptr) != FALSE; }
  ~SilentLibrary() { BASS_Free(); }
  bool initialised;
};

// A tone file written once per test program: 3 s at 44100 Hz with a sine at the centre of FFT
// bin 8 at 0.9 of full scale.
const testsupport::ScratchFile& toneFile() {
  static testsupport::ScratchFile file("bass-tone.mp3");
  static bool written = file.write(testsupport::encodeMp3(testsupport::tone(44100, 2, 3.0, 8 * 44100.0 / 512, 0.9), 44100, 2));
  EXPECT_TRUE(written);
  return file;
}

HSTREAM createTone() { return BASS_StreamCreateFile(FALSE, toneFile().path().c_str(), 0, 0, 0); }

double secondsNow(HSTREAM s) { return BASS_ChannelBytes2Seconds(s, BASS_ChannelGetPosition(s)); }

TEST(BassLibrary, CallsOutOfOrderFailWithTheirCodes) {
  EXPECT_EQ(BASS_StreamCreateFile(FALSE, toneFile().path().c_str(), 0, 0, 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
  EXPECT_FALSE(BASS_Free());
  EXPECT_FALSE(BASS_Init(7, 44100, 0, nullptr, nullptr));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
  SilentLibrary library;
  ASSERT_TRUE(library.initialised);
  EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr, nullptr));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
}

TEST(BassLibrary, StreamCreationFailuresReturnZero) {
  SilentLibrary library;
  EXPECT_EQ(BASS_StreamCreateFile(FALSE, "no/such/file.mp3", 0, 0, 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
  EXPECT_EQ(BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0), 0u);
  EXPECT_EQ(BASS_StreamCreateFile(TRUE, "ID3", 0, 3, 0), 0u);
  testsupport::ScratchFile text("not-music.mp3");
  ASSERT_TRUE(text.write(std::vector<unsigned char>(5000, 'x')));
  EXPECT_EQ(BASS_StreamCreateFile(FALSE, text.path().c_str(), 0, 0, 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
  // An offset past the end of the file is not a read past it.
  EXPECT_EQ(BASS_StreamCreateFile(FALSE, toneFile().path().c_str(), 1u << 30, 0, 0), 0u);

  // Every call on a handle that is not a stream fails without touching anything.
  EXPECT_EQ(BASS_ChannelGetLength(0), BASS_INVALID_POSITION);
  EXPECT_EQ(BASS_ChannelGetPosition(12345), BASS_INVALID_POSITION);
  EXPECT_EQ(BASS_ChannelBytes2Seconds(0, 4), -1.0);
  EXPECT_FALSE(BASS_ChannelSetPosition(0, 0));
  EXPECT_FALSE(BASS_ChannelPlay(0, FALSE));
  EXPECT_FALSE(BASS_ChannelPause(0));
  EXPECT_EQ(BASS_ChannelIsActive(0), BASS_ACTIVE_STOPPED);
  EXPECT_FALSE(BASS_StreamFree(0));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

// The seek keys convert 32-bit times to bytes and back every frame: the conversion must land on
// whole frames, round down, and give back exactly the position it came from.
TEST(BassConversions, SecondsAndBytesAgree) {
  SilentLibrary library;
  HSTREAM s = createTone();
  ASSERT_NE(s, 0u);
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, 1.0f), 176400u);
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, 0.1f), 17640u);
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, 0.0f), 0u);
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, 1.5f / 44100.0f), 4u);     // 1.5 frames: down to 1
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, 2.999f / 44100.0f), 8u);   // not up to 3
  EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(s, 176400), 1.0);
  EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(s, 6), 1.5 / 44100.0);
  for (QWORD frame = 0; frame < 100u * 44100u; frame += 4409) {
    QWORD bytes = frame * 4;
    float seconds = static_cast<float>(BASS_ChannelBytes2Seconds(s, bytes));
    ASSERT_EQ(BASS_ChannelSeconds2Bytes(s, seconds), bytes) << "frame " << frame;
  }
  // Near 280 s a 32-bit time is coarser than a frame; the round trip stays within one frame.
  for (QWORD frame = 280u * 44100u; frame < 280u * 44100u + 50u; ++frame) {
    QWORD back = BASS_ChannelSeconds2Bytes(s, static_cast<float>(BASS_ChannelBytes2Seconds(s, frame * 4)));
    ASSERT_EQ(back % 4, 0u);
    ASSERT_LE(std::llabs(static_cast<long long>(back) - static_cast<long long>(frame * 4)), 4) << "frame " << frame;
  }
  // A negative time keeps its sign through the unsigned result, so a seek there is refused.
  EXPECT_EQ(static_cast<std::int64_t>(BASS_ChannelSeconds2Bytes(s, -0.1f)), -17640);
  EXPECT_EQ(static_cast<std::int64_t>(BASS_ChannelSeconds2Bytes(s, -1.5f / 44100.0f)), -4);
  // Rounding noise just below 0 (0.1 - 0.1f) is 0, so seeking back reaches the start.
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, static_cast<float>(0.1 - 0.1f)), 0u);
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, std::nanf("")), BASS_INVALID_POSITION);
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(s, 1e30f), BASS_INVALID_POSITION);
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(0, 1.0f), BASS_INVALID_POSITION);
}

TEST(BassSeeking, PositionsBeforeZeroOrPastTheEndAreRefusedAndKept) {
  SilentLibrary library;
  HSTREAM s = createTone();
  ASSERT_NE(s, 0u);
  const QWORD length = BASS_ChannelGetLength(s);
  EXPECT_EQ(length, 3u * 44100u * 4u);
  EXPECT_EQ(BASS_ChannelGetPosition(s), 0u);
  ASSERT_TRUE(BASS_ChannelSetPosition(s, BASS_ChannelSeconds2Bytes(s, 0.05f)));
  EXPECT_EQ(BASS_ChannelGetPosition(s), 2205u * 4u);
  EXPECT_FALSE(BASS_ChannelSetPosition(s, BASS_ChannelSeconds2Bytes(s, -0.05f)));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_POSITION);
  EXPECT_EQ(BASS_ChannelGetPosition(s), 2205u * 4u);
  EXPECT_FALSE(BASS_ChannelSetPosition(s, length + 4));
  EXPECT_EQ(BASS_ChannelGetPosition(s), 2205u * 4u);
  EXPECT_TRUE(BASS_ChannelSetPosition(s, length));
  EXPECT_EQ(BASS_ChannelGetPosition(s), length);
  EXPECT_TRUE(BASS_ChannelSetPosition(s, 17642));  // inside a frame: that frame
  EXPECT_EQ(BASS_ChannelGetPosition(s), 17640u);
  EXPECT_TRUE(BASS_StreamFree(s));
  EXPECT_EQ(BASS_ChannelGetPosition(s), BASS_INVALID_POSITION);
}

// Every stream plays at its own rate; volume and pan ranges are the stream's (tested there). What
// was set reads back, and -1 / -101 keep the volume and the pan.
TEST(BassAttributes, OnlyTheStreamsOwnRateIsAcceptedAndTheMixReadsBack) {
  SilentLibrary library;
  HSTREAM s = createTone();
  ASSERT_NE(s, 0u);
  auto attributes = [s] {
    DWORD freq = 0, volume = 0;
    int pan = 0;
    EXPECT_TRUE(BASS_ChannelGetAttributes(s, &freq, &volume, &pan));
    return std::tuple(freq, volume, pan);
  };
  EXPECT_TRUE(BASS_ChannelSetAttributes(s, 0, 100, -101));
  EXPECT_EQ(attributes(), std::tuple(44100u, 100u, 0));
  EXPECT_TRUE(BASS_ChannelSetAttributes(s, 44100, 0, -101));
  EXPECT_TRUE(BASS_ChannelSetAttributes(s, -1, -1, 30));
  EXPECT_EQ(attributes(), std::tuple(44100u, 0u, 30));
  EXPECT_FALSE(BASS_ChannelSetAttributes(s, 22050, 100, -101));
  EXPECT_FALSE(BASS_ChannelSetAttributes(s, 0, 101, -101));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
  EXPECT_EQ(attributes(), std::tuple(44100u, 0u, 30));
  EXPECT_FALSE(BASS_ChannelGetAttributes(0, nullptr, nullptr, nullptr));
}

// The silent output keeps the show's real-time clock, and the clock stops at the end.
TEST(BassPlayback, SilentOutputRunsOnTheWallClock) {
  SilentLibrary library;
  HSTREAM s = createTone();
  ASSERT_NE(s, 0u);
  EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_STOPPED);
  EXPECT_FALSE(BASS_ChannelPause(s));  // nothing to pause before it plays
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOPLAY);
  ASSERT_TRUE(BASS_ChannelSetPosition(s, BASS_ChannelSeconds2Bytes(s, 1.0f)));
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
  std::this_thread::sleep_for(200ms);
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_NEAR(secondsNow(s), 1.0 + elapsed, 0.02);
  EXPECT_TRUE(BASS_ChannelPlay(s, FALSE));  // already playing: goes on
  EXPECT_GT(secondsNow(s), 1.0 + elapsed - 0.02);
  EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_PLAYING);

  // Paused, the position holds; played again, it goes on from there.
  ASSERT_TRUE(BASS_ChannelPause(s));
  EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_PAUSED);
  const double held = secondsNow(s);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(secondsNow(s), held);
  auto resumed = std::chrono::steady_clock::now();
  ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
  std::this_thread::sleep_for(50ms);
  double playing = std::chrono::duration<double>(std::chrono::steady_clock::now() - resumed).count();
  EXPECT_NEAR(secondsNow(s), held + playing, 0.02);

  ASSERT_TRUE(BASS_ChannelSetPosition(s, BASS_ChannelGetLength(s) - 4 * 441));
  std::this_thread::sleep_for(40ms);
  EXPECT_EQ(BASS_ChannelGetPosition(s), BASS_ChannelGetLength(s));
  EXPECT_TRUE(BASS_ChannelPlay(s, TRUE));  // restart: from the top
  EXPECT_LT(secondsNow(s), 0.01);
  EXPECT_TRUE(BASS_Update());
}

// A machine without output still plays, on the dummy driver, and says so in one line.
TEST(BassPlayback, NoOutputFallsBackToTheDummyDriver) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  bool initialised = BASS_Init(1, 44100, 0, nullptr, nullptr) != FALSE;
  std::string err = testing::internal::GetCapturedStderr();
  ::unsetenv("SDL_AUDIODRIVER");
  ASSERT_TRUE(initialised);
  EXPECT_NE(err.find("dummy"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  HSTREAM s = createTone();
  EXPECT_NE(s, 0u);
  BASS_ChannelPlay(s, FALSE);
  std::this_thread::sleep_for(50ms);
  EXPECT_GT(BASS_ChannelGetPosition(s), 0u);
  BASS_Free();
}

// BASS_DATA_FFT512 of what is heard: the tone's bin, at 0.9 × 0.5.
TEST(BassSpectrum, FftOfTheHeardPositionFindsTheTone) {
  SilentLibrary library;
  HSTREAM s = createTone();
  ASSERT_NE(s, 0u);
  float fft[512] = {};
  EXPECT_EQ(BASS_ChannelGetData(s, fft, BASS_DATA_FFT512), 256u * sizeof(float));
  EXPECT_EQ(fft[8], 0.0f);  // at position 0 the window holds only the silence before the start

  ASSERT_TRUE(BASS_ChannelSetPosition(s, BASS_ChannelSeconds2Bytes(s, 1.0f)));
  EXPECT_EQ(BASS_ChannelGetData(s, fft, BASS_DATA_FFT512), 256u * sizeof(float));
  int peak = 0;
  for (int k = 1; k < 256; ++k) {
    if (fft[k] > fft[peak]) peak = k;
  }
  EXPECT_EQ(peak, 8);
  EXPECT_NEAR(fft[8], 0.45f, 0.03f);
  EXPECT_LT(fft[20], 0.01f);
  EXPECT_EQ(BASS_ChannelGetData(s, fft, 512), DWORD(-1));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
}

}  // namespace
