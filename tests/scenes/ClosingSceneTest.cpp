// The closing scene: the black card's weight and a whole frame on the trace device; then the last
// four slots played through frame by frame.
#include <gtest/gtest.h>

#include <string>

#include "render/Cameras.h"
#include "render/Transforms.h"
#include "scenes/ClosingScene.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

// Fully black at the start, clearest at a = 2, black again by time alone at a = 9.68 and beyond 1
// after that; the band adds 300 x S2 and nothing clamps the sum.
TEST(ClosingBlackWeight, FadesInThenSinks) {
  EXPECT_EQ(scenes::closingBlackWeight(0.0f, 0.0f), 1.0f);
  EXPECT_NEAR(scenes::closingBlackWeight(1.0f, 0.0f), 0.6033058f, 1e-5f);
  EXPECT_NEAR(scenes::closingBlackWeight(2.0f, 0.0f), 0.2066116f, 1e-5f);
  EXPECT_NEAR(scenes::closingBlackWeight(9.68f, 0.0f), 1.0f, 1e-4f);
  EXPECT_NEAR(scenes::closingBlackWeight(14.35f, 0.0f), 1.4824f, 1e-3f);
  EXPECT_NEAR(scenes::closingBlackWeight(2.0f, 0.001f), 0.5066116f, 1e-5f);
  EXPECT_NEAR(scenes::closingBlackWeight(0.0f, 0.01f), 4.0f, 1e-5f);
}

// 270.35 s with a silent spectrum: the logo unblended through "texture" pass 0, the black card at
// the time term alone, the overlay, one present; no camera is touched.
TEST(ClosingFrame, LogoBlackCardAndOverlay) {
  FixedSpectrum silent;
  ASSERT_TRUE(silent.loaded);
  const assets::Camera before = render::currentCamera();
  const D3DXVECTOR3 lightBefore = render::lightCamera().eye;
  const std::vector<std::string> lines = Show::instance().frameAt(270.35);
  const Frame f(lines);
  EXPECT_EQ(f.renderer, "closingScene");
  EXPECT_TRUE(f.messages.empty()) << f.messages.front();
  EXPECT_EQ(f.clears, std::vector<std::string>{"TARGET,ZBUFFER"});
  EXPECT_EQ(f.steps, (std::vector<std::string>{"beginScene", "clear backbuffer 0x00000000", "draw fullScreenQuad",
                                               "draw fullScreenQuad", "draw fullScreenQuad", "endScene", "present"}));
  const Draw& logo = f.draws.at(0);
  EXPECT_EQ(logo.effect + " " + std::to_string(logo.pass), "quarvdemo\\shaders\\texture.fx 0");
  EXPECT_EQ(logo.param("tex0"), "quarvdemo\\render8\\tink8.png");
  EXPECT_EQ(logo.state("CULLMODE") + " " + logo.state("ZENABLE") + " " + logo.state("ALPHABLENDENABLE"),
            "NONE false false");
  EXPECT_TRUE(matricesNear(logo.matrix("matWorldViewProjection"), render::ortho(640.0f, 480.0f), 0.0f));
  const Draw& black = f.draws.at(1);
  EXPECT_EQ(black.param("tex0"), "quarvdemo\\render6\\black.png");
  EXPECT_NEAR(black.value("alpha1"), 4.0f * 0.1033058f, 1e-4f);
  EXPECT_EQ(black.state("CULLMODE") + " " + black.state("SRCBLEND") + " " + black.state("DESTBLEND"),
            "CW SRCALPHA INVSRCALPHA");
  EXPECT_EQ(f.draws.at(2).param("tex0"), "quarvdemo\\overlay02.png");
  EXPECT_EQ(f.draws.at(2).value("alpha1"), 1.0f);
  const assets::Camera& after = render::currentCamera();
  EXPECT_TRUE(after.eye == before.eye && after.target == before.target && after.fov == before.fov);
  EXPECT_TRUE(render::lightCamera().eye == lightBefore);
  // Past 9.68 s the black card's weight passes 1 unclamped.
  EXPECT_NEAR(frameAt(278.35).draws.at(1).value("alpha1"), 12.0f * 0.1033058f, 1e-4f);
}

// From 176 s to the end of the music, 30 frames a second: each slot's renderer in its own music
// times, no message, every frame ending with the overlay and one present with all targets left,
// every bracket closed and no parameter that is not a finite number (the trace writes null); the
// black fades meet at the slot boundaries, so no slot change flashes up a picture.
TEST(ClosingSlots, EveryFrameOfTheLastFourSlots) {
  Show& show = Show::instance();
  const unsigned invalidBefore = show.traceDevice().invalidCalls();
  // The show stops once the music passes 280.67 s: frame 8420 is the last.
  for (int frameIndex = 176 * 30 + 1; frameIndex <= 8420; ++frameIndex) {
    const double t = frameIndex / 30.0;
    const Frame f = frameAt(t);
    const char* expected = t <= 220.0    ? "eighthScene"
                           : t <= 253.45 ? "ninthScene"
                           : t <= 266.35 ? "creditsScene"
                                         : "closingScene";
    ASSERT_EQ(f.renderer, expected) << t;
    expectOverlayLastAndOnePresent(f, std::to_string(t));
    EXPECT_EQ(f.stepsOf("beginScene").size(), f.stepsOf("endScene").size()) << t;
    EXPECT_EQ(f.count("effectBegin"), f.count("effectEnd")) << t;
    EXPECT_EQ(f.count("effectBegin"), f.count("beginPass")) << t;
    const auto targets = f.stepsOf("setRenderTarget");
    if (!targets.empty()) {
      EXPECT_EQ(targets.back(), "setRenderTarget backbuffer") << t;
    }
    for (const Draw& d : f.draws)
      for (const auto& [name, raw] : d.params) EXPECT_EQ(raw.find("null"), std::string::npos) << t << " " << name;
  }
  EXPECT_EQ(show.traceDevice().invalidCalls(), invalidBefore) << "a call the device refused";

  // The black card is the credits' first card, the second of the ninth and closing scenes and the
  // third of the eighth.
  auto blackAt = [](double t) {
    const Frame f = frameAt(t);
    const std::size_t card = f.renderer == "eighthScene" ? 2 : f.renderer == "creditsScene" ? 0 : 1;
    const Draw black = f.drawsOf("fullScreenQuad").at(card);
    EXPECT_EQ(black.param("tex0"), "quarvdemo\\render6\\black.png") << t;
    return black.value("alpha1");
  };
  EXPECT_EQ(blackAt(220.0), 1.0f);
  EXPECT_NEAR(blackAt(220.001), 1.0f, 1e-3f);
  EXPECT_NEAR(blackAt(253.449), 1.0f, 1e-3f);
  EXPECT_NEAR(blackAt(253.451), 1.0f, 1e-3f);
  EXPECT_GE(blackAt(266.351), 0.99f);
}

}  // namespace
