// The generated textures against the rules their scenes depend on: sizes, opaque or transparent
// where it matters, brightness headroom for skies drawn at gains of 2–3, tileable maps, the frame
// overlay's bars and clear centre, white card backgrounds that vanish under MIN blending, and the
// credit cards' empty rows where each line's shadow falls.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/tools/GeneratedContent.h"
#include "tests/tools/ManifestPaths.h"

namespace {

struct Picture {
  int width = 0, height = 0, channels = 0;  // channels as stored in the file
  std::vector<unsigned char> rgba;

  bool valid() const { return width > 0 && height > 0; }
  const unsigned char* at(int x, int y) const { return rgba.data() + (std::size_t(y) * width + x) * 4; }
  float grey(int x, int y) const { return (at(x, y)[0] + at(x, y)[1] + at(x, y)[2]) / (3.0f * 255.0f); }
  int maxChannel() const {
    int m = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) m = std::max({m, int(rgba[i]), int(rgba[i + 1]), int(rgba[i + 2])});
    return m;
  }
  bool opaque() const {
    for (std::size_t i = 3; i < rgba.size(); i += 4)
      if (rgba[i] != 255) return false;
    return true;
  }
};

class TextureContentTest : public ::testing::Test {
protected:
  static Picture load(const std::string& path) {
    Picture p;
    unsigned char* data = stbi_load(testsupport::builtContent(path).c_str(), &p.width, &p.height, &p.channels, 4);
    EXPECT_NE(data, nullptr) << path;
    if (data) {
      p.rgba.assign(data, data + std::size_t(p.width) * p.height * 4);
      stbi_image_free(data);
    }
    return p;
  }
};

// Mean absolute difference between two columns (or rows), in 0..255 units.
float seam(const Picture& p, bool columns) {
  double sum = 0.0;
  int n = columns ? p.height : p.width;
  for (int i = 0; i < n; ++i) {
    const unsigned char* a = columns ? p.at(0, i) : p.at(i, 0);
    const unsigned char* b = columns ? p.at(p.width - 1, i) : p.at(i, p.height - 1);
    for (int c = 0; c < 3; ++c) sum += std::abs(int(a[c]) - int(b[c]));
  }
  return float(sum / (3.0 * n));
}

// The same between the two middle columns (or rows): what a seam must not exceed by much.
float interior(const Picture& p, bool columns) {
  double sum = 0.0;
  int n = columns ? p.height : p.width;
  for (int i = 0; i < n; ++i) {
    const unsigned char* a = columns ? p.at(p.width / 2 - 1, i) : p.at(i, p.height / 2 - 1);
    const unsigned char* b = columns ? p.at(p.width / 2, i) : p.at(i, p.height / 2);
    for (int c = 0; c < 3; ++c) sum += std::abs(int(a[c]) - int(b[c]));
  }
  return float(sum / (3.0 * n));
}

