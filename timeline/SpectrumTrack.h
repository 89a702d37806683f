// The spectrum sync track: for each band, the music's FFT magnitude 30 times a second, loaded from
// the spectrum file or, when it is missing, recorded into it by playing the piece silently once.
// One process-wide instance (spectrumTrack()) owns its bands; filled at start-up, then read-only.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/audio/DecodedAudio.h"
#include "platform/audio/bass.h"

namespace timeline {

// One band: `count` keys, 10 a second of the time it is sampled at. A short file leaves fewer
// keys stored than counted; the missing ones read 0. Stands in for the keyframe track FloatData
// until assets/ provides it.
struct SpectrumBand {
  std::uint32_t count = 0;
  std::vector<float> keys;
};

// Sampling at time t (seconds): u = 10 t, key i = trunc(u), blended linearly with key i + 1 while
// both exist; past the last key the last key; before the first key (or NaN) the first; no keys 0.
float sampleBand(const SpectrumBand& band, float t);

// The number of records of a piece `lengthSeconds` long: 30 × whole seconds of (length − 0.05),
// or trunc(30 × override) when the override is positive, but never more than the piece holds.
std::uint32_t recordCountFor(double lengthSeconds, float durationOverride);

// The spectrum file of decoded music without playing it: the header (N records, `bands` bands) and
// record k = bins 0 … bands − 1 of the player's 512-frame FFT ending at k / 30 s, N as
// recordCountFor counts the piece. `progress(done, total)` is called every few hundred records.
// Empty for empty music or a band count outside 1..256.
std::vector<unsigned char> spectrumFileOf(const audio::DecodedAudio& music, std::uint32_t bands,
                                          const std::function<void(std::uint32_t, std::uint32_t)>& progress = {});

enum class RecordResult {
  Complete,   // the file is in place
  Failed,     // no file was written (message shown where a file was the problem)
  Cancelled,  // Escape was pressed: the program should end
};

enum class SpectrumSource {
  Loaded,     // read from the file
  Recorded,   // recorded, then read back
  Empty,      // neither worked: every band reads 0
  Cancelled,  // Escape during the recording: the program should end
};

class SpectrumTrack {
public:
  // Reads the file (N records of B little-endian floats after the 8-byte header N, B). Only what
  // the file holds is read and allocated; a file without a full header, with fewer records than it
  // claims or with fewer than 3 bands shows the path with "Problems With File". False (track
  // unchanged) when it cannot be opened or has no header.
  bool load(const char* path);
  // The same format from memory (spectrumFileOf), without messages; false when it has no header.
  bool loadBytes(std::span<const unsigned char> bytes);
  // Plays the channel silently from its position and writes a record of the first `bandCount`
  // (1..256) FFT magnitudes every thirtieth of a second, printing progress on standard output.
  // Writes to "<path>.part", renamed to the path only when complete; leaves the channel at 0.
  RecordResult record(const char* path, DWORD channel, std::uint32_t bandCount, float durationOverride);
  // load, else record and load what was recorded.
  SpectrumSource loadOrRecord(const char* path, DWORD channel, std::uint32_t bandCount, float durationOverride);

  // Band k at music time t: the band sampled at 3 t, so record 30 t. Bands the file lacks read 0.
  float band(std::uint32_t k, float musicTime) const;

  std::uint32_t bandCount() const { return bandCount_; }
  std::uint32_t recordCount() const { return recordCount_; }
  const std::vector<SpectrumBand>& bands() const { return bands_; }

private:
  // Takes the counts of `header` and the records `body` holds; true when it holds all it claims.
  bool fill(const unsigned char* header, std::span<const unsigned char> body);

  std::uint32_t bandCount_ = 0;
  std::uint32_t recordCount_ = 0;
  std::vector<SpectrumBand> bands_;
};

SpectrumTrack& spectrumTrack();

}  // namespace timeline
