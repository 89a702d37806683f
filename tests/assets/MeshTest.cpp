// Mesh loading on the trace device: buffers and their contents, the one draw, each failure of the
// loader's table, and files the loader must not trust.
#include "assets/Mesh.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "assets/MeshFile.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceDeviceHolder.h"

namespace {

using assets::Mesh;
using assets::MeshFileData;
using d3d9::trace::Call;
using testsupport::messageBoxLine;

// A quad of four 32-byte vertices (mask 0x0007), two triangles, and two keys in each track.
MeshFileData quadData() {
  MeshFileData data;
  data.vertexCount = 4;
  data.stride = 32;
  data.mask = 0x0007;
  data.indices = {0, 1, 2, 2, 1, 3};
  data.vertices.resize(4 * 32);
  for (std::size_t i = 0; i < data.vertices.size(); ++i) data.vertices[i] = static_cast<BYTE>(i * 7);
  data.position.setKeys({{1, 2, 3}, {4, 5, 6}});
  data.rotation.setKeys({{0, 0, 0, 1}, {0, 0, 0, 1}});
  data.scale.setKeys({{1, 1, 1}, {2, 2, 2}});
  return data;
}

class MeshTest : public testing::Test {
protected:
  std::string write(const char* name, const MeshFileData& data) {
    std::string path = dir.file(name);
    EXPECT_TRUE(assets::writeMeshFile(path.c_str(), data));
    return path;
  }
  // Draws the mesh inside a scene bracket and returns the device events it caused.
  std::vector<std::string> drawEvents(const Mesh& mesh) {
    testsupport::TraceCapture capture;
    device->BeginScene();
    mesh.draw(device.get());
    device->EndScene();
    return testsupport::deviceEvents(capture);
  }
  static bool isEmpty(const Mesh& mesh) {
    return !mesh.vertexBuffer && !mesh.indexBuffer && !mesh.declaration && mesh.vertexCount == 0 &&
           mesh.stride == 0 && mesh.triangleCount == 0 && mesh.indexCopy.empty() && mesh.position.empty() &&
           mesh.rotation.empty() && mesh.scale.empty();
  }

