// The ninth scene: cuts and the ribbon weight, the particle stream, the ribbons' world and the
// black fades, and whole frames on the trace device checked step by step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "render/Cameras.h"
#include "scenes/NinthScene.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

std::string ribbon(int i) { return "MainStage.planeGrids[" + std::to_string(i) + "]"; }

// Shots 0, 1, 2, 0, 1, 2, 0, 1, then 0; a cut entry still belongs to the shot before it. The
// ribbons fade to nothing at every cut and are back at once after it, at full weight when the
// next cut is more than 3.33 s away (the three short shots at the end peak near 0.8).
TEST(NinthSceneCuts, ShotsAndRibbonWeight) {
  const int paths[] = {0, 1, 2, 0, 1, 2, 0, 1, 0};
  EXPECT_EQ(scenes::ninthCut(220.1f).cameraPath, 0);
  for (std::size_t i = 0; i < 8; ++i) {
    const float cut = scenes::kNinthSceneCuts[i], next = scenes::kNinthSceneCuts[i + 1];
    EXPECT_EQ(scenes::ninthCut(cut).cameraPath, paths[i]) << cut;
    EXPECT_EQ(scenes::ninthCut(cut).ribbonWeight, 0.0f) << cut;
    EXPECT_EQ(scenes::ninthCut(after(cut)).cameraPath, paths[i + 1]) << cut;
    EXPECT_NEAR(scenes::ninthCut(after(cut)).ribbonWeight, std::fmin(1.0f, 0.3f * (next - cut)), 1e-4f) << cut;
  }
  EXPECT_NEAR(scenes::ninthCut(240.0f).ribbonWeight, 0.135f, 1e-4f);
  EXPECT_NEAR(scenes::ninthCut(after(245.66f)).ribbonWeight, 0.807f, 1e-3f);
  // Before the slot the first cut is far off (full weight); at and past the closing entry nothing.
  EXPECT_EQ(scenes::ninthCut(-1.0f).cameraPath, 0);
  EXPECT_EQ(scenes::ninthCut(-1.0f).ribbonWeight, 1.0f);
  for (float b : {1000.0f, 1e6f}) {
    EXPECT_LE(unsigned(scenes::ninthCut(b).cameraPath), 2u) << b;
    EXPECT_EQ(scenes::ninthCut(b).ribbonWeight, 0.0f) << b;
  }
}

// The stream drifts +x at 10 units a second inside (-300, 100] and wraps from 100 to -300; y and z
// come from their own seeds (products wrapping in 32 bits) and never move.
TEST(NinthSceneStream, DriftsAndWrapsAtOneHundred) {
  // Entry 0 starts at x0 = 200 (LatticeNoise(0) + 1) = 143.64 and passes 400 at a = 25.636.
  EXPECT_NEAR(scenes::streamCentre(0, 0.0f).x, 143.6418f - 300.0f, 1e-3f);
  EXPECT_NEAR(scenes::streamCentre(0, 25.63f).x, 99.94f, 1e-2f);
  EXPECT_NEAR(scenes::streamCentre(0, 25.64f).x, -299.96f, 1e-2f);
  EXPECT_TRUE(pointsNear(scenes::streamCentre(9999, 0.0f), {69.3080f, -91.8280f, 28.3919f}, 1e-3f));
  EXPECT_TRUE(pointsNear(scenes::streamCentre(1, 0.0f), {-14.9840f, -81.2669f, -35.9169f}, 1e-3f));
  for (std::uint32_t k = 0; k < 10000; k += 7) {
    const D3DXVECTOR3 start = scenes::streamCentre(k, 0.0f);
    EXPECT_TRUE(std::fabs(start.y) <= 100.0f && std::fabs(start.z) <= 100.0f) << k;
    for (float a : {3.0f, 17.5f, 33.45f}) {
      const D3DXVECTOR3 c = scenes::streamCentre(k, a);
      EXPECT_TRUE(c.x > -300.0f && c.x <= 100.0f) << k << " " << a << ": " << c.x;
      EXPECT_TRUE(c.y == start.y && c.z == start.z) << k;
      double moved = std::fmod(double(start.x) + 300.0 + 10.0 * a, 400.0);  // into (0, 400]
      if (moved <= 0.0) moved += 400.0;
      if (moved > 0.05 && moved < 399.95) {
        EXPECT_NEAR(c.x, moved - 300.0, 2e-3) << k << " " << a;
      }
    }
  }
}

