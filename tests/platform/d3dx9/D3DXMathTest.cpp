#include "platform/d3dx9/D3DXMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kTol = 1e-5f;

void ExpectVec3Near(const D3DXVECTOR3& actual, float x, float y, float z, float tol = kTol) {
  EXPECT_NEAR(actual.x, x, tol);
  EXPECT_NEAR(actual.y, y, tol);
  EXPECT_NEAR(actual.z, z, tol);
}

void ExpectMatrixNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tol = kTol) {
  for (UINT i = 0; i < 4; ++i)
    for (UINT j = 0; j < 4; ++j)
      EXPECT_NEAR(actual(i, j), expected(i, j), tol) << "at row " << i << ", column " << j;
}

D3DXVECTOR3 Coord(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &v, &m);
  return out;
}

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

TEST(D3DXMathTest, MatrixLayoutAndProductOrder) {
  const D3DXMATRIX m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  EXPECT_EQ(m._41, 13.0f);
  EXPECT_EQ(m(3, 1), 14.0f);
  EXPECT_EQ(m.m[1][2], 7.0f);
  EXPECT_EQ(static_cast<const float*>(m)[12], 13.0f);

  D3DXMATRIX t, s;
  D3DXMatrixTranslation(&t, 10, 0, 0);
  D3DXMatrixScaling(&s, 2, 2, 2);
  // A * B applies A first: translate then scale, or scale then translate.
  ExpectVec3Near(Coord({1, 0, 0}, t * s), 22, 0, 0);
  ExpectVec3Near(Coord({1, 0, 0}, s * t), 12, 0, 0);

  // The output may alias an input.
  D3DXMATRIX a = t;
  D3DXMatrixMultiply(&a, &a, &s);
  EXPECT_EQ(a, t * s);
  a = t;
  a *= s;
  EXPECT_EQ(a, t * s);

  D3DXMATRIX tr;
  D3DXMatrixTranspose(&tr, &m);
  EXPECT_EQ(tr._14, 13.0f);
  EXPECT_EQ(tr._41, 4.0f);
}

TEST(D3DXMathTest, InverseUndoesComposedTransforms) {
  D3DXMATRIX s, r, t, inv;
  D3DXMatrixScaling(&s, 2, 3, 4);
  D3DXMatrixRotationYawPitchRoll(&r, 0.3f, 0.5f, 0.7f);
  D3DXMatrixTranslation(&t, 1, 2, 3);
  const D3DXMATRIX m = s * r * t;
  float det = 0;
  ASSERT_EQ(D3DXMatrixInverse(&inv, &det, &m), &inv);
  EXPECT_NEAR(det, 24.0f, 1e-4f);  // the rotation and translation keep volume
  ExpectMatrixNear(m * inv, Identity());
  ExpectMatrixNear(inv * m, Identity());

  D3DXMatrixInverse(&inv, nullptr, &t);
  ExpectVec3Near(Coord({1, 2, 3}, inv), 0, 0, 0);

  // A projection has no affine last column; its inverse must still undo it.
  D3DXMATRIX p;
  D3DXMatrixPerspectiveFovLH(&p, D3DX_PI / 3, 1.5f, 0.5f, 50.0f);
  ASSERT_NE(D3DXMatrixInverse(&inv, nullptr, &p), nullptr);
  ExpectMatrixNear(p * inv, Identity());

  D3DXMATRIX flat;
  D3DXMatrixScaling(&flat, 1, 0, 1);
  det = 1;
  EXPECT_EQ(D3DXMatrixInverse(&inv, &det, &flat), nullptr);
  EXPECT_EQ(det, 0.0f);
}

TEST(D3DXMathTest, LookAtPutsTheEyeAtTheOrigin) {
  D3DXMATRIX view;
  const D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  ExpectVec3Near(Coord(at, view), 0, 0, 10);
  ExpectVec3Near(Coord(eye, view), 0, 0, 0);
  ExpectVec3Near(Coord({1, 2, -10}, view), 1, 2, 0);

  // From +x looking back at the origin, world +z is to the right.
  const D3DXVECTOR3 side(10, 0, 0);
  D3DXMatrixLookAtLH(&view, &side, &at, &up);
  ExpectVec3Near(Coord({0, 0, 1}, view), 1, 0, 10);
  ExpectVec3Near(Coord({0, 5, 0}, view), 0, 5, 10);
}

