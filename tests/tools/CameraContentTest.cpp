// The generated camera paths against what their scenes sample and show: enough keys for every
// sampled time, planes and field of view as the scenes expect, loops where a wrap falls inside a
// running shot, and at every sampled time the scene's action on screen (a camera that looks at
// nothing is a bug). Points are projected the way the scenes do: D3DX look-at with up (0, 1, 0),
// vertical field of view 0.8 × the file's, aspect 4:3.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "assets/CameraFile.h"
#include "platform/d3dx9/D3DXMath.h"
#include "scenes/SecondScene.h"
#include "tests/tools/GeneratedContent.h"
#include "tests/tools/ManifestPaths.h"

namespace {

using V3 = D3DXVECTOR3;

class CameraContentTest : public ::testing::Test {
protected:
  static assets::CameraFileData load(const std::string& path) {
    assets::CameraFileData camera;
    EXPECT_TRUE(assets::readCameraFile(testsupport::builtContent(path).c_str(), camera)) << path;
    return camera;
  }
};

struct Screen {
  float x, y;   // normalised device coordinates, ±1 at the edges
  bool ahead;   // in front of the near plane
};

Screen project(const assets::CameraFileData& camera, float t, const V3& point) {
  V3 eye = camera.eye.sample(t), target = camera.target.sample(t), up{0, 1, 0};
  D3DXMATRIX view, projection, both;
  D3DXMatrixLookAtLH(&view, &eye, &target, &up);
  D3DXMatrixPerspectiveFovLH(&projection, 0.8f * camera.fov.sample(t), 4.0f / 3.0f, camera.nearPlane, 100000.0f);
  D3DXMatrixMultiply(&both, &view, &projection);
  D3DXVECTOR4 clip;
  D3DXVECTOR4 p{point, 1.0f};
  D3DXVec4Transform(&clip, &p, &both);
  if (clip.w <= camera.nearPlane) return {0, 0, false};
  return {clip.x / clip.w, clip.y / clip.w, true};
}

// What must be on screen: a point (possibly moving with the path time) over path-time ranges.
struct Shot {
  std::string path;
  std::vector<std::pair<float, float>> ranges;
  std::function<std::vector<V3>(float)> points;
  float margin = 1.0f;  // |ndc| limit
};

void expectFramed(const assets::CameraFileData& camera, const Shot& shot) {
  for (auto [from, to] : shot.ranges) {
    for (float t = from; t <= to + 1e-4f; t += 0.05f) {
      for (const V3& p : shot.points(t)) {
        Screen s = project(camera, t, p);
        ASSERT_TRUE(s.ahead) << shot.path << " at " << t << " has (" << p.x << ", " << p.y << ", " << p.z << ") behind it";
        ASSERT_LE(std::abs(s.x), shot.margin) << shot.path << " at " << t << ": (" << p.x << ", " << p.y << ", " << p.z << ")";
        ASSERT_LE(std::abs(s.y), shot.margin) << shot.path << " at " << t << ": (" << p.x << ", " << p.y << ", " << p.z << ")";
      }
    }
  }
}

std::function<std::vector<V3>(float)> fixed(std::vector<V3> points) {
  return [points](float) { return points; };
}

TEST_F(CameraContentTest, EveryPathLooksAtATargetInsideItsFrustum) {
  for (const std::string& path : testsupport::manifestCameras()) {
    assets::CameraFileData camera = load(path);
    ASSERT_GE(camera.fov.count(), 1u) << path;
    ASSERT_GE(camera.eye.count(), 1u) << path;
    ASSERT_EQ(camera.eye.count(), camera.target.count()) << path;
    EXPECT_GT(camera.fov.keys()[0], 0.5f) << path;
    EXPECT_LT(camera.fov.keys()[0], 1.6f) << path;
    EXPECT_EQ(camera.farPlane, path.find("intro") != std::string::npos ? 100000.0f : 10000.0f) << path;
    for (std::uint32_t k = 0; k < camera.eye.count(); ++k) {
      V3 d = camera.target.keys()[k] - camera.eye.keys()[k];
      float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
      ASSERT_GT(length, camera.nearPlane) << path << " key " << k;
      ASSERT_LT(length, camera.farPlane) << path << " key " << k;
      // Up is (0, 1, 0): a vertical view direction has no defined view matrix.
      ASSERT_GT(std::hypot(d.x, d.z), 0.05f * length) << path << " key " << k;
    }
  }
}

TEST_F(CameraContentTest, PathsHoldKeysForEverySampledTime) {
  struct Need {
    const char* path;
    float lastTime;  // the latest path time any scene samples
  };
  const Need needs[] = {{"quarvdemo\\render1\\intro\\intro.SCENECamera01.camera", 42.8f},
                        {"quarvdemo\\render1\\grotte.SCENECamera05.camera", 50.0f},
                        {"quarvdemo\\render3\\r3.SCENECamera05.camera", 30.4f},
                        {"quarvdemo\\render3\\r3.SCENECamera06.camera", 34.8f},
                        {"quarvdemo\\render4\\r4.SCENECamera09.camera", 43.2f},
                        {"quarvdemo\\render5\\g.SCENECamera02.camera", 50.0f},
                        {"quarvdemo\\vally\\vally.SCENECamera01.camera", 16.25f},
                        {"quarvdemo\\vally\\vally.SCENECamera06.camera", 12.2f},
                        {"quarvdemo\\vally\\vally.SCENECamera05.camera", 10.0f},
                        {"quarvdemo\\render6\\endorf.SCENECamera02.camera", 44.0f},
                        {"quarvdemo\\renderFSeries\\bakke.SCENECamera01.camera", 50.0f}};
  for (const Need& need : needs) {
    assets::CameraFileData camera = load(need.path);
    EXPECT_GE(float(camera.eye.count() - 1) / 10.0f, need.lastTime - 1e-4f) << need.path;
  }
}

TEST_F(CameraContentTest, PathsThatWrapInsideAShotEndWhereTheyStart) {
  for (const char* path : {"quarvdemo\\render5\\g.SCENECamera01.camera", "quarvdemo\\render5\\g.SCENECamera02.camera",
                           "quarvdemo\\render5\\g.SCENECamera04.camera", "quarvdemo\\renderFSeries\\bakke.SCENECamera01.camera",
                           "quarvdemo\\renderFSeries\\bakke.SCENECamera02.camera"}) {
    assets::CameraFileData camera = load(path);
    ASSERT_EQ(camera.eye.count(), 501u) << path;
    EXPECT_EQ(camera.eye.keys()[500], camera.eye.keys()[0]) << path;
    EXPECT_EQ(camera.target.keys()[500], camera.target.keys()[0]) << path;
    // And no jump anywhere else: neighbouring keys stay close.
    for (std::uint32_t k = 1; k <= 500; ++k) {
      V3 d = camera.eye.keys()[k] - camera.eye.keys()[k - 1];
      ASSERT_LT(std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), 40.0f) << path << " key " << k;
    }
  }
}

