// Test data: the effect and texture lists of the manifest and of MainStage with their keys, in load
// order, since which keys go missing after a failure depends on where it happens in a list.
#pragma once

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "tests/tools/ManifestPaths.h"

namespace robustness {

struct Entry {
  std::string path;
  std::string key;
};

inline const std::vector<Entry>& globalEffects() {
  static const std::vector<Entry> list = {
      {"quarvdemo\\shaders\\demo1_text.fx", "demo1text"},       {"quarvdemo\\shaders\\demo1_kube.fx", "kube"},
      {"quarvdemo\\shaders\\texture.fx", "texture"},            {"quarvdemo\\shaders\\demo1_partikkel.fx", "partikkel"},
      {"quarvdemo\\shaders\\demo1_depthoffield.fx", "dof1"},    {"quarvdemo\\shaders\\blur.fx", "blur"},
      {"quarvdemo\\shaders\\render2_turret.fx", "turret"},      {"quarvdemo\\shaders\\render3_line.fx", "line"},
      {"quarvdemo\\shaders\\render3_bakke.fx", "bakke3"},       {"quarvdemo\\shaders\\render3_post.fx", "postfx"},
      {"quarvdemo\\shaders\\render4_bakke.fx", "liquid"},       {"quarvdemo\\shaders\\render3_organ.fx", "organ"},
      {"quarvdemo\\shaders\\render5_endorf.fx", "endorf"},      {"quarvdemo\\shaders\\render6_bakke.fx", "refleksjon"},
      {"quarvdemo\\shaders\\plain.fx", "plain"},                {"quarvdemo\\shaders\\demo2render4_ground.fx", "noiseground"},
      {"quarvdemo\\shaders\\r1_bakke.fx", "bakke1"},            {"quarvdemo\\shaders\\r1_line.fx", "line1"},
      {"quarvdemo\\shaders\\r1_fogplane.fx", "fog1"},           {"quarvdemo\\shaders\\r2_flashpartikkel.fx", "partikkel2"},
      {"quarvdemo\\shaders\\r5_kubepiss.fx", "kube5"},          {"quarvdemo\\shaders\\r2_flash.fx", "flashfx"},
  };
  return list;
}

inline const std::vector<Entry>& stageEffects() {
  static const std::vector<Entry> list = {
      {"quarvdemo\\shaders\\demo1_text.fx", "demo1text"}, {"quarvdemo\\shaders\\demo2_partikkel.fx", "partikkel"},
      {"quarvdemo\\shaders\\demo2_quarv.fx", "quarv"},     {"quarvdemo\\shaders\\demo2_bakke.fx", "bakke"},
      {"quarvdemo\\shaders\\render5_endorf.fx", "endorf"},
  };
  return list;
}

// The 25 effect files, each once, in the order they are first loaded.
inline std::vector<std::string> effectFiles() {
  std::vector<std::string> files;
  for (const auto* list : {&globalEffects(), &stageEffects()})
    for (const Entry& e : *list)
      if (std::find(files.begin(), files.end(), e.path) == files.end()) files.push_back(e.path);
  return files;
}

inline const std::vector<Entry>& globalTextures() {
  static const std::vector<Entry> list = [] {
    const char* keys[] = {"overlay02", "spotlight", "softshadowline", "linediffuse", "black", "white", "sky1", "line1",
                          "diffuse1", "normal1", "blink1", "blink2", "blink3", "flash2", "slide1", "slide2", "slide3",
                          "slide4", "slide5", "slide6", "sky3", "bakke3", "cover3", "face3", "organ13", "organ23",
                          "organ33", "organ43", "organ53", "organ63", "sky4", "cubediffuse4", "normal5", "diffuse5",
                          "light5", "line5", "hore5", "normalv", "endorfdiffuse6", "dorf6", "black6", "hest7",
                          "producer", "moral", "organ", "music", "tinkerfolks8", "remsef", "organ1f", "organ3f",
                          "organ4f", "organ5f", "organ4cf", "organ5cf", "diffusef", "normalf"};
    std::vector<std::string> paths = testsupport::manifestTextures();
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < paths.size() && i < std::size(keys); ++i) entries.push_back({paths[i], keys[i]});
    return entries;
  }();
  return list;
}

}  // namespace robustness
