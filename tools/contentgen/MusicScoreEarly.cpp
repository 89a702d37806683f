// The first five sections: the still opening, the second scene's groove, the third scene's heavy
// half-time, the fourth scene's four-on-the-floor with its gated bass, and the fifth scene's
// syncopated swarm. Each places its drums on the scene's own table times.
#include <algorithm>
#include <cmath>

#include "scenes/OpeningScene.h"
#include "scenes/SecondScene.h"
#include "scenes/ThirdScene.h"
#include "timeline/ScheduleTables.h"
#include "tools/contentgen/Drums.h"
#include "tools/contentgen/MusicCues.h"
#include "tools/contentgen/MusicScore.h"

namespace contentgen {
namespace {

// A chord held over a span of music time.
struct Held {
  double from, to;
  Chord chord;
};

// The slot grids: each slot's beats lie at phase + n × 2/3 s; the anchor is a downbeat.
constexpr double kSecondDownbeat = 0.430 + 35 * kBeat;  // 23.76
constexpr double kThirdDownbeat = 0.434 + 71 * kBeat;   // 47.77
constexpr double kFourthDownbeat = 0.455 + 107 * kBeat;  // 71.79
constexpr double kFifthDownbeat = 0.468 + 139 * kBeat;   // 93.14

// Adds a pad chord per bar of `grid` from `from` to `to`, the chord of each bar from `chordAt`.
void padPerBar(Pcm& track, const Grid& grid, double from, double to, int octaves, const PadShape& shape,
               const std::function<Chord(double)>& chordAt) {
  std::vector<Note> notes;
  for (long long k = grid.barOf(from); grid.bar(double(k)) < to; ++k) {
    double a = std::max(from, grid.bar(double(k))), b = std::min(to, grid.bar(double(k + 1)));
    for (const Note& n : chordNotes(chordAt(0.5 * (a + b)), a, b, octaves)) notes.push_back(n);
  }
  pad(track, notes, shape);
}

// Fades a track to silence over the 5 ms before `t` and keeps it silent after.
void stopAt(Pcm& track, double t) {
  applyGain(track, [t](double u) { return float(std::clamp((t - u) / 0.005, 0.0, 1.0)); });
}

// ---- Slot 1: still and nearly beatless; only the title-card accents and the closing roll reach
// below 130 Hz (band 0 flashes the picture).
// The title cards change at these scene times, which in the opening are music times.
constexpr auto& kCards = scenes::kOpeningCardTimes;

void openingPad(Mixer& mix, double end) {
  const Held kChords[] = {
      {0.0, kCards[0], kFm7}, {kCards[0], kCards[1], kDbMaj7}, {kCards[1], 14.0, kBbm7}, {14.0, 18.0, kFm7}, {18.0, end, kC7}};
  Pcm pads(0.0, end + 3.0);
  // The first chord rises slowly out of silence; the others move from it, common notes held.
  for (int octave : {1, 0}) {
    const PadShape first{.attack = 3.5f, .release = 0.9f, .detune = octave ? 9.0f : 6.0f, .level = octave ? 0.030f : 0.016f};
    PadShape next = first;
    next.attack = 1.2f;
    pad(pads, chordNotes(kChords[0].chord, kChords[0].from, kChords[0].to, octave), first);
    std::vector<Note> notes;
    for (const Held& h : std::span(kChords).subspan(1)) {
      for (const Note& n : chordNotes(h.chord, h.from, h.to, octave)) notes.push_back(n);
    }
    pad(pads, notes, next);
  }
  // The pad opens once the last title card has gone (12.2 s) and builds into the groove.
  constexpr CurvePoint kCutoff[] = {{0, 900}, {4, 1600}, {12.2, 1600}, {20.5, 5000}};
  filterTrack(pads, [&](double t) { return curveAt(kCutoff, t); }, 0.8f, false);
  steepHighPass(pads, 130.0f);
  // F3 held throughout: band 2 (the sky and the ribbons' glow) from the first seconds.
  tone(pads, {0.0, end, 53}, {.level = 0.055f, .attack = 3.5f, .release = 1.0f});
  mix.add(pads, 1.0f, {0.35f, 0.0f});
}

void openingBells(Mixer& mix, double end) {
  constexpr std::pair<double, float> kMotif[] = {
      {1.2, 84},  {2.0, 82},  {2.8, 80},  {3.6, 84},  {kCards[0], 89}, {6.6, 87},   {7.4, 84},   {8.2, 80},   {kCards[1], 89},
      {kCards[2], 92}, {12.2, 84}, {13.0, 82}, {13.8, 80}, {14.6, 79}, {16.43, 84}, {17.76, 82}, {19.1, 80}};
  Pcm bells(0.0, end + 4.0);
  for (std::size_t i = 0; i < std::size(kMotif); ++i) {
    const auto& [t, midi] = kMotif[i];
    bool card = std::find(kCards.begin(), kCards.end(), t) != kCards.end();
    bell(bells, t, midi, {.level = card ? 0.09f : 0.06f, .decay = 0.9f, .pan = i % 2 ? 0.4f : -0.4f});
  }
  mix.add(bells, 1.0f, {0.4f, 0.3f});
}

void openingAccents(Mixer& mix, double end) {
  Pcm& hits = mix.dry();
  // A short sub kick under each title-card change: a few flash frames.
  for (double t : openingCardTimes()) kick(hits, t, {0.38f, 52.0f, 44.0f, 0.03f, 0.14f, 0.0f, 0.0f}, seedOf(t, 10));
  // The roll from the pump's start (where the opening flash's scene time crosses 0) into the
  // second scene: six sub kicks accelerating onto 21.4.
  const double pumpStart = timeline::kOpeningFlashStart;
  const double roll = (end - pumpStart) / 6.0;
  for (int k = 0; k < 6; ++k) {
    double t = pumpStart + k * roll;
    kick(hits, t, {0.28f + 0.025f * float(k), 52.0f, 44.0f, 0.03f, 0.07f, 0.0f, 0.0f}, seedOf(t, 11));
  }
  // The build: wind throughout, a riser and high toms accelerating on the coming groove's beats.
  Pcm fx(0.0, end + 2.0);
  wind(fx, 0.0, end, 0.05f, 12);
  riser(fx, pumpStart, 6.5, 0.12f, 13);
  const Grid grid{kSecondDownbeat};
  constexpr float kTomHz[] = {520.0f, 440.0f, 370.0f};
  int n = 0;
  for (long long s = grid.sixteenthOf(16.43); grid.at(double(s)) < pumpStart; ++n) {
    double t = grid.at(double(s));
    float rise = float((t - 16.43) / (pumpStart - 16.43));
    tom(fx, t, 0.08f + 0.12f * rise, kTomHz[n % 3], 0.2f, n % 2 ? 0.3f : -0.3f, seedOf(t, 14));
    s += t < 18.4 ? 4 : t < 19.7 ? 2 : 1;
  }
  mix.add(fx, 1.0f, {0.25f, 0.0f});
}

}  // namespace

void scoreOpening(Mixer& mix) {
  const double end = slotStart(1);
  openingPad(mix, end);
  openingBells(mix, end);
  openingAccents(mix, end);
}

// ---- Slot 2: the groove enters. Kicks on the hit table, open hats on the cut table, the bass
// following the kicks, a plucked arpeggio; drums out after the final flash, a riser into 47.7.
namespace {

Chord secondChord(const Grid& grid, double t) { return kLoop[wrapIndex(grid.barOf(t) + 1, 4)]; }

void secondDrums(Mixer& mix, const Grid& grid, double start, double end, double flash) {
  const std::vector<double> hits = secondSceneHitTimes(), cuts = secondSceneCutTimes();
  std::vector<double> events = hits;
  events.insert(events.end(), cuts.begin(), cuts.end());
  events.push_back(flash);
  Pcm drums(start - 0.1, end - start + 3.0);
  for (double t : hits) kick(drums, t, {0.7f, 130.0f, 50.0f, 0.03f, 0.3f, 0.5f, 0.8f}, seedOf(t, 20));
  // The last hit throws the ribbons off, just after the final flash's crash.
  snare(drums, hits.back(), 0.6f, 190.0f, 0.2f, 28);
  hat(drums, hits.back(), 0.45f, 0.25f, 0.0f, 29);
  for (std::size_t i = 0; i < cuts.size(); ++i) {
    // Each cut's flash decays until the next cut: so does its open hat and noise burst.
    double gap = (i + 1 < cuts.size() ? cuts[i + 1] : flash + 1.0) - cuts[i];
    float pan = i % 2 ? 0.35f : -0.35f;
    hat(drums, cuts[i], 0.22f, std::min(0.3f, float(gap) * 0.3f), pan, seedOf(cuts[i], 21));
    shaker(drums, cuts[i], 0.12f, std::min(0.25f, float(gap) * 0.35f), -pan, seedOf(cuts[i], 22));
  }
  // Claps on 2 and 4 and closed hats on the other 16ths, only where no event sounds.
  for (long long s = grid.sixteenthOf(start) + 1; grid.at(double(s)) < flash - 0.1; ++s) {
    double t = grid.at(double(s));
    if (!clearOf(events, t, 0.07)) continue;
    if (wrapIndex(s, 8) == 4) {
      clap(drums, t, 0.32f, 0.12f, 0.0f, seedOf(t, 23));
    } else {
      hat(drums, t, s % 2 ? 0.045f : 0.075f, 0.03f, 0.2f, seedOf(t, 24));
    }
  }
  cymbal(drums, flash, 0.25f, 0.3f, 0.0f, seedOf(flash, 25));
  mix.add(drums, 1.0f, {0.12f, 0.0f});
}

void secondBass(Mixer& mix, const Grid& grid, double start, double flash) {
  const std::vector<double> hits = secondSceneHitTimes();
  Pcm& low = mix.dry();
  const BassShape shape{.level = 0.28f, .saw = 0.4f, .cutoff = 160.0f, .envelope = 900.0f, .envelopeDecay = 0.07f,
                        .attack = 0.003f, .release = 0.06f};
  for (std::size_t i = 0; i < hits.size(); ++i) {
    double next = i + 1 < hits.size() ? hits[i + 1] : hits[i] + 1.0;
    double length = std::min(next - hits[i], 1.2) - 0.05;
    bass(low, {hits[i], hits[i] + length, rootFrom(secondChord(grid, hits[i] + 0.1), 29)}, shape);
  }
  // Short pulses on the & of 2 and 4 where no kick falls.
  for (long long s = grid.sixteenthOf(start) + 1; grid.at(double(s)) < flash - 0.2; ++s) {
    double t = grid.at(double(s));
    std::size_t pos = wrapIndex(s, 16);
    if ((pos == 6 || pos == 14) && clearOf(hits, t, 0.15)) {
      bass(low, {t, t + 0.14, rootFrom(secondChord(grid, t), 36), 0.7f}, shape);
    }
  }
}

void secondHarmony(Mixer& mix, const Grid& grid, double start, double end, double flash) {
  Pcm arp(start - 0.1, end - start + 3.0);
  constexpr int kUpDown[] = {0, 1, 2, 3, 4, 3, 2, 1};  // voicing index; 4 is the lowest note an octave up
  for (long long s = grid.sixteenthOf(start) + 1; grid.at(double(s)) < flash + 0.01; ++s) {
    double t = grid.at(double(s));
    Chord chord = secondChord(grid, t);
    int index = kUpDown[wrapIndex(s, 8)];
    float midi = (index < 4 ? chord.voicing[std::size_t(index)] : chord.voicing[0] + 12.0f) + 12.0f;
    float accent = wrapIndex(s, 4) == 0 ? 1.0f : 0.7f;
    pluck(arp, {t, t + 0.1, midi, accent}, {.level = 0.07f, .bright = 2600.0f, .decay = 0.13f, .pan = s % 2 ? 0.3f : -0.3f});
  }
  mix.add(arp, 1.0f, {0.15f, 0.3f});
  Pcm pads(start - 0.5, end - start + 3.5);
  padPerBar(pads, grid, start - 0.3, end, 0, {0.3f, 0.5f, 8.0f, 0.022f}, [&](double t) { return secondChord(grid, t); });
  filterTrack(pads, [](double) { return 2200.0f; }, 0.7f, false);
  mix.add(pads, 1.0f, {0.3f, 0.0f});
  // After the final flash the drums are out: a riser and a reversed cymbal into the third scene.
  Pcm fx(end - 5.0, 5.5);
  riser(fx, end, end - (flash + 1.0), 0.14f, 26);
  reverseSwell(fx, end, 1.5, 0.1f, 1500.0f, 9000.0f, 27);
  mix.add(fx, 1.0f, {0.2f, 0.0f});
}

}  // namespace

void scoreSecond(Mixer& mix) {
  const double start = slotStart(1), end = slotStart(2);
  const double flash = start + scenes::kSecondSceneFlashFadeStart;  // the cut flash jumps to full
  const Grid grid{kSecondDownbeat};
  secondDrums(mix, grid, start, end, flash);
  secondBass(mix, grid, start, flash);
  secondHarmony(mix, grid, start, end, flash);
}

// ---- Slot 3: solemn half-time. Organ chords, a reversed kick swelling through the half second
// before each beat (the flash frames, lit by band 0), then kick, snare and organ stab on it.
namespace {

constexpr std::array<Chord, 4> kHalfTime = {kFm7, kDbMaj7, kBbm7, kC7};

Chord thirdChord(const Grid& grid, double t) { return kHalfTime[wrapIndex(std::max(0LL, grid.barOf(t)), 4)]; }

void thirdOrgan(Mixer& mix, const Grid& grid, double start, double end) {
  Pcm organs(start, end - start + 3.0);
  for (long long k = 0; grid.bar(double(k)) < end; ++k) {
    double from = k == 0 ? start : grid.bar(double(k)), to = std::min(end, grid.bar(double(k + 1)));
    for (const Note& n : chordNotes(thirdChord(grid, from + 0.01), from, to, 0))
      organ(organs, n, {.level = 0.05f, .attack = 0.06f, .release = 0.3f});
  }
  for (double b : thirdSceneBeatTimes()) {
    for (const Note& n : chordNotes(thirdChord(grid, b + 0.01), b, b + 0.3, 1))
      organ(organs, n, {.level = 0.07f, .attack = 0.003f, .release = 0.25f});
  }
  mix.add(organs, 1.0f, {0.35f, 0.0f});
}

void thirdBass(Mixer& mix, const Grid& grid, double start, double end) {
  Pcm& low = mix.dry();
  const BassShape shape{.level = 0.2f, .saw = 0.45f, .cutoff = 140.0f, .envelope = 300.0f, .envelopeDecay = 0.2f,
                        .attack = 0.02f, .release = 0.2f};
  for (long long k = 0; grid.bar(double(k)) < end; ++k) {
    double from = k == 0 ? start : grid.bar(double(k)), to = std::min(end, grid.bar(double(k + 1)));
    bass(low, {from, to - 0.05, rootFrom(thirdChord(grid, from + 0.01), 34)}, shape);
  }
  // Distortion pulse B: the bass's filter and pitch wobble up and back for 1.05 s.
  for (float p : scenes::kThirdScenePulsesB) {
    if (p >= scenes::kThirdSceneWavesUntil) continue;  // the waves, and so the pulse, end there
    double t = start + p;
    wobbleBass(low, {t, t + 1.05, rootFrom(thirdChord(grid, t), 41)}, {.level = 0.2f, .peakHz = 1400.0f});
  }
}

void thirdDrums(Mixer& mix, double start, double end) {
  const std::vector<double> beats = thirdSceneBeatTimes();
  Pcm drums(start - 0.6, end - start + 3.0);
  for (double b : beats) {
    reverseKick(drums, b, 0.5, 0.28f, 48.0f);
    kick(drums, b, {0.55f, 110.0f, 56.0f, 0.035f, 0.32f, 0.6f, 1.0f}, seedOf(b, 30));
    snare(drums, b, 0.4f, 190.0f, 0.2f, seedOf(b, 31));
  }
  // A ride on every camera cut.
  // A ride on every camera cut (the first is the slot's crash); a cut that falls with a beat is
  // played on the beat.
  for (double t : thirdSceneCutTimes()) {
    if (t <= start) continue;
    for (double b : beats) {
      if (std::fabs(b - t) < 0.06) t = b;
    }
    cymbal(drums, t, 0.16f, 0.35f, 0.6f, seedOf(t, 32));
  }
  // Pulse A: the crash and whoosh of the slot start, and the whoosh into the fourth scene.
  cymbal(drums, start, 0.38f, 0.9f, 0.0f, 33);
  for (float p : scenes::kThirdScenePulsesA) whoosh(drums, start + p, 0.67, 0.13f, seedOf(p, 34));
  mix.add(drums, 1.0f, {0.15f, 0.0f});
}

}  // namespace

void scoreThird(Mixer& mix) {
  const double start = slotStart(2), end = slotStart(3);
  const Grid grid{kThirdDownbeat};
  thirdOrgan(mix, grid, start, end);
  thirdBass(mix, grid, start, end);
  thirdDrums(mix, start, end);
}

// ---- Slot 4: four on the floor. A kick on every flash beat (clap on 2, 4 and the syncopes),
// rim and open hat on every camera beat, a 16th-gated bass whose rests drop band 1 (the cube
// rows), bright stabs; a crash into white and a hard stop at 91 s.
namespace {

Chord fourthChord(const Grid& grid, double t) { return kLoop[wrapIndex(grid.barOf(t) + 1, 4)]; }

void fourthDrums(Mixer& mix, const Grid& grid, double start, double end) {
  const std::vector<double> cams = fourthSceneCameraTimes(), flashes = fourthSceneFlashTimes();
  std::vector<double> events = flashes;
  events.insert(events.end(), cams.begin(), cams.end());
  Pcm drums(start, end - start);
  // A reversed crash while the white clears, into the first flash beat.
  reverseSwell(drums, flashes.front(), flashes.front() - start, 0.22f, 2500.0f, 11000.0f, 40);
  for (double t : flashes) {
    kick(drums, t, {0.65f, 120.0f, 50.0f, 0.03f, 0.085f, 0.6f, 1.2f}, seedOf(t, 41));
    std::size_t pos = wrapIndex(grid.sixteenthOf(t), 16);
    if (pos == 4 || pos == 12 || pos % 4 != 0) clap(drums, t, 0.4f, 0.12f, 0.0f, seedOf(t, 42));
  }
  for (double t : cams) {
    // A camera beat that falls with a flash beat is played with it.
    for (double f : flashes) {
      if (std::fabs(f - t) < 0.045) t = f;
    }
    hat(drums, t, 0.2f, 0.22f, 0.3f, seedOf(t, 43));
    rim(drums, t, 0.2f, -0.2f, seedOf(t, 44));
  }
  const double last = flashes.back();
  for (long long s = grid.sixteenthOf(flashes.front()); grid.at(double(s)) < last; ++s) {
    double t = grid.at(double(s));
    if (clearOf(events, t, 0.06)) hat(drums, t, s % 2 ? 0.05f : 0.09f, 0.025f, 0.25f, seedOf(t, 45));
  }
  cymbal(drums, last, 0.35f, 1.0f, 0.0f, 46, float(end - last));
  stopAt(drums, end);
  mix.add(drums, 1.0f, {0.1f, 0.0f});
}

void fourthBass(Mixer& mix, const Grid& grid) {
  constexpr bool kGate[16] = {1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 0, 1, 0};
  const BassShape shape{.level = 0.4f, .saw = 0.25f, .cutoff = 300.0f, .envelope = 500.0f, .envelopeDecay = 0.04f,
                        .attack = 0.003f, .release = 0.01f};
  const std::vector<double> flashes = fourthSceneFlashTimes();
  const double last = flashes.back();
  for (long long s = grid.sixteenthOf(flashes.front()); grid.at(double(s + 1)) <= last; ++s) {
    if (!kGate[wrapIndex(s, 16)]) continue;
    double t = grid.at(double(s));
    bass(mix.dry(), {t, t + kSixteenth - 0.025, rootFrom(fourthChord(grid, t), 36)}, shape);
  }
}

void fourthHarmony(Mixer& mix, const Grid& grid, double start, double end) {
  Pcm stabs(start, end - start);
  const std::vector<double> flashes = fourthSceneFlashTimes();
  const double last = flashes.back();
  for (long long s = grid.sixteenthOf(flashes.front()); grid.at(double(s)) < last; ++s) {
    std::size_t pos = wrapIndex(s, 16);
    if (pos != 6 && pos != 14) continue;
    double t = grid.at(double(s));
    const Chord chord = fourthChord(grid, t);
    for (std::size_t i = 0; i < chord.voicing.size(); ++i) {
      pluck(stabs, {t, t + 0.1, chord.voicing[i] + 12.0f},
            {.level = 0.04f, .bright = 3200.0f, .decay = 0.12f, .pan = -0.45f + 0.3f * float(i)});
    }
  }
  padPerBar(stabs, grid, start, end, 0, {0.4f, 0.3f, 8.0f, 0.014f}, [&](double t) { return fourthChord(grid, t); });
  stopAt(stabs, end);
  mix.add(stabs, 1.0f, {0.2f, 0.15f});
}

}  // namespace

void scoreFourth(Mixer& mix) {
  const double start = slotStart(3), end = slotStart(4);
  const Grid grid{kFourthDownbeat};
  fourthDrums(mix, grid, start, end);
  fourthBass(mix, grid);
  fourthHarmony(mix, grid, start, end);
  // The hard stop into black: effect tails end with the dry sounds.
  mix.chokeEffectsAt(end);
}

// ---- Slot 5: a restless swarm. A percussive hit on every beat-table entry whose decay runs to
// the next one, crashes and chord changes on the camera variants, sub slides on the view
// switches, short bass stabs and bell arpeggios; little below 300 Hz (band 2 stays low).
namespace {

struct FifthHarmony {
  std::vector<Held> chords;
  Chord at(double t) const {
    Chord c = chords.front().chord;
    for (const Held& h : chords) {
      if (h.from <= t) c = h.chord;
    }
    return c;
  }
};

FifthHarmony fifthHarmony(double start, double end) {
  const std::vector<double> v = fifthVariantChanges();
  const Chord order[] = {kFm7, kDbMaj7, kBbm7, kEb, kFm7, kAb, kC7};
  FifthHarmony h;
  double from = start;
  for (std::size_t i = 0; i <= v.size(); ++i) {
    double to = i < v.size() ? v[i] : end;
    h.chords.push_back({from, to, order[i]});
    from = to;
  }
  return h;
}

void fifthPercussion(Mixer& mix, const Grid& grid, double start, double end) {
  Pcm perc(start, end - start + 3.0);
  const std::vector<double> beats = fifthSceneBeatTimes();
  for (std::size_t i = 0; i < beats.size(); ++i) {
    double t = beats[i];
    double gap = (i + 1 < beats.size() ? beats[i + 1] : end) - t;
    float decay = std::clamp(float(gap) * 0.35f, 0.04f, 0.3f);
    std::size_t pos = wrapIndex(grid.sixteenthOf(t), 4);
    if (pos == 0) {
      kick(perc, t, {0.26f, 62.0f, 44.0f, 0.025f, 0.12f, 0.5f, 0.0f}, seedOf(t, 50));
      clap(perc, t, 0.3f, decay, 0.0f, seedOf(t, 51));
    } else {
      float pan = i % 2 ? 0.45f : -0.45f;
      tom(perc, t, 0.2f, pos == 2 ? 520.0f : 700.0f, decay, pan, seedOf(t, 52));
      shaker(perc, t, 0.16f, decay, -pan, seedOf(t, 53));
    }
    hat(perc, t, 0.25f, 0.02f, i % 2 ? -0.2f : 0.2f, seedOf(t, 57));  // the tick that marks each entry
  }
  for (double t : fifthVariantChanges()) cymbal(perc, t, 0.25f, 0.5f, 0.2f, seedOf(t, 54));
  const std::vector<double> views = fifthViewChanges();
  for (double t : fifthSwitchTimes()) {
    if (std::find(views.begin(), views.end(), t) != views.end()) {
      subDrop(perc, t, 0.18f, 60.0f, 44.0f, 0.25f);
    } else {
      shaker(perc, t, 0.05f, 0.04f, 0.6f, seedOf(t, 55));  // a switch that leaves the view: a ghost
    }
  }
  // The last flash holds white from 119.45: a noise riser into the sixth scene's downbeat.
  riser(perc, end, end - beats.back(), 0.3f, 56);
  mix.add(perc, 1.0f, {0.12f, 0.0f});
}

void fifthTonal(Mixer& mix, const Grid& grid, const FifthHarmony& harmony, double start, double end) {
  Pcm pads(start, end - start + 3.0);
  std::vector<Note> notes;
  for (const Held& h : harmony.chords) {
    for (const Note& n : chordNotes(h.chord, h.from, h.to, 1)) notes.push_back(n);
  }
  pad(pads, notes, {.attack = 2.0f, .release = 0.7f, .detune = 10.0f, .level = 0.03f});  // out of silence with the black fade
  filterTrack(pads, [](double) { return 3500.0f; }, 0.7f, false);
  steepHighPass(pads, 350.0f);
  mix.add(pads, 1.0f, {0.35f, 0.0f});
  Pcm& low = mix.dry();
  constexpr std::size_t kStabSteps[] = {0, 3, 6, 10};
  const BassShape shape{.level = 0.2f, .saw = 0.1f, .cutoff = 200.0f, .envelope = 300.0f, .envelopeDecay = 0.05f,
                        .attack = 0.003f, .release = 0.03f};
  Pcm bells(start, end - start + 3.0);
  constexpr int kArp[] = {0, 2, 1, 3, 2, 0, 3, 1};
  const double lastBeat = fifthSceneBeatTimes().back();
  for (long long s = grid.sixteenthOf(start) + 1; grid.at(double(s)) < lastBeat; ++s) {
    double t = grid.at(double(s));
    Chord chord = harmony.at(t);
    std::size_t pos = wrapIndex(s, 16);
    if (t > grid.downbeat - 0.01 && std::find(std::begin(kStabSteps), std::end(kStabSteps), pos) != std::end(kStabSteps)) {
      bass(low, {t, t + 0.13, rootFrom(chord, 29)}, shape);
    }
    if (s % 2 != 0) continue;
    float midi = chord.voicing[std::size_t(kArp[wrapIndex(s / 2, 8)])] + 24.0f;
    bell(bells, t, midi, {.level = pos % 4 == 0 ? 0.05f : 0.038f, .decay = 0.25f, .pan = s % 4 ? 0.5f : -0.5f});
  }
  // Out of silence with the black fade.
  applyGain(bells, [start](double t) { return float(std::clamp((t - start) / 2.0, 0.0, 1.0)); });
  mix.add(bells, 1.0f, {0.2f, 0.3f});
}

}  // namespace

void scoreFifth(Mixer& mix) {
  const double start = slotStart(4), end = slotStart(5);
  const Grid grid{kFifthDownbeat};
  const FifthHarmony harmony = fifthHarmony(start, end);
  fifthPercussion(mix, grid, start, end);
  fifthTonal(mix, grid, harmony, start, end);
}

}  // namespace contentgen
