#include "platform/audio/Stream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// 1 s at 1000 Hz of a ramp: frame i holds (i, -i), so a pulled sample shows where it came from.
audio::DecodedAudio ramp() {
  audio::DecodedAudio a;
  a.rate = 1000;
  for (int i = 0; i < 1000; ++i) {
    a.samples.push_back(static_cast<std::int16_t>(i));
    a.samples.push_back(static_cast<std::int16_t>(-i));
  }
  return a;
}

TEST(MixFrames, VolumeAndPanScaleEachSideAndTheTailIsSilence) {
  std::vector<std::int16_t> source = {1000, -1000, 2000, -2000};
  std::vector<std::int16_t> out(6, 7);
  audio::mixFrames(source, 100, 0, out);
  EXPECT_EQ(out, (std::vector<std::int16_t>{1000, -1000, 2000, -2000, 0, 0}));
  audio::mixFrames(source, 50, 0, out);
  EXPECT_EQ(out, (std::vector<std::int16_t>{500, -500, 1000, -1000, 0, 0}));
  audio::mixFrames(source, 0, 0, out);
  EXPECT_EQ(out, (std::vector<std::int16_t>(6, 0)));
  audio::mixFrames(source, 100, 100, out);  // full right: the left side is silent
  EXPECT_EQ(out, (std::vector<std::int16_t>{0, -1000, 0, -2000, 0, 0}));
  audio::mixFrames(source, 100, -50, out);
  EXPECT_EQ(out, (std::vector<std::int16_t>{1000, -500, 2000, -1000, 0, 0}));
}

TEST(Stream, MixSettingsOutsideTheirRangesChangeNothing) {
  audio::Stream stream(ramp(), audio::Clock::Wall);
  EXPECT_TRUE(stream.setMix(40, -101));
  EXPECT_EQ(stream.volume(), 40);
  EXPECT_TRUE(stream.setMix(-1, 20));  // -1 keeps the volume
  EXPECT_EQ(stream.volume(), 40);
  EXPECT_FALSE(stream.setMix(101, 0));
  EXPECT_FALSE(stream.setMix(50, 101));
  EXPECT_FALSE(stream.setMix(-2, 0));
  EXPECT_EQ(stream.volume(), 40);
}

// On a device the position follows what was handed over: it advances with the clock after each
// pull but never past the pulled frames, so it is never more than one buffer ahead of the sound.
TEST(Stream, DeviceClockNeverPassesWhatWasHandedOver) {
  audio::Stream stream(ramp(), audio::Clock::Device);
  stream.play(false);
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(stream.heardFrame(), 0u);  // nothing pulled yet

  std::vector<std::int16_t> buffer(2 * 10);
  stream.pull(buffer);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[18], 9);
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(stream.heardFrame(), 10u);  // 30 ms at 1000 Hz would be 30: held at the pulled 10

  stream.pull(buffer);
  EXPECT_EQ(buffer[0], 10);
  EXPECT_GE(stream.heardFrame(), 10u);

  // A seek is heard at once and the next pull starts there.
  ASSERT_TRUE(stream.setFrame(500));
  EXPECT_EQ(stream.heardFrame(), 500u);
  EXPECT_TRUE(stream.setMix(50, -101));
  stream.pull(buffer);
  EXPECT_EQ(buffer[0], 250);
  EXPECT_EQ(buffer[1], -250);

  // At the end the rest of the buffer is silence and the position stops at the length.
  ASSERT_TRUE(stream.setFrame(995));
  stream.pull(buffer);
  EXPECT_EQ(buffer[8], 499);  // frame 999 at half volume
  EXPECT_EQ(buffer[10], 0);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(stream.heardFrame(), 1000u);
}

// Pause holds the heard position and hands the device silence; resuming plays on from what was
// heard, not from what the device had buffered ahead of it.
TEST(Stream, PauseHoldsTheHeardFrameAndResumesFromIt) {
  audio::Stream stream(ramp(), audio::Clock::Device);
  stream.play(false);
  std::vector<std::int16_t> buffer(2 * 100);
  stream.pull(buffer);  // frames 0..99 handed over, 100 is next
  std::this_thread::sleep_for(20ms);
  stream.pause();
  const std::uint64_t held = stream.heardFrame();
  ASSERT_GT(held, 0u);
  ASSERT_LT(held, 100u);
  EXPECT_FALSE(stream.playing());
  stream.pull(buffer);
  EXPECT_EQ(buffer[2 * 50], 0);  // silence while paused
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(stream.heardFrame(), held);

  stream.play(false);
  EXPECT_TRUE(stream.playing());
  stream.pull(buffer);
  EXPECT_EQ(buffer[0], static_cast<std::int16_t>(held));
}

}  // namespace
