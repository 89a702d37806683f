// The eighth scene: the polished floor (its mirror is the ceiling) and the spinning sphere, an
// icosphere with equirectangular uv whose seam vertices are doubled so no triangle spans the wrap.
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>

#include "tools/contentgen/MeshBuilder.h"
#include "tools/contentgen/Meshes.h"

namespace contentgen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

struct Triangle {
  int a, b, c;
};

// An icosahedron subdivided three times onto the unit sphere: 642 points, 1280 triangles.
void icosphere(std::vector<Vec3>& points, std::vector<Triangle>& triangles) {
  const float t = (1.0f + std::sqrt(5.0f)) * 0.5f;
  points = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
            {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
  for (Vec3& p : points) p = normalised(p);
  triangles = {{0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
               {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
               {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}};
  for (int level = 0; level < 3; ++level) {
    std::map<std::pair<int, int>, int> middles;
    auto middle = [&](int a, int b) {
      auto key = std::minmax(a, b);
      auto found = middles.find(key);
      if (found != middles.end()) return found->second;
      points.push_back(normalised((points[std::size_t(a)] + points[std::size_t(b)]) * 0.5f));
      int index = int(points.size()) - 1;
      middles.emplace(key, index);
      return index;
    };
    std::vector<Triangle> finer;
    for (const Triangle& tri : triangles) {
      int ab = middle(tri.a, tri.b), bc = middle(tri.b, tri.c), ca = middle(tri.c, tri.a);
      finer.insert(finer.end(), {{tri.a, ab, ca}, {tri.b, bc, ab}, {tri.c, ca, bc}, {ab, bc, ca}});
    }
    triangles = std::move(finer);
  }
}

// The sphere of radius 30 with outward normals and front faces. u = azimuth / 2π, v = polar angle
// / π; a triangle across the u wrap gets copies of its low-u vertices at u + 1, a pole vertex
// takes the mean u of the other two.
MeshBuilder sphere() {
  std::vector<Vec3> points;
  std::vector<Triangle> triangles;
  icosphere(points, triangles);
  MeshBuilder mesh;
  for (const Vec3& p : points) {
    float u = std::atan2(p.x, p.z) / (2.0f * kPi) + 0.5f;
    float v = std::acos(std::clamp(p.y, -1.0f, 1.0f)) / kPi;
    mesh.add({p * 30.0f, p, u, v});
  }
  for (const Triangle& tri : triangles) {
    int corner[3] = {tri.a, tri.b, tri.c};
    float us[3];
    for (int k = 0; k < 3; ++k) us[k] = mesh.vertices()[std::size_t(corner[k])].u;
    // A triangle across the wrap spans less in u once its low-u corners move to u + 1.
    float shifted[3];
    for (int k = 0; k < 3; ++k) shifted[k] = us[k] < 0.5f ? us[k] + 1.0f : us[k];
    bool wraps = std::max({shifted[0], shifted[1], shifted[2]}) - std::min({shifted[0], shifted[1], shifted[2]}) <
                 std::max({us[0], us[1], us[2]}) - std::min({us[0], us[1], us[2]});
    for (int k = 0; k < 3; ++k) {
      Vertex v = mesh.vertices()[std::size_t(corner[k])];
      bool pole = std::abs(v.normal.y) > 0.9999f;
      if (pole) v.u = (us[(k + 1) % 3] + us[(k + 2) % 3]) * 0.5f;
      if (wraps && v.u < 0.5f) v.u += 1.0f;
      if (pole || (wraps && v.u != mesh.vertices()[std::size_t(corner[k])].u)) corner[k] = mesh.add(v);
    }
    const Vec3 centre = mesh.vertices()[std::size_t(corner[0])].position;
    mesh.triangleFacing(WORD(corner[0]), WORD(corner[1]), WORD(corner[2]), centre);
  }
  return mesh;
}

}  // namespace

void writeEndorfMeshes(Output& out) {
  GridLayout floor{41, 41, -600.0f, -600.0f, 30.0f, 60.0f, false};
  out.mesh("quarvdemo\\render6\\endorf.SCENEPlane03.mesh",
           heightGrid(floor, [](float, float) { return 4.0f; }).build(kMaskPositionNormalUv));
  out.mesh("quarvdemo\\render6\\dorf.SCENEGeoSphere01.mesh", sphere().build(kMaskPositionNormalUv));
}

}  // namespace contentgen
