// Section, pass, sampler and uniform parsing of effect files.
#include "platform/d3dx9/EffectFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace d3dx9 {
namespace {

using d3d9::UniformKind;

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    std::size_t start = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

// The patterns of uniform declarations and compiler messages are matched by hand: std::regex
// recurses once per character it matches, so one long line (a hostile file, or a compiler message
// quoting a long name) overflowed the stack. Blanks and word characters as \s and \w in the C locale.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isDigitChar(char c) { return c >= '0' && c <= '9'; }

std::size_t skipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && isBlank(text[i])) ++i;
  return i;
}

// The end of a run of at least one character of the class starting at i, or npos when there is none.
template <typename Predicate>
std::size_t runOf(std::string_view text, std::size_t i, Predicate inClass) {
  std::size_t start = i;
  while (i < text.size() && inClass(text[i])) ++i;
  return i > start ? i : std::string_view::npos;
}

// As ^\s*uniform\s+(\w+)\s+([^;]+); searched in a line: the type and the text before the first ';'.
bool matchUniformLine(std::string_view line, std::string_view& type, std::string_view& names) {
  std::size_t i = skipBlanks(line, 0);
  if (line.substr(i, 7) != "uniform") return false;
  std::size_t typeStart = runOf(line, i + 7, isBlank);
  std::size_t typeEnd = typeStart == std::string_view::npos ? typeStart : runOf(line, typeStart, isWordChar);
  std::size_t namesStart = typeEnd == std::string_view::npos ? typeEnd : runOf(line, typeEnd, isBlank);
  if (namesStart == std::string_view::npos) return false;
  std::size_t semicolon = line.find(';', namesStart);
  if (semicolon == std::string_view::npos) return false;
  // The names take at least one character: with only blanks before the ';', the last blank.
  if (semicolon == namesStart) {
    if (namesStart - typeEnd < 2) return false;
    --namesStart;
  }
  type = line.substr(typeStart, typeEnd - typeStart);
  names = line.substr(namesStart, semicolon - namesStart);
  return true;
}

// As ^\s*(\w+)\s*(?:\[\s*(\d+)\s*\])?\s*$ matched against a whole item: a name and an optional length.
bool matchUniformName(std::string_view item, std::string_view& name, std::string_view& length) {
  std::size_t start = skipBlanks(item, 0);
  std::size_t end = runOf(item, start, isWordChar);
  if (end == std::string_view::npos) return false;
  name = item.substr(start, end - start);
  length = {};
  std::size_t i = skipBlanks(item, end);
  if (i < item.size() && item[i] == '[') {
    std::size_t digits = skipBlanks(item, i + 1);
    std::size_t digitsEnd = runOf(item, digits, isDigitChar);
    if (digitsEnd == std::string_view::npos) return false;
    i = skipBlanks(item, digitsEnd);
    if (i >= item.size() || item[i] != ']') return false;
    length = item.substr(digits, digitsEnd - digits);
    i = skipBlanks(item, i + 1);
  }
  return i == item.size();
}

// A compiler message that names its line, as ^\d+:(\d+)\(\d+\):\s*(.*)$ (Mesa) or
// ^\d+\((\d+)\)\s*:\s*(.*)$ (others) match a whole line; '.' takes no line break.
bool matchCompilerMessage(std::string_view line, std::string_view& lineNumber, std::string_view& message) {
  auto digitsThen = [&](std::size_t i, char next) {
    std::size_t end = runOf(line, i, isDigitChar);
    return end != std::string_view::npos && end < line.size() && line[end] == next ? end + 1 : std::string_view::npos;
  };
  std::size_t first = digitsThen(0, ':');
  std::size_t rest = std::string_view::npos;
  if (first != std::string_view::npos) {
    std::size_t open = digitsThen(first, '(');
    std::size_t close = open == std::string_view::npos ? open : digitsThen(open, ')');
    if (close != std::string_view::npos && close < line.size() && line[close] == ':') {
      lineNumber = line.substr(first, open - 1 - first);
      rest = close + 1;
    }
  } else if (std::size_t open = digitsThen(0, '('); open != std::string_view::npos) {
    std::size_t close = digitsThen(open, ')');
    std::size_t colon = close == std::string_view::npos ? close : skipBlanks(line, close);
    if (colon != std::string_view::npos && colon < line.size() && line[colon] == ':') {
      lineNumber = line.substr(open, close - 1 - open);
      rest = colon + 1;
    }
  }
  if (rest == std::string_view::npos) return false;
  rest = skipBlanks(line, rest);
  if (line.find_first_of("\r\n", rest) != std::string_view::npos) return false;
  message = line.substr(rest);
  return true;
}

