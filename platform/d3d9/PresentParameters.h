// The present parameters of a windowed device with an X8R8G8B8 back buffer that is discarded on
// present: what the headless runs, the tests, the fuzz targets and the benchmarks create.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

inline D3DPRESENT_PARAMETERS windowedParameters(UINT width, UINT height, UINT backBuffers = 1) {
  D3DPRESENT_PARAMETERS pp{};
  pp.BackBufferWidth = width;
  pp.BackBufferHeight = height;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.BackBufferCount = backBuffers;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.Windowed = TRUE;
  return pp;
}

}  // namespace d3d9
