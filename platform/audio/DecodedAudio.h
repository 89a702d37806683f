// An MP3 file decoded whole, gapless, to interleaved 16-bit stereo at the file's own rate (mono is
// upmixed), so a byte position is 4 bytes a frame. Plain data; the stream that holds it owns it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace audio {

constexpr std::uint32_t kBytesPerFrame = 4;

struct DecodedAudio {
  int rate = 0;
  std::vector<std::int16_t> samples;  // left, right, left, right ...

  std::uint64_t frames() const { return samples.size() / 2; }
  bool empty() const { return samples.empty() || rate <= 0; }
};

// Decodes a whole MP3 file held in memory. Anything that does not decode to at least one frame
// gives an empty result.
DecodedAudio decodeMp3(std::span<const unsigned char> file);

}  // namespace audio
