// Noise ribbons: the rungs computed on the CPU, the normals rebuilt there, then one copy into the
// locked vertex buffer (a discarding lock gives memory that must not be read back).
#include "geometry/NoiseRibbon.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "geometry/BufferFill.h"
#include "geometry/SmoothNoise.h"

namespace geometry {

namespace {

constexpr float kRibbonWidth = 5.0f;
constexpr std::size_t kRungVertices = 2;

void rotateAboutY(D3DXVECTOR3& position, const D3DXMATRIX& rotation) {
  D3DXVec3TransformCoord(&position, &position, &rotation);
}

}  // namespace

void ribbonVertices(std::span<GridVertex> vertices, float period, float amplitude, float phase, int length,
                    std::int32_t seed) {
  const float count = static_cast<float>(vertices.size());
  const float step = static_cast<float>(length) / count;
  const float half = static_cast<float>(length) / 2.0f;
  SmoothNoisePath path(period, amplitude, seed);
  for (std::size_t i = 0; i + 1 < vertices.size(); i += kRungVertices) {
    const float along = static_cast<float>(i);
    const float s = along * step;
    const D3DXVECTOR3 noise = path.at(phase + s);
    const float v = along / count;
    GridVertex& left = vertices[i];
    GridVertex& right = vertices[i + 1];
    left.position = {noise.x, s - half, noise.y};
    left.texcoord = {0.0f, v};
    right.position = {noise.x + kRibbonWidth, s - half, noise.y};
    right.texcoord = {1.0f, v};
    D3DXMATRIX rotation;
    D3DXMatrixRotationY(&rotation, D3DX_PI * std::cos(noise.x / amplitude));
    rotateAboutY(left.position, rotation);
    rotateAboutY(right.position, rotation);
  }
}

void recomputeNormals(std::span<GridVertex> vertices, std::span<const WORD> indices) {
  for (GridVertex& vertex : vertices) vertex.normal = {0.0f, 0.0f, 0.0f};
  for (std::size_t t = 0; t + 3 <= indices.size(); t += 3) {
    const WORD i0 = indices[t], i1 = indices[t + 1], i2 = indices[t + 2];
    if (std::max({i0, i1, i2}) >= vertices.size()) continue;
    const D3DXVECTOR3 edge2 = vertices[i2].position - vertices[i0].position;
    const D3DXVECTOR3 edge1 = vertices[i1].position - vertices[i0].position;
    D3DXVECTOR3 weighted;
    D3DXVec3Cross(&weighted, &edge2, &edge1);
    vertices[i0].normal += weighted;
    vertices[i1].normal += weighted;
    vertices[i2].normal += weighted;
  }
  for (GridVertex& vertex : vertices) D3DXVec3Normalize(&vertex.normal, &vertex.normal);
}

bool NoiseRibbon(assets::Mesh& ribbon, float period, float amplitude, float phase, int length, std::int32_t seed) {
  const std::size_t count = ribbon.vertexCount;
  const std::size_t bytes = count * sizeof(GridVertex);
  if (ribbon.stride != sizeof(GridVertex) || count == 0 || count % kRungVertices != 0 ||
      !holds(ribbon.vertexBuffer.get(), bytes))
    return false;

  // Rebuilt every frame: the vertices are computed in a buffer kept between calls (one per thread),
  // which only grows, so the frame loop does not allocate.
  static thread_local std::vector<GridVertex> scratch;
  scratch.resize(count);
  std::span<GridVertex> vertices(scratch);
  ribbonVertices(vertices, period, amplitude, phase, length, seed);
  const std::size_t indexCount = std::min(ribbon.indexCopy.size(), std::size_t(ribbon.triangleCount) * 3);
  recomputeNormals(vertices, std::span<const WORD>(ribbon.indexCopy.data(), indexCount));
  return fillBuffer(ribbon.vertexBuffer.get(), vertices.data(), bytes, D3DLOCK_DISCARD);
}

}  // namespace geometry
