// Frames of the fifth scene's two views on the trace device with the generated content: the steps,
// targets, states, effects, passes and values; camera and light recovered from the matrices; the
// morph and the cube lift in the stage's buffers; continuity across a switch of views.
#include <gtest/gtest.h>

#include <vector>

#include "scenes/FifthScene.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

std::vector<float> vertexFloats(const assets::Mesh& mesh) {
  void* data = nullptr;
  if (FAILED(mesh.vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY))) return {};
  const float* f = static_cast<const float*>(data);
  std::vector<float> out(f, f + std::size_t(mesh.vertexCount) * mesh.stride / sizeof(float));
  mesh.vertexBuffer->Unlock();
  return out;
}

// What both views draw alike: the swarm stamped into the shadow target cleared to `shadowClear`,
// the sky, the four picture-card groups, the lit swarm, then (after the view's ground or cubes at
// draw 65) the black fade, the white flash and the overlay, each card with its own texture and
// weight (the first one too, which a pass setting it without a commit would miss).
void expectSharedSteps(const Frame& frame, const char* shadowClear, float black, float white) {
  const std::vector<Draw>& d = frame.draws;
  ASSERT_EQ(d.size(), 69u);
  EXPECT_EQ(frame.steps[2], std::string("clear shadowTarget ") + shadowClear);
  EXPECT_EQ(frame.steps[36], "clear backbuffer 0x00000000");
  for (int k = 0; k < scenes::kSwarmInstances; ++k) {
    for (const Draw& s : {d[std::size_t(k)], d[35 + std::size_t(k)]}) {
      EXPECT_EQ(s.vb, grid(k % 2 == 0 ? 1 : 0)) << k;
      EXPECT_EQ(s.stateSummary(), "NONE true true ADD SRCALPHA INVSRCALPHA");
    }
    EXPECT_EQ(d[std::size_t(k)].effect + " " + d[std::size_t(k)].target, std::string(kLineFx) + " shadowTarget");
    EXPECT_EQ(d[35 + std::size_t(k)].effect + " " + d[35 + std::size_t(k)].target, std::string(kLine1Fx) + " backbuffer");
  }
  EXPECT_EQ(d[0].pass, 1);
  EXPECT_EQ(d[0].param("tex0"), "quarvdemo\\soft.png");
  EXPECT_EQ(d[35].pass, 1);
  EXPECT_EQ(d[35].param("tex0") + " " + d[35].param("tex1"), "quarvdemo\\linetexture.png quarvdemo\\spotlight01.png");
  EXPECT_EQ(d[35].value("ambient"), 0.0f);
  EXPECT_EQ(d[35].value("alpha"), 1.0f);
  EXPECT_EQ(d[30].vb + " " + d[30].effect, std::string("quarvdemo\\render3\\hemi.SCENEGeoSphere01.mesh ") + kTextFx);
  EXPECT_EQ(d[30].stateSummary(), "CCW false false");
  const char* cards[] = {"organ1.jpg", "organ3.jpg", "organ4.jpg", "organ5.jpg"};
  for (int g = 0; g < 4; ++g) {
    const Draw& c = d[31 + std::size_t(g)];
    EXPECT_EQ(c.vb + " " + c.effect, std::string("MainStage.sprites40 ") + kStageParticleFx);
    EXPECT_EQ(c.pass, 2);
    EXPECT_EQ(c.base, 40 * g);
    EXPECT_EQ(c.primitives, 20);
    EXPECT_EQ(c.param("tex0"), std::string("quarvdemo\\renderFSeries\\") + cards[g]);
    const std::vector<float> size = g < 2 ? std::vector<float>{400, 200} : std::vector<float>{200, 400};
    EXPECT_EQ(numbersOf(c.param("ParticleSize")), size);
    EXPECT_EQ(c.stateSummary(), "NONE false true MIN INVSRCCOLOR SRCCOLOR");
  }
  const char* layers[] = {"quarvdemo\\render6\\black.png", "quarvdemo\\white.png", "quarvdemo\\overlay02.png"};
  const float weights[] = {black, white, 1.0f};
  for (int i = 0; i < 3; ++i) {
    const Draw& c = d[66 + std::size_t(i)];
    EXPECT_EQ(c.vb + " " + c.effect + " " + c.param("tex0"), std::string(kQuad) + " " + kTextFx + " " + layers[i]);
    EXPECT_NEAR(c.value("alpha1"), weights[i], 1e-5f) << i;
    EXPECT_EQ(c.stateSummary(), "CW false true ADD SRCALPHA INVSRCALPHA");
  }
  expectOverlayLastAndOnePresent(frame);
}

