// The organ pictures: the third scene's translucent anatomy plates and line-art face, its dusk
// sky, cracked earth and cover mask, and the ink-on-white drawings the flash and fifth scenes
// draw with MIN blending (white vanishes, ink darkens).
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/contentgen/Drawings.h"
#include "tools/contentgen/Noise.h"
#include "tools/contentgen/Paint.h"
#include "tools/contentgen/TextureTools.h"
#include "tools/contentgen/Textures.h"

namespace contentgen {
namespace {

constexpr Rgba kGroundBase = rgb(0.6039216f, 0.254902f, 0.07058824f);  // the third scene's baseColor

// Amber-to-rust dusk. The band from v = 0.75 down is exactly the ground's base colour, so the
// floor's far edge melts into the sky; above it an amber glow fades to rust at the zenith. Every
// channel ≤ 0.6 (shown at up to 3·band + 0.8).
Image duskSky() {
  Image image(1024, 512);
  shade(image, [](float u, float v) {
    if (v >= 0.75f) return kGroundBase;
    Rgba zenith = rgb(0.36f, 0.15f, 0.07f), amber = rgb(0.6f, 0.36f, 0.12f);
    Rgba c = mix(zenith, amber, smoothstep(0.1f, 0.66f, v));
    float cloud = smoothstep(0.0f, 0.5f, fbm(u * 10.0f, v * 30.0f, 4, 10, 0, 3301)) * (1.0f - smoothstep(0.55f, 0.72f, v));
    c = mix(c, rgb(0.3f, 0.11f, 0.06f), 0.45f * cloud);
    return mix(c, kGroundBase, smoothstep(0.68f, 0.75f, v));
  });
  limitBrightness(image, 0.6f);
  return image;
}

// Cracked earth: cell interiors in reddish browns near the ground colour, dark cracks along the
// cell borders, tiling.
Image crackedEarth() {
  Image image(512, 512);
  Mask grain = heightMap(512, 512, 24, 3, 3401);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      float u = float(x) / 512.0f, v = float(y) / 512.0f;
      CellDistances cell = cellNoise(u * 8.0f, v * 8.0f, 8, 3402);
      float crack = 1.0f - smoothstep(0.02f, 0.07f, cell.second - cell.nearest);
      float tone = 0.9f + 0.12f * grain.at(x, y) + 0.1f * (cell.nearest - 0.4f);
      Rgba c = scaled(rgb(0.66f, 0.34f, 0.15f), tone);
      image.at(x, y) = mix(c, rgb(0.18f, 0.08f, 0.04f), crack);
    }
  }
  return image;
}

// The ground cover mask: white up to r = 0.3, black from r = 0.5.
Image coverMask() {
  Image image(512, 512);
  shade(image, [](float u, float v) {
    float g = 1.0f - smoothstep(0.3f, 0.5f, std::hypot(u - 0.5f, v - 0.5f));
    return rgb(g, g, g);
  });
  return image;
}

// The face: pale strokes with soft edges over a faint skin tone, alpha 0 elsewhere.
Image face() {
  Ink ink(512, 640);
  drawFace(ink, Frame{{256.0f, 310.0f}, 250.0f}, 6.0f);
  ink.fill.blur(4, false);
  ink.outline.blur(1, false);
  ink.detail.blur(1, false);
  Image image(512, 640, rgb(0.96f, 0.9f, 0.8f, 0.0f));
  image.paint(ink.fill, rgb(0.96f, 0.86f, 0.74f, 0.12f));
  image.paint(ink.outline, rgb(0.98f, 0.93f, 0.84f, 0.9f));
  image.paint(ink.detail, rgb(0.98f, 0.93f, 0.84f, 0.9f));
  return image;
}

