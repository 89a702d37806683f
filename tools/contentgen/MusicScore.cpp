// The placeholder arrangement: every timed event of the show gets a sound at its exact music time
// (kicks on beat tables, clicks and hats on cuts, crashes on phrase marks, swells and risers
// before flashes that build), over a drone in F minor whose root (F3) feeds spectrum band 2.
// Band rules the pictures rely on: nothing below 130 Hz in the opening except its accents; a
// rising low swell in every half second before a third-scene beat; a gated F2 bass in the fourth
// scene; only sounds above 800 Hz after 266.35 s (the closing logo fades on band 2).
#include <algorithm>
#include <cmath>
#include <span>

#include "tools/contentgen/Music.h"

namespace contentgen {
namespace {

// Event tables in music time.
constexpr double kSlotStarts[] = {21.4, 47.7, 69.4, 91, 119.8, 154.64, 176, 220, 253.45};
constexpr double kTitleCards[] = {5.49, 9.57, 10.2};
constexpr double kSecondHits[] = {21.4, 23.73, 24.97, 26.4, 27.77, 29.12, 30.4, 31.8, 33.17, 34.4, 35.75, 37.1, 39.77, 41.1, 42.51};
constexpr double kSecondCuts[] = {21.99, 22.6, 23.54, 24.05, 24.77, 25.35, 26.17, 26.72, 27.43, 28.11, 28.76,
                                  29.46, 30.1, 30.73, 31.42, 32.04, 32.78, 33.45, 34.19, 34.8, 35.45, 36.09,
                                  36.8, 37.45, 38.12, 38.75, 39.43, 40.08, 40.79, 41.4, 42.03, 42.75};
constexpr double kThirdBeats[] = {49.12, 50.45, 51.77, 53.11, 54.45, 55.77, 57.1, 58.43, 59.78, 61.11, 62.45, 63.78, 65.1, 66.46};
constexpr double kThirdCuts[] = {48.97, 50.4, 51.85, 53.16, 54.42, 55.74, 57.08, 58.43, 59.74, 61.07, 62.47, 63.76, 65.11, 66.45, 67.76};
constexpr double kFourthBeats[] = {70.45, 71.11, 71.78, 72.45, 73.12, 73.97, 74.46, 75.1, 75.78, 76.45, 77.12,
                                   77.77, 78.44, 79.1, 80.15, 81.12, 81.78, 82.45, 83.12, 83.8, 84.62, 85.12,
                                   85.8, 86.44, 87.11, 87.8, 88.43, 89.12, 89.8, 90.45, 90.82};
constexpr double kFourthCuts[] = {70.67, 72.1, 73.55, 74.86, 76.12, 77.44, 78.78, 80.13, 81.44, 82.77, 84.17, 85.46, 86.81, 88.15, 89.46};
constexpr double kFifthBeats[] = {91.45, 92.47, 93.3, 93.8, 94.13, 94.66, 94.92, 95.17, 95.46, 95.8, 96.16, 96.77, 97.3,
                                  97.81, 98.13, 99.4, 99.99, 100.8, 101.1, 101.3, 101.5, 102.12, 103.14, 103.64, 103.97,
                                  104.4, 104.8, 105.3, 105.8, 105.99, 106.14, 106.97, 107.4, 107.98, 108.5, 108.8,
                                  109.47, 110.12, 110.63, 111.16, 111.45, 111.6, 111.77, 111.9, 112.4, 112.6, 112.8,
                                  113.8, 114.3, 114.6, 115.1, 115.3, 115.46, 116.3, 116.8, 117.18, 117.5, 117.63,
                                  117.82, 118.13, 118.66, 119.16, 119.45};
constexpr double kFifthVariants[] = {99.1, 102.9, 105.1, 109.7, 113.5, 115.5};
constexpr double kFifthSwitches[] = {92.8, 93.8, 96, 97.7, 98.25, 100.21, 101.4, 105.2, 105.7, 106.7, 107.4, 109.4, 110.2, 111.4};
constexpr double kSixthCuts[] = {
    122.41, 122.63, 122.82, 123.8, 123.96, 124.13, 125, 125.31, 125.5, 125.64, 125.8, 125.98, 126.13, 127.15, 127.47,
    127.82, 128.05, 128.14, 128.28, 128.49, 128.8, 129.29, 129.78, 130.11, 130.83, 130.98, 131.16, 131.3, 131.45,
    132.45, 132.82, 132.99, 133.16, 133.31, 133.47, 133.62, 133.79, 133.99, 134.12, 134.8, 134.98, 135.15, 135.46,
    135.94, 136.13, 136.44, 136.78, 137.3, 137.63, 137.8, 137.98, 138.14, 138.49, 138.64, 138.8, 138.99, 139.15,
    139.45, 139.97, 140.48, 140.8, 140.98, 141.48, 141.83, 141.98, 142.12, 142.41, 142.63, 143, 143.12, 143.32,
    143.48, 143.65, 143.79, 144.17, 144.5, 144.65, 144.8, 145.08, 145.28, 145.45, 145.65, 145.81, 146.21, 146.61,
    146.81, 147.15, 147.31, 147.48, 147.97, 148.32, 148.48, 148.8, 149.14, 149.46, 149.63, 149.83, 150.13, 150.62,
    151.18, 151.45, 151.63, 152.13, 152.47, 152.63, 152.8, 153.3, 153.66, 153.8, 154.15, 154.3};
// The starts of the seventh renderer's 29 cut-ins within the sixth slot.
constexpr double kCutIns[] = {122.41, 122.82, 124.13, 125.8, 127.15, 128.28, 129.29, 131.16, 132.45, 133.47,
                              133.99, 135.46, 136.44, 137.98, 138.64, 139.97, 140.98, 142.41, 143.12, 144.17,
                              144.8, 145.81, 146.81, 148.32, 149.14, 150.62, 151.63, 153.3, 154.15};
constexpr double kShotChanges[] = {122.5, 135.86, 139.2, 146.53, 152.53};
constexpr double kEighthCuts[] = {177.36, 182.68, 188.04, 190.7, 198.7, 204.03, 209.35, 212.02};
constexpr double kEighthBeats[] = {176, 176.62, 178.6, 179.35, 181.2, 181.9, 183.94, 184.81, 186.16,
                                   186.32, 186.5, 190.27, 197.25, 197.94, 199.95, 200.6, 200.94, 201.34,
                                   202.62, 203.28, 205.29, 206.17, 207.5, 207.86, 208.17, 211.82};
constexpr double kNinthCuts[] = {224.45, 229.86, 235.26, 240.45, 245.66, 248.35, 250.97};
constexpr double kCreditChanges[] = {256.7, 260, 263.23};
constexpr double kClosingStart = 266.35;

constexpr float kF1 = 43.65f, kF2 = 87.31f;

// A piecewise-linear envelope over music time.
float envelope(std::span<const std::pair<double, float>> points, double t) {
  if (t <= points.front().first) return points.front().second;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (t <= points[i].first) {
      const auto& [t0, v0] = points[i - 1];
      const auto& [t1, v1] = points[i];
      return v0 + (v1 - v0) * float((t - t0) / (t1 - t0));
    }
  }
  return points.back().second;
}

// The pad: in from silence, out at the fourth scene's hard stop and back with the fifth, gone
// before the closing (its root would darken the logo through band 2).
constexpr std::pair<double, float> kPadLevel[] = {
    {0, 0}, {4, 1}, {90.8, 1}, {91.0, 0}, {93, 1}, {217.5, 1}, {220, 0.5}, {222, 1}, {251.45, 1},
    {253.45, 0.2}, {255.45, 1}, {265.3, 1}, {266.2, 0}};
// The root F3 alone: band 2 for the opening's glow (0.01–0.08), lower under the fourth scene's
// bass and the fifth scene's morph (≤ 0.08), higher for the sixth, seventh and ninth scenes.
constexpr std::pair<double, float> kRootLevel[] = {
    {0, 0}, {4, 0.06}, {47.7, 0.06}, {69.4, 0.04}, {90.8, 0.04}, {91.0, 0}, {93, 0.02}, {119.8, 0.02},
    {121, 0.08}, {176, 0.08}, {220, 0.06}, {222, 0.12}, {251.45, 0.12}, {253.45, 0.02}, {255.45, 0.05},
    {265.3, 0.05}, {266.2, 0}};

std::uint32_t seedOf(double t, std::uint32_t salt) { return std::uint32_t(t * 1000.0) * 2654435761U + salt; }

void opening(Pcm& pcm) {
  for (double t : kTitleCards) {
    addBell(pcm, t, 0.12f, 1046.5f);
    addKick(pcm, t, 0.32f, 70.0f, 44.0f, 0.09f);
  }
  addRiser(pcm, 20.54, 6.5, 0.12f, 11);
  // A 16th roll of sub kicks from 20.54 s, choked on the slot change at 21.4 s.
  for (int k = 0; k < 6; ++k) addKick(pcm, 20.54 + k * (1.0 / 6.0), 0.4f, 70.0f, 44.0f, 0.07f);
}

void secondScene(Pcm& pcm) {
  for (double t : kSecondHits) addKick(pcm, t, 0.6f, 110.0f, kF1, 0.14f);
  for (double t : kSecondCuts) addHat(pcm, t, 0.22f, 0.12f, seedOf(t, 2));
  addCrash(pcm, 42.4, 0.3f, 0.6f, 21);
  addRiser(pcm, 47.7, 4.3, 0.1f, 22);
}

void thirdScene(Pcm& pcm) {
  addCrash(pcm, 47.7, 0.3f, 0.8f, 31);
  for (double t : kThirdBeats) {
    // The flash frames of [beat − 0.5, beat) light the floor by band 0: a rumble swelling into
    // the beat over a slow lift that keeps band 0 near 0.05–0.1 through the window.
    addSwell(pcm, t, 0.5, 0.16f, 50.0f);
    addLift(pcm, t, 0.5, 0.08f);
    addKick(pcm, t, 0.55f, 100.0f, kF1, 0.16f);
    addClap(pcm, t, 0.35f, seedOf(t, 3));
  }
  for (double t : kThirdCuts) addClick(pcm, t, 0.2f, seedOf(t, 4));
  addRiser(pcm, 69.4, 0.5, 0.1f, 32);
}

// Four on the floor with the 16th-gated F2 bass that lifts the cube rows (on, on, rest, on).
void fourthScene(Pcm& pcm) {
  addRiser(pcm, 70.45, 1.05, 0.12f, 41);
  for (double t : kFourthBeats) addKick(pcm, t, 0.45f, 90.0f, kF1, 0.12f);
  for (double t : kFourthCuts) addHat(pcm, t, 0.2f, 0.15f, seedOf(t, 5));
  constexpr double kSixteenth = 2.0 / 3.0 / 4.0;
  for (double t = 70.455; t + kSixteenth < 90.82; t += kSixteenth) {
    int step = int(std::lround((t - 70.455) / kSixteenth));
    bool rest = step % 4 == 2 || (step % 16 >= 12 && step % 2 == 1);
    if (!rest) addNote(pcm, t, t + kSixteenth * 0.85, 0.3f, kF2);
  }
  addCrash(pcm, 90.82, 0.3f, 0.06f, 42);
}

// Soft, low-cut hits on the fifth scene's busy beat table (band 2 stays ≤ 0.08 there).
void fifthScene(Pcm& pcm) {
  for (double t : kFifthBeats) {
    addKick(pcm, t, 0.26f, 75.0f, kF1, 0.09f);
    addClick(pcm, t, 0.12f, seedOf(t, 6));
  }
  for (double t : kFifthVariants) addCrash(pcm, t, 0.22f, 0.9f, seedOf(t, 7));
  for (double t : kFifthSwitches) addHat(pcm, t, 0.12f, 0.05f, seedOf(t, 8));
  addRiser(pcm, 119.8, 0.35, 0.15f, 51);
}

void sixthScene(Pcm& pcm) {
  addCrash(pcm, 119.8, 0.3f, 2.0f, 61);
  for (double t : kSixthCuts) addHat(pcm, t, 0.14f, 0.04f, seedOf(t, 9));
  for (double t : kCutIns) {
    addRiser(pcm, t, 0.3, 0.06f, seedOf(t, 10));
    addClap(pcm, t, 0.3f, seedOf(t, 11));
  }
  for (double t : kShotChanges) addCrash(pcm, t, 0.2f, 0.7f, seedOf(t, 12));
}

void seventhScene(Pcm& pcm) {
  addCrash(pcm, 154.64, 0.2f, 0.08f, 71);
  addRiser(pcm, 170.3, 1.0, 0.05f, 72);
  addRiser(pcm, 176.0, 6.0, 0.1f, 73);
}

void eighthScene(Pcm& pcm) {
  for (double t : kEighthCuts) {
    addCrash(pcm, t, 0.22f, 1.0f, seedOf(t, 13));
    addKick(pcm, t, 0.45f, 90.0f, kF1, 0.2f);
  }
  for (double t : kEighthBeats) {
    addClap(pcm, t, 0.28f, seedOf(t, 14));
    addBell(pcm, t, 0.04f, 2093.0f);
  }
}

void ninthAndCredits(Pcm& pcm) {
  for (double t : kNinthCuts) {
    addKick(pcm, t, 0.3f, 70.0f, kF1, 0.3f);
    addCrash(pcm, t, 0.1f, 1.5f, seedOf(t, 15));
  }
  for (double t : kCreditChanges) {
    addRiser(pcm, t, 1.0, 0.12f, seedOf(t, 16));
    addClick(pcm, t, 0.25f, seedOf(t, 17));
    addCrash(pcm, t, 0.15f, 0.8f, seedOf(t, 18));
  }
  addRiser(pcm, kClosingStart, 1.0, 0.14f, 91);
  addCrash(pcm, kClosingStart, 0.22f, 0.7f, 92);
}

// The coda: bells above 1 kHz only, thinning out while the logo sinks into black.
void closing(Pcm& pcm) {
  const std::pair<double, float> notes[] = {{266.5, 1396.9f}, {267.2, 1661.2f}, {267.9, 2093.0f}, {268.6, 2793.8f},
                                            {270.4, 2093.0f}, {272.9, 1661.2f}, {276.1, 1396.9f}, {276.1, 2093.0f}};
  for (const auto& [t, hz] : notes) addBell(pcm, t, 0.1f, hz);
}

}  // namespace