// Cube n's height in the stage's buffers: noise vertex 162 (r + 1) + 2 q blended by x, plus float 9.
void expectCubeHeights(float x) {
  const std::vector<float> a = vertexFloats(Show::instance().main->noiseMesh),
                           b = vertexFloats(Show::instance().main->noise2Mesh);
  const std::vector<float> cubes = vertexFloats(Show::instance().main->cubeGrid);
  ASSERT_EQ(a.size(), 6561u * 8);
  ASSERT_EQ(b.size(), a.size());
  ASSERT_EQ(cubes.size(), 1600u * 24 * 11);
  for (int n : {0, 40, 41, 1599}) {
    const std::size_t s = std::size_t(162 * (n / 40 + 1) + 2 * (n % 40)) * 8 + 1;
    for (int v : {0, 5, 23}) {
      const float* vertex = &cubes[(std::size_t(n) * 24 + std::size_t(v)) * 11];
      EXPECT_NEAR(vertex[1], a[s] + (b[s] - a[s]) * x + vertex[9], 1e-4f) << x << " cube " << n << " vertex " << v;
    }
  }
}

// noiseMeshB in the stage's buffers: noiseMesh + t (noise2Mesh - noiseMesh), position and normal.
void expectGroundMorph(float t) {
  const std::vector<float> a = vertexFloats(Show::instance().main->noiseMesh),
                           b = vertexFloats(Show::instance().main->noise2Mesh);
  const std::vector<float> ground = vertexFloats(Show::instance().main->noiseMeshB);
  ASSERT_EQ(ground.size(), a.size());
  for (std::size_t f : {std::size_t(1), std::size_t(4), std::size_t(1000 * 8 + 1), std::size_t(6560 * 8 + 5)})
    EXPECT_NEAR(ground[f], a[f] + t * (b[f] - a[f]), 1e-4f) << t << " " << f;
  EXPECT_EQ(ground[6560 * 8 + 6], a[6560 * 8 + 6]);
}

// 94.2 s with bands (0.2, 0.1, 0.05): the normal view with variant 0: gCameras[0] at 6.25 a, far 10000, the
// target moved by 10 S1 on every axis; the light circling 400 up looking at the origin; the ground
// morphed by clamp(0.0333 a) + 3 S2 and drawn shadowed.
TEST(FifthSceneFrames, NormalViewSteps) {
  const float s0 = 0.2f, s1 = 0.1f, s2 = 0.05f;
  FixedSpectrum bands(s0, s1, s2);
  ASSERT_TRUE(bands.loaded);
  Frame frame = frameAt(94.2);
  ASSERT_EQ(frame.renderer, "fifthSceneA");
  const float b = float(94.2), a = b - 91.0f;
  expectSharedSteps(frame, "0xFFFFFFFF", 0.0f, 1.3f * (94.66f - b));
  expectGroundMorph(scenes::fifthMorphWeight(a, s2));

  const assets::Camera cam = sampled(Show::instance().main->gCameras[0], 6.25f * a);
  const D3DXMATRIX view = lookAt(cam.eye, cam.target + D3DXVECTOR3(10 * s1, 10 * s1, 10 * s1));
  const D3DXMATRIX viewProjection = view * perspective(cam.fov, cam.nearPlane, 10000.0f);
  EXPECT_EQ(render::currentCamera().farPlane, 10000.0f);
  const std::vector<Draw>& d = frame.draws;
  EXPECT_TRUE(matricesNear(d[35].matrix("matView"), view, 1e-4f)) << "view";
  EXPECT_TRUE(matricesNear(d[36].matrix("matWorldViewProjection"), scenes::swarmWorld(1) * viewProjection, 2e-3f))
      << "swarm 1";
  EXPECT_NEAR(d[30].value("alpha1"), 2.0f * s0 + 0.6f, 1e-5f);
  EXPECT_EQ(d[30].param("tex0"), "quarvdemo\\render3\\sky03.png");
  EXPECT_TRUE(matricesNear(d[30].matrix("matProjection"), domeWorld(2.0f, -50.0f) * viewProjection, 2e-3f)) << "sky";

  const Draw& ground = d[65];
  EXPECT_EQ(ground.vb + " " + ground.effect, std::string("quarvdemo\\render5\\noise.SCENEPlane01.mesh ") + kBakke1Fx);
  EXPECT_EQ(ground.pass, 2);
  EXPECT_EQ(ground.param("tex0") + " " + ground.param("tex1") + " " + ground.param("tex2") + " " + ground.param("tex3"),
            "quarvdemo\\render5\\diffuse.png quarvdemo\\spotlight01.png shadowTarget quarvdemo\\render5\\normalmap.png");
  EXPECT_NEAR(ground.value("gamma"), s0 + 1.5f, 1e-5f);
  EXPECT_EQ(ground.value("alpha1"), 1.7f);
  EXPECT_TRUE(matricesNear(ground.matrix("matWorldViewProjection"), viewProjection, 2e-3f)) << "ground";
  const D3DXVECTOR3 light(40.0f * std::sin(a), 400.0f, 40.0f * std::cos(a));
  EXPECT_TRUE(pointsNear(ground.vector("LightPosition"), light, 1e-4f)) << "light";
  EXPECT_TRUE(matricesNear(ground.matrix("matLightViewProjection"),
                           lookAt(light, {0, 0, 0}) * perspective(0.41887903f, 1, 10000), 1e-4f))
      << "light view";
  EXPECT_EQ(ground.stateSummary(), "NONE true false");
}

