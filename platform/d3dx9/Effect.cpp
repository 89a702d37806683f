// Effect parameters, passes and their trace events; D3DXCreateEffectFromFileA.
#include "platform/d3dx9/Effect.h"

#include <algorithm>
#include <cstring>

#include "platform/trace/FrameTrace.h"
#include "platform/win32/FilePath.h"

namespace d3dx9 {
namespace {

constexpr std::size_t kMaxEffectFileBytes = 1 << 20;
constexpr const char* kTechniqueName = "main";

::trace::TraceLine record(const char* ev, const std::string& effect) {
  auto line = ::trace::frameTrace().event(ev);
  line.str("effect", effect);
  return line;
}

// Compile errors handed back to the caller as a zero-terminated text.
class TextBuffer final : public ID3DXBuffer {
public:
  explicit TextBuffer(std::string text) : text_(std::move(text)) {}
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  void* GetBufferPointer() override { return text_.data(); }
  DWORD GetBufferSize() override { return static_cast<DWORD>(text_.size() + 1); }

private:
  ULONG references_ = 1;
  std::string text_;
};

const ShaderText* shaderNamed(const std::vector<ShaderText>& list, const std::string& name) {
  for (const ShaderText& s : list)
    if (s.name == name) return &s;
  return nullptr;
}

struct CompiledEffect {
  EffectSource source;
  std::vector<std::unique_ptr<d3d9::PassProgram>> programs;
};

// Reads, parses and (on a device that runs shaders) compiles an effect file.
bool compileEffectFile(IDirect3DDevice9* device, const std::string& path, CompiledEffect& out, std::string& errors) {
  std::string text;
  if (!win32::readWholeFile(path.c_str(), text, kMaxEffectFileBytes)) {
    errors = path + ": cannot read the effect file\n";
    return false;
  }
  if (!parseEffectFile(text, path, out.source, errors)) return false;
  if (d3d9::ShaderCompiler* compiler = device->GetShaderCompiler()) {
    for (const PassSpec& pass : out.source.passes) {
      std::string log;
      auto program = compiler->compile(composeShader(out.source, *shaderNamed(out.source.vertexShaders, pass.vertex)),
                                       composeShader(out.source, *shaderNamed(out.source.fragmentShaders, pass.fragment)),
                                       log);
      if (!program) {
        errors = effectCompileLog(path, log);
        return false;
      }
      out.programs.push_back(std::move(program));
    }
  }
  return true;
}

}  // namespace

std::string effectFilePath(ID3DXEffect* effect) {
  auto* ours = effect ? dynamic_cast<Effect*>(effect) : nullptr;
  return ours ? ours->path() : std::string();
}

bool reloadEffect(ID3DXEffect* effect, std::string& errors) {
  auto* ours = effect ? dynamic_cast<Effect*>(effect) : nullptr;
  if (!ours) {
    errors = "not an effect of this library\n";
    return false;
  }
  CompiledEffect compiled;
  if (!compileEffectFile(ours->device(), ours->path(), compiled, errors)) return false;
  if (!ours->replace(std::move(compiled.source), std::move(compiled.programs))) {
    errors = ours->path() + ": the effect is in use\n";
    return false;
  }
  return true;
}

Effect::Effect(IDirect3DDevice9* device, std::string path, EffectSource source,
               std::vector<std::unique_ptr<d3d9::PassProgram>> programs)
    : path_(std::move(path)), source_(std::move(source)), programs_(std::move(programs)) {
  device->AddRef();
  device_ = d3d9::ComPtr<IDirect3DDevice9>(device);
  parameters_ = parametersOf(source_);
}

std::vector<Effect::Parameter> Effect::parametersOf(const EffectSource& source) {
  std::vector<Parameter> parameters;
  for (const UniformSpec& uniform : source.uniforms) {
    Parameter parameter{uniform, std::vector<float>(componentsOf(uniform.kind) * uniform.count, 0.0f), {}, {}, false};
    for (const SamplerSpec& sampler : source.samplers)
      if (sampler.name == uniform.name) parameter.sampler = sampler.state;
    parameters.push_back(std::move(parameter));
  }
  return parameters;
}

bool Effect::replace(EffectSource source, std::vector<std::unique_ptr<d3d9::PassProgram>> programs) {
  if (begun_) return false;
  std::vector<Parameter> previous = std::move(parameters_);
  source_ = std::move(source);
  programs_ = std::move(programs);
  parameters_ = parametersOf(source_);
  for (Parameter& p : parameters_) {
    for (Parameter& old : previous) {
      if (!old.everSet || old.spec.name != p.spec.name || old.spec.kind != p.spec.kind || old.values.size() != p.values.size())
        continue;
      p.values = std::move(old.values);
      p.texture = std::move(old.texture);
      p.everSet = true;
    }
  }
  return true;
}

ULONG Effect::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

Effect::Parameter* Effect::find(const char* name) {
  if (!name) return nullptr;
  for (Parameter& p : parameters_)
    if (p.spec.name == name) return &p;
  return nullptr;
}

std::vector<float> Effect::floatsOf(const char* name) const {
  for (const Parameter& p : parameters_)
    if (name && p.spec.name == name) return p.values;
  return {};
}

D3DXHANDLE Effect::GetCurrentTechnique() { return source_.passes.empty() ? nullptr : kTechniqueName; }

HRESULT Effect::Begin(UINT* pPasses, DWORD) {
  UINT passes = static_cast<UINT>(source_.passes.size());
  record("effectBegin", path_).integer("passes", passes);
  if (pPasses) *pPasses = passes;
  if (begun_) return D3DERR_INVALIDCALL;
  begun_ = true;
  return D3D_OK;
}

HRESULT Effect::BeginPass(UINT Pass) {
  record("beginPass", path_).integer("pass", Pass);
  if (!begun_ || activePass_ >= 0 || Pass >= source_.passes.size()) return D3DERR_INVALIDCALL;
  activePass_ = static_cast<int>(Pass);
  applyPassStates(source_.passes[Pass]);
  if (!programs_.empty()) {
    programs_[Pass]->use();
    uploadAll(false);
  }
  for (Parameter& p : parameters_) p.dirty = false;
  return D3D_OK;
}

HRESULT Effect::CommitChanges() {
  record("commit", path_);
  if (activePass_ < 0) return D3DERR_INVALIDCALL;
  if (!programs_.empty()) uploadAll(true);
  for (Parameter& p : parameters_) p.dirty = false;
  return D3D_OK;
}

HRESULT Effect::EndPass() {
  record("endPass", path_);
  if (activePass_ < 0) return D3DERR_INVALIDCALL;
  activePass_ = -1;
  return D3D_OK;
}

// Ends the effect and puts back, in reverse order, every render state its passes changed.
HRESULT Effect::End() {
  record("effectEnd", path_);
  if (!begun_) return D3DERR_INVALIDCALL;
  ::trace::FrameTrace::Mute mute(::trace::frameTrace());
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) device_->SetRenderState(it->state, it->value);
  saved_.clear();
  begun_ = false;
  activePass_ = -1;
  return D3D_OK;
}

