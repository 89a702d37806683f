// Camera paths of the opening (sampled at 2 × music time), the second scene's five cameras on the
// ribbon lane, the third scene's four views of the organ stage and the fourth scene's views of the
// cube field.
#include <string>

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
// (6, 0, 27) all the way. Every eye stays at least 12 units off the lane.
void writeSecondScene(Output& out) {
  constexpr int kKeys = 501;
  const Drift drifts[] = {
      {"quarvdemo\\render1\\grotte.SCENECamera01.camera", {-20, 8, -45}, {-10, 12, -60}, {3, 10, 30}, 1.0f},
      {"quarvdemo\\render1\\grotte.SCENECamera02.camera", {-70, 18, 20}, {-70, 25, -20}, {5, 10, 26}, 1.0f},
      {"quarvdemo\\render1\\grotte.SCENECamera03.camera", {40, 55, 110}, {20, 60, 90}, {3, 5, 0}, 1.0f},
      {"quarvdemo\\render1\\grotte.SCENECamera04.camera", {18, 3, -10}, {14, 4, 15}, {0, 9, 60}, 1.1f},
  };
  for (const Drift& d : drifts) writeDrift(out, d, kKeys, 50.0f, 0.5f);
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
void writeFourthScene(Output& out) {
  constexpr int kKeys = 440;
  const Drift drifts[] = {
      {"quarvdemo\\render4\\r4.SCENECamera09.camera", {0, 135, 90}, {30, 150, 40}, {0, 80, -250}, 1.0f},
      {"quarvdemo\\render4\\r4.SCENECamera10.camera", {-260, 320, 60}, {-120, 300, 200}, {0, 90, -150}, 1.0f},
      {"quarvdemo\\render4\\r4.SCENECamera12.camera", {320, 120, -150}, {300, 110, -60}, {0, 100, -120}, 1.0f},
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
