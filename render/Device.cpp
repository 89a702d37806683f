// The global device pointer.
#include "render/Device.h"

namespace render {
namespace {

IDirect3DDevice9* gDevice = nullptr;

}  // namespace

IDirect3DDevice9* device() { return gDevice; }
void setDevice(IDirect3DDevice9* device) { gDevice = device; }

}  // namespace render
