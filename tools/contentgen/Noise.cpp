// Hash-based noise: lattice values from an integer hash, quintic interpolation.
#include "tools/contentgen/Noise.h"

#include <cmath>

namespace contentgen {
namespace {

int wrapIndex(int i, int period) {
  if (period <= 0) return i;
  int r = i % period;
  return r < 0 ? r + period : r;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

std::uint32_t hash32(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

float latticeUnit(int x, int y, std::uint32_t seed) {
  std::uint32_t h = hash32(std::uint32_t(x) * 0x9e3779b1U ^ hash32(std::uint32_t(y) + seed * 0x85ebca6bU));
  return float(h >> 8) * (1.0f / 16777216.0f);
}

std::uint32_t Rng::next() {
  std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return std::uint32_t((z ^ (z >> 31)) >> 32);
}

float Rng::unit() { return float(next() >> 8) * (1.0f / 16777216.0f); }

float Rng::range(float low, float high) { return low + (high - low) * unit(); }

float valueNoise(float x, float y, int period, std::uint32_t seed) { return valueNoise(x, y, period, period, seed); }

float valueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  float tx = fade(x - fx), ty = fade(y - fy);
  auto v = [&](int dx, int dy) {
    return latticeUnit(wrapIndex(ix + dx, periodX), wrapIndex(iy + dy, periodY), seed) * 2.0f - 1.0f;
  };
  float top = v(0, 0) + (v(1, 0) - v(0, 0)) * tx;
  float bottom = v(0, 1) + (v(1, 1) - v(0, 1)) * tx;
  return top + (bottom - top) * ty;
}

float fbm(float x, float y, int octaves, int period, std::uint32_t seed) { return fbm(x, y, octaves, period, period, seed); }

float fbm(float x, float y, int octaves, int periodX, int periodY, std::uint32_t seed) {
  float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * valueNoise(x, y, periodX, periodY, seed + std::uint32_t(o) * 1013U);
    total += amplitude;
    amplitude *= 0.5f;
    x *= 2.0f;
    y *= 2.0f;
    periodX *= 2;
    periodY *= 2;
  }
  return sum / total;
}

CellDistances cellNoise(float x, float y, int period, std::uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  CellDistances d{1e9f, 1e9f};
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      int cx = wrapIndex(ix + dx, period), cy = wrapIndex(iy + dy, period);
      float px = fx + float(dx) + 0.15f + 0.7f * latticeUnit(cx, cy, seed);
      float py = fy + float(dy) + 0.15f + 0.7f * latticeUnit(cx, cy, seed + 7919U);
      float dist = std::hypot(px - x, py - y);
      if (dist < d.nearest) {
        d.second = d.nearest;
        d.nearest = dist;
      } else if (dist < d.second) {
        d.second = dist;
      }
    }
  }
  return d;
}

}  // namespace contentgen
