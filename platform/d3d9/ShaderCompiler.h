// The seam between the effect framework (d3dx9) and a backend that runs shaders: the framework
// parses effect files and keeps parameter values; the backend compiles each pass into a program
// and uploads values to it. The device owns its compiler; the effect owns its pass programs.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

// The kinds of effect parameter, as declared in the effect's GLSL.
enum class UniformKind { Float, Vec2, Vec3, Vec4, Mat4, Sampler };

// How a texture parameter is sampled; wrap and linear filtering unless the effect file says otherwise.
struct SamplerState {
  bool clamp = false;
  bool linear = true;
};

// One linked program of an effect pass.
class PassProgram {
public:
  virtual ~PassProgram() = default;
  // Makes the program current for the draws that follow.
  virtual void use() = 0;
  // Uploads `count` elements of `kind` (a Mat4 is 16 floats, row-major as D3DX stores it, uploaded
  // unchanged). Names the program does not use are ignored.
  virtual void setUniform(const char* name, UniformKind kind, const float* values, unsigned count) = 0;
  // Binds a texture to a sampler; a null texture samples as opaque black.
  virtual void setSampler(const char* name, IDirect3DBaseTexture9* texture, const SamplerState& state) = 0;
};

class ShaderCompiler {
public:
  virtual ~ShaderCompiler() = default;
  // Compiles and links GLSL 330 core sources (each complete, #version included). On failure
  // returns null and puts the compiler's and linker's messages in `log`.
  virtual std::unique_ptr<PassProgram> compile(const std::string& vertexSource, const std::string& fragmentSource,
                                               std::string& log) = 0;
};

}  // namespace d3d9
