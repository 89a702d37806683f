// Point sprites: a static index list for every particle, shared by all ranges through the base
// vertex; one discarding lock per upload.
#include "geometry/PointSprites.h"

#include "assets/HresultMessage.h"
#include "geometry/BufferFill.h"
#include "geometry/Messages.h"
#include "platform/win32/MessageBox.h"

namespace geometry {

namespace {

constexpr DWORD kDynamicUsage = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;  // 520
constexpr UINT kSpriteStride = sizeof(SpriteVertex);
constexpr UINT kTrianglesPerSprite = 2;
constexpr UINT kCornerIndexPattern[kSpriteIndices] = {2, 0, 1, 3, 2, 1};

void nameBuffer(IDirect3DResource9* buffer, const char* name) {
  if (name) buffer->SetDebugName(name);
}

}  // namespace

std::vector<WORD> spriteIndices(UINT count) {
  std::vector<WORD> indices;
  indices.reserve(std::size_t(count) * kSpriteIndices);
  for (UINT k = 0; k < count; ++k)
    for (UINT corner : kCornerIndexPattern) indices.push_back(static_cast<WORD>(kSpriteCorners * k + corner));
  return indices;
}

bool PointSprites::init(IDirect3DDevice9* device, UINT n, const char* name) {
  release();
  if (n == 0 || n > kMaxSprites) {
    MessageBoxA(nullptr, kCreateVertexBuffer, kSpritesInit, MB_OK);
    return false;
  }
  count = n;
  positions.assign(n, D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f));

  if (FAILED(device->CreateVertexBuffer(n * kSpriteCorners * kSpriteStride, kDynamicUsage, kSpriteFvf,
                                        D3DPOOL_DEFAULT, vertexBuffer.put(), nullptr))) {
    MessageBoxA(nullptr, kCreateVertexBuffer, kSpritesInit, MB_OK);
    return false;
  }
  nameBuffer(vertexBuffer.get(), name);
  if (HRESULT hr = device->CreateVertexDeclaration(kSpriteDeclaration, declaration.put()); FAILED(hr)) {
    assets::showHresultMessage(hr, kSpritesDeclarationCaption, kSpritesInit);
    return false;
  }
  const std::vector<WORD> indices = spriteIndices(n);
  const UINT indexBytes = static_cast<UINT>(indices.size() * sizeof(WORD));
  if (HRESULT hr = device->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                             indexBuffer.put(), nullptr);
      FAILED(hr)) {
    assets::showHresultMessage(hr, kSpritesIndexCaption, kSpritesInit);
    return false;
  }
  nameBuffer(indexBuffer.get(), name);
  fillBuffer(indexBuffer.get(), indices.data(), indexBytes, 0);
  upload();
  return true;
}

void PointSprites::upload() {
  if (positions.size() < count || !holds(vertexBuffer.get(), std::size_t(count) * kSpriteCorners * kSpriteStride))
    return;
  void* data = nullptr;
  if (FAILED(vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD))) return;
  auto* out = static_cast<SpriteVertex*>(data);
  for (UINT k = 0; k < count; ++k) {
    const D3DXVECTOR3 centre(positions[k].x, positions[k].y, positions[k].z);
    for (UINT corner = 0; corner < kSpriteCorners; ++corner) *out++ = {centre, kSpriteCornerOffsets[corner]};
  }
  vertexBuffer->Unlock();
}

void PointSprites::draw(IDirect3DDevice9* device, UINT first, UINT last) const {
  if (!drawable() || last > count || first >= last) return;
  const UINT particles = last - first;
  device->SetStreamSource(0, vertexBuffer.get(), 0, kSpriteStride);
  device->SetVertexDeclaration(declaration.get());
  device->SetIndices(indexBuffer.get());
  device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, static_cast<INT>(kSpriteCorners * first), 0,
                               kSpriteCorners * particles, 0, kTrianglesPerSprite * particles);
}

void PointSprites::release() {
  vertexBuffer.reset();
  declaration.reset();
  indexBuffer.reset();
  positions = {};
  count = 0;
}

}  // namespace geometry
