// Runs the groups on a few worker threads (the music, the longest, first) and reports each one as
// it finishes. Groups share nothing but the read-only fonts, each writes its own files, so the
// bytes do not depend on the order in which the groups run.
#include "tools/contentgen/Generator.h"

#include <stb_image_write.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/contentgen/Cameras.h"
#include "tools/contentgen/Meshes.h"
#include "tools/contentgen/Music.h"
#include "tools/contentgen/Output.h"
#include "tools/contentgen/Textures.h"

namespace contentgen {
namespace {

struct Group {
  const char* name;
  std::function<void(Output&)> write;
};

std::vector<Group> groupsFor(const GenerateOptions& options, const Fonts& fonts) {
  std::vector<Group> groups;
  if (options.music) groups.push_back({"music and spectrum", writeMusic});
  if (options.textures) {
    groups.push_back({"textures: landscapes", writeLandscapeTextures});
    groups.push_back({"textures: organs", writeOrganTextures});
    groups.push_back({"textures: cards", [&fonts](Output& out) { writeCardTextures(out, fonts); }});
    groups.push_back({"textures: opening", writeOpeningTextures});
    groups.push_back({"textures: shared", writeSharedTextures});
  }
  if (options.meshes) {
    groups.push_back({"meshes: terrains", writeTerrainMeshes});
    groups.push_back({"meshes: sky and cave", writeSkyAndCaveMeshes});
    groups.push_back({"meshes: organ stage", writeOrganMeshes});
    groups.push_back({"meshes: eighth scene", writeEndorfMeshes});
  }
  if (options.cameras) {
    groups.push_back({"cameras: first half", writeEarlyCameras});
    groups.push_back({"cameras: second half", writeLateCameras});
  }
  return groups;
}

}  // namespace

bool generateContent(const std::string& root, const GenerateOptions& options) {
  Fonts fonts;
  if (!loadFonts(fonts)) {
    std::fprintf(stderr, "contentgen: cannot load the DejaVu fonts (package fonts-dejavu-core)\n");
    return false;
  }
  // A lighter zlib search than stb's default (8): slightly larger files, a faster writer. Set once,
  // before any thread writes.
  stbi_write_png_compression_level = 4;
  const std::vector<Group> groups = groupsFor(options, fonts);
  std::atomic<std::size_t> next{0};
  std::atomic<bool> ok{true};
  std::mutex print;
  auto worker = [&] {
    for (std::size_t i = next++; i < groups.size(); i = next++) {
      auto start = std::chrono::steady_clock::now();
      Output out(root);
      groups[i].write(out);
      double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (!out.ok()) ok = false;
      std::lock_guard<std::mutex> lock(print);
      std::printf("contentgen: %-22s %3d files  %5.2f s\n", groups[i].name, out.filesWritten(), seconds);
      std::fflush(stdout);
    }
  };
  const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
  auto start = std::chrono::steady_clock::now();
  std::clock_t cpu = std::clock();
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& thread : pool) thread.join();
  std::printf("contentgen: done in %.2f s (%.2f s of processor time, %zu threads) into %s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              double(std::clock() - cpu) / CLOCKS_PER_SEC, threads, root.c_str());
  return ok;
}

}  // namespace contentgen