TEST_F(TextureContentTest, EveryTextureHasItsDesignedSize) {
  struct Size {
    const char* path;
    int width, height;
  };
  const Size sizes[] = {{"quarvdemo\\overlay02.png", 1024, 768}, {"quarvdemo\\spotlight01.png", 256, 256},
                        {"quarvdemo\\soft.png", 128, 64}, {"quarvdemo\\linetexture.png", 256, 256},
                        {"quarvdemo\\white.png", 16, 16}, {"quarvdemo\\render6\\black.png", 16, 16},
                        {"quarvdemo\\render4\\cubediffuse.png", 256, 256}, {"quarvdemo\\render1\\normal.png", 256, 256},
                        {"quarvdemo\\render1\\sky04.png", 1024, 512}, {"quarvdemo\\render3\\sky03.png", 1024, 512},
                        {"quarvdemo\\render4\\sky04.png", 1024, 512}, {"quarvdemo\\render1\\linetextureg.png", 256, 256},
                        {"quarvdemo\\render1\\blink1.png", 1024, 768}, {"quarvdemo\\render1\\blink2.png", 1024, 768},
                        {"quarvdemo\\render1\\blink3.png", 1024, 768}, {"quarvdemo\\render1\\diffuse.png", 512, 512},
                        {"quarvdemo\\fflash.png", 512, 512}, {"quarvdemo\\render3\\bakke2.jpg", 512, 512},
                        {"quarvdemo\\render3\\coverup.png", 512, 512}, {"quarvdemo\\render3\\face.png", 512, 640},
                        {"quarvdemo\\renderFSeries\\organ1.jpg", 512, 256}, {"quarvdemo\\renderFSeries\\organ3.jpg", 512, 256},
                        {"quarvdemo\\renderFSeries\\organ4.jpg", 256, 512}, {"quarvdemo\\renderFSeries\\organ5.jpg", 256, 512},
                        {"quarvdemo\\renderFSeries\\organ4c.png", 512, 256}, {"quarvdemo\\renderFSeries\\organ5c.png", 512, 256},
                        {"quarvdemo\\render5\\diffuse.png", 512, 512}, {"quarvdemo\\render5\\normalmap.png", 512, 512},
                        {"quarvdemo\\vally\\normal.png", 512, 512}, {"quarvdemo\\render6\\bakkeendof.png", 512, 512},
                        {"quarvdemo\\render6\\dorf.png", 512, 256}, {"quarvdemo\\render8\\producer.png", 1024, 512},
                        {"quarvdemo\\render8\\music.png", 1024, 512}, {"quarvdemo\\render8\\moral.png", 1024, 512},
                        {"quarvdemo\\render8\\organdonor.png", 1024, 512}, {"quarvdemo\\render8\\tink8.png", 1024, 768},
                        {"quarvdemo\\renderFSeries\\remse.png", 128, 128}, {"quarvdemo\\renderFSeries\\diffuse.png", 512, 512},
                        {"quarvdemo\\renderFSeries\\normalf.png", 512, 512}};
  for (const Size& s : sizes) {
    Picture p = load(s.path);
    ASSERT_TRUE(p.valid()) << s.path;
    EXPECT_EQ(p.width, s.width) << s.path;
    EXPECT_EQ(p.height, s.height) << s.path;
  }
  for (int n = 1; n <= 6; ++n) {
    Picture organ = load("quarvdemo\\render3\\organ" + std::to_string(n) + ".png");
    ASSERT_TRUE(organ.valid()) << "quarvdemo\\render3\\organ" + std::to_string(n) + ".png";
    EXPECT_EQ(organ.width, 512);
    EXPECT_EQ(organ.height, 512);
    Picture slide = load("quarvdemo\\render2\\" + std::to_string(n) + ".png");
    ASSERT_TRUE(slide.valid()) << "quarvdemo\\render2\\" + std::to_string(n) + ".png";
    EXPECT_EQ(slide.width, 512);
    EXPECT_EQ(slide.height, 384);
  }
  // Every manifest texture decodes (JPEG ones as real JPEGs).
  for (const std::string& path : testsupport::manifestTextures()) EXPECT_GT(load(path).width, 0) << path;
}

TEST_F(TextureContentTest, PicturesDrawnWithoutBlendingOrAsFloorsAreOpaque) {
  for (const char* path : {"quarvdemo\\linetexture.png", "quarvdemo\\white.png", "quarvdemo\\black.png",
                           "quarvdemo\\render6\\black.png", "quarvdemo\\render1\\sky04.png", "quarvdemo\\render3\\sky03.png",
                           "quarvdemo\\render4\\sky04.png", "quarvdemo\\render1\\linetextureg.png",
                           "quarvdemo\\render8\\tink8.png", "quarvdemo\\render8\\producer.png", "quarvdemo\\render4\\cubediffuse.png",
                           "quarvdemo\\renderFSeries\\organ4c.png", "quarvdemo\\renderFSeries\\organ5c.png",
                           "quarvdemo\\render2\\1.png", "quarvdemo\\spotlight01.png"})
    EXPECT_TRUE(load(path).opaque()) << path;
}

TEST_F(TextureContentTest, OverlayHasOpaqueBarsAClearCentreAndSoftCorners) {
  Picture p = load("quarvdemo\\overlay02.png");
  ASSERT_TRUE(p.valid()) << "quarvdemo\\overlay02.png";
  for (int x = 0; x < p.width; x += 7) {
    for (int y : {0, 30, 55, 712, 740, 767}) {
      ASSERT_EQ(p.at(x, y)[3], 255) << x << ", " << y;
      ASSERT_EQ(p.at(x, y)[0], 0);
    }
    for (int y : {100, 384, 600}) {
      if (x > 150 && x < 870) {
        ASSERT_EQ(p.at(x, y)[3], 0) << "the scene shows through at " << x << ", " << y;
      }
    }
  }
  for (int y = 56; y < 712; ++y) ASSERT_LE(p.at(0, y)[3], 128) << "corner vignette row " << y;
  EXPECT_GT(p.at(0, 60)[3], 40) << "a vignette darkens the corners";
}

