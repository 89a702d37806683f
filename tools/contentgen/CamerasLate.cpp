// Camera paths of the fifth scene (consumed at 6.25 × scene time and wrapped at 50, so the looping
// paths end where they start), the sixth scene's valley shots (played backwards from the cut),
// the eighth scene's orbits around one sphere column each, the ninth scene's still views and the
// seventh scene's views of the funnel.
#include <cmath>
#include <numbers>
#include <string>

#include "tools/contentgen/CameraKeys.h"
#include "tools/contentgen/Cameras.h"

namespace contentgen {
namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

std::vector<Vec3> constant(int keys, Vec3 value) { return std::vector<Vec3>(std::size_t(keys), value); }

// Out to `to` and back along a cosine, so the path loops with no jump in position or speed.
std::vector<Vec3> thereAndBack(int keys, float period, Vec3 from, Vec3 to) {
  std::vector<Vec3> out = sampled(keys, [&](float t) { return from + (to - from) * (0.5f - 0.5f * std::cos(kTwoPi * t / period)); });
  closeLoop(out);
  return out;
}

void writeFifthScene(Output& out) {
  constexpr int kKeys = 501;
  std::vector<Vec3> orbit = sampled(kKeys, [](float t) {
    float theta = (-60.0f + 7.2f * t) * std::numbers::pi_v<float> / 180.0f;
    return Vec3{380.0f * std::sin(theta), 120.0f + 30.0f * std::sin(kTwoPi * t / 50.0f), -380.0f * std::cos(theta)};
  });
  closeLoop(orbit);
  out.camera("quarvdemo\\render5\\g.SCENECamera01.camera", cameraFile(1, 10000, 1.0f, orbit, constant(kKeys, {0, 70, 0})));
  out.camera("quarvdemo\\render5\\g.SCENECamera02.camera",
             cameraFile(1, 10000, 1.0f, thereAndBack(kKeys, 50, {-320, 45, -160}, {300, 60, -100}), constant(kKeys, {0, 75, 0})));
  out.camera("quarvdemo\\render5\\g.SCENECamera03.camera",
             cameraFile(1, 10000, 1.0f, resample({{0, {-80, 380, -260}}, {50, {120, 300, -220}}}, kKeys, Curve::Linear),
                        constant(kKeys, {0, 40, 0})));
  out.camera("quarvdemo\\render5\\g.SCENECamera04.camera",
             cameraFile(1, 10000, 1.0f, thereAndBack(kKeys, 50, {150, 130, -200}, {-150, 150, -180}), constant(kKeys, {0, 90, 0})));
}

// A valley shot: the target follows the ribbon braid's centre x = centre0 − 2k at key k (the
// shot runs backwards, key k shown k / 50 scene seconds before the cut), the eye keeps an offset
// that drifts from `offsetFrom` at key 0 to `offsetTo` at the last key.
struct ValleyShot {
  const char* path;
  int keys;
  float centre0;
  Vec3 offsetFrom, offsetTo;
  float fov;
};

void writeValleyShot(Output& out, const ValleyShot& shot) {
  std::vector<Vec3> eyes, targets;
  for (int k = 0; k < shot.keys; ++k) {
    float f = float(k) / float(shot.keys - 1);
    Vec3 target{shot.centre0 - 2.0f * float(k), -21.0f, 0.0f};
    targets.push_back(target);
    eyes.push_back(target + shot.offsetFrom + (shot.offsetTo - shot.offsetFrom) * f);
  }
  out.camera(shot.path, cameraFile(1.0f, 10000.0f, shot.fov, std::move(eyes), std::move(targets)));
}

void writeSixthScene(Output& out) {
  const ValleyShot shots[] = {
      {"quarvdemo\\vally\\vally.SCENECamera01.camera", 164, -52.5f, {29, 12, -42}, {44, 16, -29}, 0.95f},
      {"quarvdemo\\vally\\vally.SCENECamera02.camera", 69, -47.5f, {-21, 9, 40}, {-31, 12, 34}, 0.95f},
      {"quarvdemo\\vally\\vally.SCENECamera03.camera", 94, 68.5f, {8, 44, -23}, {18, 39, -31}, 1.0f},
      {"quarvdemo\\vally\\vally.SCENECamera04.camera", 101, 112.5f, {-29, 14, 38}, {-39, 17, 29}, 0.95f},
      {"quarvdemo\\vally\\vally.SCENECamera05.camera", 101, 312.5f, {-48, 46, -43}, {-56, 50, -33}, 1.0f},
      {"quarvdemo\\vally\\vally.SCENECamera06.camera", 123, 112.5f, {-58, 5, -14}, {-52, 7, -24}, 0.9f},
  };
  for (const ValleyShot& shot : shots) writeValleyShot(out, shot);
}

// Each eighth-scene camera circles one sphere column at 30–34 units, between floor and ceiling.
void writeEighthScene(Output& out) {
  constexpr int kKeys = 441;
  auto circle = [](Vec3 axis, float radius, float phase, float rate, std::function<float(float)> height) {
    return sampled(kKeys, [=](float t) {
      float phi = phase + rate * t;
      return Vec3{axis.x + radius * std::sin(phi), height(t), axis.z - radius * std::cos(phi)};
    });
  };
  out.camera("quarvdemo\\render6\\endorf.SCENECamera01.camera",
             cameraFile(0.5f, 10000, 1.1f, circle({23, 0, -4.8f}, 32, 0.9f, 0.08f, [](float t) { return 27.0f + 4.0f * std::sin(0.2f * t); }),
                        constant(kKeys, {23, 30, -4.8f})));
  out.camera("quarvdemo\\render6\\endorf.SCENECamera02.camera",
             cameraFile(0.5f, 10000, 1.1f, circle({-26.9f, 0, 42.6f}, 34, 3.55f, 0.012f, [](float t) { return 18.0f + 0.3f * t; }),
                        constant(kKeys, {-26.9f, 30, 42.6f})));
  out.camera("quarvdemo\\render6\\endorf.SCENECamera03.camera",
             cameraFile(0.5f, 10000, 1.15f, circle({-16.9f, 0, -39.8f}, 30, -0.06f, 0.07f, [](float) { return 13.0f; }),
                        constant(kKeys, {-16.9f, 33, -39.8f})));
}

// The ninth scene uses key 0 only: still views from inside the particle stream.
void writeNinthScene(Output& out) {
  out.camera("quarvdemo\\render7\\r7.SCENECamera01.camera", cameraFile(1, 10000, 1.0f, {{-95, 14, -70}}, {{-40, 0, 0}}));
  out.camera("quarvdemo\\render7\\r7.SCENECamera02.camera", cameraFile(1, 10000, 0.95f, {{-230, 20, -25}}, {{-40, 0, 5}}));
  out.camera("quarvdemo\\render7\\r7.SCENECamera03.camera", cameraFile(1, 10000, 1.05f, {{10, 62, -55}}, {{-60, 0, 0}}));
}

// The seventh scene's funnel stands on (7.5, 0, 30); θ = 2πt / 50. Paths 01 and 02 loop.
void writeSeventhScene(Output& out) {
  constexpr int kKeys = 501;
  auto around = [](float radius, std::function<float(float)> angle, std::function<float(float)> height) {
    return sampled(kKeys, [=](float t) {
      float a = angle(kTwoPi * t / 50.0f);
      return Vec3{7.5f + radius * std::sin(a), height(t), 30.0f - radius * std::cos(a)};
    });
  };
  std::vector<Vec3> wide = around(78, [](float th) { return th; }, [](float t) { return 13.0f + 3.0f * std::sin(2.0f * kTwoPi * t / 50.0f); });
  closeLoop(wide);
  std::vector<Vec3> low = around(58, [](float th) { return 1.2f - th; }, [](float) { return 7.0f; });
  closeLoop(low);
  out.camera("quarvdemo\\renderFSeries\\bakke.SCENECamera01.camera", cameraFile(1, 10000, 1.0f, wide, constant(kKeys, {7.5f, 22, 30})));
  out.camera("quarvdemo\\renderFSeries\\bakke.SCENECamera02.camera", cameraFile(1, 10000, 1.1f, low, constant(kKeys, {7.5f, 30, 30})));
  out.camera("quarvdemo\\renderFSeries\\bakke.SCENECamera03.camera",
             cameraFile(1, 10000, 1.0f, around(50, [](float th) { return 2.5f + th * 0.5f; }, [](float) { return 75.0f; }),
                        constant(kKeys, {7.5f, 12, 30})));
  out.camera("quarvdemo\\renderFSeries\\bakke.SCENECamera04.camera",
             cameraFile(1, 10000, 0.95f, around(150, [](float th) { return 4.0f + th * 0.5f; }, [](float) { return 28.0f; }),
                        constant(kKeys, {7.5f, 45, 30})));
}

}  // namespace

void writeLateCameras(Output& out) {
  writeFifthScene(out);
  writeSixthScene(out);
  writeEighthScene(out);
  writeNinthScene(out);
  writeSeventhScene(out);
}

}  // namespace contentgen
