// The soundtrack's master chain: the limiter keeps every sample under its ceiling and leaves quiet
// passages alone, a hard stop silences the reverb and delay tails, and a high-pass span removes
// what the closing logo's band 2 would see.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/contentgen/Mixer.h"

namespace {

using contentgen::kSampleRate;
using contentgen::Pcm;

void addSine(Pcm& pcm, double from, double to, double hz, float amplitude) {
  for (long long n = pcm.frameOf(from); n < pcm.frameOf(to); ++n) {
    float v = amplitude * float(std::sin(2.0 * 3.14159265358979 * hz * double(n) / kSampleRate));
    pcm.add(n, v, v);
  }
}

float peakBetween(const Pcm& pcm, double from, double to) {
  float peak = 0.0f;
  for (long long n = std::max(0LL, pcm.frameOf(from)); n < std::min<long long>(pcm.frameOf(to), pcm.frames()); ++n) {
    peak = std::max({peak, std::fabs(pcm.left[std::size_t(n)]), std::fabs(pcm.right[std::size_t(n)])});
  }
  return peak;
}

TEST(MixerTest, LimiterKeepsEverySampleUnderTheCeilingAndQuietPartsUntouched) {
  Pcm pcm(0.0, 3.0);
  addSine(pcm, 0.0, 3.0, 220.0, 0.2f);
  // Loud low bursts (2.5× over the ceiling) with sharp attacks.
  for (double t : {0.5, 0.9, 1.7}) addSine(pcm, t, t + 0.05, 60.0, 2.0f);
  Pcm original = pcm;
  contentgen::limitPeaks(pcm, 0.8f);
  EXPECT_LE(peakBetween(pcm, 0.0, 3.0), 0.8f + 1e-6f);
  // Far from the bursts (more than the recovery time away) the gain is back to one.
  for (double t : {0.2, 2.6}) {
    long long n = pcm.frameOf(t);
    EXPECT_NEAR(pcm.left[std::size_t(n)], original.left[std::size_t(n)], 1e-4f) << t;
  }
}

TEST(MixerTest, HardStopSilencesReverbAndDelayTails) {
  contentgen::Mixer mix(3.0);
  Pcm burst(0.0, 3.0);
  addSine(burst, 0.5, 0.6, 880.0, 0.5f);
  mix.add(burst, 1.0f, {1.0f, 1.0f});
  mix.chokeEffectsAt(1.3);
  Pcm out = mix.master(1.0f, 10.0f);
  // The effects ring on after the dry burst (the delay repeats at 1.1 s) …
  EXPECT_GT(peakBetween(out, 0.7, 1.25), 0.01f);
  // … and are gone from the stop on (below −80 dB).
  EXPECT_LT(peakBetween(out, 1.3, 3.0), 1e-4f);
}

TEST(MixerTest, HighPassSpanRemovesLowNotesOnlyInsideIt) {
  contentgen::Mixer mix(4.0);
  Pcm tone(0.0, 4.0);
  addSine(tone, 0.0, 4.0, 172.0, 0.5f);  // the centre of spectrum band 2
  addSine(tone, 0.0, 4.0, 2000.0, 0.1f);
  mix.add(tone, 1.0f);
  mix.highPassBetween(1.5, 3.0, 800.0f);
  Pcm out = mix.master(1.0f, 10.0f);
  EXPECT_GT(peakBetween(out, 0.5, 1.4), 0.55f);  // both tones before the span
  // Inside it only the 2 kHz tone is left (its own peak 0.1, the low one 60 dB down).
  float inside = peakBetween(out, 1.6, 2.9);
  EXPECT_LT(inside, 0.1f + 0.0005f);
  EXPECT_GT(inside, 0.09f);
  EXPECT_GT(peakBetween(out, 3.2, 3.9), 0.55f);  // and both after it
}

}  // namespace
