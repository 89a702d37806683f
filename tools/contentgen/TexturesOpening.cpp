// The opening and the second scene: the night sky, the green ribbon, the cave's damp sand and its
// rock normals, and the six wing-beat slides whose shadows flap on the third scene's beats.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/contentgen/Drawings.h"
#include "tools/contentgen/Noise.h"
#include "tools/contentgen/TextureTools.h"
#include "tools/contentgen/Textures.h"

namespace contentgen {
namespace {

// Night blue at the zenith to dusky violet at the horizon, faint cloud streaks and a few stars,
// near-black below the horizon. Tiles in u; every channel ≤ 0.35, since the opening shows it at
// 3·band + 0.6 and adds its own glow on top.
Image nightSky() {
  Image image(1024, 512);
  shade(image, [](float u, float v) {
    float h = std::clamp(v / kHorizonV, 0.0f, 1.0f);
    Rgba c = mix(rgb(0.025f, 0.04f, 0.14f), rgb(0.2f, 0.11f, 0.24f), h * h);
    float streak = fbm(u * 12.0f, v * 40.0f, 4, 12, 0, 611);
    float cloud = smoothstep(0.1f, 0.6f, streak) * 0.35f * h;
    c = mix(c, rgb(0.3f, 0.22f, 0.32f), cloud);
    int sx = int(u * 1024.0f), sy = int(v * 512.0f);
    float star = latticeUnit(sx, sy, 17);
    if (star > 0.9985f && v < 0.6f) c = mix(c, rgb(0.33f, 0.33f, 0.35f), 1.0f - h);
    float below = smoothstep(kHorizonV, kHorizonV + 0.04f, v);
    return mix(c, rgb(0.015f, 0.012f, 0.025f), below);
  });
  limitBrightness(image, 0.35f);
  return image;
}

// The opening's ribbon: a green-white centre stripe, darker green body, near-black 8 % edges and
// faint dashes every 1/32 along v. Channels ≤ 0.55: the ribbon's light reaches 3–4 on loud frames.
Image greenRibbon() {
  Image image(256, 256);
  shade(image, [](float u, float v) {
    float edge = smoothstep(0.06f, 0.1f, std::min(u, 1.0f - u));
    float centre = 1.0f - smoothstep(0.08f, 0.12f, std::abs(u - 0.5f));
    Rgba c = mix(rgb(0.07f, 0.24f, 0.1f), rgb(0.45f, 0.55f, 0.42f), centre);
    float phase = std::fmod(v * 32.0f, 1.0f);
    float dash = (phase < 0.5f && std::abs(u - 0.5f) > 0.16f && std::abs(u - 0.5f) < 0.3f) ? 1.1f : 1.0f;
    c = scaled(c, dash);
    return mix(rgb(0.01f, 0.02f, 0.01f), c, edge);
  });
  limitBrightness(image, 0.55f);
  return image;
}

// Damp sand with darker rock patches, 0.3–0.55, tiling (the cave floor repeats it every 20 units).
Image dampSand() {
  Image image(512, 512);
  Mask grain = heightMap(512, 512, 32, 3, 5001);
  Mask patches = heightMap(512, 512, 4, 4, 5002);
  Mask wet = heightMap(512, 512, 6, 3, 5003);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      Rgba sand = rgb(0.5f, 0.44f, 0.35f);
      Rgba rock = rgb(0.34f, 0.33f, 0.32f);
      Rgba c = mix(sand, rock, smoothstep(0.05f, 0.3f, patches.at(x, y)));
      c = scaled(c, 1.0f + 0.1f * grain.at(x, y) - 0.12f * smoothstep(0.0f, 0.5f, wet.at(x, y)));
      c.r = std::clamp(c.r, 0.3f, 0.55f);
      c.g = std::clamp(c.g, 0.28f, 0.55f);
      c.b = std::clamp(c.b, 0.25f, 0.55f);
      image.at(x, y) = c;
    }
  }
  return image;
}

// Rock bumps: rounded cells and fine grain, tiling.
Image rockNormals() {
  Mask height(256, 256);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      float u = float(x) / 256.0f, v = float(y) / 256.0f;
      CellDistances cell = cellNoise(u * 6.0f, v * 6.0f, 6, 6001);
      float bump = 1.0f - smoothstep(0.0f, 0.7f, cell.nearest);
      height.at(x, y) = 6.0f * bump + 1.5f * fbm(u * 16.0f, v * 16.0f, 3, 16, 6002);
    }
  }
  return normalMap(height, 1.0f);
}

// A slide: white card, the bird in black in the central 80 %.
Image slide(int phase) {
  Image image(512, 384, rgb(1, 1, 1));
  Mask bird(512, 384);
  drawBird(bird, Frame{{256.0f, 196.0f}, 200.0f}, phase);
  image.paint(bird, rgb(0, 0, 0));
  return image;
}

}  // namespace

void writeOpeningTextures(Output& out) {
  out.png("quarvdemo\\render1\\sky04.png", nightSky(), 3);
  out.png("quarvdemo\\render1\\linetextureg.png", greenRibbon(), 4);
  out.png("quarvdemo\\render1\\diffuse.png", dampSand(), 3);
  out.png("quarvdemo\\render1\\normal.png", rockNormals(), 3);
  for (int n = 1; n <= 6; ++n) out.png("quarvdemo\\render2\\" + std::to_string(n) + ".png", slide(n - 1), 3);
}

}  // namespace contentgen
