// The sixth and seventh scenes' pure rules: wrapped time, cuts, backwards camera time, ribbon
// placements, fade and flash; the seventh scene's camera choice and hold, swarm drift, rising
// ribbons and their fade (no device).
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/SeventhScene.h"
#include "scenes/SixthScene.h"

namespace {

constexpr float kNoise0 = -0.28179098f;  // LatticeNoise(0)

// u' loses 12.9 at most twice; each cut interval includes its upper bound; whatever the count of
// entries below u', the cut stays one of the six.
TEST(SixthSceneRules, WrappedTimeAndCutIndex) {
  EXPECT_FLOAT_EQ(scenes::sixthWrappedTime(12.9f), 12.9f);
  EXPECT_NEAR(scenes::sixthWrappedTime(13.0f), 0.1f, 1e-5f);
  EXPECT_NEAR(scenes::sixthWrappedTime(40.0f), 14.2f, 1e-5f);
  const struct {
    float uw;
    int cut;
  } cases[] = {{0.0f, 0}, {3.25f, 0}, {3.2501f, 1}, {4.6f, 1}, {4.61f, 2}, {6.46f, 2},
               {6.47f, 3}, {8.9f, 3}, {8.91f, 4}, {10.9f, 4}, {10.91f, 5}, {12.9f, 5}};
  for (const auto& c : cases) EXPECT_EQ(scenes::sixthCutIndex(c.uw), c.cut) << c.uw;
  for (float uw = 0.0f; uw < 600.0f; uw += 0.37f) {
    EXPECT_GE(scenes::sixthCutIndex(uw), 0) << uw;
    EXPECT_LE(scenes::sixthCutIndex(uw), 5) << uw;
  }
}

// Each shot plays its path backwards: 5 x its length just after the cut (16.25 for the first),
// 0 at the next cut; the ribbon time is u, or u' less the cut's offset in cuts 1 to 3.
TEST(SixthSceneRules, CameraAndRibbonTimeOfEachCut) {
  EXPECT_FLOAT_EQ(scenes::sixthCameraTime(0, 0.0f), 16.25f);
  EXPECT_FLOAT_EQ(scenes::sixthCameraTime(0, 3.25f), 0.0f);
  EXPECT_NEAR(scenes::sixthCameraTime(3, 6.4601f), 5.0f * (8.9f - 6.46f), 1e-3f);
  EXPECT_NEAR(scenes::sixthCameraTime(2, 5.7276f), 3.662f, 1e-3f);
  EXPECT_FLOAT_EQ(scenes::sixthRibbonTime(0, 2.0f, 2.0f), 2.0f);
  EXPECT_NEAR(scenes::sixthRibbonTime(1, 4.0f, 4.0f), 2.7f, 1e-6f);
  EXPECT_NEAR(scenes::sixthRibbonTime(3, 7.0f, 7.0f), 3.0f, 1e-6f);
  EXPECT_FLOAT_EQ(scenes::sixthRibbonTime(4, 14.0f, 1.1f), 14.0f);
}

// Ribbons run along +x 100 units per ribbon-second, 600 kept, just past it wrapping to -400; the
// world lays the ribbon's length along x: local (x, y, z) -> (X + 0.1 y, -20 - 0.1 z, -0.1 x).
TEST(SixthSceneRules, RibbonsDriftAlongXAndWrap) {
  EXPECT_FLOAT_EQ(scenes::sixthRibbonX(3, 0.0f), -355.0f);
  EXPECT_FLOAT_EQ(scenes::sixthRibbonX(0, 6.0f), 200.0f);
  EXPECT_NEAR(scenes::sixthRibbonX(0, 6.01f), -399.0f, 1e-3f);
  const D3DXMATRIX w = scenes::sixthRibbonWorld(1, 1.0f);
  const float x = -400.0f + 15.0f + 100.0f;
  const D3DXVECTOR3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const D3DXVECTOR3 expected[3] = {{x, -20.0f, -0.1f}, {x + 0.1f, -20.0f, 0.0f}, {x, -20.1f, 0.0f}};
  for (int i = 0; i < 3; ++i) {
    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, &axes[i], &w);
    EXPECT_NEAR(p.x, expected[i].x, 1e-4f) << i;
    EXPECT_NEAR(p.y, expected[i].y, 1e-4f) << i;
    EXPECT_NEAR(p.z, expected[i].z, 1e-5f) << i;
  }
}

