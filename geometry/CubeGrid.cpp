// The cube field: one box template of 24 vertices and 36 indices, copied into every box slot.
#include "geometry/CubeGrid.h"

#include "geometry/BufferFill.h"
#include "geometry/Messages.h"
#include "platform/win32/MessageBox.h"

namespace geometry {

namespace {

constexpr DWORD kDynamicUsage = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;  // 520
constexpr UINT kCubeStride = sizeof(CubeVertex);

// One template vertex: the sign of each half size, the face normal and the texture coordinate.
struct BoxCorner {
  float sx, sy, sz;
  float nx, ny, nz;
  float u, v;
};

// Four vertices per face: bottom, top, front (-z), back (+z), left (-x), right (+x).
constexpr BoxCorner kBoxTemplate[kBoxVertices] = {
    {-1, -1, -1, 0, -1, 0, 0, 0}, {+1, -1, -1, 0, -1, 0, 1, 0}, {+1, -1, +1, 0, -1, 0, 1, 1}, {-1, -1, +1, 0, -1, 0, 0, 1},
    {-1, +1, -1, 0, +1, 0, 1, 0}, {+1, +1, -1, 0, +1, 0, 0, 0}, {+1, +1, +1, 0, +1, 0, 0, 1}, {-1, +1, +1, 0, +1, 0, 1, 1},
    {-1, -1, -1, 0, 0, -1, 0, 1}, {+1, -1, -1, 0, 0, -1, 1, 1}, {+1, +1, -1, 0, 0, -1, 1, 0}, {-1, +1, -1, 0, 0, -1, 0, 0},
    {-1, -1, +1, 0, 0, +1, 1, 1}, {+1, -1, +1, 0, 0, +1, 0, 1}, {+1, +1, +1, 0, 0, +1, 0, 0}, {-1, +1, +1, 0, 0, +1, 1, 0},
    {-1, -1, +1, -1, 0, 0, 0, 1}, {-1, -1, -1, -1, 0, 0, 1, 1}, {-1, +1, -1, -1, 0, 0, 1, 0}, {-1, +1, +1, -1, 0, 0, 0, 0},
    {+1, -1, -1, +1, 0, 0, 0, 1}, {+1, -1, +1, +1, 0, 0, 1, 1}, {+1, +1, +1, +1, 0, 0, 1, 0}, {+1, +1, -1, +1, 0, 0, 0, 0},
};

// Two triangles per face.
constexpr WORD kBoxIndexTemplate[kBoxIndices] = {
    0,  1,  2,  0,  2,  3,  7,  6,  4,  6,  5,  4,  8,  10, 9,  11, 10, 8,
    14, 15, 12, 14, 12, 13, 16, 18, 17, 19, 18, 16, 20, 23, 22, 21, 20, 22,
};

bool buildable(UINT d, UINT e) { return d >= 1 && e >= 1 && std::uint64_t(d) * e <= kMaxBoxes; }

void showGridMessage(const char* text) { MessageBoxA(nullptr, text, kGridCaption, MB_OK); }

// Appends one box centred at `centre`; the template is scaled by the half sizes.
void appendBox(std::vector<CubeVertex>& vertices, const D3DXVECTOR3& half, const D3DXVECTOR3& centre) {
  for (const BoxCorner& corner : kBoxTemplate) {
    const D3DXVECTOR3 position(corner.sx * half.x + centre.x, corner.sy * half.y + centre.y,
                               corner.sz * half.z + centre.z);
    vertices.push_back({position,
                        {corner.nx, corner.ny, corner.nz},
                        {corner.u, corner.v},
                        {centre.x, position.y, centre.z}});
  }
}

}  // namespace

std::vector<CubeVertex> cubeGridVertices(float a, float b, float c, UINT d, UINT e) {
  const D3DXVECTOR3 half(a / 2, b / 2, c / 2);
  std::vector<CubeVertex> vertices;
  vertices.reserve(std::size_t(d) * e * kBoxVertices);
  for (UINT i = 0; i < d; ++i) {
    for (UINT k = 0; k < e; ++k) {
      const D3DXVECTOR3 centre(a * static_cast<float>(i) - (a * static_cast<float>(d) / 2 - half.x), half.y,
                               c * static_cast<float>(k) - (c * static_cast<float>(e) / 2 - half.z));
      appendBox(vertices, half, centre);
    }
  }
  return vertices;
}

std::vector<WORD> cubeGridIndices(UINT boxes) {
  std::vector<WORD> indices;
  indices.reserve(std::size_t(boxes) * kBoxIndices);
  for (UINT slot = 0; slot < boxes; ++slot)
    for (WORD index : kBoxIndexTemplate) indices.push_back(static_cast<WORD>(index + kBoxVertices * slot));
  return indices;
}

bool CubeGrid(IDirect3DDevice9* device, assets::Mesh& mesh, float a, float b, float c, UINT d, UINT e,
              const char* name) {
  mesh = assets::Mesh();
  if (!buildable(d, e)) {
    showGridMessage(kCreateVertexBuffer);
    return false;
  }
  const UINT boxes = d * e;

  const std::vector<CubeVertex> vertices = cubeGridVertices(a, b, c, d, e);
  const UINT vertexBytes = static_cast<UINT>(vertices.size() * kCubeStride);
  if (FAILED(device->CreateVertexBuffer(vertexBytes, kDynamicUsage, kCubeFvf, D3DPOOL_DEFAULT,
                                        mesh.vertexBuffer.put(), nullptr))) {
    showGridMessage(kCreateVertexBuffer);
    return false;
  }
  if (name) mesh.vertexBuffer->SetDebugName(name);
  fillBuffer(mesh.vertexBuffer.get(), vertices.data(), vertexBytes, 0);

  const std::vector<WORD> indices = cubeGridIndices(boxes);
  const UINT indexBytes = static_cast<UINT>(indices.size() * sizeof(WORD));
  if (FAILED(device->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                       mesh.indexBuffer.put(), nullptr))) {
    showGridMessage(kCreateIndexBuffer);
    return false;
  }
  if (name) mesh.indexBuffer->SetDebugName(name);
  fillBuffer(mesh.indexBuffer.get(), indices.data(), indexBytes, 0);

