// Glyph rendering with stb_truetype's subpixel bitmaps and kerning.
#include "tools/contentgen/Font.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace contentgen {

bool Font::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (bytes_.empty() || !stbtt_InitFont(&info_, bytes_.data(), stbtt_GetFontOffsetForIndex(bytes_.data(), 0))) {
    bytes_.clear();
    return false;
  }
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetCodepointBox(&info_, 'H', &x0, &y0, &x1, &y1);
  capUnits_ = float(y1);
  return capUnits_ > 0.0f;
}

float Font::scaleFor(float cap) const { return cap / capUnits_; }

float Font::measure(std::string_view text, float cap, float tracking) const {
  float scale = scaleFor(cap);
  float x = 0.0f;
  for (std::size_t i = 0; i < text.size(); ++i) {
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&info_, text[i], &advance, &bearing);
    x += float(advance) * scale + tracking;
    if (i + 1 < text.size()) x += float(stbtt_GetCodepointKernAdvance(&info_, text[i], text[i + 1])) * scale;
  }
  return text.empty() ? 0.0f : x - tracking;
}

void Font::draw(Mask& mask, std::string_view text, float x, float baseline, float cap, float tracking) const {
  float scale = scaleFor(cap);
  int baseRow = int(std::lround(baseline));
  std::vector<unsigned char> glyph;
  for (std::size_t i = 0; i < text.size(); ++i) {
    int codepoint = static_cast<unsigned char>(text[i]);
    float left = std::floor(x);
    float shift = x - left;
    int gx0 = 0, gy0 = 0, gx1 = 0, gy1 = 0;
    stbtt_GetCodepointBitmapBoxSubpixel(&info_, codepoint, scale, scale, shift, 0.0f, &gx0, &gy0, &gx1, &gy1);
    int w = gx1 - gx0, h = gy1 - gy0;
    if (w > 0 && h > 0) {
      glyph.assign(std::size_t(w) * h, 0);
      stbtt_MakeCodepointBitmapSubpixel(&info_, glyph.data(), w, h, w, scale, scale, shift, 0.0f, codepoint);
      for (int gy = 0; gy < h; ++gy) {
        for (int gx = 0; gx < w; ++gx) {
          float v = float(glyph[std::size_t(gy) * w + gx]) / 255.0f;
          if (v > 0.0f) mask.cover(int(left) + gx0 + gx, baseRow + gy0 + gy, v);
        }
      }
    }
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&info_, codepoint, &advance, &bearing);
    x += float(advance) * scale + tracking;
    if (i + 1 < text.size()) x += float(stbtt_GetCodepointKernAdvance(&info_, codepoint, text[i + 1])) * scale;
  }
}

void Font::drawCentred(Mask& mask, std::string_view text, float centreX, float baseline, float cap,
                       float tracking) const {
  draw(mask, text, centreX - measure(text, cap, tracking) * 0.5f, baseline, cap, tracking);
}

void paintText(Image& image, const Font& font, std::string_view text, float x, float baseline, float cap,
               const Rgba& colour, bool centred) {
  Mask mask(image.width(), image.height());
  if (centred) {
    font.drawCentred(mask, text, x, baseline, cap);
  } else {
    font.draw(mask, text, x, baseline, cap);
  }
  image.paint(mask, colour);
}

}  // namespace contentgen
