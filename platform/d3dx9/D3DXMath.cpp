#include "platform/d3dx9/D3DXMath.h"

#include <cmath>
#include <cstring>

namespace {

D3DXMATRIX IdentityMatrix() {
  D3DXMATRIX m;
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

// A matrix whose upper-left 3x3 block is the given rows and whose last row and column are
// those of the identity.
D3DXMATRIX Basis(const D3DXVECTOR3& r1, const D3DXVECTOR3& r2, const D3DXVECTOR3& r3) {
  return {r1.x, r1.y, r1.z, 0.0f, r2.x, r2.y, r2.z, 0.0f,
          r3.x, r3.y, r3.z, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
}

}  // namespace

D3DXMATRIX::D3DXMATRIX(const FLOAT* f) { std::memcpy(m, f, sizeof(m)); }

D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22,
                       FLOAT f23, FLOAT f24, FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
                       FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44)
    : m{{f11, f12, f13, f14}, {f21, f22, f23, f24}, {f31, f32, f33, f34}, {f41, f42, f43, f44}} {}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& mat) {
  D3DXMatrixMultiply(this, this, &mat);
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& mat) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] += mat.m[i][j];
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& mat) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] -= mat.m[i][j];
  return *this;
}

D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f) {
  for (auto& row : m)
    for (FLOAT& v : row) v *= f;
  return *this;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& mat) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (m[i][j] != mat.m[i][j]) return false;
  return true;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
  *pOut = IdentityMatrix();
  return pOut;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
  D3DXMATRIX r;  // built aside so pOut may alias either input
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] = pM1->m[i][0] * pM2->m[0][j] + pM1->m[i][1] * pM2->m[1][j] +
                  pM1->m[i][2] * pM2->m[2][j] + pM1->m[i][3] * pM2->m[3][j];
  *pOut = r;
  return pOut;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = pM->m[j][i];
  *pOut = r;
  return pOut;
}

// Adjugate over determinant, from the 2x2 minors of the top two and bottom two rows. Worked in
// double so that near-singular view and projection products keep their precision.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM) {
  double a[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) a[i][j] = pM->m[i][j];

  const double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
  const double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
  const double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
  const double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
  const double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
  const double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
  const double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
  const double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
  const double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
  const double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
  const double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
  const double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];

  const double det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
  if (pDeterminant) *pDeterminant = static_cast<FLOAT>(det);
  if (det == 0.0 || !std::isfinite(det)) return nullptr;

  const double b[4][4] = {
      {a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3, -a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3,
       a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3, -a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3},
      {-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1, a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1,
       -a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1, a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1},
      {a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0, -a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0,
       a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0, -a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0},
      {-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0, a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0,
       -a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0, a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0}};

  const double invDet = 1.0 / det;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) pOut->m[i][j] = static_cast<FLOAT>(b[i][j] * invDet);
  return pOut;
}

