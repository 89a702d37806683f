// 16-bit conversion and MP3 encoding with libmp3lame.
#include <lame.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "tools/contentgen/Music.h"

namespace contentgen {
namespace {

struct LameCloser {
  void operator()(lame_global_flags* lame) const { lame_close(lame); }
};

}  // namespace

std::vector<std::int16_t> toPcm16(const Pcm& pcm) {
  std::vector<std::int16_t> out(pcm.frames() * 2);
  auto sample = [](float v) {
    float x = std::clamp(v, -1.0f, 1.0f) * 32767.0f;
    return static_cast<std::int16_t>(x >= 0.0f ? x + 0.5f : x - 0.5f);  // rounded half away from zero
  };
  for (std::size_t n = 0; n < pcm.frames(); ++n) {
    out[2 * n] = sample(pcm.left[n]);
    out[2 * n + 1] = sample(pcm.right[n]);
  }
  return out;
}

std::vector<unsigned char> encodeMp3(const std::vector<std::int16_t>& interleaved, int rate) {
  std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
  if (!lame) return {};
  lame_set_num_channels(lame.get(), 2);
  lame_set_in_samplerate(lame.get(), rate);
  lame_set_out_samplerate(lame.get(), rate);
  lame_set_mode(lame.get(), JOINT_STEREO);
  lame_set_brate(lame.get(), 192);
  lame_set_quality(lame.get(), 7);
  lame_set_bWriteVbrTag(lame.get(), 1);
  if (lame_init_params(lame.get()) < 0) return {};
  const int frames = static_cast<int>(interleaved.size() / 2);
  // LAME's worst case: 1.25 × samples + 7200 bytes, plus room for the flush.
  std::vector<unsigned char> mp3(std::size_t(frames) * 5 / 4 + 7200 + 16384);
  std::size_t used = 0;
  constexpr int kChunk = 1 << 16;
  for (int at = 0; at < frames; at += kChunk) {
    int n = std::min(kChunk, frames - at);
    // LAME takes a non-const pointer but only reads the input.
    auto* in = const_cast<short*>(interleaved.data() + std::size_t(at) * 2);
    int wrote = lame_encode_buffer_interleaved(lame.get(), in, n, mp3.data() + used, static_cast<int>(mp3.size() - used));
    if (wrote < 0) return {};
    used += std::size_t(wrote);
  }
  int wrote = lame_encode_flush(lame.get(), mp3.data() + used, static_cast<int>(mp3.size() - used));
  if (wrote < 0) return {};
  mp3.resize(used + std::size_t(wrote));
  // The first frame was held for the tag with the encoder delay and padding (gapless decoding).
  unsigned char tag[2880];
  std::size_t size = lame_get_lametag_frame(lame.get(), tag, sizeof tag);
  if (size == 0 || size > mp3.size()) return {};
  std::copy_n(tag, size, mp3.begin());
  return mp3;
}

}  // namespace contentgen
