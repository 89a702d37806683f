// The sky dome "hemi" (two files, one geometry), the cave floor of the opening flash, the second
// scene and the credits, and the second scene's ring-shaped shadow caster.
#include <cmath>
#include <numbers>

#include "tools/contentgen/Image.h"
#include "tools/contentgen/MeshBuilder.h"
#include "tools/contentgen/Meshes.h"
#include "tools/contentgen/Noise.h"

namespace contentgen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A lat-long cap of radius 1000 from the zenith down to 20° below the horizon (the skirt keeps
// the horizon closed when a scene lifts the dome's rim above a low camera). 48 segments × 22
// rings, seam duplicated; normals and front faces toward the centre; u = azimuth / 360°,
// v = (90° − elevation) / 110°.
MeshBuilder skyDome() {
  constexpr int kSegments = 48, kRings = 22;
  constexpr float kRadius = 1000.0f;
  MeshBuilder mesh;
  for (int j = 0; j <= kRings; ++j) {
    float v = float(j) / float(kRings);
    float elevation = (90.0f - 110.0f * v) * kPi / 180.0f;
    for (int i = 0; i <= kSegments; ++i) {
      float u = float(i) / float(kSegments);
      float azimuth = u * 2.0f * kPi;
      Vec3 dir{std::cos(elevation) * std::sin(azimuth), std::sin(elevation), std::cos(elevation) * std::cos(azimuth)};
      if (j == 0) dir = {0.0f, 1.0f, 0.0f};
      mesh.add({dir * kRadius, -dir, u, v});
    }
  }
  auto at = [](int i, int j) { return static_cast<WORD>(j * (kSegments + 1) + i); };
  for (int j = 0; j < kRings; ++j) {
    for (int i = 0; i < kSegments; ++i) {
      const auto& v = mesh.vertices();
      Vec3 inward = -(v[at(i, j + 1)].position + v[at(i + 1, j + 1)].position);
      mesh.triangleFacing(at(i, j), at(i, j + 1), at(i + 1, j + 1), inward);
      if (j > 0) mesh.triangleFacing(at(i, j), at(i + 1, j + 1), at(i + 1, j), inward);
    }
  }
  return mesh;
}

// The cave: a flat floor where every shadow of the flash scenes and the credits lands, canyon
// walls on both sides and end walls beyond the second scene's ribbons (which fly to z = −546).
float caveHeight(float x, float z) {
  float side = smoothstep(100.0f, 260.0f, std::abs(x));
  float farEnd = smoothstep(160.0f, 290.0f, z), nearEnd = smoothstep(-590.0f, -690.0f, z);
  float wall = std::max(side, std::max(farEnd, nearEnd));
  float rock = 12.0f * fbm(x / 40.0f, z / 40.0f, 4, 0, 311);
  float ripple = 2.0f * smoothstep(-160.0f, -260.0f, z) * (1.0f - side) * fbm(x / 60.0f, z / 60.0f, 2, 0, 523);
  return 140.0f * side + 120.0f * farEnd + 120.0f * nearEnd + rock * wall + ripple;
}

// The second scene's extra shadow caster: a ring in the plane y = 40 around the light's axis with
// a wobbly inner "cave mouth" (radius 18–22) and an outer edge (50) beyond the light's frustum,
// so only an irregular pool of light reaches the floor. Positions only.
MeshBuilder shadowRing() {
  constexpr int kPoints = 32;
  const Vec3 centre{3.7f, 40.0f, 48.7f};
  MeshBuilder mesh;
  for (int i = 0; i < kPoints; ++i) {
    float a = 2.0f * kPi * float(i) / kPoints;
    float inner = 20.0f + 1.3f * std::sin(3.0f * a + 1.0f) + 0.7f * std::sin(7.0f * a + 2.0f);
    mesh.add({centre + Vec3{inner * std::cos(a), 0.0f, inner * std::sin(a)}, {0, -1, 0}, 0, 0});
    mesh.add({centre + Vec3{50.0f * std::cos(a), 0.0f, 50.0f * std::sin(a)}, {0, -1, 0}, 0, 0});
  }
  for (int i = 0; i < kPoints; ++i) {
    auto in = [](int k) { return static_cast<WORD>(2 * (k % kPoints)); };
    auto outer = [](int k) { return static_cast<WORD>(2 * (k % kPoints) + 1); };
    mesh.triangleFacing(in(i), outer(i), in(i + 1), {0, -1, 0});
    mesh.triangleFacing(in(i + 1), outer(i), outer(i + 1), {0, -1, 0});
  }
  return mesh;
}

}  // namespace

void writeSkyAndCaveMeshes(Output& out) {
  assets::MeshFileData dome = skyDome().build(kMaskPositionNormalUv);
  out.mesh("quarvdemo\\render3\\hemi.SCENEGeoSphere01.mesh", dome);
  out.mesh("quarvdemo\\render3\\r3.SCENEGeoSphere01.mesh", dome);
  GridLayout cave{81, 101, -400.0f, -700.0f, 10.0f, 20.0f, false};
  out.mesh("quarvdemo\\render1\\grotte.SCENEPlane01.mesh", heightGrid(cave, caveHeight).build(kMaskPositionNormalUv));
  out.mesh("quarvdemo\\render1\\quarv.SCENEshadow.mesh", shadowRing().build(kMaskPosition));
}

}  // namespace contentgen
