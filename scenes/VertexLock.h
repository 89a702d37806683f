// A mesh's vertex buffer opened for the length of a scope, seen as floats: the scenes that morph or
// lift vertices read and write them through it. Unlocks when it goes out of scope. A mesh without a
// buffer, or a lock the device refuses, gives an empty view. Main thread only.
#pragma once

#include <span>

#include "assets/Mesh.h"

namespace scenes {

class VertexLock {
public:
  // Locks the whole buffer with `flags` (D3DLOCK_READONLY to read, 0 to read and write).
  VertexLock(const assets::Mesh& mesh, DWORD flags);
  ~VertexLock();
  VertexLock(const VertexLock&) = delete;
  VertexLock& operator=(const VertexLock&) = delete;

  // The floats of the vertices the mesh counts and the buffer holds.
  std::span<float> floats() const { return floats_; }

private:
  IDirect3DVertexBuffer9* buffer_ = nullptr;
  std::span<float> floats_;
};

}  // namespace scenes
