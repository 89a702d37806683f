// The second scene: cuts, camera paths, hits, ribbon placement and the cut flash by scene time,
// and whole frames on the trace device checked step by step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/Cameras.h"
#include "scenes/Renderers.h"
#include "scenes/SecondScene.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

// The path of every cut count (a cycle of five that goes from path 3 straight to path 0 at the
// 14th and 23rd cut), always on the table. A cut time still belongs to the shot before it; the time
// to the next cut runs down to 0 and jumps to the new interval. Past the sentinel the cut stays
// on the table. The path time runs at 1.9 a and wraps past 50.
TEST(SecondSceneCamera, CutsPathsAndPathTime) {
  const int paths[33] = {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 0, 1, 2, 3, 4, 0, 1, 2, 3, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4};
  for (int k = 0; k < 33; ++k) EXPECT_EQ(scenes::secondScenePath(k), paths[k]) << k;
  for (int k : {-3, 100, 1000}) EXPECT_EQ(std::clamp(scenes::secondScenePath(k), 0, 4), scenes::secondScenePath(k));
  EXPECT_EQ(scenes::secondSceneCut(-1.0f).cut, 0);
  EXPECT_FLOAT_EQ(scenes::secondSceneCut(0.0f).untilNextCut, 0.59f);
  for (int k = 0; k < 32; ++k) {
    const float t = scenes::kSecondSceneCuts[k];
    EXPECT_EQ(scenes::secondSceneCut(t).cut, k) << t;
    EXPECT_EQ(scenes::secondSceneCut(t).untilNextCut, 0.0f) << t;
    EXPECT_EQ(scenes::secondSceneCut(after(t)).cut, k + 1) << t;
    EXPECT_NEAR(scenes::secondSceneCut(after(t)).untilNextCut, scenes::kSecondSceneCuts[k + 1] - t, 1e-5f) << t;
  }
  EXPECT_EQ(scenes::secondSceneCut(5000.0f).cut, 32);
  for (auto [a, t] : {std::pair{0.0f, 0.0f}, {26.3f, 49.97f}, {50.0f / 1.9f, 50.0f}, {30.0f, 7.0f}, {60.0f, 14.0f}})
    EXPECT_NEAR(scenes::secondScenePathTime(a), t, 1e-4f) << a;
}

// Offsets from the lattice noise of each ribbon's counters; z starts at 100 - 5 i the instant
// after every hit (0 before 2.33 s and before the scene starts) and runs 112 units a second to -z.
TEST(SecondSceneRibbons, OffsetsAndFlightFromEachHit) {
  const float x[6] = {-0.8454f, 2.8637f, -1.2565f, 2.9649f, 1.6986f, 2.5537f};
  const float y[6] = {11.0275f, 9.7564f, 12.3249f, 6.6705f, 16.3390f, 16.3626f};
  for (auto [a, hit] : {std::pair{-2.0f, 0.0f}, {2.33f, 0.0f}, {after(2.33f), 2.33f}, {18.0f, 15.7f}, {26.3f, 21.11f}})
    EXPECT_EQ(scenes::secondSceneLastHit(a), hit) << a;
  for (int i = 0; i < 6; ++i) {
    const D3DXVECTOR3 start = scenes::secondSceneRibbonOffset(i, 0.0f);
    EXPECT_NEAR(start.x, x[i], 1e-4f) << i;
    EXPECT_NEAR(start.y, y[i], 1e-4f) << i;
    EXPECT_EQ(start.z, 100.0f - 5.0f * i) << i;
    for (float hit : scenes::kSecondSceneHits)
      EXPECT_NEAR(scenes::secondSceneRibbonOffset(i, after(hit)).z, 100.0f - 5.0f * i, 1e-3f) << i << " " << hit;
    EXPECT_NEAR(scenes::secondSceneRibbonOffset(i, 2.0f).z, 100.0f - 5.0f * i - 224.0f, 1e-3f);
  }
}

