// The offline spectrum file, computed with the audio stand-in's analyser (the same window, FFT
// and scaling the player uses) and the spectrum track's record count.
#include "platform/audio/SpectrumAnalyser.h"
#include "timeline/SpectrumTrack.h"
#include "tools/contentgen/Music.h"

#include <cstring>

namespace contentgen {
namespace {

void appendLe32(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

}  // namespace

std::vector<unsigned char> spectrumFile(const audio::DecodedAudio& audio, std::uint32_t bands) {
  std::vector<unsigned char> out;
  if (audio.empty() || bands == 0 || bands > audio::kFftBins) return out;
  const double seconds = double(audio.frames()) / double(audio.rate);
  const std::uint32_t records = timeline::recordCountFor(seconds, 0.0f);
  appendLe32(out, records);
  appendLe32(out, bands);
  audio::SpectrumAnalyser analyser;
  std::array<float, audio::kFftBins> bins{};
  for (std::uint32_t i = 0; i < records; ++i) {
    std::uint64_t endFrame = std::uint64_t(i) * std::uint64_t(audio.rate) / 30;
    analyser.analyse(audio.samples, endFrame, bins);
    for (std::uint32_t j = 0; j < bands; ++j) {
      std::uint32_t bits;
      std::memcpy(&bits, &bins[j], sizeof bits);
      appendLe32(out, bits);
    }
  }
  return out;
}

}  // namespace contentgen
