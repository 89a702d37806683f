// Failure injection for the trace backend: a test names a call and the result it should return,
// for every call or only its n-th occurrence, so each failure message of the system can be reached.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/win32/WinTypes.h"

namespace d3d9::trace {

enum class Call : std::size_t {
  CreateDevice,
  CreateTexture,
  CreateVertexBuffer,
  CreateIndexBuffer,
  CreateDepthStencilSurface,
  CreateVertexDeclaration,
  GetBackBuffer,
  GetRenderTarget,
  SetRenderTarget,
  GetDepthStencilSurface,
  SetDepthStencilSurface,
  Count,
};

class FailurePlan {
public:
  // Makes the n-th call (counted from 1 from now on) return hr; nth 0 makes every call fail.
  void fail(Call call, HRESULT hr, unsigned nth = 0);
  void clear();

  // Counts one call; returns the injected failure, or S_OK to let the call go through.
  HRESULT next(Call call);

private:
  struct Rule {
    Call call;
    HRESULT hr;
    unsigned nth;
    unsigned seen;
  };
  std::vector<Rule> rules_;
};

}  // namespace d3d9::trace
