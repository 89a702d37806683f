// The piece as a whole: the sections in order into one mixer, the master chain, and the two
// files the show loads. The score's shared helpers (grid, theme, curves) live here too.
#include <algorithm>
#include <cmath>

#include "tools/contentgen/Music.h"
#include "tools/contentgen/MusicScore.h"

namespace contentgen {
namespace {

// Master gain before the limiter, chosen for about −14 LUFS integrated; the limiter's ceiling
// (−1.9 dBFS) leaves room for the MP3's overshoot on bright hits (up to ~1.4 dB), so the decoded
// peaks stay below −0.3 dBFS.
constexpr float kMasterGain = 1.2f;
constexpr float kCeiling = 0.80f;

// Eight bars: two four-bar phrases over Fm7, D♭maj7, A♭, E♭.
constexpr ThemeNote kMainTheme[] = {
    {0, 6, 72},   {6, 2, 70},    {8, 4, 68},   {12, 4, 72},  {16, 6, 73},   {22, 2, 72},  {24, 8, 68},
    {32, 6, 75},  {38, 2, 73},   {40, 4, 72},  {44, 4, 68},  {48, 6, 70},   {54, 2, 68},  {56, 8, 67},
    {64, 6, 72},  {70, 2, 70},   {72, 4, 68},  {76, 4, 77},  {80, 6, 75},   {86, 2, 73},  {88, 8, 72},
    {96, 4, 73},  {100, 4, 72},  {104, 4, 70}, {108, 4, 67}, {112, 14, 65}};

}  // namespace

long long Grid::sixteenthOf(double t) const { return std::llround((t - downbeat) / kSixteenth); }
long long Grid::barOf(double t) const { return static_cast<long long>(std::floor((t - downbeat) / kBar + 1e-9)); }

std::span<const ThemeNote> mainTheme() { return kMainTheme; }

float curveAt(std::span<const CurvePoint> points, double t) {
  if (t <= points.front().t) return points.front().value;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (t <= points[i].t) {
      const CurvePoint &a = points[i - 1], &b = points[i];
      return a.value + (b.value - a.value) * float((t - a.t) / (b.t - a.t));
    }
  }
  return points.back().value;
}

void applyGain(Pcm& track, const std::function<float(double)>& gain) {
  for (std::size_t n = 0; n < track.frames(); ++n) {
    float g = gain(track.timeOf(static_cast<long long>(n)));
    track.left[n] *= g;
    track.right[n] *= g;
  }
}

bool clearOf(std::span<const double> events, double t, double margin) {
  return std::none_of(events.begin(), events.end(), [&](double e) { return std::fabs(e - t) <= margin; });
}

std::vector<Note> chordNotes(const Chord& chord, double start, double end, int octaves, float velocity) {
  std::vector<Note> notes;
  for (float midi : chord.voicing) notes.push_back({start, end, midi + 12.0f * float(octaves), velocity});
  return notes;
}

Pcm composeMusic() {
  Mixer mix(kMusicSeconds);
  scoreOpening(mix);
  scoreSecond(mix);
  scoreThird(mix);
  scoreFourth(mix);
  scoreFifth(mix);
  scoreSixth(mix);
  scoreSeventh(mix);
  scoreEighth(mix);
  scoreNinth(mix);
  scoreCredits(mix);
  scoreClosing(mix);
  return mix.master(kMasterGain, kCeiling);
}

void writeMusic(Output& out) {
  Pcm pcm = composeMusic();
  std::vector<unsigned char> mp3 = encodeMp3(toPcm16(pcm), kSampleRate);
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
