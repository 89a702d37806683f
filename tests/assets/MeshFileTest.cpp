// The .mesh layout byte for byte, both track layouts, and files that lie about their counts.
#include "assets/MeshFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/support/TempDir.h"

namespace {

using assets::MeshFileData;

// A file built by hand, field by field, so the reader is checked against the layout and not only
// against our own writer.
class RawFile {
public:
  template <typename T>
  RawFile& put(const T& v) {
    const auto* p = reinterpret_cast<const char*>(&v);
    bytes.insert(bytes.end(), p, p + sizeof v);
    return *this;
  }
  RawFile& zeros(std::size_t n) {
    bytes.insert(bytes.end(), n, '\0');
    return *this;
  }
  void save(const std::string& path, std::size_t keep = std::string::npos) const {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::min(keep, bytes.size()));
  }
  std::string bytes;
};

// Header of a mesh with T triangles, V vertices, stride S and mask.
RawFile meshHeader(std::uint32_t t, std::uint32_t v, std::uint32_t s, WORD mask) {
  RawFile f;
  f.zeros(4 + 64 + 4).put(t).put(v).put(s).put(mask);
  return f;
}

// One triangle of three POSITION vertices.
RawFile triangleBody() {
  RawFile f = meshHeader(1, 3, 12, 0x0001);
  f.put(WORD(0)).put(WORD(1)).put(WORD(2));
  const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  f.put(vertices);
  f.zeros(1 + 12);
  return f;
}

MeshFileData triangleData() {
  MeshFileData data;
  data.vertexCount = 3;
  data.stride = 12;
  data.mask = 0x0001;
  data.indices = {0, 1, 2};
  const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  data.vertices.resize(sizeof vertices);
  std::memcpy(data.vertices.data(), vertices, sizeof vertices);
  return data;
}

class MeshFileTest : public testing::Test {
protected:
  std::string path(const char* name) { return dir.file(name); }
  testsupport::TempDir dir;
};

// K = 5: the three tracks follow with no counts of their own, 5 × 12 + 5 × 16 + 5 × 12 = 200 bytes.
TEST_F(MeshFileTest, SharedKeyCountReadsTracksWithoutCounts) {
  RawFile f = triangleBody();
  f.put(std::uint32_t(5));
  for (int k = 0; k < 5; ++k) f.put(D3DXVECTOR3(float(k), 0, 0));
  for (int k = 0; k < 5; ++k) f.put(D3DXQUATERNION(0, 0, 0, float(k)));
  for (int k = 0; k < 5; ++k) f.put(D3DXVECTOR3(1, 1, float(k)));
  ASSERT_EQ(f.bytes.size(), 86u + 6 + 36 + 13 + 4 + 200);
  f.save(path("k5.mesh"));

  MeshFileData data;
  ASSERT_TRUE(assets::readMeshFile(path("k5.mesh").c_str(), data));
  EXPECT_EQ(data.triangleCount(), 1u);
  EXPECT_EQ(data.vertexCount, 3u);
  EXPECT_EQ(data.stride, 12u);
  EXPECT_EQ(data.mask, 0x0001);
  EXPECT_EQ(data.indices, (std::vector<WORD>{0, 1, 2}));
  ASSERT_EQ(data.position.count(), 5u);
  ASSERT_EQ(data.rotation.count(), 5u);
  ASSERT_EQ(data.scale.count(), 5u);
  EXPECT_EQ(data.position.keys()[4], D3DXVECTOR3(4, 0, 0));
  EXPECT_EQ(data.rotation.keys()[3], D3DXQUATERNION(0, 0, 0, 3));
  EXPECT_EQ(data.scale.keys()[2], D3DXVECTOR3(1, 1, 2));
}

// K = 0: each track has its own count, and the counts may differ.
TEST_F(MeshFileTest, ZeroKeyCountReadsACountBeforeEachTrack) {
  RawFile f = triangleBody();
  f.put(std::uint32_t(0));
  f.put(std::uint32_t(2)).put(D3DXVECTOR3(1, 2, 3)).put(D3DXVECTOR3(4, 5, 6));
  f.put(std::uint32_t(0));
  f.put(std::uint32_t(1)).put(D3DXVECTOR3(7, 8, 9));
  f.save(path("k0.mesh"));

  MeshFileData data;
  ASSERT_TRUE(assets::readMeshFile(path("k0.mesh").c_str(), data));
  ASSERT_EQ(data.position.count(), 2u);
  EXPECT_EQ(data.position.keys()[1], D3DXVECTOR3(4, 5, 6));
  EXPECT_TRUE(data.rotation.empty());
  ASSERT_EQ(data.scale.count(), 1u);
  EXPECT_EQ(data.scale.keys()[0], D3DXVECTOR3(7, 8, 9));
}

