// Float images for the content generator: an RGBA picture (Image) and a one-channel coverage or
// height map (Mask), both row 0 at the top, plus PNG and JPEG writers. Plain values.
#pragma once

#include <string>
#include <vector>

namespace contentgen {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 1;
};

Rgba mix(const Rgba& a, const Rgba& b, float t);
Rgba scaled(const Rgba& c, float s);  // rgb × s, alpha kept

class Mask {
public:
  Mask(int width, int height, float fill = 0.0f);
  int width() const { return width_; }
  int height() const { return height_; }
  float& at(int x, int y) { return values_[std::size_t(y) * width_ + x]; }
  float at(int x, int y) const { return values_[std::size_t(y) * width_ + x]; }
  // Wrapping read, for tileable maps.
  float wrapped(int x, int y) const;
  // Bilinear read at a pixel position (pixel centres at integer + 0.5), clamped to the edges.
  float sample(float x, float y) const;
  // Coverage union: keeps the larger of the stored value and `v`.
  void cover(int x, int y, float v);
  // Separable box blur, three passes (close to a Gaussian of sigma ≈ radius), wrapping when
  // `tile`, clamped otherwise.
  void blur(int radius, bool tile);

private:
  int width_, height_;
  std::vector<float> values_;
};

class Image {
public:
  Image(int width, int height, Rgba fill = {});
  int width() const { return width_; }
  int height() const { return height_; }
  Rgba& at(int x, int y) { return pixels_[std::size_t(y) * width_ + x]; }
  const Rgba& at(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
  // Paints `colour` where the mask covers, source over: alpha = coverage × colour.a.
  void paint(const Mask& coverage, const Rgba& colour);
  // Paints with the mask offset by (dx, dy) pixels.
  void paint(const Mask& coverage, const Rgba& colour, int dx, int dy);
  // 8-bit bytes, rounded and clamped, `channels` 3 (RGB) or 4 (RGBA).
  std::vector<unsigned char> bytes(int channels) const;

private:
  int width_, height_;
  std::vector<Rgba> pixels_;
};

bool writePng(const std::string& path, const Image& image, int channels);
bool writeJpg(const std::string& path, const Image& image, int quality);

float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

}  // namespace contentgen
