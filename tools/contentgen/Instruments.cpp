// The pitched instruments.
#include "tools/contentgen/Instruments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace contentgen {
namespace {

float cents(float c) { return std::exp2(c / 1200.0f); }

// Notes of the same pitch that follow each other without a gap become one held note.
std::vector<Note> held(std::span<const Note> notes) {
  std::vector<Note> sorted(notes.begin(), notes.end());
  std::sort(sorted.begin(), sorted.end(), [](const Note& a, const Note& b) {
    return a.midi != b.midi ? a.midi < b.midi : a.start < b.start;
  });
  std::vector<Note> merged;
  for (const Note& n : sorted) {
    if (!merged.empty() && merged.back().midi == n.midi && n.start <= merged.back().end + 1e-3) {
      merged.back().end = std::max(merged.back().end, n.end);
    } else {
      merged.push_back(n);
    }
  }
  return merged;
}

}  // namespace

void pad(Pcm& out, std::span<const Note> notes, const PadShape& shape) {
  for (const Note& note : held(notes)) {
    Adsr env({shape.attack, 0.1f, 1.0f, shape.release}, note.end - note.start);
    const float hz = midiHz(note.midi), level = shape.level * note.velocity;
    const float up = hz * cents(shape.detune) / kSampleRate, down = hz * cents(-shape.detune) / kSampleRate;
    // Start phases from the pitch, so stacked notes do not start in step.
    Saw left(std::fmod(note.midi * 0.137f, 1.0f)), right(std::fmod(note.midi * 0.291f, 1.0f));
    const long long start = out.frameOf(note.start);
    for (std::size_t n = 0; n < env.length(); ++n) {
      float e = level * env.next();
      out.add(start + static_cast<long long>(n), e * left.next(up), e * right.next(down));
    }
  }
}

void bass(Pcm& out, const Note& note, const BassShape& shape) {
  Adsr env({shape.attack, 0.2f, 1.0f, shape.release}, note.end - note.start);
  const float increment = midiHz(note.midi) / kSampleRate;
  const float filterFactor = decayFactor(shape.envelopeDecay);
  float filterEnv = 1.0f;
  // Starting half a cycle on, so the note's first lobe opposes a kick's on the same beat and the
  // two do not pile up into one peak.
  Phase main{0.5f};
  Saw saw(0.5f);
  Svf low;
  const long long start = out.frameOf(note.start);
  const float level = shape.level * note.velocity;
  for (std::size_t n = 0; n < env.length(); ++n) {
    if (n % 16 == 0) low.tune(shape.cutoff + shape.envelope * filterEnv, 0.9f);
    float v = sine(main.advance(increment)) + shape.saw * low.step(saw.next(increment)).low;
    float s = level * env.next() * v;
    out.add(start + static_cast<long long>(n), s, s);
    filterEnv *= filterFactor;
  }
}

void wobbleBass(Pcm& out, const Note& note, const WobbleShape& shape) {
  const float level = shape.level, peakHz = shape.peakHz;
  const long long first = out.frameOf(note.start), last = out.frameOf(note.end);
  const float span = float(std::max(1LL, last - first)), hz = midiHz(note.midi);
  Saw saw;
  Phase sub;
  Svf low;
  for (long long n = first; n < last; ++n) {
    float x = float(n - first) / span;
    float arch = 0.5f - 0.5f * sine(x + 0.25f);
    if ((n - first) % 16 == 0) low.tune(150.0f + (peakHz - 150.0f) * arch, 2.5f);
    float f = hz * std::exp2(2.0f * arch / 12.0f);
    float v = level * arch * (low.step(saw.next(f / kSampleRate)).low + 0.5f * sine(sub.advance(f / kSampleRate)));
    out.add(n, v, v);
  }
}

void pluck(Pcm& out, const Note& note, const PluckShape& shape) {
  const float level = shape.level, bright = shape.bright, decay = shape.decay, pan = shape.pan;
  const long long start = out.frameOf(note.start);
  // Short notes in a dense texture: rendered down to −40 dB.
  const std::size_t length = std::size_t(4.6f * decay * kSampleRate);
  const float hz = midiHz(note.midi), inc = hz / kSampleRate;
  const float ampFactor = decayFactor(decay), filterFactor = decayFactor(decay * 0.4f);
  const Pan gains = panGains(pan);
  Saw a, b(0.5f);
  Svf low;
  float amp = level * note.velocity, filterEnv = 1.0f;
  for (std::size_t n = 0; n < length; ++n) {
    if (n % 16 == 0) low.tune(hz * 1.5f + bright * filterEnv, 1.1f);
    float attack = std::min(1.0f, float(n) / (0.002f * kSampleRate));
    // Saw plus a square made of two saws half a cycle apart.
    float sa = a.next(inc), sb = b.next(inc);
    float v = amp * attack * low.step(0.7f * sa + 0.3f * (sa - sb)).low;
    out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
    amp *= ampFactor;
    filterEnv *= filterFactor;
  }
}

