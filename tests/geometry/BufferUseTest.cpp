// The generated geometry's device buffers: what each generator asks the device for (usage, FVF,
// pool, index format), and the lock of every per-frame rewrite, which must discard: the device
// may still be drawing from the old contents.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "geometry/CubeGrid.h"
#include "geometry/GenerateGrid.h"
#include "geometry/NoiseRibbon.h"
#include "geometry/PointSprites.h"
#include "tests/geometry/GeometryTestSupport.h"

namespace {

using BufferUseTest = geometrytest::GeometryTest;

// Stands in for a vertex buffer and notes the flags of every lock before passing it on.
class LockRecorder final : public IDirect3DVertexBuffer9 {
public:
  explicit LockRecorder(d3d9::ComPtr<IDirect3DVertexBuffer9> buffer) : buffer_(std::move(buffer)) {}
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  void SetDebugName(const char* name) override { buffer_->SetDebugName(name); }
  const char* GetDebugName() const override { return buffer_->GetDebugName(); }
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
    flags_.push_back(flags);
    return buffer_->Lock(offset, size, data, flags);
  }
  HRESULT Unlock() override { return buffer_->Unlock(); }
  HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override { return buffer_->GetDesc(desc); }

  // Puts a recorder in place of `buffer` and returns it (owned by `buffer`).
  static LockRecorder* replace(d3d9::ComPtr<IDirect3DVertexBuffer9>& buffer) {
    auto* recorder = new LockRecorder(std::move(buffer));
    buffer = d3d9::ComPtr<IDirect3DVertexBuffer9>(recorder);
    return recorder;
  }
  std::vector<DWORD> flags_;

private:
  d3d9::ComPtr<IDirect3DVertexBuffer9> buffer_;
  ULONG references_ = 1;
};

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
// (101) write-only (8) index buffers in the managed pool (1); one discarding (0x2000) lock per rewrite.
TEST_F(BufferUseTest, CreationParametersAndRewriteLocks) {
  assets::Mesh grid, cubes;
  geometry::PointSprites sprites;
  ASSERT_TRUE(geometry::GenerateGrid(device(), grid, 2, 200, 640, 480, -320, -240));
  ASSERT_TRUE(geometry::CubeGrid(device(), cubes, 10, 20, 10, 2, 3));
  ASSERT_TRUE(sprites.init(device(), 5));
  const std::vector<geometry::CubeVertex> rest = geometry::cubeGridVertices(10, 20, 10, 2, 3);
  const std::vector<float> lifts(6, 1.0f);
  struct Case {
    const char* what;
    d3d9::ComPtr<IDirect3DVertexBuffer9>& vertices;
    IDirect3DIndexBuffer9* indices;
    std::string vertexDesc;
    std::function<void()> rewrite;
  } cases[] = {
      {"grid", grid.vertexBuffer, grid.indexBuffer.get(), "520 274 0",
       [&] { geometry::NoiseRibbon(grid, 30, 15, 12.5f, 200, 35234); }},
      {"cube grid", cubes.vertexBuffer, cubes.indexBuffer.get(), "520 786 0",
       [&] { geometry::liftCubeGrid(cubes, rest, lifts, {0, 0, -150}); }},
      {"point sprites", sprites.vertexBuffer, sprites.indexBuffer.get(), "520 34 0", [&] { sprites.upload(); }},
  };
  for (Case& c : cases) {
    EXPECT_EQ(describe(c.vertices.get()), c.vertexDesc) << c.what;
    EXPECT_EQ(describe(c.indices), "8 101 1") << c.what;
    LockRecorder* recorder = LockRecorder::replace(c.vertices);
    c.rewrite();
    EXPECT_EQ(recorder->flags_, std::vector<DWORD>{D3DLOCK_DISCARD}) << c.what;
  }
}

}  // namespace
