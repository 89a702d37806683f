// The generated meshes against what the scenes need: valid indices and layouts, front faces and
// normals on the side each scene draws, the shapes the brief fixes (dome with skirt, cave with a
// flat shadow zone, noise fields sampled under the cubes) and animation tracks that cover their
// scene.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "assets/MeshFile.h"
#include "platform/d3dx9/D3DXMath.h"
#include "tests/tools/GeneratedContent.h"
#include "tests/tools/ManifestPaths.h"

namespace {

using V3 = D3DXVECTOR3;

struct MeshVertex {
  V3 position, normal;
  float u = 0, v = 0;
};

class MeshContentTest : public ::testing::Test {
protected:

  static assets::MeshFileData load(const std::string& path) {
    assets::MeshFileData mesh;
    EXPECT_TRUE(assets::readMeshFile(testsupport::builtContent(path).c_str(), mesh)) << path;
    return mesh;
  }

};

std::vector<MeshVertex> vertices(const assets::MeshFileData& mesh) {
  std::vector<MeshVertex> out(mesh.vertexCount);
  for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
    float f[8] = {};
    std::memcpy(f, mesh.vertices.data() + std::size_t(i) * mesh.stride, std::min<std::size_t>(mesh.stride, sizeof f));
    out[i] = {{f[0], f[1], f[2]}, {f[3], f[4], f[5]}, f[6], f[7]};
  }
  return out;
}

