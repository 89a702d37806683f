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

// How each kind of name is made and deleted.
struct TextureKind {
  static GLuint create() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return name;
  }
  static void destroy(GLuint name) { glDeleteTextures(1, &name); }
};
struct BufferKind {
  static GLuint create() {
    GLuint name = 0;
    glGenBuffers(1, &name);
    return name;
  }
  static void destroy(GLuint name) { glDeleteBuffers(1, &name); }
};
struct FramebufferKind {
  static GLuint create() {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return name;
  }
  static void destroy(GLuint name) { glDeleteFramebuffers(1, &name); }
};
struct RenderbufferKind {
  static GLuint create() {
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    return name;
  }
  static void destroy(GLuint name) { glDeleteRenderbuffers(1, &name); }
};
struct VertexArrayKind {
  static GLuint create() {
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    return name;
  }
  static void destroy(GLuint name) { glDeleteVertexArrays(1, &name); }
};
struct SamplerKind {
  static GLuint create() {
    GLuint name = 0;
    glGenSamplers(1, &name);
    return name;
  }
  static void destroy(GLuint name) { glDeleteSamplers(1, &name); }
};
struct ProgramKind {
  static GLuint create() { return glCreateProgram(); }
  static void destroy(GLuint name) { glDeleteProgram(name); }
};
template <GLenum Stage>
struct ShaderKind {
  static GLuint create() { return glCreateShader(Stage); }
  static void destroy(GLuint name) { glDeleteShader(name); }
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