Pcm composeMusic() {
  Pcm pcm(44100, kMusicSeconds);
  addDrone(pcm, 0.0, kClosingStart, [](double t) { return envelope(kPadLevel, t); },
           [](double t) { return envelope(kRootLevel, t); });
  for (double t : kSlotStarts) addClick(pcm, t, 0.15f, seedOf(t, 1));
  opening(pcm);
  secondScene(pcm);
  thirdScene(pcm);
  fourthScene(pcm);
  fifthScene(pcm);
  sixthScene(pcm);
  seventhScene(pcm);
  eighthScene(pcm);
  ninthAndCredits(pcm);
  closing(pcm);
  return pcm;
}

void writeMusic(Output& out) {
  Pcm pcm = composeMusic();
  std::vector<unsigned char> mp3 = encodeMp3(toPcm16(pcm), pcm.rate);
  if (mp3.empty()) {
    out.fail("MP3 encoding", "RV07\\Vemir-Red Kite.mp3");
    return;
  }
  out.bytes("RV07\\Vemir-Red Kite.mp3", mp3);
  audio::DecodedAudio decoded = audio::decodeMp3(mp3);
  std::vector<unsigned char> spectrum = spectrumFile(decoded, kSpectrumBands);
  if (spectrum.empty()) {
    out.fail("spectrum analysis", "RV07\\syncdata\\fft.txt");
    return;
  }
  out.bytes("RV07\\syncdata\\fft.txt", spectrum);
}

}  // namespace contentgen
