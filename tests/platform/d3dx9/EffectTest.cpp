#include "platform/d3dx9/Effect.h"

#include <gtest/gtest.h>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/TraceDeviceHolder.h"

namespace {

using d3d9::ComPtr;

constexpr const char* kTwoPassEffect = R"(// blur.fx: two passes
--- common
uniform mat4 matProjection;
uniform sampler2D tex0;
uniform vec2 ps;
uniform float alpha1 = 1.0, gamma;
uniform vec4 weights[3] = vec4[3](vec4(1.0, 0.0, 0.0, 1.0), vec4(0.5), vec4(0.25));
--- vertex quad
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = matProjection * vec4(inPosition, 1.0); }
--- fragment horizontal
out vec4 colour;
void main() { colour = texture(tex0, vec2(ps.x, 0.0)) * alpha1; }
--- fragment vertical
out vec4 colour;
void main() { colour = texture(tex0, vec2(0.0, ps.y)) * gamma; }
--- pass 1 quad vertical blend=add zenable=false
--- pass 0 quad horizontal cull=none
--- sampler tex0 clamp point
)";

TEST(EffectFile, ReadsSectionsPassesUniformsAndSamplers) {
  d3dx9::EffectSource source;
  std::string errors;
  ASSERT_TRUE(d3dx9::parseEffectFile(kTwoPassEffect, "blur.fx", source, errors)) << errors;
  EXPECT_EQ(source.common.firstLine, 3);
  ASSERT_EQ(source.passes.size(), 2u);
  EXPECT_EQ(source.passes[0].fragment, "horizontal");
  EXPECT_EQ(source.passes[1].fragment, "vertical");
  // "blend=add" is the four blending states.
  ASSERT_EQ(source.passes[1].states.size(), 5u);
  EXPECT_EQ(source.passes[1].states[0], std::make_pair(D3DRS_ALPHABLENDENABLE, DWORD(TRUE)));
  EXPECT_EQ(source.passes[1].states[3], std::make_pair(D3DRS_DESTBLEND, DWORD(D3DBLEND_ONE)));
  EXPECT_EQ(source.passes[1].states[4], std::make_pair(D3DRS_ZENABLE, DWORD(FALSE)));

  ASSERT_EQ(source.uniforms.size(), 6u);
  EXPECT_EQ(source.uniforms[3].name, "alpha1");
  EXPECT_EQ(source.uniforms[4].name, "gamma");
  EXPECT_EQ(source.uniforms[5].count, 3u);
  EXPECT_EQ(source.uniforms[5].kind, d3d9::UniformKind::Vec4);
  ASSERT_EQ(source.samplers.size(), 1u);
  EXPECT_TRUE(source.samplers[0].state.clamp);
  EXPECT_FALSE(source.samplers[0].state.linear);
}

// Each mistake is reported with the file and the line it is on.
TEST(EffectFile, MistakesNameTheirLine) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"--- vertex v\nvoid main(){}\n--- fragment f\nvoid main(){}\n--- pass 0 v g\n", "x.fx(5): no fragment shader named g"},
      {"--- vertex v\n--- fragment f\n--- pass 1 v f\n", "x.fx(3): passes must be numbered"},
      {"--- vertex v\n--- fragment f\n--- pass 0 v f cull=sideways\n", "x.fx(3): unknown pass state 'cull=sideways'"},
      {"// fine\nstray text\n", "x.fx(2): text outside a shader section"},
      {"--- geometry g\n", "x.fx(1): unknown section header"},
      {"--- common\nuniform dvec3 d;\n", "x.fx(2): unsupported uniform type dvec3"},
      {"--- common\nuniform float a;\n--- vertex v\nuniform vec2 a;\n", "x.fx(4): uniform a declared twice"},
  };
  for (const Case& c : cases) {
    d3dx9::EffectSource source;
    std::string errors;
    EXPECT_FALSE(d3dx9::parseEffectFile(c.text, "x.fx", source, errors)) << c.text;
    EXPECT_NE(errors.find(c.expected), std::string::npos) << errors;
  }
}

TEST(EffectFile, ComposedShadersMapCompilerLinesBackToTheFile) {
  d3dx9::EffectSource source;
  std::string errors;
  ASSERT_TRUE(d3dx9::parseEffectFile(kTwoPassEffect, "blur.fx", source, errors));
  std::string glsl = d3dx9::composeShader(source, source.fragmentShaders[1]);
  EXPECT_EQ(glsl.rfind("#version 330 core\n#line 3\nuniform mat4 matProjection;", 0), 0u);
  EXPECT_NE(glsl.find("#line 15\nout vec4 colour;"), std::string::npos);

  std::string log = "0:16(12): error: `colr' undeclared\n0(4) : error C0000: syntax error\nlink failed\n";
  EXPECT_EQ(d3dx9::effectCompileLog("quarvdemo\\shaders\\blur.fx", log),
            "quarvdemo\\shaders\\blur.fx(16): error: `colr' undeclared\n"
            "quarvdemo\\shaders\\blur.fx(4): error C0000: syntax error\n"
            "quarvdemo\\shaders\\blur.fx: link failed\n");
}

