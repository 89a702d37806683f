// The eighth scene: camera cuts, the beat envelope, the fade, the sphere columns, and whole frames
// on the trace device checked step by step.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/win32/Keyboard.h"
#include "render/Cameras.h"
#include "scenes/EighthScene.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

constexpr const char* kPlane = "quarvdemo\\render6\\endorf.SCENEPlane03.mesh";
constexpr const char* kSphere = "quarvdemo\\render6\\dorf.SCENEGeoSphere01.mesh";
constexpr const char* kDof = "quarvdemo\\shaders\\demo1_depthoffield.fx";
constexpr const char* kEndorf = "quarvdemo\\shaders\\render5_endorf.fx";

// Shots 1, 2, 0, 1, 2, 0, 1, 0, 1; each cut lands 0.1 s before its entry and the instant itself
// still shows the old shot. Times past the table still name a loaded path.
TEST(EighthSceneCamera, ShotsFollowTheCutTable) {
  const float cutInstants[] = {177.36f, 182.68f, 188.04f, 190.7f, 198.7f, 204.03f};
  const int paths[] = {1, 2, 0, 1, 2, 0, 1, 0, 1};
  EXPECT_EQ(scenes::eighthCameraPath(176.5f), 1);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(scenes::eighthCameraPath(cutInstants[i]), paths[i]) << cutInstants[i];
    EXPECT_EQ(scenes::eighthCameraPath(after(cutInstants[i])), paths[i + 1]) << cutInstants[i];
  }
  EXPECT_EQ(scenes::eighthCameraPath(209.30f), 1);
  EXPECT_EQ(scenes::eighthCameraPath(209.36f), 0);
  EXPECT_EQ(scenes::eighthCameraPath(212.03f), 1);
  for (float b : {-5.0f, 999.95f, 5000.0f}) EXPECT_LE(unsigned(scenes::eighthCameraPath(b)), 2u) << b;
}

// On each beat (0.3 s before its entry) the flash jumps to 1 and the sphere time by +1; 0.32 s
// later the flash is gone and the sphere time has climbed one more besides the music's 0.32.
TEST(EighthSceneBeats, FlashAndSphereSnapOnEveryBeat) {
  for (std::size_t i = 0; i + 1 < scenes::kEighthSceneBeats.size(); ++i) {
    const float beat = scenes::kEighthSceneBeats[i] - 0.3f;
    const bool settledBefore = i == 0 || beat - (scenes::kEighthSceneBeats[i - 1] - 0.3f) > 0.32f;
    const bool settlesAfter = scenes::kEighthSceneBeats[i + 1] - 0.3f - beat > 0.32f;
    const scenes::BeatEnvelope on = scenes::eighthBeatEnvelope(after(beat));
    EXPECT_NEAR(on.flash, 1.0f, 1e-4f) << beat;
    if (settledBefore) {
      EXPECT_EQ(scenes::eighthBeatEnvelope(beat).flash, 0.0f) << beat;
      EXPECT_NEAR(on.sphereTime - scenes::eighthBeatEnvelope(beat).sphereTime, 1.0f, 1e-3f) << beat;
    }
    if (settlesAfter) {
      EXPECT_NEAR(scenes::eighthBeatEnvelope(beat + 0.1f).flash, 1.0f - std::sin(0.5f), 1e-3f) << beat;
      EXPECT_EQ(scenes::eighthBeatEnvelope(beat + 0.32f).flash, 0.0f) << beat;
      EXPECT_NEAR(scenes::eighthBeatEnvelope(beat + 0.32f).sphereTime - on.sphereTime, 1.32f, 1e-3f) << beat;
    }
  }
  // Before the first beat: k = 1 and the envelope at rest.
  EXPECT_EQ(scenes::eighthBeatEnvelope(175.9f).flash, 0.0f);
  EXPECT_NEAR(scenes::eighthBeatEnvelope(175.9f).sphereTime, 175.9f + 3.0f, 1e-4f);
}