void lead(Pcm& out, const Note& note, const LeadShape& shape) {
  const float level = shape.level, cutoff = shape.cutoff;
  Adsr env({0.015f, 0.4f, 0.75f, 0.18f}, note.end - note.start);
  const float hz = midiHz(note.midi);
  Saw a(0.1f), b(0.6f);
  Phase sub, vibrato;
  Svf lowL, lowR;
  lowL.tune(cutoff, 0.8f);
  lowR.tune(cutoff, 0.8f);
  const long long start = out.frameOf(note.start);
  const float amp = level * note.velocity;
  const float up = cents(6.0f) / kSampleRate, down = cents(-6.0f) / kSampleRate;
  for (std::size_t n = 0; n < env.length(); ++n) {
    // Vibrato of ±0.4 % fading in after a quarter of a second.
    float depth = std::clamp((float(n) / kSampleRate - 0.25f) * 2.0f, 0.0f, 1.0f) * 0.004f;
    float f = hz * (1.0f + depth * sine(vibrato.advance(5.3f / kSampleRate)));
    float s = 0.35f * sine(sub.advance(0.5f * f / kSampleRate));
    float e = amp * env.next();
    float l = lowL.step(a.next(f * up) + s).low;
    float r = lowR.step(b.next(f * down) + s).low;
    out.add(start + static_cast<long long>(n), e * l, e * r);
  }
}

void bell(Pcm& out, double t, float midi, const BellShape& shape) {
  const float level = shape.level, decay = shape.decay, pan = shape.pan;
  // Inharmonic partials, the higher ones dying sooner; sines by rotation.
  struct Partial {
    double ratio;
    float gain, decay;
  };
  constexpr Partial kPartials[] = {{1.0, 1.0f, 1.0f}, {2.0, 0.35f, 0.6f}, {2.76, 0.3f, 0.35f}, {5.4, 0.12f, 0.15f}};
  const long long start = out.frameOf(t);
  const double hz = midiHz(midi);
  const Pan gains = panGains(pan);
  const float attack = 0.005f * kSampleRate;
  for (const Partial& p : kPartials) {
    const double w = 2.0 * 3.141592653589793 * hz * p.ratio / kSampleRate;
    if (w >= 3.0) continue;
    const double cw = std::cos(w), sw = std::sin(w);
    double c = 1.0, s = 0.0;
    const float factor = decayFactor(decay * p.decay);
    float env = level * p.gain;
    const std::size_t length = tailFrames(decay * p.decay);
    for (std::size_t n = 0; n < length; ++n) {
      double nc = c * cw - s * sw;
      s = s * cw + c * sw;
      c = nc;
      float v = env * std::min(1.0f, float(n) / attack) * float(s);
      out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
      env *= factor;
    }
  }
}

void organ(Pcm& out, const Note& note, const SwellShape& shape) {
  const float level = shape.level, attack = shape.attack, release = shape.release;
  // Drawbars: harmonics 1, 2, 3, 4 and 6.
  static const Wavetable kDrawbars({1.0f, 0.65f, 0.3f, 0.25f, 0.0f, 0.12f});
  Adsr env({attack, 0.1f, 1.0f, release}, note.end - note.start);
  const float increment = midiHz(note.midi) / kSampleRate;
  Phase phase, rotor;
  const long long start = out.frameOf(note.start);
  const float amp = level * note.velocity * 0.45f;
  float r = 0.0f;
  for (std::size_t n = 0; n < env.length(); ++n) {
    float v = kDrawbars.at(phase.advance(increment));
    if (n % 32 == 0) r = 0.12f * sine(rotor.advance(32.0f * 5.7f / kSampleRate));
    float e = amp * env.next() * v;
    out.add(start + static_cast<long long>(n), e * (1.0f + r), e * (1.0f - r));
  }
}

void grain(Pcm& out, double t, const GrainShape& shape) {
  const double length = shape.length;
  const float hz = shape.hz, level = shape.level, pan = shape.pan;
  const long long start = out.frameOf(t);
  const std::size_t frames = std::size_t(length * kSampleRate);
  const Pan gains = panGains(pan);
  Phase phase;
  for (std::size_t n = 0; n < frames; ++n) {
    float w = 0.5f - 0.5f * sine(float(n) / float(frames) + 0.25f);
    float v = level * w * sine(phase.advance(hz / kSampleRate));
    out.add(start + static_cast<long long>(n), v * gains.left, v * gains.right);
  }
}

void tone(Pcm& out, const Note& note, const SwellShape& shape) {
  const float level = shape.level, attack = shape.attack, release = shape.release;
  Adsr env({attack, 0.1f, 1.0f, release}, note.end - note.start);
  const float inc = midiHz(note.midi) / kSampleRate;
  Phase phase;
  const long long start = out.frameOf(note.start);
  const float amp = level * note.velocity;
  for (std::size_t n = 0; n < env.length(); ++n) {
    float v = amp * env.next() * sine(phase.advance(inc));
    out.add(start + static_cast<long long>(n), v, v);
  }
}

}  // namespace contentgen
