// The 25 hand-written effect files of the show: each one loads, has every pass the scenes begin and
// declares every parameter the scenes set on it, with the kind and size they set; every value
// uniform has an initialiser, so a parameter no scene has set yet reads a sensible value. Where a
// headless OpenGL context can start, every pass of every file is compiled and linked as the show
// does it, and the passes the scenes share are drawn and their output checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "platform/d3dx9/EffectFile.h"
#include "platform/d3dx9/d3dx9.h"
#include "tests/support/TraceDeviceHolder.h"

#ifdef REDKITE_CONTENT_GL
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/d3d9/gl/GlDevice.h"
#include "tests/support/RequireGl.h"
#endif

namespace {

using d3d9::ComPtr;
using d3d9::UniformKind;

const std::string kShaderDir = std::string(REDKITE_SOURCE_DIR) + "/content/quarvdemo/shaders/";

struct Param {
  const char* name;
  UniformKind kind;
  unsigned count = 1;  // floats handed to SetFloatArray are the kind's components times this
};

struct EffectUse {
  const char* file;
  unsigned passes;  // the highest pass number any scene begins, plus one
  std::vector<Param> params;
};

// Test names and failure messages show the file.
void PrintTo(const EffectUse& use, std::ostream* os) { *os << use.file; }

constexpr UniformKind M = UniformKind::Mat4, F = UniformKind::Float, V2 = UniformKind::Vec2,
                      V3 = UniformKind::Vec3, V4 = UniformKind::Vec4, S = UniformKind::Sampler;

// What the scenes do with each effect file: the passes they begin and every parameter they set, by
// any key and from any scene (a ribbon, swarm or sphere routine sets its matrices on whichever
// effect is current). Files no scene draws with still load with the manifest: one pass, nothing set.
const std::vector<EffectUse>& effectUses() {
  static const std::vector<EffectUse> uses = {
      // sky domes, title cards, fades, flashes, the frame overlay: every scene
      {"demo1_text.fx", 1, {{"matProjection", M}, {"tex0", S}, {"alpha1", F}}},
      // fourth scene's cube field, pass 2
      {"demo1_kube.fx",
       3,
       {{"matWorldViewProjection", M}, {"matLightViewProjection", M}, {"matView", M}, {"matWorld", M},
        {"LightPosition", V3}, {"tex0", S}, {"tex1", S}, {"tex2", S}, {"alpha1", F}}},
      // pass 0: closing logo; pass 1: opening glow, third-scene flash slide
      {"texture.fx", 2, {{"matWorldViewProjection", M}, {"tex0", S}, {"alpha", F}, {"alpha1", F}, {"pump", F}}},
      {"demo1_partikkel.fx", 1, {}},
      // pass 0: depth (second, sixth, eighth scenes, with the ribbon and sphere routines); pass 4: mix
      {"demo1_depthoffield.fx",
       5,
       {{"matWorldViewProjection", M}, {"matLightViewProjection", M}, {"matWorldView", M}, {"matWorld", M},
        {"Focus", F}, {"Eksponent", F}, {"FallOff", F}, {"tex0", S}, {"tex1", S}, {"tex2", S}}},
      // pass 0: blur (opening, second, sixth, eighth); pass 1: ninth scene's glow
      {"blur.fx", 2, {{"matProjection", M}, {"tex0", S}, {"ps", V2}, {"blur", F}, {"alpha", F}}},
      {"render2_turret.fx", 1, {}},
      // pass 0: lit ribbons (third, fourth); pass 1: shadow stamp (second to sixth)
      {"render3_line.fx",
       2,
       {{"matWorldViewProjection", M}, {"matLightViewProjection", M}, {"matView", M}, {"tex0", S},
        {"alpha1", F}, {"LightPosition", V3}}},
      // third scene's ground
      {"render3_bakke.fx",
       1,
       {{"matWorldViewProjection", M}, {"matLightViewProjection", M}, {"tex0", S}, {"tex1", S}, {"tex2", S},
        {"alpha1", F}, {"movement", V2}, {"baseColor", V4}}},
      // pass 0: ring pulse (third); pass 1: waves (opening, third)
      {"render3_post.fx",
       2,
       {{"matWorldViewProjection", M}, {"tex0", S}, {"anim", F}, {"amplitude", F}, {"freq", F}}},
      {"render4_bakke.fx", 1, {}},
      // pass 0: organ cards and face (third); pass 1: picture cards (opening flash, third flash, credits)
      {"render3_organ.fx", 2, {{"matProjection", M}, {"tex0", S}, {"pump", F}, {"alpha1", F}}},
      // eighth scene: pass 0 ground and mirror, pass 1 spheres
      {"render5_endorf.fx",
       2,
       {{"matWorldViewProjection", M}, {"matWorldView", M}, {"matWorld", M}, {"tex0", S},
        {"CameraPosition", V3}}},
      {"render6_bakke.fx", 1, {}},
      // second scene's shadow caster, ninth scene's glow source
      {"plain.fx", 1, {{"Matrix", M}}},
      {"demo2render4_ground.fx", 1, {}},
      // pass 2: shadowed floors (opening flash, second, third flash, fifth, sixth, credits);
      // pass 3: seventh scene's hills
      {"r1_bakke.fx",
       4,
       {{"matWorldViewProjection", M}, {"matLightViewProjection", M}, {"matView", M}, {"tex0", S}, {"tex1", S},
        {"tex2", S}, {"tex3", S}, {"alpha1", F}, {"gamma", F}, {"LightPosition", V3}}},
      // pass 0: opening ribbon; pass 1: spot-lit ribbons (second, fifth, sixth); pass 2: bands
      // (seventh, ninth)
      {"r1_line.fx",
       3,
       {{"matWorldViewProjection", M}, {"matLightViewProjection", M}, {"matView", M}, {"tex0", S}, {"tex1", S},
        {"ambient", F}, {"alpha", F}, {"alpha1", F}, {"LightPosition", V3}}},
      {"r1_fogplane.fx", 1, {}},
      {"r2_flashpartikkel.fx", 1, {}},
      // fifth scene's alternate view: cube field
      {"r5_kubepiss.fx",
       1,
       {{"matWorldViewProjection", M}, {"matLightViewProjection", M}, {"matView", M}, {"matWorld", M},
        {"LightPosition", V3}, {"tex0", S}, {"tex1", S}, {"tex2", S}, {"tex3", S}, {"time", F}, {"alpha1", F}}},
      // second scene's flash after each cut
      {"r2_flash.fx", 1, {{"matProjection", M}, {"tex0", S}, {"alpha", F}, {"scale", F}}},
      // the stage's particles: pass 0 swarm (seventh), pass 2 cards (fifth, seventh), pass 3 stream (ninth)
      {"demo2_partikkel.fx",
       4,
       {{"matView", M}, {"matViewProjection", M}, {"ParticleSize", V2}, {"tex0", S}, {"CameraPosition", V3},
        {"FogStart", F}, {"FogEnd", F}}},
      {"demo2_quarv.fx", 1, {}},
      {"demo2_bakke.fx", 1, {}},
  };
  return uses;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string kindName(UniformKind kind) {
  switch (kind) {
    case UniformKind::Float: return "float";
    case UniformKind::Vec2: return "vec2";
    case UniformKind::Vec3: return "vec3";
    case UniformKind::Vec4: return "vec4";
    case UniformKind::Mat4: return "mat4";
    case UniformKind::Sampler: return "sampler2D";
  }
  return "?";
}

// The names declared on "uniform TYPE a = x, b;" lines of non-sampler types that carry no "= value".
std::vector<std::string> uniformsWithoutInitialiser(const std::string& text) {
  static const std::regex kUniform(R"(^\s*uniform\s+(\w+)\s+([^;]+);)");
  std::vector<std::string> missing;
  std::stringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::smatch m;
    if (!std::regex_search(line, m, kUniform) || m.str(1) == "sampler2D") continue;
    std::vector<std::string> items(1);
    int depth = 0;
    for (char c : m.str(2)) {
      depth += c == '(' ? 1 : c == ')' ? -1 : 0;
      if (c == ',' && depth == 0) {
        items.emplace_back();
      } else {
        items.back() += c;
      }
    }
    for (const std::string& item : items)
      if (item.find('=') == std::string::npos) missing.push_back(item);
  }
  return missing;
}

// Sets a parameter the way a scene does for its kind.
HRESULT setLikeAScene(ID3DXEffect& effect, const Param& p) {
  static const float values[64] = {0.5f, 0.25f, 0.125f, 1.0f};
  switch (p.kind) {
    case UniformKind::Mat4: {
      D3DXMATRIX m;
      D3DXMatrixIdentity(&m);
      return effect.SetMatrix(p.name, &m);
    }
    case UniformKind::Float: return effect.SetFloat(p.name, 0.5f);
    case UniformKind::Sampler: return effect.SetTexture(p.name, nullptr);
    default: return effect.SetFloatArray(p.name, values, d3dx9::componentsOf(p.kind) * p.count);
  }
}

TEST(EffectFiles, TheFolderHoldsExactlyTheTwentyFiveFiles) {
  std::set<std::string> expected, found;
  for (const EffectUse& use : effectUses()) expected.insert(use.file);
  ASSERT_EQ(expected.size(), 25u);
  for (const auto& entry : std::filesystem::directory_iterator(kShaderDir))
    if (entry.path().extension() == ".fx") found.insert(entry.path().filename().string());
  EXPECT_EQ(found, expected);
}

class EffectFile : public testing::TestWithParam<EffectUse> {};

// The parser's view: passes numbered without gaps up to what the scenes begin, each parameter
// declared with the kind and array size the scenes set, and an initialiser on every value uniform.
TEST_P(EffectFile, DeclaresThePassesAndParametersTheScenesUse) {
  const EffectUse& use = GetParam();
  const std::string path = kShaderDir + use.file;
  const std::string text = readFile(path);
  ASSERT_FALSE(text.empty()) << path;
  d3dx9::EffectSource source;
  std::string errors;
  ASSERT_TRUE(d3dx9::parseEffectFile(text, path, source, errors)) << errors;
  EXPECT_GE(source.passes.size(), use.passes);
  for (const Param& p : use.params) {
    auto it = std::find_if(source.uniforms.begin(), source.uniforms.end(),
                           [&](const d3dx9::UniformSpec& u) { return u.name == p.name; });
    ASSERT_NE(it, source.uniforms.end()) << use.file << " does not declare " << p.name;
    EXPECT_EQ(kindName(it->kind), kindName(p.kind)) << use.file << ": " << p.name;
    EXPECT_EQ(it->count, p.count) << use.file << ": " << p.name;
  }
  EXPECT_EQ(uniformsWithoutInitialiser(text), std::vector<std::string>{}) << use.file;
  EXPECT_EQ(text.rfind("// " + std::string(use.file) + ": ", 0), 0u) << "a header comment naming the file";
}

// Through the effect framework, as the show loads and drives it on the trace device: it loads,
// Begin reports enough passes, each pass the scenes use can be begun, and every setter a scene
// calls is accepted.
TEST_P(EffectFile, LoadsAndTakesEverySceneSetter) {
  const EffectUse& use = GetParam();
  testsupport::TraceDeviceHolder holder;
  ASSERT_TRUE(holder.device);
  ComPtr<ID3DXEffect> effect;
  ComPtr<ID3DXBuffer> errors;
  const std::string path = kShaderDir + use.file;
  HRESULT hr = D3DXCreateEffectFromFileA(holder.device.get(), path.c_str(), nullptr, nullptr, 0, nullptr,
                                         effect.put(), errors.put());
  ASSERT_EQ(hr, D3D_OK) << (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
  ASSERT_NE(effect->GetCurrentTechnique(), nullptr);
  for (const Param& p : use.params) EXPECT_EQ(setLikeAScene(*effect, p), D3D_OK) << use.file << ": " << p.name;
  UINT passes = 0;
  ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
  EXPECT_GE(passes, use.passes);
  for (unsigned pass = 0; pass < use.passes; ++pass) {
    EXPECT_EQ(effect->BeginPass(pass), D3D_OK) << use.file << " pass " << pass;
    EXPECT_EQ(effect->CommitChanges(), D3D_OK);
    effect->EndPass();
  }
  effect->End();
}

// The table itself guards against typos: a name set with two different kinds in one file would
// make one of the scene setters fail.
TEST(EffectFiles, TheTableNamesEachParameterOncePerFile) {
  for (const EffectUse& use : effectUses()) {
    std::set<std::string> names;
    for (const Param& p : use.params) EXPECT_TRUE(names.insert(p.name).second) << use.file << ": " << p.name;
  }
}

#ifdef REDKITE_CONTENT_GL

// A small headless OpenGL device, the full-screen rectangle of the screen passes (the 2 x 2 grid of
// 640 x 480 units with the grid's texture coordinates) and helpers to draw it with an effect pass
// and read the picture back.
class EffectOnGl : public testing::Test {
protected:
  static constexpr UINT kWidth = 64, kHeight = 48;

  struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
  };

  void SetUp() override {
    std::string reason;
    if (!d3d9::gl::headlessAvailable(reason)) REDKITE_WITHOUT_GL("no headless OpenGL: " + reason);
    d3d9::gl::installHeadless();
    *d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_TRUE(d3d);
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(kWidth, kHeight);
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put()),
              D3D_OK);
    // As the grid generator lays out the full-screen rectangle: v 0 at the bottom, -1 at the top.
    const Vertex vertices[4] = {{-320, -240, 1, 0, 0, 1, 0, 0},
                                {320, -240, 1, 0, 0, 1, 1, 0},
                                {-320, 240, 1, 0, 0, 1, 0, -1},
                                {320, 240, 1, 0, 0, 1, 1, -1}};
    const WORD indices[6] = {0, 1, 2, 3, 2, 1};
    void* data = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(sizeof vertices, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, vb.put(), nullptr),
              D3D_OK);
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices, sizeof vertices);
    vb->Unlock();
    ASSERT_EQ(device->CreateIndexBuffer(sizeof indices, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                        ib.put(), nullptr),
              D3D_OK);
    ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, indices, sizeof indices);
    ib->Unlock();
    D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                    {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
                                    {0, 24, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                    D3DDECL_END()};
    ASSERT_EQ(device->CreateVertexDeclaration(elements, declaration.put()), D3D_OK);
    D3DXMatrixOrthoLH(&screen, 640, 480, 0, 100000);
  }

  void TearDown() override {
    if (device) {
      EXPECT_EQ(dynamic_cast<d3d9::gl::GlDevice&>(*device).takeGlErrors(), 0u) << "OpenGL errors";
    }
    declaration.reset();
    ib.reset();
    vb.reset();
    device.reset();
    d3d.reset();
    d3d9::useBackend({});
  }

  ComPtr<ID3DXEffect> load(const std::string& file, std::string& errors) {
    ComPtr<ID3DXEffect> effect;
    ComPtr<ID3DXBuffer> buffer;
    const std::string path = kShaderDir + file;
    D3DXCreateEffectFromFileA(device.get(), path.c_str(), nullptr, nullptr, 0, nullptr, effect.put(), buffer.put());
    errors = buffer ? static_cast<const char*>(buffer->GetBufferPointer()) : "";
    return effect;
  }

  ComPtr<ID3DXEffect> load(const std::string& file) {
    std::string errors;
    ComPtr<ID3DXEffect> effect = load(file, errors);
    EXPECT_TRUE(effect) << errors;
    return effect;
  }

  // A 2 x 2 texture whose top row is `top` and bottom row `bottom`, each given as 0xAARRGGBB.
  ComPtr<IDirect3DTexture9> texture(D3DCOLOR top, D3DCOLOR bottom) {
    ComPtr<IDirect3DTexture9> t;
    EXPECT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, t.put(), nullptr), D3D_OK);
    D3DLOCKED_RECT rect{};
    EXPECT_EQ(t->LockRect(0, &rect, nullptr, 0), D3D_OK);
    for (int y = 0; y < 2; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(rect.pBits) + y * rect.Pitch);
      row[0] = row[1] = y == 0 ? top : bottom;
    }
    t->UnlockRect(0);
    return t;
  }

  // Screen-pass states, as the scenes set them before Begin, and a background colour.
  void screenPass(D3DCOLOR background, bool sourceAlpha = false) {
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, sourceAlpha ? TRUE : FALSE);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, background, 1.0f, 0);
  }

  void drawQuad(ID3DXEffect& effect, UINT pass) {
    UINT passes = 0;
    effect.Begin(&passes, 0);
    EXPECT_EQ(effect.BeginPass(pass), D3D_OK);
    device->SetStreamSource(0, vb.get(), 0, sizeof(Vertex));
    device->SetVertexDeclaration(declaration.get());
    device->SetIndices(ib.get());
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    effect.EndPass();
    effect.End();
  }

  d3d9::gl::Image frame() {
    device->EndScene();
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    return d3d9::gl::presentedImage(device.get());
  }

  static std::vector<int> rgb(const d3d9::gl::Image& image, unsigned x, unsigned y) {
    const std::uint8_t* p = image.at(x, y);
    return {p[0], p[1], p[2]};
  }

  static testing::AssertionResult near(const std::vector<int>& got, std::vector<int> want, int tolerance = 6) {
    for (int i = 0; i < 3; ++i)
      if (std::abs(got[i] - want[i]) > tolerance)
        return testing::AssertionFailure() << "got (" << got[0] << "," << got[1] << "," << got[2] << "), want ("
                                           << want[0] << "," << want[1] << "," << want[2] << ")";
    return testing::AssertionSuccess();
  }

  ComPtr<IDirect3D9> d3d;
  ComPtr<IDirect3DDevice9> device;
  ComPtr<IDirect3DVertexBuffer9> vb;
  ComPtr<IDirect3DIndexBuffer9> ib;
  ComPtr<IDirect3DVertexDeclaration9> declaration;
  D3DXMATRIX screen;
};