  testsupport::TempDir dir;
  testsupport::TraceDeviceHolder holder;
  d3d9::ComPtr<IDirect3DDevice9>& device = holder.device;
};

TEST_F(MeshTest, LoadFillsBuffersCountsAndTracks) {
  MeshFileData data = quadData();
  std::string path = write("quad.mesh", data);
  Mesh mesh;
  testsupport::TraceCapture capture;
  ASSERT_TRUE(mesh.load(device.get(), path.c_str()));
  EXPECT_TRUE(testsupport::messageBoxes(capture).empty());

  EXPECT_EQ(mesh.vertexCount, 4u);
  EXPECT_EQ(mesh.stride, 32u);
  EXPECT_EQ(mesh.triangleCount, 2u);
  EXPECT_EQ(mesh.indexCopy, data.indices);
  EXPECT_EQ(mesh.position.count(), 2u);
  EXPECT_EQ(mesh.rotation.count(), 2u);
  EXPECT_EQ(mesh.scale.keys()[1], D3DXVECTOR3(2, 2, 2));

  D3DVERTEXBUFFER_DESC vb{};
  mesh.vertexBuffer->GetDesc(&vb);
  EXPECT_EQ(vb.Size, 128u);
  EXPECT_EQ(vb.Usage, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC);
  EXPECT_EQ(vb.Pool, D3DPOOL_DEFAULT);
  EXPECT_EQ(vb.FVF, 0u);
  D3DINDEXBUFFER_DESC ib{};
  mesh.indexBuffer->GetDesc(&ib);
  EXPECT_EQ(ib.Size, 12u);
  EXPECT_EQ(ib.Usage, D3DUSAGE_WRITEONLY);
  EXPECT_EQ(ib.Format, D3DFMT_INDEX16);
  EXPECT_EQ(ib.Pool, D3DPOOL_MANAGED);
  EXPECT_STREQ(mesh.vertexBuffer->GetDebugName(), path.c_str());
  EXPECT_STREQ(mesh.indexBuffer->GetDebugName(), path.c_str());

  auto& vertices = dynamic_cast<d3d9::trace::TraceVertexBuffer&>(*mesh.vertexBuffer);
  EXPECT_EQ(vertices.bytes(), data.vertices);
  EXPECT_FALSE(vertices.locked());
  auto& indices = dynamic_cast<d3d9::trace::TraceIndexBuffer&>(*mesh.indexBuffer);
  EXPECT_EQ(0, std::memcmp(indices.bytes().data(), data.indices.data(), 12));
  EXPECT_FALSE(indices.locked());

  UINT count = 0;
  mesh.declaration->GetDeclaration(nullptr, &count);
  EXPECT_EQ(count, 4u);  // POSITION, NORMAL, TEXCOORD, end
}

// The one draw: a valid indexed triangle list over the whole mesh, named by the mesh's path.
TEST_F(MeshTest, DrawIssuesOneValidDrawNamedByThePath) {
  std::string path = write("quad.mesh", quadData());
  Mesh mesh;
  ASSERT_TRUE(mesh.load(device.get(), path.c_str()));
  std::string name;
  trace::appendJsonString(name, path);
  EXPECT_EQ(drawEvents(mesh), (std::vector<std::string>{
                                  R"({"ev":"beginScene"})",
                                  R"({"ev":"draw","vb":)" + name + R"(,"base":0,"vertices":4,"start":0,"primitives":2})",
                                  R"({"ev":"endScene"})",
                              }));
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

TEST_F(MeshTest, MissingTruncatedAndHostileFilesLeaveTheMeshEmpty) {
  std::string whole = write("quad.mesh", quadData());
  std::ifstream in(whole, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::string truncated = dir.file("truncated.mesh");
  std::ofstream(truncated, std::ios::binary).write(bytes.data(), 100);
  std::string hostile = dir.file("hostile.mesh");
  std::string hostileBytes = bytes;
  const std::uint32_t billions = 3000000000u;
  std::memcpy(hostileBytes.data() + 76, &billions, 4);  // the vertex count
  std::ofstream(hostile, std::ios::binary).write(hostileBytes.data(), hostileBytes.size());

  for (const std::string& path : {dir.file("missing.mesh"), truncated, hostile}) {
    testsupport::TraceCapture capture;
    Mesh mesh;
    EXPECT_FALSE(mesh.load(device.get(), path.c_str()));
    EXPECT_TRUE(isEmpty(mesh)) << path;
    EXPECT_EQ(testsupport::messageBoxes(capture),
              std::vector<std::string>{messageBoxLine(path, "Failed To Open The MeshFile")});
    EXPECT_EQ(testsupport::deviceEvents(capture).size(), 0u);
    EXPECT_EQ(drawEvents(mesh).size(), 2u);  // the scene bracket only
  }
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

// Bit 2 with bit 7 makes two TEXCOORD 0 elements; the device refuses the declaration, the loader
// reports it and goes on, and the mesh without a declaration is not drawn.
TEST_F(MeshTest, RefusedDeclarationIsReportedAndTheLoadGoesOn) {
  MeshFileData data = quadData();
  data.mask = 0x0084;
  data.stride = 20;
  data.vertices.resize(4 * 20);
  std::string path = write("twotex.mesh", data);
  testsupport::TraceCapture capture;
  Mesh mesh;
  EXPECT_FALSE(mesh.load(device.get(), path.c_str()));
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{messageBoxLine("InvalidCall With Kaviar", "VertexDecl")});
  EXPECT_FALSE(mesh.declaration);
  EXPECT_TRUE(mesh.vertexBuffer);
  EXPECT_TRUE(mesh.indexBuffer);
  EXPECT_EQ(mesh.position.count(), 2u);
  unsigned refusedBefore = holder.invalidCalls();
  EXPECT_EQ(drawEvents(mesh).size(), 2u);
  EXPECT_EQ(holder.invalidCalls(), refusedBefore);
}

TEST_F(MeshTest, IndexBufferFailureStopsWithADeclarationOnly) {
  std::string path = write("quad.mesh", quadData());
  holder.failures->fail(Call::CreateIndexBuffer, E_OUTOFMEMORY);
  testsupport::TraceCapture capture;
  Mesh mesh;
  EXPECT_FALSE(mesh.load(device.get(), path.c_str()));
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{messageBoxLine("OutOfMemory With " + path.substr(0, 46), "IndexBuffer")});
  EXPECT_TRUE(mesh.declaration);
  EXPECT_FALSE(mesh.indexBuffer);
  EXPECT_FALSE(mesh.vertexBuffer);
  EXPECT_TRUE(mesh.indexCopy.empty());
  EXPECT_TRUE(mesh.position.empty());
  EXPECT_EQ(drawEvents(mesh).size(), 2u);
}

TEST_F(MeshTest, VertexBufferFailureStopsWithDeclarationAndIndexBuffer) {
  std::string path = write("quad.mesh", quadData());
  holder.failures->fail(Call::CreateVertexBuffer, D3DERR_OUTOFVIDEOMEMORY);
  testsupport::TraceCapture capture;
  Mesh mesh;
  EXPECT_FALSE(mesh.load(device.get(), path.c_str()));
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{messageBoxLine("OutOfVideoMemory With " + path.substr(0, 41), "VertexBuffer")});
  EXPECT_TRUE(mesh.declaration);
  EXPECT_TRUE(mesh.indexBuffer);
  EXPECT_FALSE(mesh.vertexBuffer);
  EXPECT_TRUE(mesh.scale.empty());
  EXPECT_EQ(drawEvents(mesh).size(), 2u);
}

// An index past the vertex count would make the device read outside the vertex buffer: the file
// is reported once at load and the mesh is never drawn, however often the scene asks.
TEST_F(MeshTest, IndicesPastTheVertexCountAreReportedOnceAndNotDrawn) {
  MeshFileData data = quadData();
  data.indices[4] = 4;
  std::string path = write("badindex.mesh", data);
  testsupport::TraceCapture capture;
  Mesh mesh;
  EXPECT_FALSE(mesh.load(device.get(), path.c_str()));
  EXPECT_TRUE(mesh.indicesOutOfRange);
  EXPECT_EQ(drawEvents(mesh).size(), 2u);
  EXPECT_EQ(drawEvents(mesh).size(), 2u);
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{messageBoxLine("InvalidData With " + path.substr(0, 46), "IndexBuffer")});
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

TEST_F(MeshTest, ReleaseDropsDeviceObjectsAndKeepsTracks) {
  std::string path = write("quad.mesh", quadData());
  Mesh mesh;
  ASSERT_TRUE(mesh.load(device.get(), path.c_str()));
  d3d9::ComPtr<IDirect3DVertexBuffer9> watch = mesh.vertexBuffer;
  EXPECT_EQ(testsupport::referenceCount(watch.get()), 2u);
  mesh.release();
  EXPECT_EQ(testsupport::referenceCount(watch.get()), 1u);
  EXPECT_FALSE(mesh.vertexBuffer || mesh.indexBuffer || mesh.declaration);
  EXPECT_TRUE(mesh.indexCopy.empty());
  EXPECT_EQ(mesh.position.count(), 2u);
  EXPECT_EQ(drawEvents(mesh).size(), 2u);
  mesh.release();  // a second release finds nothing to release
}

// Loading into a used mesh starts from empty: nothing of the earlier file survives.
TEST_F(MeshTest, LoadStartsFromAnEmptyMesh) {
  std::string quad = write("quad.mesh", quadData());
  Mesh mesh;
  ASSERT_TRUE(mesh.load(device.get(), quad.c_str()));
  testsupport::TraceCapture capture;
  EXPECT_FALSE(mesh.load(device.get(), dir.file("missing.mesh").c_str()));
  EXPECT_TRUE(isEmpty(mesh));
}

}  // namespace
