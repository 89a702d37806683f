// The show's timed events the soundtrack plays on, kept here once for the whole score and its
// tests. Slot starts come from timeline::kDemoTimeline. The other tables are copies of the
// schedule's and the scenes' own (timeline/Schedule.cpp keeps its tables private), in the units
// the pictures use; the functions below turn them into music times. Sentinels are left out.
#pragma once

#include <vector>

namespace contentgen {

// Music time (seconds).
inline constexpr double kOpeningCardTimes[] = {5.49, 9.57, 10.2};
inline constexpr double kOpeningPumpStart = 20.54;  // the opening flash's pump crosses 0 here

// Second scene, scene time (music time − 21.4).
inline constexpr double kSecondSceneCuts[] = {0.59,  1.2,   2.14,  2.65,  3.37,  3.95,  4.77,  5.32,  6.03,  6.71,  7.36,
                                              8.06,  8.7,   9.33,  10.02, 10.64, 11.38, 12.05, 12.79, 13.4,  14.05, 14.69,
                                              15.4,  16.05, 16.72, 17.35, 18.03, 18.68, 19.39, 20,    20.63, 21.35};
inline constexpr double kSecondSceneHits[] = {0,    2.33,  3.57, 5,     6.37, 7.72,  9,    10.4,
                                              11.77, 13,   14.35, 15.7, 18.37, 19.7, 21.11};
inline constexpr double kSecondSceneFinalFlash = 21.0;  // the cut flash jumps to full here

// Third slot: beats in music time; cuts and distortion pulses A and B in scene time (− 47.7).
inline constexpr double kThirdSceneBeats[] = {49.12, 50.45, 51.77, 53.11, 54.45, 55.77, 57.1,
                                              58.43, 59.78, 61.11, 62.45, 63.78, 65.1,  66.46};
inline constexpr double kThirdSceneCuts[] = {0,     1.27,  2.7,   4.15,  5.46,  6.72,  8.04,  9.38,
                                             10.73, 12.04, 13.37, 14.77, 16.06, 17.41, 18.75, 20.06};
inline constexpr double kThirdScenePulsesA[] = {0, 21.2};
inline constexpr double kThirdScenePulsesB[] = {2.9, 8.2, 13.5, 19.0, 20.0, 21.0};
inline constexpr double kThirdSceneDistortionEnd = 21.0;  // pulse B shows only before this

// Fourth scene: camera beats in scene time (− 69.4), flash beats in music time.
inline constexpr double kFourthSceneCameraBeats[] = {1.27,  2.7,   4.15,  5.46,  6.72,  8.04,  9.38, 10.73,
                                                     12.04, 13.37, 14.77, 16.06, 17.41, 18.75, 20.06};
inline constexpr double kFourthSceneFlashBeats[] = {70.45, 71.11, 71.78, 72.45, 73.12, 73.97, 74.46, 75.1,
                                                    75.78, 76.45, 77.12, 77.77, 78.44, 79.1,  80.15, 81.12,
                                                    81.78, 82.45, 83.12, 83.8,  84.62, 85.12, 85.8,  86.44,
                                                    87.11, 87.8,  88.43, 89.12, 89.8,  90.45, 90.82};

// Fifth slot: beat table W and view switches in music time; camera variants in scene time (− 91).
inline constexpr double kFifthSceneBeats[] = {
    91.45,  92.47,  93.3,   93.8,   94.13,  94.66,  94.92,  95.17,  95.46,  95.8,   96.16,  96.77,  97.3,
    97.81,  98.13,  99.4,   99.99,  100.8,  101.1,  101.3,  101.5,  102.12, 103.14, 103.64, 103.97, 104.4,
    104.8,  105.3,  105.8,  105.99, 106.14, 106.97, 107.4,  107.98, 108.5,  108.8,  109.47, 110.12, 110.63,
    111.16, 111.45, 111.6,  111.77, 111.9,  112.4,  112.6,  112.8,  113.8,  114.3,  114.6,  115.1,  115.3,
    115.46, 116.3,  116.8,  117.18, 117.5,  117.63, 117.82, 118.13, 118.66, 119.16, 119.45};
inline constexpr double kFifthVariantTimes[] = {8.1, 11.9, 14.1, 18.7, 22.5, 24.5};
inline constexpr double kFifthSwitchTimes[] = {92.8, 93.8,  96,    97.7,  98.25, 100.21, 101.4,
                                               105.2, 105.7, 106.7, 107.4, 109.4, 110.2,  111.4};

// Sixth slot: the cut table in music time (154.66 falls in the seventh slot and is not played);
// the valley's shot cuts in its scene time u′ = (music − 119.8) × 0.333; the seventh renderer's
// camera cuts in its scene time u = music − 119.8.
inline constexpr double kSixthCutTimes[] = {
    122.41, 122.63, 122.82, 123.8,  123.96, 124.13, 125,    125.31, 125.5,  125.64, 125.8,  125.98, 126.13, 127.15,
    127.47, 127.82, 128.05, 128.14, 128.28, 128.49, 128.8,  129.29, 129.78, 130.11, 130.83, 130.98, 131.16, 131.3,
    131.45, 132.45, 132.82, 132.99, 133.16, 133.31, 133.47, 133.62, 133.79, 133.99, 134.12, 134.8,  134.98, 135.15,
    135.46, 135.94, 136.13, 136.44, 136.78, 137.3,  137.63, 137.8,  137.98, 138.14, 138.49, 138.64, 138.8,  138.99,
    139.15, 139.45, 139.97, 140.48, 140.8,  140.98, 141.48, 141.83, 141.98, 142.12, 142.41, 142.63, 143,    143.12,
    143.32, 143.48, 143.65, 143.79, 144.17, 144.5,  144.65, 144.8,  145.08, 145.28, 145.45, 145.65, 145.81, 146.21,
    146.61, 146.81, 147.15, 147.31, 147.48, 147.97, 148.32, 148.48, 148.8,  149.14, 149.46, 149.63, 149.83, 150.13,
    150.62, 151.18, 151.45, 151.63, 152.13, 152.47, 152.63, 152.8,  153.3,  153.66, 153.8,  154.15, 154.3,  154.66};
inline constexpr double kValleyCuts[] = {3.25, 4.6, 6.46, 8.9, 10.9, 12.9};
inline constexpr double kValleyRate = 0.333;
inline constexpr double kSeventhSceneCuts[] = {1.27,  2.7,   4.15,  5.46,  6.72,  8.04,  9.38, 10.73,
                                               12.04, 13.37, 14.77, 16.06, 17.41, 18.75, 20.06};

// Eighth scene, music time; each cut is taken 0.1 s and each beat 0.3 s before its entry.
inline constexpr double kEighthSceneCuts[] = {177.46, 182.78, 188.14, 190.8, 198.8, 204.13, 209.45, 212.12};
inline constexpr double kEighthSceneBeats[] = {176.3,  176.92, 178.9,  179.65, 181.5,  182.2,  184.24,
                                               185.11, 186.46, 186.62, 186.8,  190.57, 197.55, 198.24,
                                               200.25, 200.9,  201.24, 201.64, 202.92, 203.58, 205.59,
                                               206.47, 207.8,  208.16, 208.47, 212.12};
inline constexpr double kEighthCutLead = 0.1, kEighthBeatLead = 0.3;

// Ninth scene cuts and the credits' card changes, music time (253.65 falls in the credits).
inline constexpr double kNinthSceneCuts[] = {224.45, 229.86, 235.26, 240.45, 245.66, 248.35, 250.97};
inline constexpr double kCreditsCardTimes[] = {256.7, 260, 263.23, 266.35};

// Slot k covers music times (slotStart(k − 1), slotStart(k)], k = 1 … 11.
double slotStart(int k);

// Music times of the drum hits, one list per table the pictures time things by.
std::vector<double> secondSceneHitTimes();
std::vector<double> secondSceneCutTimes();
std::vector<double> thirdSceneCutTimes();
std::vector<double> fourthSceneCameraTimes();
std::vector<double> sixthSlotCutTimes();  // the cut table's entries inside the sixth slot
std::vector<double> eighthSceneCutTimes();
std::vector<double> eighthSceneBeatTimes();

// What an entry of the sixth slot's cut table does to the picture.
enum class SixthCut { toSeventh, toValley, sameRenderer };
SixthCut sixthCutKind(std::size_t index);
// Whether the seventh renderer is on screen at a music time inside the sixth slot.
bool seventhOnScreen(double t);
// Shot changes seen on screen in the sixth slot: the valley's own cuts while it shows, the
// seventh renderer's while it shows.
std::vector<double> sixthSlotShotChanges();

// The fifth slot's view switches that change the picture (the others leave it as it was), and
// its camera variant changes.
std::vector<double> fifthViewChanges();
std::vector<double> fifthVariantChanges();

// Every table the drums land on, with a name for messages.
struct DrumCue {
  const char* table;
  std::vector<double> times;
};
std::vector<DrumCue> drumCues();

}  // namespace contentgen
