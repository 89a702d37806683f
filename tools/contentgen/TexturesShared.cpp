// Textures many scenes share: the frame overlay drawn last in every scene, the light cone, the
// soft line shadow, the ribbon texture, plain white and black cards, the white-blue cut flash and
// the stone tile of the cubes and floors.
#include <algorithm>
#include <cmath>

#include "tools/contentgen/Noise.h"
#include "tools/contentgen/TextureTools.h"
#include "tools/contentgen/Textures.h"

namespace contentgen {
namespace {

// Opaque letterbox bars (rows 0–55 and the last 56) and a soft corner vignette (alpha ≤ 0.5);
// fully transparent elsewhere, so the scene shows through.
Image overlay() {
  Image image(1024, 768, rgb(0, 0, 0, 0));
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) {
      if (y < 56 || y >= 768 - 56) {
        image.at(x, y) = rgb(0, 0, 0, 1);
        continue;
      }
      float dx = std::abs(float(x) + 0.5f - 512.0f) / 512.0f, dy = std::abs(float(y) + 0.5f - 384.0f) / 384.0f;
      float r = std::sqrt(dx * dx + dy * dy) / std::sqrt(2.0f);
      image.at(x, y) = rgb(0, 0, 0, 0.5f * smoothstep(0.72f, 1.0f, r));
    }
  }
  return image;
}

// The light cone: 1 inside radius 0.30 (uv units from the centre), a smooth fall to 0 at 0.47,
// and pure black beyond, so the border (≥ 4 px) is black under wrap or clamp.
Image spotlight() {
  Image image(256, 256);
  shade(image, [](float u, float v) {
    float r = std::hypot(u - 0.5f, v - 0.5f);
    float g = 1.0f - smoothstep(0.30f, 0.47f, r);
    return rgb(g, g, g);
  });
  return image;
}

// The soft shadow of a ribbon: black, alpha 0.85·sin²(πu) across, faded at both ends.
Image softLine() {
  Image image(128, 64);
  shade(image, [](float u, float v) {
    float s = std::sin(3.14159265f * u);
    float ends = smoothstep(0.0f, 0.05f, v) * (1.0f - smoothstep(0.95f, 1.0f, v));
    return rgb(0, 0, 0, 0.85f * s * s * ends);
  });
  return image;
}

// The ribbon: a warm off-white body with a bright centre stripe, two thin dark edge lines and a
// faint cross-hatch every 1/16 along v. Opaque.
Image ribbon() {
  Image image(256, 256);
  shade(image, [](float u, float v) {
    float body = 0.75f + 0.2f * (1.0f - smoothstep(0.03f, 0.06f, std::abs(u - 0.5f)));
    float edge = 1.0f - 0.7f * (1.0f - smoothstep(0.006f, 0.016f, std::min(std::abs(u - 0.05f), std::abs(u - 0.95f))));
    float phase = std::fmod(v * 16.0f, 1.0f);
    float hatch = 1.0f - 0.08f * (1.0f - smoothstep(0.02f, 0.06f, std::min(phase, 1.0f - phase)));
    float g = body * edge * hatch;
    return rgb(g, g * 0.97f, g * 0.9f);
  });
  return image;
}

// The second scene's cut flash: a white-blue burst with rays, alpha 0.6 at the centre falling to
// 0.15 in the corners, so even the doubled flash at the end never whites out the frame.
Image flash() {
  Image image(512, 512);
  shade(image, [](float u, float v) {
    float dx = u - 0.5f, dy = v - 0.5f;
    float r = std::hypot(dx, dy) / 0.7071f;
    float angle = std::atan2(dy, dx) / 6.2831853f + 0.5f;
    float rays = 0.5f + 0.5f * fbm(angle * 24.0f, 0.5f, 3, 24, 1, 99);
    float ray = smoothstep(0.45f, 0.9f, rays) * (1.0f - r);
    Rgba c = mix(rgb(1, 1, 1), rgb(0.6f, 0.75f, 1.0f), smoothstep(0.0f, 0.6f, r));
    c = mix(c, rgb(1, 1, 1), ray * 0.6f);
    c.a = std::clamp(0.6f - 0.45f * r + 0.12f * ray * (1.0f - r), 0.15f, 0.6f);
    return c;
  });
  return image;
}

// A square stone tile, grey-ochre 0.45–0.6, with a darker bevelled 10-px border lit from the top
// left. It tiles: one tile per cube face, or a floor every 20 units.
Image stoneTile() {
  Image image(256, 256);
  Mask grain = heightMap(256, 256, 8, 5, 4001);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      float g = 0.525f + 0.06f * grain.at(x, y);
      Rgba c = rgb(g * 1.06f, g, g * 0.82f);
      int left = x, top = y, right = 255 - x, bottom = 255 - y;
      int d = std::min(std::min(left, right), std::min(top, bottom));
      if (d < 10) {
        bool lit = (left == d || top == d) && left + top < 256;
        float bevel = (lit ? 0.92f : 0.62f) - 0.02f * float(10 - d);
        c = scaled(c, bevel);
      }
      image.at(x, y) = c;
    }
  }
  return image;
}

Image plain(float grey) { return Image(16, 16, rgb(grey, grey, grey)); }

}  // namespace

void writeSharedTextures(Output& out) {
  out.png("quarvdemo\\overlay02.png", overlay(), 4);
  out.png("quarvdemo\\spotlight01.png", spotlight(), 3);
  out.png("quarvdemo\\soft.png", softLine(), 4);
  out.png("quarvdemo\\linetexture.png", ribbon(), 4);
  out.png("quarvdemo\\black.png", plain(0.0f), 4);
  out.png("quarvdemo\\white.png", plain(1.0f), 4);
  out.png("quarvdemo\\render6\\black.png", plain(0.0f), 4);
  out.png("quarvdemo\\fflash.png", flash(), 4);
  out.png("quarvdemo\\render4\\cubediffuse.png", stoneTile(), 3);
}

}  // namespace contentgen