// (x, y, z) -> (-y, -z, x): the ribbons, built along their own y, lie along the world's x. The
// black card covers the first two and the last two seconds of the slot.
TEST(NinthSceneRibbons, WorldAndFades) {
  const D3DXMATRIX w = scenes::ninthRibbonWorld();
  D3DXVECTOR3 p{1.0f, 2.0f, 3.0f}, out;
  D3DXVec3TransformCoord(&out, &p, &w);
  EXPECT_TRUE(pointsNear(out, {-2.0f, -3.0f, 1.0f}, 1e-5f));
  EXPECT_EQ(scenes::ninthBlackOpacity(0.0f, 220.0f), 1.0f);
  EXPECT_NEAR(scenes::ninthBlackOpacity(1.0f, 221.0f), 0.5f, 1e-6f);
  EXPECT_EQ(scenes::ninthBlackOpacity(2.0f, 222.0f), 0.0f);
  EXPECT_EQ(scenes::ninthBlackOpacity(31.45f, 251.45f), 0.0f);
  EXPECT_NEAR(scenes::ninthBlackOpacity(32.45f, 252.45f), 0.5f, 1e-4f);
  EXPECT_NEAR(scenes::ninthBlackOpacity(33.45f, 253.45f), 1.0f, 1e-4f);
}

