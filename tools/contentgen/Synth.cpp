// The voices of the placeholder soundtrack.
#include "tools/contentgen/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/contentgen/Noise.h"

namespace contentgen {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// White noise with its second difference taken: +12 dB per octave, so a burst carries almost no
// energy in the bands the pictures read (below 300 Hz).
class BrightNoise {
public:
  explicit BrightNoise(std::uint32_t seed) : rng_(seed) {}
  float next() {
    float x = rng_.range(-1.0f, 1.0f);
    float y = (x - 2.0f * x1_ + x2_) * 0.25f;
    x2_ = x1_;
    x1_ = x;
    return y;
  }

private:
  Rng rng_;
  float x1_ = 0, x2_ = 0;
};

}  // namespace

Pcm::Pcm(int sampleRate, double seconds)
    : rate(sampleRate),
      left(std::size_t(std::llround(seconds * sampleRate)), 0.0f),
      right(std::size_t(std::llround(seconds * sampleRate)), 0.0f) {}

std::size_t Pcm::frameAt(double seconds) const {
  return std::size_t(std::max<long long>(0, std::llround(seconds * rate)));
}

void Pcm::add(std::size_t frame, float l, float r) {
  if (frame >= left.size()) return;
  left[frame] += l;
  right[frame] += r;
}

void addKick(Pcm& pcm, double t, float amplitude, float startHz, float endHz, float decay) {
  std::size_t start = pcm.frameAt(t);
  const std::size_t length = std::size_t(decay * 6.0f * float(pcm.rate));
  double phase = 0.0;
  for (std::size_t n = 0; n < length; ++n) {
    double s = double(n) / pcm.rate;
    double hz = endHz + (startHz - endHz) * std::exp(-s / 0.03);
    phase += kTwoPi * hz / pcm.rate;
    float attack = float(std::min(1.0, s / 0.002));
    float v = amplitude * attack * float(std::exp(-s / decay) * std::sin(phase));
    pcm.add(start + n, v, v);
  }
}

void addClick(Pcm& pcm, double t, float amplitude, std::uint32_t seed) {
  BrightNoise noise(seed);
  std::size_t start = pcm.frameAt(t);
  const std::size_t length = std::size_t(0.04 * pcm.rate);
  for (std::size_t n = 0; n < length; ++n) {
    double s = double(n) / pcm.rate;
    float env = float(std::exp(-s / 0.008));
    float tone = float(std::sin(kTwoPi * 3200.0 * s));
    float v = amplitude * env * (0.7f * noise.next() + 0.3f * tone);
    pcm.add(start + n, v, v);
  }
}

void addHat(Pcm& pcm, double t, float amplitude, float decay, std::uint32_t seed) {
  BrightNoise left(seed), right(seed + 1);
  std::size_t start = pcm.frameAt(t);
  const std::size_t length = std::size_t(decay * 5.0f * float(pcm.rate));
  const double fall = std::exp(-1.0 / (pcm.rate * double(decay)));
  double env = amplitude;
  for (std::size_t n = 0; n < length; ++n, env *= fall) pcm.add(start + n, float(env) * left.next(), float(env) * right.next());
}

void addCrash(Pcm& pcm, double t, float amplitude, float decay, std::uint32_t seed) {
  addHat(pcm, t, amplitude, decay, seed);
}

void addClap(Pcm& pcm, double t, float amplitude, std::uint32_t seed) {
  Rng rng(seed);
  std::size_t start = pcm.frameAt(t);
  const std::size_t length = std::size_t(0.12 * pcm.rate);
  float previous = 0.0f;
  for (std::size_t n = 0; n < length; ++n) {
    double s = double(n) / pcm.rate;
    double burst = std::fmod(s, 0.011);
    float env = s < 0.033 ? float(std::exp(-burst / 0.003)) : float(std::exp(-(s - 0.033) / 0.03));
    float x = rng.range(-1.0f, 1.0f);
    float v = amplitude * env * (x - previous) * 0.5f;
    previous = x;
    pcm.add(start + n, v, v);
  }
}

void addRiser(Pcm& pcm, double end, double duration, float amplitude, std::uint32_t seed) {
  BrightNoise left(seed), right(seed + 1);
  std::size_t first = pcm.frameAt(end - duration), last = pcm.frameAt(end);
  for (std::size_t n = first; n < last; ++n) {
    float k = float(n - first) / float(std::max<std::size_t>(1, last - first));
    float env = amplitude * k * k;
    pcm.add(n, env * left.next(), env * right.next());
  }
}

void addSwell(Pcm& pcm, double end, double duration, float amplitude, float hz) {
  std::size_t first = pcm.frameAt(end - duration), last = pcm.frameAt(end);
  for (std::size_t n = first; n < last; ++n) {
    double k = double(n - first) / double(std::max<std::size_t>(1, last - first));
    float v = amplitude * float(k * k * std::sin(kTwoPi * hz * double(n - first) / pcm.rate));
    pcm.add(n, v, v);
  }
}

