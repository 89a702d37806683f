// Start-up with broken content: each content file deleted, cut to half its length, or filled with
// random bytes (every mesh and every camera path together, each texture and effect file on its
// own, the spectrum file, the music), then a frame in every slot and of every renderer. The
// message boxes must be exactly the documented ones for that file, the device must refuse no
// call, and the show must run on and tear down normally.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/trace/FrameTrace.h"
#include "tests/robustness/ContentCopy.h"
#include "tests/robustness/ContentLists.h"
#include "tests/robustness/ShowRun.h"
#include "tests/support/MessageBoxes.h"

namespace {

using robustness::Fault;
using testsupport::messageBoxLine;

// A formatted message text as the system cuts it: at most 63 characters and the terminator.
template <typename... Args>
std::string cut(const char* format, Args... args) {
  char text[64];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

std::vector<std::string> sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::string describe(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "\n  " + line;
  return out.empty() ? " (none)" : out;
}

using StartUpCheck = std::function<void(const std::vector<std::string>& messages)>;

// Start-up must show exactly these messages, in any order.
StartUpCheck exactly(std::vector<std::string> expected) {
  return [expected = sorted(std::move(expected))](const std::vector<std::string>& messages) {
    EXPECT_EQ(sorted(messages), expected) << "start-up showed" << describe(messages) << "\nexpected"
                                          << describe(expected);
  };
}

std::string jsonString(std::string_view text) {
  std::string out;
  trace::appendJsonString(out, text);
  return out;
}

bool hasCaption(const std::string& line, std::string_view caption) {
  return line.ends_with(R"(,"caption":)" + jsonString(caption) + "}");
}

bool textStartsWith(const std::string& line, std::string_view prefix) {
  std::string text = jsonString(prefix);
  text.pop_back();  // the closing quote
  return line.starts_with(R"({"ev":"messageBox","text":)" + text);
}

// Starts the show in the content copy, checks the start-up messages, draws a frame in every slot
// and of every renderer, and checks each frame message with `allowedInFrames`. Returns the frame
// messages seen.
std::vector<std::string> runShow(robustness::ContentCopy& content, const std::string& what, const StartUpCheck& startUp,
                                 const std::function<bool(const std::string&)>& allowedInFrames,
                                 bool openMusic = false) {
  SCOPED_TRACE(what);
  robustness::RunOptions options;
  options.openMusic = openMusic;
  robustness::ShowRun run(content.root(), options);
  if (!run.started()) {
    ADD_FAILURE() << "the show did not start";
    return {};
  }
  startUp(run.startUpMessages);
  std::vector<std::string> seen;
  unsigned refused = run.invalidCalls();
  for (double t : robustness::framesInEverySlot()) {
    robustness::FrameResult frame = run.frame(t);
    for (const std::string& line : frame.messageBoxes) {
      if (!allowedInFrames(line)) ADD_FAILURE() << "at " << t << " an undocumented message " << line;
      seen.push_back(line);
    }
    EXPECT_EQ(frame.presents, frame.scene ? 1u : 0u) << "at " << t;
  }
  EXPECT_EQ(run.invalidCalls(), refused) << "the device refused calls while drawing";
  return seen;
}

bool nothingAllowed(const std::string&) { return false; }

// The generated content, its textures replaced by tiny images: each test starts the show dozens
// of times, and decoding the real ones would be most of the time spent.
class ContentFaults : public testing::Test {
protected:
  void SetUp() override { robustness::useTinyTestImages(content); }

  robustness::ContentCopy content{REDKITE_CONTENT_DIR};
};

// Every file of one kind broken the same way at once: each load reports its path with `message`;
// `loadedTwice` is the one file of the kind that two objects load, so it is reported twice.
void everyFileOfAKind(robustness::ContentCopy& content, const std::vector<std::string>& paths, const char* kind,
                      const char* message, const std::string& loadedTwice) {
  for (Fault fault : robustness::kFaults) {
    std::vector<std::string> expected;
    for (const std::string& path : paths) {
      content.apply(fault, path);
      expected.push_back(messageBoxLine(path, message));
    }
    expected.push_back(messageBoxLine(loadedTwice, message));
    runShow(content, std::string("every ") + kind + " file " + robustness::faultName(fault), exactly(expected),
            nothingAllowed);
    for (const std::string& path : paths) content.restore(path);
  }
}

// Each load of a mesh file reports its path; the meshes stay empty and draw nothing. noiseMesh and
// noiseMeshB load the same file.
TEST_F(ContentFaults, EveryMeshFile) {
  everyFileOfAKind(content, testsupport::manifestMeshes(), "mesh", "Failed To Open The MeshFile",
                   "quarvdemo\\render5\\noise.SCENEPlane01.mesh");
}

// Each load of a camera file reports its path with "Fopen()"; the camera keeps empty tracks.
// organCameras[1] and r3Camera06 load the same file.
TEST_F(ContentFaults, EveryCameraFile) {
  everyFileOfAKind(content, testsupport::manifestCameras(), "camera", "Fopen()",
                   "quarvdemo\\render3\\r3.SCENECamera06.camera");
}

// Start-up loads in the program's order: the music, the manifest, OrganStage, MainStage, then the
// spectrum. With one file of each missing, their messages come in that order.
TEST_F(ContentFaults, StartUpLoadsMusicManifestStagesThenSpectrum) {
  const std::string music = "RV07\\Vemir-Red Kite.mp3", texture = "quarvdemo\\overlay02.png",
                    organMesh = "quarvdemo\\render3\\r3.SCENEPlane01.mesh",
                    mainMesh = "quarvdemo\\render1\\grotte.SCENEPlane01.mesh", spectrum = "RV07\\syncdata\\fft.txt";
  const std::string paths[] = {music, texture, organMesh, mainMesh, spectrum};
  for (const std::string& path : paths) content.apply(Fault::Delete, path);
  {
    robustness::RunOptions options;
    options.openMusic = true;
    robustness::ShowRun run(content.root(), options);
    EXPECT_EQ(run.startUpMessages, (std::vector<std::string>{
                                       messageBoxLine("BASS_StreamCreateFile", "Error::BASS"),
                                       messageBoxLine(cut("InvalidData With %s", "overlay02"), "TextureStack"),
                                       messageBoxLine(organMesh, "Failed To Open The MeshFile"),
                                       messageBoxLine(mainMesh, "Failed To Open The MeshFile"),
                                       messageBoxLine(spectrum, "Problems With File"),
                                   }));
  }
  for (const std::string& path : paths) content.restore(path);
}

// A spectrum file that cannot be read, or holds less than its header claims, or is noise, is
// reported once; the frames then read whatever bands there are (random ones included).
TEST_F(ContentFaults, SpectrumFile) {
  const std::string path = "RV07\\syncdata\\fft.txt";
  for (Fault fault : robustness::kFaults) {
    content.apply(fault, path);
    runShow(content, std::string("spectrum file ") + robustness::faultName(fault),
            exactly({messageBoxLine(path, "Problems With File")}), nothingAllowed);
    content.restore(path);
  }
}

// The music: a file that cannot be decoded gives the stream message; half a file plays as a
// shorter piece without one.
TEST_F(ContentFaults, MusicFile) {
  const std::string path = "RV07\\Vemir-Red Kite.mp3";
  for (Fault fault : robustness::kFaults) {
    content.apply(fault, path);
    std::vector<std::string> expected;
    if (fault != Fault::Truncate) expected.push_back(messageBoxLine("BASS_StreamCreateFile", "Error::BASS"));
    runShow(content, std::string("music file ") + robustness::faultName(fault), exactly(expected), nothingAllowed, true);
    content.restore(path);
  }
}

// A texture that cannot be decoded (missing, cut in half, noise; JPEGs included, whose decoder
// refuses a file that ends inside its scan) stops the texture list: its key is reported once at
// start-up, and the frames report "No Match" only for it and the keys after it.
TEST_F(ContentFaults, EachTextureFile) {
  const auto& textures = robustness::globalTextures();
  ASSERT_EQ(textures.size(), 56u);
  for (std::size_t i = 0; i < textures.size(); ++i) {
    for (Fault fault : robustness::kFaults) {
      content.restore(textures[i].path);  // the generated picture, broken
      content.apply(fault, textures[i].path);
      auto missing = [&](const std::string& line) {
        for (std::size_t j = i; j < textures.size(); ++j)
          if (line == messageBoxLine(textures[j].key, "No Match")) return true;
        return false;
      };
      std::vector<std::string> seen =
          runShow(content, textures[i].path + " " + robustness::faultName(fault),
                  exactly({messageBoxLine(cut("InvalidData With %s", textures[i].key.c_str()), "TextureStack")}),
                  missing);
      // Every scene draws the frame overlay, the first texture of the list.
      if (i == 0) {
        EXPECT_NE(std::find(seen.begin(), seen.end(), messageBoxLine("overlay02", "No Match")), seen.end());
      }
      content.shrink(textures[i].path);
    }
  }
}

// An effect file that cannot be read or parsed stops each list it is in, with the compile message
// naming it and the compiler's text; the frames report "No Match" only for the keys from it on.
// Half a file may still parse with passes lost: it loads, and Begin reports the missing technique
// or pass number for its key.
TEST_F(ContentFaults, EachEffectFile) {
  int loadedHalves = 0;
  for (const std::string& file : robustness::effectFiles()) {
    std::vector<std::string> keysOfFile, keysAfterIt;
    for (const auto* list : {&robustness::globalEffects(), &robustness::stageEffects()}) {
      auto at = std::find_if(list->begin(), list->end(), [&](const robustness::Entry& e) { return e.path == file; });
      if (at == list->end()) continue;
      keysOfFile.push_back(at->key);
      for (auto it = at; it != list->end(); ++it) keysAfterIt.push_back(it->key);
    }
    const std::string compileCaption = cut("Shader Compilation Error In [%s]", file.c_str());
    for (Fault fault : robustness::kFaults) {
      content.apply(fault, file);
      bool failed = true;
      auto startUp = [&](const std::vector<std::string>& messages) {
        failed = !messages.empty();
        loadedHalves += failed ? 0 : 1;
        if (fault != Fault::Truncate) {
          EXPECT_TRUE(failed) << "a broken effect file loaded";
        }
        if (!failed) return;
        EXPECT_EQ(messages.size(), keysOfFile.size()) << describe(messages);
        for (const std::string& line : messages) {
          EXPECT_TRUE(hasCaption(line, compileCaption)) << line;
          EXPECT_TRUE(textStartsWith(line, file)) << "the compiler's text names the file: " << line;
        }
      };
      auto inFrames = [&](const std::string& line) {
        for (const std::string& key : keysOfFile) {
          if (!failed && line == messageBoxLine(cut("Begin[Ref == %s] Doesn't Have An Current Technique", key.c_str()),
                                                "Effect->Begin"))
            return true;
          if (!failed && hasCaption(line, "Effect Error [Begin]") &&
              textStartsWith(line, "Effect[" + key + "] -  has MaxPasses["))
            return true;
        }
        if (failed)
          for (const std::string& key : keysAfterIt)
            if (line == messageBoxLine(key, "No Match")) return true;
        return false;
      };
      runShow(content, file + " " + robustness::faultName(fault), startUp, inFrames);
      content.restore(file);
    }
  }
  RecordProperty("truncatedFilesThatLoaded", loadedHalves);
}

}  // namespace
