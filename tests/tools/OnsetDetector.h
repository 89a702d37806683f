// Drum onsets in decoded audio, for the music tests. The mono mix is high-passed at 8 kHz (where
// drums live and pads, bass and bells hardly reach); near a given time, an onset is the earliest
// 3 ms window whose energy rises within 3 dB of the strongest rise over the 15 ms before it and
// that holds at least a sixteenth of the loudest window there (so an MP3's faint pre-echo does
// not count). Header-only; plain value.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace testsupport {

struct Onset {
  double offset = 0.0;  // seconds from the time asked about
  double rise = 0.0;    // dB of the strongest rise in the window
};

class OnsetDetector {
public:
  OnsetDetector(std::span<const std::int16_t> stereo, int rate) : rate_(rate), energy_(stereo.size() / 2 + 1, 0.0) {
    // Two Butterworth high-pass sections at 8 kHz (4 poles); the running sum of their output².
    const double w = 2.0 * std::numbers::pi * 8000.0 / rate, c = std::cos(w);
    struct Section {
      double b0, b1, b2, a1, a2, z1 = 0, z2 = 0;
    };
    std::vector<Section> sections;
    for (double q : {0.5412, 1.3066}) {
      double alpha = std::sin(w) / (2.0 * q), a0 = 1.0 + alpha;
      sections.push_back({(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0});
    }
    for (std::size_t n = 0; n + 1 < energy_.size(); ++n) {
      double y = (double(stereo[2 * n]) + double(stereo[2 * n + 1])) / 65536.0;
      for (Section& s : sections) {
        double x = y;
        y = s.b0 * x + s.z1;
        s.z1 = s.b1 * x - s.a1 * y + s.z2;
        s.z2 = s.b2 * x - s.a2 * y;
      }
      energy_[n + 1] = energy_[n] + y * y;
    }
  }

  // The onset within ±halfWindow seconds of t.
  Onset near(double t, double halfWindow) const {
    const long long centre = std::llround(t * rate_), half = std::llround(halfWindow * rate_);
    const long long after = std::llround(0.003 * rate_), before = std::llround(0.015 * rate_);
    const long long step = std::max(1LL, std::llround(0.00025 * rate_));
    struct Candidate {
      long long frame;
      double rise, level;
    };
    std::vector<Candidate> candidates;
    double best = -1e9, loudest = 0.0;
    for (long long n = centre - half; n <= centre + half; n += step) {
      double level = sum(n, n + after) / double(after), past = sum(n - before, n) / double(before);
      double rise = 10.0 * std::log10((level + 1e-14) / (past + 1e-14));
      candidates.push_back({n, rise, level});
      best = std::max(best, rise);
      loudest = std::max(loudest, level);
    }
    for (const Candidate& c : candidates) {
      if (c.rise >= best - 3.0 && c.level >= loudest / 16.0) return {double(c.frame) / rate_ - t, best};
    }
    return {0.0, best};
  }

private:
  double sum(long long from, long long to) const {
    const long long last = static_cast<long long>(energy_.size()) - 1;
    from = std::clamp(from, 0LL, last);
    to = std::clamp(to, 0LL, last);
    return energy_[std::size_t(to)] - energy_[std::size_t(from)];
  }

  int rate_;
  std::vector<double> energy_;
};

}  // namespace testsupport
