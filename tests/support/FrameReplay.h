// Test support for the scene tests: replays a frame's trace lines as the device sees them (each draw
// with its target, states, effect, pass and the values its pass uploaded), its steps in order, and
// the matrix and point checks the scene tests share; the expectations stay in the tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "assets/CameraPath.h"
#include "platform/d3dx9/D3DXMath.h"
#include "tests/support/ShowFixture.h"
#include "tests/support/TempDir.h"

namespace testsupport {

// The raw JSON text of field `key` of a trace line ("" when absent); strings come back unescaped.
std::string field(std::string_view line, std::string_view key);
// The numbers of a raw value: one for a number, all of them for an array.
std::vector<float> numbersOf(const std::string& raw);
std::string join(const std::vector<std::string>& parts, const std::string& separator);

// Effect and mesh names as the trace writes them.
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

// One draw call and what the device had for it.
struct Draw {
  std::string target;  // the surface drawn into ("backbuffer" before any target is set)
  std::string effect;  // effect file path, "" outside any pass
  std::string vb;
  int pass = -1, base = 0, vertices = 0, primitives = 0;
  std::map<std::string, std::string> states;  // render state name -> value text
  std::map<std::string, std::string> params;  // parameter -> raw value (texture name for samplers)

  std::string state(const std::string& name) const;
  std::string param(const std::string& name) const;
  std::vector<float> values(const std::string& name) const { return numbersOf(param(name)); }
  float value(const std::string& name) const;  // NaN when unset
  D3DXVECTOR3 vector(const std::string& name) const;
  D3DXMATRIX matrix(const std::string& name) const;
  // "CULLMODE ZENABLE ALPHABLENDENABLE", then "BLENDOP SRCBLEND DESTBLEND" when blending is on.
  std::string stateSummary() const;
  // "effect.fx/pass mesh @target " + stateSummary(), names without their folders.
  std::string summary() const;
};

// A frame: its scene event, its draws, its passes ("<effect file> <pass>"), the flags of each
// clear, and its steps in order ("clear <target> <colour>", "stretchRect <from> <to>",
// "setRenderTarget <surface>", "beginScene", "endScene", "present", "draw <mesh>").
//
// Parameters reach a draw as the effect uploads them: every value set so far at BeginPass, then
// only at CommitChanges; a value set inside a pass without a commit is not seen by the draw.
struct Frame {
  explicit Frame(const std::vector<std::string>& lines);

  // The draws of one vertex buffer (into one target, when given), in order.
  std::vector<Draw> drawsOf(std::string_view vb, std::string_view target = {}) const;
  // The steps with the given first word, in order.
  std::vector<std::string> stepsOf(std::string_view kind) const;
  std::vector<std::string> summaries() const;
  int count(const std::string& ev) const;  // events of that kind in the trace

  std::string renderer;
  std::vector<float> args;
  std::vector<Draw> draws;
  std::vector<std::string> steps, passes, clears, messages;
  std::map<std::string, int> counts;
};

// The frame the schedule draws at a music time.
inline Frame frameAt(double musicTime) { return Frame(Show::instance().frameAt(musicTime)); }

// The frame of whatever `draw` does with the show (a renderer called straight, bypassing the schedule).
template <typename Fn>
Frame drawDirect(Fn&& draw) {
  Show& show = Show::instance();
  TraceCapture capture;
  draw(show);
  return Frame(capture.lines);
}

// The overlay is the frame's last draw, no message box showed, every draw ran inside a pass and
// the frame presents once, as its last step.
void expectOverlayLastAndOnePresent(const Frame& frame, const std::string& what = {});

D3DXMATRIX inverse(const D3DXMATRIX& m);
D3DXMATRIX lookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& target);  // up (0, 1, 0)
D3DXMATRIX perspective(float fov, float nearPlane, float farPlane);    // 4:3
D3DXVECTOR3 apply(const D3DXMATRIX& m, const D3DXVECTOR3& p);
// Uniform scale, then up by `height`: the world of a sky dome.
D3DXMATRIX domeWorld(float scale, float height);
// The eye of a look-at view matrix: the point it maps to the origin.
D3DXVECTOR3 eyeOf(const D3DXMATRIX& view);

struct Planes {
  float nearPlane, farPlane;
};
// The planes of the left-handed perspective projection view^-1 x viewProjection.
Planes planesOf(const D3DXMATRIX& view, const D3DXMATRIX& viewProjection);

// A camera path sampled at t, leaving the path as it was.
assets::Camera sampled(const assets::CameraPath& path, float t);

inline float after(float t) { return std::nextafter(t, 1e9f); }

// Every element within `tolerance` times the larger of 1 and the expected element.
::testing::AssertionResult matricesNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tolerance = 1e-4f);
// Every coordinate within `tolerance`.
::testing::AssertionResult pointsNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance);

// While it lives spectrum bands 0, 1 and 2 read the given constants at every music time; the
// recorded track is loaded again after.
class FixedSpectrum {
public:
  FixedSpectrum(float s0 = 0.0f, float s1 = 0.0f, float s2 = 0.0f);
  ~FixedSpectrum();
  FixedSpectrum(const FixedSpectrum&) = delete;
  FixedSpectrum& operator=(const FixedSpectrum&) = delete;

  bool loaded = false;

private:
  TempDir dir_;
};

}  // namespace testsupport
