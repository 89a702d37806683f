// The soundtrack's mix bus: tracks summed into a dry stereo bus and two mono effect sends (a hall
// reverb and a ping-pong delay), and the master chain that makes the final piece from them (DC
// high-pass, steep high-pass spans, gain and a look-ahead peak limiter). One per rendering.
#pragma once

#include <vector>

#include "tools/contentgen/Synth.h"

namespace contentgen {

struct Send {
  float reverb = 0.0f;
  float delay = 0.0f;
};

class Mixer {
public:
  explicit Mixer(double seconds);

  // The dry bus itself (music time 0 at frame 0), for voices that need no effect or filter.
  Pcm& dry() { return dry_; }
  // Adds `track` × gain to the dry bus and its mono sum × send levels to the effect sends.
  void add(const Pcm& track, float gain, Send send = {});
  // A hard stop at music time t: the reverb and delay tails fade out over the 10 ms before t.
  void chokeEffectsAt(double t);
  // From `from` to `to` the whole mix passes an 8-pole high-pass at `hz`, faded in over the
  // 30 ms before `from` and out over the 30 ms after `to`.
  void highPassBetween(double from, double to, float hz);

  // The final piece: effects returned, DC removed, the high-pass spans applied, × gain, then
  // limited so that no sample exceeds `ceiling`. The mixer is spent afterwards.
  Pcm master(float gain, float ceiling);

private:
  struct HighPassSpan {
    double from, to;
    float hz;
  };

  Pcm dry_;
  std::vector<float> reverbSend_, delaySend_;
  std::vector<double> chokes_;
  std::vector<HighPassSpan> highPasses_;
};

// Scales each frame so that no sample exceeds `ceiling`: 3 ms look-ahead, the gain reaching its
// floor before the peak and recovering with an 80 ms time constant.
void limitPeaks(Pcm& pcm, float ceiling);

}  // namespace contentgen
