// Test helper for the third and fourth scenes' frames: one frame's trace read back into its steps,
// passes and draws (each with the target, effect, pass, render states and parameters in force),
// frames drawn directly or by the schedule, view-projections built from a camera's described
// values, and matrix and point comparisons.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/d3dx9/D3DXMath.h"
#include "tests/support/ShowFixture.h"
#include "tests/support/TraceCapture.h"

namespace organtest {

// The raw JSON text of field `key` of a trace line; strings come back unescaped.
inline std::string field(std::string_view line, std::string_view key) {
  const std::size_t at = line.find("\"" + std::string(key) + "\":");
  if (at == std::string_view::npos) return {};
  std::size_t i = at + key.size() + 3;
  std::string out;
  if (line[i] == '"') {
    for (++i; i < line.size() && line[i] != '"'; ++i) out += line[i] == '\\' ? line[++i] : line[i];
    return out;
  }
  for (int depth = 0; i < line.size() && !(depth == 0 && (line[i] == ',' || line[i] == '}')); ++i) {
    depth += line[i] == '[' ? 1 : line[i] == ']' ? -1 : 0;
    out += line[i];
  }
  return out;
}

inline std::vector<float> numbersOf(const std::string& raw) {
  std::vector<float> values;
  for (const char* p = raw.c_str(); *p;) {
    char* end = nullptr;
    const float v = std::strtof(p, &end);
    if (end != p && (std::isdigit(static_cast<unsigned char>(*p)) || *p == '-' || *p == '.')) {
      values.push_back(v);
      p = end;
    } else {
      ++p;
    }
  }
  return values;
}

// One draw and what was in force for it.
struct Draw {
  std::string target, effect, vb;
  int pass = -1;
  std::map<std::string, std::string> states, params;

  std::string param(const std::string& name) const { return params.count(name) ? params.at(name) : ""; }
  std::vector<float> values(const std::string& name) const { return numbersOf(param(name)); }
  float value(const std::string& name) const {
    const std::vector<float> v = values(name);
    return v.empty() ? std::nanf("") : v[0];
  }
  D3DXMATRIX matrix(const std::string& name) const {
    std::vector<float> v = values(name);
    v.resize(16, 0.0f);
    return D3DXMATRIX(v.data());
  }
  // "CULLMODE ZENABLE ALPHABLENDENABLE", then "BLENDOP SRCBLEND DESTBLEND" when blending is on.
  std::string stateSummary() const {
    auto state = [this](const char* name) { return states.count(name) ? states.at(name) : "?"; };
    std::string s = state("CULLMODE") + " " + state("ZENABLE") + " " + state("ALPHABLENDENABLE");
    if (state("ALPHABLENDENABLE") == "true")
      s += " " + state("BLENDOP") + " " + state("SRCBLEND") + " " + state("DESTBLEND");
    return s;
  }
};

// A frame: steps other than parameter setting joined by " | " ("setRenderTarget <surface>",
// "beginScene", "clear <target> <colour>", "draw <mesh>", "endScene", "stretchRect <from> <to>",
// "present"), passes begun ("<effect> <pass>" joined the same way), draws, message boxes.
struct Frame {
  explicit Frame(const std::vector<std::string>& lines) {
    std::string target = "backbuffer", effect;
    int pass = -1;
    std::map<std::string, std::string> states;
    std::map<std::string, std::map<std::string, std::string>> params;
    auto step = [this](const std::string& s) { steps += (steps.empty() ? "" : " | ") + s; };
    for (const std::string& line : lines) {
      const std::string ev = field(line, "ev");
      if (ev == "scene") {
        renderer = field(line, "renderer");
        args = numbersOf(field(line, "args"));
      } else if (ev == "state") {
        states[field(line, "name")] = field(line, "value");
      } else if (ev == "setMatrix" || ev == "setFloat" || ev == "setFloatArray" || ev == "setTexture") {
        params[field(line, "effect")][field(line, "param")] = field(line, ev == "setMatrix"    ? "m"
                                                                          : ev == "setTexture" ? "texture"
                                                                                               : "v");
      } else if (ev == "beginPass") {
        effect = field(line, "effect");
        pass = std::atoi(field(line, "pass").c_str());
        passes +=
            (passes.empty() ? "" : " | ") + effect.substr(effect.find_last_of('\\') + 1) + " " + std::to_string(pass);
      } else if (ev == "endPass") {
        effect.clear();
      } else if (ev == "commit") {
        ++commits;
      } else if (ev == "draw") {
        draws.push_back({target, effect, field(line, "vb"), pass, states, params[effect]});
        step("draw " + draws.back().vb);
      } else if (ev == "setRenderTarget") {
        target = field(line, "surface");
        step(ev + " " + target);
      } else if (ev == "clear") {
        step(ev + " " + target + " " + field(line, "color"));
      } else if (ev == "stretchRect") {
        step(ev + " " + field(line, "from") + " " + field(line, "to"));
      } else if (ev == "beginScene" || ev == "endScene" || ev == "present") {
        step(ev);
      } else if (ev == "messageBox") {
        messages.push_back(field(line, "caption") + ": " + field(line, "text"));
      }
    }
  }

