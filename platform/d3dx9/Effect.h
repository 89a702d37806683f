// The effect object behind ID3DXEffect: a parameter table by name, the passes of one technique,
// and the render states each pass sets. Values are kept here; a backend that runs shaders gets
// them uploaded into its pass programs. Every call of the system is written to the frame trace.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/ShaderCompiler.h"
#include "platform/d3dx9/EffectFile.h"
#include "platform/d3dx9/d3dx9.h"

namespace d3dx9 {

class Effect final : public ID3DXEffect {
public:
  // Builds an effect from parsed source; `programs` holds one program per pass, or is empty on a
  // backend that runs no shaders. The effect keeps a reference to the device.
  Effect(IDirect3DDevice9* device, std::string path, EffectSource source,
         std::vector<std::unique_ptr<d3d9::PassProgram>> programs);

  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;

  D3DXHANDLE GetCurrentTechnique() override;
  HRESULT Begin(UINT* pPasses, DWORD Flags) override;
  HRESULT BeginPass(UINT Pass) override;
  HRESULT CommitChanges() override;
  HRESULT EndPass() override;
  HRESULT End() override;
  HRESULT SetMatrix(D3DXHANDLE hParameter, const D3DXMATRIX* pMatrix) override;
  HRESULT SetFloat(D3DXHANDLE hParameter, FLOAT f) override;
  HRESULT SetFloatArray(D3DXHANDLE hParameter, const FLOAT* pf, UINT Count) override;
  HRESULT SetTexture(D3DXHANDLE hParameter, IDirect3DBaseTexture9* pTexture) override;

  const std::string& path() const { return path_; }
  IDirect3DDevice9* device() const { return device_.get(); }
  // Takes newly compiled passes and shaders of the same file, keeping the value of every parameter
  // that was set and still exists with the same kind and size. False (nothing changes) while the
  // effect is begun.
  bool replace(EffectSource source, std::vector<std::unique_ptr<d3d9::PassProgram>> programs);
  // The floats a parameter holds now (empty for an unknown name or a texture), for tests.
  std::vector<float> floatsOf(const char* name) const;

private:
  struct Parameter {
    UniformSpec spec;
    std::vector<float> values;
    d3d9::ComPtr<IDirect3DBaseTexture9> texture;
    d3d9::SamplerState sampler;
    bool everSet = false;  // until then the program keeps the effect file's initialiser
    bool dirty = false;
  };
  struct SavedState {
    D3DRENDERSTATETYPE state;
    DWORD value;
  };

  static std::vector<Parameter> parametersOf(const EffectSource& source);
  Parameter* find(const char* name);
  HRESULT setFloats(const char* name, const float* values, UINT count, bool matrix);
  void upload(Parameter& parameter);
  void uploadAll(bool onlyDirty);
  void applyPassStates(const PassSpec& pass);

  ULONG references_ = 1;
  d3d9::ComPtr<IDirect3DDevice9> device_;
  std::string path_;
  EffectSource source_;
  std::vector<std::unique_ptr<d3d9::PassProgram>> programs_;
  std::vector<Parameter> parameters_;
  std::vector<SavedState> saved_;
  bool begun_ = false;
  int activePass_ = -1;
};

// The file an effect of this library was made from; empty for any other object.
std::string effectFilePath(ID3DXEffect* effect);

// Compiles an effect's file again on its device and hands it the result (Effect::replace). On a
// read or compile error nothing changes and `errors` holds "path(line): message" lines.
bool reloadEffect(ID3DXEffect* effect, std::string& errors);

}  // namespace d3dx9
