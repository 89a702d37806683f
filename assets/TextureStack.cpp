// TextureStack loading.
#include "assets/TextureStack.h"

#include "assets/HresultMessage.h"

namespace assets {
namespace {

constexpr const char* kListErrorText = "Check Your Texture ParamenterList\n";
constexpr const char* kListErrorCaption = "Error";
constexpr const char* kCreateCaption = "TextureStack";

}  // namespace

bool TextureStack::load(IDirect3DDevice9* device, const char* const* list) {
  bool complete = true;
  bool listOk = walkPairList(list, [&](const char* path, const char* key) {
    d3d9::ComPtr<IDirect3DTexture9> texture;
    HRESULT hr = D3DXCreateTextureFromFileA(device, path, texture.put());
    if (FAILED(hr)) {
      showHresultMessage(hr, kCreateCaption, key);
      complete = false;
      return false;
    }
    append(key, std::move(texture));
    return true;
  });
  if (!listOk) MessageBoxA(nullptr, kListErrorText, kListErrorCaption, MB_OK);
  return listOk && complete;
}

}  // namespace assets
