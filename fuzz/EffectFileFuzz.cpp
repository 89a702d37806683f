// Fuzz target for .fx effect files: D3DXCreateEffectFromFileA on the trace device with a stand-in
// shader compiler (so pass programs are made and parameters uploaded), then every pass begun and
// every declared parameter set, as the scenes do. The stand-in fails a pass whose shader says
// "#error", handing back the shader text as the compiler's log, so hostile text reaches the log
// rewriting too.
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "platform/d3dx9/EffectFile.h"
#include "platform/d3dx9/d3dx9.h"

namespace {

// Reads every float it is given, so an upload shorter than it claims is seen by the sanitizer.
class CheckingProgram final : public d3d9::PassProgram {
public:
  void use() override {}
  void setUniform(const char* name, d3d9::UniformKind kind, const float* values, unsigned count) override {
    FUZZ_CHECK(name && values);
    std::size_t n = std::size_t(d3dx9::componentsOf(kind)) * count;
    volatile float sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum = sum + values[i];
  }
  void setSampler(const char* name, IDirect3DBaseTexture9*, const d3d9::SamplerState&) override { FUZZ_CHECK(name); }
};

class CheckingCompiler final : public d3d9::ShaderCompiler {
public:
  std::unique_ptr<d3d9::PassProgram> compile(const std::string& vertexSource, const std::string& fragmentSource,
                                             std::string& log) override {
    FUZZ_CHECK(vertexSource.starts_with("#version 330 core\n") && fragmentSource.starts_with("#version 330 core\n"));
    if (vertexSource.find("#error") != std::string::npos) {
      log = vertexSource;
      return nullptr;
    }
    return std::make_unique<CheckingProgram>();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::MemoryFile file;
  static fuzz::TraceDevice device;
  static CheckingCompiler compiler;
  dynamic_cast<d3d9::trace::TraceDevice&>(*device.get()).lendShaderCompiler(&compiler);
  const char* path = file.write(data, size);

  d3d9::ComPtr<ID3DXEffect> effect;
  d3d9::ComPtr<ID3DXBuffer> errors;
  HRESULT hr = D3DXCreateEffectFromFileA(device.get(), path, nullptr, nullptr, D3DXSHADER_DEBUG, nullptr, effect.put(),
                                         errors.put());
  FUZZ_CHECK(SUCCEEDED(hr) == bool(effect));
  if (errors) {
    // The error text ends in a zero byte, as the registry that shows it relies on.
    const char* text = static_cast<const char*>(errors->GetBufferPointer());
    FUZZ_CHECK(errors->GetBufferSize() >= 1 && text[errors->GetBufferSize() - 1] == '\0');
  }
  if (!effect) return 0;

  // The parameters it declares, from the same text.
  d3dx9::EffectSource source;
  std::string parseErrors;
  FUZZ_CHECK(d3dx9::parseEffectFile(std::string_view(reinterpret_cast<const char*>(data), size), path, source,
                                    parseErrors));
  const float values[64] = {1.0f, -2.0f, 0.5f};
  D3DXMATRIX matrix;
  D3DXMatrixIdentity(&matrix);
  UINT passes = 0;
  FUZZ_CHECK(effect->GetCurrentTechnique() == nullptr || !source.passes.empty());
  effect->Begin(&passes, 0);
  FUZZ_CHECK(passes == source.passes.size());
  for (UINT pass = 0; pass <= passes; ++pass) {
    HRESULT begun = effect->BeginPass(pass);
    FUZZ_CHECK(SUCCEEDED(begun) == (pass < passes));
    for (const d3dx9::UniformSpec& uniform : source.uniforms) {
      const char* name = uniform.name.c_str();
      effect->SetFloat(name, 0.25f);
      effect->SetFloatArray(name, values, 64);
      effect->SetFloatArray(name, values, 2);
      effect->SetMatrix(name, &matrix);
      effect->SetTexture(name, nullptr);
    }
    effect->CommitChanges();
    effect->EndPass();
  }
  effect->End();
  return 0;
}
