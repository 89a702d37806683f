// `TextureStack`: the textures of the show found by key. Filled once from a path/key list with
// D3DXCreateTextureFromFileA; owns one reference to each texture and releases them in load order.
// Main thread only.
#pragma once

#include "assets/Registry.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3dx9/d3dx9.h"

namespace assets {

class TextureStack {
public:
  // Loads the pairs in order. A path without a key shows "Check Your Texture ParamenterList\n"
  // (caption "Error"); a texture that cannot be created shows the HRESULT text with its key
  // (caption "TextureStack"); either stops the list. True when the whole list loaded.
  bool load(IDirect3DDevice9* device, const char* const* list);

  void append(const char* key, d3d9::ComPtr<IDirect3DTexture9> texture) {
    entries_.append(key, std::move(texture));
  }
  // The first texture with this key, or null after a "No Match" box. Not a new reference.
  IDirect3DTexture9* lookup(const char* key) {
    auto* found = entries_.find(key);
    return found ? found->get() : nullptr;
  }
  std::size_t size() const { return entries_.size(); }

private:
  Registry<d3d9::ComPtr<IDirect3DTexture9>> entries_;
};

}  // namespace assets
