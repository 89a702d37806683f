// The synthesiser's building blocks: a float stereo track over a span of music time, oscillators
// (table sine, band-limited saw), seeded white noise, envelopes and filters (state-variable,
// one-pole, biquad). Plain values without global state: the same calls give the same samples.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace contentgen {

constexpr int kSampleRate = 44100;

// A float stereo track whose frame 0 sounds at music time `start`. Voices add into it at music
// times; frames outside the track are dropped.
struct Pcm {
  double start = 0.0;
  std::vector<float> left, right;

  Pcm(double startSeconds, double seconds);
  std::size_t frames() const { return left.size(); }
  // The frame of a music time, rounded to the nearest sample; negative before the track.
  long long frameOf(double t) const { return std::llround((t - start) * kSampleRate); }
  double timeOf(long long frame) const { return start + double(frame) / kSampleRate; }
  void add(long long frame, float l, float r) {
    if (frame < 0 || frame >= static_cast<long long>(left.size())) return;
    left[std::size_t(frame)] += l;
    right[std::size_t(frame)] += r;
  }
  void scale(float gain);
};

float midiHz(float midi);
// Per-frame factor of an exponential decay with time constant `seconds`.
float decayFactor(float seconds);
// Frames an exponential decay takes to fall by 50 dB (where a voice's tail is rendered to: in the
// mix it is far below anything else by then).
inline std::size_t tailFrames(float seconds) { return std::size_t(5.75f * seconds * kSampleRate); }
// Left and right gains of a constant-power pan position in [-1, 1].
struct Pan {
  float left, right;
};
Pan panGains(float position);

constexpr int kSineTableSize = 4096;
// One period of sin(2π·x) at kSineTableSize + 1 points (the last repeats the first).
const float* sineTable();

// sin(2π·phase) from the table with linear interpolation; any phase in cycles.
inline float sine(float phase) {
  int whole = int(phase);
  if (phase < float(whole)) --whole;
  float x = (phase - float(whole)) * float(kSineTableSize);
  int i = int(x);
  if (i >= kSineTableSize) i = kSineTableSize - 1;
  const float* t = sineTable();
  return t[i] + (x - float(i)) * (t[i + 1] - t[i]);
}

// One cycle of a fixed harmonic waveform (level of harmonic k + 1 at index k), read with linear
// interpolation: one lookup for an additive timbre.
class Wavetable {
public:
  explicit Wavetable(std::initializer_list<float> harmonicLevels);
  float at(float phase) const {
    float x = phase * float(kSize);
    int i = int(x);
    return table_[std::size_t(i)] + (x - float(i)) * (table_[std::size_t(i) + 1] - table_[std::size_t(i)]);
  }

private:
  static constexpr int kSize = 2048;
  std::vector<float> table_;
};

// A phase in cycles in [0, 1), advanced by increments below one cycle.
struct Phase {
  float value = 0.0f;
  float advance(float increment) {
    value += increment;
    if (value >= 1.0f) value -= 1.0f;
    return value;
  }
};

// The residual of a unit step at phase 0 of a sawtooth, spread over one sample either side.
inline float polyBlep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

// A sawtooth in [-1, 1] with polyBLEP steps (little aliasing up to a few kHz).
class Saw {
public:
  explicit Saw(float startPhase = 0.0f) { phase_.value = startPhase; }
  float next(float increment) {
    float p = phase_.value;
    float v = 2.0f * p - 1.0f - polyBlep(p, increment);
    phase_.advance(increment);
    return v;
  }

private:
  Phase phase_;
};

// White noise in [-1, 1) from a seeded xorshift generator.
class WhiteNoise {
public:
  explicit WhiteNoise(std::uint32_t seed);
  float next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return float(std::int32_t(state_)) * (1.0f / 2147483648.0f);
  }
  float unit() { return 0.5f * next() + 0.5f; }

private:
  std::uint32_t state_;
};

// Attack (linear), decay (exponential to the sustain level), release (exponential) after a gate
// of a given length. Times in seconds.
struct AdsrShape {
  float attack = 0.005f, decay = 0.1f, sustain = 1.0f, release = 0.05f;
};

class Adsr {
public:
  Adsr(const AdsrShape& shape, double gateSeconds);
  float next() {
    if (frame_ >= gateFrames_) {
      level_ *= releaseFactor_;
    } else if (frame_ < attackFrames_) {
      level_ = std::min(1.0f, level_ + attackStep_);
    } else if (!settled_) {
      // Once at the sustain level the envelope holds still (and costs nothing).
      level_ = sustain_ + (level_ - sustain_) * decayFactor_;
      settled_ = std::fabs(level_ - sustain_) < 1e-5f;
      if (settled_) level_ = sustain_;
    }
    ++frame_;
    return level_;
  }
  // Frames until the release has fallen below −50 dB.
  std::size_t length() const { return length_; }

private:
  float level_ = 0.0f, attackStep_, decayFactor_, releaseFactor_, sustain_;
  bool settled_ = false;
  std::size_t frame_ = 0, attackFrames_, gateFrames_, length_;
};

// Topology-preserving state-variable filter (2 poles): low, band and high outputs of one step.
class Svf {
public:
  struct Out {
    float low, band, high;
  };
  void tune(float hz, float q);
  Out step(float x) {
    float v3 = x - ic2_;
    float v1 = a1_ * ic1_ + a2_ * v3;
    float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
  }

private:
  float a1_ = 0, a2_ = 0, a3_ = 0, k_ = 1, ic1_ = 0, ic2_ = 0;
};

// One-pole low-pass; `high` is the matching high-pass (input minus low).
class OnePole {
public:
  void tune(float hz) { a_ = 1.0f - std::exp(-2.0f * 3.14159265f * hz / kSampleRate); }
  float low(float x) { return y_ += a_ * (x - y_); }
  float high(float x) { return x - low(x); }

private:
  float a_ = 1.0f, y_ = 0.0f;
};

// A Butterworth biquad section in double precision (for the master bus, where low corner
// frequencies need it).
class Biquad {
public:
  static Biquad highPass(double hz, double q);
  double step(double x) {
    double y = b0_ * x + z1_;
    z1_ = b1_ * x - a1_ * y + z2_;
    z2_ = b2_ * x - a2_ * y;
    return y;
  }

private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0, z1_ = 0, z2_ = 0;
};

// Filters a whole track in place with a state-variable low-pass (`highPass` false) or
// high-pass whose cutoff follows `cutoff(t)` (music time), retuned every 32 frames.
void filterTrack(Pcm& track, const std::function<float(double)>& cutoff, float q, bool highPass);
// A fixed cutoff, two passes (4 poles).
void steepHighPass(Pcm& track, float hz);

}  // namespace contentgen
