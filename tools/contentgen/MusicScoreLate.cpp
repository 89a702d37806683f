// The last six sections: the sixth scene's glitch break, the seventh's breakdown, the eighth's
// half-time with the main theme, the ninth's night drift, the credits' restatement of the theme
// and the closing coda above 800 Hz.
#include <algorithm>
#include <cmath>

#include "tools/contentgen/Drums.h"
#include "tools/contentgen/Music.h"
#include "tools/contentgen/MusicCues.h"
#include "tools/contentgen/MusicScore.h"
#include "tools/contentgen/Noise.h"

namespace contentgen {
namespace {

constexpr double kSixthDownbeat = 0.472 + 179 * kBeat;   // 119.81, also the seventh slot's grid
constexpr double kEighthDownbeat = 0.027 + 266 * kBeat;  // 177.36, the first effective cut

// A chord held over a span of music time.
struct Held {
  double from, to;
  Chord chord;
};

Chord chordAt(std::span<const Held> chords, double t) {
  Chord c = chords.front().chord;
  for (const Held& h : chords) {
    if (h.from <= t) c = h.chord;
  }
  return c;
}

// ---- Slot 6: the fastest cutting. Every entry of the cut table is a hit: a clap and a stab on
// a cut to the seventh renderer, a kick or low tom on a cut back, a hat or rim otherwise; a
// noise swell rises into each cut the valley flashes before; impacts on visible shot changes.
Chord sixthChord(const Grid& grid, double t) { return kLoop[wrapIndex(grid.barOf(t), 4)]; }

void sixthDrums(Mixer& mix, const Grid& grid, double start, double end) {
  const std::vector<double> cuts = sixthSlotCutTimes();  // index i is entry i of the cut table
  Pcm drums(start, end - start + 3.0), stabs(start, end - start + 2.0);
  kick(drums, start, {0.55f, 120.0f, 48.0f, 0.03f, 0.4f, 0.6f, 1.0f}, 60);
  subDrop(drums, start, 0.3f, 80.0f, 40.0f, 0.5f);
  cymbal(drums, start, 0.35f, 1.0f, 0.0f, 61);  // a 7 s wash under the white fade
  int back = 0, same = 0;
  for (std::size_t i = 0; i < cuts.size(); ++i) {
    const double t = cuts[i];
    const SixthCut kind = sixthCutKind(i);
    if (kind != SixthCut::toValley) reverseSwell(drums, t, 0.3, 0.05f, 800.0f, 4000.0f, seedOf(t, 62));
    if (kind == SixthCut::toSeventh) {
      clap(drums, t, 0.5f, 0.13f, 0.0f, seedOf(t, 63));
      const Chord chord = sixthChord(grid, t);
      for (std::size_t k = 0; k < chord.voicing.size(); ++k) {
        pluck(stabs, {t, t + 0.1, chord.voicing[k] + 12.0f},
              {.level = 0.045f, .bright = 3500.0f, .decay = 0.14f, .pan = -0.4f + 0.27f * float(k)});
      }
    } else if (kind == SixthCut::toValley) {
      if (back++ % 2 == 0) {
        kick(drums, t, {0.6f, 110.0f, 50.0f, 0.03f, 0.16f, 0.9f, 1.0f}, seedOf(t, 64));
      } else {
        tom(drums, t, 0.45f, 120.0f, 0.25f, 0.2f, seedOf(t, 65));
      }
    } else if (same++ % 2 == 0) {
      hat(drums, t, 0.3f, 0.05f, 0.3f, seedOf(t, 66));
    } else {
      rim(drums, t, 0.3f, -0.3f, seedOf(t, 67));
    }
  }
  // Impacts: a boom without cymbal, so the cuts around them keep their own attacks.
  for (double t : sixthSlotShotChanges()) {
    subDrop(drums, t, 0.32f, 90.0f, 38.0f, 0.4f);
    tom(drums, t, 0.3f, 95.0f, 0.3f, 0.0f, seedOf(t, 68));
  }
  mix.add(drums, 1.0f, {0.12f, 0.0f});
  mix.add(stabs, 1.0f, {0.2f, 0.2f});
}

void sixthTonal(Mixer& mix, const Grid& grid, double start, double end) {
  constexpr bool kLine[8] = {1, 1, 0, 1, 1, 0, 1, 1};
  const BassShape shape{.level = 0.22f, .saw = 0.6f, .cutoff = 220.0f, .envelope = 1200.0f, .envelopeDecay = 0.06f,
                        .attack = 0.003f, .release = 0.02f};
  Pcm& low = mix.dry();
  Pcm arp(start, end - start + 3.0), pads(start, end - start + 3.0);
  for (long long e = 0; grid.at(double(2 * e)) < end - 0.3; ++e) {
    const double t = grid.at(double(2 * e));
    const Chord chord = sixthChord(grid, t);
    if (kLine[wrapIndex(e, 8)]) bass(low, {t, t + 0.28, rootFrom(chord, 36) + (wrapIndex(e, 8) == 4 ? 12.0f : 0.0f)}, shape);
  }
  constexpr int kUp[] = {0, 1, 2, 3, 4, 5, 6, 7};  // through two octaves of the voicing
  for (long long s = 0; grid.at(double(s)) < end - 0.1; ++s) {
    const double t = grid.at(double(s));
    const Chord chord = sixthChord(grid, t);
    int index = kUp[wrapIndex(s, 8)];
    float midi = chord.voicing[std::size_t(index % 4)] + 12.0f * float(1 + index / 4);
    pluck(arp, {t, t + 0.1, midi, wrapIndex(s, 4) == 0 ? 1.0f : 0.65f},
          {.level = 0.04f, .bright = 2200.0f, .decay = 0.12f, .pan = s % 2 ? 0.35f : -0.35f});
  }
  std::vector<Note> notes;
  for (long long k = 0; grid.bar(double(k)) < end; ++k) {
    double a = grid.bar(double(k)), b = std::min(end, grid.bar(double(k + 1)));
    for (const Note& n : chordNotes(sixthChord(grid, a + 0.01), a, b, 0)) notes.push_back(n);
  }
  pad(pads, notes, {.attack = 0.3f, .release = 0.4f, .detune = 8.0f, .level = 0.02f});
  filterTrack(pads, [](double) { return 2500.0f; }, 0.7f, false);
  mix.add(arp, 1.0f, {0.1f, 0.3f});
  mix.add(pads, 1.0f, {0.3f, 0.0f});
}

// ---- Slot 7: the breakdown. No drums: a pad that swells down with the ribbons, a slow
// arpeggio, a band-2 shimmer of roots, a sub swell, a soft whoosh at the path wrap, and a riser
// into the eighth scene's first flash.
void seventhSection(Mixer& mix, double start, double end) {
  const Grid grid{kSixthDownbeat};
  const Held chords[] = {{start, grid.bar(15), kFm7}, {grid.bar(15), grid.bar(17), kDbMaj7},
                         {grid.bar(17), grid.bar(19), kBbm7}, {grid.bar(19), end, kC7}};
  Pcm pads(start, end - start + 4.0), fx(start, end - start + 2.0);
  std::vector<Note> low, high;
  for (const Held& h : chords) {
    for (const Note& n : chordNotes(h.chord, h.from, h.to, 0)) low.push_back(n);
    for (const Note& n : chordNotes(h.chord, h.from, h.to, 1)) high.push_back(n);
    tone(pads, {h.from, h.to, rootFrom(h.chord, 48)}, {.level = 0.1f, .attack = 1.5f, .release = 0.8f});
    tone(pads, {h.from, h.to, rootFrom(h.chord, 29)}, {.level = 0.12f, .attack = 2.5f, .release = 1.2f});
  }
  // In at full level on the cut (the pad then swells down with the ribbons).
  pad(pads, low, {.attack = 0.05f, .release = 1.0f, .detune = 10.0f, .level = 0.026f});
  pad(pads, high, {.attack = 0.05f, .release = 1.0f, .detune = 12.0f, .level = 0.02f});
  constexpr CurvePoint kCutoff[] = {{154.64, 3000}, {156.8, 1200}, {166, 1800}, {176, 3200}};
  filterTrack(pads, [&](double t) { return curveAt(kCutoff, t); }, 0.7f, false);
  constexpr CurvePoint kLevel[] = {{154.64, 1.0f}, {154.8, 1.0f}, {156.8, 0.45f}, {165, 0.7f}, {176, 1.0f}};
  applyGain(pads, [&](double t) { return curveAt(kLevel, t); });
  mix.add(pads, 1.0f, {0.4f, 0.0f});
  // Slow arpeggio in eighths.
  Pcm arp(start, end - start + 3.0);
  constexpr int kPattern[] = {0, 2, 1, 3};
  for (long long e = 0; grid.at(double(2 * e)) < end - 0.5; ++e) {
    double t = grid.at(double(2 * e));
    if (t < start + 1.5) continue;
    float midi = chordAt(chords, t).voicing[std::size_t(kPattern[wrapIndex(e, 4)])] + 12.0f;
    pluck(arp, {t, t + 0.2, midi}, {.level = 0.035f, .bright = 1500.0f, .decay = 0.3f, .pan = e % 2 ? 0.4f : -0.4f});
  }
  mix.add(arp, 1.0f, {0.3f, 0.4f});
  cymbal(fx, start, 0.3f, 1.0f, 0.0f, 70, 0.06f);  // choked on the cut
  whoosh(fx, 169.4, 1.0, 0.06f, 71);               // the path wraps at 169.8
  riser(fx, end, 6.0, 0.16f, 72);
  reverseSwell(fx, end, 2.0, 0.08f, 1000.0f, 8000.0f, 73);
  mix.add(fx, 1.0f, {0.3f, 0.0f});
}

// ---- Slot 8: half-time and spacious. A crash and sub drop on every cut, a clap or metal hit
// with an upward spin on every beat, a light groove between them, the main theme on the lead;
// pads only where the beat table pauses; a decrescendo into the black fade.
struct EighthPlan {
  Grid grid{kEighthDownbeat};
  std::vector<double> cuts = eighthSceneCutTimes(), beats = eighthSceneBeatTimes(), events;
  static constexpr double kPauses[][2] = {{190.7, 197.25}, {208.17, 211.82}};
  EighthPlan() {
    events = cuts;
    events.insert(events.end(), beats.begin(), beats.end());
  }
  bool grooves(double t) const {
    for (const auto& p : kPauses) {
      if (t >= p[0] && t < p[1]) return false;
    }
    return t < cuts.back();
  }
  Chord chord(double t) const { return kLoop[wrapIndex(grid.barOf(t), 4)]; }
};

void eighthDrums(Mixer& mix, const EighthPlan& plan, double start, double end) {
  Pcm drums(start, end - start + 3.0), fx(start, end - start + 2.0);
  for (double t : plan.cuts) {
    cymbal(drums, t, 0.32f, 0.6f, 0.0f, seedOf(t, 80));
    subDrop(drums, t, 0.35f, 70.0f, 36.0f, 0.6f);
    bell(fx, t, 89, {.level = 0.05f, .decay = 1.0f, .pan = 0.0f});
  }
  for (std::size_t i = 0; i < plan.beats.size(); ++i) {
    const double t = plan.beats[i];
    float pan = i % 2 ? 0.3f : -0.3f;
    if (i % 2 == 0) {
      clap(drums, t, 0.45f, 0.14f, 0.0f, seedOf(t, 81));
    } else {
      rim(drums, t, 0.3f, pan, seedOf(t, 82));
      hat(drums, t, 0.25f, 0.12f, -pan, seedOf(t, 83));
    }
    spin(fx, t, 0.3, 0.06f, 500.0f, 2000.0f, pan);  // the spheres jump and spin
  }
  for (long long s = plan.grid.sixteenthOf(start) + 1; plan.grid.at(double(s)) < plan.cuts.back(); ++s) {
    const double t = plan.grid.at(double(s));
    if (!plan.grooves(t) || !clearOf(plan.events, t, 0.07)) continue;
    std::size_t pos = wrapIndex(s, 16);
    if (pos == 0 || pos == 10) kick(drums, t, {0.5f, 100.0f, 50.0f, 0.03f, 0.25f, 0.4f, 0.8f}, seedOf(t, 84));
    if (pos == 8) snare(drums, t, 0.25f, 200.0f, 0.15f, seedOf(t, 85));
    if (pos % 2 == 0) hat(drums, t, 0.05f, 0.03f, 0.25f, seedOf(t, 86));
  }
  mix.add(drums, 1.0f, {0.15f, 0.0f});
  mix.add(fx, 1.0f, {0.3f, 0.2f});
}

void eighthTonal(Mixer& mix, const EighthPlan& plan, double start, double end) {
  const Grid& grid = plan.grid;
  Pcm low(start, end - start + 2.0), pads(start, end - start + 4.0), melody(start, end - start + 4.0);
  const BassShape shape{.level = 0.22f, .saw = 0.3f, .cutoff = 150.0f, .envelope = 300.0f, .envelopeDecay = 0.15f,
                        .attack = 0.01f, .release = 0.15f};
  for (long long k = -1; grid.bar(double(k)) < plan.cuts.back(); ++k) {
    double a = std::max(start, grid.bar(double(k))), b = grid.bar(double(k + 1));
    if (plan.grooves(a + 0.1)) bass(low, {a, b - 0.05, rootFrom(plan.chord(a + 0.01), 29)}, shape);
  }
  std::vector<Note> notes;
  for (long long k = -1; grid.bar(double(k)) < end; ++k) {
    double a = std::max(start, grid.bar(double(k))), b = std::min(end, grid.bar(double(k + 1)));
    Chord chord = grid.bar(double(k)) >= plan.cuts.back() ? kFm7 : plan.chord(a + 0.01);
    for (const Note& n : chordNotes(chord, a, b, 0)) notes.push_back(n);
  }
  pad(pads, notes, {.attack = 0.6f, .release = 0.5f, .detune = 9.0f, .level = 0.03f});
  filterTrack(pads, [](double) { return 1800.0f; }, 0.7f, false);
  // The theme's first half from the first cut, its second half after the pause (bars 8–11).
  for (const ThemeNote& n : mainTheme()) {
    double t = grid.at(double(n.start < 64 ? n.start : n.start + 64));
    lead(melody, {t, t + n.length * kSixteenth - 0.03, n.midi}, {.level = 0.085f, .cutoff = 2400.0f});
  }
  constexpr CurvePoint kFade[] = {{218, 1.0f}, {220, 0.0f}};
  for (Pcm* track : {&low, &pads, &melody}) applyGain(*track, [&](double t) { return curveAt(kFade, t); });
  mix.add(low, 1.0f);
  mix.add(pads, 1.0f, {0.35f, 0.0f});
  mix.add(melody, 1.0f, {0.3f, 0.25f});
}

// ---- Slot 9: the night drift. A new chord and a soft low impact on every cut; each phrase
// closes its filter and sinks over the 3.33 s before the next cut (the ribbons fade), shimmer
// grains above; in from black and out to near silence.
void ninthSection(Mixer& mix, double start, double end) {
  const Chord order[] = {kFm7, kDbMaj7, kAb, kEb, kFm7, kBbm7, kC7, kFm7};
  std::vector<double> bounds = {start};
  const std::vector<double> cuts = ninthSceneCutTimes();
  bounds.insert(bounds.end(), cuts.begin(), cuts.end());
  bounds.push_back(end);
  // 1 just after a cut, falling to 0 at the next one over the last 3.33 s.
  auto openness = [bounds](double t) {
    for (std::size_t i = 1; i < bounds.size(); ++i) {
      if (t < bounds[i]) return float(std::clamp((bounds[i] - t) / 3.33, 0.0, 1.0));
    }
    return 0.0f;
  };
  Pcm pads(start, end - start + 4.0), hits(start, end - start + 3.0), shimmer(start, end - start + 2.0);
  std::vector<Held> chords;
  std::vector<Note> low, high;
  for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
    chords.push_back({bounds[i], bounds[i + 1], order[i]});
    for (const Note& n : chordNotes(order[i], bounds[i], bounds[i + 1], 0)) low.push_back(n);
    for (const Note& n : chordNotes(order[i], bounds[i], bounds[i + 1], 1)) high.push_back(n);
    tone(pads, {bounds[i], bounds[i + 1], rootFrom(order[i], 48)},
         {.level = 0.14f, .attack = i == 0 ? 2.0f : 0.4f, .release = 0.8f});
  }
  // The slot's fade-in from black shapes the start (see kEdges below).
  pad(pads, low, {.attack = 0.4f, .release = 0.8f, .detune = 9.0f, .level = 0.028f});
  pad(pads, high, {.attack = 0.4f, .release = 0.8f, .detune = 12.0f, .level = 0.018f});
  filterTrack(pads, [&](double t) { return 500.0f + 2600.0f * std::pow(openness(t), 1.5f); }, 0.8f, false);
  constexpr CurvePoint kEdges[] = {{220, 0.0f}, {222, 1.0f}, {251.45, 1.0f}, {253.45, 0.05f}};
  applyGain(pads, [&](double t) { return curveAt(kEdges, t) * (0.55f + 0.45f * openness(t)); });
  mix.add(pads, 1.0f, {0.45f, 0.0f});
  for (double t : cuts) {
    kick(hits, t, {0.45f, 70.0f, 45.0f, 0.03f, 0.5f, 0.25f, 0.0f}, seedOf(t, 90));
    shaker(hits, t, 0.12f, 0.08f, 0.2f, seedOf(t, 91));
    bell(hits, t, 84, {.level = 0.04f, .decay = 1.2f, .pan = -0.3f});
  }
  mix.add(hits, 1.0f, {0.35f, 0.2f});
  Rng rng(92);
  for (double t = start + 1.0; t < end - 1.0; t += 0.06 + 0.08 * double(rng.unit())) {
    const Chord chord = chordAt(chords, t);
    float midi = chord.voicing[rng.next() % 4] + 12.0f * float(2 + rng.next() % 2);
    float level = 0.012f * (0.4f + 0.6f * openness(t)) * curveAt(kEdges, t);
    // The pan is drawn before the length: the order the generated music was first made with.
    const float pan = rng.range(-0.8f, 0.8f);
    const double length = 0.08 + 0.14 * double(rng.unit());
    grain(shimmer, t, {.length = length, .hz = midiHz(midi), .level = level, .pan = pan});
  }
  mix.add(shimmer, 1.0f, {0.5f, 0.3f});
}

// ---- Slot 10: the credits restate the theme's first four bars, one bar per card, each bar
// stretched to its card; a riser and hit into every card change; the last is a high crash with
// no low end.
void creditsSection(Mixer& mix, double start, double end) {
  const std::vector<double> cards = creditsCardTimes();
  const double bars[] = {start, cards[0], cards[1], cards[2], cards[3]};
  const Chord order[] = {kFm7, kDbMaj7, kAb, kEb};
  Pcm tonal(start, end - start + 3.0), melody(start, end - start + 3.0), hits(start, end - start + 3.0);
  const BassShape shape{.level = 0.2f, .saw = 0.3f, .cutoff = 150.0f, .envelope = 300.0f, .envelopeDecay = 0.15f,
                        .attack = 0.01f, .release = 0.1f};
  std::vector<Note> low, high;
  for (std::size_t k = 0; k < 4; ++k) {
    double a = bars[k], b = k == 3 ? end - 0.15 : bars[k + 1];
    for (const Note& n : chordNotes(order[k], a, b, 0)) low.push_back(n);
    for (const Note& n : chordNotes(order[k], a, b, 1)) high.push_back(n);
    bass(tonal, {a, b - 0.05, rootFrom(order[k], 29)}, shape);
  }
  pad(tonal, low, {.attack = 0.8f, .release = 0.4f, .detune = 9.0f, .level = 0.028f});
  pad(tonal, high, {.attack = 0.8f, .release = 0.4f, .detune = 12.0f, .level = 0.02f});
  filterTrack(tonal, [](double) { return 3000.0f; }, 0.7f, false);
  for (const ThemeNote& n : mainTheme()) {
    if (n.start >= 64) break;
    std::size_t bar = std::size_t(n.start / 16);
    double length = bars[bar + 1] - bars[bar];
    double t = bars[bar] + length * (n.start % 16) / 16.0;
    double until = std::min(t + length * n.length / 16.0 - 0.03, end - 0.15);
    lead(melody, {t, until, n.midi}, {.level = 0.09f, .cutoff = 2800.0f});
    bell(melody, t, n.midi + 12.0f, {.level = 0.03f, .decay = 0.5f, .pan = 0.3f});
  }
  constexpr CurvePoint kFadeIn[] = {{253.45, 0.0f}, {255.45, 1.0f}};
  for (Pcm* track : {&tonal, &melody}) applyGain(*track, [&](double t) { return curveAt(kFadeIn, t); });
  mix.add(tonal, 1.0f, {0.3f, 0.0f});
  mix.add(melody, 1.0f, {0.3f, 0.25f});
  for (std::size_t k = 0; k < 3; ++k) {
    double t = cards[k];
    riser(hits, t, 1.0, 0.1f, seedOf(t, 100));
    cymbal(hits, t, 0.3f, 0.6f, 0.0f, seedOf(t, 101));
    clap(hits, t, 0.3f, 0.12f, 0.0f, seedOf(t, 102));
    kick(hits, t, {0.45f, 100.0f, 50.0f, 0.03f, 0.3f, 0.4f, 0.5f}, seedOf(t, 103));
  }
  riser(hits, end, 1.0, 0.2f, 104);
  cymbal(hits, end, 0.4f, 1.0f, 0.0f, 105);  // the mix's high-pass from here leaves only its top
  mix.add(hits, 1.0f, {0.25f, 0.0f});
}

// ---- Slot 11: the coda. Bells above 800 Hz only while the logo shows (the mix is high-passed
// there, so band 2 stays dark), thinning out; once the picture is black, a low F minor chord
// that dies away before the end.
void closingSection(Mixer& mix, double start, double blackAt) {
  struct Chime {
    double t;
    float midi, level;
  };
  constexpr Chime kChimes[] = {{266.35, 84, 0.08f}, {266.85, 82, 0.07f}, {267.35, 80, 0.07f}, {267.85, 84, 0.07f},
                               {268.35, 89, 0.08f}, {269.3, 87, 0.05f},  {270.6, 84, 0.045f}, {272.2, 80, 0.04f},
                               {274.3, 89, 0.035f}};
  Pcm coda(start, kMusicSeconds - start);
  for (std::size_t i = 0; i < std::size(kChimes); ++i)
    bell(coda, kChimes[i].t, kChimes[i].midi, {.level = kChimes[i].level, .decay = 1.2f, .pan = i % 2 ? 0.35f : -0.35f});
  const double from = blackAt + 0.07, until = from + 1.2;
  pad(coda, std::vector<Note>{{from, until, 41}, {from, until, 48}, {from, until, 53}, {from, until, 56}},
      {.attack = 0.8f, .release = 0.45f, .detune = 6.0f, .level = 0.05f});
  tone(coda, {from, until, 29}, {.level = 0.1f, .attack = 0.8f, .release = 0.45f});
  mix.add(coda, 1.0f, {0.35f, 0.15f});
}

}  // namespace

void scoreSixth(Mixer& mix) {
  const double start = slotStart(5), end = slotStart(6);
  const Grid grid{kSixthDownbeat};
  sixthDrums(mix, grid, start, end);
  sixthTonal(mix, grid, start, end);
}

void scoreSeventh(Mixer& mix) { seventhSection(mix, slotStart(6), slotStart(7)); }

void scoreEighth(Mixer& mix) {
  const double start = slotStart(7), end = slotStart(8);
  const EighthPlan plan;
  eighthDrums(mix, plan, start, end);
  eighthTonal(mix, plan, start, end);
}

void scoreNinth(Mixer& mix) { ninthSection(mix, slotStart(8), slotStart(9)); }

void scoreCredits(Mixer& mix) { creditsSection(mix, slotStart(9), slotStart(10)); }

void scoreClosing(Mixer& mix) {
  // The logo is covered by 300 × band 2 until the picture goes black by time at 276.03 s.
  constexpr double kBlackAt = 276.03;
  mix.highPassBetween(slotStart(10), kBlackAt, 800.0f);
  closingSection(mix, slotStart(10), kBlackAt);
}

}  // namespace contentgen
