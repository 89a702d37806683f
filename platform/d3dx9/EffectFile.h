// Reader of our effect file format: line-oriented GLSL 330 in sections ("--- common",
// "--- vertex NAME", "--- fragment NAME", "--- pass N VERTEX FRAGMENT [state=value ...]",
// "--- sampler PARAM [clamp|wrap] [linear|point]"). Produces plain data; compiling is the effect's job.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/d3d9/ShaderCompiler.h"
#include "platform/d3d9/d3d9.h"

namespace d3dx9 {

// The text of one section and the file line its first text line came from.
struct ShaderText {
  std::string name;
  std::string text;
  int firstLine = 0;
};

struct PassSpec {
  unsigned number = 0;
  std::string vertex;
  std::string fragment;
  std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> states;
  int line = 0;
};

struct SamplerSpec {
  std::string name;
  d3d9::SamplerState state;
};

// A `uniform` the effect declares: its kind and array length (1 when not an array).
struct UniformSpec {
  std::string name;
  d3d9::UniformKind kind = d3d9::UniformKind::Float;
  unsigned count = 1;
};

struct EffectSource {
  ShaderText common;
  std::vector<ShaderText> vertexShaders;
  std::vector<ShaderText> fragmentShaders;
  std::vector<PassSpec> passes;  // ordered by number, numbered 0, 1, 2 … without gaps
  std::vector<SamplerSpec> samplers;
  std::vector<UniformSpec> uniforms;
};

// Parses the text of an effect file. On failure returns false and appends "path(line): message"
// lines to `errors`.
bool parseEffectFile(std::string_view text, const std::string& path, EffectSource& out, std::string& errors);

// The complete GLSL source of one shader of a pass: version line, common text, shader text, with
// #line directives so compiler messages name lines of the effect file.
std::string composeShader(const EffectSource& source, const ShaderText& shader);

// Rewrites a compiler log so each message names the effect file and its line.
std::string effectCompileLog(const std::string& path, const std::string& log);

// Components of one element of a uniform kind (16 for a matrix, 0 for a sampler).
unsigned componentsOf(d3d9::UniformKind kind);

}  // namespace d3dx9