TEST_F(CameraContentTest, OpeningSecondThirdAndFourthScenesFrameTheirAction) {
  // The second scene's ribbon set rushes down the lane after its last hit at 21.11 s (scene time
  // = path time / 1.9); path 05 chases it.
  auto chased = [](float t) {
    float a = t / 1.9f;
    return std::vector<V3>{{1.0f, 12.0f, 87.5f - 112.0f * (a - 21.11f)}};
  };
  const std::vector<Shot> shots = {
      {"quarvdemo\\render1\\intro\\intro.SCENECamera01.camera", {{0, 42.8f}}, fixed({{0, 0, 0}}), 0.5f},
      {"quarvdemo\\render1\\grotte.SCENECamera01.camera", {{0, 50}}, fixed({{6, 0, 27}, {0, 12, 60}})},
      {"quarvdemo\\render1\\grotte.SCENECamera05.camera", {{0, 36}}, fixed({{6, 0, 27}, {0, 12, 60}})},
      {"quarvdemo\\render1\\grotte.SCENECamera05.camera", {{40.5f, 50}}, chased},
      // The third scene: the ribbon bundle's middle and the ring of cards.
      {"quarvdemo\\render3\\r3.SCENECamera05.camera", {{0, 30.4f}}, fixed({{0, 150, 23}, {0, 85, 30}})},
      {"quarvdemo\\render3\\r3.SCENECamera06.camera", {{0, 30.4f}}, fixed({{0, 150, 23}, {0, 85, 30}})},
      {"quarvdemo\\render3\\r3.SCENECamera07.camera", {{0, 30.4f}}, fixed({{0, 150, 23}, {0, 85, 30}})},
      {"quarvdemo\\render3\\r3.SCENECamera08.camera", {{0, 30.4f}}, fixed({{0, 150, 23}, {0, 85, 30}})},
      // The fourth scene: the cube field's middle (path 06 is shared with the third scene).
      {"quarvdemo\\render3\\r3.SCENECamera06.camera", {{2.5f, 34.8f}}, fixed({{0, 85, -150}, {0, 150, 23}})},
      {"quarvdemo\\render4\\r4.SCENECamera09.camera", {{0, 43.2f}}, fixed({{0, 85, -150}})},
      {"quarvdemo\\render4\\r4.SCENECamera10.camera", {{0, 43.2f}}, fixed({{0, 85, -150}})},
      {"quarvdemo\\render4\\r4.SCENECamera12.camera", {{0, 43.2f}}, fixed({{0, 85, -150}})},
  };
  for (const Shot& shot : shots) expectFramed(load(shot.path), shot);
}

