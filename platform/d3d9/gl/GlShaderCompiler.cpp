// GLSL programs for effect passes: compile, link, uniforms by name, one texture unit per sampler.
#include "platform/d3d9/gl/GlShaderCompiler.h"

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/gl/GlObjects.h"
#include "platform/d3d9/gl/GlResources.h"

namespace d3d9::gl {

class GlPassProgram;

// What the compiler and all its programs share: the program in use, the sampler objects (one per
// addressing, filtering and mip combination) and the opaque black texture a null texture binds.
struct ProgramShared {
  explicit ProgramShared(std::shared_ptr<GlContext> c) : context(std::move(c)) {}
  ~ProgramShared() { context->makeCurrent(); }

  GLuint sampler(const SamplerState& state, bool mips);
  GLuint blackTexture();

  std::shared_ptr<GlContext> context;
  GlPassProgram* current = nullptr;
  // glProgramUniform* (GL 4.1, ARB_separate_shader_objects) sets values without binding the program.
  bool programUniforms = epoxy_gl_version() >= 41 || epoxy_has_gl_extension("GL_ARB_separate_shader_objects");
  std::array<SamplerName, 8> samplers;
  TextureName black;
};

// Linear filtering uses the mip chain when the texture has one; point filtering reads level 0, as
// Direct3D does with no mip filter.
GLuint ProgramShared::sampler(const SamplerState& state, bool mips) {
  bool filterMips = mips && state.linear;
  SamplerName& sampler = samplers[(state.clamp ? 4 : 0) + (state.linear ? 2 : 0) + (filterMips ? 1 : 0)];
  if (!sampler) {
    sampler = SamplerName::make();
    GLint wrap = state.clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    GLint mag = state.linear ? GL_LINEAR : GL_NEAREST;
    GLint min = filterMips ? GL_LINEAR_MIPMAP_LINEAR : mag;
    glSamplerParameteri(sampler.get(), GL_TEXTURE_WRAP_S, wrap);
    glSamplerParameteri(sampler.get(), GL_TEXTURE_WRAP_T, wrap);
    glSamplerParameteri(sampler.get(), GL_TEXTURE_MAG_FILTER, mag);
    glSamplerParameteri(sampler.get(), GL_TEXTURE_MIN_FILTER, min);
  }
  return sampler.get();
}

GLuint ProgramShared::blackTexture() {
  if (!black) {
    black = TextureName::make();
    const GLubyte texel[4] = {0, 0, 0, 255};
    glActiveTexture(GL_TEXTURE0 + kUploadUnit);
    glBindTexture(GL_TEXTURE_2D, black.get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  }
  return black.get();
}

// ---------------------------------------------------------------------------------------------

namespace {

// Pass programs sample from units 0-15, below the upload unit.
constexpr GLuint kMaxSamplers = 16;

bool isSamplerType(GLenum type) {
  return type == GL_SAMPLER_2D || type == GL_SAMPLER_2D_SHADOW || type == GL_SAMPLER_CUBE || type == GL_SAMPLER_3D;
}

template <typename Name>
bool compileStage(const Name& shader, const std::string& source, const char* stage, std::string& log) {
  const char* text = source.c_str();
  glShaderSource(shader.get(), 1, &text, nullptr);
  glCompileShader(shader.get());
  GLint ok = GL_FALSE, length = 0;
  glGetShaderiv(shader.get(), GL_COMPILE_STATUS, &ok);
  if (ok) return true;
  glGetShaderiv(shader.get(), GL_INFO_LOG_LENGTH, &length);
  std::string message(std::size_t(std::max(length, 1)), '\0');
  glGetShaderInfoLog(shader.get(), length, nullptr, message.data());
  log += std::string(stage) + " shader:\n" + message.c_str() + "\n";
  return false;
}

bool linkProgram(const ProgramName& program, std::string& log) {
  glLinkProgram(program.get());
  GLint ok = GL_FALSE, length = 0;
  glGetProgramiv(program.get(), GL_LINK_STATUS, &ok);
  if (ok) return true;
  glGetProgramiv(program.get(), GL_INFO_LOG_LENGTH, &length);
  std::string message(std::size_t(std::max(length, 1)), '\0');
  glGetProgramInfoLog(program.get(), length, nullptr, message.data());
  log += std::string("link:\n") + message.c_str() + "\n";
  return false;
}

// Matrices go up as the 16 row-major D3DX floats, unchanged (transpose false): GLSL's M * v is
// then Direct3D's v * M.
void uploadInto(GLuint program, GLint at, UniformKind kind, GLsizei n, const float* v) {
  switch (kind) {
    case UniformKind::Float: glProgramUniform1fv(program, at, n, v); break;
    case UniformKind::Vec2: glProgramUniform2fv(program, at, n, v); break;
    case UniformKind::Vec3: glProgramUniform3fv(program, at, n, v); break;
    case UniformKind::Vec4: glProgramUniform4fv(program, at, n, v); break;
    case UniformKind::Mat4: glProgramUniformMatrix4fv(program, at, n, GL_FALSE, v); break;
    case UniformKind::Sampler: break;
  }
}

void uploadBound(GLint at, UniformKind kind, GLsizei n, const float* v) {
  switch (kind) {
    case UniformKind::Float: glUniform1fv(at, n, v); break;
    case UniformKind::Vec2: glUniform2fv(at, n, v); break;
    case UniformKind::Vec3: glUniform3fv(at, n, v); break;
    case UniformKind::Vec4: glUniform4fv(at, n, v); break;
    case UniformKind::Mat4: glUniformMatrix4fv(at, n, GL_FALSE, v); break;
    case UniformKind::Sampler: break;
  }
}

}  // namespace

class GlPassProgram final : public PassProgram {
public:
  GlPassProgram(std::shared_ptr<ProgramShared> shared, ProgramName program)
      : shared_(std::move(shared)), program_(std::move(program)) {
    findSamplers();
  }
  ~GlPassProgram() override {
    shared_->context->makeCurrent();
    if (shared_->current == this) {
      glUseProgram(0);
      shared_->current = nullptr;
    }
  }

  // Binds the program and puts its textures back on their units (another pass may have used them).
  void use() override {
    shared_->context->makeCurrent();
    glUseProgram(program_.get());
    shared_->current = this;
    for (const Sampler& sampler : samplers_) bind(sampler);
  }

  void setUniform(const char* name, UniformKind kind, const float* values, unsigned count) override {
    GLint at = location(name);
    if (at < 0 || !values || count == 0 || kind == UniformKind::Sampler) return;
    shared_->context->makeCurrent();
    if (shared_->programUniforms) {
      uploadInto(program_.get(), at, kind, GLsizei(count), values);
      return;
    }
    // Without glProgramUniform*: bind this program for the moment, then put back the one in use.
    if (shared_->current != this) glUseProgram(program_.get());
    uploadBound(at, kind, GLsizei(count), values);
    if (shared_->current != this) glUseProgram(currentName());
  }

  void setSampler(const char* name, IDirect3DBaseTexture9* texture, const SamplerState& state) override {
    if (!name) return;
    for (Sampler& sampler : samplers_) {
      if (sampler.name != name) continue;
      if (texture) texture->AddRef();
      sampler.texture = ComPtr<IDirect3DBaseTexture9>(texture);
      sampler.state = state;
      if (shared_->current == this) {
        shared_->context->makeCurrent();
        bind(sampler);
      }
      return;
    }
  }

private:
  // A sampler uniform, its unit and what the effect bound to it (a reference, as Direct3D effects hold).
  struct Sampler {
    std::string name;
    GLuint unit;
    ComPtr<IDirect3DBaseTexture9> texture;
    SamplerState state;
  };

  GLuint currentName() const { return shared_->current ? shared_->current->program_.get() : 0; }

  // Gives every active sampler uniform its own unit, in the order the linker lists them.
  void findSamplers() {
    GLint count = 0, longest = 0;
    glGetProgramiv(program_.get(), GL_ACTIVE_UNIFORMS, &count);
    glGetProgramiv(program_.get(), GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
    std::vector<char> buffer(std::size_t(std::max(longest, 1)));
    glUseProgram(program_.get());
    for (GLint i = 0; i < count && samplers_.size() < kMaxSamplers; ++i) {
      GLint size = 0;
      GLenum type = 0;
      glGetActiveUniform(program_.get(), GLuint(i), GLsizei(buffer.size()), nullptr, &size, &type, buffer.data());
      if (!isSamplerType(type)) continue;
      std::string name(buffer.data());
      if (name.size() > 3 && name.compare(name.size() - 3, 3, "[0]") == 0) name.resize(name.size() - 3);
      GLuint unit = GLuint(samplers_.size());
      glUniform1i(glGetUniformLocation(program_.get(), name.c_str()), GLint(unit));
      samplers_.push_back(Sampler{name, unit, {}, {}});
    }
    glUseProgram(currentName());
  }

  void bind(const Sampler& sampler) const {
    auto* texture = dynamic_cast<GlTexture*>(sampler.texture.get());
    glActiveTexture(GL_TEXTURE0 + sampler.unit);
    glBindTexture(GL_TEXTURE_2D, texture ? texture->name() : shared_->blackTexture());
    glBindSampler(sampler.unit, shared_->sampler(sampler.state, texture && texture->hasMips()));
  }

  GLint location(const char* name) {
    if (!name) return -1;
    auto it = locations_.find(name);
    if (it == locations_.end()) {
      shared_->context->makeCurrent();
      it = locations_.emplace(name, glGetUniformLocation(program_.get(), name)).first;
    }
    return it->second;
  }

  std::shared_ptr<ProgramShared> shared_;
  ProgramName program_;
  std::unordered_map<std::string, GLint> locations_;
  std::vector<Sampler> samplers_;
};

// ---------------------------------------------------------------------------------------------

GlShaderCompiler::GlShaderCompiler(std::shared_ptr<GlContext> context)
    : shared_(std::make_shared<ProgramShared>(std::move(context))) {}

GlShaderCompiler::~GlShaderCompiler() = default;

std::unique_ptr<PassProgram> GlShaderCompiler::compile(const std::string& vertexSource,
                                                       const std::string& fragmentSource, std::string& log) {
  shared_->context->makeCurrent();
  auto vertex = VertexShaderName::make();
  auto fragment = FragmentShaderName::make();
  bool compiled = compileStage(vertex, vertexSource, "vertex", log);
  compiled = compileStage(fragment, fragmentSource, "fragment", log) && compiled;
  if (!compiled) return nullptr;
  auto program = ProgramName::make();
  glAttachShader(program.get(), vertex.get());
  glAttachShader(program.get(), fragment.get());
  bool linked = linkProgram(program, log);
  glDetachShader(program.get(), vertex.get());
  glDetachShader(program.get(), fragment.get());
  if (!linked) return nullptr;
  return std::make_unique<GlPassProgram>(shared_, std::move(program));
}

bool GlShaderCompiler::hasCurrentProgram() const { return shared_->current != nullptr; }

}  // namespace d3d9::gl