D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
  *pOut = IdentityMatrix();
  pOut->_11 = 2.0f / w;
  pOut->_22 = 2.0f / h;
  pOut->_33 = 1.0f / (zf - zn);
  pOut->_43 = zn / (zn - zf);
  return pOut;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t,
                                       FLOAT zn, FLOAT zf) {
  *pOut = IdentityMatrix();
  pOut->_11 = 2.0f / (r - l);
  pOut->_22 = 2.0f / (t - b);
  pOut->_33 = 1.0f / (zf - zn);
  pOut->_41 = (l + r) / (l - r);
  pOut->_42 = (t + b) / (b - t);
  pOut->_43 = zn / (zn - zf);
  return pOut;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp) {
  D3DXVECTOR3 xaxis, yaxis, zaxis = *pAt - *pEye;
  D3DXVec3Normalize(&zaxis, &zaxis);
  D3DXVec3Cross(&xaxis, pUp, &zaxis);
  D3DXVec3Normalize(&xaxis, &xaxis);
  D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
  const D3DXVECTOR3 eye = *pEye;
  *pOut = {xaxis.x, yaxis.x, zaxis.x, 0.0f, xaxis.y, yaxis.y, zaxis.y, 0.0f,
           xaxis.z, yaxis.z, zaxis.z, 0.0f, -D3DXVec3Dot(&xaxis, &eye),
           -D3DXVec3Dot(&yaxis, &eye), -D3DXVec3Dot(&zaxis, &eye), 1.0f};
  return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn,
                                       FLOAT zf) {
  const FLOAT yScale = 1.0f / std::tan(fovy * 0.5f);
  *pOut = D3DXMATRIX();
  pOut->_11 = yScale / aspect;
  pOut->_22 = yScale;
  pOut->_33 = zf / (zf - zn);
  pOut->_34 = 1.0f;
  pOut->_43 = -zn * zf / (zf - zn);
  return pOut;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
  *pOut = IdentityMatrix();
  pOut->_41 = x;
  pOut->_42 = y;
  pOut->_43 = z;
  return pOut;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
  *pOut = IdentityMatrix();
  pOut->_11 = sx;
  pOut->_22 = sy;
  pOut->_33 = sz;
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle) {
  const FLOAT c = std::cos(angle), s = std::sin(angle);
  *pOut = Basis({1.0f, 0.0f, 0.0f}, {0.0f, c, s}, {0.0f, -s, c});
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle) {
  const FLOAT c = std::cos(angle), s = std::sin(angle);
  *pOut = Basis({c, 0.0f, -s}, {0.0f, 1.0f, 0.0f}, {s, 0.0f, c});
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle) {
  const FLOAT c = std::cos(angle), s = std::sin(angle);
  *pOut = Basis({c, s, 0.0f}, {-s, c, 0.0f}, {0.0f, 0.0f, 1.0f});
  return pOut;
}

// The product RotationZ(roll) * RotationX(pitch) * RotationY(yaw), written out.
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll) {
  const FLOAT cy = std::cos(yaw), sy = std::sin(yaw);
  const FLOAT cp = std::cos(pitch), sp = std::sin(pitch);
  const FLOAT cr = std::cos(roll), sr = std::sin(roll);
  *pOut = Basis({cr * cy + sr * sp * sy, sr * cp, sr * sp * cy - cr * sy},
                {cr * sp * sy - sr * cy, cr * cp, sr * sy + cr * sp * cy},
                {cp * sy, -sp, cp * cy});
  return pOut;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
  const FLOAT x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
  *pOut = Basis({1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y + z * w), 2.0f * (x * z - y * w)},
                {2.0f * (x * y - z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z + x * w)},
                {2.0f * (x * z + y * w), 2.0f * (y * z - x * w), 1.0f - 2.0f * (x * x + y * y)});
  return pOut;
}

// Through the quaternion of the normalised axis; a zero axis gives the identity.
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT angle) {
  D3DXVECTOR3 axis;
  D3DXVec3Normalize(&axis, pV);
  axis *= std::sin(angle * 0.5f);
  const D3DXQUATERNION q(axis.x, axis.y, axis.z, std::cos(angle * 0.5f));
  return D3DXMatrixRotationQuaternion(pOut, &q);
}

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* pOut) {
  *pOut = {0.0f, 0.0f, 0.0f, 1.0f};
  return pOut;
}

// The zero quaternion stays zero rather than becoming NaN.
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
  const D3DXQUATERNION q = *pQ;
  const FLOAT len = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
  *pOut = len > 0.0f ? q / len : D3DXQUATERNION();
  return pOut;
}

