// Fuzz target for .mesh files: the reader, then the whole Mesh load on the trace device, a draw
// and the world matrix. A mesh that loads as drawable must draw without a call the device refuses,
// and its declared vertex layout must fit in its stride, or a GPU would read past its buffer.
#include <cmath>

#include "assets/Mesh.h"
#include "assets/MeshFile.h"
#include "assets/VertexDecl.h"
#include "fuzz/FuzzSupport.h"
#include "render/Transforms.h"

namespace {

// Bytes per vertex the declaration reads: the end of its furthest element.
UINT declaredVertexBytes(const std::vector<D3DVERTEXELEMENT9>& elements) {
  static constexpr UINT kTypeBytes[] = {4, 8, 12, 16};  // FLOAT1 … FLOAT4
  UINT end = 0;
  for (const D3DVERTEXELEMENT9& e : elements) {
    if (e.Stream == 0xFF) break;
    end = std::max<UINT>(end, e.Offset + (e.Type < 4 ? kTypeBytes[e.Type] : 16));
  }
  return end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::MemoryFile file;
  static fuzz::TraceDevice device;
  const char* path = file.write(data, size);

  assets::MeshFileData read;
  if (assets::readMeshFile(path, read)) {
    // What the reader hands on agrees with the counts it read, and never exceeds the file.
    FUZZ_CHECK(read.indices.size() % 3 == 0);
    FUZZ_CHECK(read.vertices.size() == std::uint64_t(read.vertexCount) * read.stride);
    FUZZ_CHECK(read.indices.size() * 2 + read.vertices.size() <= size);
  }

  assets::Mesh mesh;
  bool drawable = mesh.load(device.get(), path);
  FUZZ_CHECK(drawable == mesh.drawable());
  if (drawable) {
    FUZZ_CHECK(mesh.indexCopy.size() == std::size_t(mesh.triangleCount) * 3);
    FUZZ_CHECK(declaredVertexBytes(assets::VertexDecl(read.mask)) <= mesh.stride);
  }
  unsigned refusedBefore = device.invalidCalls();
  device.get()->BeginScene();
  mesh.draw(device.get());
  device.get()->EndScene();
  FUZZ_CHECK(device.invalidCalls() == refusedBefore);

  for (float t : fuzz::kSampleTimes) {
    D3DXMATRIX world = render::meshWorld(mesh, t);
    (void)world;
  }
  mesh.release();
  return 0;
}