TEST(EighthSceneFade, BlackOnlyOverTheLastTwoSeconds) {
  EXPECT_EQ(scenes::eighthFadeToBlack(218.0f), 0.0f);
  EXPECT_NEAR(scenes::eighthFadeToBlack(219.0f), 0.5f, 1e-5f);
  EXPECT_EQ(scenes::eighthFadeToBlack(220.0f), 1.0f);
  EXPECT_EQ(scenes::eighthFadeToBlack(230.0f), 1.0f);
}

// Column heights are 50 x LatticeNoise(i); sphere heights wrap within 70 units, so every sphere
// stays in [-10, 60] and one climbing past the wrap point is drawn 70 lower; each sphere stands
// on its column's anchor (x, z) moved by (4, 8), scaled 0.1 and turned by i + j + s about all three axes.
TEST(EighthSceneSpheres, HeightsWrapAndWorlds) {
  const float h[8] = {-14.0895f, -11.3187f, 14.6816f, -12.8593f, 29.288f, -35.6471f, 15.5648f, 6.1531f};
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(scenes::sphereColumnHeight(i), h[i], 1e-3f) << i;
  const float sAt69 = (69.0f - h[0]) / 10.0f, sAt75 = (75.0f - h[0]) / 10.0f;
  EXPECT_NEAR(scenes::sphereHeight(0, 0, sAt69), 59.0f, 1e-3f);
  EXPECT_NEAR(scenes::sphereHeight(0, 0, sAt75), -5.0f, 1e-3f);
  EXPECT_NEAR(scenes::sphereHeight(0, 2, sAt75), 35.0f, 1e-3f);  // 115 wraps to 45
  for (float s = 176.0f; s < 300.0f; s += 0.37f)
    for (int i = 0; i < 8; ++i)
      for (int j = 0; j < 3; ++j) {
        const float y = scenes::sphereHeight(i, j, s);
        EXPECT_TRUE(y >= -10.0f && y <= 60.001f) << i << j << " at " << s << ": " << y;
      }
  const float s = 190.25f;
  const std::pair<float, float> anchors[8] = {{-30.9f, 34.6f},   {11.5f, 62.1f},   {64.0f, 54.6f},   {19.0f, -12.8f},
                                              {-68.4f, -27.84f}, {-20.9f, -47.8f}, {-35.9f, -82.8f}, {66.5f, -65.3f}};
  for (int i = 0; i < 8; ++i) {
    const D3DXMATRIX column = scenes::sphereWorld(i, 1, s);
    EXPECT_NEAR(column._41, anchors[i].first + 4.0f, 1e-4f) << i;
    EXPECT_NEAR(column._43, anchors[i].second + 8.0f, 1e-4f) << i;
  }
  const D3DXMATRIX w = scenes::sphereWorld(3, 2, s);
  D3DXMATRIX spin;
  D3DXMatrixRotationYawPitchRoll(&spin, 5.0f + s, 5.0f + s, 5.0f + s);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(w.m[r][c], 0.1f * spin.m[r][c], 1e-5f) << r << c;
  // The mirror turns the ground at y = 4 into the ceiling at y = 56.
  const D3DXMATRIX mirror = scenes::eighthMirrorWorld();
  D3DXVECTOR3 ground{12.0f, 4.0f, -7.0f}, ceiling;
  D3DXVec3TransformCoord(&ceiling, &ground, &mirror);
  EXPECT_TRUE(pointsNear(ceiling, {12.0f, 56.0f, -7.0f}, 1e-5f));
}

