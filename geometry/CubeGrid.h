// `CubeGrid`: a field of d x e separate boxes side by side, 24 vertices each, filled into an
// `assets::Mesh` so scenes can lift, scale or colour every box on its own; and the per-frame
// rewrite of such a field from its rest vertices. The mesh owns what is created; the caller owns
// the mesh, the rest copy and the device. Main thread only.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "assets/Mesh.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3dx9/D3DXMath.h"

namespace geometry {

// The 44-byte cube vertex. `binormal` does not hold a binormal: it carries (centre x of the
// vertex's box, rest y of the vertex, centre z of the box), which scenes and shaders use to move
// each box as a unit.
struct CubeVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;
  D3DXVECTOR2 texcoord;
  D3DXVECTOR3 binormal;
};
static_assert(sizeof(CubeVertex) == 44);

constexpr UINT kBoxVertices = 24;
constexpr UINT kBoxIndices = 36;
// 16-bit indices address at most 65536 vertices: 2730 boxes.
constexpr std::uint64_t kMaxBoxes = 65536 / kBoxVertices;

constexpr DWORD kCubeFvf = 786;
constexpr D3DVERTEXELEMENT9 kCubeDeclaration[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 32, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BINORMAL, 0},
    D3DDECL_END(),
};

// The vertices of boxes a (x) by b (y) by c (z), d along x and e along z: box (i, k) is centred
// at (a * i - (a * d / 2 - a / 2), b / 2, c * k - (c * e / 2 - c / 2)), so the field is centred
// on x = 0 and z = 0 and stands on y = 0; it occupies box slot i * e + k, vertices 24 * slot on.
// The rest copy a scene keeps for rewriting the field.
std::vector<CubeVertex> cubeGridVertices(float a, float b, float c, UINT d, UINT e);

// The 36-entry index template of each box, offset by 24 * slot, boxes in slot order.
std::vector<WORD> cubeGridIndices(UINT boxes);

// Makes `mesh` (emptied first) the field: a dynamic vertex buffer, a managed 16-bit index buffer,
// stride 44, the declaration above; no index copy. `name`, when given, names both buffers for the
// frame trace ("OrganStage.cubeGrid").
// Failures: vertex buffer -> "CreateVertexBuffer", index buffer -> "CreateIndexBuffer", caption
// "GenerateGrid", the mesh stays as far as it got; declaration -> "CreateVertexDeclaration" with
// caption "Quarv, CubeGrid", the mesh keeps its buffers and counts. No boxes, or more than 2730,
// cannot be built: "CreateVertexBuffer" is shown and the mesh stays empty.
// True when the mesh is complete and drawable.
bool CubeGrid(IDirect3DDevice9* device, assets::Mesh& mesh, float a, float b, float c, UINT d, UINT e,
              const char* name = nullptr);

// Rewrites every box of a cube field with one discarding lock: each vertex is its rest vertex
// with position (x + shift.x, y + lifts[box] + shift.y, z + shift.z); normal, texture coordinate
// and BINORMAL slot unchanged. Box n is vertices 24n to 24n + 23. Does nothing, and returns false,
// unless the mesh has a 44-byte-stride vertex buffer, `rest` holds its vertex count of vertices
// and `lifts` one value per box.
bool liftCubeGrid(assets::Mesh& mesh, std::span<const CubeVertex> rest, std::span<const float> lifts,
                  const D3DXVECTOR3& shift);

}  // namespace geometry