// 93.0 s with bands (0.2, 0.1, 0.05): the alternate view with variant 0: the eye of gCameras[0] at 12.5 pushed to
// (1.5 x, 1.5 (y + 30), 1.5 z), far 100000; the light 500 up looking at (1, 1, 1); the cube field.
TEST(FifthSceneFrames, AlternateViewSteps) {
  const float s0 = 0.2f, s1 = 0.1f, s2 = 0.05f;
  FixedSpectrum bands(s0, s1, s2);
  ASSERT_TRUE(bands.loaded);
  Frame frame = frameAt(93.0);
  ASSERT_EQ(frame.renderer, "fifthSceneB");
  const float b = 93.0f, a = 2.0f;
  expectSharedSteps(frame, "0x00FFFFFF", 0.0f, 1.3f * (93.3f - b));
  expectCubeHeights(scenes::fifthMorphWeight(a, s2));

  const assets::Camera cam = sampled(Show::instance().main->gCameras[0], 12.5f);
  const D3DXVECTOR3 eye(1.5f * cam.eye.x, 1.5f * (cam.eye.y + 30.0f), 1.5f * cam.eye.z);
  const D3DXMATRIX view = lookAt(eye, cam.target + D3DXVECTOR3(10 * s1, 10 * s1, 10 * s1));
  const D3DXMATRIX viewProjection = view * perspective(cam.fov, cam.nearPlane, 100000.0f);
  EXPECT_EQ(render::currentCamera().farPlane, 100000.0f);
  const std::vector<Draw>& d = frame.draws;
  EXPECT_TRUE(matricesNear(d[35].matrix("matView"), view, 1e-4f)) << "view";
  EXPECT_TRUE(matricesNear(d[30].matrix("matProjection"), domeWorld(1.5f, -50.0f) * viewProjection, 2e-3f)) << "sky";
  EXPECT_EQ(d[30].param("tex0"), "quarvdemo\\render4\\sky04.png");
  EXPECT_EQ(d[30].value("alpha1"), 1.0f);

  const Draw& cubes = d[65];
  EXPECT_EQ(cubes.vb + " " + cubes.effect, std::string("MainStage.cubeGrid ") + kCubeFx);
  EXPECT_EQ(cubes.pass, 0);
  EXPECT_EQ(cubes.param("tex0") + " " + cubes.param("tex1") + " " + cubes.param("tex2") + " " + cubes.param("tex3"),
            "quarvdemo\\spotlight01.png quarvdemo\\render4\\cubediffuse.png shadowTarget "
            "quarvdemo\\renderFSeries\\organ5.jpg");
  EXPECT_NEAR(cubes.value("time"), 0.5f * a, 1e-5f);
  EXPECT_NEAR(cubes.value("alpha1"), 2.0f * s0 + 0.6f, 1e-5f);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  EXPECT_TRUE(matricesNear(cubes.matrix("matWorld"), identity, 0.0f)) << "world";
  EXPECT_TRUE(matricesNear(cubes.matrix("matWorldViewProjection"), viewProjection, 2e-3f)) << "cubes";
  const D3DXVECTOR3 light(40.0f * std::sin(a), 500.0f, 40.0f * std::cos(a));
  EXPECT_TRUE(pointsNear(cubes.vector("LightPosition"), light, 1e-4f)) << "light";
  EXPECT_TRUE(matricesNear(cubes.matrix("matLightViewProjection"),
                           lookAt(light, {1, 1, 1}) * perspective(0.48332196f, 1, 10000), 1e-4f))
      << "light view";
  EXPECT_EQ(cubes.stateSummary(), "CCW true false");
}

