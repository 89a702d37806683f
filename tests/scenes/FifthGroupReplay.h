// Test helper for the fifth to seventh scenes' frame tests: replays one frame's trace lines as the
// device and the effect framework apply them, listing every draw with its target, render states,
// effect, pass and the parameter values its pass had uploaded (set before BeginPass or before the
// last CommitChanges: a value set inside a pass without a commit does not reach the draw).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "render/Cameras.h"
#include "tests/support/ShowFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"
#include "timeline/SpectrumTrack.h"

namespace fifthgroup {

// Top-level key -> raw value of one JSON line (strings unescaped; numbers, booleans, arrays as written).
inline std::map<std::string, std::string> parseLine(const std::string& line) {
  std::map<std::string, std::string> fields;
  std::size_t i = 1;
  auto readString = [&] {
    std::string out;
    for (++i; i < line.size() && line[i] != '"'; ++i) out += line[i] == '\\' ? line[++i] : line[i];
    ++i;
    return out;
  };
  while (i < line.size() && line[i] == '"') {
    std::string key = readString();
    ++i;
    if (line[i] == '"') {
      fields[key] = readString();
    } else {
      std::size_t end = line[i] == '[' ? line.find(']', i) + 1 : line.find_first_of(",}", i);
      fields[key] = line.substr(i, end - i);
      i = end;
    }
    if (i < line.size() && line[i] == ',') ++i;
  }
  return fields;
}

inline std::vector<float> numbers(const std::string& raw) {
  std::vector<float> out;
  for (const char* p = raw.c_str(); *p;) {
    char* end = nullptr;
    float v = std::strtof(p, &end);
    if (end == p) {
      ++p;
    } else {
      out.push_back(v);
      p = end;
    }
  }
  return out;
}

inline D3DXMATRIX inverse(const D3DXMATRIX& m) {
  D3DXMATRIX out;
  D3DXMatrixInverse(&out, nullptr, &m);
  return out;
}

// The eye of a view matrix: the origin of the camera's space in world space.
inline D3DXVECTOR3 eyeOf(const D3DXMATRIX& view) {
  D3DXMATRIX w = inverse(view);
  return {w._41, w._42, w._43};
}

inline D3DXMATRIX lookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& target) {
  D3DXMATRIX m;
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&m, &eye, &target, &up);
  return m;
}

inline D3DXMATRIX perspective(float fov, float nearPlane, float farPlane) {
  D3DXMATRIX m;
  D3DXMatrixPerspectiveFovLH(&m, fov, 4.0f / 3.0f, nearPlane, farPlane);
  return m;
}

// A camera path sampled at t, leaving the stage's path as it was.
inline assets::Camera sampled(const assets::CameraPath& path, float t) {
  assets::CameraPath copy = path;
  render::sampleCamera(copy, t);
  return copy.camera;
}

struct Draw {
  std::string vb, target, effect;
  int pass = -1, base = 0, vertices = 0, primitives = 0;
  std::map<std::string, std::string> states, params;

  std::string param(const std::string& name) const { return params.count(name) ? params.at(name) : ""; }
  std::string state(const std::string& name) const { return states.count(name) ? states.at(name) : ""; }
  float value(const std::string& name) const {
    std::vector<float> v = numbers(param(name));
    return v.empty() ? std::nanf("") : v[0];
  }
  D3DXVECTOR3 vector(const std::string& name) const {
    std::vector<float> v = numbers(param(name));
    v.resize(3, std::nanf(""));
    return {v[0], v[1], v[2]};
  }
  D3DXMATRIX matrix(const std::string& name) const {
    std::vector<float> v = numbers(param(name));
    v.resize(16, std::nanf(""));
    return D3DXMATRIX(v.data());
  }
};

struct FrameReplay {
  std::vector<Draw> draws;
  // "clear <target> <colour>", "draw <vb>", "stretchRect <from> <to>", "setRenderTarget <surface>",
  // "beginScene", "endScene", "present", in order.
  std::vector<std::string> steps;
  std::vector<std::string> messages;
  std::string renderer;
  std::vector<float> args;
  int presents = 0;
  int drawsOutsidePasses = 0;

  explicit FrameReplay(const std::vector<std::string>& lines) {
    std::string target = "backbuffer", effect;
    std::map<std::string, std::string> states;
    std::map<std::string, std::map<std::string, std::string>> pending, applied;
    int pass = -1;
    for (const std::string& line : lines) {
      auto f = parseLine(line);
      const std::string& ev = f["ev"];
      if (ev == "scene") {
        renderer = f["renderer"];
        args = numbers(f["args"]);
      } else if (ev == "setRenderTarget") {
        target = f["surface"];
        steps.push_back(ev + " " + target);
      } else if (ev == "stretchRect") {
        steps.push_back(ev + " " + f["from"] + " " + f["to"]);
      } else if (ev == "beginScene" || ev == "endScene" || ev == "present") {
        steps.push_back(ev);
        presents += ev == "present";
      } else if (ev == "clear") {
        steps.push_back(ev + " " + target + " " + f["color"]);
      } else if (ev == "messageBox") {
        messages.push_back(f["caption"] + ": " + f["text"]);
      } else if (ev == "state") {
        states[f["name"]] = f["value"];
      } else if (ev == "setMatrix" || ev == "setFloat" || ev == "setFloatArray" || ev == "setTexture") {
        pending[f["effect"]][f["param"]] = ev == "setMatrix" ? f["m"] : ev == "setTexture" ? f["texture"] : f["v"];
      } else if (ev == "beginPass" || ev == "commit") {
        if (ev == "beginPass") pass = std::atoi(f["pass"].c_str());
        effect = f["effect"];
        applied[effect] = pending[effect];
      } else if (ev == "endPass") {
        pass = -1;
      } else if (ev == "draw") {
        drawsOutsidePasses += pass < 0;
        draws.push_back({f["vb"], target, effect, pass, std::atoi(f["base"].c_str()), std::atoi(f["vertices"].c_str()),
                         std::atoi(f["primitives"].c_str()), states, applied[effect]});
        steps.push_back(ev + " " + f["vb"]);
      }
    }
  }
};

