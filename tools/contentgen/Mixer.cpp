// The mix bus, its two effects and the master chain.
#include "tools/contentgen/Mixer.h"

#include <algorithm>
#include <array>
#include <deque>

namespace contentgen {
namespace {

// Feedback-delay-network hall: eight lines of 44–87 ms under a Householder matrix, each damped
// by a one-pole low-pass; input high-passed so the tails carry nothing below ~200 Hz.
constexpr std::array<std::size_t, 8> kReverbLines = {1931, 2213, 2539, 2797, 3109, 3343, 3617, 3851};
constexpr float kReverbSeconds = 2.6f;  // RT60
constexpr float kReverbDampHz = 5200.0f;
constexpr float kReverbInputHz = 200.0f;
constexpr std::size_t kPreDelay = 882;  // 20 ms
constexpr float kReverbWet = 0.55f;

// Ping-pong delay of a dotted eighth at 90 beats a minute.
constexpr std::size_t kDelayFrames = 22050;  // 0.5 s
constexpr float kDelayFeedback = 0.42f;
constexpr float kDelayWet = 0.6f;

constexpr float kDcHz = 18.0f;
constexpr double kChokeFade = 0.01;
constexpr double kHighPassFade = 0.03;

// A ring buffer read and written at the same position (a plain delay line).
class DelayLine {
public:
  explicit DelayLine(std::size_t length) : buffer_(length, 0.0f) {}
  float read() const { return buffer_[pos_]; }
  void write(float v) {
    buffer_[pos_] = v;
    if (++pos_ == buffer_.size()) pos_ = 0;
  }
  void clear() { std::fill(buffer_.begin(), buffer_.end(), 0.0f); }

private:
  std::vector<float> buffer_;
  std::size_t pos_ = 0;
};

// Output gain of an effect at frame n: a 10 ms fade before each choke, then silence restored.
class ChokeGate {
public:
  explicit ChokeGate(const std::vector<double>& chokes) {
    for (double t : chokes) frames_.push_back(std::llround(t * kSampleRate));
    std::sort(frames_.begin(), frames_.end());
  }
  // Gain for frame n; `clear` is set on the choke frame itself (empty the effect's state).
  float gain(long long n, bool& clear) {
    clear = false;
    while (next_ < frames_.size() && n > frames_[next_]) ++next_;
    if (next_ == frames_.size()) return 1.0f;
    long long left = frames_[next_] - n;
    if (left == 0) clear = true;
    long long fade = std::llround(kChokeFade * kSampleRate);
    return left >= fade ? 1.0f : float(left) / float(fade);
  }

private:
  std::vector<long long> frames_;
  std::size_t next_ = 0;
};

void addReverb(const std::vector<float>& send, Pcm& out, const std::vector<double>& chokes) {
  // Runs at half the sample rate (its tail is low-passed at 5 kHz anyway) and is interpolated
  // back up.
  constexpr float kRate = kSampleRate / 2.0f;
  std::vector<DelayLine> lines;
  std::array<float, kReverbLines.size()> feedback{}, damped{};
  const float damp = 1.0f - std::exp(-2.0f * 3.14159265f * kReverbDampHz / kRate);
  const float inputPole = 1.0f - std::exp(-2.0f * 3.14159265f * kReverbInputHz / kRate);
  for (std::size_t i = 0; i < kReverbLines.size(); ++i) {
    lines.emplace_back(kReverbLines[i] / 2);
    feedback[i] = std::pow(10.0f, -3.0f * float(kReverbLines[i]) / (kSampleRate * kReverbSeconds));
  }
  DelayLine preDelay(kPreDelay / 2);
  float low1 = 0.0f, low2 = 0.0f, lastL = 0.0f, lastR = 0.0f;
  ChokeGate gate(chokes);
  constexpr float kInSigns[] = {1, -1, 1, -1, -1, 1, -1, 1};
  for (std::size_t n = 0; n + 1 < send.size(); n += 2) {
    bool clear = false;
    float g = gate.gain(static_cast<long long>(n), clear);
    if (clear) {
      preDelay.clear();
      for (DelayLine& line : lines) line.clear();
      damped.fill(0.0f);
    }
    // Two one-pole high-passes on the input, then the pre-delay.
    float in = 0.5f * (send[n] + send[n + 1]);
    low1 += inputPole * (in - low1);
    float high1 = in - low1;
    low2 += inputPole * (high1 - low2);
    float x = preDelay.read();
    preDelay.write(high1 - low2);
    float sum = 0.0f;
    for (std::size_t i = 0; i < damped.size(); ++i) {
      damped[i] += damp * (lines[i].read() - damped[i]);
      sum += damped[i];
    }
    sum *= 2.0f / float(damped.size());
    for (std::size_t i = 0; i < damped.size(); ++i) lines[i].write(kInSigns[i] * x + feedback[i] * (damped[i] - sum));
    const std::array<float, 8>& d = damped;
    float l = g * kReverbWet * 0.5f * (d[0] - d[2] + d[4] - d[6]);
    float r = g * kReverbWet * 0.5f * (d[1] - d[3] + d[5] - d[7]);
    out.left[n] += 0.5f * (l + lastL);
    out.right[n] += 0.5f * (r + lastR);
    out.left[n + 1] += l;
    out.right[n + 1] += r;
    lastL = l;
    lastR = r;
  }
}

void addDelay(const std::vector<float>& send, Pcm& out, const std::vector<double>& chokes) {
  DelayLine left(kDelayFrames), right(kDelayFrames);
  OnePole lowCut, highCut, loopCut;
  lowCut.tune(300.0f);
  highCut.tune(4000.0f);
  loopCut.tune(3000.0f);
  ChokeGate gate(chokes);
  for (std::size_t n = 0; n < send.size(); ++n) {
    bool clear = false;
    float g = gate.gain(static_cast<long long>(n), clear);
    if (clear) {
      left.clear();
      right.clear();
      loopCut = OnePole();
      loopCut.tune(3000.0f);
    }
    float x = highCut.low(lowCut.high(send[n]));
    float l = left.read(), r = right.read();
    left.write(x + kDelayFeedback * loopCut.low(r));
    right.write(l);
    out.left[n] += g * kDelayWet * l;
    out.right[n] += g * kDelayWet * r;
  }
}

// Crossfade weight of a high-pass span at music time t.
float spanWeight(double t, double from, double to) {
  if (t < from - kHighPassFade || t > to + kHighPassFade) return 0.0f;
  if (t < from) return float((t - (from - kHighPassFade)) / kHighPassFade);
  if (t > to) return float((to + kHighPassFade - t) / kHighPassFade);
  return 1.0f;
}

void applyHighPassSpan(Pcm& pcm, double from, double to, float hz) {
  // Four Butterworth sections (8 poles), warmed up half a second before the fade starts.
  constexpr double kQs[] = {0.5098, 0.6013, 0.9000, 2.5629};
  std::array<Biquad, 4> left, right;
  for (std::size_t i = 0; i < 4; ++i) left[i] = right[i] = Biquad::highPass(hz, kQs[i]);
  long long first = std::max(0LL, pcm.frameOf(from - kHighPassFade - 0.5));
  long long last = std::min(static_cast<long long>(pcm.frames()), pcm.frameOf(to + kHighPassFade) + 1);
  for (long long n = first; n < last; ++n) {
    double l = pcm.left[std::size_t(n)], r = pcm.right[std::size_t(n)];
    for (std::size_t i = 0; i < 4; ++i) {
      l = left[i].step(l);
      r = right[i].step(r);
    }
    float w = spanWeight(pcm.timeOf(n), from, to);
    pcm.left[std::size_t(n)] += w * (float(l) - pcm.left[std::size_t(n)]);
    pcm.right[std::size_t(n)] += w * (float(r) - pcm.right[std::size_t(n)]);
  }
}

}  // namespace

Mixer::Mixer(double seconds) : dry_(0.0, seconds), reverbSend_(dry_.frames(), 0.0f), delaySend_(dry_.frames(), 0.0f) {}

void Mixer::add(const Pcm& track, float gain, Send send) {
  long long offset = dry_.frameOf(track.start);
  long long first = std::max(0LL, -offset);
  long long last = std::min(static_cast<long long>(track.frames()), static_cast<long long>(dry_.frames()) - offset);
  for (long long n = first; n < last; ++n) {
    std::size_t at = std::size_t(n + offset);
    float l = gain * track.left[std::size_t(n)], r = gain * track.right[std::size_t(n)];
    dry_.left[at] += l;
    dry_.right[at] += r;
    float mono = 0.5f * (l + r);
    reverbSend_[at] += send.reverb * mono;
    delaySend_[at] += send.delay * mono;
  }
}

void Mixer::chokeEffectsAt(double t) { chokes_.push_back(t); }

void Mixer::highPassBetween(double from, double to, float hz) { highPasses_.push_back({from, to, hz}); }

Pcm Mixer::master(float gain, float ceiling) {
  addReverb(reverbSend_, dry_, chokes_);
  addDelay(delaySend_, dry_, chokes_);
  std::vector<float>().swap(reverbSend_);
  std::vector<float>().swap(delaySend_);
  Biquad dcLeft = Biquad::highPass(kDcHz, 0.7071), dcRight = dcLeft;
  for (std::size_t n = 0; n < dry_.frames(); ++n) {
    dry_.left[n] = float(dcLeft.step(dry_.left[n]));
    dry_.right[n] = float(dcRight.step(dry_.right[n]));
  }
  for (const HighPassSpan& span : highPasses_) applyHighPassSpan(dry_, span.from, span.to, span.hz);
  dry_.scale(gain);
  limitPeaks(dry_, ceiling);
  return std::move(dry_);
}

void limitPeaks(Pcm& pcm, float ceiling) {
  const std::size_t frames = pcm.frames();
  const std::size_t lookAhead = std::size_t(0.003 * kSampleRate);
  const float recover = 1.0f - decayFactor(0.08f);
  // Gain each frame needs on its own.
  std::vector<float> need(frames);
  for (std::size_t n = 0; n < frames; ++n) {
    float peak = std::max(std::fabs(pcm.left[n]), std::fabs(pcm.right[n]));
    need[n] = peak > ceiling ? ceiling / peak : 1.0f;
  }
  // The smallest need over the look-ahead window [n, n + lookAhead), with recovery.
  std::deque<std::size_t> window;
  std::size_t added = 0;
  float held = 1.0f;
  std::vector<float> gain(frames);
  for (std::size_t n = 0; n < frames; ++n) {
    for (; added < std::min(frames, n + lookAhead); ++added) {
      while (!window.empty() && need[window.back()] >= need[added]) window.pop_back();
      window.push_back(added);
    }
    while (window.front() < n) window.pop_front();
    held = std::min(need[window.front()], held + (1.0f - held) * recover);
    gain[n] = held;
  }
  // A moving average over the look-ahead length: smooth ramps that still reach each frame's need.
  double sum = 0.0;
  for (std::size_t n = 0; n < frames; ++n) {
    sum += gain[n];
    if (n >= lookAhead) sum -= gain[n - lookAhead];
    float g = float(sum / double(std::min(n + 1, lookAhead)));
    pcm.left[n] *= g;
    pcm.right[n] *= g;
  }
}

}  // namespace contentgen
