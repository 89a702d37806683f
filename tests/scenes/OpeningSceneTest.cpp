// The opening scene: title cards and fade by scene time, and whole frames on the trace device
// checked step by step against what the scene draws.
#include <gtest/gtest.h>

#include <cmath>

#include "render/Cameras.h"
#include "scenes/OpeningScene.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

// blink1 fades in over 4 s, holds to 4.24 and is gone at 5.49; blink2 is full until it fades
// before 9.57; blink3 starts at 0.504 and is gone at 10.2; blink1 comes back full and is gone at
// 12.2. Far past the last card time nothing is read past the table. The black card fades in 2 s.
TEST(OpeningCards, TakeTurnsAndFadeAtTheCardTimes) {
  struct Case {
    float a;
    const char* card;
    float opacity;
  } cases[] = {{0, "blink1", 0},           {2, "blink1", 0.5f},        {3.99f, "blink1", 0.9975f},
               {4, "blink1", 1},           {4.24f, "blink1", 1},       {4.865f, "blink1", 0.5f},
               {5.49f, "blink1", 0},       {after(5.49f), "blink2", 1}, {8.945f, "blink2", 0.5f},
               {9.57f, "blink2", 0},       {after(9.57f), "blink3", 0.504f}, {10.2f, "blink3", 0},
               {after(10.2f), "blink1", 1}, {11.2f, "blink1", 0.5f},   {12.2f, "blink1", 0},
               {21.4f, "blink1", 0},       {4000, "blink1", 0},        {1e9f, "blink1", 0}};
  for (const Case& c : cases) {
    EXPECT_STREQ(scenes::openingTitleCard(c.a).texture, c.card) << c.a;
    EXPECT_NEAR(scenes::openingTitleCard(c.a).opacity, c.opacity, 1e-4f) << c.a;
  }
  EXPECT_EQ(scenes::openingCardIndex(1e9f), 3);
  EXPECT_EQ(scenes::openingCardIndex(-5), 0);
  for (auto [a, fade] : {std::pair{-1.0f, 0.0f}, {0.0f, 0.0f}, {1.0f, 0.5f}, {2.0f, 1.0f}, {20.0f, 1.0f}})
    EXPECT_FLOAT_EQ(scenes::openingFadeIn(a), fade) << a;
}

// A music time in the first slot whose spectrum leaves the normal renderer in charge.
double normalOpeningTime(double from) {
  for (double t = from; t < 21.4; t += 1.0 / 30.0)
    if (timeline::spectrumTrack().band(0, static_cast<float>(t)) <= 0.1f) return t;
  return -1.0;
}

Frame drawOpening(float a) {
  return drawDirect([a](Show& show) { scenes::openingScene(*show.main, a, a); });
}

