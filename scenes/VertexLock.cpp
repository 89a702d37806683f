// Vertex buffer locks.
#include "scenes/VertexLock.h"

#include <algorithm>

namespace scenes {

VertexLock::VertexLock(const assets::Mesh& mesh, DWORD flags) {
  IDirect3DVertexBuffer9* buffer = mesh.vertexBuffer.get();
  D3DVERTEXBUFFER_DESC desc{};
  if (!buffer || FAILED(buffer->GetDesc(&desc))) return;
  void* data = nullptr;
  if (FAILED(buffer->Lock(0, 0, &data, flags)) || !data) return;
  buffer_ = buffer;
  const std::size_t bytes = std::min<std::size_t>(desc.Size, std::size_t(mesh.vertexCount) * mesh.stride);
  floats_ = std::span<float>(static_cast<float*>(data), bytes / sizeof(float));
}

VertexLock::~VertexLock() {
  if (buffer_) buffer_->Unlock();
}

}  // namespace scenes