// Paths 02 to 04 follow the ribbon set between hits: in every frame the scene shows one of them,
// the middle of the set (thrown back to z = 87.5 on every hit, flying toward -z at 112 units a
// second) is on screen. After the last hit path 05 chases the set instead.
TEST_F(CameraContentTest, SecondScenePathsFollowTheRibbonSetInTheFramesTheyAreShown) {
  auto nearHit = [](float a) {
    return std::any_of(scenes::kSecondSceneHits.begin(), scenes::kSecondSceneHits.end(),
                       [a](float hit) { return std::abs(a - hit) < 1.0f / 15.0f; });
  };
  const char* paths[] = {"quarvdemo\\render1\\grotte.SCENECamera02.camera", "quarvdemo\\render1\\grotte.SCENECamera03.camera",
                         "quarvdemo\\render1\\grotte.SCENECamera04.camera"};
  for (int index = 1; index <= 3; ++index) {
    assets::CameraFileData camera = load(paths[index - 1]);
    int shown = 0;
    for (float a = 0.0f; a < scenes::kSecondSceneHits.back(); a += 1.0f / 30.0f) {
      if (scenes::secondScenePath(scenes::secondSceneCut(a).cut) != index) continue;
      // The paths' keys lie 0.1 apart (1/19 s of scene time): the swing back on a hit takes a key.
      if (nearHit(a)) continue;
      ++shown;
      const V3 middle{1.0f, 12.0f, 87.5f - 112.0f * (a - scenes::secondSceneLastHit(a))};
      Screen s = project(camera, scenes::secondScenePathTime(a), middle);
      ASSERT_TRUE(s.ahead) << paths[index - 1] << " at scene time " << a;
      ASSERT_LE(std::max(std::abs(s.x), std::abs(s.y)), 1.0f) << paths[index - 1] << " at scene time " << a;
    }
    EXPECT_GT(shown, 30) << paths[index - 1];
  }
}

// The sixth scene plays each shot backwards: key k is shown k / 50 scene seconds before the cut
// ends, with the ribbons placed at the cut's ribbon time r. Four ribbons 15 apart, X = ((15i +
// 100 r) wrapped to (0, 600]) − 400, centred 22.5 ahead of ribbon 0 and at y −21.
float ribbonX(int i, float r) {
  float x = 15.0f * float(i) + 100.0f * r;
  if (x > 600.0f) x -= 600.0f * std::trunc(x * 0.0016666667f);
  return x - 400.0f;
}