// Records what the effect framework hands to pass programs.
struct RecordingCompiler final : d3d9::ShaderCompiler {
  struct Program final : d3d9::PassProgram {
    explicit Program(std::vector<std::string>& log) : log(log) {}
    void use() override { log.push_back("use"); }
    void setUniform(const char* name, d3d9::UniformKind, const float* values, unsigned) override {
      log.push_back(std::string(name) + "=" + std::to_string(values[0]));
    }
    void setSampler(const char* name, IDirect3DBaseTexture9* texture, const d3d9::SamplerState&) override {
      log.push_back(std::string(name) + (texture ? "=texture" : "=none"));
    }
    std::vector<std::string>& log;
  };
  std::unique_ptr<d3d9::PassProgram> compile(const std::string& vs, const std::string& fs, std::string& log) override {
    sources.push_back(vs + fs);
    if (fail) {
      log = "0:16(3): error: nope";
      return nullptr;
    }
    return std::make_unique<Program>(uploads);
  }
  std::vector<std::string> sources;
  std::vector<std::string> uploads;
  bool fail = false;
};

class EffectTest : public testing::Test {
protected:
  void SetUp() override { effectPath = dir.write("blur.fx", kTwoPassEffect); }

  d3d9::trace::TraceDevice& traceDevice() { return holder.trace(); }

  HRESULT load(ComPtr<ID3DXEffect>& effect, std::string* errors = nullptr, const std::string& path = "") {
    ComPtr<ID3DXBuffer> buffer;
    HRESULT hr = D3DXCreateEffectFromFileA(device.get(), (path.empty() ? effectPath : path).c_str(), nullptr, nullptr,
                                           D3DXSHADER_DEBUG, nullptr, effect.put(), buffer.put());
    if (errors && buffer) *errors = static_cast<const char*>(buffer->GetBufferPointer());
    return hr;
  }

  testsupport::TempDir dir;
  std::string effectPath;
  testsupport::TraceDeviceHolder holder{64, 48};
  ComPtr<IDirect3DDevice9>& device = holder.device;
};

TEST_F(EffectTest, BracketIsRecordedWithPassCountAndParameters) {
  ComPtr<ID3DXEffect> effect;
  ASSERT_EQ(load(effect), D3D_OK);
  EXPECT_NE(effect->GetCurrentTechnique(), nullptr);
  testsupport::TraceCapture capture;
  UINT passes = 0;
  const float ps[] = {0.003125f, 0.004166667f};
  effect->SetFloatArray("ps", ps, 2);
  effect->SetFloat("alpha1", 0.6f);
  effect->Begin(&passes, 0);
  effect->BeginPass(1);
  effect->CommitChanges();
  effect->EndPass();
  effect->End();
  EXPECT_EQ(passes, 2u);
  const std::string e = R"("effect":")" + effectPath + "\"";
  std::vector<std::string> expected = {
      R"({"ev":"setFloatArray",)" + e + R"(,"param":"ps","v":[0.003125,0.004166667]})",
      R"({"ev":"setFloat",)" + e + R"(,"param":"alpha1","v":0.6})",
      R"({"ev":"effectBegin",)" + e + R"(,"passes":2})",
      R"({"ev":"beginPass",)" + e + R"(,"pass":1})",
      R"({"ev":"commit",)" + e + "}",
      R"({"ev":"endPass",)" + e + "}",
      R"({"ev":"effectEnd",)" + e + "}",
  };
  EXPECT_EQ(capture.lines, expected);
}