// The flash's "alpha" is min(time to the next cut, 2): 0.59 at the start, 0 just before each cut;
// from 21 s it fades out over a second whatever the cut table says and stays off. Its zoom grows
// 1 % a second, held between 0 and 1.
TEST(SecondSceneFlash, FollowsTheCutsThenFadesOut) {
  EXPECT_FLOAT_EQ(2 * scenes::secondSceneFlash(0.0f).weight, 0.59f);
  for (float a = 0.0f; a <= 21.0f; a += 0.01f)
    EXPECT_NEAR(2 * scenes::secondSceneFlash(a).weight, std::min(scenes::secondSceneCut(a).untilNextCut, 2.0f), 1e-5f)
        << a;
  EXPECT_NEAR(2 * scenes::secondSceneFlash(after(21.0f)).weight, 2.0f, 1e-5f);
  EXPECT_NEAR(2 * scenes::secondSceneFlash(21.5f).weight, 1.0f, 1e-5f);
  for (float a : {22.0f, 26.3f, 100.0f}) EXPECT_EQ(scenes::secondSceneFlash(a).weight, 0.0f) << a;
  EXPECT_FLOAT_EQ(scenes::secondSceneFlash(10.0f).zoom, 0.1f);
  EXPECT_EQ(scenes::secondSceneFlash(150.0f).zoom, 1.0f);
  EXPECT_EQ(scenes::secondSceneFlash(-1.0f).zoom, 0.0f);
}

Frame drawSecond(float a) {
  return drawDirect([a](Show& show) { scenes::secondScene(*show.main, a, a + 21.4f); });
}

std::vector<std::string> ribbons(const std::string& summary) {
  std::vector<std::string> out;
  for (int i = 0; i < 6; ++i) out.push_back(summary.substr(0, summary.find('#')) + std::to_string(i) + summary.substr(summary.find('#') + 1));
  return out;
}

