// The effect framework's shader seam over OpenGL: compiles GLSL 330 core pairs into programs, looks
// uniforms up by name once and binds textures to one unit per sampler. The device owns the
// compiler; effects own their programs, which may outlive both (they share the compiler's state).
#pragma once

#include <memory>

#include "platform/d3d9/ShaderCompiler.h"
#include "platform/d3d9/gl/GlContext.h"

namespace d3d9::gl {

struct ProgramShared;

class GlShaderCompiler final : public ShaderCompiler {
public:
  explicit GlShaderCompiler(std::shared_ptr<GlContext> context);
  ~GlShaderCompiler() override;

  std::unique_ptr<PassProgram> compile(const std::string& vertexSource, const std::string& fragmentSource,
                                       std::string& log) override;

  // Whether a program is in use (a pass has begun and its program still exists); draws need one.
  bool hasCurrentProgram() const;

private:
  std::shared_ptr<ProgramShared> shared_;
};

}  // namespace d3d9::gl