// Effect, texture and mesh names as the trace writes them.
inline constexpr const char* kLineFx = "quarvdemo\\shaders\\render3_line.fx";
inline constexpr const char* kLine1Fx = "quarvdemo\\shaders\\r1_line.fx";
inline constexpr const char* kBakke1Fx = "quarvdemo\\shaders\\r1_bakke.fx";
inline constexpr const char* kTextFx = "quarvdemo\\shaders\\demo1_text.fx";
inline constexpr const char* kStageParticleFx = "quarvdemo\\shaders\\demo2_partikkel.fx";
inline constexpr const char* kCubeFx = "quarvdemo\\shaders\\r5_kubepiss.fx";
inline constexpr const char* kDepthFx = "quarvdemo\\shaders\\demo1_depthoffield.fx";
inline constexpr const char* kBlurFx = "quarvdemo\\shaders\\blur.fx";
inline constexpr const char* kQuad = "fullScreenQuad";

inline std::string grid(int i) { return "MainStage.planeGrids[" + std::to_string(i) + "]"; }

// Cull, depth test, blending; then, where given, blend operation and factors.
inline void expectStates(const Draw& d, const std::vector<std::string>& expected) {
  static const char* names[] = {"CULLMODE", "ZENABLE", "ALPHABLENDENABLE", "BLENDOP", "SRCBLEND", "DESTBLEND"};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(d.state(names[i]), expected[i]) << d.vb << " " << d.effect;
}
inline const std::vector<std::string> kSourceAlpha = {"ADD", "SRCALPHA", "INVSRCALPHA"};
inline std::vector<std::string> states(std::vector<std::string> head, const std::vector<std::string>& blend = {}) {
  head.insert(head.end(), blend.begin(), blend.end());
  return head;
}

inline void expectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tolerance, const std::string& what) {
  EXPECT_LE(std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z), tolerance)
      << what << ": (" << a.x << ", " << a.y << ", " << a.z << ") vs (" << b.x << ", " << b.y << ", " << b.z << ")";
}

// Element by element, within `tolerance` times the larger of 1 and the expected element.
inline void expectNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float tolerance, const std::string& what) {
  for (int i = 0; i < 16; ++i) {
    const float expected = (&b._11)[i];
    EXPECT_NEAR((&a._11)[i], expected, tolerance * std::max(1.0f, std::fabs(expected))) << what << " [" << i << "]";
  }
}

// The frame overlay is the last draw, no message box showed, no draw ran outside a pass, and the
// frame presents once, as its last step.
inline void expectOverlayLastAndOnePresent(const FrameReplay& frame) {
  ASSERT_FALSE(frame.draws.empty());
  const Draw& last = frame.draws.back();
  EXPECT_EQ(last.vb + " " + last.effect + " " + last.param("tex0") + " " + last.target,
            std::string(kQuad) + " " + kTextFx + " quarvdemo\\overlay02.png backbuffer");
  EXPECT_FLOAT_EQ(last.value("alpha1"), 1.0f);
  EXPECT_EQ(frame.presents, 1);
  EXPECT_EQ(frame.steps.back(), "present");
  EXPECT_EQ(frame.drawsOutsidePasses, 0);
  EXPECT_TRUE(frame.messages.empty()) << frame.messages.front();
}

// The trace of whatever `draw` does with the show (a renderer called straight, bypassing the schedule).
template <typename Fn>
FrameReplay drawDirect(Fn&& draw) {
  testsupport::Show& show = testsupport::Show::instance();
  testsupport::TraceCapture capture;
  draw(*show.main);
  return FrameReplay(capture.lines);
}

inline FrameReplay frameAt(double musicTime) { return FrameReplay(testsupport::Show::instance().frameAt(musicTime)); }

inline timeline::MainStage& mainStage() { return *testsupport::Show::instance().main; }

// While it lives spectrum bands 0, 1 and 2 read the given constants at every music time (all 0 for
// a silent piece); the recorded track is loaded again after.
class FixedSpectrum {
public:
  FixedSpectrum(float s0, float s1, float s2) {
    testsupport::Show::instance();
    constexpr std::uint32_t kRecords = 9000, kBands = 3;
    const std::uint32_t header[2] = {kRecords, kBands};
    std::vector<float> records(std::size_t(kRecords) * kBands);
    for (std::size_t i = 0; i < records.size(); i += kBands) {
      records[i] = s0;
      records[i + 1] = s1;
      records[i + 2] = s2;
    }
    std::string bytes(sizeof header + records.size() * sizeof(float), '\0');
    std::memcpy(bytes.data(), header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, records.data(), records.size() * sizeof(float));
    loaded = timeline::spectrumTrack().load(dir_.write("fixed.txt", bytes).c_str());
  }
  ~FixedSpectrum() { timeline::spectrumTrack().load("RV07\\syncdata\\fft.txt"); }
  FixedSpectrum(const FixedSpectrum&) = delete;
  FixedSpectrum& operator=(const FixedSpectrum&) = delete;

  bool loaded = false;

private:
  testsupport::TempDir dir_;
};

}  // namespace fifthgroup
