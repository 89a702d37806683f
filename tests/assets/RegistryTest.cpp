// The three registries: the pair-list walk, first match wins, "No Match" on a miss, failures part
// way through a list, and release in load order. Textures and effects are real files on the trace
// device.
#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include "assets/EffectStack.h"
#include "assets/MeshFile.h"
#include "assets/MeshProxy.h"
#include "assets/TextureStack.h"
#include "tests/support/FakeEffect.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceDeviceHolder.h"

namespace {

using d3d9::trace::Call;
using testsupport::messageBoxLine;
using Boxes = std::vector<std::string>;

constexpr const char* kOnePassEffect = R"(// card.fx: one textured pass
--- common
uniform mat4 matProjection;
uniform sampler2D tex0;
--- vertex quad
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = matProjection * vec4(inPosition, 1.0); }
--- fragment card
out vec4 colour;
void main() { colour = texture(tex0, vec2(0.5)); }
--- pass 0 quad card
)";

// A pass naming a shader the file does not have.
constexpr const char* kBrokenEffect = R"(--- common
uniform float alpha1;
--- vertex quad
void main() { gl_Position = vec4(alpha1); }
--- pass 0 quad nosuchfragment
)";

class RegistryTest : public testing::Test {
protected:
  std::string png(const char* name) {
    std::string path = dir.file(name);
    const unsigned char rgba[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    EXPECT_NE(stbi_write_png(path.c_str(), 2, 2, 4, rgba, 2 * 4), 0);
    return path;
  }
  std::string mesh(const char* name) {
    assets::MeshFileData data;
    data.vertexCount = 3;
    data.stride = 12;
    data.mask = 0x0001;
    data.indices = {0, 1, 2};
    data.vertices.assign(36, 0);
    std::string path = dir.file(name);
    EXPECT_TRUE(assets::writeMeshFile(path.c_str(), data));
    return path;
  }

  testsupport::TempDir dir;
  testsupport::TraceDeviceHolder holder;
  IDirect3DDevice9* device = holder.device.get();
};

TEST(PairListWalk, EndsOnlyOnANullInAPathPosition) {
  std::vector<std::string> loaded;
  auto record = [&](const char* path, const char* key) {
    loaded.push_back(std::string(path) + "=" + key);
    return true;
  };
  const char* empty[] = {nullptr};
  EXPECT_TRUE(assets::walkPairList(empty, record));
  EXPECT_TRUE(assets::walkPairList(nullptr, record));
  EXPECT_TRUE(loaded.empty());

  const char* odd[] = {"a.png", "a", "b.png", "b", "c.png", nullptr};
  EXPECT_FALSE(assets::walkPairList(odd, record));
  EXPECT_EQ(loaded, (std::vector<std::string>{"a.png=a", "b.png=b"}));

  loaded.clear();
  const char* stopped[] = {"a.png", "a", "b.png", "b", nullptr};
  EXPECT_TRUE(assets::walkPairList(stopped, [&](const char* path, const char* key) {
    record(path, key);
    return false;
  }));
  EXPECT_EQ(loaded, (std::vector<std::string>{"a.png=a"}));
}

TEST_F(RegistryTest, MeshProxyGoesOnPastAMissingFileAndFindsTheFirstOfTwoKeys) {
  std::string first = mesh("first.mesh"), second = mesh("second.mesh"), missing = dir.file("missing.mesh");
  const char* list[] = {first.c_str(), "hemi", missing.c_str(), "gone", second.c_str(), "hemi", nullptr};
  testsupport::TraceCapture capture;
  assets::MeshProxy proxy;
  EXPECT_FALSE(proxy.load(device, list));
  EXPECT_EQ(proxy.size(), 3u);
  EXPECT_EQ(testsupport::messageBoxes(capture), Boxes{messageBoxLine(missing, "Failed To Open The MeshFile")});

  assets::Mesh* hemi = proxy.lookup("hemi");
  ASSERT_NE(hemi, nullptr);
  ASSERT_TRUE(hemi->vertexBuffer);
  EXPECT_STREQ(hemi->vertexBuffer->GetDebugName(), first.c_str());
  // The mesh of the missing file is there, empty, and draws nothing.
  assets::Mesh* gone = proxy.lookup("gone");
  ASSERT_NE(gone, nullptr);
  EXPECT_FALSE(gone->drawable());
}

TEST_F(RegistryTest, MeshProxyListErrorComesOnceAfterThePairsBeforeIt) {
  std::string a = mesh("a.mesh"), b = mesh("b.mesh");
  const char* list[] = {a.c_str(), "a", b.c_str(), nullptr};
  testsupport::TraceCapture capture;
  assets::MeshProxy proxy;
  EXPECT_FALSE(proxy.load(device, list));
  EXPECT_EQ(proxy.size(), 1u);
  EXPECT_EQ(testsupport::messageBoxes(capture), Boxes{messageBoxLine("Check Your Parameter List", "MeshProxy")});
}

TEST_F(RegistryTest, LookupIsCaseSensitiveAndMissesReportTheKey) {
  testsupport::TraceCapture capture;
  assets::TextureStack textures;
  EXPECT_EQ(textures.lookup("sky1"), nullptr);  // empty registry
  const char* empty[] = {nullptr};
  EXPECT_TRUE(textures.load(device, empty));
  EXPECT_EQ(textures.size(), 0u);

  std::string path = png("texture.png");
  const char* list[] = {path.c_str(), "texture", nullptr};
  ASSERT_TRUE(textures.load(device, list));
  EXPECT_NE(textures.lookup("texture"), nullptr);
  EXPECT_EQ(textures.lookup("Texture"), nullptr);
  EXPECT_EQ(textures.lookup("texture "), nullptr);
  EXPECT_EQ(textures.lookup("textur"), nullptr);
  EXPECT_EQ(testsupport::messageBoxes(capture),
            (Boxes{messageBoxLine("sky1", "No Match"), messageBoxLine("Texture", "No Match"),
                   messageBoxLine("texture ", "No Match"), messageBoxLine("textur", "No Match")}));
}

// The texture before the failure is usable; the list stops there, so the ones after it were never
// loaded and each lookup of them reports "No Match".
TEST_F(RegistryTest, AFailingTextureMidListStopsTheList) {
  std::string a = png("a.png"), b = png("b.png"), c = png("c.png");
  const char* list[] = {a.c_str(), "first", b.c_str(), "second", c.c_str(), "third", nullptr};
  holder.failures->fail(Call::CreateTexture, E_OUTOFMEMORY, 2);
  testsupport::TraceCapture capture;
  assets::TextureStack textures;
  EXPECT_FALSE(textures.load(device, list));
  EXPECT_EQ(textures.size(), 1u);
  IDirect3DTexture9* first = textures.lookup("first");
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->GetDebugName(), a.c_str());
  EXPECT_EQ(textures.lookup("second"), nullptr);
  EXPECT_EQ(textures.lookup("third"), nullptr);
  EXPECT_EQ(testsupport::messageBoxes(capture),
            (Boxes{messageBoxLine("OutOfMemory With second", "TextureStack"), messageBoxLine("second", "No Match"),
                   messageBoxLine("third", "No Match")}));
}

