// `PointSprites`: up to 16384 camera-facing particles as quads in one dynamic vertex buffer. The
// CPU gives each particle's centre; all four vertices of a quad sit there and carry the corner
// offset in their texture coordinate, which the particle effect spreads out. The object owns its
// device objects (ComPtr) and the positions; the caller owns the device. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3dx9/D3DXMath.h"

namespace geometry {

// The 20-byte sprite vertex: the particle's centre and one corner offset.
struct SpriteVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR2 texcoord;
};
static_assert(sizeof(SpriteVertex) == 20);

constexpr UINT kSpriteCorners = 4;
constexpr UINT kSpriteIndices = 6;
// 16-bit indices address at most 65536 vertices: 16384 quads.
constexpr UINT kMaxSprites = 16384;

constexpr DWORD kSpriteFvf = 34;
constexpr D3DVERTEXELEMENT9 kSpriteDeclaration[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};

// The corner offsets of vertices 4k to 4k + 3, in this order.
constexpr D3DXVECTOR2 kSpriteCornerOffsets[kSpriteCorners] = {{0.5f, 0.5f}, {0.5f, -0.5f}, {-0.5f, 0.5f}, {-0.5f, -0.5f}};

// Particle k's two triangles: (4k + 2, 4k, 4k + 1) and (4k + 3, 4k + 2, 4k + 1).
std::vector<WORD> spriteIndices(UINT count);

struct PointSprites {
  d3d9::ComPtr<IDirect3DVertexBuffer9> vertexBuffer;
  d3d9::ComPtr<IDirect3DIndexBuffer9> indexBuffer;
  d3d9::ComPtr<IDirect3DVertexDeclaration9> declaration;
  UINT count = 0;
  // The centres (x, y, z; w unused), `count` records. Scenes write them, then upload.
  std::vector<D3DXVECTOR4> positions;

  // Builds the object for n particles, all centred at the origin, and uploads once. `name`, when
  // given, names both buffers for the frame trace ("MainStage.sprites40"). Failures, each ending
  // init: vertex buffer -> "CreateVertexBuffer" with caption "PointSprites Init"; declaration ->
  // the result-code text with subject "PointSprites Init", caption "VertexDecl"; index buffer ->
  // the same text, caption "CreateIndexBuffer". The positions exist even after a failure, so a
  // scene writing them stays in bounds; upload and draw then do nothing. n of 0 or above 16384
  // cannot be built: "CreateVertexBuffer" is shown and the object holds no particles.
  // True when the object is complete.
  bool init(IDirect3DDevice9* device, UINT n, const char* name = nullptr);

  // Writes the quads of all particles with one discarding lock.
  void upload();

  // Draws particles first to last - 1 with the current effect pass, through the base vertex 4 *
  // first. Nothing is drawn when last > count, or when the range is empty or reversed.
  void draw(IDirect3DDevice9* device, UINT first, UINT last) const;

  bool drawable() const { return vertexBuffer && indexBuffer && declaration; }

  // Releases the device objects and frees the positions; the object then holds no particles.
  void release();
};

}  // namespace geometry
