// Regression tests for faults that hostile content files reached, found by the fuzz targets and
// the sanitizer builds; each names the fault it would catch again.
#include <gtest/gtest.h>

#include <string>

#include "assets/Mesh.h"
#include "assets/MeshFile.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3dx9/EffectFile.h"
#include "platform/d3dx9/d3dx9.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/TraceDeviceHolder.h"

namespace {

// The uniform declarations of an effect file were matched with std::regex, which recurses once per
// character: a declaration line of some 50 000 characters overflowed the stack and ended the
// program while it loaded the file.
TEST(HostileEffectFile, AVeryLongUniformLineIsReadWithoutExhaustingTheStack) {
  const std::string name(300000, 'a');
  std::string text = "--- common\nuniform vec2 " + name + "[3], b = vec2(0.5, 1.0);\n";
  d3dx9::EffectSource source;
  std::string errors;
  ASSERT_TRUE(d3dx9::parseEffectFile(text, "long.fx", source, errors)) << errors;
  ASSERT_EQ(source.uniforms.size(), 2u);
  EXPECT_EQ(source.uniforms[0].name, name);
  EXPECT_EQ(source.uniforms[0].count, 3u);
  EXPECT_EQ(source.uniforms[1].name, "b");

  // The same through the loader, as the registries call it.
  testsupport::TempDir dir;
  std::string path = dir.write("long.fx", text + "--- vertex v\nvoid main() {}\n--- fragment f\nvoid main() {}\n"
                                                 "--- pass 0 v f\n");
  testsupport::TraceDeviceHolder holder;
  d3d9::ComPtr<ID3DXEffect> effect;
  d3d9::ComPtr<ID3DXBuffer> compileErrors;
  EXPECT_EQ(D3DXCreateEffectFromFileA(holder.device.get(), path.c_str(), nullptr, nullptr, D3DXSHADER_DEBUG, nullptr,
                                      effect.put(), compileErrors.put()),
            D3D_OK);
  EXPECT_TRUE(effect);
}

// An item that is not a name is still refused with its message, however long it is.
TEST(HostileEffectFile, AVeryLongBadUniformItemIsRefusedWithItsMessage) {
  std::string text = "--- common\nuniform float " + std::string(200000, '(') + ";\n";
  d3dx9::EffectSource source;
  std::string errors;
  EXPECT_FALSE(d3dx9::parseEffectFile(text, "bad.fx", source, errors));
  EXPECT_TRUE(errors.starts_with("bad.fx(2): cannot read uniform '((((")) << errors.substr(0, 80);
}

// Compiler logs quote the names of the shader; the log rewriting used std::regex on each line too.
TEST(HostileEffectFile, AVeryLongCompilerMessageIsRewrittenWithoutExhaustingTheStack) {
  const std::string name(300000, 'x');
  std::string log = "0:3(15): error: `" + name + "' undeclared\n0(7) : warning: " + name + "\n";
  EXPECT_EQ(d3dx9::effectCompileLog("long.fx", log),
            "long.fx(3): error: `" + name + "' undeclared\nlong.fx(7): warning: " + name + "\n");
}

// A mesh whose component mask declares a wider vertex than its stride (position, normal and
// texture coordinates, 32 bytes, in 12-byte vertices) loaded as drawable, and the device then read
// the last vertex's elements past the end of the vertex buffer. It is now reported and not drawn.
TEST(HostileMeshFile, ALayoutWiderThanTheStrideIsReportedAndNeverDrawn) {
  assets::MeshFileData data;
  data.vertexCount = 3;
  data.stride = 12;
  data.mask = 0x0007;
  data.indices = {0, 1, 2};
  data.vertices.assign(3 * 12, 0);
  testsupport::TempDir dir;
  std::string path = dir.file("wide.mesh");
  ASSERT_TRUE(assets::writeMeshFile(path.c_str(), data));

  testsupport::TraceDeviceHolder holder;
  testsupport::TraceCapture capture;
  assets::Mesh mesh;
  EXPECT_FALSE(mesh.load(holder.device.get(), path.c_str()));
  EXPECT_FALSE(mesh.drawable());
  std::vector<std::string> boxes = testsupport::messageBoxes(capture);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], testsupport::messageBoxLine("InvalidData With " + path, "VertexBuffer"));
  holder.device->BeginScene();
  mesh.draw(holder.device.get());
  holder.device->EndScene();
  for (const std::string& line : capture.lines) EXPECT_FALSE(line.starts_with(R"({"ev":"draw")")) << line;

  // The same vertices with the stride their layout needs draw as usual.
  data.stride = 32;
  data.vertices.assign(3 * 32, 0);
  ASSERT_TRUE(assets::writeMeshFile(path.c_str(), data));
  EXPECT_TRUE(mesh.load(holder.device.get(), path.c_str()));
}

