// Owners of OpenGL object names: each generates its name when made and deletes it when it goes.
// A name must die while its context is current; the backend's resources keep their context alive
// and current for that (see GlContext). Main thread only.
#pragma once

#include <epoxy/gl.h>

#include <utility>

namespace d3d9::gl {

template <typename Kind>
class GlName {
public:
  GlName() = default;
  // Generates a fresh name.
  static GlName make() {
    GlName object;
    object.name_ = Kind::create();
    return object;
  }
  GlName(GlName&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
  GlName& operator=(GlName&& other) noexcept {
    if (this != &other) {
      reset();
      name_ = std::exchange(other.name_, 0);
    }
    return *this;
  }
  GlName(const GlName&) = delete;
  GlName& operator=(const GlName&) = delete;
  ~GlName() { reset(); }

  void reset() {
    if (name_) Kind::destroy(std::exchange(name_, 0));
  }
  GLuint get() const { return name_; }
  explicit operator bool() const { return name_ != 0; }

private:
  GLuint name_ = 0;
};

struct TextureKind {
  static GLuint create() { GLuint n = 0; glGenTextures(1, &n); return n; }
  static void destroy(GLuint n) { glDeleteTextures(1, &n); }
};
struct BufferKind {
  static GLuint create() { GLuint n = 0; glGenBuffers(1, &n); return n; }
  static void destroy(GLuint n) { glDeleteBuffers(1, &n); }
};
struct FramebufferKind {
  static GLuint create() { GLuint n = 0; glGenFramebuffers(1, &n); return n; }
  static void destroy(GLuint n) { glDeleteFramebuffers(1, &n); }
};
struct RenderbufferKind {
  static GLuint create() { GLuint n = 0; glGenRenderbuffers(1, &n); return n; }
  static void destroy(GLuint n) { glDeleteRenderbuffers(1, &n); }
};
struct VertexArrayKind {
  static GLuint create() { GLuint n = 0; glGenVertexArrays(1, &n); return n; }
  static void destroy(GLuint n) { glDeleteVertexArrays(1, &n); }
};
struct SamplerKind {
  static GLuint create() { GLuint n = 0; glGenSamplers(1, &n); return n; }
  static void destroy(GLuint n) { glDeleteSamplers(1, &n); }
};
struct ProgramKind {
  static GLuint create() { return glCreateProgram(); }
  static void destroy(GLuint n) { glDeleteProgram(n); }
};
template <GLenum Stage>
struct ShaderKind {
  static GLuint create() { return glCreateShader(Stage); }
  static void destroy(GLuint n) { glDeleteShader(n); }
};

using TextureName = GlName<TextureKind>;
using BufferName = GlName<BufferKind>;
using FramebufferName = GlName<FramebufferKind>;
using RenderbufferName = GlName<RenderbufferKind>;
using VertexArrayName = GlName<VertexArrayKind>;
using SamplerName = GlName<SamplerKind>;
using ProgramName = GlName<ProgramKind>;
using VertexShaderName = GlName<ShaderKind<GL_VERTEX_SHADER>>;
using FragmentShaderName = GlName<ShaderKind<GL_FRAGMENT_SHADER>>;

}  // namespace d3d9::gl
