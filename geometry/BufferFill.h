// Writing whole device buffers: one lock, one copy, one unlock. Used only inside geometry/; the
// caller owns the buffer and the bytes.
#pragma once

#include <cstring>

#include "platform/d3d9/d3d9.h"

namespace geometry {

// Copies `bytes` bytes to the start of the buffer; false when the lock is refused.
template <typename Buffer>
bool fillBuffer(Buffer* buffer, const void* data, std::size_t bytes, DWORD lockFlags) {
  void* target = nullptr;
  if (!buffer || FAILED(buffer->Lock(0, 0, &target, lockFlags))) return false;
  std::memcpy(target, data, bytes);
  buffer->Unlock();
  return true;
}

// Whether the vertex buffer has room for `bytes` bytes, so a whole-buffer write of that size
// stays inside it.
inline bool holds(IDirect3DVertexBuffer9* buffer, std::size_t bytes) {
  D3DVERTEXBUFFER_DESC desc{};
  return buffer && SUCCEEDED(buffer->GetDesc(&desc)) && desc.Size >= bytes;
}

}  // namespace geometry