// 195 s (path 03 at scene time 19, no flash, no fade): depth target, scene, copy, blur, depth of
// field, the three cards, one present; the depth pass draws what the scene draws.
TEST(EighthSceneFrame, WalksItsStepsInOrder) {
  const Frame f = frameAt(195.0);
  EXPECT_EQ(f.renderer, "eighthScene");
  EXPECT_TRUE(f.messages.empty()) << f.messages.front();
  std::vector<std::string> seen;
  for (const std::string& s : f.steps)
    if (s.rfind("draw", 0) != 0 && s != "beginScene" && s != "endScene") seen.push_back(s);
  EXPECT_EQ(seen, (std::vector<std::string>{"setRenderTarget depthTarget", "clear depthTarget 0x00FFFFFF",
                                            "setRenderTarget backbuffer", "clear backbuffer 0x00000000",
                                            "stretchRect backbuffer halfTargetB", "setRenderTarget halfTargetA",
                                            "setRenderTarget backbuffer", "present"}));

  const auto depthGround = f.drawsOf(kPlane, "depthTarget");
  const auto depthSpheres = f.drawsOf(kSphere, "depthTarget");
  const auto ground = f.drawsOf(kPlane, "backbuffer");
  const auto spheres = f.drawsOf(kSphere, "backbuffer");
  ASSERT_EQ(depthGround.size(), 2u);
  ASSERT_EQ(depthSpheres.size(), 24u);
  ASSERT_EQ(ground.size(), 2u);
  ASSERT_EQ(spheres.size(), 24u);
  EXPECT_EQ(depthGround[0].effect + " " + depthGround[0].state("CULLMODE") + " " + depthGround[0].state("ZENABLE"),
            std::string(kDof) + " NONE true");
  EXPECT_EQ(depthGround[0].values("Focus"), std::vector<float>{0.1f});
  EXPECT_EQ(depthGround[0].values("Eksponent"), std::vector<float>{2.1f});
  EXPECT_EQ(depthGround[0].values("FallOff"), std::vector<float>{2.7f});
  EXPECT_EQ(ground[0].effect + " " + std::to_string(ground[0].pass), std::string(kEndorf) + " 0");
  EXPECT_EQ(ground[0].param("tex0"), "quarvdemo\\render6\\bakkeendof.png");

  const D3DXMATRIX view = ground[0].matrix("matWorldView");
  const D3DXMATRIX viewProjection = ground[0].matrix("matWorldViewProjection");
  const D3DXMATRIX mirrored = scenes::eighthMirrorWorld() * viewProjection;
  EXPECT_TRUE(matricesNear(ground[1].matrix("matWorldViewProjection"), mirrored, 1e-4f));
  EXPECT_TRUE(matricesNear(depthGround[1].matrix("matWorldViewProjection"), mirrored, 1e-4f));
  for (std::size_t i = 0; i < spheres.size(); ++i) {
    const Draw& s = spheres[i];
    EXPECT_EQ(s.pass, 1);
    EXPECT_EQ(s.state("CULLMODE"), "CCW");
    EXPECT_EQ(s.param("tex0"), "quarvdemo\\render6\\dorf.png");
    const D3DXMATRIX world = s.matrix("matWorld");
    EXPECT_TRUE(matricesNear(s.matrix("matWorldViewProjection"), world * viewProjection, 1e-4f)) << i;
    EXPECT_TRUE(matricesNear(s.matrix("matWorldView"), world * view, 1e-4f)) << i;
    EXPECT_TRUE(matricesNear(depthSpheres[i].matrix("matWorld"), world, 0.0f)) << i;
  }

  // The eye is path 03 at scene time 19, also passed as CameraPosition; near stays the path's 0.5.
  const D3DXVECTOR3 expectedEye = Show::instance().main->endorfCameras[2].eyeTrack.sample(19.0f);
  const D3DXVECTOR3 eye = eyeOf(view);
  EXPECT_TRUE(pointsNear(eye, expectedEye, 1e-3f));
  EXPECT_EQ(spheres[0].values("CameraPosition"), (std::vector<float>{expectedEye.x, expectedEye.y, expectedEye.z}));
  EXPECT_NEAR(planesOf(view, viewProjection).nearPlane, 0.5f, 1e-3f);

  // Blur of B into A, the depth-of-field mix of all three targets, then black, white, overlay.
  const auto quads = f.drawsOf("fullScreenQuad");
  ASSERT_EQ(quads.size(), 5u);
  EXPECT_EQ(quads[0].target + " " + quads[0].param("tex0") + " " + std::to_string(quads[0].pass),
            "halfTargetA halfTargetB 0");
  EXPECT_EQ(quads[0].values("blur"), std::vector<float>{1.8f});
  EXPECT_EQ(quads[0].values("ps"), (std::vector<float>{1.0f / 320.0f, 1.0f / 240.0f}));
  EXPECT_EQ(quads[1].effect + " " + std::to_string(quads[1].pass), std::string(kDof) + " 4");
  EXPECT_EQ(quads[1].param("tex0") + " " + quads[1].param("tex1") + " " + quads[1].param("tex2"),
            "halfTargetA depthTarget halfTargetB");
  EXPECT_EQ(quads[1].state("SRCBLEND") + " " + quads[1].state("DESTBLEND"), "SRCALPHA INVSRCALPHA");
  const char* cards[] = {"quarvdemo\\render6\\black.png", "quarvdemo\\white.png", "quarvdemo\\overlay02.png"};
  const float weights[] = {0.0f, 0.0f, 1.0f};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(quads[2 + c].param("tex0"), cards[c]);
    EXPECT_EQ(quads[2 + c].value("alpha1"), weights[c]);
    EXPECT_EQ(quads[2 + c].state("CULLMODE"), "CW");
  }
  EXPECT_EQ(f.draws.back().vb, "fullScreenQuad");
}