void Effect::applyPassStates(const PassSpec& pass) {
  ::trace::FrameTrace::Mute mute(::trace::frameTrace());
  for (const auto& [state, value] : pass.states) {
    // Captured by copy: clang 14 cannot capture a structured binding by reference.
    bool known =
        std::any_of(saved_.begin(), saved_.end(), [wanted = state](const SavedState& s) { return s.state == wanted; });
    if (!known) {
      DWORD previous = 0;
      device_->GetRenderState(state, &previous);
      saved_.push_back(SavedState{state, previous});
    }
    device_->SetRenderState(state, value);
  }
}

void Effect::upload(Parameter& p) {
  d3d9::PassProgram& program = *programs_[static_cast<std::size_t>(activePass_)];
  if (p.spec.kind == d3d9::UniformKind::Sampler) {
    program.setSampler(p.spec.name.c_str(), p.texture.get(), p.sampler);
  } else {
    program.setUniform(p.spec.name.c_str(), p.spec.kind, p.values.data(), p.spec.count);
  }
}

// Samplers are always bound (an unset one samples black); values only once the system set them,
// so a parameter nobody sets keeps the initialiser the effect file gives it.
void Effect::uploadAll(bool onlyDirty) {
  for (Parameter& p : parameters_) {
    bool sampler = p.spec.kind == d3d9::UniformKind::Sampler;
    if (onlyDirty ? p.dirty : (p.everSet || sampler)) upload(p);
  }
}

