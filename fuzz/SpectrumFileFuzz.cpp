// Fuzz target for the spectrum file: load, then every band the readers use and the schedule
// sampled at ordinary and hostile music times. Only what the file holds may be allocated.
#include "fuzz/FuzzSupport.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::MemoryFile file;
  const char* path = file.write(data, size);

  timeline::SpectrumTrack track;
  if (track.load(path)) {
    FUZZ_CHECK(size >= 8);
    // No band stores more keys than the file holds floats, whatever its header claims.
    std::uint64_t stored = 0;
    for (const timeline::SpectrumBand& band : track.bands()) {
      FUZZ_CHECK(band.keys.size() <= band.count);
      stored += band.keys.size();
    }
    FUZZ_CHECK(stored <= (size - 8) / 4);
  } else {
    FUZZ_CHECK(track.bands().empty());
  }
  for (float t : fuzz::kSampleTimes) {
    for (std::uint32_t k = 0; k < 6; ++k) (void)track.band(k, t);
    (void)timeline::scheduleFor(double(t), track);
    (void)timeline::scheduleFor(double(t) + 10.5, track);
  }
  return 0;
}
