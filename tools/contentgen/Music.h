// The soundtrack: 280.7 s of stereo at 44.1 kHz synthesised in F minor at 90 beats a minute, its
// drum hits on the beat, cut and flash tables of the scenes, encoded to MP3 with libmp3lame (with
// the LAME tag, so it decodes gapless), and its spectrum file computed from the decoded MP3 with
// the player's own FFT.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio/DecodedAudio.h"
#include "tools/contentgen/Output.h"
#include "tools/contentgen/Synth.h"

namespace contentgen {

constexpr double kMusicSeconds = 280.7;
constexpr std::uint32_t kSpectrumBands = 5;

// The whole piece, mixed and limited, in float.
Pcm composeMusic();

// Interleaved 16-bit stereo, rounded and clamped.
std::vector<std::int16_t> toPcm16(const Pcm& pcm);

// MP3 at 192 kbit/s, LAME quality 7, joint stereo, the first frame replaced by the LAME tag that
// carries the encoder delay and padding. Empty on failure.
std::vector<unsigned char> encodeMp3(const std::vector<std::int16_t>& interleaved, int rate);

// The spectrum file: record count N (30 per whole second of the piece less 0.05 s, as the player
// counts them), band count, then N records of `bands` floats: record i is bins 0 … bands − 1 of
// the 512-frame FFT ending at frame i · rate / 30, little-endian.
std::vector<unsigned char> spectrumFile(const audio::DecodedAudio& audio, std::uint32_t bands);

// Writes "RV07\Vemir-Red Kite.mp3" and "RV07\syncdata\fft.txt".
void writeMusic(Output& out);

}  // namespace contentgen