HRESULT Effect::setFloats(const char* name, const float* values, UINT count, bool matrix) {
  Parameter* p = find(name);
  if (!p || !values || p->spec.kind == d3d9::UniformKind::Sampler) return D3DERR_INVALIDCALL;
  if (matrix != (p->spec.kind == d3d9::UniformKind::Mat4)) return D3DERR_INVALIDCALL;
  std::copy_n(values, std::min<std::size_t>(count, p->values.size()), p->values.begin());
  p->dirty = p->everSet = true;
  return D3D_OK;
}

HRESULT Effect::SetMatrix(D3DXHANDLE hParameter, const D3DXMATRIX* pMatrix) {
  auto line = record("setMatrix", path_);
  line.name("param", hParameter);
  if (pMatrix) line.floats("m", std::span<const float>(&pMatrix->_11, 16));
  return setFloats(hParameter, pMatrix ? &pMatrix->_11 : nullptr, 16, true);
}

HRESULT Effect::SetFloat(D3DXHANDLE hParameter, FLOAT f) {
  record("setFloat", path_).name("param", hParameter).num("v", f);
  return setFloats(hParameter, &f, 1, false);
}

HRESULT Effect::SetFloatArray(D3DXHANDLE hParameter, const FLOAT* pf, UINT Count) {
  auto line = record("setFloatArray", path_);
  line.name("param", hParameter);
  if (pf) line.floats("v", std::span<const float>(pf, Count));
  return setFloats(hParameter, pf, Count, false);
}

HRESULT Effect::SetTexture(D3DXHANDLE hParameter, IDirect3DBaseTexture9* pTexture) {
  record("setTexture", path_).name("param", hParameter).name("texture", pTexture ? pTexture->GetDebugName() : nullptr);
  Parameter* p = find(hParameter);
  if (!p || p->spec.kind != d3d9::UniformKind::Sampler) return D3DERR_INVALIDCALL;
  if (pTexture) pTexture->AddRef();
  p->texture = d3d9::ComPtr<IDirect3DBaseTexture9>(pTexture);
  p->dirty = p->everSet = true;
  return D3D_OK;
}

}  // namespace d3dx9

// ---------------------------------------------------------------------------------------------

namespace {

HRESULT fail(ID3DXBuffer** ppErrors, std::string text) {
  if (ppErrors) *ppErrors = new d3dx9::TextBuffer(std::move(text));
  return D3DXERR_INVALIDDATA;
}

}  // namespace

HRESULT D3DXCreateEffectFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile, const D3DXMACRO*, ID3DXInclude*,
                                  DWORD, ID3DXEffectPool*, ID3DXEffect** ppEffect,
                                  ID3DXBuffer** ppCompilationErrors) {
  if (ppCompilationErrors) *ppCompilationErrors = nullptr;
  if (!ppEffect || !pDevice || !pSrcFile) return D3DERR_INVALIDCALL;
  *ppEffect = nullptr;
  d3dx9::CompiledEffect compiled;
  std::string errors;
  if (!d3dx9::compileEffectFile(pDevice, pSrcFile, compiled, errors)) return fail(ppCompilationErrors, errors);
  *ppEffect = new d3dx9::Effect(pDevice, pSrcFile, std::move(compiled.source), std::move(compiled.programs));
  return D3D_OK;
}
