// Vertex packing, height grids and track sampling.
#include "tools/contentgen/MeshBuilder.h"

#include <cmath>
#include <cstring>

namespace contentgen {

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 normalised(const Vec3& v) {
  float len = std::sqrt(dot(v, v));
  return len > 0.0f ? v / len : v;
}

WORD MeshBuilder::add(const Vertex& vertex) {
  vertices_.push_back(vertex);
  return static_cast<WORD>(vertices_.size() - 1);
}

void MeshBuilder::triangle(WORD a, WORD b, WORD c) {
  indices_.push_back(a);
  indices_.push_back(b);
  indices_.push_back(c);
}

void MeshBuilder::triangleFacing(WORD a, WORD b, WORD c, const Vec3& facing) {
  Vec3 n = cross(vertices_[b].position - vertices_[a].position, vertices_[c].position - vertices_[a].position);
  if (dot(n, facing) >= 0.0f) {
    triangle(a, b, c);
  } else {
    triangle(a, c, b);
  }
}

assets::MeshFileData MeshBuilder::build(WORD mask) const {
  assets::MeshFileData data;
  const bool full = mask == kMaskPositionNormalUv;
  data.mask = full ? kMaskPositionNormalUv : kMaskPosition;
  data.stride = full ? 32 : 12;
  data.vertexCount = static_cast<std::uint32_t>(vertices_.size());
  data.indices = indices_;
  data.vertices.resize(std::size_t(data.vertexCount) * data.stride);
  BYTE* out = data.vertices.data();
  for (const Vertex& v : vertices_) {
    float packed[8] = {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z, v.u, v.v};
    std::memcpy(out, packed, data.stride);
    out += data.stride;
  }
  return data;
}

MeshBuilder heightGrid(const GridLayout& layout, const std::function<float(float, float)>& height) {
  MeshBuilder mesh;
  auto index = [&](int c, int r) { return static_cast<WORD>(layout.xMajor ? c * layout.rows + r : r * layout.columns + c); };
  const int outer = layout.xMajor ? layout.columns : layout.rows, inner = layout.xMajor ? layout.rows : layout.columns;
  const float e = layout.step * 0.5f;
  for (int o = 0; o < outer; ++o) {
    for (int i = 0; i < inner; ++i) {
      int c = layout.xMajor ? o : i, r = layout.xMajor ? i : o;
      float x = layout.x0 + layout.step * float(c), z = layout.z0 + layout.step * float(r);
      Vec3 normal{height(x - e, z) - height(x + e, z), 2.0f * e, height(x, z - e) - height(x, z + e)};
      mesh.add({{x, height(x, z), z}, normalised(normal), x / layout.uvUnits, z / layout.uvUnits});
    }
  }
  for (int c = 0; c + 1 < layout.columns; ++c) {
    for (int r = 0; r + 1 < layout.rows; ++r) {
      mesh.triangle(index(c, r), index(c, r + 1), index(c + 1, r));
      mesh.triangle(index(c + 1, r + 1), index(c + 1, r), index(c, r + 1));
    }
  }
  return mesh;
}

void animate(assets::MeshFileData& mesh, int keys, const std::function<Pose(float)>& pose) {
  std::vector<D3DXVECTOR3> positions, scales;
  std::vector<D3DXQUATERNION> rotations;
  for (int k = 0; k < keys; ++k) {
    Pose p = pose(float(k) * 0.1f);
    D3DXQUATERNION q;
    D3DXQuaternionRotationYawPitchRoll(&q, p.yawPitchRoll.x, p.yawPitchRoll.y, p.yawPitchRoll.z);
    positions.push_back(p.position);
    rotations.push_back(q);
    scales.push_back(p.scale);
  }
  mesh.position.setKeys(std::move(positions));
  mesh.rotation.setKeys(std::move(rotations));
  mesh.scale.setKeys(std::move(scales));
}

}  // namespace contentgen
