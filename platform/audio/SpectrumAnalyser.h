// The 512-point magnitude spectrum of BASS_DATA_FFT512 over KISS FFT: the 512 frames ending at a
// position, mixed to mono, Hann window, |X[k]| * 2 / 512 for k = 0..255. Owns its FFT plan; one
// per stream, used from the main thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>

struct kiss_fftr_state;

namespace audio {

constexpr std::size_t kFftSize = 512;
constexpr std::size_t kFftBins = kFftSize / 2;

class SpectrumAnalyser {
public:
  SpectrumAnalyser();
  ~SpectrumAnalyser();
  SpectrumAnalyser(const SpectrumAnalyser&) = delete;
  SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

  bool valid() const { return plan_ != nullptr; }

  // `stereo` is interleaved 16-bit stereo; frames before 0 count as silence. A full-scale sine at
  // a bin centre gives about 0.5 in its bin; a constant c gives c in bin 0.
  void analyse(std::span<const std::int16_t> stereo, std::uint64_t endFrame, std::span<float, kFftBins> out);

private:
  kiss_fftr_state* plan_;
  std::array<float, kFftSize> window_;
};

}  // namespace audio
