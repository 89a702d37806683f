// The credits: card choice and flash, the gliding camera and light, the card's world and the
// fade-in, and whole frames on the trace device checked step by step.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "render/Cameras.h"
#include "scenes/CreditsScene.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

constexpr const char* kGrotte = "quarvdemo\\render1\\grotte.SCENEPlane01.mesh";

// A card change time still shows the old card with the flash at full; the instant after shows the
// new card with no flash. The fifth card comes only after 266.35 s and the count never runs past
// it. The black card fades out over the first two seconds.
TEST(CreditsCards, ChangeJustAfterEachEntry) {
  EXPECT_EQ(scenes::creditsCard(253.46f), 0);
  for (int i = 0; i < 4; ++i) {
    const float t = scenes::kCreditsCardTimes[static_cast<std::size_t>(i)];
    EXPECT_EQ(scenes::creditsCard(t), i) << t;
    EXPECT_EQ(scenes::creditsFlash(t), 1.0f) << t;
    EXPECT_EQ(scenes::creditsCard(after(t)), i + 1) << t;
    EXPECT_NEAR(scenes::creditsFlash(t - 0.5f), 0.5f, 1e-4f) << t;
    EXPECT_EQ(scenes::creditsFlash(t - 1.0f), 0.0f) << t;
  }
  EXPECT_EQ(scenes::creditsFlash(after(256.7f)), 0.0f);
  EXPECT_STREQ(scenes::kCreditsCards[static_cast<std::size_t>(scenes::creditsCard(266.36f))], "tinkerfolks8");
  for (float b : {1000.5f, 1e6f}) EXPECT_EQ(scenes::creditsCard(b), 4) << b;
  EXPECT_EQ(scenes::creditsBlackOpacity(0.0f), 1.0f);
  EXPECT_NEAR(scenes::creditsBlackOpacity(1.0f), 0.5f, 1e-6f);
  EXPECT_EQ(scenes::creditsBlackOpacity(2.0f), 0.0f);
}

// The camera writes eye, target and field of view and leaves up, near and far; the light follows
// the card along z. The card grid's corner (15, 7.5) is tilted 72 degrees about x, scaled and set
// 15 above the ground at the card's z, so the shadow copy is 2.7 / 2.4 times the card on screen.
TEST(CreditsCamera, GlidesWithTheCard) {
  assets::Camera camera;
  camera.up = {0.0f, 0.0f, 1.0f};
  camera.nearPlane = 3.0f;
  camera.farPlane = 77.0f;
  scenes::placeCreditsCamera(camera, 4.0f);
  EXPECT_TRUE(pointsNear(camera.eye, {0.0f, 30.0f, -28.0f}, 1e-5f));
  EXPECT_TRUE(pointsNear(camera.target, {0.0f, 0.0f, -18.0f}, 1e-5f));
  EXPECT_FLOAT_EQ(camera.fov, 1.5707964f);
  EXPECT_TRUE(camera.up.z == 1.0f && camera.nearPlane == 3.0f && camera.farPlane == 77.0f);
  assets::Camera light;
  light.nearPlane = 2.0f;
  scenes::placeCreditsLight(light, 12.9f);
  EXPECT_TRUE(pointsNear(light.eye, {1.0f, 100.0f, 8.7f}, 1e-4f));
  EXPECT_TRUE(pointsNear(light.target, {0.0f, 20.0f, 8.7f}, 1e-4f));
  EXPECT_FLOAT_EQ(light.fov, 1.0471976f);
  EXPECT_EQ(light.nearPlane, 2.0f);
  const float tilt = 1.2566371f;
  for (float scale : {2.4f, 2.7f}) {
    const D3DXMATRIX w = scenes::creditsCardWorld(2.0f, scale);
    D3DXVECTOR3 corner{15.0f, 7.5f, 0.0f}, out;
    D3DXVec3TransformCoord(&out, &corner, &w);
    const D3DXVECTOR3 expected{15.0f * scale, 15.0f + 7.5f * scale * std::cos(tilt),
                               -24.0f + 7.5f * scale * std::sin(tilt)};
    EXPECT_TRUE(pointsNear(out, expected, 1e-4f)) << scale;
  }
}

