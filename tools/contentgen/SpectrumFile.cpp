// The offline spectrum file: the spectrum track's own analysis of the decoded soundtrack, so the
// generated file and `redkite spectrum` agree byte for byte.
#include "timeline/SpectrumTrack.h"
#include "tools/contentgen/Music.h"

namespace contentgen {

std::vector<unsigned char> spectrumFile(const audio::DecodedAudio& audio, std::uint32_t bands) {
  return timeline::spectrumFileOf(audio, bands);
}

}  // namespace contentgen