// Mesa compiles and links every pass of every file, and each pass draws once (with its
// initialisers and no textures) without an OpenGL error.
TEST_F(EffectOnGl, EveryPassOfEveryFileCompilesAndDraws) {
  for (const EffectUse& use : effectUses()) {
    std::string errors;
    ComPtr<ID3DXEffect> effect = load(use.file, errors);
    ASSERT_TRUE(effect) << use.file << ":\n" << errors;
    UINT passes = 0;
    effect->Begin(&passes, 0);
    effect->End();
    for (UINT pass = 0; pass < passes; ++pass) {
      screenPass(0xff000000);
      drawQuad(*effect, pass);
      frame();
      EXPECT_EQ(dynamic_cast<d3d9::gl::GlDevice&>(*device).takeGlErrors(), 0u) << use.file << " pass " << pass;
    }
  }
}

// The skies use alpha1 as a brightness with blending off and the fourth scene adds white at
// alpha1 = w: the card's colour must scale with alpha1, not only its opacity.
TEST_F(EffectOnGl, TextCardColourScalesWithAlpha1) {
  ComPtr<ID3DXEffect> effect = load("demo1_text.fx");
  ASSERT_TRUE(effect);
  ComPtr<IDirect3DTexture9> white = texture(0xffffffff, 0xffffffff);
  effect->SetMatrix("matProjection", &screen);
  effect->SetTexture("tex0", white.get());
  effect->SetFloat("alpha1", 0.5f);
  screenPass(0xff000000);
  drawQuad(*effect, 0);
  EXPECT_TRUE(near(rgb(frame(), 32, 24), {128, 128, 128}));
}

