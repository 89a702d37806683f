// The flat grid: vertices row by row, two triangles per cell, buffers created and filled in the
// order vertex buffer, index buffer, declaration.
#include "geometry/GenerateGrid.h"

#include "geometry/BufferFill.h"
#include "geometry/Messages.h"
#include "platform/win32/MessageBox.h"

namespace geometry {

namespace {

constexpr DWORD kDynamicUsage = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;  // 520
constexpr UINT kGridStride = sizeof(GridVertex);
constexpr float kGridPlaneZ = 1.0f;

bool buildable(UINT columns, UINT rows) {
  return columns >= 2 && rows >= 2 && std::uint64_t(columns) * rows <= kMaxGridVertices;
}

void showGridMessage(const char* text) { MessageBoxA(nullptr, text, kGridCaption, MB_OK); }

}  // namespace

std::vector<GridVertex> gridVertices(UINT columns, UINT rows, float width, float height, float x0, float y0) {
  const float dx = width / static_cast<float>(columns - 1);
  const float dy = height / static_cast<float>(rows - 1);
  const float du = 1.0f / static_cast<float>(columns - 1);
  const float dv = 1.0f / static_cast<float>(rows - 1);
  std::vector<GridVertex> vertices;
  vertices.reserve(std::size_t(columns) * rows);
  for (UINT i = 0; i < rows; ++i) {
    for (UINT j = 0; j < columns; ++j) {
      const float fi = static_cast<float>(i);
      const float fj = static_cast<float>(j);
      vertices.push_back({{x0 + fj * dx, y0 + fi * dy, kGridPlaneZ}, {0.0f, 0.0f, 1.0f}, {fj * du, -(fi * dv)}});
    }
  }
  return vertices;
}

std::vector<WORD> gridIndices(UINT columns, UINT rows) {
  std::vector<WORD> indices;
  indices.reserve(std::size_t(rows - 1) * (columns - 1) * 6);
  for (UINT r = 0; r + 1 < rows; ++r) {
    for (UINT k = 0; k + 1 < columns; ++k) {
      const UINT l = r * columns + k;
      for (UINT index : {l, l + 1, l + columns, l + columns + 1, l + columns, l + 1})
        indices.push_back(static_cast<WORD>(index));
    }
  }
  return indices;
}

bool GenerateGrid(IDirect3DDevice9* device, assets::Mesh& mesh, UINT columns, UINT rows, float width, float height,
                  float x0, float y0, const char* name) {
  mesh = assets::Mesh();
  if (!buildable(columns, rows)) {
    showGridMessage(kCreateVertexBuffer);
    return false;
  }

  const std::vector<GridVertex> vertices = gridVertices(columns, rows, width, height, x0, y0);
  const UINT vertexBytes = static_cast<UINT>(vertices.size() * kGridStride);
  if (FAILED(device->CreateVertexBuffer(vertexBytes, kDynamicUsage, kGridFvf, D3DPOOL_DEFAULT,
                                        mesh.vertexBuffer.put(), nullptr))) {
    showGridMessage(kCreateVertexBuffer);
    return false;
  }
  if (name) mesh.vertexBuffer->SetDebugName(name);
  fillBuffer(mesh.vertexBuffer.get(), vertices.data(), vertexBytes, 0);

  mesh.indexCopy = gridIndices(columns, rows);
  const UINT indexBytes = static_cast<UINT>(mesh.indexCopy.size() * sizeof(WORD));
  if (FAILED(device->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                       mesh.indexBuffer.put(), nullptr))) {
    showGridMessage(kCreateIndexBuffer);
    return false;
  }
  if (name) mesh.indexBuffer->SetDebugName(name);
  fillBuffer(mesh.indexBuffer.get(), mesh.indexCopy.data(), indexBytes, 0);

  mesh.triangleCount = static_cast<UINT>(mesh.indexCopy.size() / 3);
  mesh.vertexCount = static_cast<UINT>(vertices.size());
  mesh.stride = kGridStride;
  device->CreateVertexDeclaration(kGridDeclaration, mesh.declaration.put());
  return mesh.drawable();
}

}  // namespace geometry