// The fade covers u' = 0 and is gone at 2; the flash is 0 more than 1/3.3 s before a beat, rising
// to 0.5 on it; before 122.41 the first beat is the reference; past every entry there is none.
TEST(SixthSceneRules, FadeAndFlash) {
  EXPECT_FLOAT_EQ(scenes::sixthFadeOpacity(0.0f), 1.0f);
  EXPECT_FLOAT_EQ(scenes::sixthFadeOpacity(1.0f), 0.5f);
  EXPECT_FLOAT_EQ(scenes::sixthFadeOpacity(2.0f), 0.0f);
  EXPECT_FLOAT_EQ(scenes::sixthFlashOpacity(120.0f), 0.0f);
  EXPECT_FLOAT_EQ(scenes::sixthFlashOpacity(122.41f - 0.31f), 0.0f);
  EXPECT_NEAR(scenes::sixthFlashOpacity(122.41f - 0.1f), 0.5f * (1.0f - 0.33f), 1e-4f);
  EXPECT_FLOAT_EQ(scenes::sixthFlashOpacity(122.41f), 0.5f);
  EXPECT_NEAR(scenes::sixthFlashOpacity(122.42f), 0.5f * (1.0f - 3.3f * 0.21f), 1e-4f);
  EXPECT_FLOAT_EQ(scenes::sixthFlashOpacity(2000.0f), 0.0f);
}

// The camera index per interval of u (the fourth scene's), each interval including its upper
// bound; from 154.65 s the first path holds whatever the cut, its time looping every 25 s.
TEST(SeventhSceneRules, CameraIndexAndHold) {
  const struct {
    float u;
    int index;
  } cases[] = {{-1.0f, 0}, {0.0f, 0},  {0.5f, 1},  {1.27f, 1}, {2.7f, 2},  {3.0f, 3},   {4.15f, 3},
               {5.46f, 0}, {6.0f, 1},  {8.04f, 2}, {9.0f, 3},  {10.0f, 0}, {11.0f, 1},  {13.37f, 2},
               {14.0f, 0}, {15.0f, 1}, {17.0f, 2}, {18.75f, 3}, {20.06f, 0}, {20.07f, 1}, {56.0f, 1}};
  for (const auto& c : cases) EXPECT_EQ(scenes::seventhCameraIndex(c.u), c.index) << c.u;
  EXPECT_EQ(scenes::seventhCameraPath(34.85f, 154.65f), 1);
  EXPECT_EQ(scenes::seventhCameraPath(34.86f, 154.66f), 0);
  EXPECT_FLOAT_EQ(scenes::seventhCameraTime(25.0f), 50.0f);
  EXPECT_NEAR(scenes::seventhCameraTime(45.2f), 40.4f, 1e-4f);
}

// Swarm heights rise 10 a second and wrap within 40 (40 kept); the spread around the funnel's axis
// (7.6, 28.8) grows with height.
TEST(SeventhSceneRules, SwarmRisesWrapsAndSpreadsWithHeight) {
  const D3DXVECTOR4 rest(5.0f, 39.0f, -5.0f, 0.0f);
  const D3DXVECTOR3 low = scenes::seventhSwarmCentre(0, rest, 0.2f);
  const float s = 0.4f * kNoise0 + 0.02f * 1.0f;
  EXPECT_NEAR(low.y, 1.0f, 1e-4f);
  EXPECT_NEAR(low.x, s * 5.0f + 7.6f, 1e-4f);
  EXPECT_NEAR(low.z, s * -5.0f + 28.8f, 1e-4f);
  EXPECT_FLOAT_EQ(scenes::seventhSwarmCentre(0, rest, 0.1f).y, 40.0f);
  const D3DXVECTOR4 r7(3.0f, 0.0f, 4.0f, 0.0f);  // LatticeNoise(7) > 0
  auto spread = [&](float u) {
    const D3DXVECTOR3 c = scenes::seventhSwarmCentre(7, r7, u);
    return std::hypot(c.x - 7.6f, c.z - 28.8f);
  };
  EXPECT_GT(spread(3.5f), spread(0.5f));
}

// A ribbon rising past y = 200 wraps to -300; the smoke fades between 154.8 and 156.8 s.
TEST(SeventhSceneRules, RisingRibbonsWrapAndFadeOut) {
  EXPECT_FLOAT_EQ(scenes::seventhRibbonWorld(0, 500.0f / 120.0f)._42, 200.0f);
  EXPECT_NEAR(scenes::seventhRibbonWorld(0, 501.0f / 120.0f)._42, -299.0f, 1e-3f);
  const D3DXMATRIX w = scenes::seventhRibbonWorld(0, 0.0f);
  EXPECT_NEAR(w._41, 5.0f * kNoise0 + 7.0f, 1e-4f);
  EXPECT_NEAR(w._43, 5.0f * kNoise0 + 32.0f, 1e-4f);
  EXPECT_FLOAT_EQ(scenes::seventhRibbonFade(154.8f), 1.0f);
  EXPECT_FLOAT_EQ(scenes::seventhRibbonFade(155.8f), 0.5f);
  EXPECT_FLOAT_EQ(scenes::seventhRibbonFade(156.8f), 0.0f);
  EXPECT_FLOAT_EQ(scenes::seventhRibbonFade(175.0f), 0.0f);
}

}  // namespace
