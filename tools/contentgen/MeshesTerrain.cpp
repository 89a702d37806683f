// The terrains: the fifth scene's two noise fields (dunes A and ridges B, morphed vertex by vertex
// and sampled under each cube of the alternate view), the sixth scene's valley, and the seventh
// scene's hills with the crater ring that hides the swarm's base.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/contentgen/Image.h"
#include "tools/contentgen/MeshBuilder.h"
#include "tools/contentgen/Meshes.h"
#include "tools/contentgen/Noise.h"

namespace contentgen {
namespace {

// 81 × 81 vertices, index 81·R + C with row R along x: vertex 81·(2r + 2) + 2q lies exactly under
// the centre (10r − 195, 10q − 195) of cube (r, q).
constexpr GridLayout kNoiseField{81, 81, -205.0f, -195.0f, 5.0f, 50.0f, true};

float dunes(float x, float z) {
  float h = 8.0f * std::sin(x / 37.0f) * std::cos(z / 29.0f) + 1.8f * fbm(x / 23.0f, z / 23.0f, 3, 0, 1201);
  return std::clamp(h, -10.0f, 10.0f);
}

// Ridged noise, kept within 10 of the dunes so a morph weight of 2 stays inside [−30, 30].
float ridges(float x, float z) {
  float n = 1.0f - std::abs(fbm(x / 70.0f, z / 70.0f, 4, 0, 7331));
  float h = 18.0f * n * n - 9.0f;
  float a = dunes(x, z);
  return std::clamp(h, std::max(-10.0f, a - 10.0f), std::min(10.0f, a + 10.0f));
}

// The valley along x: floor −32 within |z| ≤ 25, parabolic walls capped at +130, end caps past
// x = −520 and x = 330, relief ±2 on the floor growing to ±8 on the walls.
float valley(float x, float z) {
  float a = std::abs(z);
  float h = -32.0f + (a > 25.0f ? 0.02f * (a - 25.0f) * (a - 25.0f) : 0.0f);
  if (x < -520.0f) h += 0.004f * (x + 520.0f) * (x + 520.0f);
  if (x > 330.0f) h += 0.004f * (x - 330.0f) * (x - 330.0f);
  h = std::min(h, 130.0f);
  float relief = 2.0f + 6.0f * smoothstep(45.0f, 90.0f, a);
  return h + relief * fbm(x / 30.0f, z / 30.0f, 4, 0, 4242);
}

// The seventh scene's land around the swarm at (7.5, 30): a basin (dished to −2 within 18),
// rolling hills to about 60 by radius 350 and 150–220 from radius 650.
float hills(float x, float z) {
  float d = std::hypot(x - 7.5f, z - 30.0f);
  float dish = -2.0f * (1.0f - smoothstep(12.0f, 24.0f, d));
  float near = smoothstep(120.0f, 350.0f, d), far = smoothstep(350.0f, 650.0f, d);
  float basin = (1.0f - near) * 0.8f * fbm(x / 25.0f, z / 25.0f, 2, 0, 77);
  float rolling = near * 60.0f * (0.65f + 0.35f * fbm(x / 160.0f, z / 160.0f, 3, 0, 78));
  float range = far * (125.0f + 55.0f * fbm(x / 220.0f, z / 220.0f, 4, 0, 79));
  return dish + basin + rolling + range;
}

// The crater ring: inner edge radius 20 at y −1, crest radius 28 at y 6, outer foot radius 42 at
// y −1; 96 steps around, 12 rings out, front faces up.
float ringProfile(float r) {
  return r < 28.0f ? -1.0f + 7.0f * smoothstep(20.0f, 28.0f, r) : 6.0f - 7.0f * smoothstep(28.0f, 42.0f, r);
}

MeshBuilder craterRing() {
  constexpr int kAround = 96, kOut = 12;
  MeshBuilder mesh;
  for (int i = 0; i < kAround; ++i) {
    float a = 2.0f * std::numbers::pi_v<float> * float(i) / kAround;
    float c = std::cos(a), s = std::sin(a);
    float wobble = 0.6f * std::sin(5.0f * a + 0.7f) + 0.4f * std::sin(11.0f * a);
    for (int j = 0; j < kOut; ++j) {
      float r = 20.0f + 22.0f * float(j) / float(kOut - 1);
      float crest = 1.0f - std::abs(r - 28.0f) / 14.0f;
      float y = ringProfile(r) + wobble * std::max(crest, 0.0f);
      float slope = (ringProfile(r + 0.5f) - ringProfile(r - 0.5f));
      Vec3 p{7.5f + r * c, y, 30.0f + r * s};
      mesh.add({p, normalised({-slope * c, 1.0f, -slope * s}), p.x / 50.0f, p.z / 50.0f});
    }
  }
  auto at = [](int i, int j) { return static_cast<WORD>((i % kAround) * kOut + j); };
  for (int i = 0; i < kAround; ++i) {
    for (int j = 0; j + 1 < kOut; ++j) {
      mesh.triangleFacing(at(i, j), at(i + 1, j), at(i, j + 1), {0, 1, 0});
      mesh.triangleFacing(at(i + 1, j + 1), at(i, j + 1), at(i + 1, j), {0, 1, 0});
    }
  }
  return mesh;
}

}  // namespace

void writeTerrainMeshes(Output& out) {
  out.mesh("quarvdemo\\render5\\noise.SCENEPlane01.mesh", heightGrid(kNoiseField, dunes).build(kMaskPositionNormalUv));
  out.mesh("quarvdemo\\render5\\noise2.SCENEPlane01.mesh", heightGrid(kNoiseField, ridges).build(kMaskPositionNormalUv));
  GridLayout valleyLayout{217, 89, -640.0f, -220.0f, 5.0f, 40.0f, false};
  out.mesh("quarvdemo\\vally\\vally.SCENEPlane01.mesh", heightGrid(valleyLayout, valley).build(kMaskPositionNormalUv));
  GridLayout land{161, 161, -800.0f, -800.0f, 10.0f, 50.0f, false};
  out.mesh("quarvdemo\\renderFSeries\\bakke.SCENEPlane03.mesh", heightGrid(land, hills).build(kMaskPositionNormalUv));
  out.mesh("quarvdemo\\renderFSeries\\bakke.SCENEPlane01.mesh", craterRing().build(kMaskPositionNormalUv));
}

}  // namespace contentgen
