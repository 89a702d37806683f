// Frames of the seventh scene on the trace device with the generated content: sky, cards, both
// ground layers around the rising ribbons and the additive swarm, the overlay in a second scene
// bracket; the camera cut and its hold from 154.65 s, the smoke fade, the swarm drift.
#include <gtest/gtest.h>

#include <vector>

#include "scenes/Renderers.h"
#include "scenes/SeventhScene.h"
#include "tests/support/FrameReplay.h"

namespace {

using namespace testsupport;

// 140.0 s is a cut-in during the sixth slot: u = 20.2, past the last cut, so bakkeCameras[0] at
// path time 40.4, far 100000; the smoke is on. Band 2 reads 0.05.
TEST(SeventhSceneFrames, CutInFrameSteps) {
  const float s2 = 0.05f;
  FixedSpectrum bands(0.2f, 0.1f, s2);
  ASSERT_TRUE(bands.loaded);
  Frame frame = frameAt(140.0);
  ASSERT_EQ(frame.renderer, "seventhScene");
  const float u = 140.0f - 119.8f, b = 140.0f;
  EXPECT_EQ(frame.args, (std::vector<float>{u, b}));
  std::string expected = "beginScene|clear backbuffer 0x00000000|draw quarvdemo\\render3\\hemi.SCENEGeoSphere01.mesh|";
  for (int g = 0; g < 4; ++g) expected += "draw MainStage.sprites40|";
  expected += "draw quarvdemo\\renderFSeries\\bakke.SCENEPlane03.mesh|";
  for (int i = 0; i < 30; ++i) expected += "draw " + grid(1) + "|";
  expected += "draw MainStage.swarmSprites|draw quarvdemo\\renderFSeries\\bakke.SCENEPlane01.mesh|endScene|"
              "beginScene|draw fullScreenQuad|endScene|present|";
  std::string steps;
  for (const std::string& s : frame.steps) steps += s + "|";
  EXPECT_EQ(steps, expected);
  const std::vector<Draw>& d = frame.draws;
  ASSERT_EQ(d.size(), 39u);

  const assets::Camera cam = sampled(Show::instance().main->bakkeCameras[0], 40.4f);
  const D3DXMATRIX view = lookAt(cam.eye, cam.target);
  const D3DXMATRIX viewProjection = view * perspective(cam.fov, cam.nearPlane, 100000.0f);
  EXPECT_TRUE(matricesNear(d[0].matrix("matProjection"), domeWorld(2.0f, -50.0f) * viewProjection, 2e-3f)) << "sky";
  EXPECT_EQ(d[0].param("tex0"), "quarvdemo\\render3\\sky03.png");
  EXPECT_NEAR(d[0].value("alpha1"), 2.0f * s2 + 0.3f, 1e-5f);
  EXPECT_EQ(d[0].stateSummary(), "CCW false false");
  for (int g = 0; g < 4; ++g) {
    EXPECT_EQ(d[1 + std::size_t(g)].effect + " " + std::to_string(d[1 + std::size_t(g)].pass),
              std::string(kStageParticleFx) + " 2");
    EXPECT_EQ(d[1 + std::size_t(g)].stateSummary(), "NONE false true MIN INVSRCCOLOR SRCCOLOR");
  }

  // Both ground layers: bakke1 pass 3 with the same values, lit from (1, 180, 1) toward (0.1, 1, 0).
  const D3DXMATRIX lightViewProjection =
      lookAt({1.0f, 180.0f, 1.0f}, {0.1f, 1.0f, 0.0f}) * perspective(0.5235988f, 1.0f, 10000.0f);
  for (std::size_t g : {5u, 37u}) {
    const Draw& ground = d[g];
    EXPECT_EQ(ground.effect + " " + std::to_string(ground.pass), std::string(kBakke1Fx) + " 3");
    EXPECT_EQ(ground.param("tex0") + " " + ground.param("tex1") + " " + ground.param("tex3"),
              "quarvdemo\\renderFSeries\\diffuse.png quarvdemo\\spotlight01.png quarvdemo\\renderFSeries\\normalf.png");
    EXPECT_NEAR(ground.value("alpha1"), 6.0f * s2 + 1.0f, 1e-5f);
    EXPECT_TRUE(pointsNear(ground.vector("LightPosition"), {1.0f, 180.0f, 1.0f}, 0.0f)) << "light eye";
    EXPECT_TRUE(matricesNear(ground.matrix("matLightViewProjection"), lightViewProjection, 1e-4f)) << "light";
    EXPECT_TRUE(matricesNear(ground.matrix("matWorldViewProjection"), viewProjection, 2e-3f)) << "ground";
    EXPECT_EQ(ground.stateSummary(), "CCW true false");
  }

  for (int i = 0; i < 30; ++i) {
    const Draw& r = d[6 + std::size_t(i)];
    EXPECT_EQ(r.effect + " " + std::to_string(r.pass) + " " + r.param("tex0"),
              std::string(kLine1Fx) + " 2 quarvdemo\\soft.png");
    EXPECT_EQ(r.value("alpha"), 1.0f);
    EXPECT_EQ(r.value("ambient"), 0.0f);
    EXPECT_EQ(r.stateSummary(), "NONE true true ADD SRCALPHA INVSRCALPHA");
    EXPECT_TRUE(
        matricesNear(r.matrix("matWorldViewProjection"), scenes::seventhRibbonWorld(i, u) * viewProjection, 2e-3f))
        << "ribbon " + std::to_string(i);
  }
  EXPECT_TRUE(matricesNear(d[6].matrix("matView"), view, 1e-4f)) << "view";

  const Draw& swarm = d[36];
  EXPECT_EQ(swarm.effect + " " + std::to_string(swarm.pass) + " " + swarm.param("tex0"),
            std::string(kStageParticleFx) + " 0 quarvdemo\\renderFSeries\\remse.png");
  EXPECT_EQ(std::to_string(swarm.base) + " " + std::to_string(swarm.vertices) + " " + std::to_string(swarm.primitives),
            "0 40000 20000");
  EXPECT_EQ(numbersOf(swarm.param("ParticleSize")), (std::vector<float>{0.8f, 0.8f}));
  EXPECT_EQ(swarm.stateSummary(), "NONE false true ADD ONE ONE");
  EXPECT_EQ(d[38].stateSummary(), "CW false true ADD SRCALPHA INVSRCALPHA");
  expectOverlayLastAndOnePresent(frame);
}

// From 154.65 s on the camera stays on bakkeCamera whatever the cut; at 154.65 the cut's path.
TEST(SeventhSceneFrames, CameraHoldsTheFirstPathFromTheSlotChange) {
  Frame before = frameAt(154.65);
  Frame after = frameAt(154.66);
  ASSERT_EQ(before.renderer + " " + after.renderer, "seventhScene seventhScene");
  const float uBefore = float(154.65) - 119.8f, uAfter = float(154.66) - 119.8f;
  EXPECT_EQ(scenes::seventhCameraIndex(uAfter), 1);
  EXPECT_TRUE(pointsNear(eyeOf(before.draws[6].matrix("matView")),
                         sampled(Show::instance().main->bakkeCameras[0], scenes::seventhCameraTime(uBefore)).eye,
                         1e-2f))
      << "cut camera";
  EXPECT_TRUE(pointsNear(eyeOf(after.draws[6].matrix("matView")),
                         sampled(Show::instance().main->bakkeCamera, scenes::seventhCameraTime(uAfter)).eye, 1e-2f))
      << "held camera";
  EXPECT_EQ(render::currentCamera().farPlane, 100000.0f);
}

// The smoke is half faded at 155.8 s and gone at 165 s; the swarm moves from the centres stored at
// load time (heights within 40), and drawing the same time again gives the same centres.
TEST(SeventhSceneFrames, SmokeFadesAndSwarmDriftsFromStoredCentres) {
  EXPECT_NEAR(frameAt(155.8).draws[6].value("alpha"), 0.5f, 1e-3f);
  Frame late = frameAt(165.0);
  EXPECT_EQ(late.draws[6].value("alpha"), 0.0f);
  timeline::MainStage& stage = *Show::instance().main;
  const float u = 165.0f - 119.8f;
  const auto& selection = stage.swarmSelection;
  for (std::size_t k : {0u, 1234u, 9999u}) {
    const D3DXVECTOR4& p = stage.swarmSprites.positions[selection.indices[k]];
    EXPECT_TRUE(
        pointsNear({p.x, p.y, p.z}, scenes::seventhSwarmCentre(std::uint32_t(k), selection.records[k], u), 1e-5f))
        << "particle " + std::to_string(k);
  }
  const std::vector<D3DXVECTOR4> first = stage.swarmSprites.positions;
  for (const D3DXVECTOR4& p : first) ASSERT_TRUE(p.y >= 0.0f && p.y <= 40.0f) << p.y;
  frameAt(150.7);
  frameAt(165.0);
  for (std::size_t i = 0; i < first.size(); i += 97)
    EXPECT_TRUE(pointsNear(
        {first[i].x, first[i].y, first[i].z},
        {stage.swarmSprites.positions[i].x, stage.swarmSprites.positions[i].y, stage.swarmSprites.positions[i].z},
        0.0f))
        << "particle " + std::to_string(i);
}

// The scene time is measured from 119.8 s in both slots, so the animation runs on across 154.64 s
// and across the cut-ins.
TEST(SeventhSceneFrames, SceneTimeRunsOnAcrossSlotsAndCutIns) {
  for (double t : {122.5, 150.7, 154.65, 170.0}) {
    Frame frame = frameAt(t);
    ASSERT_EQ(frame.renderer, "seventhScene") << t;
    EXPECT_EQ(frame.args[0], float(t) - 119.8f) << t;
  }
}

}  // namespace
