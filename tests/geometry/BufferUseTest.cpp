// The generated geometry's device buffers: what each generator asks the device for (usage, FVF,
// pool, index format), the plain lock that fills them, and the lock of every per-frame rewrite,
// which must discard: the device may still be drawing from the old contents.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "geometry/CubeGrid.h"
#include "geometry/GenerateGrid.h"
#include "geometry/NoiseRibbon.h"
#include "geometry/PointSprites.h"
#include "tests/geometry/GeometryTestSupport.h"
#include "tests/support/RecordingDevice.h"

namespace {

using BufferUseTest = geometrytest::GeometryTest;

// The flags of every lock of `buffer`, in order.
std::vector<DWORD> locksOf(const testsupport::DeviceRecord& record, const void* buffer) {
  std::vector<DWORD> flags;
  for (const testsupport::BufferEvent& event : record.buffers)
    if (event.kind == testsupport::BufferEvent::Lock && event.buffer == buffer) flags.push_back(event.flags);
  return flags;
}

// "usage fvf pool" of a vertex buffer, "usage format pool" of an index buffer.
std::string describe(IDirect3DVertexBuffer9* vb) {
  D3DVERTEXBUFFER_DESC d{};
  vb->GetDesc(&d);
  return std::to_string(d.Usage) + " " + std::to_string(d.FVF) + " " + std::to_string(d.Pool);
}
std::string describe(IDirect3DIndexBuffer9* ib) {
  D3DINDEXBUFFER_DESC d{};
  ib->GetDesc(&d);
  return std::to_string(d.Usage) + " " + std::to_string(d.Format) + " " + std::to_string(d.Pool);
}

// Dynamic write-only vertex buffers (520) in the default pool (0) with the generator's FVF; 16-bit
// (101) write-only (8) index buffers in the managed pool (1). Each is filled once with a plain lock
// (flags 0); each rewrite of the vertices takes one discarding lock (0x2000).
TEST_F(BufferUseTest, CreationParametersAndLocks) {
  testsupport::DeviceRecord record;
  d3d9::ComPtr<IDirect3DDevice9> recording(new testsupport::RecordingDevice(device(), record));
  assets::Mesh grid, cubes;
  geometry::PointSprites sprites;
  ASSERT_TRUE(geometry::GenerateGrid(recording.get(), grid, 2, 200, 640, 480, -320, -240));
  ASSERT_TRUE(geometry::CubeGrid(recording.get(), cubes, 10, 20, 10, 2, 3));
  ASSERT_TRUE(sprites.init(recording.get(), 5));
  const std::vector<geometry::CubeVertex> rest = geometry::cubeGridVertices(10, 20, 10, 2, 3);
  const std::vector<float> lifts(6, 1.0f);
  struct Case {
    const char* what;
    IDirect3DVertexBuffer9* vertices;
    IDirect3DIndexBuffer9* indices;
    std::string vertexDesc;
    std::vector<DWORD> vertexLocksAtCreation;
    std::function<void()> rewrite;
  } cases[] = {
      {"grid", grid.vertexBuffer.get(), grid.indexBuffer.get(), "520 274 0", {0},
       [&] { geometry::NoiseRibbon(grid, 30, 15, 12.5f, 200, 35234); }},
      {"cube grid", cubes.vertexBuffer.get(), cubes.indexBuffer.get(), "520 786 0", {0},
       [&] { geometry::liftCubeGrid(cubes, rest, lifts, {0, 0, -150}); }},
      // The sprites' vertices are written by an upload at the end of init.
      {"point sprites", sprites.vertexBuffer.get(), sprites.indexBuffer.get(), "520 34 0", {D3DLOCK_DISCARD},
       [&] { sprites.upload(); }},
  };
  for (Case& c : cases) {
    EXPECT_EQ(describe(c.vertices), c.vertexDesc) << c.what;
    EXPECT_EQ(describe(c.indices), "8 101 1") << c.what;
    EXPECT_EQ(locksOf(record, c.vertices), c.vertexLocksAtCreation) << c.what;
    EXPECT_EQ(locksOf(record, c.indices), std::vector<DWORD>{0}) << c.what;
    c.rewrite();
    c.vertexLocksAtCreation.push_back(D3DLOCK_DISCARD);
    EXPECT_EQ(locksOf(record, c.vertices), c.vertexLocksAtCreation) << c.what;
  }
}

}  // namespace
