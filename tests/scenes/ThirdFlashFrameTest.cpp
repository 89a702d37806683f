// The third scene's flash variant on the trace device: its steps, the slide stamped into the shadow
// map from the light, the spot-lit ground brightened by 20 c S0, the eye and slide of the beat
// whatever the music time, and the up, near and far planes left as the frame before set them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/Cameras.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"
#include "timeline/SpectrumTrack.h"

namespace {

using namespace testsupport;

const std::string kGround = "quarvdemo\\render1\\grotte.SCENEPlane01.mesh";
const D3DXMATRIX kLightViewProjection = lookAt({1, 100, -30}, {0, 20, -30}) * perspective(1.0471976f, 1, 10000);

Frame flash(int n, float b, float c) {
  return drawDirect([=](Show& show) { scenes::thirdFlash(*show.main, b - 47.7f, b, n, c); });
}

TEST(ThirdFlashFrame, StepsTargetsStatesAndParameters) {
  const float b = 51.52f, c = 0.5f;
  const Frame frame = flash(3, b, c);
  EXPECT_EQ(join(frame.steps, " | "),
            "setRenderTarget shadowTarget | beginScene | clear shadowTarget 0x00FFFFFF | draw MainStage.wideGrid | "
            "endScene | setRenderTarget backbuffer | beginScene | clear backbuffer 0x00000000 | draw " +
                kGround + " | draw fullScreenQuad | endScene | present");
  EXPECT_TRUE(frame.messages.empty()) << frame.messages.front();

  // The slide card, flat at (0, 15, -30) and scaled 1.7, seen from the light: its corners land at
  // y = 13.3, x from -25.5 to 42.5, z from -42.75 to 8.25.
  const Draw slide = frame.drawsOf("MainStage.wideGrid").at(0);
  EXPECT_EQ(slide.effect + " " + std::to_string(slide.pass), "quarvdemo\\shaders\\texture.fx 1");
  EXPECT_EQ(slide.stateSummary(), "NONE false false");
  EXPECT_EQ(slide.param("tex0"), "quarvdemo\\render2\\3.png");
  EXPECT_EQ(slide.values("alpha1"), std::vector<float>{1.0f});
  EXPECT_EQ(slide.values("pump"), std::vector<float>{0.0f});
  const D3DXMATRIX world = slide.matrix("matWorldViewProjection") * inverse(kLightViewProjection);
  EXPECT_TRUE(pointsNear(apply(world, {-15, -7.5f, 1}), {-25.5f, 13.3f, -42.75f}, 0.02f));
  EXPECT_TRUE(pointsNear(apply(world, {25, 22.5f, 1}), {42.5f, 13.3f, 8.25f}, 0.02f));

  const Draw ground = frame.drawsOf(kGround).at(0);
  EXPECT_EQ(ground.effect + " " + std::to_string(ground.pass), "quarvdemo\\shaders\\r1_bakke.fx 2");
  EXPECT_EQ(ground.stateSummary(), "CCW true false");
  EXPECT_FLOAT_EQ(ground.value("alpha1"), 20.0f * c * timeline::spectrumTrack().band(0, b));
  EXPECT_EQ(
      ground.param("tex0") + " " + ground.param("tex1") + " " + ground.param("tex2") + " " + ground.param("tex3"),
      "quarvdemo\\render4\\cubediffuse.png quarvdemo\\spotlight01.png shadowTarget quarvdemo\\render1\\normal.png");
  EXPECT_EQ(ground.values("LightPosition"), (std::vector<float>{1.0f, 100.0f, -30.0f}));
  EXPECT_TRUE(matricesNear(ground.matrix("matLightViewProjection"), kLightViewProjection));
  EXPECT_EQ(frame.draws.back().param("tex0"), "quarvdemo\\overlay02.png");
  EXPECT_EQ(frame.draws.back().stateSummary(), "CW false true ADD SRCALPHA INVSRCALPHA");
}

// Beat 7 shows slide 1 again from its own eye, looking at (0, 0, -20) with a quarter-turn field of
// view set as it is (not scaled like a path's), at any music time and flash value.
TEST(ThirdFlashFrame, EyeAndSlideDependOnlyOnTheBeat) {
  const Frame early = flash(7, 56.7f, 0.8f), late = flash(7, 56.95f, 0.3f);
  const Draw ground = early.drawsOf(kGround).at(0);
  const D3DXMATRIX view = ground.matrix("matView");
  EXPECT_TRUE(matricesNear(view, late.drawsOf(kGround).at(0).matrix("matView"), 1e-6f));
  EXPECT_TRUE(pointsNear(eyeOf(view), {-13.684f, 32.267f, -43.088f}, 2e-3f));
  const D3DXVECTOR3 ahead = apply(view, {0, 0, -20});
  EXPECT_TRUE(pointsNear({ahead.x, ahead.y, 0.0f}, {0, 0, 0}, 1e-3f)) << "looks at (0, 0, -20)";
  EXPECT_NEAR((inverse(view) * ground.matrix("matWorldViewProjection"))._22, 1.0f, 1e-3f);
  EXPECT_EQ(early.drawsOf("MainStage.wideGrid").at(0).param("tex0"), "quarvdemo\\render2\\1.png");
  EXPECT_EQ(late.drawsOf("MainStage.wideGrid").at(0).param("tex0"), "quarvdemo\\render2\\1.png");
}

// The flash sets eye, target and fov only: after the third scene the far plane stays 100000, and
// near, far and up set by hand before it stay as they were.
TEST(ThirdFlashFrame, KeepsTheUpNearAndFarTheFrameBeforeLeft) {
  drawDirect([](Show& show) { scenes::thirdScene(*show.organ, 4.3f, 52.0f); });
  assets::Camera& camera = render::currentCamera();
  const float nearPlane = camera.nearPlane;
  const Draw ground = flash(2, 50.2f, 0.5f).drawsOf(kGround).at(0);
  EXPECT_EQ(camera.farPlane, 100000.0f);
  EXPECT_GT(planesOf(ground.matrix("matView"), ground.matrix("matWorldViewProjection")).farPlane, 50000.0f);
  EXPECT_NEAR(planesOf(ground.matrix("matView"), ground.matrix("matWorldViewProjection")).nearPlane, nearPlane, 1e-3f);
  camera.nearPlane = 2.0f;
  camera.farPlane = 500.0f;
  camera.up = {0.0f, 0.0f, 1.0f};
  flash(2, 50.2f, 0.5f);
  EXPECT_EQ(camera.nearPlane, 2.0f);
  EXPECT_EQ(camera.farPlane, 500.0f);
  EXPECT_EQ(camera.up, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
  camera.up = {0.0f, 1.0f, 0.0f};
}

}  // namespace