TEST(D3DXMathTest, ProjectionsMapTheFrustumToClipSpace) {
  D3DXMATRIX p;
  D3DXMatrixPerspectiveFovLH(&p, D3DX_PI / 2, 2.0f, 1.0f, 101.0f);
  ExpectVec3Near(Coord({0, 0, 1}, p), 0, 0, 0);
  ExpectVec3Near(Coord({0, 0, 101}, p), 0, 0, 1);
  // At depth 10 a 90-degree field reaches y = 10, and twice that in x for aspect 2.
  EXPECT_NEAR(Coord({0, 10, 10}, p).y, 1.0f, kTol);
  EXPECT_NEAR(Coord({20, 0, 10}, p).x, 1.0f, kTol);
  D3DXVECTOR4 clip;
  const D3DXVECTOR4 v(0, 0, 5, 1);
  D3DXVec4Transform(&clip, &v, &p);
  EXPECT_NEAR(clip.w, 5.0f, kTol);

  D3DXMATRIX o;
  D3DXMatrixOrthoLH(&o, 640, 480, 0, 100000);
  ExpectVec3Near(Coord({-320, -240, 0}, o), -1, -1, 0);
  ExpectVec3Near(Coord({320, 240, 100000}, o), 1, 1, 1);
  D3DXMatrixOrthoLH(&o, 2, 2, 10, 20);
  EXPECT_NEAR(Coord({0, 0, 10}, o).z, 0.0f, kTol);
  EXPECT_NEAR(Coord({0, 0, 20}, o).z, 1.0f, kTol);

  // Screen-style bounds: the top-left pixel corner is clip (-1, 1).
  D3DXMatrixOrthoOffCenterLH(&o, 0, 640, 480, 0, 0, 1);
  ExpectVec3Near(Coord({0, 0, 0}, o), -1, 1, 0);
  ExpectVec3Near(Coord({640, 480, 1}, o), 1, -1, 1);
}

TEST(D3DXMathTest, RotationsAreLeftHandedAndRollPitchYawInThatOrder) {
  const float q = D3DX_PI / 2;
  D3DXMATRIX r;
  D3DXMatrixRotationY(&r, q);
  ExpectVec3Near(Coord({1, 0, 0}, r), 0, 0, -1);
  ExpectVec3Near(Coord({0, 0, 1}, r), 1, 0, 0);
  D3DXMatrixRotationX(&r, q);
  ExpectVec3Near(Coord({0, 1, 0}, r), 0, 0, 1);
  D3DXMatrixRotationZ(&r, q);
  ExpectVec3Near(Coord({1, 0, 0}, r), 0, 1, 0);

  D3DXMatrixRotationYawPitchRoll(&r, q, 0, 0);
  ExpectVec3Near(Coord({1, 0, 0}, r), 0, 0, -1);
  // Roll takes x to y, pitch takes y to z, yaw takes z back to x; yaw first would give -x.
  D3DXMatrixRotationYawPitchRoll(&r, q, q, q);
  ExpectVec3Near(Coord({1, 0, 0}, r), 1, 0, 0);

  D3DXMATRIX rx, ry, rz;
  D3DXMatrixRotationX(&rx, -0.7f);
  D3DXMatrixRotationY(&ry, 0.3f);
  D3DXMatrixRotationZ(&rz, 1.1f);
  D3DXMatrixRotationYawPitchRoll(&r, 0.3f, -0.7f, 1.1f);
  ExpectMatrixNear(r, rz * rx * ry);

  D3DXQUATERNION yprQ;
  D3DXMATRIX fromQ;
  D3DXQuaternionRotationYawPitchRoll(&yprQ, 0.3f, -0.7f, 1.1f);
  ExpectMatrixNear(*D3DXMatrixRotationQuaternion(&fromQ, &yprQ), r);
}

TEST(D3DXMathTest, QuaternionAndAxisMatrices) {
  D3DXMATRIX m, ry;
  const D3DXQUATERNION zero(0, 0, 0, 0);
  ExpectMatrixNear(*D3DXMatrixRotationQuaternion(&m, &zero), Identity());

  const float h = std::sqrt(0.5f);
  const D3DXQUATERNION quarterY(0, h, 0, h);
  D3DXMatrixRotationY(&ry, D3DX_PI / 2);
  ExpectMatrixNear(*D3DXMatrixRotationQuaternion(&m, &quarterY), ry);

  // The axis need not be unit length.
  const D3DXVECTOR3 longY(0, 2, 0);
  ExpectMatrixNear(*D3DXMatrixRotationAxis(&m, &longY, D3DX_PI / 2), ry);
  // A third of a turn about the diagonal cycles the axes x -> y -> z.
  const D3DXVECTOR3 diagonal(1, 1, 1);
  D3DXMatrixRotationAxis(&m, &diagonal, 2 * D3DX_PI / 3);
  ExpectVec3Near(Coord({1, 0, 0}, m), 0, 1, 0);
  ExpectVec3Near(Coord({0, 1, 0}, m), 0, 0, 1);

  D3DXQUATERNION n(0, 0, 3, 4);
  D3DXQuaternionNormalize(&n, &n);
  EXPECT_EQ(n, D3DXQUATERNION(0, 0, 0.6f, 0.8f));
  D3DXQuaternionNormalize(&n, &zero);
  EXPECT_EQ(n, zero);
}

