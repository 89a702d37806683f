// Landscape textures: the cold sky of the cube field, the fifth scene's pale dunes, the valley's
// rock normals, the eighth scene's polished stone and bright sphere skin, the seventh scene's grass
// and its glowing particle, and three pictures the scenes keep in the registry without drawing.
#include <algorithm>
#include <cmath>

#include "tools/contentgen/Drawings.h"
#include "tools/contentgen/Noise.h"
#include "tools/contentgen/TextureTools.h"
#include "tools/contentgen/Textures.h"

namespace contentgen {
namespace {

// Cold steel blue at the zenith, a teal glow at the horizon, dark below; channels ≤ 0.5.
Image steelSky() {
  Image image(1024, 512);
  shade(image, [](float u, float v) {
    float h = std::clamp(v / kHorizonV, 0.0f, 1.0f);
    Rgba c = mix(rgb(0.1f, 0.16f, 0.27f), rgb(0.2f, 0.43f, 0.46f), h * h * h);
    float streak = smoothstep(0.15f, 0.6f, fbm(u * 8.0f, v * 36.0f, 4, 8, 0, 4401));
    c = mix(c, rgb(0.3f, 0.38f, 0.45f), 0.3f * streak * (1.0f - h * 0.5f));
    return mix(c, rgb(0.03f, 0.06f, 0.07f), smoothstep(kHorizonV, kHorizonV + 0.05f, v));
  });
  limitBrightness(image, 0.5f);
  return image;
}

// Wind ripples across the dunes: ridges running along v, bent by noise; an integer number of
// ripples across the map so it tiles.
Mask rippleHeight(int size) {
  Mask height(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float u = float(x) / float(size), v = float(y) / float(size);
      float bend = 0.6f * fbm(u * 4.0f, v * 4.0f, 3, 4, 5501);
      float ripple = std::sin(6.2831853f * (12.0f * u + bend));
      height.at(x, y) = 2.0f * ripple * ripple * ripple + 0.8f * fbm(u * 32.0f, v * 32.0f, 2, 32, 5502);
    }
  }
  return height;
}

Image paleSand() {
  Image image(512, 512);
  Mask ripples = rippleHeight(512);
  Mask ash = heightMap(512, 512, 6, 4, 5503);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      float g = 0.58f + 0.06f * ripples.at(x, y) / 2.8f + 0.08f * ash.at(x, y);
      g = std::clamp(g, 0.45f, 0.7f);
      image.at(x, y) = rgb(g * 1.04f, g, g * 0.9f);
    }
  }
  return image;
}

// Tileable rock for the valley: cracked cells and grain, moderate strength.
Image valleyNormals() {
  Mask height(512, 512);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      float u = float(x) / 512.0f, v = float(y) / 512.0f;
      CellDistances cell = cellNoise(u * 10.0f, v * 10.0f, 10, 5601);
      float crack = smoothstep(0.0f, 0.12f, cell.second - cell.nearest);
      height.at(x, y) = 3.0f * crack + 3.0f * fbm(u * 12.0f, v * 12.0f, 4, 12, 5602);
    }
  }
  return normalMap(height, 1.2f);
}

// Polished dark stone (mean about 0.3) with lighter veins, tiling.
Image darkMarble() {
  Image image(512, 512);
  shade(image, [](float u, float v) {
    float warp = 2.5f * fbm(u * 4.0f, v * 4.0f, 5, 4, 6601);
    float vein = 1.0f - std::abs(std::sin(3.14159265f * (3.0f * u + 2.0f * v + warp)));
    vein = std::pow(vein, 8.0f);
    float cloud = 0.5f + 0.5f * fbm(u * 8.0f, v * 8.0f, 4, 8, 6602);
    Rgba c = mix(rgb(0.2f, 0.2f, 0.23f), rgb(0.32f, 0.31f, 0.34f), cloud);
    return mix(c, rgb(0.62f, 0.6f, 0.58f), vein);
  });
  return image;
}

// The sphere's skin: bright latitude bands with rows of dots (mean about 0.7), so its spin reads.
Image bandsAndDots() {
  Image image(512, 256);
  const Rgba bands[] = {rgb(0.95f, 0.85f, 0.55f), rgb(0.6f, 0.78f, 0.92f), rgb(0.96f, 0.94f, 0.88f), rgb(0.9f, 0.55f, 0.4f)};
  shade(image, [&](float u, float v) {
    int band = int(v * 8.0f);
    Rgba c = bands[band % 4];
    float cx = u * 16.0f + (band % 2 ? 0.5f : 0.0f), cy = v * 8.0f;
    float dx = cx - std::floor(cx) - 0.5f, dy = cy - std::floor(cy) - 0.5f;
    float dot = 1.0f - smoothstep(0.16f, 0.2f, std::hypot(dx * 1.0f, dy * 2.0f));
    c = mix(c, scaled(c, 0.45f), dot);
    float edge = std::min(cy - std::floor(cy), std::ceil(cy) - cy);
    return mix(scaled(c, 0.7f), c, smoothstep(0.0f, 0.05f, edge));
  });
  return image;
}