// Screen and card passes read the grid's texture coordinates (v 0 at the bottom, -1 at the top) so
// that pictures and render targets come out upright: the top row of the texture at the top.
TEST_F(EffectOnGl, ScreenPassesShowPicturesUpright) {
  struct Case {
    const char* file;
    UINT pass;
    const char* matrix;
  } cases[] = {{"texture.fx", 0, "matWorldViewProjection"}, {"texture.fx", 1, "matWorldViewProjection"},
               {"blur.fx", 0, "matProjection"},           {"render3_post.fx", 0, "matWorldViewProjection"},
               {"render3_post.fx", 1, "matWorldViewProjection"}, {"render3_organ.fx", 1, "matProjection"},
               {"demo1_depthoffield.fx", 4, "matWorldViewProjection"}};
  ComPtr<IDirect3DTexture9> picture = texture(0xffffffff, 0xff000000);
  for (const Case& c : cases) {
    ComPtr<ID3DXEffect> effect = load(c.file);
    ASSERT_TRUE(effect);
    effect->SetMatrix(c.matrix, &screen);
    effect->SetTexture("tex0", picture.get());
    effect->SetFloat("alpha", 1.0f);
    effect->SetFloat("anim", 0.0f);
    effect->SetFloat("amplitude", 0.0f);
    const float ps[2] = {1.0f / 2, 1.0f / 2};
    effect->SetFloatArray("ps", ps, 2);
    effect->SetFloat("blur", 0.1f);
    // Depth of field: every pixel fully out of focus, so the blurred picture covers the screen.
    ComPtr<IDirect3DTexture9> far = texture(0xffffffff, 0xffffffff);
    effect->SetTexture("tex1", far.get());
    effect->SetFloat("Focus", 0.0f);
    effect->SetFloat("FallOff", 1.0f);
    effect->SetFloat("Eksponent", 1.0f);
    screenPass(0xff808080, c.pass == 4);
    drawQuad(*effect, c.pass);
    d3d9::gl::Image image = frame();
    EXPECT_TRUE(near(rgb(image, 32, 4), {255, 255, 255})) << c.file << " pass " << c.pass << " top";
    EXPECT_TRUE(near(rgb(image, 32, 44), {0, 0, 0})) << c.file << " pass " << c.pass << " bottom";
  }
}