V3 cross(const V3& a, const V3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dot(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Counts triangles whose cross product (v1 − v0) × (v2 − v0) does not point along facing(centroid).
int wrongWay(const assets::MeshFileData& mesh, const std::function<V3(const V3&)>& facing) {
  auto v = vertices(mesh);
  int wrong = 0;
  for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
    const V3 &a = v[mesh.indices[t]].position, &b = v[mesh.indices[t + 1]].position, &c = v[mesh.indices[t + 2]].position;
    V3 n = cross(b - a, c - a);
    if (!(dot(n, facing((a + b + c) / 3.0f)) > 0.0f)) ++wrong;
  }
  return wrong;
}

TEST_F(MeshContentTest, EveryMeshIsAValidIndexedListWithinSixteenBitIndices) {
  for (const std::string& path : testsupport::manifestMeshes()) {
    assets::MeshFileData mesh = load(path);
    EXPECT_GE(mesh.vertexCount, 3u) << path;
    EXPECT_LE(mesh.vertexCount, 65535u) << path;
    EXPECT_TRUE(mesh.mask == 0x0007 || mesh.mask == 0x0001) << path;
    EXPECT_EQ(mesh.stride, mesh.mask == 0x0007 ? 32u : 12u) << path;
    EXPECT_GT(mesh.triangleCount(), 0u) << path;
    for (WORD index : mesh.indices) ASSERT_LT(index, mesh.vertexCount) << path;
    if (mesh.mask == 0x0007) {
      for (const MeshVertex& v : vertices(mesh)) ASSERT_NEAR(std::sqrt(dot(v.normal, v.normal)), 1.0f, 1e-3f) << path;
    }
  }
}

TEST_F(MeshContentTest, FloorsFaceUpForCounterClockwiseCulling) {
  for (const char* path : {"quarvdemo\\render1\\grotte.SCENEPlane01.mesh", "quarvdemo\\render3\\r3.SCENEPlane01.mesh",
                           "quarvdemo\\vally\\vally.SCENEPlane01.mesh", "quarvdemo\\renderFSeries\\bakke.SCENEPlane03.mesh",
                           "quarvdemo\\renderFSeries\\bakke.SCENEPlane01.mesh", "quarvdemo\\render5\\noise.SCENEPlane01.mesh",
                           "quarvdemo\\render5\\noise2.SCENEPlane01.mesh", "quarvdemo\\render6\\endorf.SCENEPlane03.mesh"}) {
    assets::MeshFileData mesh = load(path);
    EXPECT_EQ(wrongWay(mesh, [](const V3&) { return V3{0, 1, 0}; }), 0) << path;
    for (const MeshVertex& v : vertices(mesh)) ASSERT_GT(v.normal.y, 0.2f) << path;
    EXPECT_EQ(mesh.position.count() + mesh.rotation.count() + mesh.scale.count(), 0u) << path << " must be static";
  }
}

TEST_F(MeshContentTest, SkyDomesAreInwardCapsWithASkirtBelowTheHorizon) {
  for (const char* path : {"quarvdemo\\render3\\hemi.SCENEGeoSphere01.mesh", "quarvdemo\\render3\\r3.SCENEGeoSphere01.mesh"}) {
    assets::MeshFileData mesh = load(path);
    EXPECT_EQ(mesh.vertexCount, 49u * 23u) << path;
    EXPECT_EQ(wrongWay(mesh, [](const V3& centroid) { return -centroid; }), 0) << path;
    float lowest = 1e9f, highest = -1e9f;
    for (const MeshVertex& v : vertices(mesh)) {
      ASSERT_NEAR(std::sqrt(dot(v.position, v.position)), 1000.0f, 0.5f) << path;
      ASSERT_LT(dot(v.normal, v.position), 0.0f) << path << ": normals point inward";
      ASSERT_GE(v.u, 0.0f);
      ASSERT_LE(v.u, 1.0f);
      // v = (90° − elevation) / 110°, so the height fixes v.
      float elevation = std::asin(std::clamp(v.position.y / 1000.0f, -1.0f, 1.0f)) * 180.0f / 3.14159265f;
      ASSERT_NEAR(v.v, (90.0f - elevation) / 110.0f, 2e-3f) << path;
      lowest = std::min(lowest, v.position.y);
      highest = std::max(highest, v.position.y);
    }
    EXPECT_NEAR(lowest, -342.0f, 1.0f) << path << ": the skirt reaches 20° below the horizon";
    EXPECT_NEAR(highest, 1000.0f, 0.5f) << path;
  }
}

TEST_F(MeshContentTest, CaveFloorIsFlatWhereShadowsLandAndWalledBeyondTheLane) {
  auto v = vertices(load("quarvdemo\\render1\\grotte.SCENEPlane01.mesh"));
  ASSERT_EQ(v.size(), 81u * 101u);
  int flat = 0;
  for (const MeshVertex& p : v) {
    const V3& q = p.position;
    EXPECT_NEAR(p.u, q.x / 20.0f, 1e-4f);
    EXPECT_NEAR(p.v, q.z / 20.0f, 1e-4f);
    if (std::abs(q.x) <= 100.0f && q.z >= -160.0f && q.z <= 120.0f) {
      ASSERT_EQ(q.y, 0.0f) << q.x << ", " << q.z;
      ++flat;
    }
    // The second scene's ribbons fly above y 2.7 down to z = −546 within |x| < 8.
    if (std::abs(q.x) <= 20.0f && q.z >= -580.0f && q.z <= 150.0f) {
      ASSERT_LT(q.y, 2.5f) << q.x << ", " << q.z;
    }
    if (std::abs(q.x) >= 300.0f || q.z <= -690.0f || q.z >= 300.0f) {
      ASSERT_GT(q.y, 90.0f) << q.x << ", " << q.z;
    }
  }
  EXPECT_EQ(flat, 21 * 29);
}

TEST_F(MeshContentTest, ShadowCasterIsARingAroundTheLightAxisAtHeightForty) {
  assets::MeshFileData mesh = load("quarvdemo\\render1\\quarv.SCENEshadow.mesh");
  EXPECT_EQ(mesh.mask, 0x0001);
  float inner = 1e9f, outer = 0.0f;
  for (const MeshVertex& v : vertices(mesh)) {
    EXPECT_FLOAT_EQ(v.position.y, 40.0f);
    float r = std::hypot(v.position.x - 3.7f, v.position.z - 48.7f);
    inner = std::min(inner, r);
    outer = std::max(outer, r);
  }
  EXPECT_GE(inner, 17.5f);
  EXPECT_LE(inner, 20.0f);
  EXPECT_NEAR(outer, 50.0f, 0.01f);
}

TEST_F(MeshContentTest, NoiseFieldsPutAVertexUnderEveryCubeTheLiftSamples) {
  assets::MeshFileData a = load("quarvdemo\\render5\\noise.SCENEPlane01.mesh");
  assets::MeshFileData b = load("quarvdemo\\render5\\noise2.SCENEPlane01.mesh");
  ASSERT_GE(a.vertexCount, 162u * 40u + 2u * 39u + 1u);
  ASSERT_EQ(a.vertexCount, b.vertexCount);
  EXPECT_EQ(a.indices, b.indices) << "the morphed copy draws with the first file's indices";
  auto va = vertices(a), vb = vertices(b);
  for (int r = 0; r < 40; ++r) {
    for (int q = 0; q < 40; ++q) {
      std::size_t s = std::size_t(162 * (r + 1) + 2 * q);
      ASSERT_FLOAT_EQ(va[s].position.x, 10.0f * float(r) - 195.0f) << r << ", " << q;
      ASSERT_FLOAT_EQ(va[s].position.z, 10.0f * float(q) - 195.0f) << r << ", " << q;
    }
  }
  for (std::size_t i = 0; i < va.size(); ++i) {
    ASSERT_EQ(va[i].position.x, vb[i].position.x);
    ASSERT_EQ(va[i].position.z, vb[i].position.z);
    ASSERT_LE(std::abs(va[i].position.y), 10.0f);
    ASSERT_LE(std::abs(vb[i].position.y), 10.0f);
    // A morph weight of 2 must stay within ±30, under the lowest ribbons.
    ASSERT_LE(std::abs(vb[i].position.y - va[i].position.y), 10.0f);
  }
}

TEST_F(MeshContentTest, ValleyKeepsItsFloorUnderTheBraidAndWallsAlongIt) {
  auto v = vertices(load("quarvdemo\\vally\\vally.SCENEPlane01.mesh"));
  EXPECT_EQ(v.size(), 217u * 89u);
  for (const MeshVertex& p : v) {
    const V3& q = p.position;
    if (std::abs(q.z) <= 10.0f && q.x > -420.0f && q.x < 230.0f) {
      ASSERT_LT(q.y, -29.0f) << q.x << ", " << q.z;
    }
    if (std::abs(q.z) >= 100.0f) {
      ASSERT_GT(q.y, 20.0f) << q.x << ", " << q.z;
    }
  }
}

TEST_F(MeshContentTest, CraterRingHidesTheSwarmBaseButClearsTheSwarm) {
  float crest = -1e9f;
  for (const MeshVertex& p : vertices(load("quarvdemo\\renderFSeries\\bakke.SCENEPlane01.mesh"))) {
    float r = std::hypot(p.position.x - 7.5f, p.position.z - 30.0f);
    ASSERT_GE(r, 19.9f) << "the swarm (r ≤ 14) and the ribbons (r ≤ 17) stay clear";
    ASSERT_LE(r, 42.1f);
    crest = std::max(crest, p.position.y);
  }
  EXPECT_GT(crest, 5.0f);
  EXPECT_LT(crest, 8.0f);
}

TEST_F(MeshContentTest, SphereIsOutwardWithRadiusThirtyAndNoUvWrapInsideATriangle) {
  assets::MeshFileData mesh = load("quarvdemo\\render6\\dorf.SCENEGeoSphere01.mesh");
  EXPECT_GE(mesh.vertexCount, 642u);
  EXPECT_EQ(mesh.triangleCount(), 1280u);
  EXPECT_EQ(wrongWay(mesh, [](const V3& centroid) { return centroid; }), 0);
  auto v = vertices(mesh);
  for (const MeshVertex& p : v) ASSERT_NEAR(std::sqrt(dot(p.position, p.position)), 30.0f, 0.01f);
  for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
    float lo = 9, hi = -9;
    bool nearPole = false;
    for (int k = 0; k < 3; ++k) {
      const MeshVertex& p = v[mesh.indices[t + k]];
      lo = std::min(lo, p.u);
      hi = std::max(hi, p.u);
      nearPole = nearPole || std::abs(p.normal.y) > 0.95f;
    }
    // Around the poles u legitimately turns fast; elsewhere a wide span is the seam smeared.
    ASSERT_LT(hi - lo, nearPole ? 0.75f : 0.25f) << "triangle " << t / 3 << " smears the texture across the seam";
  }
}

