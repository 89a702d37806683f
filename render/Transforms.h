// Matrices the scenes hand to effects: the 640 × 480 screen projection, translation, scaling and
// rotation, the place operations (rotate, then scale, then move) and a mesh's world matrix from
// its tracks (scale, then rotate, then move). D3DX row-vector conventions: A × B applies A first.
// Pure functions.
#pragma once

#include "assets/Mesh.h"
#include "platform/d3dx9/D3DXMath.h"

namespace render {

constexpr float kScreenWidth = 640.0f;
constexpr float kScreenHeight = 480.0f;
constexpr float kOrthoNear = 0.0f;
constexpr float kOrthoFar = 100000.0f;

// D3DXMatrixOrthoLH(w, h, 0, 100000); ortho(640, 480) makes one unit one pixel of the virtual screen.
D3DXMATRIX ortho(float width, float height);

D3DXMATRIX translation(const D3DXVECTOR3& v);
D3DXMATRIX scaling(const D3DXVECTOR3& v);
D3DXMATRIX rotation(const D3DXQUATERNION& q);
// Yaw v.x, pitch v.y, roll v.z.
D3DXMATRIX yawPitchRoll(const D3DXVECTOR3& v);

// yawPitchRoll(angles) × scaling(s, s, s) × translation(position).
D3DXMATRIX place(const D3DXVECTOR3& position, const D3DXVECTOR3& angles, float s);
D3DXMATRIX place(float x, float y, float z, float yaw, float pitch, float roll, float s);
D3DXMATRIX place(float x, float y, float z, float yaw, float pitch, float roll, float sx, float sy, float sz);

// Identity when all three tracks are empty; otherwise scaling(scale at t) × rotation(rotation at t)
// × translation(position at t), an empty track sampling as zero (an empty scale collapses the mesh).
D3DXMATRIX meshWorld(const assets::Mesh& mesh, float t);

}  // namespace render
