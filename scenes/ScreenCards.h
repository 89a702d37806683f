// Full-screen cards laid over the finished picture (title cards, fades, flashes and the frame
// overlay), drawn one over the other through the global "demo1text", and the frame's close.
// Draws with render::device() and the global registries; main thread only.
#pragma once

#include <initializer_list>

#include "platform/d3d9/d3d9.h"

namespace scenes {

struct CardLayer {
  const char* texture;
  float opacity;
};

// The frame overlay, drawn last over every frame.
inline constexpr CardLayer kFrameOverlay{"overlay02", 1.0f};

// Cull clockwise, depth test off, source alpha over inverse source alpha; "demo1text" with
// "matProjection" = the screen projection and the first layer's "tex0" and "alpha1", Begin(pass 0),
// its quad; each further layer sets "tex0" and "alpha1", commits and draws its quad; End. The first
// layer's values are set before Begin so that the pass uploads them: set inside the pass without a
// commit, the first quad would be drawn with whatever texture and opacity the effect held before.
void drawScreenCards(IDirect3DDevice9* device, std::initializer_list<CardLayer> layers);

// The cards, then EndScene and Present of the whole back buffer.
void drawScreenCardsAndPresent(IDirect3DDevice9* device, std::initializer_list<CardLayer> layers);

// EndScene and Present of the whole back buffer.
void present(IDirect3DDevice9* device);

}  // namespace scenes
