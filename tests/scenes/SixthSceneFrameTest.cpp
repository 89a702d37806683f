// Frames of the sixth scene on the trace device with the generated content: shadow, depth and
// back-buffer passes, blur and depth-of-field mix, the doubled overlay with fade and flash; the
// cut's camera, light and ribbon placements recovered from the matrices; the far plane per cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "scenes/Renderers.h"
#include "scenes/SixthScene.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

// Ribbon i's x placement recovered from a world-view-projection and the view-projection it used.
float ribbonX(const Draw& d, const char* param, const D3DXMATRIX& viewProjection) {
  return (d.matrix(param) * inverse(viewProjection))._41;
}

// 137.0 s is cut 2: the third path played backwards at 5 (6.46 - u'), the light at (-90, 100, 80)
// looking at T - (30, 0, 30); the ribbons at r = u' - 2 in the shadow map and on screen but at u'
// in the depth target; the overlay twice, the (spent) fade and the flash before 137.3 s between.
// Band 2 reads 0.05.
TEST(SixthSceneFrames, ValleyFrameSteps) {
  const float s2 = 0.05f;
  FixedSpectrum bands(0.2f, 0.1f, s2);
  ASSERT_TRUE(bands.loaded);
  Frame frame = frameAt(137.0);
  ASSERT_EQ(frame.renderer, "sixthScene");
  const float u = float((137.0 - double(119.8f)) * double(0.333f)), b = 137.0f;
  ASSERT_EQ(scenes::sixthCutIndex(u), 2);
  const std::string ribbons = "draw " + grid(0) + "|draw " + grid(1) + "|draw " + grid(2) + "|draw " + grid(3) + "|";
  const std::string valley = "draw quarvdemo\\vally\\vally.SCENEPlane01.mesh|";
  const std::string quad = "draw fullScreenQuad|";
  std::string steps;
  for (const std::string& s : frame.steps) steps += s + "|";
  EXPECT_EQ(steps, "setRenderTarget shadowTarget|beginScene|clear shadowTarget 0x00FFFFFF|" + ribbons +
                       "endScene|setRenderTarget backbuffer|setRenderTarget depthTarget|beginScene|"
                       "clear depthTarget 0x00FFFFFF|" + valley + ribbons + "endScene|setRenderTarget backbuffer|"
                       "beginScene|clear backbuffer 0x00000000|" + valley + ribbons +
                       "endScene|stretchRect backbuffer halfTargetB|setRenderTarget halfTargetA|beginScene|" + quad +
                       "endScene|setRenderTarget backbuffer|beginScene|" + quad + quad + quad + quad + quad +
                       "endScene|present|");
  const std::vector<Draw>& d = frame.draws;
  ASSERT_EQ(d.size(), 20u);

  const assets::Camera cam = sampled(Show::instance().main->vallyCameras[2], 5.0f * (6.46f - u));
  const D3DXMATRIX viewProjection = lookAt(cam.eye, cam.target) * perspective(cam.fov, cam.nearPlane, 10000.0f);
  const D3DXVECTOR3 light(-90.0f, 100.0f, 80.0f);
  const D3DXMATRIX lightViewProjection =
      lookAt(light, cam.target - D3DXVECTOR3(30.0f, 0.0f, 30.0f)) * perspective(1.5707964f, 1.0f, 10000.0f);
  for (int i = 0; i < 4; ++i) {
    const Draw& shadow = d[std::size_t(i)];
    const Draw& depth = d[5 + std::size_t(i)];
    const Draw& lit = d[10 + std::size_t(i)];
    EXPECT_EQ(shadow.effect + " " + std::to_string(shadow.pass), std::string(kLineFx) + " 1");
    EXPECT_EQ(depth.effect + " " + std::to_string(depth.pass), std::string(kDepthFx) + " 0");
    EXPECT_EQ(lit.effect + " " + std::to_string(lit.pass), std::string(kLine1Fx) + " 1");
    EXPECT_EQ(shadow.stateSummary(), "NONE false true ADD SRCALPHA INVSRCALPHA");
    EXPECT_EQ(depth.stateSummary(), "NONE true false");
    EXPECT_EQ(lit.stateSummary(), "NONE true false");
    EXPECT_NEAR(ribbonX(shadow, "matLightViewProjection", lightViewProjection), scenes::sixthRibbonX(i, u - 2), 0.05f);
    EXPECT_NEAR(ribbonX(depth, "matWorldViewProjection", viewProjection), scenes::sixthRibbonX(i, u), 0.05f);
    EXPECT_NEAR(ribbonX(lit, "matWorldViewProjection", viewProjection), scenes::sixthRibbonX(i, u - 2), 0.05f);
  }
  EXPECT_EQ(d[0].param("tex0"), "quarvdemo\\soft.png");
  EXPECT_EQ(d[10].param("tex0") + " " + d[10].param("tex1"), "quarvdemo\\linetexture.png quarvdemo\\spotlight01.png");
  EXPECT_EQ(d[10].value("alpha1"), 1.0f);
  EXPECT_EQ(numbersOf(d[4].param("Focus") + " " + d[4].param("Eksponent") + " " + d[4].param("FallOff")),
            (std::vector<float>{0.3f, 1.1f, 1.7f}));
  EXPECT_TRUE(matricesNear(d[4].matrix("matWorldViewProjection"), viewProjection, 1e-3f)) << "depth pass";

  const Draw& terrain = d[9];
  EXPECT_EQ(terrain.effect + " " + std::to_string(terrain.pass), std::string(kBakke1Fx) + " 2");
  EXPECT_EQ(terrain.param("tex0") + " " + terrain.param("tex1") + " " + terrain.param("tex2") + " " +
                terrain.param("tex3"),
            "quarvdemo\\render5\\diffuse.png quarvdemo\\spotlight01.png shadowTarget quarvdemo\\vally\\normal.png");
  EXPECT_NEAR(terrain.value("alpha1"), 1.6f * s2 + 2.8f, 1e-5f);
  EXPECT_NEAR(terrain.value("gamma"), s2 + 0.6f, 1e-5f);
  EXPECT_EQ(terrain.stateSummary(), "CCW true false");
  EXPECT_TRUE(pointsNear(eyeOf(terrain.matrix("matView")), cam.eye, 1e-2f)) << "eye";
  EXPECT_TRUE(matricesNear(terrain.matrix("matLightViewProjection"), lightViewProjection, 1e-3f)) << "light";
  EXPECT_TRUE(pointsNear(terrain.vector("LightPosition"), light, 0.0f)) << "light eye";

  const Draw& blur = d[14];
  EXPECT_EQ(blur.target + " " + blur.effect + " " + blur.param("tex0"), std::string("halfTargetA ") + kBlurFx + " halfTargetB");
  EXPECT_EQ(numbersOf(blur.param("ps")), (std::vector<float>{1.0f / 320.0f, 1.0f / 240.0f}));
  EXPECT_EQ(blur.value("blur"), 1.8f);
  EXPECT_EQ(blur.stateSummary(), "NONE false false");
  const Draw& mix = d[15];
  EXPECT_EQ(mix.effect + " " + std::to_string(mix.pass), std::string(kDepthFx) + " 4");
  EXPECT_EQ(mix.param("tex0") + " " + mix.param("tex1") + " " + mix.param("tex2"), "halfTargetA depthTarget halfTargetB");
  EXPECT_EQ(mix.stateSummary(), "NONE false true ADD SRCALPHA INVSRCALPHA");

  const char* cards[] = {"overlay02.png", "white.png", "white.png", "overlay02.png"};
  const float weights[] = {1.0f, 0.0f, 0.5f * (1.0f - std::clamp(3.3f * (137.3f - b), 0.0f, 1.0f)), 1.0f};
  for (int i = 0; i < 4; ++i) {
    const Draw& c = d[16 + std::size_t(i)];
    EXPECT_EQ(c.effect + " " + c.param("tex0"), std::string(kTextFx) + " quarvdemo\\" + cards[i]);
    EXPECT_NEAR(c.value("alpha1"), weights[i], 1e-5f) << i;
    EXPECT_EQ(c.stateSummary(), "CW false true ADD SRCALPHA INVSRCALPHA");
  }
  expectOverlayLastAndOnePresent(frame);
}

