// Float images, blurs and the 8-bit writers (stb_image_write from libstb).
#include "tools/contentgen/Image.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>

namespace contentgen {

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float smoothstep(float edge0, float edge1, float x) {
  float t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

Rgba mix(const Rgba& a, const Rgba& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba scaled(const Rgba& c, float s) { return {c.r * s, c.g * s, c.b * s, c.a}; }

Mask::Mask(int width, int height, float fill)
    : width_(width), height_(height), values_(std::size_t(width) * height, fill) {}

float Mask::wrapped(int x, int y) const {
  x %= width_;
  y %= height_;
  return at(x < 0 ? x + width_ : x, y < 0 ? y + height_ : y);
}

float Mask::sample(float x, float y) const {
  float fx = std::clamp(x - 0.5f, 0.0f, float(width_ - 1));
  float fy = std::clamp(y - 0.5f, 0.0f, float(height_ - 1));
  int x0 = int(fx), y0 = int(fy);
  int x1 = std::min(x0 + 1, width_ - 1), y1 = std::min(y0 + 1, height_ - 1);
  float tx = fx - float(x0), ty = fy - float(y0);
  float top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * tx;
  float bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * tx;
  return top + (bottom - top) * ty;
}

void Mask::cover(int x, int y, float v) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  float& stored = at(x, y);
  stored = std::max(stored, v);
}

namespace {

// One box pass of width 2r + 1 along a line of n values read with `stride`.
void boxLine(float* line, int n, int stride, int r, bool tile, std::vector<float>& scratch) {
  scratch.resize(std::size_t(n));
  for (int i = 0; i < n; ++i) scratch[std::size_t(i)] = line[std::size_t(i) * stride];
  auto read = [&](int i) {
    if (tile) return scratch[std::size_t(((i % n) + n) % n)];
    return scratch[std::size_t(std::clamp(i, 0, n - 1))];
  };
  double sum = 0.0;
  for (int i = -r; i <= r; ++i) sum += read(i);
  const double norm = 1.0 / double(2 * r + 1);
  for (int i = 0; i < n; ++i) {
    line[std::size_t(i) * stride] = float(sum * norm);
    sum += read(i + r + 1) - read(i - r);
  }
}

}  // namespace

void Mask::blur(int radius, bool tile) {
  if (radius <= 0) return;
  std::vector<float> scratch;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < height_; ++y) boxLine(&at(0, y), width_, 1, radius, tile, scratch);
    for (int x = 0; x < width_; ++x) boxLine(&at(x, 0), height_, width_, radius, tile, scratch);
  }
}

Image::Image(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(std::size_t(width) * height, fill) {}

void Image::paint(const Mask& coverage, const Rgba& colour) { paint(coverage, colour, 0, 0); }

void Image::paint(const Mask& coverage, const Rgba& colour, int dx, int dy) {
  for (int y = 0; y < height_; ++y) {
    int my = y - dy;
    if (my < 0 || my >= coverage.height()) continue;
    for (int x = 0; x < width_; ++x) {
      int mx = x - dx;
      if (mx < 0 || mx >= coverage.width()) continue;
      float a = clamp01(coverage.at(mx, my)) * colour.a;
      if (a <= 0.0f) continue;
      Rgba& d = at(x, y);
      float outA = a + d.a * (1.0f - a);
      auto over = [&](float s, float t) { return outA > 0.0f ? (s * a + t * d.a * (1.0f - a)) / outA : 0.0f; };
      d = {over(colour.r, d.r), over(colour.g, d.g), over(colour.b, d.b), outA};
    }
  }
}

std::vector<unsigned char> Image::bytes(int channels) const {
  std::vector<unsigned char> out;
  out.reserve(pixels_.size() * std::size_t(channels));
  auto byte = [](float v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0f)); };
  for (const Rgba& p : pixels_) {
    out.push_back(byte(p.r));
    out.push_back(byte(p.g));
    out.push_back(byte(p.b));
    if (channels == 4) out.push_back(byte(p.a));
  }
  return out;
}

bool writePng(const std::string& path, const Image& image, int channels) {
  std::vector<unsigned char> data = image.bytes(channels);
  return stbi_write_png(path.c_str(), image.width(), image.height(), channels, data.data(),
                        image.width() * channels) != 0;
}

bool writeJpg(const std::string& path, const Image& image, int quality) {
  std::vector<unsigned char> data = image.bytes(3);
  return stbi_write_jpg(path.c_str(), image.width(), image.height(), 3, data.data(), quality) != 0;
}

}  // namespace contentgen
