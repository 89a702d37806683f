// `EffectStack`: compiled effects found by key, with the current key that effect binding uses
// when it is given none. Filled once from a path/key list with D3DXCreateEffectFromFileA; owns
// one reference to each effect and releases them in load order. Main thread only.
#pragma once

#include <optional>
#include <string>

#include "assets/Registry.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3dx9/d3dx9.h"

namespace assets {

class EffectStack {
public:
  // Loads the pairs in order. A path without a key shows "Check Your Effect ParamenterList\n"
  // (caption "Error"); an effect that does not compile shows the compiler's text with caption
  // "Shader Compilation Error In [path]" (cut to 64 bytes); either stops the list. True when the
  // whole list loaded.
  bool load(IDirect3DDevice9* device, const char* const* list);

  void append(const char* key, d3d9::ComPtr<ID3DXEffect> effect) { entries_.append(key, std::move(effect)); }
  // The first effect with this key, or null after a "No Match" box. Not a new reference.
  ID3DXEffect* lookup(const char* key) {
    auto* found = entries_.find(key);
    return found ? found->get() : nullptr;
  }
  std::size_t size() const { return entries_.size(); }
  ID3DXEffect* at(std::size_t i) { return entries_.objectAt(i).get(); }

  // Assigned by scenes before they work with an effect; empty at start.
  std::optional<std::string> currentKey;

private:
  Registry<d3d9::ComPtr<ID3DXEffect>> entries_;
};

}  // namespace assets
