// The schedule's tables and timing constants, in 32-bit floats as the schedule compares them:
// read by timeline/Schedule.cpp and by whatever else must follow the same events (the soundtrack
// generator). Constant data; any thread.
#pragma once

#include <array>

#include "timeline/Schedule.h"

namespace timeline {

// Slot starts the renderers' scene times count from.
inline constexpr float kFifthSlotStart = kDemoTimeline[4];
inline constexpr float kSixthSlotStart = kDemoTimeline[5];

// The opening swaps to its flash renderer while spectrum band 0 is above this; the flash's scene
// time is (t − kOpeningFlashStart) × kOpeningFlashRate.
inline constexpr float kSpectrumFlashThreshold = 0.1f;
inline constexpr float kOpeningFlashStart = 20.54f;
inline constexpr float kOpeningFlashRate = 5;

// Third slot beats (music time): entry 0 a placeholder, the last a sentinel past the slot.
inline constexpr std::array<float, 16> kThirdSceneBeats = {0,      49.12f, 50.45f, 51.77f, 53.11f, 54.45f,
                                                           55.77f, 57.1f,  58.43f, 59.78f, 61.11f, 62.45f,
                                                           63.78f, 65.1f,  66.46f, 100};

// Fifth slot camera variant changes, in its own scene time (music time minus kFifthSlotStart),
// ending with a sentinel; the entries from 29.3 on lie past the slot.
inline constexpr std::array<float, 16> kFifthVariantTimes = {8.1f, 11.9f, 14.1f, 18.7f, 22.5f, 24.5f, 29.3f, 32.4f,
                                                             35.4f, 38,    39,    40.3f, 44,    46,    49.1f, 300};

// Fifth slot view switches (music time), ending with a sentinel.
inline constexpr std::array<float, 15> kFifthSwitchTimes = {92.8f,  93.8f,  96,     97.7f, 98.25f,
                                                            100.21f, 101.4f, 105.2f, 105.7f, 106.7f,
                                                            107.4f, 109.4f, 110.2f, 111.4f, 400};

// Sixth slot cuts between the valley and the seventh renderer (music time), ending with a
// sentinel; 154.66 lies just past the slot.
inline constexpr std::array<float, 113> kSixthCutTimes = {
    122.41f, 122.63f, 122.82f, 123.8f,  123.96f, 124.13f, 125,     125.31f, 125.5f,  125.64f, 125.8f,  125.98f,
    126.13f, 127.15f, 127.47f, 127.82f, 128.05f, 128.14f, 128.28f, 128.49f, 128.8f,  129.29f, 129.78f, 130.11f,
    130.83f, 130.98f, 131.16f, 131.3f,  131.45f, 132.45f, 132.82f, 132.99f, 133.16f, 133.31f, 133.47f, 133.62f,
    133.79f, 133.99f, 134.12f, 134.8f,  134.98f, 135.15f, 135.46f, 135.94f, 136.13f, 136.44f, 136.78f, 137.3f,
    137.63f, 137.8f,  137.98f, 138.14f, 138.49f, 138.64f, 138.8f,  138.99f, 139.15f, 139.45f, 139.97f, 140.48f,
    140.8f,  140.98f, 141.48f, 141.83f, 141.98f, 142.12f, 142.41f, 142.63f, 143,     143.12f, 143.32f, 143.48f,
    143.65f, 143.79f, 144.17f, 144.5f,  144.65f, 144.8f,  145.08f, 145.28f, 145.45f, 145.65f, 145.81f, 146.21f,
    146.61f, 146.81f, 147.15f, 147.31f, 147.48f, 147.97f, 148.32f, 148.48f, 148.8f,  149.14f, 149.46f, 149.63f,
    149.83f, 150.13f, 150.62f, 151.18f, 151.45f, 151.63f, 152.13f, 152.47f, 152.63f, 152.8f,  153.3f,  153.66f,
    153.8f,  154.15f, 154.3f,  154.66f, 1000};

// The valley's scene time in the sixth slot runs at this rate: (t − kSixthSlotStart) × rate.
inline constexpr float kSixthSceneRate = 0.333f;

static_assert(kThirdSceneBeats.back() == 100 && kFifthVariantTimes.back() == 300 && kFifthSwitchTimes.back() == 400 &&
                  kSixthCutTimes.back() == 1000,
              "a missing entry would leave a zero at the end");

}  // namespace timeline
