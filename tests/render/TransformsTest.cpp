// The screen projection, the place operations and a mesh's world matrix.
#include "render/Transforms.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

D3DXVECTOR3 apply(const D3DXMATRIX& m, D3DXVECTOR3 p) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &m);
  return out;
}

void expectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tolerance = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

D3DXMATRIX identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

// One unit is one pixel of a 640 × 480 screen centred on the origin; depth 0 at the near plane.
TEST(Transforms, OrthoMapsTheVirtualScreenOntoClipSpace) {
  D3DXMATRIX m = render::ortho(640, 480);
  expectNear(apply(m, {-320, 0, 0}), {-1, 0, 0});
  expectNear(apply(m, {320, 0, 0}), {1, 0, 0});
  expectNear(apply(m, {0, -240, 0}), {0, -1, 0});
  expectNear(apply(m, {0, 240, 100000}), {0, 1, 1});
  EXPECT_EQ(apply(m, {0, 0, 0}).z, 0.0f);
}

TEST(Transforms, PlaceWithUnitScaleAndNoTurnIsATranslation) {
  EXPECT_EQ(render::place({3, -4, 5}, {0, 0, 0}, 1.0f), render::translation({3, -4, 5}));
  EXPECT_EQ(render::place(3, -4, 5, 0, 0, 0, 1.0f), render::translation({3, -4, 5}));
  EXPECT_EQ(render::place(3, -4, 5, 0, 0, 0, 1, 1, 1), render::translation({3, -4, 5}));
}

// Place rotates before it scales: after a quarter turn of yaw, the x scale acts on what was the
// object's z axis.
TEST(Transforms, PlaceScalesAlongWorldAxesAfterTheRotation) {
  const float quarter = D3DX_PI / 2;
  D3DXMATRIX m = render::place(10, 0, 0, quarter, 0, 0, 2, 3, 4);
  expectNear(apply(m, {0, 0, 1}), {10 + 2, 0, 0});  // object z → world x, scaled by sx
  expectNear(apply(m, {1, 0, 0}), {10, 0, -4});     // object x → world −z, scaled by sz
  expectNear(apply(m, {0, 1, 0}), {10, 3, 0});
  // The three overloads are one operation.
  D3DXMATRIX uniform = render::place({1, 2, 3}, {0.3f, 0.2f, 0.1f}, 2.5f);
  EXPECT_EQ(render::place(1, 2, 3, 0.3f, 0.2f, 0.1f, 2.5f), uniform);
  EXPECT_EQ(render::place(1, 2, 3, 0.3f, 0.2f, 0.1f, 2.5f, 2.5f, 2.5f), uniform);
}

TEST(Transforms, MeshWithoutTracksHasTheIdentityWorld) {
  assets::Mesh mesh;
  EXPECT_EQ(render::meshWorld(mesh, 0.0f), identity());
  EXPECT_EQ(render::meshWorld(mesh, 12.5f), identity());
}

// An empty scale track among non-empty ones samples as zero: the whole object collapses onto its
// position.
TEST(Transforms, MeshWithOnlyAPositionTrackCollapsesOntoIt) {
  assets::Mesh mesh;
  mesh.position.setKeys({{5, 6, 7}});
  D3DXMATRIX world = render::meshWorld(mesh, 0.3f);
  expectNear(apply(world, {0, 0, 0}), {5, 6, 7});
  expectNear(apply(world, {100, -50, 3}), {5, 6, 7});
}

// Mesh world scales first, then rotates, then moves; the opposite order to place.
TEST(Transforms, MeshWorldScalesBeforeItRotates) {
  const float s = std::sin(D3DX_PI / 4), c = std::cos(D3DX_PI / 4);
  assets::Mesh mesh;
  mesh.position.setKeys({{0, 0, 0}, {10, 0, 0}});
  mesh.rotation.setKeys({{0, s, 0, c}, {0, s, 0, c}});  // a quarter turn about y
  mesh.scale.setKeys({{2, 1, 1}, {2, 1, 1}});
  D3DXMATRIX world = render::meshWorld(mesh, 0.1f);
  // Object x is scaled by 2 along object x, then turned onto world −z.
  expectNear(apply(world, {1, 0, 0}), {10, 0, -2});
  expectNear(apply(world, {0, 0, 1}), {11, 0, 0});
  // Half-way through the position keys.
  expectNear(apply(render::meshWorld(mesh, 0.05f), {0, 0, 0}), {5, 0, 0});
}

}  // namespace