TEST_F(CameraContentTest, ValleyShotsKeepTheRibbonBraidOnScreen) {
  struct Cut {
    const char* path;
    float start, end;
    float ribbonOffset;  // r = u′ − offset
    int firstKey;
  };
  const Cut cuts[] = {{"quarvdemo\\vally\\vally.SCENECamera01.camera", 0.0f, 3.25f, 0.0f, 0},
                      {"quarvdemo\\vally\\vally.SCENECamera02.camera", 3.25f, 4.6f, 1.3f, 0},
                      {"quarvdemo\\vally\\vally.SCENECamera03.camera", 4.6f, 6.46f, 2.0f, 0},
                      {"quarvdemo\\vally\\vally.SCENECamera06.camera", 6.46f, 8.9f, 4.0f, 0},
                      {"quarvdemo\\vally\\vally.SCENECamera04.camera", 8.9f, 10.9f, 0.0f, 0},
                      {"quarvdemo\\vally\\vally.SCENECamera05.camera", 10.9f, 12.9f, 0.0f, 65}};
  for (const Cut& cut : cuts) {
    assets::CameraFileData camera = load(cut.path);
    const int lastKey = int(std::floor((cut.end - cut.start) * 50.0f));
    ASSERT_GE(int(camera.eye.count()), lastKey + 1) << cut.path;
    for (int k = cut.firstKey; k <= lastKey; ++k) {
      float r = cut.end - float(k) / 50.0f - cut.ribbonOffset;
      int inside = 0;
      for (int i = 0; i < 4; ++i) {
        Screen s = project(camera, float(k) / 10.0f, {ribbonX(i, r), -21.0f, 0.0f});
        if (s.ahead && std::abs(s.x) <= 1.0f && std::abs(s.y) <= 1.0f) ++inside;
      }
      ASSERT_GE(inside, 3) << cut.path << " key " << k;
    }
  }
}

TEST_F(CameraContentTest, FifthSeventhEighthAndNinthScenesFrameTheirAction) {
  const std::vector<Shot> shots = {
      // The swarm's middle; the ground is checked below.
      {"quarvdemo\\render5\\g.SCENECamera01.camera", {{0, 50}}, fixed({{0, 100, 0}, {120, 100, 0}, {-120, 100, 0}})},
      {"quarvdemo\\render5\\g.SCENECamera02.camera", {{0, 50}}, fixed({{0, 100, 0}})},
      {"quarvdemo\\render5\\g.SCENECamera03.camera", {{0, 50}}, fixed({{0, 100, 0}, {120, 100, 0}, {-120, 100, 0}})},
      {"quarvdemo\\render5\\g.SCENECamera04.camera", {{0, 50}}, fixed({{0, 100, 0}})},
      // The funnel of particles over (7.6, 0, 28.8), 40 high.
      {"quarvdemo\\renderFSeries\\bakke.SCENECamera01.camera", {{0, 50}}, fixed({{7.6f, 8, 28.8f}, {7.6f, 35, 28.8f}})},
      {"quarvdemo\\renderFSeries\\bakke.SCENECamera02.camera", {{0, 50}}, fixed({{7.6f, 8, 28.8f}, {7.6f, 35, 28.8f}})},
      {"quarvdemo\\renderFSeries\\bakke.SCENECamera03.camera", {{0, 50}}, fixed({{7.6f, 8, 28.8f}, {7.6f, 35, 28.8f}})},
      {"quarvdemo\\renderFSeries\\bakke.SCENECamera04.camera", {{0, 50}}, fixed({{7.6f, 8, 28.8f}, {7.6f, 35, 28.8f}})},
      // Each eighth-scene camera keeps its own sphere column at mid height in view.
      {"quarvdemo\\render6\\endorf.SCENECamera01.camera", {{0, 44}}, fixed({{23, 20, -4.8f}, {23, 40, -4.8f}})},
      {"quarvdemo\\render6\\endorf.SCENECamera02.camera", {{0, 44}}, fixed({{-26.9f, 20, 42.6f}, {-26.9f, 40, 42.6f}})},
      {"quarvdemo\\render6\\endorf.SCENECamera03.camera", {{0, 44}}, fixed({{-16.9f, 20, -39.8f}, {-16.9f, 40, -39.8f}})},
      // The ninth scene's still views look along the ribbon braid on the x axis.
      {"quarvdemo\\render7\\r7.SCENECamera01.camera", {{0, 0}}, fixed({{-40, 0, 0}, {-10, 0, 0}})},
      {"quarvdemo\\render7\\r7.SCENECamera02.camera", {{0, 0}}, fixed({{-40, 0, 0}, {60, 0, 0}})},
      {"quarvdemo\\render7\\r7.SCENECamera03.camera", {{0, 0}}, fixed({{-60, 0, 0}, {-20, 0, 0}})},
  };
  for (const Shot& shot : shots) expectFramed(load(shot.path), shot);
}

