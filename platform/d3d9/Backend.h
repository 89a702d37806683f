// Chooses which backend Direct3DCreate9 builds: the OpenGL one for pictures, the trace one for
// tests and call traces. Set once, before Direct3DCreate9 is called.
#pragma once

#include <functional>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

// Makes a new Direct3D object holding one reference, or null when the backend cannot start.
using Direct3DFactory = std::function<IDirect3D9*()>;

// An empty factory makes Direct3DCreate9 return null.
void useBackend(Direct3DFactory factory);

}  // namespace d3d9
