// Offline spectrum: decode, analyse with the player's FFT, write atomically or keep in memory.
#include "app/SpectrumCommand.h"

#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "app/Progress.h"
#include "app/StartUp.h"
#include "platform/audio/DecodedAudio.h"
#include "platform/output/AtomicFile.h"
#include "platform/win32/FilePath.h"
#include "timeline/SpectrumTrack.h"

namespace app {
namespace {

// Larger than any MP3 a show would carry; a bigger file is refused before it is read.
constexpr std::size_t kMaxMusicBytes = std::size_t(512) << 20;

// The decoded music at `path`, or empty with the reason in `problem`.
audio::DecodedAudio decodedMusic(const std::string& path, std::string& problem) {
  std::string bytes;
  if (!win32::readWholeFile(path.c_str(), bytes, kMaxMusicBytes)) {
    problem = "cannot read the music " + path;
    return {};
  }
  audio::DecodedAudio music =
      audio::decodeMp3(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
  if (music.empty()) problem = "cannot decode the music " + path + " (not an MP3 file?)";
  return music;
}

}  // namespace

int runSpectrum(const Options& options) {
  const std::string musicPath = options.music.value_or(kMusicPath);
  const std::string out = options.out.empty() ? win32::hostPath(kSpectrumPath) : options.out;
  std::string problem;
  const audio::DecodedAudio music = decodedMusic(musicPath, problem);
  if (music.empty()) {
    std::fprintf(stderr, "redkite: %s\n", problem.c_str());
    return 2;
  }
  output::AtomicFile file(out);
  if (!file.ok()) {
    std::fprintf(stderr, "redkite: cannot write %s\n", file.error().c_str());
    return 2;
  }
  std::optional<Progress> progress;
  const std::vector<unsigned char> bytes =
      timeline::spectrumFileOf(music, kSpectrumBands, [&](std::uint32_t done, std::uint32_t total) {
        if (!progress) progress.emplace(total, "spectrum", "records", "records/s");
        progress->update(done);
      });
  if (!file.write(bytes.data(), bytes.size()) || !file.commit()) {
    std::fprintf(stderr, "redkite: cannot write %s\n", file.error().c_str());
    return 1;
  }
  std::printf("%s: %zu records of %u bands\n", out.c_str(), (bytes.size() - 8) / (4 * kSpectrumBands),
              unsigned(kSpectrumBands));
  return 0;
}

void loadHeadlessSpectrum() {
  timeline::SpectrumTrack& track = timeline::spectrumTrack();
  // The contact sheet needs the track before its frame walk asks again: load or analyse once.
  if (track.recordCount() > 0 || track.load(kSpectrumPath)) return;
  std::string problem;
  const audio::DecodedAudio music = decodedMusic(kMusicPath, problem);
  if (!music.empty() && track.loadBytes(timeline::spectrumFileOf(music, kSpectrumBands))) {
    std::fprintf(stderr, "redkite: no spectrum file %s; analysed the music instead\n", kSpectrumPath);
    return;
  }
  std::fprintf(stderr, "redkite: no spectrum file %s and %s; the spectrum reads 0\n", kSpectrumPath, problem.c_str());
}

}  // namespace app