// Grass and earth (mean about 0.5), with blade-like streaks; its heights give the normals.
Mask grassHeight() {
  Mask height(512, 512);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      float u = float(x) / 512.0f, v = float(y) / 512.0f;
      height.at(x, y) = fbm(u * 64.0f, v * 16.0f, 3, 64, 16, 7701) * 0.6f + fbm(u * 8.0f, v * 8.0f, 4, 8, 7702);
    }
  }
  return height;
}

Image grass(const Mask& height) {
  Image image(512, 512);
  Mask earth = heightMap(512, 512, 5, 4, 7703);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      float bare = smoothstep(0.1f, 0.45f, earth.at(x, y));
      Rgba c = mix(rgb(0.42f, 0.56f, 0.24f), rgb(0.56f, 0.45f, 0.32f), bare);
      image.at(x, y) = scaled(c, 1.2f + 0.2f * height.at(x, y));
    }
  }
  return image;
}

// The swarm's particle: a warm-white core and an orange halo falling to exact black at r = 0.5.
Image ember() {
  Image image(128, 128);
  shade(image, [](float u, float v) {
    float r = std::hypot(u - 0.5f, v - 0.5f);
    if (r >= 0.5f) return rgb(0, 0, 0);
    float halo = std::pow(1.0f - 2.0f * r, 0.6f);
    Rgba c = scaled(rgb(1.0f, 0.7f, 0.3f), halo);
    return mix(c, rgb(1.0f, 0.96f, 0.88f), 1.0f - smoothstep(0.04f, 0.06f, r));
  });
  return image;
}

// A soft round light.
Image softLight() {
  Image image(256, 256);
  shade(image, [](float u, float v) {
    float g = std::pow(1.0f - smoothstep(0.0f, 0.5f, std::hypot(u - 0.5f, v - 0.5f)), 2.0f);
    return rgb(g, g * 0.95f, g * 0.85f);
  });
  return image;
}

// A black line: opaque along the middle, soft edges across u.
Image blackLine() {
  Image image(256, 256);
  shade(image, [](float u, float) { return rgb(0, 0, 0, 1.0f - smoothstep(0.3f, 0.5f, std::abs(u - 0.5f))); });
  return image;
}

// A speckled haze sprite.
Image haze() {
  Image image(256, 256);
  Mask speckle = heightMap(256, 256, 16, 3, 8801);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      float r = std::hypot((float(x) + 0.5f) / 256.0f - 0.5f, (float(y) + 0.5f) / 256.0f - 0.5f);
      float a = (1.0f - smoothstep(0.1f, 0.5f, r)) * (0.6f + 0.4f * speckle.at(x, y));
      image.at(x, y) = rgb(0.85f, 0.9f, 1.0f, clamp01(a));
    }
  }
  return image;
}

// A horse in dark silhouette on a transparent card.
Image horse() {
  Mask shape(512, 256);
  drawHorse(shape, Frame{{256.0f, 118.0f}, 140.0f});
  Image image(512, 256, rgb(0.1f, 0.07f, 0.05f, 0.0f));
  image.paint(shape, rgb(0.1f, 0.07f, 0.05f));
  return image;
}

}  // namespace

void writeLandscapeTextures(Output& out) {
  out.png("quarvdemo\\render4\\sky04.png", steelSky(), 3);
  out.png("quarvdemo\\render5\\diffuse.png", paleSand(), 3);
  out.png("quarvdemo\\render5\\normalmap.png", normalMap(rippleHeight(512), 0.6f), 3);
  out.png("quarvdemo\\render5\\light.png", softLight(), 3);
  out.png("quarvdemo\\render5\\lineblack.png", blackLine(), 4);
  out.png("quarvdemo\\render5\\hore.png", haze(), 4);
  out.png("quarvdemo\\vally\\normal.png", valleyNormals(), 3);
  out.png("quarvdemo\\render6\\bakkeendof.png", darkMarble(), 3);
  out.png("quarvdemo\\render6\\dorf.png", bandsAndDots(), 3);
  out.png("quarvdemo\\render7\\hest.png", horse(), 4);
  Mask grassHeights = grassHeight();
  out.png("quarvdemo\\renderFSeries\\diffuse.png", grass(grassHeights), 3);
  out.png("quarvdemo\\renderFSeries\\normalf.png", normalMap(grassHeights, 3.0f), 3);
  out.png("quarvdemo\\renderFSeries\\remse.png", ember(), 3);
}

}  // namespace contentgen
