// The soundtrack's pitched instruments, each adding notes into a track: a detuned-saw pad, a
// sub-and-saw bass, a plucked synth, a lead with vibrato, an FM bell, a drawbar organ, sine
// shimmer grains and plain sine tones. Notes carry music times and MIDI pitches.
#pragma once

#include <span>

#include "tools/contentgen/Synth.h"

namespace contentgen {

struct Note {
  double start, end;  // music time; `end` is where the release begins
  float midi;
  float velocity = 1.0f;
};

// Pad voices: two saws per note detuned by ±`detune` cents (one per side), slow envelope; notes
// of one pitch that follow without a gap are held as one. The caller filters the track.
struct PadShape {
  float attack = 1.0f, release = 1.5f;
  float detune = 8.0f;
  float level = 0.1f;
};
void pad(Pcm& out, std::span<const Note> notes, const PadShape& shape);

// Bass: a sine at the note and a saw through a low-pass that opens to `cutoff` + `envelope` on
// the attack and closes to `cutoff`.
struct BassShape {
  float level = 0.3f;
  float saw = 0.3f;
  float cutoff = 250.0f, envelope = 600.0f, envelopeDecay = 0.08f;
  float attack = 0.004f, release = 0.03f;
};
void bass(Pcm& out, const Note& note, const BassShape& shape);

// A wobble: a saw bass whose low-pass opens from 150 Hz to `peakHz` and back, and whose pitch
// bends up two semitones and back, over the note's length.
struct WobbleShape {
  float level, peakHz;
};
void wobbleBass(Pcm& out, const Note& note, const WobbleShape& shape);

// A plucked synth: saw and square through a low-pass falling from `bright` Hz, short decay.
struct PluckShape {
  float level, bright, decay, pan;
};
void pluck(Pcm& out, const Note& note, const PluckShape& shape);

// A lead: two detuned saws and a sine an octave down, low-passed at `cutoff`, with delayed
// vibrato.
struct LeadShape {
  float level, cutoff;
};
void lead(Pcm& out, const Note& note, const LeadShape& shape);

// An FM bell: carrier at the note, modulator at 3.5× with a falling index; decays over `decay`.
struct BellShape {
  float level, decay, pan;
};
void bell(Pcm& out, double t, float midi, const BellShape& shape);

// The level and the `attack` and `release` ramps of a held voice (organ, tone).
struct SwellShape {
  float level, attack, release;
};

// A drawbar organ chord voice: sine partials 1, 2, 3, 4 and 6 with a slow rotary shimmer.
void organ(Pcm& out, const Note& note, const SwellShape& shape);

// A shimmer grain: a sine under a Hann window.
struct GrainShape {
  double length;
  float hz, level, pan;
};
void grain(Pcm& out, double t, const GrainShape& shape);

// A plain sine tone, for the lowest and purest layers.
void tone(Pcm& out, const Note& note, const SwellShape& shape);

}  // namespace contentgen
