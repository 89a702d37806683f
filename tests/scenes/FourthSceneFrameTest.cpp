// The fourth scene's frames on the trace device: the steps in order with their passes and render
// states, the flash and overlay in one pass, the light, the ribbons larger in the shadow map than on
// screen, the cameras of the beat table and every box of the field lifted from its rest copy.
// Nothing here depends on the spectrum history's past.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/CubeGrid.h"
#include "render/Transforms.h"
#include "scenes/Renderers.h"
#include "tests/support/FrameReplay.h"
#include "timeline/SpectrumTrack.h"

namespace {

using namespace testsupport;

const std::string kSky = "quarvdemo\\render3\\r3.SCENEGeoSphere01.mesh";

Frame fourth(float b) {
  return drawDirect([b](Show& show) { scenes::fourthScene(*show.organ, b - 69.4f, b); });
}

TEST(FourthSceneFrame, StepsPassesAndStatesWithFlashAndOverlayInOnePass) {
  const Frame frame = fourth(80.0f);
  const std::string ribbons =
      "draw OrganStage.planeGrids[0] | draw OrganStage.planeGrids[1] | "
      "draw OrganStage.planeGrids[2] | draw OrganStage.planeGrids[3]";
  EXPECT_EQ(join(frame.steps, " | "),
            "setRenderTarget shadowTarget | beginScene | clear shadowTarget 0x00FFFFFF | " + ribbons +
                " | endScene | setRenderTarget backbuffer | beginScene | clear backbuffer 0x00000000 | draw " + kSky +
                " | draw OrganStage.cubeGrid | " + ribbons +
                " | draw fullScreenQuad | draw fullScreenQuad | endScene"
                " | present");
  EXPECT_EQ(join(frame.passes, " | "),
            "render3_line.fx 1 | demo1_text.fx 0 | demo1_kube.fx 2 | render3_line.fx 0 | demo1_text.fx 0");
  EXPECT_EQ(frame.count("commit"), 9) << "four shadow ribbons, four lit ribbons, the overlay";
  EXPECT_TRUE(frame.messages.empty()) << frame.messages.front();

  const Draw sky = frame.drawsOf(kSky).at(0);
  EXPECT_EQ(sky.stateSummary(), "CCW false false");
  EXPECT_EQ(sky.param("tex0"), "quarvdemo\\render4\\sky04.png");
  EXPECT_FLOAT_EQ(sky.value("alpha1"), 3.0f * timeline::spectrumTrack().band(2, 80.0f) + 0.3f);
  EXPECT_EQ(frame.drawsOf("OrganStage.cubeGrid").at(0).stateSummary(), "CCW true false");
  EXPECT_EQ(frame.drawsOf("OrganStage.planeGrids[0]").at(0).stateSummary(), "NONE false true ADD SRCALPHA INVSRCALPHA");
  EXPECT_EQ(frame.drawsOf("OrganStage.planeGrids[1]").at(1).stateSummary(), "NONE true false");

  // The white flash added at the weight 80.15 - 80, then the overlay blended over it.
  const std::vector<Draw> quads = frame.drawsOf("fullScreenQuad");
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[0].stateSummary(), "CW false true ADD ONE ONE");
  EXPECT_EQ(quads[0].param("tex0"), "quarvdemo\\white.png");
  EXPECT_NEAR(quads[0].value("alpha1"), 0.15f, 1e-5f);
  EXPECT_TRUE(matricesNear(quads[0].matrix("matProjection"), render::ortho(640, 480)));
  EXPECT_EQ(quads[1].stateSummary(), "CW false true ADD SRCALPHA INVSRCALPHA");
  EXPECT_EQ(quads[1].param("tex0"), "quarvdemo\\overlay02.png");
  EXPECT_EQ(quads[1].value("alpha1"), 1.0f);
}

