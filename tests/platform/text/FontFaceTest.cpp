// The glyph painter against what its layout promises: the cap height it is asked for, the kerning
// and tracking it applies, and whole-pixel placement when subpixel placement is off.
#include "platform/text/FontFace.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

constexpr const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

using Coverage = std::map<std::pair<int, int>, int>;

Coverage paint(const text::FontFace& face, std::string_view text, float x, const text::Layout& layout) {
  Coverage covered;
  face.paint(text, x, 100, layout, [&](int px, int py, unsigned char c) { covered[{px, py}] = c; });
  return covered;
}

class FontFaceTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(face.load(kSans)) << kSans; }
  text::FontFace face;
};

// Fault caught: a scale from the wrong metric (letters too tall or too short on the cards).
TEST_F(FontFaceTest, CapitalHIsTheCapHeightTall) {
  for (float cap : {12.0f, 40.0f}) {
    Coverage covered = paint(face, "H", 10.0f, {.scale = face.scaleForCapHeight(cap)});
    ASSERT_FALSE(covered.empty());
    int top = covered.begin()->first.second, bottom = top;
    for (const auto& [at, c] : covered) {
      top = std::min(top, at.second);
      bottom = std::max(bottom, at.second);
    }
    EXPECT_NEAR(bottom - top + 1, cap, 1.0f) << cap;
    EXPECT_EQ(bottom, 99) << "the H stands on the baseline";
  }
}

// Faults caught: kerning applied when switched off (or never), tracking added after the last
// letter too.
TEST_F(FontFaceTest, KerningAndTrackingMoveThePenAsAsked) {
  const float scale = face.scaleForCapHeight(30.0f);
  const float plain = face.measure("AV", {.scale = scale, .kerning = false});
  EXPECT_LT(face.measure("AV", {.scale = scale, .kerning = true}), plain - 1.0f) << "DejaVu pulls A and V together";
  EXPECT_FLOAT_EQ(face.measure("AV", {.scale = scale, .tracking = 3.0f, .kerning = false}), plain + 3.0f);
  EXPECT_EQ(face.measure("", {.scale = scale, .tracking = 3.0f}), 0.0f);
}

// Fault caught: the subpixel switch ignored (the contact sheet's labels would shift and blur).
TEST_F(FontFaceTest, SubpixelPlacementOnlyWhenAsked) {
  const float scale = face.scaleForPixelHeight(15.0f);
  EXPECT_EQ(paint(face, "l", 10.0f, {.scale = scale, .subpixel = false}),
            paint(face, "l", 10.5f, {.scale = scale, .subpixel = false}));
  EXPECT_NE(paint(face, "l", 10.0f, {.scale = scale, .subpixel = true}),
            paint(face, "l", 10.5f, {.scale = scale, .subpixel = true}));
}

}  // namespace