bool parseUnsigned(std::string_view text, unsigned& value) {
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

struct StateWord {
  std::string_view text;
  DWORD value;
};

constexpr StateWord kBlendFactors[] = {{"zero", D3DBLEND_ZERO},          {"one", D3DBLEND_ONE},
                                       {"srccolor", D3DBLEND_SRCCOLOR},  {"invsrccolor", D3DBLEND_INVSRCCOLOR},
                                       {"srcalpha", D3DBLEND_SRCALPHA},  {"invsrcalpha", D3DBLEND_INVSRCALPHA}};
constexpr StateWord kCullModes[] = {{"none", D3DCULL_NONE}, {"cw", D3DCULL_CW}, {"ccw", D3DCULL_CCW}};
constexpr StateWord kBlendOps[] = {{"add", D3DBLENDOP_ADD}, {"min", D3DBLENDOP_MIN}};
constexpr StateWord kBooleans[] = {{"false", FALSE}, {"true", TRUE}};

template <std::size_t N>
bool lookUp(const StateWord (&table)[N], std::string_view text, DWORD& value) {
  for (const StateWord& word : table) {
    if (word.text == text) {
      value = word.value;
      return true;
    }
  }
  return false;
}

using StateList = std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>>;

// One "name=value" of a pass line. "blend" is a shorthand for the four blending states.
bool parseState(std::string_view item, StateList& states) {
  std::size_t eq = item.find('=');
  if (eq == std::string_view::npos) return false;
  std::string_view name = item.substr(0, eq), text = item.substr(eq + 1);
  DWORD value = 0;
  if (name == "cull" && lookUp(kCullModes, text, value)) {
    states.emplace_back(D3DRS_CULLMODE, value);
  } else if (name == "zenable" && lookUp(kBooleans, text, value)) {
    states.emplace_back(D3DRS_ZENABLE, value);
  } else if (name == "alphablend" && lookUp(kBooleans, text, value)) {
    states.emplace_back(D3DRS_ALPHABLENDENABLE, value);
  } else if (name == "blendop" && lookUp(kBlendOps, text, value)) {
    states.emplace_back(D3DRS_BLENDOP, value);
  } else if (name == "srcblend" && lookUp(kBlendFactors, text, value)) {
    states.emplace_back(D3DRS_SRCBLEND, value);
  } else if (name == "destblend" && lookUp(kBlendFactors, text, value)) {
    states.emplace_back(D3DRS_DESTBLEND, value);
  } else if (name == "blend") {
    struct Blend {
      std::string_view text;
      DWORD op, src, dest;
    };
    constexpr Blend kBlends[] = {{"add", D3DBLENDOP_ADD, D3DBLEND_ONE, D3DBLEND_ONE},
                                 {"alpha", D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                 {"min", D3DBLENDOP_MIN, D3DBLEND_ONE, D3DBLEND_ONE}};
    if (text == "off") {
      states.emplace_back(D3DRS_ALPHABLENDENABLE, FALSE);
      return true;
    }
    auto it = std::find_if(std::begin(kBlends), std::end(kBlends), [&](const Blend& b) { return b.text == text; });
    if (it == std::end(kBlends)) return false;
    states.emplace_back(D3DRS_ALPHABLENDENABLE, TRUE);
    states.emplace_back(D3DRS_BLENDOP, it->op);
    states.emplace_back(D3DRS_SRCBLEND, it->src);
    states.emplace_back(D3DRS_DESTBLEND, it->dest);
  } else {
    return false;
  }
  return true;
}

bool uniformKind(std::string_view type, UniformKind& kind) {
  constexpr std::pair<std::string_view, UniformKind> kKinds[] = {
      {"float", UniformKind::Float}, {"vec2", UniformKind::Vec2}, {"vec3", UniformKind::Vec3},
      {"vec4", UniformKind::Vec4},   {"mat4", UniformKind::Mat4}, {"sampler2D", UniformKind::Sampler}};
  for (const auto& [name, k] : kKinds) {
    if (name == type) {
      kind = k;
      return true;
    }
  }
  return false;
}

class Parser {
public:
  Parser(const std::string& path, EffectSource& out, std::string& errors) : path_(path), out_(out), errors_(errors) {}

  bool run(std::string_view text) {
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
      std::size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(pos, end - pos);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ++lineNumber;
      if (line.substr(0, 3) == "---") {
        header(line.substr(3), lineNumber);
      } else {
        body(line, lineNumber);
      }
      pos = end + 1;
    }
    finish();
    return ok_;
  }

private:
  void fail(int line, const std::string& message) {
    errors_ += path_ + "(" + std::to_string(line) + "): " + message + "\n";
    ok_ = false;
  }

  void header(std::string_view rest, int line) {
    auto w = words(rest);
    current_ = nullptr;
    if (w.empty()) return fail(line, "empty section header");
    if (w[0] == "common" && w.size() == 1) {
      if (sawCommon_) return fail(line, "a second common section");
      sawCommon_ = true;
      out_.common.firstLine = line + 1;
      current_ = &out_.common;
    } else if ((w[0] == "vertex" || w[0] == "fragment") && w.size() == 2) {
      auto& list = w[0] == "vertex" ? out_.vertexShaders : out_.fragmentShaders;
      if (findShader(list, w[1])) return fail(line, "a second " + std::string(w[0]) + " shader named " + std::string(w[1]));
      list.push_back(ShaderText{std::string(w[1]), "", line + 1});
      current_ = &list.back();
    } else if (w[0] == "pass" && w.size() >= 4) {
      passHeader(w, line);
    } else if (w[0] == "sampler" && w.size() >= 2) {
      samplerHeader(w, line);
    } else {
      fail(line, "unknown section header '---" + std::string(rest) + "'");
    }
  }

  void passHeader(const std::vector<std::string_view>& w, int line) {
    PassSpec pass;
    pass.line = line;
    if (!parseUnsigned(w[1], pass.number)) return fail(line, "pass number expected");
    pass.vertex = w[2];
    pass.fragment = w[3];
    for (std::size_t i = 4; i < w.size(); ++i) {
      if (!parseState(w[i], pass.states)) return fail(line, "unknown pass state '" + std::string(w[i]) + "'");
    }
    out_.passes.push_back(std::move(pass));
  }

  void samplerHeader(const std::vector<std::string_view>& w, int line) {
    SamplerSpec sampler{std::string(w[1]), {}};
    for (std::size_t i = 2; i < w.size(); ++i) {
      if (w[i] == "clamp" || w[i] == "wrap") {
        sampler.state.clamp = w[i] == "clamp";
      } else if (w[i] == "linear" || w[i] == "point") {
        sampler.state.linear = w[i] == "linear";
      } else {
        return fail(line, "unknown sampler state '" + std::string(w[i]) + "'");
      }
    }
    out_.samplers.push_back(std::move(sampler));
  }

  void body(std::string_view line, int lineNumber) {
    if (current_) {
      current_->text.append(line).append("\n");
      uniformDeclaration(line, lineNumber);
      return;
    }
    auto w = words(line);
    if (!w.empty() && w[0].substr(0, 2) != "//") fail(lineNumber, "text outside a shader section");
  }

  // "uniform TYPE NAME[N] = init, NAME2;" at the start of a line declares parameters; an
  // initialiser stays in the GLSL and gives the value until the parameter is first set.
  void uniformDeclaration(std::string_view line, int lineNumber) {
    std::string_view type, names;
    if (!matchUniformLine(line, type, names)) return;
    UniformKind kind;
    if (!uniformKind(type, kind)) return fail(lineNumber, "unsupported uniform type " + std::string(type));
    for (std::string item : splitTopLevel(std::string(names))) {
      if (auto eq = item.find('='); eq != std::string::npos) item.resize(eq);
      std::string_view name, length;
      if (!matchUniformName(item, name, length)) return fail(lineNumber, "cannot read uniform '" + item + "'");
      unsigned count = 1;
      if (!length.empty() && (!parseUnsigned(length, count) || count == 0 || count > 4096))
        return fail(lineNumber, "bad array length in '" + item + "'");
      addUniform(UniformSpec{std::string(name), kind, count}, lineNumber);
    }
  }

  // Splits at the commas outside parentheses, so "a = vec2(0.5, 1.0), b" is two items.
  static std::vector<std::string> splitTopLevel(const std::string& text) {
    std::vector<std::string> items(1);
    int depth = 0;
    for (char c : text) {
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (c == ',' && depth == 0) {
        items.emplace_back();
      } else {
        items.back() += c;
      }
    }
    return items;
  }

  void addUniform(UniformSpec uniform, int line) {
    for (const UniformSpec& known : out_.uniforms) {
      if (known.name != uniform.name) continue;
      if (known.kind != uniform.kind || known.count != uniform.count)
        fail(line, "uniform " + uniform.name + " declared twice with different types");
      return;
    }
    out_.uniforms.push_back(std::move(uniform));
  }

  static const ShaderText* findShader(const std::vector<ShaderText>& list, std::string_view name) {
    for (const ShaderText& s : list)
      if (s.name == name) return &s;
    return nullptr;
  }

  void finish() {
    std::stable_sort(out_.passes.begin(), out_.passes.end(),
                     [](const PassSpec& a, const PassSpec& b) { return a.number < b.number; });
    for (std::size_t i = 0; i < out_.passes.size(); ++i) {
      const PassSpec& pass = out_.passes[i];
      if (pass.number != i) fail(pass.line, "passes must be numbered 0, 1, 2 … without gaps or repeats");
      if (!findShader(out_.vertexShaders, pass.vertex)) fail(pass.line, "no vertex shader named " + pass.vertex);
      if (!findShader(out_.fragmentShaders, pass.fragment)) fail(pass.line, "no fragment shader named " + pass.fragment);
    }
    for (const SamplerSpec& sampler : out_.samplers) {
      bool declared = std::any_of(out_.uniforms.begin(), out_.uniforms.end(), [&](const UniformSpec& u) {
        return u.name == sampler.name && u.kind == UniformKind::Sampler;
      });
      if (!declared) fail(0, "sampler state for " + sampler.name + ", which is not a sampler2D uniform");
    }
  }

  const std::string& path_;
  EffectSource& out_;
  std::string& errors_;
  ShaderText* current_ = nullptr;
  bool sawCommon_ = false;
  bool ok_ = true;
};

}  // namespace