void addLift(Pcm& pcm, double end, double duration, float level) {
  std::size_t first = pcm.frameAt(end - duration), last = pcm.frameAt(end);
  for (std::size_t n = first; n < last; ++n) {
    double x = double(n - first) / double(std::max<std::size_t>(1, last - first));
    float v = level * float(std::sqrt(std::sin(std::numbers::pi * x)));
    pcm.add(n, v, v);
  }
}

void addBell(Pcm& pcm, double t, float amplitude, float hz) {
  // Each partial: a sine by rotation with its own exponential decay.
  struct Partial {
    double ratio, gain, decay;
  };
  constexpr Partial kPartials[] = {{1.0, 1.0, 1.6}, {2.76, 0.4, 0.7}, {5.4, 0.2, 0.35}};
  std::size_t start = pcm.frameAt(t);
  const std::size_t length = std::size_t(2.5 * pcm.rate);
  const std::size_t attack = std::size_t(0.003 * pcm.rate);
  for (const Partial& p : kPartials) {
    double w = kTwoPi * hz * p.ratio / pcm.rate;
    double c = 1.0, s = 0.0, cw = std::cos(w), sw = std::sin(w);
    double env = amplitude * p.gain, fall = std::exp(-1.0 / (pcm.rate * p.decay));
    for (std::size_t n = 0; n < length; ++n, env *= fall) {
      double nc = c * cw - s * sw;
      s = s * cw + c * sw;
      c = nc;
      float v = float(env * s * std::min(1.0, double(n) / double(attack)));
      pcm.add(start + n, v, v * 0.9f);
    }
  }
}

void addNote(Pcm& pcm, double start, double end, float amplitude, float hz) {
  std::size_t first = pcm.frameAt(start), last = pcm.frameAt(end);
  const double fade = 0.005 * pcm.rate;
  for (std::size_t n = first; n < last; ++n) {
    double edge = std::min(double(n - first), double(last - n));
    float env = float(std::min(1.0, edge / fade));
    float v = amplitude * env * float(std::sin(kTwoPi * hz * double(n) / pcm.rate));
    pcm.add(n, v, v);
  }
}

void addDrone(Pcm& pcm, double start, double end, const std::function<float(double)>& level,
              const std::function<float(double)>& rootLevel) {
  // F minor: F3 (the root, band 2's centre), C4, F4, A♭4, C5 and a faint F6 for air.
  struct Voice {
    double hz, gain;
  };
  constexpr Voice kChord[] = {{261.63, 0.03}, {349.23, 0.04}, {415.30, 0.025}, {523.25, 0.02}, {1396.9, 0.006}};
  constexpr double kRoot = 174.61;
  std::size_t first = pcm.frameAt(start), last = std::min(pcm.frameAt(end), pcm.frames());
  // Sines by rotation: one complex multiply per voice and frame instead of a sin call.
  struct Oscillator {
    double c, s, cw, sw;
    double step() {
      double nc = c * cw - s * sw, ns = s * cw + c * sw;
      c = nc;
      s = ns;
      return s;
    }
  };
  auto oscillator = [&](double hz) {
    double w = kTwoPi * hz / pcm.rate;
    return Oscillator{1.0, 0.0, std::cos(w), std::sin(w)};
  };
  std::vector<Oscillator> leftVoices, rightVoices;
  leftVoices.push_back(oscillator(kRoot));
  rightVoices.push_back(oscillator(kRoot + 0.3));
  for (const Voice& v : kChord) {
    leftVoices.push_back(oscillator(v.hz));
    rightVoices.push_back(oscillator(v.hz * 1.0015));
  }
  // Levels and the slow wobble of each voice are control signals, updated every 64 frames.
  constexpr std::size_t kBlock = 64;
  double gains[std::size(kChord)] = {};
  double root = 0.0;
  for (std::size_t n = first; n < last; ++n) {
    if ((n - first) % kBlock == 0) {
      double t = double(n) / pcm.rate;
      root = rootLevel(t);
      double gain = level(t);
      for (std::size_t k = 0; k < std::size(kChord); ++k) {
        double wobble = 1.0 + 0.25 * std::sin(kTwoPi * (0.05 + 0.013 * double(k)) * t + double(k));
        gains[k] = gain * kChord[k].gain * wobble;
      }
    }
    double l = root * leftVoices[0].step(), r = root * rightVoices[0].step();
    for (std::size_t k = 0; k < std::size(kChord); ++k) {
      l += gains[k] * leftVoices[k + 1].step();
      r += gains[k] * rightVoices[k + 1].step();
    }
    pcm.add(n, float(l), float(r));
    // Renormalise now and then: rotation drifts by rounding over millions of steps.
    if ((n & 0xFFFF) == 0) {
      for (auto* voices : {&leftVoices, &rightVoices}) {
        for (Oscillator& o : *voices) {
          double len = std::hypot(o.c, o.s);
          o.c /= len;
          o.s /= len;
        }
      }
    }
  }
}

std::vector<std::int16_t> toPcm16(const Pcm& pcm) {
  std::vector<std::int16_t> out(pcm.frames() * 2);
  auto sample = [](float v) { return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); };
  for (std::size_t n = 0; n < pcm.frames(); ++n) {
    out[2 * n] = sample(pcm.left[n]);
    out[2 * n + 1] = sample(pcm.right[n]);
  }
  return out;
}

}  // namespace contentgen
