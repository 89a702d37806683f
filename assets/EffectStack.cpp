// EffectStack loading.
#include "assets/EffectStack.h"

#include <string>

#include "assets/HresultMessage.h"

namespace assets {
namespace {

constexpr const char* kListErrorText = "Check Your Effect ParamenterList\n";
constexpr const char* kListErrorCaption = "Error";
constexpr const char* kCompileCaptionFormat = "Shader Compilation Error In [%s]";

// The compiler's text, which need not end in a zero byte; empty when none came back.
std::string errorText(ID3DXBuffer* errors) {
  if (!errors || !errors->GetBufferPointer()) return {};
  const char* text = static_cast<const char*>(errors->GetBufferPointer());
  std::string out(text, errors->GetBufferSize());
  return out.substr(0, out.find('\0'));
}

}  // namespace

bool EffectStack::load(IDirect3DDevice9* device, const char* const* list) {
  bool complete = true;
  bool listOk = walkPairList(list, [&](const char* path, const char* key) {
    d3d9::ComPtr<ID3DXEffect> effect;
    d3d9::ComPtr<ID3DXBuffer> errors;
    HRESULT hr = D3DXCreateEffectFromFileA(device, path, nullptr, nullptr, D3DXSHADER_DEBUG, nullptr, effect.put(),
                                           errors.put());
    if (FAILED(hr) || !effect) {
      std::string caption = formatMessage(kCompileCaptionFormat, path);
      MessageBoxA(nullptr, errorText(errors.get()).c_str(), caption.c_str(), MB_OK);
      complete = false;
      return false;
    }
    append(key, std::move(effect));
    return true;
  });
  if (!listOk) MessageBoxA(nullptr, kListErrorText, kListErrorCaption, MB_OK);
  return listOk && complete;
}

}  // namespace assets