  std::vector<Draw> drawsOf(const std::string& vb) const {
    std::vector<Draw> found;
    for (const Draw& d : draws)
      if (d.vb == vb) found.push_back(d);
    return found;
  }

  std::string renderer, steps, passes;
  std::vector<float> args;
  std::vector<Draw> draws;
  std::vector<std::string> messages;
  int commits = 0;
};

// A renderer called directly with the show's stages.
template <typename Renderer>
Frame drawDirect(Renderer&& draw) {
  testsupport::Show& show = testsupport::Show::instance();
  testsupport::TraceCapture capture;
  draw(show);
  return Frame(capture.lines);
}

inline Frame frameAt(double musicTime) { return Frame(testsupport::Show::instance().frameAt(musicTime)); }

inline D3DXMATRIX inverse(const D3DXMATRIX& m) {
  D3DXMATRIX out;
  D3DXMatrixInverse(&out, nullptr, &m);
  return out;
}

// Look-at with up (0, 1, 0) times a 4:3 perspective.
inline D3DXMATRIX viewProjection(D3DXVECTOR3 eye, D3DXVECTOR3 target, float fov, float nearPlane, float farPlane) {
  const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
  D3DXMATRIX view, projection;
  D3DXMatrixLookAtLH(&view, &eye, &target, &up);
  D3DXMatrixPerspectiveFovLH(&projection, fov, 4.0f / 3.0f, nearPlane, farPlane);
  return view * projection;
}

inline D3DXVECTOR3 apply(const D3DXMATRIX& m, const D3DXVECTOR3& p) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &m);
  return out;
}

// Entry by entry, relative to the largest entry of `expected`.
inline ::testing::AssertionResult matricesNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected,
                                               float tolerance = 1e-4f) {
  float scale = 1.0f;
  for (int i = 0; i < 16; ++i) scale = std::max(scale, std::fabs(expected.m[i / 4][i % 4]));
  for (int i = 0; i < 16; ++i)
    if (std::fabs(actual.m[i / 4][i % 4] - expected.m[i / 4][i % 4]) > tolerance * scale)
      return ::testing::AssertionFailure()
             << "entry " << i << ": " << actual.m[i / 4][i % 4] << " vs " << expected.m[i / 4][i % 4];
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult pointsNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance) {
  const D3DXVECTOR3 d = actual - expected;
  if (std::fabs(d.x) <= tolerance && std::fabs(d.y) <= tolerance && std::fabs(d.z) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") vs ("
                                       << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// The eye of a look-at view matrix: the point it maps to the origin.
inline D3DXVECTOR3 eyeOf(const D3DXMATRIX& view) {
  const D3DXMATRIX back = inverse(view);
  return {back._41, back._42, back._43};
}

// The far plane of a left-handed perspective projection whose near plane is `nearPlane`.
inline float farOf(const D3DXMATRIX& projection, float nearPlane) {
  return nearPlane + nearPlane / (projection._33 - 1.0f);
}

}  // namespace organtest
