// The opening scene's rules that follow from the scene time alone: which title card shows and how
// opaque it is, and how far the fade from black has gone. Pure functions; any thread.
#pragma once

#include <array>

namespace scenes {

// Scene times at which the title card changes.
inline constexpr std::array<float, 3> kOpeningCardTimes = {5.49f, 9.57f, 10.2f};
// The card shown before the first change, after each change, and after the last.
inline constexpr std::array<const char*, 4> kOpeningCards = {"blink1", "blink2", "blink3", "blink1"};

struct TitleCard {
  const char* texture;
  float opacity;
};

// The number of card times strictly below `a` (0 to 3).
int openingCardIndex(float a);

// The card of scene time `a`: it fades in over the first 4 s, each card fades out over the
// 1.25 s before the next change, and the card after 10.2 s fades out by 12.2 s.
TitleCard openingTitleCard(float a);

// How far the fade from black has gone: 0 at a = 0, 1 from a = 2 on.
float openingFadeIn(float a);

}  // namespace scenes
