// The drum and effect voices.
#include "tools/contentgen/Drums.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/contentgen/Noise.h"

namespace contentgen {
namespace {

// The six square waves of an analogue hi-hat (inharmonic, around 200–800 Hz), scaled.
class Metal {
public:
  explicit Metal(float scale) {
    constexpr std::array<float, 6> kHz = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
    for (std::size_t i = 0; i < kHz.size(); ++i) increments_[i] = kHz[i] * scale / kSampleRate;
  }
  float next() {
    float v = 0.0f;
    for (std::size_t i = 0; i < phases_.size(); ++i) v += phases_[i].advance(increments_[i]) < 0.5f ? 1.0f : -1.0f;
    return v * (1.0f / 6.0f);
  }

private:
  std::array<Phase, 6> phases_{};
  std::array<float, 6> increments_{};
};

// A cheap tanh (Padé form), exact enough for saturating a kick: odd, monotonic, ±1 beyond ±3.
float softClip(float x) {
  x = std::clamp(x, -3.0f, 3.0f);
  return x * (27.0f + x * x) / (27.0f + 9.0f * x * x);
}

// The envelope of a sound rising into a hit, `left` frames before it: it fades out over 4 ms and
// is silent for the last 12 ms, so the hit starts out of a short gap.
float gap(long long left) {
  constexpr float kSilent = 0.012f * kSampleRate, kFade = 0.004f * kSampleRate;
  return std::clamp((float(left) - kSilent) / kFade, 0.0f, 1.0f);
}

}  // namespace

std::uint32_t seedOf(double t, std::uint32_t salt) {
  return hash32(std::uint32_t(std::llround(t * 1000.0)) * 2654435761U + salt);
}

void kick(Pcm& out, double t, const KickShape& shape, std::uint32_t seed) {
  const long long start = out.frameOf(t);
  const std::size_t length = tailFrames(shape.decay);
  const float sweepFactor = decayFactor(shape.sweep), bodyFactor = decayFactor(shape.decay);
  const float clickFactor = decayFactor(0.003f);
  const std::size_t clickFrames = tailFrames(0.003f);
  const float norm = shape.drive > 0.0f ? 1.0f / softClip(shape.drive) : 1.0f;
  WhiteNoise noise(seed);
  OnePole clickTone;
  clickTone.tune(3000.0f);
  float sweep = 1.0f, body = shape.amplitude, click = shape.amplitude * shape.click;
  Phase phase;
  for (std::size_t n = 0; n < length; ++n) {
    float hz = shape.endHz + (shape.startHz - shape.endHz) * sweep;
    float v = sine(phase.value);
    phase.advance(hz / kSampleRate);
    if (shape.drive > 0.0f) v = softClip(shape.drive * v) * norm;
    float attack = std::min(1.0f, float(n) / (0.0005f * kSampleRate));
    float s = body * attack * v;
    if (n < clickFrames) s += click * clickTone.high(noise.next());
    out.add(start + static_cast<long long>(n), s, s);
    sweep *= sweepFactor;
    body *= bodyFactor;
    click *= clickFactor;
  }
}

void snare(Pcm& out, double t, float amplitude, float toneHz, float decay, std::uint32_t seed) {
  const long long start = out.frameOf(t);
  const std::size_t length = tailFrames(decay);
  WhiteNoise left(seed), right(seed + 1);
  Svf bandL, bandR;
  bandL.tune(5000.0f, 0.6f);
  bandR.tune(5000.0f, 0.6f);
  const float noiseFactor = decayFactor(decay), toneFactor = decayFactor(0.07f);
  float noiseLevel = amplitude, toneLevel = amplitude * 0.6f;
  Phase a, b;
  for (std::size_t n = 0; n < length; ++n) {
    float drop = 1.0f + 0.25f * std::exp(-float(n) / (0.01f * kSampleRate));
    float tone = toneLevel * (0.6f * sine(a.advance(toneHz * drop / kSampleRate)) +
                              0.4f * sine(b.advance(1.78f * toneHz * drop / kSampleRate)));
    float attack = std::min(1.0f, float(n) / (0.0004f * kSampleRate));
    float l = bandL.step(left.next()).high, r = bandR.step(right.next()).high;
    out.add(start + static_cast<long long>(n), attack * (tone + noiseLevel * l), attack * (tone + noiseLevel * r));
    noiseLevel *= noiseFactor;
    toneLevel *= toneFactor;
  }
}

void clap(Pcm& out, double t, float amplitude, float decay, float pan, std::uint32_t seed) {
  const long long start = out.frameOf(t);
  const std::size_t burst = std::size_t(0.009 * kSampleRate), tailStart = 3 * burst;
  const std::size_t length = tailStart + tailFrames(decay);
  WhiteNoise noise(seed);
  Svf band;
  band.tune(1400.0f, 1.2f);
  OnePole air;
  air.tune(700.0f);
  const Pan gains = panGains(pan);
  const float burstFactor = decayFactor(0.0025f), tailFactor = decayFactor(decay);
  float tail = 0.8f;
  for (std::size_t n = 0; n < length; ++n) {
    float env;
    if (n < tailStart) {
      env = std::pow(burstFactor, float(n % burst));
    } else {
      env = tail;
      tail *= tailFactor;
    }
    // The first burst carries the brightest snap.
    float x = noise.next(), snap = n < burst ? 1.0f : 0.5f;
    float v = amplitude * env * (1.6f * band.step(x).band + snap * air.high(x));
    out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
  }
}

void hat(Pcm& out, double t, float amplitude, float decay, float pan, std::uint32_t seed) {
  const long long start = out.frameOf(t);
  const std::size_t length = tailFrames(decay);
  Metal metal(1.0f);
  WhiteNoise noise(seed);
  Svf high;
  high.tune(7500.0f, 0.8f);
  const Pan gains = panGains(pan);
  const float factor = decayFactor(decay);
  float level = amplitude;
  for (std::size_t n = 0; n < length; ++n) {
    float attack = std::min(1.0f, float(n) / (0.0003f * kSampleRate));
    float v = level * attack * high.step(0.6f * metal.next() + 0.7f * noise.next()).high;
    out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
    level *= factor;
  }
}

void cymbal(Pcm& out, double t, float amplitude, float decay, float ping, std::uint32_t seed, float choke) {
  const long long start = out.frameOf(t);
  std::size_t length = tailFrames(decay);
  const std::size_t chokeFrame = choke > 0.0f ? std::size_t(choke * kSampleRate) : length;
  const std::size_t fade = std::size_t(0.005 * kSampleRate);
  length = std::min(length, chokeFrame + fade);
  Metal metal(1.9f);
  WhiteNoise left(seed), right(seed + 1);
  Svf highL, highR;
  highL.tune(3200.0f, 0.7f);
  highR.tune(3200.0f, 0.7f);
  const float factor = decayFactor(decay), burstFactor = decayFactor(0.03f), pingFactor = decayFactor(0.6f);
  float level = amplitude, burst = amplitude * 0.8f, pingLevel = amplitude * ping;
  Phase bellA, bellB;
  for (std::size_t n = 0; n < length; ++n) {
    float attack = std::min(1.0f, float(n) / (0.0004f * kSampleRate));
    float cut = n < chokeFrame ? 1.0f : 1.0f - float(n - chokeFrame) / float(fade);
    float env = attack * cut * (level + burst);
    float m = 0.5f * metal.next();
    float l = env * highL.step(m + left.next()).high, r = env * highR.step(m + right.next()).high;
    if (ping > 0.0f) {
      float bell = pingLevel * attack * cut *
                   (sine(bellA.advance(3150.0f / kSampleRate)) + 0.6f * sine(bellB.advance(4720.0f / kSampleRate)));
      l += bell;
      r += bell;
      pingLevel *= pingFactor;
    }
    out.add(start + static_cast<long long>(n), l, r);
    level *= factor;
    burst *= burstFactor;
  }
}

void tom(Pcm& out, double t, float amplitude, float hz, float decay, float pan, std::uint32_t seed) {
  const long long start = out.frameOf(t);
  const std::size_t length = tailFrames(decay);
  WhiteNoise noise(seed);
  OnePole stick;
  stick.tune(4000.0f);
  const Pan gains = panGains(pan);
  const float factor = decayFactor(decay), glide = decayFactor(0.1f), clickFactor = decayFactor(0.004f);
  float level = amplitude, bend = 1.0f, click = amplitude;
  Phase phase;
  for (std::size_t n = 0; n < length; ++n) {
    float v = level * sine(phase.advance(hz * (0.667f + 0.333f * bend) / kSampleRate)) + click * stick.high(noise.next());
    out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
    level *= factor;
    bend *= glide;
    click *= clickFactor;
  }
}

void rim(Pcm& out, double t, float amplitude, float pan, std::uint32_t seed) {
  const long long start = out.frameOf(t);
  const std::size_t length = tailFrames(0.018f);
  WhiteNoise noise(seed);
  OnePole bright;
  bright.tune(4000.0f);
  const Pan gains = panGains(pan);
  const float factor = decayFactor(0.018f);
  float level = amplitude;
  Phase a, b;
  for (std::size_t n = 0; n < length; ++n) {
    float v = level * (0.6f * sine(a.advance(1700.0f / kSampleRate)) + 0.4f * sine(b.advance(480.0f / kSampleRate)) +
                       0.5f * bright.high(noise.next()));
    out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
    level *= factor;
  }
}

void shaker(Pcm& out, double t, float amplitude, float decay, float pan, std::uint32_t seed) {
  const long long start = out.frameOf(t);
  const std::size_t length = tailFrames(decay);
  WhiteNoise noise(seed);
  Svf high;
  high.tune(6000.0f, 0.9f);
  const Pan gains = panGains(pan);
  const float factor = decayFactor(decay);
  float level = amplitude;
  for (std::size_t n = 0; n < length; ++n) {
    float attack = std::min(1.0f, float(n) / (0.002f * kSampleRate));
    float v = level * attack * high.step(noise.next()).high;
    out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
    level *= factor;
  }
}

void reverseSwell(Pcm& out, double end, double duration, float amplitude, float lowHz, float highHz, std::uint32_t seed) {
  const long long first = out.frameOf(end - duration), last = out.frameOf(end);
  const float span = float(std::max(1LL, last - first));
  WhiteNoise left(seed), right(seed + 1);
  Svf bandL, bandR;
  for (long long n = first; n < last; ++n) {
    float x = float(n - first) / span;
    if ((n - first) % 32 == 0) {
      float hz = lowHz * std::pow(highHz / lowHz, x);
      bandL.tune(hz, 1.4f);
      bandR.tune(hz, 1.4f);
    }
    float env = amplitude * x * x * x * gap(last - n);
    out.add(n, env * bandL.step(left.next()).band, env * bandR.step(right.next()).band);
  }
}

void riser(Pcm& out, double end, double duration, float amplitude, std::uint32_t seed) {
  const long long first = out.frameOf(end - duration), last = out.frameOf(end);
  const float span = float(std::max(1LL, last - first));
  WhiteNoise left(seed), right(seed + 1);
  Svf lowL, lowR;
  for (long long n = first; n < last; ++n) {
    float x = float(n - first) / span;
    if ((n - first) % 32 == 0) {
      float hz = 300.0f * std::pow(30.0f, x);
      lowL.tune(hz, 1.6f);
      lowR.tune(hz, 1.6f);
    }
    float env = amplitude * x * x * gap(last - n);
    out.add(n, env * lowL.step(left.next()).low, env * lowR.step(right.next()).low);
  }
}

void whoosh(Pcm& out, double t, double duration, float amplitude, std::uint32_t seed) {
  const long long first = out.frameOf(t), last = out.frameOf(t + duration);
  const float span = float(std::max(1LL, last - first));
  WhiteNoise left(seed), right(seed + 1);
  Svf bandL, bandR;
  for (long long n = first; n < last; ++n) {
    float x = float(n - first) / span;
    float arch = std::sin(3.14159265f * x);
    if ((n - first) % 32 == 0) {
      float hz = 400.0f * std::pow(7.5f, arch);
      bandL.tune(hz, 2.0f);
      bandR.tune(hz * 1.1f, 2.0f);
    }
    float env = amplitude * arch * arch;
    out.add(n, env * bandL.step(left.next()).band, env * bandR.step(right.next()).band);
  }
}

void reverseKick(Pcm& out, double end, double duration, float amplitude, float hz) {
  const long long first = out.frameOf(end - duration), last = out.frameOf(end);
  const float span = float(std::max(1LL, last - first));
  Phase phase;
  for (long long n = first; n < last; ++n) {
    float x = float(n - first) / span;
    // Starts silent, grows as a reversed decay would, and glides up a little into the beat.
    float env = amplitude * x * x * std::sqrt(x);
    float v = env * sine(phase.advance(hz * (0.85f + 0.3f * x) / kSampleRate));
    out.add(n, v, v);
  }
}

void subDrop(Pcm& out, double t, float amplitude, float fromHz, float toHz, float decay) {
  const long long start = out.frameOf(t);
  const std::size_t length = tailFrames(decay);
  const float factor = decayFactor(decay), glide = decayFactor(0.25f);
  float level = amplitude, bend = 1.0f;
  Phase phase;
  for (std::size_t n = 0; n < length; ++n) {
    float attack = std::min(1.0f, float(n) / (0.004f * kSampleRate));
    float v = level * attack * sine(phase.advance((toHz + (fromHz - toHz) * bend) / kSampleRate));
    out.add(start + static_cast<long long>(n), v, v);
    level *= factor;
    bend *= glide;
  }
}

void wind(Pcm& out, double start, double end, float amplitude, std::uint32_t seed) {
  const long long first = out.frameOf(start), last = out.frameOf(end);
  const float fade = float(kSampleRate);
  WhiteNoise left(seed), right(seed + 1);
  Svf bandL, bandR;
  Phase driftL, driftR;
  for (long long n = first; n < last; ++n) {
    if ((n - first) % 64 == 0) {
      bandL.tune(1100.0f + 500.0f * sine(driftL.advance(64.0f * 0.07f / kSampleRate)), 2.5f);
      bandR.tune(1100.0f + 500.0f * sine(driftR.advance(64.0f * 0.053f / kSampleRate) + 0.4f), 2.5f);
    }
    float edge = std::min({1.0f, float(n - first) / fade, float(last - n) / fade});
    float gust = 0.75f + 0.25f * sine(driftL.value * 3.0f);
    float env = amplitude * edge * gust;
    out.add(n, env * bandL.step(left.next()).band, env * bandR.step(right.next()).band);
  }
}

void spin(Pcm& out, double t, double duration, float amplitude, float fromHz, float toHz, float pan) {
  const long long first = out.frameOf(t), last = out.frameOf(t + duration);
  const float span = float(std::max(1LL, last - first));
  const Pan gains = panGains(pan);
  Phase phase, wobble;
  for (long long n = first; n < last; ++n) {
    float x = float(n - first) / span;
    float hz = fromHz * std::pow(toHz / fromHz, x);
    float attack = std::min(1.0f, float(n - first) / (0.01f * kSampleRate));
    float env = amplitude * attack * (1.0f - x) * (1.0f - x);
    float v = env * sine(phase.advance(hz * (1.0f + 0.02f * sine(wobble.advance(18.0f / kSampleRate))) / kSampleRate));
    out.add(n, v * gains.left, v * gains.right);
  }
}

}  // namespace contentgen
