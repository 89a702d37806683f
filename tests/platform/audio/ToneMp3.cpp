#include "tests/platform/audio/ToneMp3.h"

#include <lame.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>

namespace testsupport {

std::vector<std::int16_t> tone(int rate, int channels, double seconds, double hz, double amplitude, double offset) {
  auto frames = static_cast<std::size_t>(std::llround(seconds * rate));
  std::vector<std::int16_t> pcm(frames * static_cast<std::size_t>(channels));
  for (std::size_t i = 0; i < frames; ++i) {
    double v = offset + amplitude * std::sin(2.0 * std::numbers::pi * hz * double(i) / rate);
    auto sample = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
    for (int c = 0; c < channels; ++c) pcm[i * channels + c] = sample;
  }
  return pcm;
}

std::vector<unsigned char> encodeMp3(const std::vector<std::int16_t>& pcm, int rate, int channels, int quality) {
  std::vector<unsigned char> mp3;
  lame_global_flags* lame = lame_init();
  if (!lame) return mp3;
  lame_set_num_channels(lame, channels);
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(lame, rate >= 32000 ? 160 : 64);
  lame_set_quality(lame, quality);
  lame_set_bWriteVbrTag(lame, 1);
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    return mp3;
  }
  const int frames = static_cast<int>(pcm.size() / channels);
  mp3.resize(static_cast<std::size_t>(frames) * 5 / 4 + 7200 + 16384);
  int used = 0;
  // LAME's non-const input pointers never write; a chunked loop keeps its buffer arithmetic small.
  constexpr int kChunk = 1 << 16;
  for (int at = 0; at < frames && used >= 0; at += kChunk) {
    int n = std::min(kChunk, frames - at);
    auto* in = const_cast<short*>(pcm.data() + std::size_t(at) * channels);
    int room = static_cast<int>(mp3.size()) - used;
    int wrote = channels == 2 ? lame_encode_buffer_interleaved(lame, in, n, mp3.data() + used, room)
                              : lame_encode_buffer(lame, in, in, n, mp3.data() + used, room);
    used = wrote < 0 ? -1 : used + wrote;
  }
  if (used >= 0) {
    int wrote = lame_encode_flush(lame, mp3.data() + used, static_cast<int>(mp3.size()) - used);
    used = wrote < 0 ? -1 : used + wrote;
  }
  if (used < 0) {
    mp3.clear();
  } else {
    mp3.resize(static_cast<std::size_t>(used));
    // The first frame was left for the tag that carries the encoder delay and padding.
    unsigned char tag[2880];
    std::size_t size = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (size > 0 && size <= mp3.size()) std::copy_n(tag, size, mp3.begin());
  }
  lame_close(lame);
  return mp3;
}

ScratchFile::ScratchFile(const std::string& name)
    : path_((std::filesystem::temp_directory_path() / ("redkite-" + std::to_string(::getpid()) + "-" + name)).string()) {}

ScratchFile::~ScratchFile() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
  std::filesystem::remove(path_ + ".part", ignored);
}

bool ScratchFile::write(const std::vector<unsigned char>& bytes) const {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool ScratchFile::exists() const { return std::filesystem::exists(path_); }

std::vector<unsigned char> ScratchFile::read() const {
  std::ifstream in(path_, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testsupport
