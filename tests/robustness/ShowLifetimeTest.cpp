// The show from start-up to shutdown through the program's own start-up (ShowContent) on a device
// that records its buffer use: when the music starts, which stage goes first, and the flags of every
// buffer lock at start-up and in a frame of every slot and renderer.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/platform/audio/ToneMp3.h"
#include "tests/robustness/ContentCopy.h"
#include "tests/robustness/ShowRun.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/RecordingDevice.h"

namespace {

using testsupport::BufferEvent;

class ShowLifetime : public testing::Test {
protected:
  void SetUp() override { robustness::useTinyTestImages(content); }

  robustness::ContentCopy content{REDKITE_CONTENT_DIR};
  testsupport::DeviceRecord record;  // outlives every run's buffers
};

// The stage a generated buffer belongs to by its name ("MainStage.planeGrids[2]"), "" for a file's.
std::string stageOf(const std::string& name) {
  for (const char* stage : {"MainStage", "OrganStage"})
    if (name.starts_with(std::string(stage) + ".")) return stage;
  return "";
}

// With the spectrum file missing, start-up reports it while the music is still stopped, records
// it silently (volume 0) from a short piece, and only then sets full volume and plays. At
// shutdown every MainStage buffer is released before the first OrganStage one.
TEST_F(ShowLifetime, MusicStartsAfterTheSpectrumAndMainStageGoesFirst) {
  const std::string spectrum = "RV07\\syncdata\\fft.txt";
  content.apply(robustness::Fault::Delete, spectrum);
  // A one-second piece: too short for a whole record, so its silent recording ends at once.
  const auto piece = testsupport::encodeMp3(testsupport::tone(44100, 2, 1.0, 440.0, 0.3), 44100, 2);
  ASSERT_FALSE(piece.empty());
  std::ofstream(content.pathOf(app::kMusicPath), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(piece.data()), std::streamsize(piece.size()));

  robustness::RunOptions options;
  options.openMusic = true;
  options.record = &record;
  std::vector<DWORD> activityAtTheSpectrumMessage;
  options.onStartUpMessage = [&](const std::string& line, HSTREAM music) {
    if (line == testsupport::messageBoxLine(spectrum, "Problems With File"))
      activityAtTheSpectrumMessage.push_back(BASS_ChannelIsActive(music));
  };
  {
    robustness::ShowRun run(content.root(), options);
    ASSERT_TRUE(run.started());
    EXPECT_EQ(activityAtTheSpectrumMessage, std::vector<DWORD>{BASS_ACTIVE_STOPPED});
    DWORD volume = 0;
    EXPECT_TRUE(BASS_ChannelGetAttributes(run.music(), nullptr, &volume, nullptr));
    EXPECT_EQ(volume, 100u);
    EXPECT_EQ(BASS_ChannelIsActive(run.music()), BASS_ACTIVE_PLAYING);
    record.buffers.clear();
  }
  std::vector<std::string> releaseOrder;
  for (const BufferEvent& event : record.buffers) {
    const std::string stage = stageOf(event.name);
    if (event.kind == BufferEvent::Release && !stage.empty() && (releaseOrder.empty() || releaseOrder.back() != stage))
      releaseOrder.push_back(stage);
  }
  EXPECT_EQ(releaseOrder, (std::vector<std::string>{"MainStage", "OrganStage"}));
}

// Loading fills each buffer once with a plain lock (flags 0), except a mesh file's vertices, which
// take a discarding lock, and the sprites, whose first upload discards; the OrganStage cube grid is
// then read back for its rest copy without overwriting. In the frames every rewrite discards,
// except the two that keep part of what they rewrite (the ground morph's output and the MainStage
// cube lift, flags 0) and their two height sources, locked read-only. No index buffer is locked
// after loading.
TEST_F(ShowLifetime, EveryBufferLockHasItsFlags) {
  robustness::RunOptions options;
  options.record = &record;
  robustness::ShowRun run(content.root(), options);
  ASSERT_TRUE(run.started());

  timeline::MainStage& main = run.content().main();
  const std::set<const void*> sprites = {main.singleSprite.vertexBuffer.get(), main.swarmSprites.vertexBuffer.get(),
                                         main.sprites40.vertexBuffer.get()};
  // What each start-up lock is, and so the flags it must have.
  auto kindOf = [&](const BufferEvent& event) -> std::pair<std::string, DWORD> {
    if (!event.vertices) return {"index fill", 0};
    if (event.name == "OrganStage.cubeGrid" && event.flags == D3DLOCK_NOOVERWRITE) return {"cube rest copy", D3DLOCK_NOOVERWRITE};
    if (event.name.ends_with(".mesh")) return {"mesh file vertices", D3DLOCK_DISCARD};
    if (sprites.count(event.buffer)) return {"first sprite upload", D3DLOCK_DISCARD};
    return {"generated vertex fill", 0};
  };
  std::set<std::string> startUp;
  for (const BufferEvent& event : record.buffers) {
    if (event.kind != BufferEvent::Lock) continue;
    const auto [kind, flags] = kindOf(event);
    EXPECT_EQ(event.flags, flags) << kind << " of " << event.name << " at start-up";
    startUp.insert(kind);
  }
  EXPECT_EQ(startUp, (std::set<std::string>{"index fill", "cube rest copy", "mesh file vertices", "first sprite upload",
                                            "generated vertex fill"}));

  const std::vector<std::pair<const void*, DWORD>> kept = {
      {main.noiseMesh.vertexBuffer.get(), D3DLOCK_READONLY},
      {main.noise2Mesh.vertexBuffer.get(), D3DLOCK_READONLY},
      {main.noiseMeshB.vertexBuffer.get(), 0},
      {main.cubeGrid.vertexBuffer.get(), 0},
  };
  record.buffers.clear();
  for (double t : robustness::framesInEverySlot()) run.frame(t);
  std::set<const void*> seen;
  for (const BufferEvent& event : record.buffers) {
    if (event.kind != BufferEvent::Lock) continue;
    EXPECT_TRUE(event.vertices) << event.name << " locked in a frame";
    DWORD flags = D3DLOCK_DISCARD;
    for (const auto& [buffer, keptFlags] : kept)
      if (buffer == event.buffer) flags = keptFlags;
    EXPECT_EQ(event.flags, flags) << event.name << " in a frame";
    seen.insert(event.buffer);
  }
  for (const auto& [buffer, flags] : kept) EXPECT_TRUE(seen.count(buffer)) << "a kept buffer was never locked";
  EXPECT_GT(seen.size(), kept.size()) << "no discarding rewrite in any frame";
}

}  // namespace
