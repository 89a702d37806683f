// The opening flash: its picture cycle by music time, and whole frames on the trace device: the
// shadow map of the card, the lit ground, the card by minimum blending and the overlay.
#include <gtest/gtest.h>

#include <cmath>

#include "render/Cameras.h"
#include "render/Transforms.h"
#include "scenes/OpeningFlash.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

// 0 s organ1f, 0.15 s organ5cf, 0.25 s organ4cf, 0.27 s organ1f again; over the whole slot the
// picture follows the 0.26 s cycle of 0.1, 0.1 and 0.06 s (worked out here in double precision,
// skipping times within a hair of a change, where float rounding may pick either side); negative
// and huge times stay on the table.
TEST(OpeningFlashPicture, CyclesThroughTheThreePictures) {
  for (auto [x, picture] : {std::pair{0.0f, 0}, {0.15f, 1}, {0.25f, 2}, {0.27f, 0}, {0.4f, 1}, {0.53f, 0}})
    EXPECT_EQ(scenes::openingFlashPicture(x), picture) << x;
  for (int step = 1; step <= 21400; ++step) {
    const double x = step * 0.001, phase = std::fmod(10.0 * x, 2.6);
    if (std::fabs(phase - std::round(phase)) < 1e-3 || std::fabs(phase - 2.6) < 1e-3) continue;
    EXPECT_EQ(scenes::openingFlashPicture(static_cast<float>(x)), static_cast<int>(phase)) << x;
  }
  for (float x : {-0.05f, -21.4f, 1e7f}) {
    EXPECT_GE(scenes::openingFlashPicture(x), 0) << x;
    EXPECT_LE(scenes::openingFlashPicture(x), 2) << x;
  }
}

// A frame the schedule gives the flash (the first loud kick): the pump argument, the steps in
// order, the ground lit at 18 x band 0 through the shadow map from the light at (1, 100, -30), the
// camera at (0, 30, -40), and the two cards at (0, 15, -30) lying flat: the larger one (1.7)
// through the light, the smaller (1.4) through the camera.
TEST(OpeningFlashFrame, ShadowOfTheCardOnTheLitGround) {
  Show::instance();  // loads the generated spectrum before it is searched
  double t = 0.5;
  while (t < 21.4 && timeline::spectrumTrack().band(0, static_cast<float>(t)) <= 0.1f) t += 1.0 / 30.0;
  ASSERT_LT(t, 21.4) << "the music has no kick loud enough for the flash";
  Frame frame = frameAt(t);
  ASSERT_EQ(frame.renderer, "openingFlash");
  ASSERT_EQ(frame.args.size(), 2u);
  EXPECT_NEAR(frame.args[0], (t - 20.54) * 5, 1e-4);
  EXPECT_TRUE(frame.messages.empty()) << frame.messages.front();
  EXPECT_EQ(frame.steps, (std::vector<std::string>{
                             "setRenderTarget shadowTarget", "beginScene", "clear shadowTarget 0x00FFFFFF",
                             "draw MainStage.smallGrid", "endScene", "setRenderTarget backbuffer", "beginScene",
                             "clear backbuffer 0x00000000", "draw quarvdemo\\render1\\grotte.SCENEPlane01.mesh",
                             "draw MainStage.smallGrid", "draw fullScreenQuad", "endScene", "present"}));
  EXPECT_EQ(frame.summaries(),
            (std::vector<std::string>{
                "render3_organ.fx/1 MainStage.smallGrid @shadowTarget NONE false false",
                "r1_bakke.fx/2 grotte.SCENEPlane01.mesh @backbuffer CCW true false",
                "render3_organ.fx/1 MainStage.smallGrid @backbuffer NONE true true MIN INVSRCCOLOR SRCCOLOR",
                "demo1_text.fx/0 fullScreenQuad @backbuffer CW false true ADD SRCALPHA INVSRCALPHA"}));
  ASSERT_EQ(frame.draws.size(), 4u);
  const Draw &shadowCard = frame.draws[0], &ground = frame.draws[1], &card = frame.draws[2];
  const char* files[3] = {"organ1.jpg", "organ5c.png", "organ4c.png"};
  const std::string picture = files[scenes::openingFlashPicture(static_cast<float>(t))];
  EXPECT_EQ(shadowCard.param("tex0"), "quarvdemo\\renderFSeries\\" + picture);
  EXPECT_EQ(card.param("tex0"), shadowCard.param("tex0"));
  EXPECT_NEAR(card.value("pump"), frame.args[0], 1e-5);
  EXPECT_FLOAT_EQ(ground.value("alpha1"), 18 * timeline::spectrumTrack().band(0, static_cast<float>(t)));
  for (auto [tex, file] : {std::pair{"tex0", "quarvdemo\\render4\\cubediffuse.png"}, {"tex1", "quarvdemo\\spotlight01.png"},
                           {"tex2", "shadowTarget"}, {"tex3", "quarvdemo\\render1\\normal.png"}})
    EXPECT_EQ(ground.param(tex), file) << tex;
  EXPECT_EQ(ground.values("LightPosition"), (std::vector<float>{1, 100, -30}));
  const D3DXVECTOR3 eye = eyeOf(ground.matrix("matView"));
  EXPECT_NEAR(eye.x, 0.0f, 1e-3f);
  EXPECT_NEAR(eye.y, 30.0f, 1e-3f);
  EXPECT_NEAR(eye.z, -40.0f, 1e-3f);

  const D3DXMATRIX shadowWorld = shadowCard.matrix("matProjection") * inverse(ground.matrix("matLightViewProjection"));
  const D3DXMATRIX cardWorld = card.matrix("matProjection") * inverse(ground.matrix("matWorldViewProjection"));
  const D3DXMATRIX shadowExpected = render::place({0, 15, -30}, {0, 1.5707964f, 0}, 1.7f);
  const D3DXMATRIX cardExpected = render::place({0, 15, -30}, {0, 1.5707964f, 0}, 1.4f);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR((&shadowWorld._11)[i], (&shadowExpected._11)[i], 2e-3f) << "shadow card " << i;
    EXPECT_NEAR((&cardWorld._11)[i], (&cardExpected._11)[i], 2e-3f) << "visible card " << i;
  }
  EXPECT_EQ(frame.draws[3].param("tex0"), "quarvdemo\\overlay02.png");
}

// The flash writes the camera's eye, target and field of view only: up, near and far stay as the
// frame before left them. With a silent spectrum the ground gets no light.
TEST(OpeningFlashFrame, KeepsTheCameraPlanesAndFollowsBandZero) {
  assets::Camera& camera = render::currentCamera();
  camera.nearPlane = 0.75f;
  camera.farPlane = 4321.0f;
  FixedSpectrum silent;
  ASSERT_TRUE(silent.loaded);
  Frame frame = drawDirect([](Show& show) { scenes::openingFlash(*show.main, -50.0f, 10.54f); });
  EXPECT_EQ(camera.nearPlane, 0.75f);
  EXPECT_EQ(camera.farPlane, 4321.0f);
  EXPECT_EQ(camera.target, D3DXVECTOR3(0, 0, -30));
  EXPECT_FLOAT_EQ(camera.fov, 1.5707964f);
  EXPECT_EQ(render::lightCamera().target, D3DXVECTOR3(0, 20, -30));
  EXPECT_FLOAT_EQ(render::lightCamera().fov, 1.0471976f);
  ASSERT_EQ(frame.draws.size(), 4u);
  EXPECT_EQ(frame.draws[1].value("alpha1"), 0.0f);
}

}  // namespace
