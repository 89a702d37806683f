// Test helper: an ID3DXEffect that records every call as a short line ("Begin 0", "BeginPass 1",
// "SetFloat alpha1"), with a chosen pass count and technique, so effect binding can be checked
// without the effect framework. Reference counted; deletes itself on its last Release and then
// calls onRelease.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9.h"

namespace testsupport {

class FakeEffect final : public ID3DXEffect {
public:
  explicit FakeEffect(UINT passes, bool hasTechnique = true) : passes_(passes), technique_(hasTechnique) {}
  ~FakeEffect() {
    if (onRelease) onRelease();
  }

  ULONG AddRef() override { return ++count_; }
  ULONG Release() override {
    ULONG left = --count_;
    if (left == 0) delete this;
    return left;
  }

  D3DXHANDLE GetCurrentTechnique() override { return technique_ ? "technique" : nullptr; }
  HRESULT Begin(UINT* pPasses, DWORD Flags) override {
    calls.push_back("Begin " + std::to_string(Flags));
    if (pPasses) *pPasses = passes_;
    return D3D_OK;
  }
  HRESULT BeginPass(UINT Pass) override {
    calls.push_back("BeginPass " + std::to_string(Pass));
    return Pass < passes_ ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT CommitChanges() override { return record("CommitChanges"); }
  HRESULT EndPass() override { return record("EndPass"); }
  HRESULT End() override { return record("End"); }
  HRESULT SetMatrix(D3DXHANDLE name, const D3DXMATRIX*) override { return record("SetMatrix", name); }
  HRESULT SetFloat(D3DXHANDLE name, FLOAT) override { return record("SetFloat", name); }
  HRESULT SetFloatArray(D3DXHANDLE name, const FLOAT*, UINT) override { return record("SetFloatArray", name); }
  HRESULT SetTexture(D3DXHANDLE name, IDirect3DBaseTexture9*) override { return record("SetTexture", name); }

  std::vector<std::string> calls;
  // Called when the last reference goes.
  std::function<void()> onRelease;

private:
  HRESULT record(const char* call, const char* name = nullptr) {
    calls.push_back(name ? std::string(call) + " " + name : std::string(call));
    return D3D_OK;
  }

  UINT passes_;
  bool technique_;
  ULONG count_ = 1;
};

}  // namespace testsupport
