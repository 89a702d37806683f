// Building .mesh content: a vertex list (position, normal, uv) and a triangle list, height-field
// grids with normals from their heights, and the 0.1-s animation tracks of a moving mesh.
// Produces assets::MeshFileData for the project's own writer. Plain values.
#pragma once

#include <functional>
#include <vector>

#include "assets/MeshFile.h"
#include "platform/d3dx9/D3DXMath.h"

namespace contentgen {

using Vec3 = D3DXVECTOR3;

Vec3 cross(const Vec3& a, const Vec3& b);
float dot(const Vec3& a, const Vec3& b);
Vec3 normalised(const Vec3& v);

constexpr WORD kMaskPosition = 0x0001;
constexpr WORD kMaskPositionNormalUv = 0x0007;

struct Vertex {
  Vec3 position;
  Vec3 normal;
  float u = 0, v = 0;
};

class MeshBuilder {
public:
  WORD add(const Vertex& vertex);
  void triangle(WORD a, WORD b, WORD c);
  // Adds the triangle in the order whose cross product (v1 − v0) × (v2 − v0) points along `facing`.
  void triangleFacing(WORD a, WORD b, WORD c, const Vec3& facing);
  std::size_t vertexCount() const { return vertices_.size(); }
  const std::vector<Vertex>& vertices() const { return vertices_; }
  std::vector<Vertex>& vertices() { return vertices_; }
  // Whether every vertex fits a 16-bit index.
  bool fits() const { return vertices_.size() <= 65535; }
  // The file data with mask 0x0007 (32-byte vertices) or 0x0001 (positions only, 12 bytes), no tracks.
  assets::MeshFileData build(WORD mask) const;

private:
  std::vector<Vertex> vertices_;
  std::vector<WORD> indices_;
};

// A height field: `columns` × `rows` vertices at spacing `step` from (x0, z0). The vertex of column
// c (along x) and row r (along z) gets index c·rows + r when `xMajor`, else r·columns + c.
// Normals come from the heights (central differences); uv = (x, z) / uvUnits; every triangle's
// cross product points up (+y), the front side for "cull counter-clockwise" seen from above.
struct GridLayout {
  int columns = 2, rows = 2;
  float x0 = 0, z0 = 0, step = 1;
  float uvUnits = 1;
  bool xMajor = false;
};
MeshBuilder heightGrid(const GridLayout& layout, const std::function<float(float, float)>& height);

// One pose of an animated mesh: scale × rotation (yaw, pitch, roll) × translation.
struct Pose {
  Vec3 position;
  Vec3 yawPitchRoll;
  Vec3 scale{1, 1, 1};
};
// Fills all three tracks with `keys` poses 0.1 s apart.
void animate(assets::MeshFileData& mesh, int keys, const std::function<Pose(float)>& pose);

}  // namespace contentgen