// 258 s ("music", faded in, no flash): the card into the shadow target from the light, the lit
// ground reading it, the card under minimum blending, the three cards and one present.
TEST(CreditsFrame, WalksItsStepsInOrder) {
  const Frame f = frameAt(258.0);
  EXPECT_EQ(f.renderer, "creditsScene");
  EXPECT_TRUE(f.messages.empty()) << f.messages.front();
  std::vector<std::string> seen;
  for (const std::string& s : f.steps)
    if (s.rfind("draw", 0) != 0 && s != "beginScene" && s != "endScene") seen.push_back(s);
  EXPECT_EQ(seen, (std::vector<std::string>{"setRenderTarget shadowTarget", "clear shadowTarget 0x00FFFFFF",
                                            "setRenderTarget backbuffer", "clear backbuffer 0x00000000", "present"}));
  const float a = 258.0f - 253.45f, z = 3.0f * a - 30.0f;
  const auto card = f.drawsOf("MainStage.smallGrid");
  ASSERT_EQ(card.size(), 2u);
  const Draw ground = f.drawsOf(kGrotte).at(0);

  EXPECT_EQ(card[0].target + " " + card[0].effect + " " + std::to_string(card[0].pass),
            "shadowTarget quarvdemo\\shaders\\render3_organ.fx 1");
  EXPECT_EQ(card[0].param("tex0"), "quarvdemo\\render8\\music.png");
  EXPECT_NEAR(card[0].value("pump"), a, 1e-4f);
  EXPECT_EQ(card[0].state("ZENABLE") + " " + card[0].state("ALPHABLENDENABLE"), "false false");
  EXPECT_TRUE(matricesNear(card[0].matrix("matProjection"),
                           scenes::creditsCardWorld(a, 2.7f) * ground.matrix("matLightViewProjection"), 1e-4f));

  EXPECT_EQ(ground.effect + " " + std::to_string(ground.pass), "quarvdemo\\shaders\\r1_bakke.fx 2");
  EXPECT_EQ(ground.state("CULLMODE"), "CCW");
  EXPECT_EQ(ground.values("alpha1"), std::vector<float>{2.8f});
  EXPECT_EQ(
      ground.param("tex0") + " " + ground.param("tex1") + " " + ground.param("tex2") + " " + ground.param("tex3"),
      "quarvdemo\\render4\\cubediffuse.png quarvdemo\\spotlight01.png shadowTarget quarvdemo\\render1\\normal.png");
  const std::vector<float> light = ground.values("LightPosition");
  ASSERT_EQ(light.size(), 3u);
  EXPECT_TRUE(pointsNear({light[0], light[1], light[2]}, {1.0f, 100.0f, z}, 1e-4f));
  EXPECT_TRUE(pointsNear(eyeOf(ground.matrix("matView")), {0.0f, 30.0f, z - 10.0f}, 1e-3f));

  EXPECT_EQ(card[1].target, "backbuffer");
  EXPECT_EQ(card[1].state("BLENDOP") + " " + card[1].state("SRCBLEND") + " " + card[1].state("DESTBLEND") + " " +
                card[1].state("CULLMODE") + " " + card[1].state("ZENABLE"),
            "MIN INVSRCCOLOR SRCCOLOR NONE true");
  EXPECT_TRUE(matricesNear(card[1].matrix("matProjection"),
                           scenes::creditsCardWorld(a, 2.4f) * ground.matrix("matWorldViewProjection"), 1e-4f));
  const auto quads = f.drawsOf("fullScreenQuad");
  ASSERT_EQ(quads.size(), 3u);
  EXPECT_EQ(quads[0].param("tex0") + " " + quads[1].param("tex0") + " " + quads[2].param("tex0"),
            "quarvdemo\\render6\\black.png quarvdemo\\white.png quarvdemo\\overlay02.png");
  EXPECT_TRUE(quads[0].value("alpha1") == 0.0f && quads[1].value("alpha1") == 0.0f);
}

// The camera's near plane comes from whatever drew before and is left alone; card and flash
// switch at the entry; the picture starts black; 266.35 s is still the fourth card at full flash.
TEST(CreditsFrame, EdgesOfTheCardTableAndThePlanesLeftAlone) {
  assets::Camera& camera = render::currentCamera();
  const assets::Camera saved = camera;
  camera.nearPlane = 2.0f;
  const Frame f = frameAt(256.7);
  const float nearAfter = camera.nearPlane;
  camera = saved;
  EXPECT_EQ(nearAfter, 2.0f);
  const Draw ground = f.drawsOf(kGrotte).at(0);
  EXPECT_NEAR(planesOf(ground.matrix("matView"), ground.matrix("matWorldViewProjection")).nearPlane, 2.0f, 1e-3f);
  EXPECT_EQ(f.drawsOf("MainStage.smallGrid").at(1).param("tex0"), "quarvdemo\\render8\\producer.png");
  EXPECT_EQ(f.drawsOf("fullScreenQuad").at(1).value("alpha1"), 1.0f);
  const Frame next = frameAt(256.71);
  EXPECT_EQ(next.drawsOf("MainStage.smallGrid").at(1).param("tex0"), "quarvdemo\\render8\\music.png");
  EXPECT_EQ(next.drawsOf("fullScreenQuad").at(1).value("alpha1"), 0.0f);
  EXPECT_NEAR(frameAt(253.46).drawsOf("fullScreenQuad").at(0).value("alpha1"), 1.0f, 0.01f);
  const Frame last = frameAt(266.35);
  EXPECT_EQ(last.renderer, "creditsScene");
  EXPECT_EQ(last.drawsOf("MainStage.smallGrid").at(1).param("tex0"), "quarvdemo\\render8\\organdonor.png");
  EXPECT_EQ(last.drawsOf("fullScreenQuad").at(1).value("alpha1"), 1.0f);
}

}  // namespace
