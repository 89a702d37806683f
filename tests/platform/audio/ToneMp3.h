// Test helper: synthetic PCM and its MP3 encoding with libmp3lame, the LAME tag written so mpg123
// decodes it gapless; plus scratch files that remove themselves. Shared by the audio and timeline
// tests and the benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Interleaved 16-bit PCM of `channels` equal channels: offset + amplitude * sin(2 pi hz t), both
// in full-scale units (1.0 = 32767).
std::vector<std::int16_t> tone(int rate, int channels, double seconds, double hz, double amplitude, double offset = 0.0);

// The MP3 of interleaved PCM; empty if LAME refuses. quality: 0 best .. 9 fastest.
std::vector<unsigned char> encodeMp3(const std::vector<std::int16_t>& pcm, int rate, int channels, int quality = 5);

// A file under the temporary directory, unique to this process, removed (with "<path>.part") when
// the object goes.
class ScratchFile {
public:
  explicit ScratchFile(const std::string& name);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }
  bool write(const std::vector<unsigned char>& bytes) const;
  bool exists() const;
  std::vector<unsigned char> read() const;

private:
  std::string path_;
};

}  // namespace testsupport
