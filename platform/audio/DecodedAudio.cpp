// MP3 decoding over libmpg123, reading from memory through a replaced reader so that mpg123 can
// seek for the LAME tag (gapless length) as it would in a file.
#include "platform/audio/DecodedAudio.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace audio {
namespace {

// The input handed to mpg123's reader callbacks.
struct MemoryFile {
  std::span<const unsigned char> bytes;
  std::size_t at = 0;
};

mpg123_ssize_t readMemory(void* handle, void* out, std::size_t count) {
  auto* file = static_cast<MemoryFile*>(handle);
  std::size_t n = std::min(count, file->bytes.size() - file->at);
  std::memcpy(out, file->bytes.data() + file->at, n);
  file->at += n;
  return static_cast<mpg123_ssize_t>(n);
}

off_t seekMemory(void* handle, off_t offset, int whence) {
  auto* file = static_cast<MemoryFile*>(handle);
  off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(file->at)
                                                           : static_cast<off_t>(file->bytes.size());
  off_t target = base + offset;
  if (target < 0 || target > static_cast<off_t>(file->bytes.size())) return -1;
  file->at = static_cast<std::size_t>(target);
  return target;
}

struct HandleCloser {
  void operator()(mpg123_handle* mh) const {
    mpg123_close(mh);
    mpg123_delete(mh);
  }
};
using Decoder = std::unique_ptr<mpg123_handle, HandleCloser>;

// A decoder that gives 16-bit stereo at every rate mpg123 knows, quietly, gapless.
Decoder newDecoder() {
  static const int initialised = mpg123_init();
  if (initialised != MPG123_OK) return nullptr;
  int error = MPG123_OK;
  Decoder mh(mpg123_new(nullptr, &error));
  if (!mh) return nullptr;
  mpg123_param(mh.get(), MPG123_FLAGS, MPG123_GAPLESS | MPG123_FORCE_STEREO | MPG123_QUIET, 0.0);
  mpg123_format_none(mh.get());
  const long* rates = nullptr;
  std::size_t count = 0;
  mpg123_rates(&rates, &count);
  for (std::size_t i = 0; i < count; ++i) mpg123_format(mh.get(), rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);
  return mh;
}

// Room for the frames the file announces, but never more than a generous bound of what its size
// can hold, so a forged frame count cannot make us reserve gigabytes.
void reserveFor(mpg123_handle* mh, std::size_t fileBytes, std::vector<std::int16_t>& samples) {
  off_t announced = mpg123_length(mh);
  if (announced <= 0) return;
  constexpr std::uint64_t kFramesPerByteBound = 16;
  std::uint64_t frames = std::min<std::uint64_t>(static_cast<std::uint64_t>(announced), fileBytes * kFramesPerByteBound);
  samples.reserve(frames * 2);
}

}  // namespace

DecodedAudio decodeMp3(std::span<const unsigned char> file) {
  DecodedAudio audio;
  Decoder mh = newDecoder();
  if (!mh || file.empty()) return audio;
  MemoryFile input{file, 0};
  if (mpg123_replace_reader_handle(mh.get(), readMemory, seekMemory, nullptr) != MPG123_OK) return audio;
  if (mpg123_open_handle(mh.get(), &input) != MPG123_OK) return audio;

  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_getformat(mh.get(), &rate, &channels, &encoding) != MPG123_OK || channels != 2 ||
      encoding != MPG123_ENC_SIGNED_16) {
    return audio;
  }
  reserveFor(mh.get(), file.size(), audio.samples);

  constexpr std::size_t kChunkSamples = 1 << 18;
  for (;;) {
    std::size_t have = audio.samples.size();
    audio.samples.resize(have + kChunkSamples);
    std::size_t done = 0;
    int result = mpg123_read(mh.get(), audio.samples.data() + have, kChunkSamples * sizeof(std::int16_t), &done);
    audio.samples.resize(have + done / sizeof(std::int16_t));
    // A change of format in mid-file (a different rate) would play at the wrong speed: stop there.
    if (result != MPG123_OK) break;
  }
  audio.samples.resize(audio.samples.size() / 2 * 2);
  audio.rate = static_cast<int>(rate);
  if (audio.samples.empty()) audio = DecodedAudio{};
  return audio;
}

}  // namespace audio