// World of a track key: scale × rotation × translation, as the scenes build it.
D3DXMATRIX worldAt(const assets::MeshFileData& mesh, std::uint32_t key) {
  D3DXMATRIX s, r, t, sr, world;
  const V3& scale = mesh.scale.keys()[key];
  D3DXMatrixScaling(&s, scale.x, scale.y, scale.z);
  D3DXMatrixRotationQuaternion(&r, &mesh.rotation.keys()[key]);
  const V3& p = mesh.position.keys()[key];
  D3DXMatrixTranslation(&t, p.x, p.y, p.z);
  D3DXMatrixMultiply(&sr, &s, &r);
  D3DXMatrixMultiply(&world, &sr, &t);
  return world;
}

V3 transformed(const V3& p, const D3DXMATRIX& m) {
  V3 out;
  D3DXVec3TransformCoord(&out, &p, &m);
  return out;
}

TEST_F(MeshContentTest, OrganCardsAndFaceAreAnimatedOverTheWholeThirdScene) {
  // Their tracks are sampled at 1.55 × scene time, up to 33.6 s: 337 keys at least.
  for (int n = 0; n <= 6; ++n) {
    std::string path = n == 0 ? "quarvdemo\\render3\\r3.SCENEPlane03.mesh" : "quarvdemo\\render3\\r3.SCENEorgan" + std::to_string(n) + ".mesh";
    assets::MeshFileData mesh = load(path);
    ASSERT_GE(mesh.position.count(), 337u) << path;
    ASSERT_EQ(mesh.rotation.count(), mesh.position.count()) << path;
    ASSERT_EQ(mesh.scale.count(), mesh.position.count()) << path;
    auto v = vertices(mesh);
    // Front side toward −z in the mesh's own space (drawn with cull counter-clockwise).
    EXPECT_EQ(wrongWay(mesh, [](const V3&) { return V3{0, 0, -1}; }), 0) << path;
    for (std::uint32_t k = 0; k < mesh.position.count(); ++k) {
      const D3DXQUATERNION& q = mesh.rotation.keys()[k];
      ASSERT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-4f) << path;
      ASSERT_GT(mesh.scale.keys()[k].x, 0.5f) << path;
      D3DXMATRIX world = worldAt(mesh, k);
      V3 centre = transformed({0, 0, 0}, world);
      V3 front = transformed({0, 0, -1}, world) - centre;
      if (n == 0) {
        EXPECT_NEAR(centre.z, 330.0f, 1e-3f);
        EXPECT_NEAR(centre.y, 250.0f, 6.01f);
        ASSERT_LT(front.z, 0.0f) << "the face looks at the cameras";
      } else {
        // Below the ribbons (y 130–173) and facing up and toward the cameras at −z.
        for (const MeshVertex& corner : v) ASSERT_LT(transformed(corner.position, world).y, 120.0f) << path << " key " << k;
        ASSERT_GT(front.y, 0.0f) << path;
        ASSERT_LT(front.z, 0.0f) << path;
      }
    }
  }
}

}  // namespace
