// Mesh loading, drawing and release.
#include "assets/Mesh.h"

#include <algorithm>
#include <cstring>

#include "assets/HresultMessage.h"
#include "assets/MeshFile.h"
#include "assets/VertexDecl.h"
#include "platform/d3dx9/d3dx9.h"
#include "platform/win32/MessageBox.h"

namespace assets {
namespace {

constexpr const char* kOpenCaption = "Failed To Open The MeshFile";
constexpr const char* kDeclCaption = "VertexDecl";
constexpr const char* kDeclSubject = "Kaviar";
constexpr const char* kIndexCaption = "IndexBuffer";
constexpr const char* kVertexCaption = "VertexBuffer";

constexpr DWORD kVertexUsage = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;

template <typename Buffer>
void upload(Buffer* buffer, const void* data, std::size_t bytes, DWORD flags) {
  void* target = nullptr;
  if (FAILED(buffer->Lock(0, 0, &target, flags))) return;
  std::memcpy(target, data, bytes);
  buffer->Unlock();
}

// The bytes of one vertex the declaration reads: the end of its furthest element (FLOAT1 … FLOAT4).
UINT declaredVertexBytes(const std::vector<D3DVERTEXELEMENT9>& elements) {
  UINT end = 0;
  for (const D3DVERTEXELEMENT9& e : elements)
    if (e.Stream == 0) end = std::max<UINT>(end, e.Offset + 4u * (UINT(e.Type) + 1u));
  return end;
}

}  // namespace

bool Mesh::load(IDirect3DDevice9* device, const char* path) {
  *this = Mesh();
  MeshFileData file;
  if (!readMeshFile(path, file)) {
    MessageBoxA(nullptr, path, kOpenCaption, MB_OK);
    return false;
  }

  std::vector<D3DVERTEXELEMENT9> elements = VertexDecl(file.mask);
  if (HRESULT hr = device->CreateVertexDeclaration(elements.data(), declaration.put()); FAILED(hr))
    showHresultMessage(hr, kDeclCaption, kDeclSubject);
  vertexCount = file.vertexCount;
  stride = file.stride;
  triangleCount = file.triangleCount();

  // The device would read past the vertex buffer; report the file once and never draw it.
  indicesOutOfRange = std::any_of(file.indices.begin(), file.indices.end(),
                                  [&](WORD index) { return index >= vertexCount; });
  if (indicesOutOfRange) showHresultMessage(D3DXERR_INVALIDDATA, kIndexCaption, path);
  // Likewise a layout wider than the stride: the last vertex's elements would lie past the buffer.
  layoutPastStride = declaredVertexBytes(elements) > stride;
  if (layoutPastStride) showHresultMessage(D3DXERR_INVALIDDATA, kVertexCaption, path);

  if (HRESULT hr = device->CreateIndexBuffer(triangleCount * 6, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                             indexBuffer.put(), nullptr);
      FAILED(hr)) {
    showHresultMessage(hr, kIndexCaption, path);
    return false;
  }
  indexBuffer->SetDebugName(path);
  if (HRESULT hr = device->CreateVertexBuffer(vertexCount * stride, kVertexUsage, 0, D3DPOOL_DEFAULT,
                                              vertexBuffer.put(), nullptr);
      FAILED(hr)) {
    showHresultMessage(hr, kVertexCaption, path);
    return false;
  }
  vertexBuffer->SetDebugName(path);

  indexCopy = std::move(file.indices);
  upload(indexBuffer.get(), indexCopy.data(), indexCopy.size() * sizeof(WORD), 0);
  upload(vertexBuffer.get(), file.vertices.data(), file.vertices.size(), D3DLOCK_DISCARD);

  position = std::move(file.position);
  rotation = std::move(file.rotation);
  scale = std::move(file.scale);
  return drawable();
}

bool Mesh::drawable() const {
  return vertexBuffer && indexBuffer && declaration && !indicesOutOfRange && !layoutPastStride;
}

void Mesh::draw(IDirect3DDevice9* device) const {
  if (!drawable()) return;
  device->SetStreamSource(0, vertexBuffer.get(), 0, stride);
  device->SetVertexDeclaration(declaration.get());
  device->SetIndices(indexBuffer.get());
  device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount, 0, triangleCount);
}

void Mesh::release() {
  vertexBuffer.reset();
  indexBuffer.reset();
  declaration.reset();
  indexCopy = {};
}

}  // namespace assets
