// The dialog's picture: an evening sky from deep blue to amber, a low sun, dark hills, and a red
// kite with its forked tail, all from a few formulas so the picture costs no file.
#include <algorithm>
#include <cmath>

#include "resources/SetupDialogResource.h"

namespace resources {
namespace {

struct Colour {
  float r, g, b;
};

Colour mix(Colour a, Colour b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

float smooth(float edge0, float edge1, float x) {
  float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Signed side of point p against the edge a→b; a point is inside a triangle when all three agree.
float side(float px, float py, float ax, float ay, float bx, float by) {
  return (px - bx) * (ay - by) - (ax - bx) * (py - by);
}

bool inTriangle(float px, float py, const float (&t)[6]) {
  float d1 = side(px, py, t[0], t[1], t[2], t[3]), d2 = side(px, py, t[2], t[3], t[4], t[5]),
        d3 = side(px, py, t[4], t[5], t[0], t[1]);
  bool negative = d1 < 0 || d2 < 0 || d3 < 0, positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

Colour sky(float x, float y) {
  constexpr Colour kNight{0.06f, 0.09f, 0.25f}, kDusk{0.55f, 0.30f, 0.45f}, kGlow{1.0f, 0.68f, 0.32f};
  float h = y / float(kDialogBitmapHeight);
  Colour c = h < 0.55f ? mix(kNight, kDusk, h / 0.55f) : mix(kDusk, kGlow, (h - 0.55f) / 0.45f);
  float sun = std::hypot(x - 88.0f, y - 150.0f);
  return mix(c, Colour{1.0f, 0.93f, 0.75f}, 1.0f - smooth(9.0f, 14.0f, sun));
}

float hills(float x) { return 160.0f + 9.0f * std::sin(x * 0.05f) + 5.0f * std::sin(x * 0.13f + 1.3f); }

// The kite: two wings, a body and a forked tail, seen from below.
bool kite(float x, float y) {
  constexpr float kLeftWing[6] = {62, 62, 18, 50, 58, 72};
  constexpr float kRightWing[6] = {62, 62, 106, 48, 66, 72};
  constexpr float kBody[6] = {58, 52, 66, 52, 62, 90};
  constexpr float kTailLeft[6] = {60, 86, 52, 104, 62, 94};
  constexpr float kTailRight[6] = {64, 86, 72, 104, 62, 94};
  for (const auto* t : {&kLeftWing, &kRightWing, &kBody, &kTailLeft, &kTailRight})
    if (inTriangle(x, y, *t)) return true;
  return false;
}

}  // namespace

win32::DialogBitmap setupDialogBitmap() {
  win32::DialogBitmap bitmap;
  bitmap.width = kDialogBitmapWidth;
  bitmap.height = kDialogBitmapHeight;
  bitmap.rgb.resize(std::size_t(bitmap.width) * bitmap.height * 3);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
      Colour c = sky(fx, fy);
      if (fy > hills(fx)) c = mix(Colour{0.10f, 0.07f, 0.10f}, Colour{0.03f, 0.02f, 0.04f}, (fy - 160) / 40);
      if (kite(fx, fy)) c = mix(Colour{0.62f, 0.10f, 0.06f}, Colour{0.85f, 0.25f, 0.10f}, (fy - 48) / 56);
      std::uint8_t* px = &bitmap.rgb[(std::size_t(y) * bitmap.width + x) * 3];
      px[0] = std::uint8_t(std::clamp(c.r, 0.0f, 1.0f) * 255 + 0.5f);
      px[1] = std::uint8_t(std::clamp(c.g, 0.0f, 1.0f) * 255 + 0.5f);
      px[2] = std::uint8_t(std::clamp(c.b, 0.0f, 1.0f) * 255 + 0.5f);
    }
  }
  return bitmap;
}

}  // namespace resources
