// Direct3DCreate9 over the chosen backend.
#include "platform/d3d9/Backend.h"

namespace d3d9 {
namespace {
Direct3DFactory& currentFactory() {
  static Direct3DFactory factory;
  return factory;
}
}  // namespace

void useBackend(Direct3DFactory factory) { currentFactory() = std::move(factory); }

}  // namespace d3d9

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
  const auto& factory = d3d9::currentFactory();
  if (SDKVersion != D3D_SDK_VERSION || !factory) return nullptr;
  return factory();
}