bool parseEffectFile(std::string_view text, const std::string& path, EffectSource& out, std::string& errors) {
  out = EffectSource{};
  return Parser(path, out, errors).run(text);
}

std::string composeShader(const EffectSource& source, const ShaderText& shader) {
  std::string glsl = "#version 330 core\n";
  if (!source.common.text.empty())
    glsl += "#line " + std::to_string(source.common.firstLine) + "\n" + source.common.text;
  glsl += "#line " + std::to_string(shader.firstLine) + "\n" + shader.text;
  return glsl;
}

std::string effectCompileLog(const std::string& path, const std::string& log) {
  // Mesa writes "0:12(7): error: …", other drivers "0(12) : error …".
  std::string out;
  std::stringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    std::string_view lineNumber, message;
    if (matchCompilerMessage(line, lineNumber, message)) {
      out += path + "(" + std::string(lineNumber) + "): " + std::string(message) + "\n";
    } else {
      out += path + ": " + line + "\n";
    }
  }
  return out;
}

unsigned componentsOf(d3d9::UniformKind kind) {
  switch (kind) {
    case UniformKind::Float: return 1;
    case UniformKind::Vec2: return 2;
    case UniformKind::Vec3: return 3;
    case UniformKind::Vec4: return 4;
    case UniformKind::Mat4: return 16;
    case UniformKind::Sampler: return 0;
  }
  return 0;
}

}  // namespace d3dx9