// The depth-of-field mix keeps the sharp picture where the depth is at the focus and lays the
// blurred one over it away from the focus.
TEST_F(EffectOnGl, DepthOfFieldBlursOnlyAwayFromTheFocus) {
  ComPtr<ID3DXEffect> effect = load("demo1_depthoffield.fx");
  ASSERT_TRUE(effect);
  ComPtr<IDirect3DTexture9> blurred = texture(0xff0000ff, 0xff0000ff);
  ComPtr<IDirect3DTexture9> depth = texture(0xff333333, 0xffffffff);  // 0.2 above, 1.0 (far) below
  effect->SetMatrix("matWorldViewProjection", &screen);
  effect->SetTexture("tex0", blurred.get());
  effect->SetTexture("tex1", depth.get());
  effect->SetFloat("Focus", 0.2f);
  effect->SetFloat("FallOff", 7.0f);
  effect->SetFloat("Eksponent", 1.1f);
  screenPass(0xffff0000, true);
  drawQuad(*effect, 4);
  d3d9::gl::Image image = frame();
  EXPECT_TRUE(near(rgb(image, 32, 4), {255, 0, 0})) << "in focus: the sharp picture stays";
  EXPECT_TRUE(near(rgb(image, 32, 44), {0, 0, 255})) << "far: the blurred picture covers it";
}