// The frame that fits a subject's bodies into the picture with `margin` (a fraction) on every side:
// the subject is drawn once small to measure it.
Frame fittedFrame(Organ organ, int width, int height, float margin) {
  const float probe = float(std::min(width, height)) / 5.0f;
  const Pt centre{width * 0.5f, height * 0.5f};
  Ink ink(width, height);
  drawOrgan(ink, organ, Frame{centre, probe}, 1.0f, 1.0f);
  float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (ink.fill.at(x, y) < 0.5f) continue;
      left = std::min(left, float(x));
      right = std::max(right, float(x + 1));
      top = std::min(top, float(y));
      bottom = std::max(bottom, float(y + 1));
    }
  }
  float scale = probe * std::min(width * (1.0f - 2.0f * margin) / (right - left), height * (1.0f - 2.0f * margin) / (bottom - top));
  Pt middle{((left + right) * 0.5f - centre.x) / probe, ((top + bottom) * 0.5f - centre.y) / probe};
  return Frame{{centre.x - middle.x * scale, centre.y - middle.y * scale}, scale};
}

// A translucent plate: alpha 0 around the drawing, a warm fill at 0.6, dark strokes at 0.9.
Image plate(Organ organ) {
  Ink ink(512, 512);
  drawOrgan(ink, organ, fittedFrame(organ, 512, 512, 0.06f), 1.0f, 7.0f);
  Image image(512, 512, rgb(0.8f, 0.42f, 0.35f, 0.0f));
  image.paint(ink.fill, rgb(0.8f, 0.42f, 0.35f, 0.6f));
  image.paint(ink.detail, rgb(0.45f, 0.08f, 0.08f, 0.85f));
  image.paint(ink.outline, rgb(0.28f, 0.06f, 0.05f, 0.9f));
  return image;
}

// Ink on white: the bodies in dark red-black ink (≤ 0.25), inner strokes knocked out in white,
// the outer 8 % faded to white. Opaque.
Image inkDrawing(int width, int height, Organ organ, float size) {
  Ink ink(width, height);
  drawOrgan(ink, organ, fittedFrame(organ, width, height, 0.1f), size, 8.0f);
  Image image(width, height, rgb(1, 1, 1));
  image.paint(ink.fill, rgb(0.2f, 0.03f, 0.04f));
  image.paint(ink.detail, rgb(1, 1, 1));
  fadeEdgesToWhite(image, 0.08f);
  return image;
}

}  // namespace

void writeOrganTextures(Output& out) {
  out.png("quarvdemo\\render3\\sky03.png", duskSky(), 3);
  out.jpg("quarvdemo\\render3\\bakke2.jpg", crackedEarth(), 92);
  out.png("quarvdemo\\render3\\coverup.png", coverMask(), 3);
  out.png("quarvdemo\\render3\\face.png", face(), 4);
  const Organ plates[] = {Organ::Heart, Organ::Lungs, Organ::Kidney, Organ::Brain, Organ::Stomach, Organ::Eye};
  for (int n = 1; n <= 6; ++n) out.png("quarvdemo\\render3\\organ" + std::to_string(n) + ".png", plate(plates[n - 1]), 4);
  // The flash scene cycles organ1 / organ5c / organ4c: three phases of one beating heart.
  out.jpg("quarvdemo\\renderFSeries\\organ1.jpg", inkDrawing(512, 256, Organ::Heart, 0.8f), 95);
  out.png("quarvdemo\\renderFSeries\\organ5c.png", inkDrawing(512, 256, Organ::Heart, 0.9f), 3);
  out.png("quarvdemo\\renderFSeries\\organ4c.png", inkDrawing(512, 256, Organ::Heart, 1.0f), 3);
  out.jpg("quarvdemo\\renderFSeries\\organ3.jpg", inkDrawing(512, 256, Organ::Lungs, 1.0f), 95);
  out.jpg("quarvdemo\\renderFSeries\\organ4.jpg", inkDrawing(256, 512, Organ::Stomach, 1.0f), 95);
  out.jpg("quarvdemo\\renderFSeries\\organ5.jpg", inkDrawing(256, 512, Organ::Kidney, 1.0f), 95);
}

}  // namespace contentgen