TEST(D3DXMathTest, SlerpTakesTheShortArcAndSurvivesEqualKeys) {
  D3DXQUATERNION id, out;
  D3DXQuaternionIdentity(&id);
  const float h = std::sqrt(0.5f);
  const D3DXQUATERNION quarterY(0, h, 0, h);
  const float s = std::sin(D3DX_PI / 8), c = std::cos(D3DX_PI / 8);

  for (const D3DXQUATERNION& key : {quarterY, -quarterY}) {
    D3DXQuaternionSlerp(&out, &id, &key, 0.5f);
    EXPECT_NEAR(out.x, 0, kTol);
    EXPECT_NEAR(out.y, s, kTol);
    EXPECT_NEAR(out.z, 0, kTol);
    EXPECT_NEAR(out.w, c, kTol);
  }
  D3DXQuaternionSlerp(&out, &id, &quarterY, 0.0f);
  EXPECT_NEAR(out.w, 1.0f, kTol);
  D3DXQuaternionSlerp(&out, &id, &quarterY, 1.0f);
  EXPECT_NEAR(out.y, h, kTol);

  // Equal or nearly equal keys: sin of the angle between them is zero or tiny.
  D3DXQUATERNION unit(0.1f, 0.2f, 0.3f, 0.9f);
  D3DXQuaternionNormalize(&unit, &unit);
  const D3DXQUATERNION close = unit + D3DXQUATERNION(1e-6f, 0, 0, 0);
  for (const D3DXQUATERNION& key : {unit, close}) {
    D3DXQuaternionSlerp(&out, &unit, &key, 0.3f);
    EXPECT_NEAR(out.x, unit.x, 1e-5f);
    EXPECT_NEAR(out.y, unit.y, 1e-5f);
    EXPECT_NEAR(out.z, unit.z, 1e-5f);
    EXPECT_NEAR(out.w, unit.w, 1e-5f);
  }
}

TEST(D3DXMathTest, VectorTransformsAndHelpers) {
  // A w column other than (0, 0, 0, 1) makes TransformCoord divide.
  D3DXMATRIX m = Identity();
  m._44 = 2;
  ExpectVec3Near(Coord({2, 4, 6}, m), 1, 2, 3);
  // Each component divided by w, as the native library does: x * (1 / w) is one ulp off for these.
  m._44 = 3;
  EXPECT_EQ(Coord({5, 7, 10}, m), D3DXVECTOR3(5.0f / 3, 7.0f / 3, 10.0f / 3));
  // A point on the eye plane of a projection has w = 0 and comes back undivided.
  D3DXMatrixPerspectiveFovLH(&m, D3DX_PI / 2, 1, 1, 2);
  const D3DXVECTOR3 onEyePlane = Coord({3, 4, 0}, m);
  ExpectVec3Near(onEyePlane, 3, 4, -2);

  D3DXMATRIX t;
  D3DXMatrixTranslation(&t, 5, 6, 7);
  D3DXVECTOR3 v(0, 1, 0);
  ExpectVec3Near(*D3DXVec3TransformNormal(&v, &v, &t), 0, 1, 0);
  // The w of a four-component vector scales the translation row.
  D3DXVECTOR4 h(1, 2, 3, 0);
  D3DXVec4Transform(&h, &h, &t);
  EXPECT_EQ(h, D3DXVECTOR4(1, 2, 3, 0));
  h = {1, 2, 3, 2};
  D3DXVec4Transform(&h, &h, &t);
  EXPECT_EQ(h, D3DXVECTOR4(11, 14, 17, 2));

  D3DXVECTOR3 n(3, 0, 4);
  ExpectVec3Near(*D3DXVec3Normalize(&n, &n), 0.6f, 0, 0.8f);
  const D3DXVECTOR3 zero;
  ExpectVec3Near(*D3DXVec3Normalize(&n, &zero), 0, 0, 0);

  const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), p(1, 2, 3), q(5, 6, 7);
  ExpectVec3Near(*D3DXVec3Cross(&n, &x, &y), 0, 0, 1);
  EXPECT_EQ(D3DXVec3Dot(&p, &q), 38.0f);
  EXPECT_EQ(D3DXVec3LengthSq(&p), 14.0f);
  EXPECT_NEAR(D3DXVec3Length(&q), std::sqrt(110.0f), kTol);
  ExpectVec3Near(*D3DXVec3Lerp(&n, &p, &q, 0.25f), 2, 3, 4);
  ExpectVec3Near(*D3DXVec3Subtract(&n, &q, &p), 4, 4, 4);
  ExpectVec3Near(*D3DXVec3Add(&n, &p, &q), 6, 8, 10);
  ExpectVec3Near(*D3DXVec3Scale(&n, &p, -2), -2, -4, -6);
  EXPECT_EQ(2.0f * p - q / 0.5f, D3DXVECTOR3(-8, -8, -8));
}

}  // namespace