// The first shot opens under the full white fade (the first card of its pass), gone at u' = 2.
TEST(SixthSceneFrames, WhiteFadeCoversTheStart) {
  Frame start = drawDirect([](Show& show) { scenes::sixthScene(*show.main, 0.0f, 119.8f); });
  ASSERT_EQ(start.draws.size(), 20u);
  EXPECT_EQ(start.draws[17].param("tex0"), "quarvdemo\\white.png");
  EXPECT_EQ(start.draws[17].value("alpha1"), 1.0f);
  Frame later = drawDirect([](Show& show) { scenes::sixthScene(*show.main, 2.0f, 125.7f); });
  EXPECT_EQ(later.draws[17].value("alpha1"), 0.0f);
}

// Every cut at a scene time inside it: the camera path played backwards, five times the time left
// to the cut's end; the light's eye, its target offset from the camera's and field of view; the
// focus; and the far plane, 10000 except in cut 3, which keeps its path's (the test gives every
// path an unusual one).
TEST(SixthSceneFrames, EveryCutOfTheTable) {
  struct Cut {
    float u, end;
    int path;
    D3DXVECTOR3 lightEye, lightOffset;
    float lightFov, focus;
    bool keepsFar;
  };
  const Cut cuts[] = {{1.0f, 3.25f, 0, {0, 100, 0}, {0, 0, 0}, 1.5707964f, 0.3f, false},
                      {4.0f, 4.6f, 1, {-90, 100, 80}, {0, 0, 0}, 0.62831855f, 0.3f, false},
                      {5.0f, 6.46f, 2, {-90, 100, 80}, {-30, 0, -30}, 1.5707964f, 0.3f, false},
                      {7.0f, 8.9f, 5, {-50, 40, 0}, {0, 0, 0}, 1.5707964f, 0.8f, true},
                      {10.0f, 10.9f, 3, {-30, 40, 0}, {0, 0, 0}, 1.5707964f, 0.3f, false},
                      {12.0f, 12.9f, 4, {-50, 40, 0}, {40, 0, 0}, 1.5707964f, 0.5f, false}};
  timeline::MainStage& stage = *Show::instance().main;
  for (const Cut& c : cuts) {
    assets::CameraPath& path = stage.vallyCameras[std::size_t(c.path)];
    const float savedFar = path.camera.farPlane;
    path.camera.farPlane = 7777.0f;
    Frame frame = drawDirect([u = c.u](Show& show) { scenes::sixthScene(*show.main, u, 130.0f); });
    path.camera.farPlane = savedFar;
    EXPECT_EQ(render::currentCamera().farPlane, c.keepsFar ? 7777.0f : 10000.0f) << c.u;
    const assets::Camera cam = sampled(stage.vallyCameras[std::size_t(c.path)], 5.0f * (c.end - c.u));
    ASSERT_EQ(frame.draws.size(), 20u) << c.u;
    EXPECT_TRUE(pointsNear(eyeOf(frame.draws[9].matrix("matView")), cam.eye, 1e-2f)) << c.u;
    EXPECT_EQ(frame.draws[9].vector("LightPosition"), c.lightEye) << c.u;
    EXPECT_TRUE(matricesNear(frame.draws[9].matrix("matLightViewProjection"),
                             lookAt(c.lightEye, cam.target + c.lightOffset) * perspective(c.lightFov, 1, 10000), 1e-3f))
        << c.u;
    EXPECT_EQ(frame.draws[4].value("Focus"), c.focus) << c.u;
  }
}

}  // namespace
