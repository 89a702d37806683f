// Test helper for the scene tests: replays one frame's trace lines into what each draw saw (the
// target it went to, the effect, pass and parameter values in force, the render states) and keeps
// the frame's other steps in order, so tests read a frame like the steps of its scene.
#pragma once

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/d3dx9/D3DXMath.h"

namespace scenetest {

// The raw JSON text of field `key` in a trace line ("" when absent); strings come back unescaped.
inline std::string field(std::string_view line, std::string_view key) {
  const std::string tag = "\"" + std::string(key) + "\":";
  std::size_t i = line.find(tag);
  if (i == std::string_view::npos) return {};
  i += tag.size();
  std::string out;
  if (line[i] == '"') {
    for (++i; i < line.size() && line[i] != '"'; ++i) out += line[i] == '\\' ? line[++i] : line[i];
    return out;
  }
  for (int depth = 0; i < line.size() && (depth > 0 || (line[i] != ',' && line[i] != '}')); ++i) {
    depth += line[i] == '[' ? 1 : line[i] == ']' ? -1 : 0;
    out += line[i];
  }
  return out;
}

// The numbers of a value: one for a number, all of them for an array.
inline std::vector<float> numbersOf(const std::string& raw) {
  std::vector<float> values;
  for (const char* p = raw.c_str(); *p;) {
    char* end = nullptr;
    const float v = std::strtof(p, &end);
    if (end == p) {
      ++p;
    } else {
      values.push_back(v);
      p = end;
    }
  }
  return values;
}

inline D3DXMATRIX inverse(const D3DXMATRIX& m) {
  D3DXMATRIX out;
  D3DXMatrixInverse(&out, nullptr, &m);
  return out;
}

// The eye of a look-at view matrix: the point it maps to the origin.
inline D3DXVECTOR3 eyeOfView(const D3DXMATRIX& view) {
  const D3DXMATRIX m = inverse(view);
  return {m._41, m._42, m._43};
}

// The far plane of a left-handed perspective projection, from its depth terms.
inline float farOf(const D3DXMATRIX& projection) { return projection._43 / (1.0f - projection._33); }

// One draw call and what was in force for it.
struct Draw {
  std::string target;  // the surface drawn into ("backbuffer" before any target is set)
  std::string effect;  // effect file path, "" outside any pass
  int pass = -1;
  std::string vb;
  int primitives = 0;
  std::map<std::string, std::string> states;  // render state name -> value text
  std::map<std::string, std::string> params;  // parameter -> raw value (texture name for samplers)

  std::string state(const std::string& name) const {
    auto it = states.find(name);
    return it == states.end() ? "" : it->second;
  }
  std::string param(const std::string& name) const {
    auto it = params.find(name);
    return it == params.end() ? "" : it->second;
  }
  float value(const std::string& name) const {
    std::vector<float> v = values(name);
    return v.empty() ? std::nanf("") : v[0];
  }
  std::vector<float> values(const std::string& name) const { return numbersOf(param(name)); }
  D3DXMATRIX matrix(const std::string& name) const {
    std::vector<float> v = values(name);
    v.resize(16, 0.0f);
    return D3DXMATRIX(v.data());
  }
  // "effect.fx/pass mesh @target cull z blend [op src dst]", names without their folders.
  std::string summary() const {
    auto base = [](const std::string& s) { return s.substr(s.find_last_of('\\') + 1); };
    auto state = [this](const char* n) {
      const std::string v = this->state(n);
      return v.empty() ? std::string("?") : v;
    };
    std::string s = base(effect) + "/" + std::to_string(pass) + " " + base(vb) + " @" + target + " " +
                    state("CULLMODE") + " z=" + state("ZENABLE") + " blend=" + state("ALPHABLENDENABLE");
    if (state("ALPHABLENDENABLE") == "true") s += " " + state("BLENDOP") + " " + state("SRCBLEND") + " " + state("DESTBLEND");
    return s;
  }
};

// A frame: its scene event, its draws, its passes ("<effect> <pass>") and its steps in order
// ("clear <target> <colour>", "stretchRect <from> <to>", "setRenderTarget <surface>",
// "beginScene", "endScene", "present", and "draw <mesh>" in place).
struct SceneFrame {
  explicit SceneFrame(const std::vector<std::string>& lines) {
    std::string target = "backbuffer", effect;
    int pass = -1;
    std::map<std::string, std::string> states;
    std::map<std::string, std::map<std::string, std::string>> params;
    for (const std::string& line : lines) {
      const std::string ev = field(line, "ev");
      if (ev == "scene") {
        renderer = field(line, "renderer");
        args = numbersOf(field(line, "args"));
      } else if (ev == "state") {
        states[field(line, "name")] = field(line, "value");
      } else if (ev == "setRenderTarget") {
        target = field(line, "surface");
        steps.push_back(ev + " " + target);
      } else if (ev == "setMatrix" || ev == "setFloat" || ev == "setFloatArray" || ev == "setTexture") {
        params[field(line, "effect")][field(line, "param")] =
            field(line, ev == "setMatrix" ? "m" : ev == "setTexture" ? "texture" : "v");
      } else if (ev == "beginPass") {
        effect = field(line, "effect");
        pass = std::atoi(field(line, "pass").c_str());
        passes.push_back(effect + " " + std::to_string(pass));
      } else if (ev == "endPass") {
        effect.clear();
      } else if (ev == "draw") {
        draws.push_back({target, effect, pass, field(line, "vb"), std::atoi(field(line, "primitives").c_str()), states,
                         params[effect]});
        steps.push_back("draw " + draws.back().vb);
      } else if (ev == "clear") {
        steps.push_back("clear " + target + " " + field(line, "color"));
      } else if (ev == "stretchRect") {
        steps.push_back(ev + " " + field(line, "from") + " " + field(line, "to"));
      } else if (ev == "present" || ev == "beginScene" || ev == "endScene") {
        steps.push_back(ev);
      } else if (ev == "messageBox") {
        messages.push_back(field(line, "caption") + ": " + field(line, "text"));
      }
      counts[ev] += 1;
    }
    commits = count("commit");
    effectBegins = count("effectBegin");
    effectEnds = count("effectEnd");
  }

  // The draws of one vertex buffer, in order.
  std::vector<Draw> drawsOf(std::string_view vb) const {
    std::vector<Draw> found;
    for (const Draw& d : draws)
      if (d.vb == vb) found.push_back(d);
    return found;
  }

  // The steps with the given first word, in order.
  std::vector<std::string> stepsOf(std::string_view kind) const {
    std::vector<std::string> found;
    for (const std::string& s : steps)
      if (s.compare(0, kind.size(), kind) == 0 && (s.size() == kind.size() || s[kind.size()] == ' '))
        found.push_back(s);
    return found;
  }

  std::vector<std::string> summaries() const {
    std::vector<std::string> out;
    for (const Draw& d : draws) out.push_back(d.summary());
    return out;
  }
  int count(const std::string& ev) const {
    auto it = counts.find(ev);
    return it == counts.end() ? 0 : it->second;
  }

  std::string renderer;
  std::vector<float> args;
  std::vector<Draw> draws;
  std::vector<std::string> steps, passes, messages;
  std::map<std::string, int> counts;  // events of each kind
  int commits = 0, effectBegins = 0, effectEnds = 0;
};

}  // namespace scenetest
