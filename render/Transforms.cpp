// Transform matrices.
#include "render/Transforms.h"

namespace render {

D3DXMATRIX ortho(float width, float height) {
  D3DXMATRIX m;
  D3DXMatrixOrthoLH(&m, width, height, kOrthoNear, kOrthoFar);
  return m;
}

D3DXMATRIX translation(const D3DXVECTOR3& v) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, v.x, v.y, v.z);
  return m;
}

D3DXMATRIX scaling(const D3DXVECTOR3& v) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, v.x, v.y, v.z);
  return m;
}

D3DXMATRIX rotation(const D3DXQUATERNION& q) {
  D3DXMATRIX m;
  D3DXMatrixRotationQuaternion(&m, &q);
  return m;
}

D3DXMATRIX yawPitchRoll(const D3DXVECTOR3& v) {
  D3DXMATRIX m;
  D3DXMatrixRotationYawPitchRoll(&m, v.x, v.y, v.z);
  return m;
}

D3DXMATRIX place(const D3DXVECTOR3& position, const D3DXVECTOR3& angles, float s) {
  return yawPitchRoll(angles) * scaling({s, s, s}) * translation(position);
}

D3DXMATRIX place(float x, float y, float z, float yaw, float pitch, float roll, float s) {
  return place({x, y, z}, {yaw, pitch, roll}, s);
}

D3DXMATRIX place(float x, float y, float z, float yaw, float pitch, float roll, float sx, float sy, float sz) {
  return yawPitchRoll({yaw, pitch, roll}) * scaling({sx, sy, sz}) * translation({x, y, z});
}

D3DXMATRIX meshWorld(const assets::Mesh& mesh, float t) {
  if (mesh.position.empty() && mesh.rotation.empty() && mesh.scale.empty()) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return identity;
  }
  return scaling(mesh.scale.sample(t)) * rotation(mesh.rotation.sample(t)) * translation(mesh.position.sample(t));
}

}  // namespace render
