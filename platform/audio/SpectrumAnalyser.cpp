// KISS FFT of a Hann-windowed mono mix.
#include "platform/audio/SpectrumAnalyser.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace audio {

SpectrumAnalyser::SpectrumAnalyser() : plan_(kiss_fftr_alloc(kFftSize, 0, nullptr, nullptr)) {
  // The periodic Hann window: its mean is exactly 1/2, so a bin-centred sine of amplitude A gives
  // A/2 after the 2/N scale.
  for (std::size_t n = 0; n < kFftSize; ++n) {
    window_[n] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(n) / double(kFftSize)));
  }
}

SpectrumAnalyser::~SpectrumAnalyser() { kiss_fftr_free(plan_); }

void SpectrumAnalyser::analyse(std::span<const std::int16_t> stereo, std::uint64_t endFrame,
                               std::span<float, kFftBins> out) {
  std::fill(out.begin(), out.end(), 0.0f);
  if (!plan_) return;
  const std::uint64_t frames = stereo.size() / 2;
  std::array<kiss_fft_scalar, kFftSize> input{};
  for (std::size_t n = 0; n < kFftSize; ++n) {
    // Frame endFrame - 512 + n; before the start (or past the data) it is silence.
    if (endFrame + n < kFftSize) continue;
    std::uint64_t frame = endFrame + n - kFftSize;
    if (frame >= frames) continue;
    float mono = (float(stereo[frame * 2]) + float(stereo[frame * 2 + 1])) * (0.5f / 32768.0f);
    input[n] = mono * window_[n];
  }
  std::array<kiss_fft_cpx, kFftSize / 2 + 1> spectrum;
  kiss_fftr(plan_, input.data(), spectrum.data());
  constexpr float kScale = 2.0f / float(kFftSize);
  for (std::size_t k = 0; k < kFftBins; ++k) out[k] = std::hypot(spectrum[k].r, spectrum[k].i) * kScale;
}

}  // namespace audio
