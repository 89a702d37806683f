// The third scene's organ stage: the ground plane, six organ cards circling slowly above it and
// the face card far behind, both kinds animated by their own tracks (sampled at 1.55 × scene time,
// so 340 keys cover the scene's 33.6 s with room to spare).
#include <cmath>
#include <numbers>

#include "tools/contentgen/MeshBuilder.h"
#include "tools/contentgen/Meshes.h"

namespace contentgen {
namespace {

constexpr int kTrackKeys = 340;

// A card in the plane z = 0, half sizes w × h, front toward −z: seen from −z it is upright and not
// mirrored (u = 0 on the left, v = 0 at the top), and its triangles are clockwise there, the front
// side for "cull counter-clockwise".
MeshBuilder card(float w, float h) {
  MeshBuilder mesh;
  const Vec3 front{0, 0, -1};
  WORD topLeft = mesh.add({{-w, h, 0}, front, 0, 0});
  WORD topRight = mesh.add({{w, h, 0}, front, 1, 0});
  WORD bottomLeft = mesh.add({{-w, -h, 0}, front, 0, 1});
  WORD bottomRight = mesh.add({{w, -h, 0}, front, 1, 1});
  mesh.triangleFacing(topLeft, topRight, bottomLeft, front);
  mesh.triangleFacing(topRight, bottomRight, bottomLeft, front);
  return mesh;
}

// Card n (1 … 6) rides a ring of radius 70 around (0, 85, 30), bobbing ±12, tilted back by 0.5 rad
// so its front faces up and toward the cameras at −z, with a gentle sway and breathing scale.
Pose organPose(int n, float r) {
  const float fn = float(n);
  float theta = fn * std::numbers::pi_v<float> / 3.0f + 0.1f * r;
  Pose pose;
  pose.position = {70.0f * std::cos(theta), 85.0f + 12.0f * std::sin(0.9f * r + fn), 30.0f + 70.0f * std::sin(theta)};
  pose.yawPitchRoll = {0.35f * std::sin(0.5f * r + fn), 0.5f, 0.15f * std::sin(0.7f * r + 2.0f * fn)};
  float s = 1.0f + 0.08f * std::sin(1.3f * r + fn);
  pose.scale = {s, s, s};
  return pose;
}

Pose facePose(float r) {
  Pose pose;
  pose.position = {0.0f, 250.0f + 6.0f * std::sin(0.4f * r), 330.0f};
  pose.yawPitchRoll = {0.1f * std::sin(0.2f * r), 0.0f, 0.0f};
  return pose;
}

}  // namespace

void writeOrganMeshes(Output& out) {
  GridLayout ground{25, 25, -600.0f, -600.0f, 50.0f, 200.0f, false};
  out.mesh("quarvdemo\\render3\\r3.SCENEPlane01.mesh",
           heightGrid(ground, [](float, float) { return 0.0f; }).build(kMaskPositionNormalUv));
  for (int n = 1; n <= 6; ++n) {
    assets::MeshFileData organ = card(18.0f, 18.0f).build(kMaskPositionNormalUv);
    animate(organ, kTrackKeys, [n](float r) { return organPose(n, r); });
    out.mesh("quarvdemo\\render3\\r3.SCENEorgan" + std::to_string(n) + ".mesh", organ);
  }
  assets::MeshFileData face = card(110.0f, 140.0f).build(kMaskPositionNormalUv);
  animate(face, kTrackKeys, facePose);
  out.mesh("quarvdemo\\render3\\r3.SCENEPlane03.mesh", face);
}

}  // namespace contentgen