// The packaged stb_image wrote past its Huffman tables for a DHT segment of more than 256 codes:
// a valid JPEG with one such extra table (never used by its scan) decoded with memory overwritten.
// JPEGs now go to libjpeg-turbo, which refuses the table: undecodable data.
TEST(HostileTexture, AJpegHuffmanTableOfMoreThan256CodesIsRefused) {
  std::string corpus = std::string(REDKITE_SOURCE_DIR) + "/fuzz/corpus/fuzz_texture/";
  testsupport::TraceDeviceHolder holder;
  d3d9::ComPtr<IDirect3DTexture9> texture;
  // The second starts with FF fill bytes before its start marker: not a JPEG to the loader.
  for (const char* name : {"dht-more-than-256-codes.jpg", "dht-after-fill-bytes.jpg"}) {
    EXPECT_EQ(D3DXCreateTextureFromFileA(holder.device.get(), (corpus + name).c_str(), texture.put()),
              D3DXERR_INVALIDDATA)
        << name;
    EXPECT_FALSE(texture) << name;
  }
  // Without the extra table the same picture loads.
  EXPECT_EQ(D3DXCreateTextureFromFileA(holder.device.get(), (corpus + "baseline-16x8.jpg").c_str(), texture.put()),
            D3D_OK);
  EXPECT_TRUE(texture);
}

// A progressive JPEG whose scan holds a code no table defines made stb_image index its tables with
// a huge negative number. libjpeg-turbo reports the corrupt data, and a damaged JPEG is refused
// rather than shown half grey.
TEST(HostileTexture, ACorruptProgressiveJpegIsRefused) {
  std::string path = std::string(REDKITE_SOURCE_DIR) + "/fuzz/corpus/fuzz_texture/progressive-bad-huffman-code.jpg";
  testsupport::TraceDeviceHolder holder;
  d3d9::ComPtr<IDirect3DTexture9> texture;
  EXPECT_EQ(D3DXCreateTextureFromFileA(holder.device.get(), path.c_str(), texture.put()), D3DXERR_INVALIDDATA);
  EXPECT_FALSE(texture);
}

// Tables of up to 256 codes are what every JPEG holds; a segment with several of them passes.
TEST(HostileTexture, JpegHuffmanTablesOfUpTo256CodesAreDecoded) {
  std::string corpus = std::string(REDKITE_SOURCE_DIR) + "/fuzz/corpus/fuzz_texture/";
  for (const char* name : {"baseline-16x8.jpg", "grey-16x8.jpg", "progressive-16x8.jpg"}) {
    testsupport::TraceDeviceHolder holder;
    d3d9::ComPtr<IDirect3DTexture9> texture;
    EXPECT_EQ(D3DXCreateTextureFromFileA(holder.device.get(), (corpus + name).c_str(), texture.put()), D3D_OK) << name;
  }
}

// Only PNG and JPEG are decoded: stb_image's other readers are not needed and some overrun their
// buffers (a PGM whose maximum value asks for 16 bits but whose data is short was read past its
// end). Pictures of those formats are refused as undecodable; PNGs still load.
TEST(HostileTexture, OnlyPngAndJpegAreDecoded) {
  std::string corpus = std::string(REDKITE_SOURCE_DIR) + "/fuzz/corpus/fuzz_texture/";
  for (const char* name : {"pgm-16bit-short.pgm", "grey-2x2.pgm", "rgb-2x2.bmp", "rgb-2x1.tga", "one-pixel.gif",
                           "one-pixel.hdr", "rgb-2x2.ppm"}) {
    testsupport::TraceDeviceHolder holder;
    d3d9::ComPtr<IDirect3DTexture9> texture;
    EXPECT_EQ(D3DXCreateTextureFromFileA(holder.device.get(), (corpus + name).c_str(), texture.put()),
              D3DXERR_INVALIDDATA)
        << name;
    EXPECT_FALSE(texture) << name;
  }
  for (const char* name : {"rgb-3x2.png", "grey-alpha-4x4.png", "palette-trns-4x2.png", "rgb16-2x2.png"}) {
    testsupport::TraceDeviceHolder holder;
    d3d9::ComPtr<IDirect3DTexture9> texture;
    EXPECT_EQ(D3DXCreateTextureFromFileA(holder.device.get(), (corpus + name).c_str(), texture.put()), D3D_OK) << name;
  }
}

}  // namespace
