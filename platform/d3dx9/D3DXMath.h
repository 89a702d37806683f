// The D3DX 9 math stand-in: vectors, quaternions and row-major matrices with the names, layouts
// and left-handed row-vector conventions of d3dx9math.h, so transform code reads as it did there.
// Matrices apply as v * M; A * B applies A first. Output pointers may alias the inputs.
#pragma once

#include "platform/win32/WinTypes.h"

using FLOAT = float;

constexpr FLOAT D3DX_PI = 3.141592654f;

constexpr FLOAT D3DXToRadian(FLOAT degree) { return degree * (D3DX_PI / 180.0f); }
constexpr FLOAT D3DXToDegree(FLOAT radian) { return radian * (180.0f / D3DX_PI); }

struct D3DXVECTOR2 {
  FLOAT x = 0, y = 0;

  constexpr D3DXVECTOR2() = default;
  constexpr D3DXVECTOR2(FLOAT fx, FLOAT fy) : x(fx), y(fy) {}
  explicit D3DXVECTOR2(const FLOAT* f) : x(f[0]), y(f[1]) {}

  operator FLOAT*() { return &x; }
  operator const FLOAT*() const { return &x; }

  D3DXVECTOR2& operator+=(const D3DXVECTOR2& v) { x += v.x; y += v.y; return *this; }
  D3DXVECTOR2& operator-=(const D3DXVECTOR2& v) { x -= v.x; y -= v.y; return *this; }
  D3DXVECTOR2& operator*=(FLOAT f) { x *= f; y *= f; return *this; }
  D3DXVECTOR2& operator/=(FLOAT f) { return *this *= 1.0f / f; }

  D3DXVECTOR2 operator-() const { return {-x, -y}; }
  D3DXVECTOR2 operator+(const D3DXVECTOR2& v) const { return {x + v.x, y + v.y}; }
  D3DXVECTOR2 operator-(const D3DXVECTOR2& v) const { return {x - v.x, y - v.y}; }
  D3DXVECTOR2 operator*(FLOAT f) const { return {x * f, y * f}; }
  D3DXVECTOR2 operator/(FLOAT f) const { return *this * (1.0f / f); }
  friend D3DXVECTOR2 operator*(FLOAT f, const D3DXVECTOR2& v) { return v * f; }

  bool operator==(const D3DXVECTOR2& v) const { return x == v.x && y == v.y; }
  bool operator!=(const D3DXVECTOR2& v) const { return !(*this == v); }
};

struct D3DXVECTOR3 {
  FLOAT x = 0, y = 0, z = 0;

  constexpr D3DXVECTOR3() = default;
  constexpr D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) : x(fx), y(fy), z(fz) {}
  explicit D3DXVECTOR3(const FLOAT* f) : x(f[0]), y(f[1]), z(f[2]) {}

  operator FLOAT*() { return &x; }
  operator const FLOAT*() const { return &x; }

  D3DXVECTOR3& operator+=(const D3DXVECTOR3& v) { x += v.x; y += v.y; z += v.z; return *this; }
  D3DXVECTOR3& operator-=(const D3DXVECTOR3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  D3DXVECTOR3& operator*=(FLOAT f) { x *= f; y *= f; z *= f; return *this; }
  D3DXVECTOR3& operator/=(FLOAT f) { return *this *= 1.0f / f; }

  D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
  D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return {x + v.x, y + v.y, z + v.z}; }
  D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return {x - v.x, y - v.y, z - v.z}; }
  D3DXVECTOR3 operator*(FLOAT f) const { return {x * f, y * f, z * f}; }
  D3DXVECTOR3 operator/(FLOAT f) const { return *this * (1.0f / f); }
  friend D3DXVECTOR3 operator*(FLOAT f, const D3DXVECTOR3& v) { return v * f; }

  bool operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
  bool operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
};

struct D3DXVECTOR4 {
  FLOAT x = 0, y = 0, z = 0, w = 0;

  constexpr D3DXVECTOR4() = default;
  constexpr D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
  constexpr D3DXVECTOR4(const D3DXVECTOR3& v, FLOAT fw) : x(v.x), y(v.y), z(v.z), w(fw) {}
  explicit D3DXVECTOR4(const FLOAT* f) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}

  operator FLOAT*() { return &x; }
  operator const FLOAT*() const { return &x; }

  D3DXVECTOR4& operator+=(const D3DXVECTOR4& v) {
    x += v.x; y += v.y; z += v.z; w += v.w;
    return *this;
  }
  D3DXVECTOR4& operator-=(const D3DXVECTOR4& v) {
    x -= v.x; y -= v.y; z -= v.z; w -= v.w;
    return *this;
  }
  D3DXVECTOR4& operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
  D3DXVECTOR4& operator/=(FLOAT f) { return *this *= 1.0f / f; }

  D3DXVECTOR4 operator-() const { return {-x, -y, -z, -w}; }
  D3DXVECTOR4 operator+(const D3DXVECTOR4& v) const {
    return {x + v.x, y + v.y, z + v.z, w + v.w};
  }
  D3DXVECTOR4 operator-(const D3DXVECTOR4& v) const {
    return {x - v.x, y - v.y, z - v.z, w - v.w};
  }
  D3DXVECTOR4 operator*(FLOAT f) const { return {x * f, y * f, z * f, w * f}; }
  D3DXVECTOR4 operator/(FLOAT f) const { return *this * (1.0f / f); }
  friend D3DXVECTOR4 operator*(FLOAT f, const D3DXVECTOR4& v) { return v * f; }

  bool operator==(const D3DXVECTOR4& v) const {
    return x == v.x && y == v.y && z == v.z && w == v.w;
  }
  bool operator!=(const D3DXVECTOR4& v) const { return !(*this == v); }
};