TEST_F(TextureContentTest, SpotlightIsFullInsideAndBlackAtTheBorder) {
  Picture p = load("quarvdemo\\spotlight01.png");
  ASSERT_TRUE(p.valid()) << "quarvdemo\\spotlight01.png";
  EXPECT_EQ(p.at(128, 128)[0], 255);
  EXPECT_EQ(p.at(128 + 70, 128)[0], 255) << "r = 0.27";
  for (int i = 0; i < 256; ++i) {
    for (int d = 0; d < 4; ++d) {
      ASSERT_EQ(p.at(i, d)[0], 0);
      ASSERT_EQ(p.at(d, i)[0], 0);
      ASSERT_EQ(p.at(i, 255 - d)[0], 0);
      ASSERT_EQ(p.at(255 - d, i)[0], 0);
    }
  }
}

TEST_F(TextureContentTest, RibbonStripsKeepTheirAlphaRules) {
  Picture line = load("quarvdemo\\linetexture.png");
  ASSERT_TRUE(line.valid()) << "quarvdemo\\linetexture.png";
  EXPECT_TRUE(line.opaque()) << "ribbons write depth: a translucent texel would hide the ground behind it";
  Picture soft = load("quarvdemo\\soft.png");
  ASSERT_TRUE(soft.valid()) << "quarvdemo\\soft.png";
  EXPECT_EQ(soft.maxChannel(), 0) << "the shadow strip is black";
  EXPECT_NEAR(soft.at(64, 32)[3], 0.85 * 255, 3);
  EXPECT_LE(soft.at(0, 32)[3], 2);
  EXPECT_LE(soft.at(64, 0)[3], 20) << "faded at the ends";
  EXPECT_LE(load("quarvdemo\\render1\\linetextureg.png").maxChannel(), int(0.55 * 255 + 0.5)) << "headroom for ambient 3–4";
}

TEST_F(TextureContentTest, SkiesTileAroundTheDomeAndLeaveHeadroom) {
  struct Sky {
    const char* path;
    float limit;
  };
  for (const Sky& sky : {Sky{"quarvdemo\\render1\\sky04.png", 0.35f}, Sky{"quarvdemo\\render3\\sky03.png", 0.6f},
                         Sky{"quarvdemo\\render4\\sky04.png", 0.5f}}) {
    Picture p = load(sky.path);
    ASSERT_TRUE(p.valid()) << sky.path;
    EXPECT_LE(p.maxChannel(), int(sky.limit * 255 + 0.5)) << sky.path;
    EXPECT_LE(seam(p, true), interior(p, true) * 2.0f + 1.0f) << sky.path << " shows a seam at u = 0";
  }
  // The third scene's floor fades into the sky's horizon band: the band is the floor's colour.
  Picture dusk = load("quarvdemo\\render3\\sky03.png");
  ASSERT_TRUE(dusk.valid()) << "quarvdemo\\render3\\sky03.png";
  for (int y = int(0.76f * 512); y < 512; y += 5) {
    for (int x = 0; x < 1024; x += 37) {
      ASSERT_NEAR(dusk.at(x, y)[0], 154, 1);
      ASSERT_NEAR(dusk.at(x, y)[1], 65, 1);
      ASSERT_NEAR(dusk.at(x, y)[2], 18, 1);
    }
  }
}

TEST_F(TextureContentTest, TiledMapsHaveNoSeams) {
  for (const char* path : {"quarvdemo\\render1\\diffuse.png", "quarvdemo\\render1\\normal.png", "quarvdemo\\render4\\cubediffuse.png",
                           "quarvdemo\\render5\\diffuse.png", "quarvdemo\\render5\\normalmap.png", "quarvdemo\\vally\\normal.png",
                           "quarvdemo\\render6\\bakkeendof.png", "quarvdemo\\renderFSeries\\diffuse.png",
                           "quarvdemo\\renderFSeries\\normalf.png", "quarvdemo\\render3\\bakke2.jpg"}) {
    Picture p = load(path);
    ASSERT_TRUE(p.valid()) << path;
    // The cube tile's bevel makes its edges differ from its middle on purpose: compare edges only.
    if (std::string(path).find("cubediffuse") != std::string::npos) {
      EXPECT_NEAR(p.grey(0, 128), p.grey(255, 128), 0.25f) << path;
      continue;
    }
    EXPECT_LE(seam(p, true), interior(p, true) * 2.0f + 2.0f) << path;
    EXPECT_LE(seam(p, false), interior(p, false) * 2.0f + 2.0f) << path;
  }
  for (const char* path : {"quarvdemo\\render1\\normal.png", "quarvdemo\\render5\\normalmap.png", "quarvdemo\\vally\\normal.png",
                           "quarvdemo\\renderFSeries\\normalf.png"}) {
    Picture p = load(path);
    ASSERT_TRUE(p.valid()) << path;
    for (std::size_t i = 0; i < p.rgba.size(); i += 4) ASSERT_GT(p.rgba[i + 2], 128) << path << ": normals point out of the surface";
  }
}

