// MeshProxy loading.
#include "assets/MeshProxy.h"

namespace assets {
namespace {

constexpr const char* kListErrorText = "Check Your Parameter List";
constexpr const char* kListErrorCaption = "MeshProxy";

}  // namespace

bool MeshProxy::load(IDirect3DDevice9* device, const char* const* list) {
  bool complete = true;
  bool listOk = walkPairList(list, [&](const char* path, const char* key) {
    auto mesh = std::make_unique<Mesh>();
    complete = mesh->load(device, path) && complete;
    append(key, std::move(mesh));
    return true;
  });
  if (!listOk) MessageBoxA(nullptr, kListErrorText, kListErrorCaption, MB_OK);
  return listOk && complete;
}

}  // namespace assets