// The frame in the order of its steps: shadow map, depth, sky, ground and ribbons, the blur of the
// copy, the depth-of-field composite, the flash and the overlay, one present; each draw with its
// effect, pass, target and states, and the inputs that make the steps one picture.
TEST(SecondSceneFrame, WalksItsStepsInOrder) {
  Frame frame = frameAt(21.4 + 5.5);
  EXPECT_EQ(frame.renderer, "secondScene");
  ASSERT_EQ(frame.args.size(), 2u);
  EXPECT_NEAR(frame.args[0], 5.5f, 1e-4f);
  EXPECT_TRUE(frame.messages.empty()) << frame.messages.front();
  std::vector<std::string> expected;
  auto add = [&](std::vector<std::string> more) { expected.insert(expected.end(), more.begin(), more.end()); };
  add(ribbons("render3_line.fx/1 MainStage.planeGrids[#] @shadowTarget NONE false true ADD SRCALPHA INVSRCALPHA"));
  add({"plain.fx/0 quarv.SCENEshadow.mesh @shadowTarget NONE false true ADD SRCALPHA INVSRCALPHA",
       "demo1_depthoffield.fx/0 grotte.SCENEPlane01.mesh @depthTarget NONE true false"});
  add(ribbons("demo1_depthoffield.fx/0 MainStage.planeGrids[#] @depthTarget NONE true false"));
  add({"demo1_text.fx/0 hemi.SCENEGeoSphere01.mesh @backbuffer CCW false false",
       "r1_bakke.fx/2 grotte.SCENEPlane01.mesh @backbuffer CCW true false"});
  add(ribbons("r1_line.fx/1 MainStage.planeGrids[#] @backbuffer NONE true false"));
  add({"blur.fx/0 fullScreenQuad @halfTargetA NONE false false",
       "demo1_depthoffield.fx/4 fullScreenQuad @backbuffer NONE false true ADD SRCALPHA INVSRCALPHA",
       "r2_flash.fx/0 fullScreenQuad @backbuffer CW false true ADD SRCALPHA INVSRCALPHA",
       "demo1_text.fx/0 fullScreenQuad @backbuffer CW false true ADD SRCALPHA INVSRCALPHA"});
  EXPECT_EQ(frame.summaries(), expected);
  EXPECT_EQ(std::count(frame.steps.begin(), frame.steps.end(), "clear shadowTarget 0x00FFFFFF"), 1);
  EXPECT_EQ(std::count(frame.steps.begin(), frame.steps.end(), "clear depthTarget 0x00000000"), 1);
  EXPECT_EQ(std::count(frame.steps.begin(), frame.steps.end(), "stretchRect backbuffer halfTargetB"), 1);
  EXPECT_EQ(frame.steps.back(), "present");
  EXPECT_EQ(frame.count("present"), 1);
  EXPECT_EQ(frame.count("commit"), 18) << "one commit before each of the 18 ribbon draws";

  ASSERT_EQ(frame.draws.size(), 26u);
  EXPECT_EQ(frame.draws[0].param("tex0"), "quarvdemo\\soft.png");
  EXPECT_FLOAT_EQ(frame.draws[7].value("Focus"), 0.3f);
  EXPECT_FLOAT_EQ(frame.draws[7].value("Eksponent"), 1.1f);
  EXPECT_FLOAT_EQ(frame.draws[7].value("FallOff"), 7.0f);
  EXPECT_FLOAT_EQ(frame.draws[14].value("alpha1"), 3 * timeline::spectrumTrack().band(0, 26.9f) + 0.6f);
  const Draw& ground = frame.draws[15];
  EXPECT_EQ(ground.value("alpha1"), 2.0f);
  EXPECT_EQ(frame.draws[14].param("tex0"), "quarvdemo\\render1\\sky04.png");
  EXPECT_TRUE(matricesNear(frame.draws[14].matrix("matProjection"),
                           domeWorld(2.0f, 50.0f) * ground.matrix("matWorldViewProjection"), 2e-3f));
  for (auto [tex, file] : {std::pair{"tex0", "quarvdemo\\render1\\diffuse.png"}, {"tex1", "quarvdemo\\spotlight01.png"},
                           {"tex2", "shadowTarget"}, {"tex3", "quarvdemo\\render1\\normal.png"}})
    EXPECT_EQ(ground.param(tex), file) << tex;
  EXPECT_EQ(ground.values("LightPosition"), (std::vector<float>{1, 80, 70}));
  const Draw& lit = frame.draws[16];
  EXPECT_EQ(lit.value("ambient"), 0.0f);
  EXPECT_EQ(lit.value("alpha1"), 1.0f);
  EXPECT_EQ(lit.param("tex0"), "quarvdemo\\linetexture.png");
  EXPECT_EQ(lit.param("tex1"), "quarvdemo\\spotlight01.png");
  EXPECT_FLOAT_EQ(frame.draws[22].value("blur"), 1.2f);
  EXPECT_EQ(frame.draws[22].param("tex0"), "halfTargetB");
  EXPECT_EQ(frame.draws[22].values("ps"), (std::vector<float>{1.0f / 320, 1.0f / 240}));
  EXPECT_EQ(frame.draws[23].param("tex0"), "halfTargetA");
  EXPECT_EQ(frame.draws[23].param("tex1"), "depthTarget");
  EXPECT_EQ(frame.draws[23].param("tex2"), "halfTargetB");
  EXPECT_EQ(frame.draws[24].param("tex0"), "quarvdemo\\fflash.png");
  EXPECT_NEAR(frame.draws[24].value("alpha"), 0.53f, 1e-4f) << "5.5 s: the next cut is at 6.03 s";
  EXPECT_NEAR(frame.draws[24].value("scale"), 1.0f - 0.055f, 1e-5f);
  EXPECT_EQ(frame.draws[25].param("tex0"), "quarvdemo\\overlay02.png");
}

