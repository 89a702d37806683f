// `SmoothNoise`: one-dimensional value noise over the `LatticeNoise` lattice with a cubic blend,
// the path the noise ribbons follow. Pure; any thread.
#pragma once

#include <cstdint>

#include "platform/d3dx9/D3DXMath.h"

namespace geometry {

// Lattice cell of t: u = t / period, I = u truncated toward zero, f = u - I, m = I + seed
// (wrapping). Returns (A * blend(m + 20), A * blend(m), t), where blend(k) passes through
// LatticeNoise(k) at f = 0 and LatticeNoise(k + 1) at f = 1. Float arithmetic throughout, the
// lattice values converted to float; a u outside the 32-bit range (or NaN) takes I = INT32_MIN,
// as the x86 conversion does.
D3DXVECTOR3 SmoothNoise(float period, float t, float amplitude, std::int32_t seed);

// SmoothNoise along one path (period, amplitude and seed fixed) that keeps the lattice values of
// the cell it read last, so neighbouring samples in one cell hash nothing again. Gives exactly
// SmoothNoise's results, in any order of t.
class SmoothNoisePath {
public:
  SmoothNoisePath(float period, float amplitude, std::int32_t seed);
  D3DXVECTOR3 at(float t);

private:
  // N(k - 1) to N(k + 2) as float, for the blends at m + 20 (x) and m (y).
  struct Window {
    float w0, w1, w2, w3;
  };
  void load(std::uint32_t m);

  float period_;
  float amplitude_;
  std::uint32_t seed_;
  bool loaded_ = false;
  std::uint32_t cell_ = 0;
  Window x_{};
  Window y_{};
};

// The cubic through w1 (f = 0) and w2 (f = 1) with neighbours w0 and w3:
// P f^3 + Q f^2 + R f + w1, P = (w3 - w2) - (w0 - w1), Q = (w0 - w1) - P, R = w2 - w0.
float cubicBlend(float w0, float w1, float w2, float w3, float f);

}  // namespace geometry