TEST_F(RegistryTest, UnreadableImageAndTextureListErrors) {
  std::string good = png("good.png");
  std::string bad = dir.write("bad.png", "not an image");
  testsupport::TraceCapture capture;
  assets::TextureStack textures;
  const char* badList[] = {bad.c_str(), "bad", good.c_str(), "good", nullptr};
  EXPECT_FALSE(textures.load(device, badList));
  const char* oddList[] = {good.c_str(), "good", good.c_str(), nullptr};
  EXPECT_FALSE(textures.load(device, oddList));
  EXPECT_EQ(textures.size(), 1u);
  EXPECT_EQ(testsupport::messageBoxes(capture),
            (Boxes{messageBoxLine("InvalidData With bad", "TextureStack"),
                   messageBoxLine("Check Your Texture ParamenterList\n", "Error")}));
}

TEST_F(RegistryTest, EffectsCompileInOrderAndABrokenOneStopsTheList) {
  std::string card = dir.write("card.fx", kOnePassEffect);
  std::string broken = dir.write("broken.fx", kBrokenEffect);
  const char* list[] = {card.c_str(), "texture", broken.c_str(), "broken", card.c_str(), "after", nullptr};
  testsupport::TraceCapture capture;
  assets::EffectStack effects;
  EXPECT_FALSE(effects.currentKey.has_value());
  EXPECT_FALSE(effects.load(device, list));
  EXPECT_EQ(effects.size(), 1u);
  ID3DXEffect* texture = effects.lookup("texture");
  ASSERT_NE(texture, nullptr);
  EXPECT_NE(texture->GetCurrentTechnique(), nullptr);

  Boxes boxes = testsupport::messageBoxes(capture);
  ASSERT_EQ(boxes.size(), 1u);
  // The caption names the file, cut to 64 bytes; the text is the compiler's, naming file and line.
  std::string caption = std::string("Shader Compilation Error In [") + broken + "]";
  caption = caption.substr(0, 63);
  EXPECT_NE(boxes[0].find(R"("caption":")" + caption + R"("})"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find(broken + "(5): "), std::string::npos) << boxes[0];
}

TEST_F(RegistryTest, MissingEffectFileAndEffectListError) {
  std::string card = dir.write("card.fx", kOnePassEffect);
  std::string longName = dir.file(std::string(80, 'x') + ".fx");
  testsupport::TraceCapture capture;
  assets::EffectStack effects;
  const char* missing[] = {longName.c_str(), "long", nullptr};
  EXPECT_FALSE(effects.load(device, missing));
  const char* odd[] = {card.c_str(), "card", card.c_str(), nullptr};
  EXPECT_FALSE(effects.load(device, odd));
  EXPECT_EQ(effects.size(), 1u);
  Boxes boxes = testsupport::messageBoxes(capture);
  ASSERT_EQ(boxes.size(), 2u);
  std::string caption = ("Shader Compilation Error In [" + longName).substr(0, 63);
  EXPECT_NE(boxes[0].find(R"("caption":")" + caption + R"("})"), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[1], messageBoxLine("Check Your Effect ParamenterList\n", "Error"));
}

// Both entries of a duplicate key are held and released, in load order, when the stack goes;
// only the first is ever found.
TEST(EffectStackRelease, DuplicatesAreKeptAndEverythingIsReleasedInLoadOrder) {
  std::vector<std::string> released;
  {
    assets::EffectStack effects;
    auto* a = new testsupport::FakeEffect(1);
    auto* b = new testsupport::FakeEffect(2);
    auto* c = new testsupport::FakeEffect(3);
    a->onRelease = [&] { released.push_back("a"); };
    b->onRelease = [&] { released.push_back("b"); };
    c->onRelease = [&] { released.push_back("c"); };
    effects.append("blur", d3d9::ComPtr<ID3DXEffect>(a));
    effects.append("blur", d3d9::ComPtr<ID3DXEffect>(b));
    effects.append("line", d3d9::ComPtr<ID3DXEffect>(c));
    EXPECT_EQ(effects.lookup("blur"), a);
    EXPECT_EQ(effects.lookup("line"), c);
    EXPECT_TRUE(released.empty());
  }
  EXPECT_EQ(released, (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