// The writer picks the layout from the tracks; whatever it writes, the reader gives back, and the
// reserved fields survive so a file round-trips byte for byte.
TEST_F(MeshFileTest, WriterRoundTripsThroughTheReaderInBothLayouts) {
  MeshFileData shared = triangleData();
  shared.reserved1 = 0xAABBCCDD;
  shared.reservedMatrix[0] = 1.0f;
  shared.reservedMatrix[15] = 1.0f;
  shared.reserved3 = 7;
  shared.reserved10 = 0x5A;
  shared.reserved11 = {1, 2, 3};
  shared.position.setKeys({{1, 2, 3}, {4, 5, 6}});
  shared.rotation.setKeys({{0, 0, 0, 1}, {0, 1, 0, 0}});
  shared.scale.setKeys({{1, 1, 1}, {2, 2, 2}});
  MeshFileData separate = triangleData();
  separate.position.setKeys({{1, 2, 3}});
  separate.scale.setKeys({{2, 2, 2}, {3, 3, 3}});

  MeshFileData noTracks = triangleData();
  for (const MeshFileData* written : {&shared, &separate, &noTracks}) {
    ASSERT_TRUE(assets::writeMeshFile(path("out.mesh").c_str(), *written));
    MeshFileData read;
    ASSERT_TRUE(assets::readMeshFile(path("out.mesh").c_str(), read));
    EXPECT_EQ(read.reserved1, written->reserved1);
    EXPECT_EQ(read.reservedMatrix, written->reservedMatrix);
    EXPECT_EQ(read.reserved3, written->reserved3);
    EXPECT_EQ(read.reserved10, written->reserved10);
    EXPECT_EQ(read.reserved11, written->reserved11);
    EXPECT_EQ(read.mask, written->mask);
    EXPECT_EQ(read.indices, written->indices);
    EXPECT_EQ(read.vertices, written->vertices);
    auto same = [](auto a, auto b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); };
    EXPECT_TRUE(same(read.position.keys(), written->position.keys()));
    EXPECT_TRUE(same(read.rotation.keys(), written->rotation.keys()));
    EXPECT_TRUE(same(read.scale.keys(), written->scale.keys()));
    ASSERT_TRUE(assets::writeMeshFile(path("again.mesh").c_str(), read));
    EXPECT_EQ(std::filesystem::file_size(path("again.mesh")), std::filesystem::file_size(path("out.mesh")));
  }
  // Shared layout: one K and no counts; separate: K = 0 and three counts.
  EXPECT_EQ(std::filesystem::file_size(path("again.mesh")), 86u + 6 + 36 + 13 + 4 + 12u);
  ASSERT_TRUE(assets::writeMeshFile(path("shared.mesh").c_str(), shared));
  EXPECT_EQ(std::filesystem::file_size(path("shared.mesh")), 86u + 6 + 36 + 13 + 4 + 2 * 40u);
}

TEST_F(MeshFileTest, WriterRefusesDataThatDoesNotAddUp) {
  MeshFileData bad = triangleData();
  bad.indices.push_back(0);
  EXPECT_FALSE(assets::writeMeshFile(path("bad.mesh").c_str(), bad));
  bad = triangleData();
  bad.vertexCount = 4;
  EXPECT_FALSE(assets::writeMeshFile(path("bad.mesh").c_str(), bad));
  EXPECT_FALSE(assets::writeMeshFile(path("no/such/dir/bad.mesh").c_str(), triangleData()));
}

// Every cut of a valid file is refused and leaves the output untouched: a short file never yields
// a mesh with undefined data.
TEST_F(MeshFileTest, TruncatedFilesAreRefusedAtEveryLength) {
  RawFile f = triangleBody();
  f.put(std::uint32_t(1)).put(D3DXVECTOR3(1, 2, 3)).put(D3DXQUATERNION(0, 0, 0, 1)).put(D3DXVECTOR3(1, 1, 1));
  f.save(path("whole.mesh"));
  MeshFileData whole;
  ASSERT_TRUE(assets::readMeshFile(path("whole.mesh").c_str(), whole));

  for (std::size_t keep = 0; keep < f.bytes.size(); ++keep) {
    f.save(path("cut.mesh"), keep);
    MeshFileData out = triangleData();
    EXPECT_FALSE(assets::readMeshFile(path("cut.mesh").c_str(), out)) << keep;
    EXPECT_EQ(out.indices, triangleData().indices) << keep;
  }
}

// Counts in the billions are refused before the reader allocates for them.
TEST_F(MeshFileTest, HostileCountsAreRefusedWithoutAllocating) {
  std::vector<RawFile> files;
  files.push_back(meshHeader(0xFFFFFFFFu, 3, 12, 1));                // T × 6 past a device buffer
  files.push_back(meshHeader(0x20000000u, 3, 12, 1));                // T fits a buffer, not the file
  files.push_back(meshHeader(1, 0xFFFFFFFFu, 0xFFFFFFFCu, 1));       // V × S overflows 32 bits
  files.push_back(meshHeader(1, 0x10000000u, 12, 1));                // V × S larger than the file
  RawFile sharedK = triangleBody();
  sharedK.put(std::uint32_t(0xFFFFFFFFu));
  files.push_back(sharedK);
  RawFile ownCount = triangleBody();
  ownCount.put(std::uint32_t(0)).put(std::uint32_t(0)).put(std::uint32_t(0)).put(std::uint32_t(0xF0000000u));
  files.push_back(ownCount);
  for (std::size_t i = 0; i < files.size(); ++i) {
    files[i].zeros(64);
    files[i].save(path("hostile.mesh"));
    MeshFileData out;
    EXPECT_FALSE(assets::readMeshFile(path("hostile.mesh").c_str(), out)) << i;
    EXPECT_TRUE(out.indices.empty() && out.vertices.empty()) << i;
  }
}

TEST_F(MeshFileTest, PathsWithBackslashesAndMissingFiles) {
  ASSERT_TRUE(assets::writeMeshFile(path("tri.mesh").c_str(), triangleData()));
  std::string windowsPath = path("tri.mesh");
  std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
  MeshFileData data;
  EXPECT_TRUE(assets::readMeshFile(windowsPath.c_str(), data));
  EXPECT_FALSE(assets::readMeshFile(path("missing.mesh").c_str(), data));
  EXPECT_FALSE(assets::readMeshFile(dir.file("").c_str(), data));  // a directory
}

}  // namespace