TEST_F(TextureContentTest, TitleCardsAreWhiteTextInsideTheCentreOnAClearCard) {
  for (int n = 1; n <= 3; ++n) {
    std::string path = "quarvdemo\\render1\\blink" + std::to_string(n) + ".png";
    Picture p = load(path);
    ASSERT_TRUE(p.valid()) << path;
    int text = 0;
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        const unsigned char* c = p.at(x, y);
        bool inside = x >= 154 && x < 870 && y >= 115 && y < 653;
        if (!inside) {
          ASSERT_EQ(c[3], 0) << path << " draws outside the central 70 % at " << x << ", " << y;
        }
        if (c[3] == 255 && c[0] == 255) ++text;
      }
    }
    EXPECT_GT(text, 2000) << path;
  }
}

TEST_F(TextureContentTest, InkPicturesHaveWhiteBackgroundsAndDarkInk) {
  for (const char* path : {"quarvdemo\\renderFSeries\\organ1.jpg", "quarvdemo\\renderFSeries\\organ3.jpg",
                           "quarvdemo\\renderFSeries\\organ4.jpg", "quarvdemo\\renderFSeries\\organ5.jpg",
                           "quarvdemo\\renderFSeries\\organ4c.png", "quarvdemo\\renderFSeries\\organ5c.png",
                           "quarvdemo\\render2\\1.png", "quarvdemo\\render2\\4.png"}) {
    Picture p = load(path);
    ASSERT_TRUE(p.valid()) << path;
    // Under MIN blending only pure white vanishes: the background must stay 255.
    for (int x = 0; x < p.width; ++x) {
      for (int y : {0, 1, p.height - 2, p.height - 1}) ASSERT_EQ(p.at(x, y)[0] + p.at(x, y)[1] + p.at(x, y)[2], 765) << path;
    }
    int ink = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) ink += p.grey(x, y) <= 0.25f;
    EXPECT_GT(ink, p.width * p.height / 20) << path << " needs bold dark shapes";
  }
}

TEST_F(TextureContentTest, CreditCardsLeaveTheShadowRowsEmpty) {
  for (const char* path : {"quarvdemo\\render8\\producer.png", "quarvdemo\\render8\\music.png", "quarvdemo\\render8\\moral.png",
                           "quarvdemo\\render8\\organdonor.png"}) {
    Picture p = load(path);
    ASSERT_TRUE(p.valid()) << path;
    int title = 0, subline = 0;
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        float g = p.grey(x, y);
        bool dark = g < 0.5f;
        if (dark && (x < 215 || x >= 809)) FAIL() << path << ": text outside the visible box at " << x << ", " << y;
        if (y < 110 || (y >= 235 && y < 315) || y >= 395) {
          ASSERT_GT(g, 0.97f) << path << " row " << y << " must stay white";
        }
        if (g <= 0.08f) (y < 235 ? title : subline)++;
      }
    }
    EXPECT_GT(title, 3000) << path;
    EXPECT_GT(subline, 1500) << path;
  }
}

TEST_F(TextureContentTest, ClosingLogoStaysLegibleUnderTheRisingBlack) {
  Picture p = load("quarvdemo\\render8\\tink8.png");
  ASSERT_TRUE(p.valid()) << "quarvdemo\\render8\\tink8.png";
  double sum = 0.0, sum2 = 0.0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      double g = p.grey(x, y);
      sum += g;
      sum2 += g * g;
    }
  double n = double(p.width) * p.height, mean = sum / n;
  EXPECT_NEAR(mean, 0.6, 0.08);
  EXPECT_GT(std::sqrt(sum2 / n - mean * mean), 0.25);
  for (int x = 0; x < p.width; ++x) ASSERT_EQ(p.grey(x, 0), p.grey(x, p.height - 1)) << "top and bottom rows match";
}

TEST_F(TextureContentTest, SwarmParticleFallsToExactBlackAtItsEdge) {
  Picture p = load("quarvdemo\\renderFSeries\\remse.png");
  ASSERT_TRUE(p.valid()) << "quarvdemo\\renderFSeries\\remse.png";
  double sum = 0.0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      sum += p.grey(x, y);
      if (std::hypot(x + 0.5 - 64.0, y + 0.5 - 64.0) >= 64.0) {
        ASSERT_EQ(p.at(x, y)[0] + p.at(x, y)[1] + p.at(x, y)[2], 0);
      }
    }
  EXPECT_NEAR(sum / (128.0 * 128.0), 0.25, 0.05) << "10000 additive sprites: the average sets the funnel's brightness";
  EXPECT_GT(p.grey(64, 64), 0.9f);
}

}  // namespace
