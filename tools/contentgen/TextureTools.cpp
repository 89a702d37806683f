// Texture building blocks.
#include "tools/contentgen/TextureTools.h"

#include <algorithm>
#include <cmath>

#include "tools/contentgen/Noise.h"

namespace contentgen {

void shade(Image& image, const std::function<Rgba(float, float)>& f) {
  for (int y = 0; y < image.height(); ++y) {
    float v = (float(y) + 0.5f) / float(image.height());
    for (int x = 0; x < image.width(); ++x) image.at(x, y) = f((float(x) + 0.5f) / float(image.width()), v);
  }
}

Mask heightMap(int width, int height, int cells, int octaves, std::uint32_t seed) {
  Mask map(width, height);
  int cellsY = std::max(1, cells * height / width);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float u = float(x) / float(width), v = float(y) / float(height);
      map.at(x, y) = fbm(u * float(cells), v * float(cellsY), octaves, cells, cellsY, seed);
    }
  }
  return map;
}

Image normalMap(const Mask& height, float strength) {
  Image out(height.width(), height.height());
  for (int y = 0; y < height.height(); ++y) {
    for (int x = 0; x < height.width(); ++x) {
      float dx = (height.wrapped(x + 1, y) - height.wrapped(x - 1, y)) * 0.5f * strength;
      float dy = (height.wrapped(x, y - 1) - height.wrapped(x, y + 1)) * 0.5f * strength;
      float len = std::sqrt(dx * dx + dy * dy + 1.0f);
      out.at(x, y) = {0.5f - 0.5f * dx / len, 0.5f - 0.5f * dy / len, 0.5f + 0.5f / len, 1.0f};
    }
  }
  return out;
}

float elevationOf(float v) { return 90.0f - 110.0f * v; }

void fadeEdgesToWhite(Image& image, float fraction) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      float ex = std::min(float(x) + 0.5f, float(image.width()) - float(x) - 0.5f) / (fraction * float(image.width()));
      float ey = std::min(float(y) + 0.5f, float(image.height()) - float(y) - 0.5f) / (fraction * float(image.height()));
      float keep = smoothstep(0.0f, 1.0f, std::min(ex, ey));
      Rgba& p = image.at(x, y);
      p = mix(rgb(1, 1, 1, p.a), p, keep);
    }
  }
}

void limitBrightness(Image& image, float limit) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      Rgba& p = image.at(x, y);
      p.r = std::min(p.r, limit);
      p.g = std::min(p.g, limit);
      p.b = std::min(p.b, limit);
    }
  }
}

}  // namespace contentgen