// Every ribbon draw, in all three passes, carries that ribbon's world: recovered through the
// camera's and the light's view-projection, it is scale 0.2 turned so local y runs along -z, at the
// ribbon's offset for the scene time.
TEST(SecondSceneFrame, RibbonsSitWhereTheHitsThrewThem) {
  for (float a : {0.0f, 3.0f, 17.0f}) {
    Frame frame = drawSecond(a);
    ASSERT_EQ(frame.draws.size(), 26u);
    const D3DXMATRIX byCamera = inverse(frame.draws[15].matrix("matWorldViewProjection"));
    const D3DXMATRIX byLight = inverse(frame.draws[6].matrix("Matrix"));
    for (int first : {0, 8, 16})
      for (int i = 0; i < 6; ++i) {
        const D3DXVECTOR3 offset = scenes::secondSceneRibbonOffset(i, a);
        const Draw& d = frame.draws[first + i];
        for (const D3DXMATRIX& world : {d.matrix("matWorldViewProjection") * byCamera,
                                        d.matrix("matLightViewProjection") * byLight}) {
          EXPECT_NEAR(world._41, offset.x, 0.02f) << a << " draw " << first + i;
          EXPECT_NEAR(world._42, offset.y, 0.02f) << a << " draw " << first + i;
          EXPECT_NEAR(world._43, offset.z, 0.05f) << a << " draw " << first + i;
          EXPECT_NEAR(world._23, -0.2f, 1e-3f) << a << " draw " << first + i;
        }
      }
  }
}

// The camera of each cut is its path sampled at 1.9 a (around 9.33 s the cut goes from path 3 to
// path 0); the light sits at (1, 80, 70) looking at (5, 20, 38). The path's camera is copied, near
// plane and all, and its far plane set to 10000 whatever the path file says.
TEST(SecondSceneFrame, CameraFollowsTheCutTable) {
  for (auto [a, index] : {std::pair{0.3f, 0}, {1.0f, 1}, {9.2f, 3}, {9.5f, 0}, {16.0f, 0}, {26.0f, 4}}) {
    Frame frame = drawSecond(a);
    ASSERT_EQ(frame.draws.size(), 26u);
    assets::CameraPath path = Show::instance().main->grotteCameras[index];
    render::sampleCamera(path, 1.9f * a);
    const D3DXVECTOR3 eye = eyeOf(frame.draws[16].matrix("matView"));
    EXPECT_NEAR(eye.x, path.camera.eye.x, 0.05f) << a;
    EXPECT_NEAR(eye.y, path.camera.eye.y, 0.05f) << a;
    EXPECT_NEAR(eye.z, path.camera.eye.z, 0.05f) << a;
    EXPECT_EQ(render::lightCamera().eye, D3DXVECTOR3(1, 80, 70));
    EXPECT_EQ(render::lightCamera().target, D3DXVECTOR3(5, 20, 38));
    EXPECT_FLOAT_EQ(render::lightCamera().fov, 0.8975979f);
  }
  assets::Camera& first = Show::instance().main->grotteCameras[0].camera;
  const assets::Camera saved = first;
  first.farPlane = 500.0f;
  first.nearPlane = 2.5f;
  drawSecond(0.3f);
  EXPECT_EQ(render::currentCamera().farPlane, 10000.0f);
  EXPECT_EQ(render::currentCamera().nearPlane, 2.5f);
  first = saved;
}

// The flash on the frame: 0.59 at the start, full just after 21 s, half-way out at 21.5 s, off
// from 22 s to the end of the slot.
TEST(SecondSceneFrame, FlashAtTheStartAndAtTheEnd) {
  for (auto [a, alpha] : {std::pair{0.0f, 0.59f}, {21.5f, 1.0f}, {22.0f, 0.0f}, {26.3f, 0.0f}}) {
    Frame frame = drawSecond(a);
    ASSERT_EQ(frame.draws.size(), 26u);
    EXPECT_NEAR(frame.draws[24].value("alpha"), alpha, 1e-4f) << a;
  }
}

}  // namespace
