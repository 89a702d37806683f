// Camera paths of the opening (sampled at 2 × music time), the second scene's five cameras on the
// ribbon lane, the third scene's four views of the organ stage and the fourth scene's views of the
// cube field.
#include <algorithm>
#include <string>

#include "scenes/SecondScene.h"
#include "tools/contentgen/CameraKeys.h"
#include "tools/contentgen/Cameras.h"

namespace contentgen {
namespace {

// A drift from one eye to another over `duration` path seconds, looking at a fixed target.
struct Drift {
  const char* path;
  Vec3 eyeFrom, eyeTo, target;
  float fov;
};

void writeDrift(Output& out, const Drift& d, int keys, float duration, float nearPlane) {
  std::vector<Vec3> eyes = resample({{0.0f, d.eyeFrom}, {duration, d.eyeTo}}, keys, Curve::Linear);
  std::vector<Vec3> targets(std::size_t(keys), d.target);
  out.camera(d.path, cameraFile(nearPlane, 10000.0f, d.fov, std::move(eyes), std::move(targets)));
}

// The opening: a slow approach from behind and above, a side pass along the ribbon (its ends just
// off the edges at t = 20), then a rise over its far end. 440 keys: 42.8 s are used.
void writeIntro(Output& out) {
  std::vector<Keyframe> eye{{0.0f, {-60, 70, -300}}, {8.0f, {-150, 40, -190}}, {20.0f, {-170, 10, 0}},
                            {30.0f, {-90, -30, 150}}, {42.8f, {30, 50, 240}}};
  std::vector<Keyframe> target{{0.0f, {0, 0, -40}}, {8.0f, {0, 0, -30}}, {20.0f, {0, 0, 0}},
                               {30.0f, {0, 5, 20}}, {42.8f, {0, 0, 30}}};
  out.camera("quarvdemo\\render1\\intro\\intro.SCENECamera01.camera",
             cameraFile(1.0f, 100000.0f, 0.95f, resample(eye, 440, Curve::CatmullRom),
                        resample(target, 440, Curve::CatmullRom)));
}

// The second scene samples at 1.9 × scene time and cuts every 0.5–0.9 s, so each path is seen
// about seven times over 0 … 50 and must frame the lane (x ≈ 0, y ≈ 12) and the lit floor around
// (6, 0, 27) all the way. Every eye stays at least 12 units off the lane. The ribbons are a unit
// wide and sweep 175 units toward -z between hits, so paths 02 to 04 follow the set: their eye
// moves with it by a fraction `eyeFollow` and their target by `targetFollow`, and both swing back
// with the set on every hit. Placed by projecting the six ribbons of every frame the paths show:
// ribbons on screen in every frame, 70–80 units from the eye on average, near the 60-unit focus.
struct FollowPath {
  const char* path;
  Vec3 eyeFrom, eyeTo;
  float eyeFollow;
  Vec3 target;
  float targetFollow;
  float fov;
};

// The depth of the middle of the ribbon set at second-scene time `a`: thrown back to 87.5 on each
// hit, then flying toward -z at 112 units a second.
float ribbonSetDepth(float a) {
  float hit = 0.0f;
  for (float h : scenes::kSecondSceneHits)
    if (h < a) hit = h;
  return 87.5f - 112.0f * (a - hit);
}

void writeFollowPath(Output& out, const FollowPath& f, int keys, float duration, float nearPlane) {
  constexpr float kPathRate = 1.9f;
  constexpr float kLitFloorDepth = 27.0f;
  std::vector<Vec3> eyes = sampled(keys, [&](float t) {
    Vec3 e = f.eyeFrom + (f.eyeTo - f.eyeFrom) * std::clamp(t / duration, 0.0f, 1.0f);
    e.z += f.eyeFollow * (ribbonSetDepth(t / kPathRate) - kLitFloorDepth);
    return e;
  });
  std::vector<Vec3> targets = sampled(keys, [&](float t) {
    return Vec3{f.target.x, f.target.y,
                kLitFloorDepth + f.target.z + f.targetFollow * (ribbonSetDepth(t / kPathRate) - kLitFloorDepth)};
  });
  out.camera(f.path, cameraFile(nearPlane, 10000.0f, f.fov, std::move(eyes), std::move(targets)));
}

void writeSecondScene(Output& out) {
  constexpr int kKeys = 501;
  // Front, low, looking up the lane at the incoming set.
  writeDrift(out, {"quarvdemo\\render1\\grotte.SCENECamera01.camera", {-20, 8, -45}, {-10, 12, -60}, {3, 10, 30}, 1.0f},
             kKeys, 50.0f, 0.5f);
  const FollowPath follows[] = {
      // High three-quarter view from the front left.
      {"quarvdemo\\render1\\grotte.SCENECamera02.camera", {-42, 29, -49}, {-29, 30, -43}, 0.33f, {8, 11, 11}, 0.82f, 1.0f},
      // High on the right, over the light pool.
      {"quarvdemo\\render1\\grotte.SCENECamera03.camera", {40, 54, 4}, {54, 54, 0}, 0.28f, {2, 10, -13}, 0.59f, 1.1f},
      // Floor level on the right, the set rushing past.
      {"quarvdemo\\render1\\grotte.SCENECamera04.camera", {26, 4, -48}, {41, 3, -41}, 0.28f, {-1, 5, -7}, 0.85f, 1.1f},
  };
  for (const FollowPath& f : follows) writeFollowPath(out, f, kKeys, 50.0f, 0.5f);
  // Path 05: wide until 36, then (unseen 36–40.5) it moves behind the set and chases it down the
  // lane at the ribbons' own speed, about 70 units behind them.
  std::vector<Keyframe> eye{{0.0f, {60, 30, -90}}, {36.0f, {50, 35, -100}}, {40.5f, {30, 40, 130}}, {50.0f, {30, 40, -420}}};
  std::vector<Keyframe> target{{0.0f, {0, 10, 10}}, {36.0f, {0, 10, 10}}, {40.5f, {0, 10, 40}}, {50.0f, {0, 8, -520}}};
  out.camera("quarvdemo\\render1\\grotte.SCENECamera05.camera",
             cameraFile(0.5f, 10000.0f, 1.0f, resample(eye, kKeys, Curve::Linear), resample(target, kKeys, Curve::Linear)));
}

// The third scene samples at 1.4 × scene time (up to 30.4); path 06 also serves the fourth scene
// (up to 34.8), looking just under the ribbon bundle with the cards or the cube field below it.
void writeThirdScene(Output& out) {
  constexpr int kKeys = 360;
  const Drift drifts[] = {
      {"quarvdemo\\render3\\r3.SCENECamera05.camera", {-160, 70, -170}, {-60, 60, -230}, {0, 100, 40}, 1.0f},
      {"quarvdemo\\render3\\r3.SCENECamera06.camera", {220, 190, -160}, {150, 200, -240}, {0, 115, -30}, 1.0f},
      {"quarvdemo\\render3\\r3.SCENECamera07.camera", {40, 25, -120}, {-40, 30, -90}, {0, 130, 60}, 1.0f},
      {"quarvdemo\\render3\\r3.SCENECamera08.camera", {-60, 330, -60}, {60, 320, 40}, {-30, 60, 40}, 1.0f},
  };
  for (const Drift& d : drifts) writeDrift(out, d, kKeys, 35.0f, 1.0f);
}

// The fourth scene samples at 2 × scene time (up to 43.2). Every eye stays outside the cube
// field's footprint or high above it; slow moves, since the field itself flows at 300 units/s.
// 09 looks down the waterfall from high behind its near end, far enough behind the ribbon bundle
// (x ±13, y 138–163, z −59 … 105 on screen) to hold all of it just above the middle of the frame,
// over the field, instead of across the lens; 12 grazes the field from the side, high enough to
// see its rows.
void writeFourthScene(Output& out) {
  constexpr int kKeys = 440;
  const Drift drifts[] = {
      {"quarvdemo\\render4\\r4.SCENECamera09.camera", {0, 190, 260}, {30, 200, 230}, {0, 70, -200}, 1.0f},
      {"quarvdemo\\render4\\r4.SCENECamera10.camera", {-260, 320, 60}, {-120, 300, 200}, {0, 90, -150}, 1.0f},
      {"quarvdemo\\render4\\r4.SCENECamera12.camera", {320, 170, -150}, {300, 160, -60}, {0, 100, -120}, 1.0f},
  };
  for (const Drift& d : drifts) writeDrift(out, d, kKeys, 43.9f, 1.0f);
}

}  // namespace

void writeEarlyCameras(Output& out) {
  writeIntro(out);
  writeSecondScene(out);
  writeThirdScene(out);
  writeFourthScene(out);
}

}  // namespace contentgen
