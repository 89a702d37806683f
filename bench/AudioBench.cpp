// Benchmarks of the music clock: creating the stream of a whole piece (decoded at creation) and
// reading the music time, which the frame loop does once a frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include "platform/audio/bass.h"
#include "tests/platform/audio/ToneMp3.h"
#include "timeline/MusicStream.h"

namespace {

// A piece as long as the show's (280 s), 44100 Hz stereo: a tone with a slow vibrato so every
// frame differs, encoded once per run.
const testsupport::ScratchFile& pieceFile() {
  static testsupport::ScratchFile file("bench-280s.mp3");
  static bool written = [] {
    auto pcm = testsupport::tone(44100, 2, 280.0, 220.0, 0.4);
    for (std::size_t i = 0; i < pcm.size(); i += 2) {
      double wobble = 0.2 * std::sin(double(i) * 1e-5);
      pcm[i] = static_cast<std::int16_t>(pcm[i] * (1.0 - wobble));
    }
    return file.write(testsupport::encodeMp3(pcm, 44100, 2, 7));
  }();
  if (!written) std::abort();
  return file;
}

void StreamCreation280s(benchmark::State& state) {
  const char* path = pieceFile().path().c_str();
  BASS_Init(0, 44100, 0, nullptr, nullptr);
  for (auto _ : state) {
    HSTREAM stream = BASS_StreamCreateFile(FALSE, path, 0, 0, 0);
    if (stream == 0) state.SkipWithError("stream creation failed");
    benchmark::DoNotOptimize(stream);
    BASS_StreamFree(stream);
  }
  BASS_Free();
}
BENCHMARK(StreamCreation280s)->Unit(benchmark::kMillisecond)->Iterations(5);

void MusicTimePerFrame(benchmark::State& state) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  timeline::MusicStream music;
  music.open(pieceFile().path().c_str());
  music.start();
  for (auto _ : state) benchmark::DoNotOptimize(music.musicTime());
  music.end();
  ::unsetenv("SDL_AUDIODRIVER");
}
BENCHMARK(MusicTimePerFrame)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