// The shadow stamp writes grey, not black, so the ninth scene's glow has something to blur.
TEST_F(EffectOnGl, PlainStampIsGrey) {
  ComPtr<ID3DXEffect> effect = load("plain.fx");
  ASSERT_TRUE(effect);
  effect->SetMatrix("Matrix", &screen);
  screenPass(0xff000000);
  drawQuad(*effect, 0);
  EXPECT_TRUE(near(rgb(frame(), 32, 24), {115, 115, 115}));
}

// The shadowed floor: 0.12 of its colour outside the light, more inside the spot, and the shadow
// map's black takes the light away again.
TEST_F(EffectOnGl, FloorIsLitBySpotAndShadowOverAnAmbientFloor) {
  ComPtr<ID3DXEffect> effect = load("r1_bakke.fx");
  ASSERT_TRUE(effect);
  ComPtr<IDirect3DTexture9> white = texture(0xffffffff, 0xffffffff);
  ComPtr<IDirect3DTexture9> black = texture(0xff000000, 0xff000000);
  ComPtr<IDirect3DTexture9> flat = texture(0xff8080ff, 0xff8080ff);
  D3DXMATRIX behind;
  D3DXMatrixScaling(&behind, 1, 1, 1);
  behind._44 = -1;  // every point behind the light: w < 0
  const float light[3] = {0, 0, 100};  // straight in front of the rectangle's face (normal +z)
  effect->SetMatrix("matWorldViewProjection", &screen);
  effect->SetTexture("tex0", white.get());
  effect->SetTexture("tex1", white.get());
  effect->SetTexture("tex3", flat.get());
  effect->SetFloatArray("LightPosition", light, 3);
  effect->SetFloat("alpha1", 1.0f);
  struct Case {
    const D3DXMATRIX* lightMatrix;
    IDirect3DTexture9* shadow;
    int expected;
  } cases[] = {{&behind, white.get(), 31}, {&screen, white.get(), 158}, {&screen, black.get(), 31}};
  for (const Case& c : cases) {
    effect->SetMatrix("matLightViewProjection", c.lightMatrix);
    effect->SetTexture("tex2", c.shadow);
    screenPass(0xff000000);
    drawQuad(*effect, 2);
    EXPECT_TRUE(near(rgb(frame(), 32, 24), {c.expected, c.expected, c.expected}));
  }
}

