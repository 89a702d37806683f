// Test data: every file the show loads from the generated content, as the asset manifest and the
// scene-state members name them (56 textures, 19 meshes, 33 camera paths, the music and its
// spectrum file). Kept apart from the generator's own lists so a file it forgets is caught.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::string> manifestTextures() {
  std::vector<std::string> paths = {
      "quarvdemo\\overlay02.png", "quarvdemo\\spotlight01.png", "quarvdemo\\soft.png", "quarvdemo\\linetexture.png",
      "quarvdemo\\black.png", "quarvdemo\\white.png", "quarvdemo\\render1\\sky04.png",
      "quarvdemo\\render1\\linetextureg.png", "quarvdemo\\render1\\diffuse.png", "quarvdemo\\render1\\normal.png",
      "quarvdemo\\render1\\blink1.png", "quarvdemo\\render1\\blink2.png", "quarvdemo\\render1\\blink3.png",
      "quarvdemo\\fflash.png"};
  for (int n = 1; n <= 6; ++n) paths.push_back("quarvdemo\\render2\\" + std::to_string(n) + ".png");
  for (const char* p : {"quarvdemo\\render3\\sky03.png", "quarvdemo\\render3\\bakke2.jpg", "quarvdemo\\render3\\coverup.png",
                        "quarvdemo\\render3\\face.png"})
    paths.push_back(p);
  for (int n = 1; n <= 6; ++n) paths.push_back("quarvdemo\\render3\\organ" + std::to_string(n) + ".png");
  for (const char* p :
       {"quarvdemo\\render4\\sky04.png", "quarvdemo\\render4\\cubediffuse.png", "quarvdemo\\render5\\normalmap.png",
        "quarvdemo\\render5\\diffuse.png", "quarvdemo\\render5\\light.png", "quarvdemo\\render5\\lineblack.png",
        "quarvdemo\\render5\\hore.png", "quarvdemo\\vally\\normal.png", "quarvdemo\\render6\\bakkeendof.png",
        "quarvdemo\\render6\\dorf.png", "quarvdemo\\render6\\black.png", "quarvdemo\\render7\\hest.png",
        "quarvdemo\\render8\\producer.png", "quarvdemo\\render8\\moral.png", "quarvdemo\\render8\\organdonor.png",
        "quarvdemo\\render8\\music.png", "quarvdemo\\render8\\tink8.png", "quarvdemo\\renderFSeries\\remse.png",
        "quarvdemo\\renderFSeries\\organ1.jpg", "quarvdemo\\renderFSeries\\organ3.jpg",
        "quarvdemo\\renderFSeries\\organ4.jpg", "quarvdemo\\renderFSeries\\organ5.jpg",
        "quarvdemo\\renderFSeries\\organ4c.png", "quarvdemo\\renderFSeries\\organ5c.png",
        "quarvdemo\\renderFSeries\\diffuse.png", "quarvdemo\\renderFSeries\\normalf.png"})
    paths.push_back(p);
  return paths;
}

inline std::vector<std::string> manifestMeshes() {
  std::vector<std::string> paths = {
      "quarvdemo\\render3\\r3.SCENEPlane01.mesh", "quarvdemo\\render3\\r3.SCENEGeoSphere01.mesh",
      "quarvdemo\\render3\\r3.SCENEPlane03.mesh", "quarvdemo\\render1\\grotte.SCENEPlane01.mesh",
      "quarvdemo\\render1\\quarv.SCENEshadow.mesh", "quarvdemo\\render5\\noise.SCENEPlane01.mesh",
      "quarvdemo\\render5\\noise2.SCENEPlane01.mesh", "quarvdemo\\vally\\vally.SCENEPlane01.mesh",
      "quarvdemo\\render6\\endorf.SCENEPlane03.mesh", "quarvdemo\\render6\\dorf.SCENEGeoSphere01.mesh",
      "quarvdemo\\renderFSeries\\bakke.SCENEPlane01.mesh", "quarvdemo\\renderFSeries\\bakke.SCENEPlane03.mesh",
      "quarvdemo\\render3\\hemi.SCENEGeoSphere01.mesh"};
  for (int n = 1; n <= 6; ++n) paths.push_back("quarvdemo\\render3\\r3.SCENEorgan" + std::to_string(n) + ".mesh");
  return paths;
}

inline std::vector<std::string> manifestCameras() {
  std::vector<std::string> paths;
  for (int n : {5, 6, 7, 8}) paths.push_back("quarvdemo\\render3\\r3.SCENECamera0" + std::to_string(n) + ".camera");
  for (const char* n : {"09", "10", "12"}) paths.push_back(std::string("quarvdemo\\render4\\r4.SCENECamera") + n + ".camera");
  for (int n = 1; n <= 5; ++n) paths.push_back("quarvdemo\\render1\\grotte.SCENECamera0" + std::to_string(n) + ".camera");
  paths.push_back("quarvdemo\\render1\\intro\\intro.SCENECamera01.camera");
  for (int n = 1; n <= 4; ++n) paths.push_back("quarvdemo\\render5\\g.SCENECamera0" + std::to_string(n) + ".camera");
  for (int n = 1; n <= 6; ++n) paths.push_back("quarvdemo\\vally\\vally.SCENECamera0" + std::to_string(n) + ".camera");
  for (int n = 1; n <= 3; ++n) paths.push_back("quarvdemo\\render6\\endorf.SCENECamera0" + std::to_string(n) + ".camera");
  for (int n = 1; n <= 3; ++n) paths.push_back("quarvdemo\\render7\\r7.SCENECamera0" + std::to_string(n) + ".camera");
  for (int n = 1; n <= 4; ++n) paths.push_back("quarvdemo\\renderFSeries\\bakke.SCENECamera0" + std::to_string(n) + ".camera");
  return paths;
}

inline std::vector<std::string> manifestMusic() { return {"RV07\\Vemir-Red Kite.mp3", "RV07\\syncdata\\fft.txt"}; }

}  // namespace testsupport
