// The synthesiser's building blocks.
#include "tools/contentgen/Synth.h"

#include <algorithm>
#include <array>
#include <numbers>

#include "tools/contentgen/Noise.h"

namespace contentgen {

Wavetable::Wavetable(std::initializer_list<float> harmonicLevels) : table_(kSize + 1, 0.0f) {
  for (int i = 0; i <= kSize; ++i) {
    double v = 0.0;
    int k = 1;
    for (float level : harmonicLevels) v += level * std::sin(2.0 * std::numbers::pi * k++ * i / kSize);
    table_[std::size_t(i)] = float(v);
  }
  table_[kSize] = table_[0];
}

Pcm::Pcm(double startSeconds, double seconds)
    : start(startSeconds),
      left(std::size_t(std::max<long long>(0, std::llround(seconds * kSampleRate))), 0.0f),
      right(left.size(), 0.0f) {}

void Pcm::scale(float gain) {
  for (float& v : left) v *= gain;
  for (float& v : right) v *= gain;
}

float midiHz(float midi) { return 440.0f * std::exp2((midi - 69.0f) / 12.0f); }

float decayFactor(float seconds) { return std::exp(-1.0f / (seconds * float(kSampleRate))); }

Pan panGains(float position) {
  float angle = (std::clamp(position, -1.0f, 1.0f) + 1.0f) * 0.25f * std::numbers::pi_v<float>;
  return {std::cos(angle) * std::numbers::sqrt2_v<float>, std::sin(angle) * std::numbers::sqrt2_v<float>};
}

const float* sineTable() {
  static const std::array<float, kSineTableSize + 1> table = [] {
    std::array<float, kSineTableSize + 1> t{};
    for (int i = 0; i <= kSineTableSize; ++i) t[std::size_t(i)] = float(std::sin(2.0 * std::numbers::pi * i / kSineTableSize));
    t[kSineTableSize] = t[0];
    return t;
  }();
  return table.data();
}

WhiteNoise::WhiteNoise(std::uint32_t seed) : state_(hash32(seed) | 1u) {}

Adsr::Adsr(const AdsrShape& shape, double gateSeconds)
    : attackStep_(1.0f / std::max(1.0f, shape.attack * kSampleRate)),
      decayFactor_(decayFactor(std::max(shape.decay, 1e-4f))),
      releaseFactor_(decayFactor(std::max(shape.release, 1e-4f))),
      sustain_(shape.sustain),
      attackFrames_(std::size_t(shape.attack * kSampleRate)),
      gateFrames_(std::size_t(std::max(0.0, gateSeconds) * kSampleRate)),
      length_(gateFrames_ + tailFrames(std::max(shape.release, 1e-4f))) {}

void Svf::tune(float hz, float q) {
  float g = std::tan(std::numbers::pi_v<float> * std::clamp(hz, 10.0f, 0.45f * kSampleRate) / kSampleRate);
  k_ = 1.0f / q;
  a1_ = 1.0f / (1.0f + g * (g + k_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

Biquad Biquad::highPass(double hz, double q) {
  double w = 2.0 * std::numbers::pi * hz / kSampleRate;
  double alpha = std::sin(w) / (2.0 * q), c = std::cos(w), a0 = 1.0 + alpha;
  Biquad f;
  f.b0_ = (1.0 + c) / 2.0 / a0;
  f.b1_ = -(1.0 + c) / a0;
  f.b2_ = f.b0_;
  f.a1_ = -2.0 * c / a0;
  f.a2_ = (1.0 - alpha) / a0;
  return f;
}

void filterTrack(Pcm& track, const std::function<float(double)>& cutoff, float q, bool highPass) {
  Svf left, right;
  for (std::size_t n = 0; n < track.frames(); ++n) {
    if (n % 32 == 0) {
      float hz = cutoff(track.timeOf(static_cast<long long>(n)));
      left.tune(hz, q);
      right.tune(hz, q);
    }
    Svf::Out l = left.step(track.left[n]), r = right.step(track.right[n]);
    track.left[n] = highPass ? l.high : l.low;
    track.right[n] = highPass ? r.high : r.low;
  }
}

void steepHighPass(Pcm& track, float hz) {
  auto fixed = [hz](double) { return hz; };
  filterTrack(track, fixed, 0.7071f, true);
  filterTrack(track, fixed, 0.7071f, true);
}

}  // namespace contentgen