TEST_F(EffectTest, SettersCheckNamesAndKinds) {
  ComPtr<ID3DXEffect> effect;
  ASSERT_EQ(load(effect), D3D_OK);
  auto& impl = dynamic_cast<d3dx9::Effect&>(*effect);
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, 1, 2, 3);
  EXPECT_EQ(effect->SetFloat("alpha2", 1.0f), D3DERR_INVALIDCALL);
  EXPECT_EQ(effect->SetMatrix("alpha1", &m), D3DERR_INVALIDCALL);
  EXPECT_EQ(effect->SetFloat("matProjection", 1.0f), D3DERR_INVALIDCALL);
  EXPECT_EQ(effect->SetTexture("alpha1", nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(impl.floatsOf("alpha1"), std::vector<float>{0.0f});
  EXPECT_EQ(effect->SetMatrix("matProjection", &m), D3D_OK);
  EXPECT_EQ(impl.floatsOf("matProjection")[14], 3.0f);
  // An array takes as many floats as it holds; a shorter array sets its front.
  const float many[20] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
  EXPECT_EQ(effect->SetFloatArray("weights", many, 20), D3D_OK);
  EXPECT_EQ(impl.floatsOf("weights").size(), 12u);
  EXPECT_EQ(impl.floatsOf("weights")[11], 12.0f);
  EXPECT_EQ(effect->SetFloatArray("ps", many + 5, 1), D3D_OK);
  EXPECT_EQ(impl.floatsOf("ps"), (std::vector<float>{6.0f, 0.0f}));
}

// A pass sets its render states without them appearing as calls of the system, and End puts
// back what was there before; a pass number past the count is refused.
TEST_F(EffectTest, PassStatesAreRestoredByEnd) {
  ComPtr<ID3DXEffect> effect;
  ASSERT_EQ(load(effect), D3D_OK);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  device->SetRenderState(D3DRS_ZENABLE, TRUE);
  testsupport::TraceCapture capture;
  UINT passes = 0;
  effect->Begin(&passes, 0);
  EXPECT_EQ(effect->BeginPass(2), D3DERR_INVALIDCALL);
  ASSERT_EQ(effect->BeginPass(0), D3D_OK);
  DWORD value = 0;
  device->GetRenderState(D3DRS_CULLMODE, &value);
  EXPECT_EQ(value, DWORD(D3DCULL_NONE));
  effect->EndPass();
  ASSERT_EQ(effect->BeginPass(1), D3D_OK);
  device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
  EXPECT_EQ(value, DWORD(TRUE));
  effect->EndPass();
  effect->End();
  device->GetRenderState(D3DRS_CULLMODE, &value);
  EXPECT_EQ(value, DWORD(D3DCULL_CW));
  device->GetRenderState(D3DRS_ZENABLE, &value);
  EXPECT_EQ(value, DWORD(TRUE));
  device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
  EXPECT_EQ(value, DWORD(FALSE));
  for (const std::string& line : capture.lines) EXPECT_EQ(line.find("\"state\""), std::string::npos) << line;
}

// BeginPass uploads every parameter; CommitChanges between two draws uploads only what changed,
// so the first draw keeps the values it was given.
TEST_F(EffectTest, CommitUploadsOnlyWhatChanged) {
  RecordingCompiler compiler;
  traceDevice().lendShaderCompiler(&compiler);
  ComPtr<ID3DXEffect> effect;
  ASSERT_EQ(load(effect), D3D_OK);
  ASSERT_EQ(compiler.sources.size(), 2u);
  UINT passes = 0;
  effect->SetFloat("alpha1", 0.5f);
  effect->Begin(&passes, 0);
  effect->BeginPass(0);
  // Parameters never set keep the effect file's initialisers: only alpha1 and the sampler go up.
  EXPECT_EQ(compiler.uploads, (std::vector<std::string>{"use", "tex0=none", "alpha1=0.500000"}));
  compiler.uploads.clear();
  effect->SetFloat("gamma", 2.0f);
  EXPECT_TRUE(compiler.uploads.empty());  // nothing reaches the program before the commit
  effect->CommitChanges();
  EXPECT_EQ(compiler.uploads, std::vector<std::string>{"gamma=2.000000"});
  effect->EndPass();
  effect->End();
  traceDevice().lendShaderCompiler(nullptr);
}

TEST_F(EffectTest, FailuresComeBackWithTheirText) {
  std::string errors;
  ComPtr<ID3DXEffect> effect;
  EXPECT_EQ(load(effect, &errors, dir.file("missing.fx")), D3DXERR_INVALIDDATA);
  EXPECT_FALSE(effect);
  EXPECT_NE(errors.find("missing.fx: cannot read"), std::string::npos);

  std::string broken = dir.write("broken.fx", "--- vertex v\n--- fragment f\n--- pass 0 v nope\n");
  EXPECT_EQ(load(effect, &errors, broken), D3DXERR_INVALIDDATA);
  EXPECT_NE(errors.find("broken.fx(3): no fragment shader named nope"), std::string::npos);

  RecordingCompiler compiler;
  compiler.fail = true;
  traceDevice().lendShaderCompiler(&compiler);
  EXPECT_EQ(load(effect, &errors), D3DXERR_INVALIDDATA);
  EXPECT_EQ(errors, effectPath + "(16): error: nope\n");
  traceDevice().lendShaderCompiler(nullptr);

  // An effect without passes loads but has no technique.
  std::string empty = dir.write("empty.fx", "--- common\nuniform float a;\n");
  EXPECT_EQ(load(effect, nullptr, empty), D3D_OK);
  EXPECT_EQ(effect->GetCurrentTechnique(), nullptr);
}

}  // namespace
