// The one Direct3D device the scenes and the rendering helpers draw with. The app creates and owns
// the device and sets it here at start-up; this holds a plain pointer, no reference. Main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace render {

IDirect3DDevice9* device();
void setDevice(IDirect3DDevice9* device);

}  // namespace render