// Where the ray through the bottom middle of the screen meets the ground plane y = 0.
bool groundAtBottomOfScreen(const assets::CameraFileData& camera, float t, float halfSize) {
  V3 eye = camera.eye.sample(t), target = camera.target.sample(t);
  V3 forward = target - eye;
  forward /= std::sqrt(forward.x * forward.x + forward.y * forward.y + forward.z * forward.z);
  V3 right{forward.z, 0.0f, -forward.x};
  right /= std::hypot(right.x, right.z);
  V3 up{forward.y * right.z - forward.z * right.y, forward.z * right.x - forward.x * right.z,
        forward.x * right.y - forward.y * right.x};
  V3 ray = forward + up * (-0.9f * std::tan(0.4f * camera.fov.sample(t)));
  if (ray.y >= 0.0f) return false;
  float k = -eye.y / ray.y;
  return std::abs(eye.x + ray.x * k) <= halfSize && std::abs(eye.z + ray.z * k) <= halfSize;
}

TEST_F(CameraContentTest, FifthSceneShowsTheGroundUnderTheSwarm) {
  for (int n = 1; n <= 4; ++n) {
    std::string path = "quarvdemo\\render5\\g.SCENECamera0" + std::to_string(n) + ".camera";
    assets::CameraFileData camera = load(path);
    for (float t = 0.0f; t <= 50.0f; t += 0.1f) ASSERT_TRUE(groundAtBottomOfScreen(camera, t, 205.0f)) << path << " at " << t;
  }
}

TEST_F(CameraContentTest, EighthSceneEyesStayBetweenFloorAndCeilingAndClearOfEveryColumn) {
  const float columns[8][2] = {{-26.9f, 42.6f}, {15.5f, 70.1f}, {68, 62.6f}, {23, -4.8f},
                               {-64.4f, -19.8f}, {-16.9f, -39.8f}, {-31.9f, -74.8f}, {70.5f, -57.3f}};
  for (int n = 1; n <= 3; ++n) {
    std::string path = "quarvdemo\\render6\\endorf.SCENECamera0" + std::to_string(n) + ".camera";
    assets::CameraFileData camera = load(path);
    EXPECT_LE(camera.nearPlane, 1.0f);
    ASSERT_GE(camera.eye.count(), 441u) << path;
    for (const V3& eye : camera.eye.keys()) {
      ASSERT_GT(eye.y, 8.0f) << path;
      ASSERT_LT(eye.y, 52.0f) << path;
      for (const auto& c : columns) ASSERT_GT(std::hypot(eye.x - c[0], eye.z - c[1]), 14.0f) << path;
    }
  }
}

TEST_F(CameraContentTest, NinthSceneNearPlaneLeavesRoomForTheCreditCard) {
  // The credits inherit these near planes and draw their card 17–22 units from the eye.
  for (int n = 1; n <= 3; ++n) EXPECT_LE(load("quarvdemo\\render7\\r7.SCENECamera0" + std::to_string(n) + ".camera").nearPlane, 5.0f);
  EXPECT_LE(load("quarvdemo\\render1\\intro\\intro.SCENECamera01.camera").nearPlane, 10.0f);
}

}  // namespace