// With a silent spectrum and a = 0 every cube sits on noiseMesh's height at vertex 162 (r + 1) + 2 q
// and the ground is noiseMesh; at the slot's end both follow the weight 0.959. At a = 0 the
// picture is under the black card; after the last beat (119.45 s) the white card is opaque.
TEST(FifthSceneFrames, SilentMorphAndLiftBlackStartWhiteEnd) {
  FixedSpectrum silent(0.0f, 0.0f, 0.0f);
  ASSERT_TRUE(silent.loaded);
  for (float sceneTime : {0.0f, 28.8f}) {
    const float x = scenes::fifthMorphWeight(sceneTime, 0.0f);
    Frame frameB = drawDirect([&](Show& show) { scenes::fifthSceneB(*show.main, sceneTime, 91.0f + sceneTime, 2); });
    expectCubeHeights(x);
    Frame frameA = drawDirect([&](Show& show) { scenes::fifthSceneA(*show.main, sceneTime, 91.0f + sceneTime, 2); });
    expectGroundMorph(x);
    EXPECT_EQ(frameA.draws[66].value("alpha1"), sceneTime == 0.0f ? 1.0f : 0.0f);
    EXPECT_EQ(frameB.draws[66].value("alpha1"), sceneTime == 0.0f ? 1.0f : 0.0f);
  }
  Frame end = frameAt(119.6);
  ASSERT_EQ(end.renderer, "fifthSceneB");
  EXPECT_EQ(end.draws[67].value("alpha1"), 1.0f);
}

// Both sides of the switch at 92.8 s compute ribbons, sprites and flashes from the same times: the
// swarm's world placements (recovered through each view), sprite centres, ribbon shapes and card
// weights agree; only the view differs.
TEST(FifthSceneFrames, SwitchingViewsKeepsSwarmSpritesAndFlashContinuous) {
  Frame before = frameAt(92.8);
  const std::vector<D3DXVECTOR4> spritesBefore = Show::instance().main->sprites40.positions;
  const std::vector<float> ribbonBefore = vertexFloats(Show::instance().main->planeGrids[0]);
  Frame after = frameAt(92.8001);
  ASSERT_EQ(before.renderer + " " + after.renderer, "fifthSceneA fifthSceneB");
  const D3DXMATRIX vpBefore = before.draws[65].matrix("matWorldViewProjection");
  const D3DXMATRIX vpAfter = after.draws[65].matrix("matWorldViewProjection");
  EXPECT_GT(std::fabs(vpBefore._41 - vpAfter._41), 1e-3f);
  for (std::size_t k : {0u, 7u, 28u})
    EXPECT_TRUE(matricesNear(before.draws[35 + k].matrix("matWorldViewProjection") * inverse(vpBefore),
                             after.draws[35 + k].matrix("matWorldViewProjection") * inverse(vpAfter), 0.1f))
        << "swarm " + std::to_string(k);
  const std::vector<D3DXVECTOR4>& spritesAfter = Show::instance().main->sprites40.positions;
  for (std::size_t i = 0; i < spritesBefore.size(); ++i)
    EXPECT_TRUE(pointsNear({spritesBefore[i].x, spritesBefore[i].y, spritesBefore[i].z},
                           {spritesAfter[i].x, spritesAfter[i].y, spritesAfter[i].z}, 0.1f))
        << "sprite " + std::to_string(i);
  const std::vector<float> ribbonAfter = vertexFloats(Show::instance().main->planeGrids[0]);
  ASSERT_EQ(ribbonBefore.size(), ribbonAfter.size());
  for (std::size_t i = 0; i < ribbonBefore.size(); i += 37) EXPECT_NEAR(ribbonBefore[i], ribbonAfter[i], 0.1f) << i;
  for (std::size_t card : {66u, 67u})
    EXPECT_NEAR(before.draws[card].value("alpha1"), after.draws[card].value("alpha1"), 2e-4f) << card;
}

}  // namespace
