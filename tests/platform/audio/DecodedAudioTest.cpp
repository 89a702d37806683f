#include "platform/audio/DecodedAudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/platform/audio/ToneMp3.h"

namespace {

int peak(const std::vector<std::int16_t>& samples) {
  int most = 0;
  for (auto s : samples) most = std::max(most, std::abs(int(s)));
  return most;
}

// Without the LAME tag's delay and padding the length would be off by a thousand or more frames,
// and every byte position (the show's clock) with it.
TEST(DecodedAudio, StereoDecodesGaplessToTheEncodedLengthAndLevel) {
  auto pcm = testsupport::tone(44100, 2, 3.0, 440.0, 0.5);
  audio::DecodedAudio decoded = audio::decodeMp3(testsupport::encodeMp3(pcm, 44100, 2));
  ASSERT_FALSE(decoded.empty());
  EXPECT_EQ(decoded.rate, 44100);
  EXPECT_EQ(decoded.frames(), 3u * 44100u);
  EXPECT_NEAR(peak(decoded.samples), 16384, 1600);
}

// A mono file must still give 4 bytes a frame, or every position would be off by two.
TEST(DecodedAudio, MonoIsUpmixedToStereoAtItsOwnRate) {
  auto pcm = testsupport::tone(22050, 1, 1.0, 300.0, 0.5);
  audio::DecodedAudio decoded = audio::decodeMp3(testsupport::encodeMp3(pcm, 22050, 1));
  ASSERT_FALSE(decoded.empty());
  EXPECT_EQ(decoded.rate, 22050);
  EXPECT_EQ(decoded.frames(), 22050u);
  for (std::size_t i = 0; i < decoded.samples.size(); i += 2) ASSERT_EQ(decoded.samples[i], decoded.samples[i + 1]);
  EXPECT_GT(peak(decoded.samples), 10000);
}

TEST(DecodedAudio, DataThatIsNotAnMp3GivesNothing) {
  EXPECT_TRUE(audio::decodeMp3({}).empty());
  std::vector<unsigned char> text(4096, 'a');
  EXPECT_TRUE(audio::decodeMp3(text).empty());
}

// A file cut short (an interrupted download) decodes as far as it goes.
TEST(DecodedAudio, TruncatedFileDecodesItsFirstPart) {
  auto mp3 = testsupport::encodeMp3(testsupport::tone(44100, 2, 2.0, 440.0, 0.5), 44100, 2);
  mp3.resize(mp3.size() / 2);
  audio::DecodedAudio decoded = audio::decodeMp3(mp3);
  ASSERT_FALSE(decoded.empty());
  EXPECT_GT(decoded.frames(), 30000u);
  EXPECT_LT(decoded.frames(), 2u * 44100u);
}

}  // namespace