// A far plane left at another value in the path is overridden; the cut changes the path; flash
// and fade reach the cards with the values of their music times.
TEST(EighthSceneFrame, CutsFlashAndFadeReachTheFrame) {
  Show& show = Show::instance();
  assets::CameraPath& path = show.main->endorfCameras[1];
  const float savedFar = path.camera.farPlane;
  path.camera.farPlane = 50.0f;
  const Draw before = frameAt(177.3).drawsOf(kPlane, "backbuffer").at(0);
  path.camera.farPlane = savedFar;
  EXPECT_NEAR(planesOf(before.matrix("matWorldView"), before.matrix("matWorldViewProjection")).farPlane, 10000.0f,
              100.0f);
  EXPECT_EQ(render::currentCamera().farPlane, 10000.0f);
  const D3DXVECTOR3 eyeBefore = eyeOf(before.matrix("matWorldView"));
  EXPECT_TRUE(pointsNear(eyeBefore, path.eyeTrack.sample(1.3f), 1e-3f));
  const Draw after = frameAt(177.4).drawsOf(kPlane, "backbuffer").at(0);
  const D3DXVECTOR3 eyeAfter = eyeOf(after.matrix("matWorldView"));
  EXPECT_TRUE(pointsNear(eyeAfter, show.main->endorfCameras[2].eyeTrack.sample(1.4f), 1e-3f));

  // 181.25 s is 0.05 s after the beat of 181.5 was taken: x = 0.25.
  EXPECT_NEAR(frameAt(181.25).drawsOf("fullScreenQuad").at(3).value("alpha1"), 1.0f - std::sin(0.25f), 1e-3f);
  EXPECT_NEAR(frameAt(219.0).drawsOf("fullScreenQuad").at(2).value("alpha1"), 0.5f, 1e-3f);
  EXPECT_EQ(frameAt(220.0).drawsOf("fullScreenQuad").at(2).value("alpha1"), 1.0f);
}

// The card pass uploads its parameters at Begin: the first card must be set before it, or the
// black card would be drawn with the previous frame's overlay settings.
TEST(EighthSceneFrame, FirstCardIsSetBeforeTheCardPassBegins) {
  const std::vector<std::string> lines = Show::instance().frameAt(219.0);
  std::size_t blackSet = lines.size(), lastBegin = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string ev = field(lines[i], "ev");
    if (ev == "setTexture" && field(lines[i], "texture") == "quarvdemo\\render6\\black.png") blackSet = i;
    if (ev == "beginPass") lastBegin = i;
  }
  ASSERT_LT(blackSet, lines.size());
  EXPECT_LT(blackSet, lastBegin);
}

// While the C key is held each frame prints the scene time; released, nothing is printed.
TEST(EighthSceneFrame, HeldKeyPrintsTheSceneTime) {
  Show::instance();
  win32::setKeyStateForTesting(0x43, true);
  testing::internal::CaptureStdout();
  frameAt(195.0);
  const std::string held = testing::internal::GetCapturedStdout();
  win32::setKeyStateForTesting(0x43, false);
  EXPECT_EQ(held, "time = 19.000000\n");
  testing::internal::CaptureStdout();
  frameAt(195.0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