// The shadow is softened by averaging the shadow map over 3 x 3 texels around the light's point,
// each read with bilinear filtering: checked pixel by pixel against that average computed here, on
// an 8 x 8 map of distinct greys spread over the screen, edges (clamped) included.
TEST_F(EffectOnGl, FloorShadowIsTheMapAveragedOverThreeByThreeTexels) {
  ComPtr<ID3DXEffect> effect = load("r1_bakke.fx");
  ASSERT_TRUE(effect);
  constexpr int kMap = 8;
  int grey[kMap][kMap];
  ComPtr<IDirect3DTexture9> shadow;
  ASSERT_EQ(device->CreateTexture(kMap, kMap, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, shadow.put(), nullptr), D3D_OK);
  D3DLOCKED_RECT rect{};
  ASSERT_EQ(shadow->LockRect(0, &rect, nullptr, 0), D3D_OK);
  for (int y = 0; y < kMap; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(rect.pBits) + y * rect.Pitch);
    for (int x = 0; x < kMap; ++x) {
      grey[y][x] = (x * 37 + y * 101 + x * y * 13) % 256;
      row[x] = 0xff000000u | std::uint32_t(grey[y][x]) * 0x010101u;
    }
  }
  shadow->UnlockRect(0);
  ComPtr<IDirect3DTexture9> white = texture(0xffffffff, 0xffffffff);
  ComPtr<IDirect3DTexture9> flat = texture(0xff8080ff, 0xff8080ff);
  const float light[3] = {0, 0, 1e6f};  // far in front of the face: N.L is 1 everywhere
  effect->SetMatrix("matWorldViewProjection", &screen);
  effect->SetMatrix("matLightViewProjection", &screen);  // the map spread over the screen
  effect->SetTexture("tex0", white.get());
  effect->SetTexture("tex1", white.get());
  effect->SetTexture("tex2", shadow.get());
  effect->SetTexture("tex3", flat.get());
  effect->SetFloatArray("LightPosition", light, 3);
  effect->SetFloat("alpha1", 1.0f);
  effect->SetFloat("gamma", 0.0f);
  screenPass(0xff000000);
  drawQuad(*effect, 2);
  d3d9::gl::Image image = frame();

  auto texel = [&](int x, int y) {
    return grey[std::clamp(y, 0, kMap - 1)][std::clamp(x, 0, kMap - 1)] / 255.0;
  };
  auto bilinear = [&](double u, double v) {
    const double px = u * kMap - 0.5, py = v * kMap - 0.5;
    const int x0 = int(std::floor(px)), y0 = int(std::floor(py));
    const double fx = px - x0, fy = py - y0;
    return (1 - fy) * ((1 - fx) * texel(x0, y0) + fx * texel(x0 + 1, y0)) +
           fy * ((1 - fx) * texel(x0, y0 + 1) + fx * texel(x0 + 1, y0 + 1));
  };
  int wrong = 0;
  std::string first;
  for (unsigned py = 0; py < kHeight; py += 3) {
    for (unsigned px = 0; px < kWidth; px += 3) {
      const double u = (px + 0.5) / kWidth, v = (py + 0.5) / kHeight;
      double sum = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) sum += bilinear(u + double(dx) / kMap, v + double(dy) / kMap);
      const int want = int(std::lround(255 * (0.12 + 0.5 * sum / 9)));
      const testing::AssertionResult got = near(rgb(image, px, py), {want, want, want}, 3);
      if (!got && ++wrong == 1) first = "at (" + std::to_string(px) + "," + std::to_string(py) + "): " + got.message();
    }
  }
  EXPECT_EQ(wrong, 0) << first;
}

#endif  // REDKITE_CONTENT_GL

INSTANTIATE_TEST_SUITE_P(Show, EffectFile, testing::ValuesIn(effectUses()),
                         [](const testing::TestParamInfo<EffectUse>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.size() - 3);
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

}  // namespace
