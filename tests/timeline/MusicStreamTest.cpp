#include "timeline/MusicStream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/win32/Keyboard.h"
#include "tests/platform/audio/ToneMp3.h"
#include "tests/support/TraceCapture.h"

namespace {

using namespace std::chrono_literals;

const testsupport::ScratchFile& musicFile() {
  static testsupport::ScratchFile file("music-3s.mp3");
  static bool written = file.write(testsupport::encodeMp3(testsupport::tone(44100, 2, 3.0, 440.0, 0.5), 44100, 2, 7));
  EXPECT_TRUE(written);
  return file;
}

// The show's device 1 on SDL's dummy driver: silent, no fallback line.
class MusicStreamTest : public testing::Test {
protected:
  void SetUp() override { ::setenv("SDL_AUDIODRIVER", "dummy", 1); }
  void TearDown() override {
    win32::setKeyStateForTesting('O', false);
    win32::setKeyStateForTesting('I', false);
    GetAsyncKeyState('O');
    GetAsyncKeyState('I');
    ::unsetenv("SDL_AUDIODRIVER");
  }

  // Holds the keys for `frames` frames of the loop.
  static void holdKeys(timeline::MusicStream& music, bool o, bool i, int frames) {
    win32::setKeyStateForTesting('O', o);
    win32::setKeyStateForTesting('I', i);
    for (int n = 0; n < frames; ++n) music.applySeekKeys();
    win32::setKeyStateForTesting('O', false);
    win32::setKeyStateForTesting('I', false);
  }

  static bool setSeconds(const timeline::MusicStream& music, float seconds) {
    return BASS_ChannelSetPosition(music.channel(), BASS_ChannelSeconds2Bytes(music.channel(), seconds)) != FALSE;
  }
};

TEST_F(MusicStreamTest, MissingFileShowsItsMessageAndEverythingAfterIsHarmless) {
  testsupport::TraceCapture capture;
  timeline::MusicStream music;
  music.open("no/such/Vemir-Red Kite.mp3");
  ASSERT_EQ(capture.lines.size(), 1u);
  EXPECT_EQ(capture.lines[0], R"({"ev":"messageBox","text":"BASS_StreamCreateFile","caption":"Error::BASS"})");
  EXPECT_EQ(music.channel(), 0u);
  // With no stream every position reads -1 and the end time is below it, so the loop ends at once.
  EXPECT_EQ(music.musicTime(), -1.0);
  EXPECT_LT(music.endTime(), -1.0f);
  holdKeys(music, true, false, 3);
  music.start();
  music.end();
  music.end();
}

TEST_F(MusicStreamTest, FailedInitShowsItsMessageAndTheStreamIsStillCreated) {
  ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
  testsupport::TraceCapture capture;
  timeline::MusicStream music;
  music.open(musicFile().path().c_str());
  ASSERT_EQ(capture.lines.size(), 1u);
  EXPECT_EQ(capture.lines[0], R"({"ev":"messageBox","text":"Init FAILED","caption":"Error::BASS"})");
  EXPECT_NE(music.channel(), 0u);
  EXPECT_FLOAT_EQ(music.endTime(), 2.97f);
}

// 0.1 s a frame, not a second: ten frames are one second, however fast the frames come.
TEST_F(MusicStreamTest, EachFrameWithOHeldMovesATenthForwardAndIBack) {
  timeline::MusicStream music;
  music.open(musicFile().path().c_str());
  ASSERT_NE(music.channel(), 0u);
  holdKeys(music, true, false, 10);
  EXPECT_NEAR(music.musicTime(), 1.0, 1.0 / 44100);
  holdKeys(music, false, true, 3);
  EXPECT_NEAR(music.musicTime(), 0.7, 1.0 / 44100);
  holdKeys(music, false, true, 7);
  EXPECT_EQ(BASS_ChannelGetPosition(music.channel()), 0u);
}

// Both keys cancel but still set the position: it must come back exactly, not a frame short.
TEST_F(MusicStreamTest, BothKeysSetThePositionToWhereItWas) {
  timeline::MusicStream music;
  music.open(musicFile().path().c_str());
  ASSERT_TRUE(BASS_ChannelSetPosition(music.channel(), 54321 * 4));
  holdKeys(music, true, true, 100);
  EXPECT_EQ(BASS_ChannelGetPosition(music.channel()), 54321u * 4u);
}

TEST_F(MusicStreamTest, SeeksBeforeTheStartOrPastTheEndLeaveThePosition) {
  timeline::MusicStream music;
  music.open(musicFile().path().c_str());
  ASSERT_TRUE(setSeconds(music, 0.05f));
  QWORD nearStart = BASS_ChannelGetPosition(music.channel());
  holdKeys(music, false, true, 1);
  EXPECT_EQ(BASS_ChannelGetPosition(music.channel()), nearStart);
  ASSERT_TRUE(setSeconds(music, 2.95f));
  QWORD nearEnd = BASS_ChannelGetPosition(music.channel());
  holdKeys(music, true, false, 1);
  EXPECT_EQ(BASS_ChannelGetPosition(music.channel()), nearEnd);
}

TEST_F(MusicStreamTest, StartedMusicRunsAndSeeksWhilePlaying) {
  timeline::MusicStream music;
  music.open(musicFile().path().c_str());
  music.start();
  std::this_thread::sleep_for(100ms);
  double before = music.musicTime();
  EXPECT_NEAR(before, 0.1, 0.03);
  holdKeys(music, true, false, 5);
  EXPECT_NEAR(music.musicTime(), before + 0.5, 0.03);
}

}  // namespace