// 231 s (path 03, full ribbon weight) with a silent spectrum: the stream, the glow source in
// target A, the glow, the ribbons, black card and overlay, one present.
TEST(NinthSceneFrame, WalksItsStepsInOrder) {
  FixedSpectrum silent;
  ASSERT_TRUE(silent.loaded);
  Show& show = Show::instance();
  const std::vector<std::string> lines = show.frameAt(231.0);
  const Frame f(lines);
  EXPECT_EQ(f.renderer, "ninthScene");
  EXPECT_TRUE(f.messages.empty()) << f.messages.front();
  EXPECT_EQ(f.clears, (std::vector<std::string>{"TARGET,ZBUFFER", "TARGET", "ZBUFFER"}));
  std::vector<std::string> seen;
  for (const std::string& s : f.steps)
    if (s.rfind("draw", 0) != 0 && s != "beginScene" && s != "endScene") seen.push_back(s);
  EXPECT_EQ(seen, (std::vector<std::string>{"clear backbuffer 0x00000000", "setRenderTarget halfTargetA",
                                            "clear halfTargetA 0x00000000", "setRenderTarget backbuffer",
                                            "clear backbuffer 0x00000000", "present"}));

  // The stream: all 10000 particles in one additive draw through the stage's own effect, pass 3.
  const auto sparks = f.drawsOf("MainStage.swarmSprites");
  ASSERT_EQ(sparks.size(), 1u);
  const Draw& s = sparks[0];
  EXPECT_EQ(s.primitives, 20000);
  EXPECT_EQ(s.effect + " " + std::to_string(s.pass), "quarvdemo\\shaders\\demo2_partikkel.fx 3");
  EXPECT_EQ(s.state("SRCBLEND") + " " + s.state("DESTBLEND") + " " + s.state("ZENABLE"), "ONE ONE false");
  EXPECT_EQ(s.param("tex0"), "quarvdemo\\renderFSeries\\remse.png");
  EXPECT_EQ(s.values("ParticleSize"), (std::vector<float>{1.8f, 1.8f}));
  EXPECT_EQ(s.values("FogStart"), std::vector<float>{0.0f});
  EXPECT_EQ(s.values("FogEnd"), std::vector<float>{100.0f});
  const D3DXMATRIX view = s.matrix("matView");
  const D3DXMATRIX viewProjection = s.matrix("matViewProjection");
  const D3DXVECTOR3 key0 = show.main->r7Cameras[2].eyeTrack.sample(0.0f);
  EXPECT_TRUE(pointsNear(eyeOf(view), key0, 1e-3f));
  EXPECT_EQ(s.values("CameraPosition"), (std::vector<float>{key0.x, key0.y, key0.z}));

  // Glow source flat into target A, the glow added at (S2 + 1.5) F = 1.5, then the ribbons on screen
  // through the light that looks straight down: its matrix stays finite.
  const D3DXMATRIX ribbonViewProjection = scenes::ninthRibbonWorld() * viewProjection;
  for (int i = 0; i < 4; ++i) {
    const auto draws = f.drawsOf(ribbon(i));
    ASSERT_EQ(draws.size(), 2u) << i;
    EXPECT_EQ(draws[0].target + " " + draws[0].effect, "halfTargetA quarvdemo\\shaders\\plain.fx");
    EXPECT_TRUE(matricesNear(draws[0].matrix("Matrix"), ribbonViewProjection, 1e-4f)) << i;
    EXPECT_EQ(draws[1].effect + " " + std::to_string(draws[1].pass), "quarvdemo\\shaders\\r1_line.fx 2");
    EXPECT_EQ(draws[1].state("ZENABLE") + " " + draws[1].state("SRCBLEND"), "true SRCALPHA");
    EXPECT_EQ(draws[1].value("alpha"), 1.0f);
    EXPECT_EQ(draws[1].values("LightPosition"), (std::vector<float>{0.0f, 200.0f, 0.0f}));
    const D3DXMATRIX light = draws[1].matrix("matLightViewProjection");
    EXPECT_TRUE(std::all_of(&light._11, &light._11 + 16, [](float v) { return std::isfinite(v); })) << i;
    EXPECT_TRUE(matricesNear(draws[1].matrix("matWorldViewProjection"), ribbonViewProjection, 1e-4f));
  }
  const auto quads = f.drawsOf("fullScreenQuad");
  ASSERT_EQ(quads.size(), 3u);
  EXPECT_EQ(quads[0].effect + " " + std::to_string(quads[0].pass), "quarvdemo\\shaders\\blur.fx 1");
  EXPECT_EQ(quads[0].param("tex0") + " " + quads[0].state("CULLMODE") + " " + quads[0].state("SRCBLEND"),
            "halfTargetA CW ONE");
  EXPECT_EQ(quads[0].values("alpha"), std::vector<float>{1.5f});
  EXPECT_EQ(quads[0].values("blur"), std::vector<float>{2.0f});
  EXPECT_EQ(quads[1].param("tex0"), "quarvdemo\\render6\\black.png");
  EXPECT_EQ(quads[1].value("alpha1"), 0.0f);
  EXPECT_EQ(quads[2].param("tex0"), "quarvdemo\\overlay02.png");

  // The selected particles were moved to their stream centres for a = 11.
  const auto& selection = show.main->swarmSelection.indices;
  for (std::size_t k : {std::size_t{0}, std::size_t{4321}, std::size_t{9999}}) {
    const D3DXVECTOR4& p = show.main->swarmSprites.positions[selection[k]];
    EXPECT_TRUE(pointsNear({p.x, p.y, p.z}, scenes::streamCentre(std::uint32_t(k), 11.0f), 1e-4f)) << k;
  }
}