// At 10.6 s: the light circles at (50 sin a, 230, 50 cos a - 100); the cubes get it with the
// identity world; the camera is index 0 (r4Camera09) at camera time 21.2 with the file's far
// plane; the ribbons are stamped at scale 0.5 from the light but drawn at 0.3.
TEST(FourthSceneFrame, LightCameraAndRibbonScales) {
  const float b = 80.0f, a = b - 69.4f;
  const Frame frame = fourth(b);
  timeline::OrganStage& stage = *Show::instance().organ;
  const D3DXVECTOR3 lightEye{50.0f * std::sin(a), 230.0f, 50.0f * std::cos(a) - 100.0f};
  const D3DXMATRIX lightVp = lookAt(lightEye, {0, 100, -100}) * perspective(1.2566371f, 1, 10000);
  const Draw cubes = frame.drawsOf("OrganStage.cubeGrid").at(0);
  const std::vector<float> light = cubes.values("LightPosition");
  ASSERT_EQ(light.size(), 3u);
  EXPECT_TRUE(pointsNear({light[0], light[1], light[2]}, lightEye, 1e-4f));
  EXPECT_TRUE(matricesNear(cubes.matrix("matLightViewProjection"), lightVp));
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  EXPECT_TRUE(matricesNear(cubes.matrix("matWorld"), identity, 0.0f));
  EXPECT_EQ(cubes.param("tex0") + " " + cubes.param("tex1") + " " + cubes.param("tex2"),
            "quarvdemo\\spotlight01.png quarvdemo\\render4\\cubediffuse.png shadowTarget");

  const D3DXMATRIX vp = cubes.matrix("matWorldViewProjection");
  const D3DXMATRIX view = cubes.matrix("matView");
  EXPECT_TRUE(pointsNear(eyeOf(view), stage.r4Camera09.eyeTrack.sample(2.0f * a), 1e-2f));
  const float farPlane = planesOf(view, vp).farPlane;
  EXPECT_NEAR(farPlane, stage.r4Camera09.camera.farPlane, 0.2f * stage.r4Camera09.camera.farPlane);
  EXPECT_TRUE(matricesNear(frame.drawsOf(kSky).at(0).matrix("matProjection"), domeWorld(1.5f, 50.0f) * vp));
  for (int i = 0; i < 4; ++i) {
    const std::vector<Draw> draws = frame.drawsOf("OrganStage.planeGrids[" + std::to_string(i) + "]");
    ASSERT_EQ(draws.size(), 2u);
    const D3DXMATRIX shadow = draws[0].matrix("matLightViewProjection") * inverse(lightVp);
    const D3DXMATRIX onScreen = draws[1].matrix("matWorldViewProjection") * inverse(vp);
    EXPECT_TRUE(pointsNear(apply(shadow, {10, -40, 6}), {-5, 147, 15.0f * i + 20}, 0.05f)) << i;
    EXPECT_TRUE(pointsNear(apply(onScreen, {10, -40, 6}), {-3, 148.2f, 15.0f * i + 12}, 0.05f)) << i;
    EXPECT_EQ(draws[1].values("LightPosition"), light);
  }
}

// Each beat interval's camera member, sampled at 2 a: r4Camera10 up to and including 1.27 s,
// r3Camera06 just after, r4Camera12 at 3 s, r4Camera09 between 13.37 and 14.77 s.
TEST(FourthSceneFrame, CutsPickTheCamerasOfTheTable) {
  timeline::OrganStage& stage = *Show::instance().organ;
  const std::pair<float, const assets::CameraPath*> cases[] = {{1.27f, &stage.r4Camera10},
                                                               {std::nextafter(1.27f, 2.0f), &stage.r3Camera06},
                                                               {3.0f, &stage.r4Camera12},
                                                               {14.0f, &stage.r4Camera09}};
  for (const auto& [a, path] : cases) {
    const Frame frame = drawDirect([a = a](Show& show) { scenes::fourthScene(*show.organ, a, 69.4f + a); });
    const D3DXMATRIX view = frame.drawsOf("OrganStage.cubeGrid").at(0).matrix("matView");
    EXPECT_TRUE(pointsNear(eyeOf(view), path->eyeTrack.sample(2.0f * a), 1e-2f)) << a;
  }
}

// After a frame every box is its rest copy moved by (0, H, -150), H = 60 + the history entry of its
// row + 7 sin(3 b + 0.02 x); normals, texture coordinates and centres stay as they were.
TEST(FourthSceneFrame, EveryBoxIsItsRestCopyLiftedByItsRowAndSway) {
  const float b = 82.3f;
  fourth(b);
  timeline::OrganStage& stage = *Show::instance().organ;
  const auto& history = timeline::spectrumHistory();
  ASSERT_EQ(stage.cubeVertexCopy.size(), 38400u * sizeof(geometry::CubeVertex));
  const auto* rest = reinterpret_cast<const geometry::CubeVertex*>(stage.cubeVertexCopy.data());
  void* data = nullptr;
  ASSERT_EQ(stage.cubeGrid.vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
  const auto* lifted = static_cast<const geometry::CubeVertex*>(data);
  int wrong = 0;
  for (std::size_t v = 0; v < 38400; ++v) {
    const D3DXVECTOR3& centre = rest[v - v % 24].binormal;
    const float h =
        60.0f + history[std::lround((centre.z + 195.0f) / 10.0f)] + 7.0f * std::sin(3.0f * b + 0.02f * centre.x);
    if (!pointsNear(lifted[v].position, rest[v].position + D3DXVECTOR3(0, h, -150), 2e-3f) ||
        lifted[v].normal != rest[v].normal || lifted[v].texcoord != rest[v].texcoord ||
        lifted[v].binormal != rest[v].binormal)
      ++wrong;
  }
  stage.cubeGrid.vertexBuffer->Unlock();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