// The frame in the order of its steps: the 3D view, the glow through targets B and A, the
// distortion of the screen copy, then title card, black card and overlay, one present at the end;
// each draw with its effect, pass, target and render states, and the screen passes' inputs.
TEST(OpeningFrame, WalksItsStepsInOrder) {
  const double t = normalOpeningTime(7.0);
  ASSERT_GT(t, 0.0);
  Frame frame = frameAt(t);
  EXPECT_EQ(frame.renderer, "openingScene");
  EXPECT_EQ(frame.args, (std::vector<float>{static_cast<float>(t), static_cast<float>(t)}));
  EXPECT_TRUE(frame.messages.empty()) << frame.messages.front();
  EXPECT_EQ(frame.steps, (std::vector<std::string>{
                             "beginScene", "clear backbuffer 0x00000000",
                             "draw quarvdemo\\render3\\hemi.SCENEGeoSphere01.mesh", "draw MainStage.planeGrids[0]",
                             "endScene", "stretchRect backbuffer halfTargetB", "setRenderTarget halfTargetA",
                             "beginScene", "draw fullScreenQuad", "endScene", "setRenderTarget backbuffer",
                             "beginScene", "draw fullScreenQuad", "endScene", "stretchRect backbuffer screenCopyTarget",
                             "beginScene", "draw distortionGrid", "draw fullScreenQuad", "draw fullScreenQuad",
                             "draw fullScreenQuad", "endScene", "present"}));
  const std::string card = "demo1_text.fx/0 fullScreenQuad @backbuffer CW false true ADD SRCALPHA INVSRCALPHA";
  EXPECT_EQ(frame.summaries(), (std::vector<std::string>{
                                   "demo1_text.fx/0 hemi.SCENEGeoSphere01.mesh @backbuffer CCW false false",
                                   "r1_line.fx/0 MainStage.planeGrids[0] @backbuffer NONE true false",
                                   "blur.fx/0 fullScreenQuad @halfTargetA NONE false false",
                                   "texture.fx/1 fullScreenQuad @backbuffer NONE false true ADD ONE ONE",
                                   "render3_post.fx/1 distortionGrid @backbuffer NONE false false", card, card, card}));
  ASSERT_EQ(frame.draws.size(), 8u);
  EXPECT_EQ(frame.draws[2].param("tex0"), "halfTargetB");
  EXPECT_EQ(frame.draws[2].values("ps"), (std::vector<float>{1.0f / 320, 1.0f / 240}));
  EXPECT_EQ(frame.draws[2].value("blur"), 2.0f);
  EXPECT_EQ(frame.draws[3].param("tex0"), "halfTargetA");
  EXPECT_EQ(frame.draws[4].param("tex0"), "screenCopyTarget");
  EXPECT_FLOAT_EQ(frame.draws[4].value("anim"), static_cast<float>(t));
  EXPECT_EQ(frame.draws[5].param("tex0"), "quarvdemo\\render1\\blink2.png");
  EXPECT_EQ(frame.draws[6].param("tex0"), "quarvdemo\\render6\\black.png");
  EXPECT_EQ(frame.draws[6].value("alpha1"), 0.0f);
  EXPECT_EQ(frame.draws[7].param("tex0"), "quarvdemo\\overlay02.png");
  EXPECT_EQ(frame.draws[7].value("alpha1"), 1.0f);
}

// Sky, ribbon, glow and distortion follow the bands; the ribbon is lit from (1, 100, 1); the camera
// is the intro path at twice the scene time, its far plane at 100000; the sky dome is scaled 2 and
// lowered 50 through that camera.
TEST(OpeningFrame, SpectrumCameraAndSky) {
  const float a = static_cast<float>(normalOpeningTime(14.0));
  ASSERT_GT(a, 0.0f);
  Frame frame = drawOpening(a);
  ASSERT_EQ(frame.draws.size(), 8u);
  const float s0 = timeline::spectrumTrack().band(0, a), s2 = timeline::spectrumTrack().band(2, a);
  const Draw &sky = frame.draws[0], &ribbon = frame.draws[1];
  EXPECT_EQ(sky.param("tex0"), "quarvdemo\\render1\\sky04.png");
  EXPECT_FLOAT_EQ(sky.value("alpha1"), 3 * s2 + 0.6f);
  EXPECT_EQ(ribbon.param("tex0"), "quarvdemo\\render1\\linetextureg.png");
  EXPECT_FLOAT_EQ(ribbon.value("ambient"), 12 * s2 + 0.2f);
  EXPECT_EQ(ribbon.values("LightPosition"), (std::vector<float>{1, 100, 1}));
  EXPECT_FLOAT_EQ(frame.draws[3].value("alpha"), 6 * s2 + 1.0f);
  EXPECT_FLOAT_EQ(frame.draws[4].value("amplitude"), 0.05f * std::sin(s0));
  EXPECT_FLOAT_EQ(frame.draws[4].value("freq"), 50000.0f * s0);

  assets::CameraPath intro = Show::instance().main->introCamera;
  render::sampleCamera(intro, 2 * a);
  const D3DXMATRIX view = ribbon.matrix("matView");
  const D3DXVECTOR3 eye = eyeOf(view);
  EXPECT_NEAR(eye.x, intro.camera.eye.x, 0.05f);
  EXPECT_NEAR(eye.y, intro.camera.eye.y, 0.05f);
  EXPECT_NEAR(eye.z, intro.camera.eye.z, 0.05f);
  // The ribbon's world is a quarter turn about x, so P = V^-1 Rx(-pi/2) (world x V x P).
  D3DXMATRIX unpitch;
  D3DXMatrixRotationX(&unpitch, -1.5707964f);
  const D3DXMATRIX projection = inverse(view) * (unpitch * ribbon.matrix("matWorldViewProjection"));
  EXPECT_NEAR(planesOf(view, unpitch * ribbon.matrix("matWorldViewProjection")).farPlane, 100000.0f, 5000.0f);
  const D3DXMATRIX skyWorld = sky.matrix("matProjection") * inverse(projection) * inverse(view);
  EXPECT_NEAR(skyWorld._11, 2.0f, 1e-3f);
  EXPECT_NEAR(skyWorld._22, 2.0f, 1e-3f);
  EXPECT_NEAR(skyWorld._42, -50.0f, 0.05f);
}

