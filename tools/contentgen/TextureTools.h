// Building blocks of the procedural textures: per-pixel shading from (u, v), tileable height
// maps and the tangent-space normal maps made from them, sky gradients by elevation on the dome's
// (u, v) layout, and an edge fade to white for ink drawings.
#pragma once

#include <cstdint>
#include <functional>

#include "tools/contentgen/Image.h"

namespace contentgen {

constexpr Rgba rgb(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }

// Sets every pixel from f(u, v), u and v at the pixel centre in [0, 1), v = 0 on the top row.
void shade(Image& image, const std::function<Rgba(float u, float v)>& f);

// Tileable fractal noise in about [-1, 1]: `cells` lattice cells across the map.
Mask heightMap(int width, int height, int cells, int octaves, std::uint32_t seed);

// Tangent-space normals from a height map (wrapping at the edges): x along u, y up the image
// (against v), flat = (128, 128, 255). `strength` scales the slopes.
Image normalMap(const Mask& height, float strength);

// The sky dome's layout: v = (90° − elevation) / 110°, so the horizon sits at v = 0.818.
float elevationOf(float v);
constexpr float kHorizonV = 90.0f / 110.0f;

// Blends the outer `fraction` of the picture toward white (ink drawings fade out at the edges).
void fadeEdgesToWhite(Image& image, float fraction);

// Clamps every channel to at most `limit` (brightness headroom for skies drawn at gains of 2–3).
void limitBrightness(Image& image, float limit);

}  // namespace contentgen
