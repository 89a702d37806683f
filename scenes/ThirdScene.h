// The third scene's rules that tests can call without a device: the two pulse generators of its
// wave distortion, the camera path and path time for a scene time, and the distortion pass chosen
// for a frame. Pure apart from the generators' own state; main thread only.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "platform/d3d9/d3d9.h"
#include "scenes/ScreenDistortion.h"

namespace scenes {

// Camera cuts in scene time, opened by 0 and closed by a sentinel past the slot.
inline constexpr std::array<float, 17> kThirdSceneCuts = {0.0f,   1.27f,  2.7f,   4.15f,  5.46f,  6.72f,
                                                          8.04f,  9.38f,  10.73f, 12.04f, 13.37f, 14.77f,
                                                          16.06f, 17.41f, 18.75f, 20.06f, 500.0f};
static_assert(kThirdSceneCuts.back() == 500.0f, "a missing entry would leave a zero at the end");

// Trigger tables of the two pulse generators, in scene time.
inline constexpr std::array<float, 2> kThirdScenePulsesA = {0.0f, 21.2f};
inline constexpr std::array<float, 6> kThirdScenePulsesB = {2.9f, 8.2f, 13.5f, 19.0f, 20.0f, 21.0f};

// The waves distort the picture between these scene times (both excluded), the ring outside.
inline constexpr float kThirdSceneWavesFrom = 2.9f;
inline constexpr float kThirdSceneWavesUntil = 21.0f;

// A pulse generator: a table of trigger times (scene seconds, ascending) read through a
// persistent next-entry index, and the time it last fired. Each update fires when the next entry
// lies below the scene time `a`: the trigger time becomes `a` and the index skips every entry
// below `a`. Past its last entry the table counts as ending in +infinity, so a used-up generator
// never fires again. Starts at index 0 and trigger time 0.
class PulseGenerator {
 public:
  PulseGenerator(std::span<const float> triggers, float rate) : triggers_(triggers), rate_(rate) {}

  // Fires if due, then gives the phase clamp(rate · (a − trigger time), 0, π).
  float update(float a);

  std::size_t nextIndex() const { return next_; }
  float triggerTime() const { return trigger_; }

 private:
  std::span<const float> triggers_;
  float rate_;
  std::size_t next_ = 0;
  float trigger_ = 0.0f;
};

// The scene's two generators, A (pulse of the ring, rate 4.712389) and B (the waves' amplitude,
// rate 2.984513). They live for the whole run and are never reset, not even by a seek.
PulseGenerator& thirdScenePulseA();
PulseGenerator& thirdScenePulseB();

// The organ camera path (0 to 3) for scene time `a`: the count of cut-table entries below `a`,
// wrapped by 3.6.
int thirdScenePath(float a);
// The path time 1.4 · a, less whole multiples of 40 once it passes 40.
float thirdScenePathTime(float a);

// The distortion of a frame: between 2.9 and 21 s (both excluded) waves (pass 1) with "anim" = a,
// "amplitude" = 0.05 · sin(v) and "freq" = 5000 · S0; otherwise the ring (pass 0) with "anim" = u.
Distortion thirdSceneDistortion(float a, float u, float v, float s0);

}  // namespace scenes
