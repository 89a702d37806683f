// The soundtrack's drum and effect voices, each added into a track at an exact music time: kicks,
// snares, claps, hats, cymbals, toms, rims, shakers, and the swells, risers, whooshes and sub
// drops around them. Every voice with a `seed` draws its noise from it, so it sounds the same on
// every run. Each hit starts with a sharp transient on its time.
#pragma once

#include <cstdint>

#include "tools/contentgen/Synth.h"

namespace contentgen {

// A kick: a sine gliding from `startHz` to `endHz` (time constant `sweep`) that starts upwards,
// so its first lobe is positive; decaying with time constant `decay`; a short bright click on
// top and a soft saturation (`drive` 0 is clean).
struct KickShape {
  float amplitude = 0.8f;
  float startHz = 110.0f, endHz = 48.0f, sweep = 0.035f;
  float decay = 0.25f;
  float click = 0.3f;
  float drive = 0.0f;
};
void kick(Pcm& out, double t, const KickShape& shape, std::uint32_t seed);

// A snare: two body tones near `toneHz` and a band of noise above 1.5 kHz.
void snare(Pcm& out, double t, float amplitude, float toneHz, float decay, std::uint32_t seed);
// A clap: three quick noise bursts 9 ms apart and a tail, band-passed around 1.4 kHz.
void clap(Pcm& out, double t, float amplitude, float decay, float pan, std::uint32_t seed);
// A hi-hat (closed with a short decay, open with a long one): metallic squares and noise
// high-passed at 7 kHz.
void hat(Pcm& out, double t, float amplitude, float decay, float pan, std::uint32_t seed);
// A crash or ride cymbal: denser metal and noise above 3 kHz, wide in stereo; `ping` adds the
// ride's bell tone. It is cut with a 5 ms fade at `choke` seconds after the hit when given.
void cymbal(Pcm& out, double t, float amplitude, float decay, float ping, std::uint32_t seed, float choke = 0.0f);
// A tom: a sine falling a fifth from `hz` over its first 0.1 s, with a stick click.
void tom(Pcm& out, double t, float amplitude, float hz, float decay, float pan, std::uint32_t seed);
// A rim shot: a short knock at 1.7 kHz and 480 Hz.
void rim(Pcm& out, double t, float amplitude, float pan, std::uint32_t seed);
// A shaker or tick: high noise with a 2 ms attack.
void shaker(Pcm& out, double t, float amplitude, float decay, float pan, std::uint32_t seed);

// Noise swelling into `end` (a reversed hit): band-passed, its centre rising from `lowHz` to
// `highHz`; it breaks off 12 ms before `end`, so the hit there starts out of a short gap.
void reverseSwell(Pcm& out, double end, double duration, float amplitude, float lowHz, float highHz, std::uint32_t seed);
// A riser: noise whose low-pass opens from 300 Hz to 9 kHz while it grows, breaking off 12 ms
// before `end`.
void riser(Pcm& out, double end, double duration, float amplitude, std::uint32_t seed);
// A whoosh: noise band-passed around a centre that sweeps up to 3 kHz and back over `duration`.
void whoosh(Pcm& out, double t, double duration, float amplitude, std::uint32_t seed);
// A reversed kick: a low sine at `hz` swelling into `end` and stopping there.
void reverseKick(Pcm& out, double end, double duration, float amplitude, float hz);
// A sub drop: a sine sliding from `fromHz` down to `toHz`, decaying with time constant `decay`.
void subDrop(Pcm& out, double t, float amplitude, float fromHz, float toHz, float decay);
// Wind: two noises band-passed around slowly drifting centres (600–1800 Hz), one per side,
// faded in and out over a second at either end.
void wind(Pcm& out, double start, double end, float amplitude, std::uint32_t seed);
// A rising "spin": a sine sweeping from `fromHz` up to `toHz` over `duration`, fading out.
void spin(Pcm& out, double t, double duration, float amplitude, float fromHz, float toHz, float pan);

// A per-event noise seed from the event's time and a salt naming the voice.
std::uint32_t seedOf(double t, std::uint32_t salt);

}  // namespace contentgen
