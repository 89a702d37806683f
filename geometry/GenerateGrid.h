// `GenerateGrid`: a flat grid of columns x rows vertices in the plane z = 1, filled into an
// `assets::Mesh` (full-screen quad, distortion grid, ribbon strips, small cards). The mesh owns
// what is created; the caller owns the mesh and the device. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/Mesh.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3dx9/D3DXMath.h"

namespace geometry {

// The 32-byte vertex of flat grids and ribbons (the layout of .mesh mask 0x0007).
struct GridVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;
  D3DXVECTOR2 texcoord;
};
static_assert(sizeof(GridVertex) == 32);

constexpr DWORD kGridFvf = 274;  // XYZ | NORMAL | TEX1
constexpr D3DVERTEXELEMENT9 kGridDeclaration[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};

// 16-bit indices address at most this many vertices.
constexpr std::uint64_t kMaxGridVertices = 65536;

// Vertex i * columns + j at (x0 + j * dx, y0 + i * dy, 1), normal (0, 0, 1), texture coordinate
// (j * du, -(i * dv)) with dx = width / (columns - 1), du = 1 / (columns - 1) and so on: v runs
// from 0 at the bottom row to -1 at the top. Needs columns and rows of at least 2.
std::vector<GridVertex> gridVertices(UINT columns, UINT rows, float width, float height, float x0, float y0);

// Two triangles per cell: (l, l + 1, l + columns) and (l + columns + 1, l + columns, l + 1) with
// l = r * columns + k, cells row by row.
std::vector<WORD> gridIndices(UINT columns, UINT rows);

// Makes `mesh` (emptied first) the grid: a dynamic vertex buffer, a managed 16-bit index buffer
// (its list kept as the index copy), stride 32 and the declaration above. `name`, when given,
// names both buffers for the frame trace ("MainStage.planeGrids[2]").
// Failures: vertex buffer -> "CreateVertexBuffer", index buffer -> "CreateIndexBuffer", both with
// caption "GenerateGrid", and the mesh stays as far as it got; the declaration's result is not
// checked (a grid without one draws nothing). Fewer than 2 columns or rows, or more than 65536
// vertices, cannot be built: "CreateVertexBuffer" is shown and the mesh stays empty.
// True when the mesh is complete and drawable.
bool GenerateGrid(IDirect3DDevice9* device, assets::Mesh& mesh, UINT columns, UINT rows, float width, float height,
                  float x0, float y0, const char* name = nullptr);

}  // namespace geometry
