// `MeshProxy`: meshes loaded from .mesh files and found by key. Owns its meshes (their device
// objects go with them) and its own copies of the keys. Main thread only.
#pragma once

#include <memory>

#include "assets/Mesh.h"
#include "assets/Registry.h"

namespace assets {

class MeshProxy {
public:
  // Loads the pairs in order; every mesh is appended whether or not its file loaded (Mesh::load
  // reports it). A path without a key shows "Check Your Parameter List" (caption "MeshProxy") and
  // stops the list. True when the whole list loaded.
  bool load(IDirect3DDevice9* device, const char* const* list);

  void append(const char* key, std::unique_ptr<Mesh> mesh) { entries_.append(key, std::move(mesh)); }
  // The first mesh with this key, or null after a "No Match" box.
  Mesh* lookup(const char* key) {
    auto* found = entries_.find(key);
    return found ? found->get() : nullptr;
  }
  std::size_t size() const { return entries_.size(); }

private:
  Registry<std::unique_ptr<Mesh>> entries_;
};

}  // namespace assets
