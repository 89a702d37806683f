// The look-ups the frames make by name, on the show as the program starts it (null device): the
// manifest's texture (56) and effect (22) registries and a stage's mesh registry, searched
// linearly, at their first and last keys; and an effect parameter set by name, which searches the
// effect's parameter table on every call. The frames make a few dozen of each.
#include <benchmark/benchmark.h>

#include "bench/BenchShow.h"
#include "platform/d3dx9/d3dx9.h"
#include "timeline/Manifest.h"

namespace {

bench::BenchShow* startedShow(benchmark::State& state) {
  bench::BenchShow& show = bench::BenchShow::instance();
  if (!show.ready()) {
    state.SkipWithError("no content or device");
    return nullptr;
  }
  return &show;
}

// A registry's look-up of one key, which must be there.
template <typename Registry>
void timeLookups(benchmark::State& state, Registry& registry, const char* key) {
  if (!registry.lookup(key)) {
    state.SkipWithError("no entry with this key");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(registry.lookup(key));
}

void textureLookup(benchmark::State& state, const char* key) {
  if (startedShow(state)) timeLookups(state, timeline::manifest().textures, key);
}

void effectLookup(benchmark::State& state, const char* key) {
  if (startedShow(state)) timeLookups(state, timeline::manifest().effects, key);
}

void meshLookup(benchmark::State& state, const char* key) {
  if (bench::BenchShow* show = startedShow(state)) timeLookups(state, show->organ().organMeshes, key);
}

// SetFloat by name on the card effect: the parameter table searched, the value stored for the
// next commit.
void effectSetFloatByName(benchmark::State& state) {
  if (!startedShow(state)) return;
  ID3DXEffect* card = timeline::manifest().effects.lookup("demo1text");
  if (!card || FAILED(card->SetFloat("alpha1", 0.5f))) {
    state.SkipWithError("no card effect");
    return;
  }
  float alpha = 0.0f;
  for (auto _ : state) {
    alpha = alpha > 1.0f ? 0.0f : alpha + 0.001f;
    benchmark::DoNotOptimize(card->SetFloat("alpha1", alpha));
  }
}

// SetMatrix by name on the ground effect, whose table holds its most parameters.
void effectSetMatrixByName(benchmark::State& state) {
  if (!startedShow(state)) return;
  ID3DXEffect* ground = timeline::manifest().effects.lookup("bakke1");
  D3DXMATRIX matrix;
  D3DXMatrixIdentity(&matrix);
  if (!ground || FAILED(ground->SetMatrix("matLightViewProjection", &matrix))) {
    state.SkipWithError("no ground effect");
    return;
  }
  for (auto _ : state) {
    matrix._41 += 1.0f;
    benchmark::DoNotOptimize(ground->SetMatrix("matLightViewProjection", &matrix));
  }
}

}  // namespace

BENCHMARK_CAPTURE(textureLookup, first, "overlay02");
BENCHMARK_CAPTURE(textureLookup, last, "normalf");
BENCHMARK_CAPTURE(effectLookup, first, "demo1text");
BENCHMARK_CAPTURE(effectLookup, last, "flashfx");
BENCHMARK_CAPTURE(meshLookup, first, "plane01");
BENCHMARK_CAPTURE(meshLookup, last, "organ6");
BENCHMARK(effectSetFloatByName);
BENCHMARK(effectSetMatrixByName);

BENCHMARK_MAIN();
