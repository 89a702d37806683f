// The scene schedule: from the music time (and, in the first slot, the spectrum) it decides which
// renderer draws the frame, on which stage, with which scene time and extra arguments. A pure
// function of its inputs, recomputed every frame; the app calls the renderer it names.
#pragma once

#include <optional>

namespace timeline {

class SpectrumTrack;

enum class Renderer {
  openingScene,
  openingFlash,
  secondScene,
  thirdScene,
  thirdFlash,
  fourthScene,
  fifthSceneA,
  fifthSceneB,
  sixthScene,
  seventhScene,
  eighthScene,
  ninthScene,
  creditsScene,
  closingScene,
};
inline constexpr int kRendererCount = 14;

enum class StageKind { Organ, Main };

// One renderer call. `beat` and `flash` are the third-scene flash's extra arguments, `variant`
// the fifth scene's; the others take none.
struct SceneCall {
  Renderer renderer;
  StageKind stage;
  float sceneTime;
  float musicTime;
  int beat = 0;
  float flash = 0.0f;
  int variant = 0;
};

// Slot starts: slot k covers music times in (kDemoTimeline[k-1], kDemoTimeline[k]].
inline constexpr float kDemoTimeline[12] = {0, 21.4f, 47.7f, 69.4f, 91, 119.8f, 154.64f, 176, 220, 253.45f,
                                            266.35f, 500};

// 0 for music times of 0 or less; 12 past the last entry; otherwise the slot of the time.
int slotOf(double musicTime);

// The count wrapped by 3.6 (factor 0.2777778) and by 1.6 (factor 0.625), in double precision.
int wrapBy3_6(int n);
int wrapBy1_6(int n);

// The call for a music time, or nothing for the default frame (0 or less, or past the last slot).
std::optional<SceneCall> scheduleFor(double musicTime, const SpectrumTrack& spectrum);

const char* rendererName(Renderer renderer);
const char* stageName(StageKind stage);

}  // namespace timeline