// A shot's camera takes 0.8 x its path's field of view at key 0 (231 s is path 03); the light
// looks from (0, 200, 0) at the origin with a quarter-turn field of view.
TEST(NinthSceneFrame, CameraAndLightFieldsOfView) {
  Show& show = Show::instance();
  const Draw s = frameAt(231.0).drawsOf("MainStage.swarmSprites").at(0);
  const float fov = 0.8f * *show.main->r7Cameras[2].fovTrack.key(0);
  EXPECT_FLOAT_EQ(render::currentCamera().fov, fov);
  const D3DXMATRIX projection = inverse(s.matrix("matView")) * s.matrix("matViewProjection");
  EXPECT_NEAR(projection._22, 1.0f / std::tan(fov / 2.0f), 1e-3f);
  const assets::Camera& light = render::lightCamera();
  EXPECT_EQ(light.eye, D3DXVECTOR3(0.0f, 200.0f, 0.0f));
  EXPECT_EQ(light.target, D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  EXPECT_FLOAT_EQ(light.fov, 1.5707964f);
}

// Each shot is a still view even of a path that moves after key 0, with its far plane overridden;
// weights and fades reach the frame.
TEST(NinthSceneFrame, StillShotsFadesAndWeights) {
  FixedSpectrum silent;
  Show& show = Show::instance();
  assets::CameraPath& path = show.main->r7Cameras[0];
  const float savedFar = path.camera.farPlane;
  const std::vector<D3DXVECTOR3> eyes(path.eyeTrack.keys().begin(), path.eyeTrack.keys().end());
  ASSERT_FALSE(eyes.empty());
  path.eyeTrack.setKeys({eyes[0], eyes[0] + D3DXVECTOR3(50.0f, 0.0f, 0.0f)});
  path.camera.farPlane = 50.0f;
  const Draw early = frameAt(236.0).drawsOf("MainStage.swarmSprites").at(0);
  path.camera.farPlane = savedFar;
  path.eyeTrack.setKeys(eyes);
  const Frame late = frameAt(240.0);
  EXPECT_TRUE(
      matricesNear(early.matrix("matView"), late.drawsOf("MainStage.swarmSprites").at(0).matrix("matView"), 0.0f));
  EXPECT_NEAR(planesOf(early.matrix("matView"), early.matrix("matViewProjection")).farPlane, 10000.0f, 100.0f);
  EXPECT_EQ(render::currentCamera().farPlane, 10000.0f);
  // 240 s: F = 0.135, so the glow is 1.5 F and the ribbons' opacity F; just after the cut at
  // 240.45 the ribbons are back at full weight on path 02.
  EXPECT_NEAR(late.drawsOf("fullScreenQuad").at(0).value("alpha"), 1.5f * 0.135f, 1e-4f);
  EXPECT_NEAR(late.drawsOf(ribbon(0)).at(1).value("alpha"), 0.135f, 1e-4f);
  const Frame cut = frameAt(240.46);
  EXPECT_EQ(cut.drawsOf(ribbon(2)).at(1).value("alpha"), 1.0f);
  const D3DXVECTOR3 eye = eyeOf(cut.drawsOf("MainStage.swarmSprites").at(0).matrix("matView"));
  EXPECT_TRUE(pointsNear(eye, show.main->r7Cameras[1].eyeTrack.sample(0.0f), 1e-3f));
  EXPECT_NEAR(frameAt(220.5).drawsOf("fullScreenQuad").at(1).value("alpha1"), 0.75f, 1e-3f);
  EXPECT_NEAR(frameAt(252.45).drawsOf("fullScreenQuad").at(1).value("alpha1"), 0.5f, 1e-3f);
  // The schedule hands 253.45 s to the credits (the 32-bit entry lies just below it): call directly.
  const Frame end = drawDirect([](Show& s) { scenes::ninthScene(*s.main, 33.45f, 253.45f); });
  EXPECT_NEAR(end.drawsOf("fullScreenQuad").at(1).value("alpha1"), 1.0f, 1e-3f);
}

}  // namespace