  mesh.triangleCount = 12 * boxes;
  mesh.vertexCount = kBoxVertices * boxes;
  mesh.stride = kCubeStride;
  if (FAILED(device->CreateVertexDeclaration(kCubeDeclaration, mesh.declaration.put()))) {
    MessageBoxA(nullptr, kCreateVertexDeclaration, kCubeDeclarationCaption, MB_OK);
    return false;
  }
  return mesh.drawable();
}

bool liftCubeGrid(assets::Mesh& mesh, std::span<const CubeVertex> rest, std::span<const float> lifts,
                  const D3DXVECTOR3& shift) {
  const std::size_t boxes = mesh.vertexCount / kBoxVertices;
  if (mesh.stride != kCubeStride || rest.size() != mesh.vertexCount || rest.size() != boxes * kBoxVertices ||
      lifts.size() < boxes || !holds(mesh.vertexBuffer.get(), rest.size_bytes()))
    return false;
  void* data = nullptr;
  if (FAILED(mesh.vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD))) return false;
  auto* out = static_cast<CubeVertex*>(data);
  for (std::size_t box = 0; box < boxes; ++box) {
    const float lift = lifts[box];
    for (std::size_t v = box * kBoxVertices; v < (box + 1) * kBoxVertices; ++v) {
      CubeVertex vertex = rest[v];
      vertex.position.x += shift.x;
      vertex.position.y = vertex.position.y + lift + shift.y;
      vertex.position.z += shift.z;
      out[v] = vertex;
    }
  }
  mesh.vertexBuffer->Unlock();
  return true;
}

}  // namespace geometry