// Takes the shorter arc: q2 is negated when the keys point into opposite hemispheres. Keys this
// close together have sin(angle) near zero, so they are blended linearly instead.
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                    const D3DXQUATERNION* pQ2, FLOAT t) {
  const D3DXQUATERNION q1 = *pQ1, q2 = *pQ2;
  FLOAT cosAngle = q1.x * q2.x + q1.y * q2.y + q1.z * q2.z + q1.w * q2.w;
  FLOAT sign = 1.0f;
  if (cosAngle < 0.0f) {
    cosAngle = -cosAngle;
    sign = -1.0f;
  }
  FLOAT w1 = 1.0f - t, w2 = t;
  if (1.0f - cosAngle >= 1e-4f) {
    const FLOAT angle = std::acos(cosAngle);
    const FLOAT invSin = 1.0f / std::sin(angle);
    w1 = std::sin((1.0f - t) * angle) * invSin;
    w2 = std::sin(t * angle) * invSin;
  }
  *pOut = q1 * w1 + q2 * (w2 * sign);
  return pOut;
}

D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT yaw, FLOAT pitch,
                                                   FLOAT roll) {
  const FLOAT cy = std::cos(yaw * 0.5f), sy = std::sin(yaw * 0.5f);
  const FLOAT cp = std::cos(pitch * 0.5f), sp = std::sin(pitch * 0.5f);
  const FLOAT cr = std::cos(roll * 0.5f), sr = std::sin(roll * 0.5f);
  *pOut = {cy * sp * cr + sy * cp * sr, sy * cp * cr - cy * sp * sr, cy * cp * sr - sy * sp * cr,
           cy * cp * cr + sy * sp * sr};
  return pOut;
}

// A w of zero (a point on the projection's eye plane) has no meaningful divide; the undivided
// result is returned then instead of infinities.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                    const D3DXMATRIX* pM) {
  D3DXVECTOR4 r;
  const D3DXVECTOR4 v(*pV, 1.0f);
  D3DXVec4Transform(&r, &v, pM);
  // Each component divided by w, as the native library does (not multiplied by 1 / w, which rounds
  // differently); a point with w = 0 comes back undivided.
  const FLOAT w = r.w != 0.0f ? r.w : 1.0f;
  *pOut = {r.x / w, r.y / w, r.z / w};
  return pOut;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                     const D3DXMATRIX* pM) {
  const D3DXVECTOR3 v = *pV;
  const D3DXMATRIX& m = *pM;
  *pOut = {v.x * m._11 + v.y * m._21 + v.z * m._31, v.x * m._12 + v.y * m._22 + v.z * m._32,
           v.x * m._13 + v.y * m._23 + v.z * m._33};
  return pOut;
}

// The zero vector stays zero rather than becoming NaN.
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
  const FLOAT len = D3DXVec3Length(pV);
  *pOut = len > 0.0f ? *pV / len : D3DXVECTOR3();
  return pOut;
}

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  const D3DXVECTOR3 a = *pV1, b = *pV2;
  *pOut = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return pOut;
}

FLOAT D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}

FLOAT D3DXVec3Length(const D3DXVECTOR3* pV) { return std::sqrt(D3DXVec3LengthSq(pV)); }

FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* pV) { return D3DXVec3Dot(pV, pV); }

D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                          FLOAT s) {
  *pOut = *pV1 + (*pV2 - *pV1) * s;
  return pOut;
}

D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  *pOut = *pV1 + *pV2;
  return pOut;
}

D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1,
                              const D3DXVECTOR3* pV2) {
  *pOut = *pV1 - *pV2;
  return pOut;
}

D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s) {
  *pOut = *pV * s;
  return pOut;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
  const D3DXVECTOR4 v = *pV;
  const D3DXMATRIX& m = *pM;
  *pOut = {v.x * m._11 + v.y * m._21 + v.z * m._31 + v.w * m._41,
           v.x * m._12 + v.y * m._22 + v.z * m._32 + v.w * m._42,
           v.x * m._13 + v.y * m._23 + v.z * m._33 + v.w * m._43,
           v.x * m._14 + v.y * m._24 + v.z * m._34 + v.w * m._44};
  return pOut;
}
