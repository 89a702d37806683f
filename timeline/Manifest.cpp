// The manifest's lists and its load order: targets, effects, textures, grids.
#include "timeline/Manifest.h"

#include <memory>

#include "geometry/GenerateGrid.h"
#include "render/Device.h"
#include "render/ScreenPass.h"

namespace timeline {
namespace {

// path, key, path, key, …, null
constexpr const char* kGlobalEffects[] = {
    "quarvdemo\\shaders\\demo1_text.fx",           "demo1text",
    "quarvdemo\\shaders\\demo1_kube.fx",           "kube",
    "quarvdemo\\shaders\\texture.fx",              "texture",
    "quarvdemo\\shaders\\demo1_partikkel.fx",      "partikkel",
    "quarvdemo\\shaders\\demo1_depthoffield.fx",   "dof1",
    "quarvdemo\\shaders\\blur.fx",                 "blur",
    "quarvdemo\\shaders\\render2_turret.fx",       "turret",
    "quarvdemo\\shaders\\render3_line.fx",         "line",
    "quarvdemo\\shaders\\render3_bakke.fx",        "bakke3",
    "quarvdemo\\shaders\\render3_post.fx",         "postfx",
    "quarvdemo\\shaders\\render4_bakke.fx",        "liquid",
    "quarvdemo\\shaders\\render3_organ.fx",        "organ",
    "quarvdemo\\shaders\\render5_endorf.fx",       "endorf",
    "quarvdemo\\shaders\\render6_bakke.fx",        "refleksjon",
    "quarvdemo\\shaders\\plain.fx",                "plain",
    "quarvdemo\\shaders\\demo2render4_ground.fx",  "noiseground",
    "quarvdemo\\shaders\\r1_bakke.fx",             "bakke1",
    "quarvdemo\\shaders\\r1_line.fx",              "line1",
    "quarvdemo\\shaders\\r1_fogplane.fx",          "fog1",
    "quarvdemo\\shaders\\r2_flashpartikkel.fx",    "partikkel2",
    "quarvdemo\\shaders\\r5_kubepiss.fx",          "kube5",
    "quarvdemo\\shaders\\r2_flash.fx",             "flashfx",
    nullptr,
};

constexpr const char* kGlobalTextures[] = {
    "quarvdemo\\overlay02.png",                   "overlay02",
    "quarvdemo\\spotlight01.png",                 "spotlight",
    "quarvdemo\\soft.png",                        "softshadowline",
    "quarvdemo\\linetexture.png",                 "linediffuse",
    "quarvdemo\\black.png",                       "black",
    "quarvdemo\\white.png",                       "white",
    "quarvdemo\\render1\\sky04.png",              "sky1",
    "quarvdemo\\render1\\linetextureg.png",       "line1",
    "quarvdemo\\render1\\diffuse.png",            "diffuse1",
    "quarvdemo\\render1\\normal.png",             "normal1",
    "quarvdemo\\render1\\blink1.png",             "blink1",
    "quarvdemo\\render1\\blink2.png",             "blink2",
    "quarvdemo\\render1\\blink3.png",             "blink3",
    "quarvdemo\\fflash.png",                      "flash2",
    "quarvdemo\\render2\\1.png",                  "slide1",
    "quarvdemo\\render2\\2.png",                  "slide2",
    "quarvdemo\\render2\\3.png",                  "slide3",
    "quarvdemo\\render2\\4.png",                  "slide4",
    "quarvdemo\\render2\\5.png",                  "slide5",
    "quarvdemo\\render2\\6.png",                  "slide6",
    "quarvdemo\\render3\\sky03.png",              "sky3",
    "quarvdemo\\render3\\bakke2.jpg",             "bakke3",
    "quarvdemo\\render3\\coverup.png",            "cover3",
    "quarvdemo\\render3\\face.png",               "face3",
    "quarvdemo\\render3\\organ1.png",             "organ13",
    "quarvdemo\\render3\\organ2.png",             "organ23",
    "quarvdemo\\render3\\organ3.png",             "organ33",
    "quarvdemo\\render3\\organ4.png",             "organ43",
    "quarvdemo\\render3\\organ5.png",             "organ53",
    "quarvdemo\\render3\\organ6.png",             "organ63",
    "quarvdemo\\render4\\sky04.png",              "sky4",
    "quarvdemo\\render4\\cubediffuse.png",        "cubediffuse4",
    "quarvdemo\\render5\\normalmap.png",          "normal5",
    "quarvdemo\\render5\\diffuse.png",            "diffuse5",
    "quarvdemo\\render5\\light.png",              "light5",
    "quarvdemo\\render5\\lineblack.png",          "line5",
    "quarvdemo\\render5\\hore.png",               "hore5",
    "quarvdemo\\vally\\normal.png",               "normalv",
    "quarvdemo\\render6\\bakkeendof.png",         "endorfdiffuse6",
    "quarvdemo\\render6\\dorf.png",               "dorf6",
    "quarvdemo\\render6\\black.png",              "black6",
    "quarvdemo\\render7\\hest.png",               "hest7",
    "quarvdemo\\render8\\producer.png",           "producer",
    "quarvdemo\\render8\\moral.png",              "moral",
    "quarvdemo\\render8\\organdonor.png",         "organ",
    "quarvdemo\\render8\\music.png",              "music",
    "quarvdemo\\render8\\tink8.png",              "tinkerfolks8",
    "quarvdemo\\renderFSeries\\remse.png",        "remsef",
    "quarvdemo\\renderFSeries\\organ1.jpg",       "organ1f",
    "quarvdemo\\renderFSeries\\organ3.jpg",       "organ3f",
    "quarvdemo\\renderFSeries\\organ4.jpg",       "organ4f",
    "quarvdemo\\renderFSeries\\organ5.jpg",       "organ5f",
    "quarvdemo\\renderFSeries\\organ4c.png",      "organ4cf",
    "quarvdemo\\renderFSeries\\organ5c.png",      "organ5cf",
    "quarvdemo\\renderFSeries\\diffuse.png",      "diffusef",
    "quarvdemo\\renderFSeries\\normalf.png",      "normalf",
    nullptr,
};

// The virtual screen the screen grids cover: 640 x 480 from (-320, -240).
constexpr float kScreenWidth = 640, kScreenHeight = 480, kScreenLeft = -320, kScreenBottom = -240;
constexpr UINT kDistortionColumns = 100, kDistortionRows = 75;

}  // namespace

namespace {
std::unique_ptr<Manifest>& manifestInstance() {
  static std::unique_ptr<Manifest> instance;
  return instance;
}
}  // namespace

Manifest& manifest() {
  auto& instance = manifestInstance();
  if (!instance) instance = std::make_unique<Manifest>();
  return *instance;
}

void loadManifest() {
  IDirect3DDevice9* device = render::device();
  Manifest& m = manifest();
  D3DSURFACE_DESC back{};
  {
    d3d9::ComPtr<IDirect3DSurface9> backBuffer;
    if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()))) backBuffer->GetDesc(&back);
  }
  const UINT halfWidth = render::halfSize(back.Width), halfHeight = render::halfSize(back.Height);
  m.shadowTarget.create(kShadowTargetSize, kShadowTargetSize, back.Format, "shadowTarget");
  m.depthTarget.create(back.Width, back.Height, D3DFMT_R32F, "depthTarget");
  m.screenCopyTarget.create(back.Width, back.Height, back.Format, "screenCopyTarget");
  m.halfTargetA.create(halfWidth, halfHeight, back.Format, "halfTargetA");
  m.halfTargetB.create(halfWidth, halfHeight, back.Format, "halfTargetB");
  m.effects.load(device, kGlobalEffects);
  m.textures.load(device, kGlobalTextures);
  geometry::GenerateGrid(device, m.fullScreenQuad, 2, 2, kScreenWidth, kScreenHeight, kScreenLeft, kScreenBottom,
                         "fullScreenQuad");
  geometry::GenerateGrid(device, m.distortionGrid, kDistortionColumns, kDistortionRows, kScreenWidth, kScreenHeight,
                         kScreenLeft, kScreenBottom, "distortionGrid");
}

void releaseManifest() { manifestInstance().reset(); }

}  // namespace timeline