// (x, y, z) is the axis times sin(angle / 2), w is cos(angle / 2).
struct D3DXQUATERNION {
  FLOAT x = 0, y = 0, z = 0, w = 0;

  constexpr D3DXQUATERNION() = default;
  constexpr D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
  explicit D3DXQUATERNION(const FLOAT* f) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}

  operator FLOAT*() { return &x; }
  operator const FLOAT*() const { return &x; }

  D3DXQUATERNION& operator+=(const D3DXQUATERNION& q) {
    x += q.x; y += q.y; z += q.z; w += q.w;
    return *this;
  }
  D3DXQUATERNION& operator-=(const D3DXQUATERNION& q) {
    x -= q.x; y -= q.y; z -= q.z; w -= q.w;
    return *this;
  }
  D3DXQUATERNION& operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
  D3DXQUATERNION& operator/=(FLOAT f) { return *this *= 1.0f / f; }

  D3DXQUATERNION operator-() const { return {-x, -y, -z, -w}; }
  D3DXQUATERNION operator+(const D3DXQUATERNION& q) const {
    return {x + q.x, y + q.y, z + q.z, w + q.w};
  }
  D3DXQUATERNION operator-(const D3DXQUATERNION& q) const {
    return {x - q.x, y - q.y, z - q.z, w - q.w};
  }
  D3DXQUATERNION operator*(FLOAT f) const { return {x * f, y * f, z * f, w * f}; }
  D3DXQUATERNION operator/(FLOAT f) const { return *this * (1.0f / f); }
  friend D3DXQUATERNION operator*(FLOAT f, const D3DXQUATERNION& q) { return q * f; }

  bool operator==(const D3DXQUATERNION& q) const {
    return x == q.x && y == q.y && z == q.z && w == q.w;
  }
  bool operator!=(const D3DXQUATERNION& q) const { return !(*this == q); }
};

// Row-major 4x4; _41, _42, _43 hold the translation. The default matrix is all zeros.
struct D3DXMATRIX {
  union {
    struct {
      FLOAT _11, _12, _13, _14;
      FLOAT _21, _22, _23, _24;
      FLOAT _31, _32, _33, _34;
      FLOAT _41, _42, _43, _44;
    };
    FLOAT m[4][4];
  };

  D3DXMATRIX() : m{} {}
  explicit D3DXMATRIX(const FLOAT* f);
  D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23,
             FLOAT f24, FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42,
             FLOAT f43, FLOAT f44);

  FLOAT& operator()(UINT row, UINT col) { return m[row][col]; }
  FLOAT operator()(UINT row, UINT col) const { return m[row][col]; }

  operator FLOAT*() { return &m[0][0]; }
  operator const FLOAT*() const { return &m[0][0]; }

  D3DXMATRIX& operator*=(const D3DXMATRIX& mat);
  D3DXMATRIX& operator+=(const D3DXMATRIX& mat);
  D3DXMATRIX& operator-=(const D3DXMATRIX& mat);
  D3DXMATRIX& operator*=(FLOAT f);
  D3DXMATRIX& operator/=(FLOAT f) { return *this *= 1.0f / f; }

  D3DXMATRIX operator-() const { return *this * -1.0f; }
  D3DXMATRIX operator*(const D3DXMATRIX& mat) const { return D3DXMATRIX(*this) *= mat; }
  D3DXMATRIX operator+(const D3DXMATRIX& mat) const { return D3DXMATRIX(*this) += mat; }
  D3DXMATRIX operator-(const D3DXMATRIX& mat) const { return D3DXMATRIX(*this) -= mat; }
  D3DXMATRIX operator*(FLOAT f) const { return D3DXMATRIX(*this) *= f; }
  D3DXMATRIX operator/(FLOAT f) const { return D3DXMATRIX(*this) /= f; }
  friend D3DXMATRIX operator*(FLOAT f, const D3DXMATRIX& mat) { return mat * f; }

  bool operator==(const D3DXMATRIX& mat) const;
  bool operator!=(const D3DXMATRIX& mat) const { return !(*this == mat); }
};

// Matrices.
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM);
// Writes the determinant when pDeterminant is not null; returns null for a singular matrix.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM);
D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);
D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t,
                                       FLOAT zn, FLOAT zf);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn,
                                       FLOAT zf);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle);
// Roll about z first, then pitch about x, then yaw about y.
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll);
// Does not normalise the quaternion; the zero quaternion gives the identity.
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ);
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT angle);

// Quaternions.
D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* pOut);
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                    const D3DXQUATERNION* pQ2, FLOAT t);
D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT yaw, FLOAT pitch,
                                                   FLOAT roll);

// Vectors.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                    const D3DXMATRIX* pM);
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                     const D3DXMATRIX* pM);
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
FLOAT D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
FLOAT D3DXVec3Length(const D3DXVECTOR3* pV);
FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* pV);
D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                          FLOAT s);
D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s);
D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM);
