// The score's shared vocabulary: the 90-beats-a-minute grid of a slot, the chords of F minor
// with their bass roots, the main theme, and the sections that each add their part of the piece
// into the mixer. Used only inside the music generator.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <vector>

#include "tools/contentgen/Instruments.h"
#include "tools/contentgen/Mixer.h"

namespace contentgen {

inline constexpr double kBeat = 2.0 / 3.0;
inline constexpr double kSixteenth = kBeat / 4.0;
inline constexpr double kBar = 4.0 * kBeat;

// A slot's grid, anchored on one of its downbeats: 16ths of 1/6 s, bars of 8/3 s.
struct Grid {
  double downbeat;
  double at(double sixteenths) const { return downbeat + sixteenths * kSixteenth; }
  double bar(double bars) const { return downbeat + bars * kBar; }
  // The 16th nearest to t, and the bar t lies in, counted from the downbeat (negative before).
  long long sixteenthOf(double t) const;
  long long barOf(double t) const;
};

// A chord: its bass root (MIDI, lowest octave used) and a four-note pad voicing around F3.
struct Chord {
  float root;
  std::array<float, 4> voicing;
};

// The bass root of a chord in the lowest octave at or above MIDI `lowest`.
inline float rootFrom(const Chord& chord, float lowest) {
  float midi = chord.root;
  while (midi < lowest) midi += 12.0f;
  return midi;
}

// F minor's chords (MIDI: F1 = 29, F3 = 53, C4 = 60).
inline constexpr Chord kFm7 = {29, {53, 56, 60, 63}};
inline constexpr Chord kDbMaj7 = {37, {49, 53, 56, 60}};
inline constexpr Chord kAb = {32, {51, 56, 60, 63}};
inline constexpr Chord kEb = {39, {51, 55, 58, 63}};
inline constexpr Chord kBbm7 = {34, {53, 56, 58, 61}};
inline constexpr Chord kC7 = {36, {52, 55, 58, 60}};
// The four-bar loop of the driving sections.
inline constexpr std::array<Chord, 4> kLoop = {kFm7, kDbMaj7, kAb, kEb};

// The main theme, eight bars over the loop twice: (start, length) in 16ths, MIDI pitch.
struct ThemeNote {
  int start, length;
  float midi;
};
std::span<const ThemeNote> mainTheme();

// A piecewise-linear curve over music time, held flat before the first and after the last point.
struct CurvePoint {
  double t;
  float value;
};
float curveAt(std::span<const CurvePoint> points, double t);
// Multiplies every frame of a track by gain(t).
void applyGain(Pcm& track, const std::function<float(double)>& gain);

// i modulo n, never negative.
inline std::size_t wrapIndex(long long i, int n) { return std::size_t(((i % n) + n) % n); }

// True when t lies more than `margin` seconds from every time in `events`.
bool clearOf(std::span<const double> events, double t, double margin);
// Pad notes for a chord held from `start` to `end`, voicing shifted by `octaves`.
std::vector<Note> chordNotes(const Chord& chord, double start, double end, int octaves, float velocity = 1.0f);

// The sections, in order. Each adds its tracks into the mixer.
void scoreOpening(Mixer& mix);
void scoreSecond(Mixer& mix);
void scoreThird(Mixer& mix);
void scoreFourth(Mixer& mix);
void scoreFifth(Mixer& mix);
void scoreSixth(Mixer& mix);
void scoreSeventh(Mixer& mix);
void scoreEighth(Mixer& mix);
void scoreNinth(Mixer& mix);
void scoreCredits(Mixer& mix);
void scoreClosing(Mixer& mix);

}  // namespace contentgen
