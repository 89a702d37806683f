// Test helpers for the eighth, ninth, credits and closing scene tests: matrix comparison, the
// near and far planes recovered from a view and a view-projection, and the clear flags of a frame.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/d3dx9/D3DXMath.h"
#include "tests/scenes/SceneTrace.h"

namespace closingtest {

inline D3DXMATRIX inverse(const D3DXMATRIX& m) {
  D3DXMATRIX out;
  D3DXMatrixInverse(&out, nullptr, &m);
  return out;
}

// Every element within `tolerance`, relative to the larger of 1 and the element's size.
inline ::testing::AssertionResult matricesNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tolerance) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      const float scale = std::fmax(1.0f, std::fabs(expected.m[r][c]));
      if (!(std::fabs(actual.m[r][c] - expected.m[r][c]) <= tolerance * scale))
        return ::testing::AssertionFailure()
               << "element " << r << c << ": " << actual.m[r][c] << " vs " << expected.m[r][c];
    }
  return ::testing::AssertionSuccess();
}

inline float distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = a - b;
  return D3DXVec3Length(&d);
}

inline bool allFinite(const D3DXMATRIX& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (!std::isfinite(m.m[r][c])) return false;
  return true;
}

struct Planes {
  float nearPlane;
  float farPlane;
};

// The perspective projection is view^-1 x view-projection; a left-handed projection holds
// _33 = f / (f - n) and _43 = -n f / (f - n).
inline Planes planesOf(const D3DXMATRIX& view, const D3DXMATRIX& viewProjection) {
  const D3DXMATRIX projection = inverse(view) * viewProjection;
  const double q = projection._33, qn = projection._43;
  const double n = -qn / q;
  return {static_cast<float>(n), static_cast<float>(q * n / (q - 1.0))};
}

// The flags of each clear of a frame's trace lines, in order ("TARGET,ZBUFFER" ...).
inline std::vector<std::string> clearFlags(const std::vector<std::string>& lines) {
  std::vector<std::string> flags;
  for (const std::string& line : lines) {
    if (scenetest::field(line, "ev") != "clear") continue;
    std::string raw = scenetest::field(line, "flags");
    std::string plain;
    for (char c : raw)
      if (c != '[' && c != ']' && c != '"') plain += c;
    flags.push_back(plain);
  }
  return flags;
}

// The draws of one vertex buffer into one target.
inline std::vector<scenetest::Draw> drawsInto(const scenetest::SceneFrame& frame, const std::string& vb,
                                              const std::string& target) {
  std::vector<scenetest::Draw> found;
  for (const scenetest::Draw& d : frame.draws)
    if (d.vb == vb && d.target == target) found.push_back(d);
  return found;
}

inline float after(float t) { return std::nextafter(t, 1e9f); }

}  // namespace closingtest
