// A small synthesiser for the placeholder soundtrack: voices added into a float stereo buffer at
// exact times (kicks, clicks, hats, claps, crashes, risers, swells, bells, gated bass notes and a
// drone pad). Noise is seeded per event, so the result is the same on every run. Plain data.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace contentgen {

struct Pcm {
  int rate = 44100;
  std::vector<float> left, right;

  Pcm(int sampleRate, double seconds);
  std::size_t frames() const { return left.size(); }
  std::size_t frameAt(double seconds) const;
  void add(std::size_t frame, float l, float r);
};

// A kick: a sine gliding from `startHz` to `endHz` (time constant 30 ms), starting on a rising
// zero crossing so its first lobe is positive, with an exponential decay of `decay` seconds.
void addKick(Pcm& pcm, double t, float amplitude, float startHz, float endHz, float decay);
// High-passed noise bursts (second difference of white noise: nearly nothing below 1 kHz).
void addClick(Pcm& pcm, double t, float amplitude, std::uint32_t seed);
void addHat(Pcm& pcm, double t, float amplitude, float decay, std::uint32_t seed);
void addCrash(Pcm& pcm, double t, float amplitude, float decay, std::uint32_t seed);
// A clap: a few quick noise bursts, first-difference filtered (brighter than a kick, body ~1 kHz).
void addClap(Pcm& pcm, double t, float amplitude, std::uint32_t seed);
// Noise rising over `duration` seconds and stopping exactly at `end`.
void addRiser(Pcm& pcm, double end, double duration, float amplitude, std::uint32_t seed);
// A sine at `hz` swelling over `duration` seconds up to `amplitude` exactly at `end` (a reversed
// low hit), then cut.
void addSwell(Pcm& pcm, double end, double duration, float amplitude, float hz);
// A slow positive pressure bump over `duration` seconds ending at `end` (shape sin(πx)^½): it
// holds spectrum band 0, the window's mean, steadily up where a tone would flicker.
void addLift(Pcm& pcm, double end, double duration, float level);
// A bell: inharmonic sine partials above `hz` with exponential decays.
void addBell(Pcm& pcm, double t, float amplitude, float hz);
// A sine note with 5-ms fades at both ends.
void addNote(Pcm& pcm, double start, double end, float amplitude, float hz);
// The pad: a chord of sines from `start` to `end`; `level(t)` scales it and `rootLevel(t)` is the
// root's own amplitude (the root drives spectrum band 2). The right channel is detuned slightly.
void addDrone(Pcm& pcm, double start, double end, const std::function<float(double)>& level,
              const std::function<float(double)>& rootLevel);

// Interleaved 16-bit stereo, clamped.
std::vector<std::int16_t> toPcm16(const Pcm& pcm);

}  // namespace contentgen
