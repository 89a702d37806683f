// The third scene's frames on the trace device: the steps in order with their targets, passes and
// render states, the matrices against the camera paths, the light and the mesh tracks, the bands
// in the sky and the waves, the distortion's window, the camera cuts, the debug print and the
// schedule's choice in the slot. Nothing here depends on the pulse generators' history.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/win32/Keyboard.h"
#include "render/Transforms.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"
#include "timeline/SpectrumTrack.h"

namespace {

using namespace testsupport;

const std::string kR3 = "quarvdemo\\render3\\r3.SCENE";
const D3DXMATRIX kLightViewProjection = lookAt({100, 300, 1}, {0, 0, 0}) * perspective(1.0471976f, 1, 10000);

Frame third(float a) {
  return drawDirect([a](Show& show) { scenes::thirdScene(*show.organ, a, 47.7f + a); });
}

// The camera's view-projection, taken off the sky dome's matrix (scale 1.5, then up 50).
D3DXMATRIX cameraViewProjection(const Frame& frame) {
  const D3DXMATRIX sky = frame.drawsOf(kR3 + "GeoSphere01.mesh").at(0).matrix("matProjection");
  return inverse(domeWorld(1.5f, 50.0f)) * sky;
}

TEST(ThirdSceneFrame, StepsInOrderWithTheirTargetsPassesAndStates) {
  const Frame frame = third(4.3f);
  const std::string ribbons =
      "draw OrganStage.planeGrids[0] | draw OrganStage.planeGrids[1] | "
      "draw OrganStage.planeGrids[2] | draw OrganStage.planeGrids[3]";
  std::string cards;
  for (int n = 1; n <= 6; ++n) cards += " | draw " + kR3 + "organ" + std::to_string(n) + ".mesh";
  EXPECT_EQ(join(frame.steps, " | "),
            "setRenderTarget shadowTarget | beginScene | clear shadowTarget 0x00FFFFFF | " + ribbons +
                " | endScene | setRenderTarget backbuffer | beginScene | clear backbuffer 0x00000000 | draw " + kR3 +
                "Plane01.mesh | draw " + kR3 + "GeoSphere01.mesh" + cards + " | " + ribbons + " | draw " + kR3 +
                "Plane03.mesh | endScene | stretchRect backbuffer screenCopyTarget | beginScene | draw distortionGrid"
                " | draw fullScreenQuad | endScene | present");
  EXPECT_EQ(join(frame.passes, " | "),
            "render3_line.fx 1 | render3_bakke.fx 0 | demo1_text.fx 0 | render3_organ.fx 0 | render3_line.fx 0 | "
            "render3_organ.fx 0 | render3_post.fx 1 | demo1_text.fx 0");
  EXPECT_TRUE(frame.messages.empty()) << frame.messages.front();

  // By draw index: shadow stamp, ground, sky, a card, a lit ribbon, the face, distortion, overlay.
  const std::vector<std::pair<int, std::string>> states = {{0, "NONE false true ADD SRCALPHA INVSRCALPHA"},
                                                           {4, "CCW true false"},
                                                           {5, "CCW true false"},
                                                           {6, "NONE false true ADD SRCALPHA INVSRCALPHA"},
                                                           {12, "NONE true false"},
                                                           {16, "CCW true true ADD SRCALPHA INVSRCALPHA"},
                                                           {17, "CW false false"},
                                                           {18, "CW false true ADD SRCALPHA INVSRCALPHA"}};
  ASSERT_EQ(frame.draws.size(), 19u);
  for (const auto& [i, expected] : states) EXPECT_EQ(frame.draws[i].stateSummary(), expected) << i;
  EXPECT_EQ(frame.draws.back().param("tex0"), "quarvdemo\\overlay02.png");
  EXPECT_EQ(frame.draws.back().value("alpha1"), 1.0f);
}

// At 4.3 s the camera is path 0 at path time 6.02 with its far plane pushed to 100000; the ground
// uses the plane's tracks at a, the cards and the face theirs at 1.55 a; the ribbons hang at scale
// 0.5 both in the shadow map and on screen.
TEST(ThirdSceneFrame, MatricesFollowTheCameraTheLightAndTheTracks) {
  const float a = 4.3f, r = 1.55f * a;
  const Frame frame = third(a);
  timeline::OrganStage& stage = *Show::instance().organ;
  const D3DXMATRIX vp = cameraViewProjection(frame);
  const Draw ground = frame.drawsOf(kR3 + "Plane01.mesh").at(0);
  EXPECT_TRUE(matricesNear(ground.matrix("matLightViewProjection"), kLightViewProjection));
  EXPECT_TRUE(matricesNear(ground.matrix("matWorldViewProjection"),
                           render::meshWorld(*stage.organMeshes.lookup("plane01"), a) * vp));
  EXPECT_EQ(ground.values("movement"), (std::vector<float>{3.0f * (47.7f + a), 0.0f}));
  EXPECT_EQ(ground.values("baseColor"), (std::vector<float>{0.6039216f, 0.254902f, 0.07058824f, 0.0f}));
  EXPECT_EQ(ground.param("tex0") + ground.param("tex1") + ground.param("tex2"),
            "quarvdemo\\render3\\bakke2.jpgquarvdemo\\render3\\coverup.pngshadowTarget");

  const Draw lit = frame.drawsOf("OrganStage.planeGrids[0]").at(1);
  const D3DXMATRIX view = lit.matrix("matView");
  EXPECT_TRUE(pointsNear(eyeOf(view), stage.organCameras[0].eyeTrack.sample(1.4f * a), 1e-2f));
  const D3DXMATRIX projection = inverse(view) * vp;
  EXPECT_GT(planesOf(view, vp).farPlane, 50000.0f) << "the file's is 10000";
  EXPECT_NEAR(projection._22, 1.0f / std::tan(0.4f), 1e-3f) << "fov 0.8 x the path's 1.0";
  EXPECT_EQ(lit.values("LightPosition"), (std::vector<float>{100.0f, 300.0f, 1.0f}));

  // Ribbon i maps its local (10, -40, 6) to (-5, 147, 15 i + 20) at scale 0.5, in both passes.
  for (const Draw& d : frame.draws) {
    if (d.vb.rfind("OrganStage.planeGrids[", 0) != 0) continue;
    const int i = d.vb[22] - '0';
    const bool shadow = d.target == "shadowTarget";
    const D3DXMATRIX world = shadow ? d.matrix("matLightViewProjection") * inverse(kLightViewProjection)
                                    : d.matrix("matWorldViewProjection") * inverse(vp);
    EXPECT_TRUE(pointsNear(apply(world, {10, -40, 6}), {-5, 147, 15.0f * i + 20}, 0.05f)) << d.vb;
  }
  for (int n = 1; n <= 6; ++n) {
    const std::string key = "organ" + std::to_string(n);
    const Draw card = frame.drawsOf(kR3 + key + ".mesh").at(0);
    const assets::Mesh& mesh = *stage.organMeshes.lookup(key.c_str());
    EXPECT_TRUE(matricesNear(card.matrix("matProjection"), render::meshWorld(mesh, r) * vp)) << key;
    EXPECT_EQ(card.param("tex0"), "quarvdemo\\render3\\organ" + std::to_string(n) + ".png");
  }
  const Draw face = frame.drawsOf(kR3 + "Plane03.mesh").at(0);
  EXPECT_TRUE(matricesNear(face.matrix("matProjection"), render::meshWorld(*stage.organMeshes.lookup("face"), r) * vp));
  EXPECT_EQ(face.param("tex0"), "quarvdemo\\render3\\face.png");
}

// The sky's brightness is 3 S2 + 0.8 and the waves' frequency 5000 S0, at a time both bands move.
TEST(ThirdSceneFrame, BandsDriveTheSkyAndTheWaveFrequency) {
  Show::instance();
  const float s0 = timeline::spectrumTrack().band(0, 57.7f), s2 = timeline::spectrumTrack().band(2, 57.7f);
  ASSERT_GT(s0, 0.0f);
  ASSERT_GT(s2, 0.0f);
  const Frame frame = third(10.0f);
  EXPECT_FLOAT_EQ(frame.drawsOf(kR3 + "GeoSphere01.mesh").at(0).value("alpha1"), 3.0f * s2 + 0.8f);
  EXPECT_FLOAT_EQ(frame.drawsOf("distortionGrid").at(0).value("freq"), 5000.0f * s0);
}

// Waves (pass 1, "anim" = a, amplitude within ±0.05) strictly inside (2.9, 21); the ring (pass 0)
// at both bounds, setting neither amplitude nor frequency, whose values there are stale.
TEST(ThirdSceneFrame, DistortionPassAtTheBoundsOfTheWaveWindow) {
  for (float a : {2.9f, 21.0f, 21.5f, 1.0f}) {
    const Draw grid = third(a).drawsOf("distortionGrid").at(0);
    EXPECT_EQ(grid.pass, 0) << a;
    EXPECT_GE(grid.value("anim"), 0.0f) << a;
    EXPECT_LE(grid.value("anim"), 3.1415927f) << a;
    EXPECT_EQ(grid.param("amplitude") + grid.param("freq"), "") << a;
  }
  for (float a : {std::nextafter(2.9f, 3.0f), 12.0f, std::nextafter(21.0f, 20.0f)}) {
    const Draw grid = third(a).drawsOf("distortionGrid").at(0);
    EXPECT_EQ(grid.pass, 1) << a;
    EXPECT_EQ(grid.value("anim"), a);
    EXPECT_LE(std::fabs(grid.value("amplitude")), 0.05f) << a;
    EXPECT_EQ(grid.param("tex0"), "screenCopyTarget");
  }
}

// The eye follows the path of each cut at 1.4 a: path 1 up to 1.27 s, path 2 just after, path 0
// at 13.5 s straight after path 2.
TEST(ThirdSceneFrame, CutsPickThePathOfTheTable) {
  timeline::OrganStage& stage = *Show::instance().organ;
  const std::pair<float, int> cases[] = {
      {0.5f, 1}, {1.27f, 1}, {std::nextafter(1.27f, 2.0f), 2}, {13.0f, 2}, {13.5f, 0}};
  for (const auto& [a, path] : cases) {
    const D3DXMATRIX view = third(a).drawsOf("OrganStage.planeGrids[2]").at(1).matrix("matView");
    EXPECT_TRUE(pointsNear(eyeOf(view), stage.organCameras[path].eyeTrack.sample(1.4f * a), 1e-2f)) << a;
  }
}

TEST(ThirdSceneFrame, PrintsBothTimesWhileKey67IsHeld) {
  testing::internal::CaptureStdout();
  third(4.3f);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  win32::setKeyStateForTesting(67, true);
  testing::internal::CaptureStdout();
  third(4.3f);
  const std::string printed = testing::internal::GetCapturedStdout();
  win32::setKeyStateForTesting(67, false);
  EXPECT_EQ(printed, "time = 4.300000 - rtime = 52.000000\n");
}

// In the slot: the scene away from the beats, the flash in the half second before one, with
// flash value 0 and an unlit ground on the beat itself.
TEST(ThirdSceneFrame, TheSlotDrawsTheSceneOrItsFlash) {
  EXPECT_EQ(frameAt(52.0).renderer, "thirdScene");
  const Frame frame = frameAt(double(49.12f));  // the beat as the table holds it
  EXPECT_EQ(frame.renderer, "thirdFlash");
  EXPECT_EQ(frame.args, (std::vector<float>{49.12f - 47.7f, 49.12f, 1.0f, 0.0f}));
  EXPECT_EQ(frame.drawsOf("quarvdemo\\render1\\grotte.SCENEPlane01.mesh").at(0).value("alpha1"), 0.0f);
}

}  // namespace