// At a = 0 the black card covers everything and the first card is invisible; at a = 2 the black
// card is gone; the card turns at 5.49, 9.57 and 10.2 s reach the frame.
TEST(OpeningFrame, FadeAndCardsAtTheirEdges) {
  struct Case {
    float a;
    const char* card;
    float cardAlpha, blackAlpha;
  } cases[] = {{0, "blink1", 0, 1},          {2, "blink1", 0.5f, 0},          {5.49f, "blink1", 0, 0},
               {after(5.49f), "blink2", 1, 0}, {after(9.57f), "blink3", 0.504f, 0}, {after(10.2f), "blink1", 1, 0}};
  for (const Case& c : cases) {
    Frame frame = drawOpening(c.a);
    ASSERT_EQ(frame.draws.size(), 8u) << c.a;
    EXPECT_EQ(frame.draws[5].param("tex0"), std::string("quarvdemo\\render1\\") + c.card + ".png") << c.a;
    EXPECT_NEAR(frame.draws[5].value("alpha1"), c.cardAlpha, 1e-4f) << c.a;
    EXPECT_FLOAT_EQ(frame.draws[6].value("alpha1"), c.blackAlpha) << c.a;
  }
}

// With a silent spectrum the sky runs at 0.6, the ribbon's ambient at 0.2, the glow at 1, and the
// distortion has neither amplitude nor frequency.
TEST(OpeningFrame, FixedSpectrumGivesTheRestingValues) {
  FixedSpectrum silent;
  ASSERT_TRUE(silent.loaded);
  Frame frame = drawOpening(9);
  ASSERT_EQ(frame.draws.size(), 8u);
  EXPECT_FLOAT_EQ(frame.draws[0].value("alpha1"), 0.6f);
  EXPECT_FLOAT_EQ(frame.draws[1].value("ambient"), 0.2f);
  EXPECT_FLOAT_EQ(frame.draws[3].value("alpha"), 1.0f);
  EXPECT_EQ(frame.draws[4].value("amplitude"), 0.0f);
  EXPECT_EQ(frame.draws[4].value("freq"), 0.0f);
}

// The current camera is the path's camera, near plane and all, with the far plane forced to 100000
// whatever the file says. The light camera gets eye, target and field of view; its up vector,
// near and far planes stay as the scene found them.
TEST(OpeningFrame, CameraAndLightFieldsItSetsAndKeeps) {
  assets::Camera& path = Show::instance().main->introCamera.camera;
  assets::Camera& light = render::lightCamera();
  const assets::Camera savedPath = path, savedLight = light;
  path.farPlane = 500.0f;
  path.nearPlane = 2.5f;
  light.nearPlane = 3.0f;
  light.farPlane = 777.0f;
  light.up = {0.0f, 0.0f, 1.0f};
  drawOpening(9);
  EXPECT_EQ(render::currentCamera().farPlane, 100000.0f);
  EXPECT_EQ(render::currentCamera().nearPlane, 2.5f);
  EXPECT_EQ(light.eye, D3DXVECTOR3(1, 100, 1));
  EXPECT_EQ(light.target, D3DXVECTOR3(0, 0, 0));
  EXPECT_FLOAT_EQ(light.fov, 1.2566371f);
  EXPECT_EQ(light.nearPlane, 3.0f);
  EXPECT_EQ(light.farPlane, 777.0f);
  EXPECT_EQ(light.up, D3DXVECTOR3(0, 0, 1));
  path = savedPath;
  light = savedLight;
}

}  // namespace
