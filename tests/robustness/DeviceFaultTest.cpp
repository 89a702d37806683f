// Start-up with each creation call of the device failing in turn: for every kind of creation call,
// a healthy run counts the calls, then the first fails, then the second, and so on. Each
// failure must give exactly one of the documented messages for that call, the frames in every
// slot may only show what follows from it (a missing texture's "No Match", a render target's
// begin and end messages), and the show must run on and tear down normally.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/robustness/ContentCopy.h"
#include "tests/robustness/ContentLists.h"
#include "tests/robustness/ShowRun.h"
#include "tests/support/MessageBoxes.h"
#include "tests/tools/ManifestPaths.h"

namespace {

using d3d9::trace::Call;
using testsupport::messageBoxLine;

// The result codes the message table names, taken in turn so each format is shown.
constexpr HRESULT kResults[] = {E_OUTOFMEMORY, D3DERR_OUTOFVIDEOMEMORY, D3DERR_INVALIDCALL,
                                static_cast<HRESULT>(0x88760B59u) /* D3DXERR_INVALIDDATA */, E_FAIL};

std::string hresultText(HRESULT hr, const std::string& subject) {
  const char* format = "No Case With %s - Everything Should Be Fine";
  if (hr == E_OUTOFMEMORY) format = "OutOfMemory With %s";
  if (hr == D3DERR_OUTOFVIDEOMEMORY) format = "OutOfVideoMemory With %s";
  if (hr == D3DERR_INVALIDCALL) format = "InvalidCall With %s";
  if (hr == static_cast<HRESULT>(0x88760B59u)) format = "InvalidData With %s";
  char text[64];
  std::snprintf(text, sizeof text, format, subject.c_str());
  return text;
}

// What one failed call of `call` with `hr` may show at start-up, each with what the frames may
// show after it.
struct Outcome {
  std::string startUp;
  std::set<std::string> inFrames;
};

std::vector<Outcome> documentedOutcomes(Call call, HRESULT hr) {
  std::vector<Outcome> outcomes;
  const std::set<std::string> renderTargetFrames = {
      messageBoxLine("g rt", "render"), messageBoxLine("g ds", "render"),   messageBoxLine("s rt", "render"),
      messageBoxLine("s ds", "render"), messageBoxLine("e s rt", "render"), messageBoxLine("e s ds", "render")};
  std::vector<std::string> meshPaths = testsupport::manifestMeshes();
  switch (call) {
    case Call::CreateTexture: {
      outcomes.push_back({messageBoxLine("boya", "ME"), renderTargetFrames});
      const auto& textures = robustness::globalTextures();
      for (std::size_t i = 0; i < textures.size(); ++i) {
        Outcome o{messageBoxLine(hresultText(hr, textures[i].key), "TextureStack"), {}};
        for (std::size_t j = i; j < textures.size(); ++j) o.inFrames.insert(messageBoxLine(textures[j].key, "No Match"));
        outcomes.push_back(o);
      }
      break;
    }
    case Call::CreateDepthStencilSurface: outcomes.push_back({messageBoxLine("depth", "rt"), renderTargetFrames}); break;
    case Call::CreateVertexBuffer:
      for (const std::string& path : meshPaths) outcomes.push_back({messageBoxLine(hresultText(hr, path), "VertexBuffer"), {}});
      outcomes.push_back({messageBoxLine("CreateVertexBuffer", "GenerateGrid"), {}});
      outcomes.push_back({messageBoxLine("CreateVertexBuffer", "PointSprites Init"), {}});
      break;
    case Call::CreateIndexBuffer:
      for (const std::string& path : meshPaths) outcomes.push_back({messageBoxLine(hresultText(hr, path), "IndexBuffer"), {}});
      outcomes.push_back({messageBoxLine("CreateIndexBuffer", "GenerateGrid"), {}});
      outcomes.push_back({messageBoxLine(hresultText(hr, "PointSprites Init"), "CreateIndexBuffer"), {}});
      break;
    case Call::CreateVertexDeclaration:
      outcomes.push_back({messageBoxLine(hresultText(hr, "Kaviar"), "VertexDecl"), {}});
      outcomes.push_back({messageBoxLine("CreateVertexDeclaration", "Quarv, CubeGrid"), {}});
      outcomes.push_back({messageBoxLine(hresultText(hr, "PointSprites Init"), "VertexDecl"), {}});
      break;
    default: break;
  }
  return outcomes;
}

// The creation calls of `call`'s kind a healthy start-up and its frames make.
unsigned healthyCount(const std::string& content, Call call) {
  testsupport::DeviceRecord record;
  robustness::RunOptions options;
  options.record = &record;
  robustness::ShowRun run(content, options);
  EXPECT_TRUE(run.started());
  EXPECT_TRUE(run.startUpMessages.empty()) << run.startUpMessages.front();
  for (double t : robustness::framesInEverySlot()) run.frame(t);
  return record.creations[std::size_t(call)];
}

// Fails the 1st, 2nd, … call of `call`, one per start-up, for as many calls as a healthy run
// makes. `silent` is how many of them the system documents as unchecked (no message); every
// other one must show exactly one documented message. Returns how many calls were failed.
unsigned failEachCallInTurn(Call call, unsigned silent = 0) {
  // Tiny textures: the show starts some forty times per kind of call.
  robustness::ContentCopy content(REDKITE_CONTENT_DIR);
  robustness::useTinyTestImages(content);
  const unsigned calls = healthyCount(content.root(), call);
  unsigned unreported = 0;
  for (unsigned nth = 1; nth <= calls; ++nth) {
    HRESULT hr = kResults[nth % std::size(kResults)];
    SCOPED_TRACE("call " + std::to_string(nth) + " of " + std::to_string(calls) + " failing");
    robustness::RunOptions options;
    options.armFailures = [&](d3d9::trace::FailurePlan& plan) { plan.fail(call, hr, nth); };
    robustness::ShowRun run(content.root(), options);
    if (!run.started()) {
      ADD_FAILURE() << "the show did not start";
      continue;
    }
    std::vector<std::string> frameMessages;
    for (double t : robustness::framesInEverySlot()) {
      robustness::FrameResult frame = run.frame(t);
      frameMessages.insert(frameMessages.end(), frame.messageBoxes.begin(), frame.messageBoxes.end());
      EXPECT_EQ(frame.presents, frame.scene ? 1u : 0u) << "at " << t;
    }
    if (run.startUpMessages.empty()) {
      ++unreported;
      for (const std::string& line : frameMessages) ADD_FAILURE() << "after an unreported failure: " << line;
      continue;
    }
    if (run.startUpMessages.size() != 1) {
      ADD_FAILURE() << "one failure showed " << run.startUpMessages.size() << " messages, the first "
                    << run.startUpMessages[0] << "\nthe second " << run.startUpMessages[1];
      continue;
    }
    const std::string& shown = run.startUpMessages[0];
    const Outcome* outcome = nullptr;
    std::vector<Outcome> outcomes = documentedOutcomes(call, hr);
    for (const Outcome& o : outcomes)
      if (o.startUp == shown) outcome = &o;
    if (!outcome) {
      ADD_FAILURE() << "an undocumented message for this failure: " << shown;
      continue;
    }
    for (const std::string& line : frameMessages)
      if (!outcome->inFrames.count(line)) ADD_FAILURE() << "after " << shown << " the frames showed " << line;
  }
  EXPECT_EQ(unreported, silent) << "failures that showed no message";
  testing::Test::RecordProperty("failedCalls", int(calls));
  return calls;
}

// The lower bounds come from the manifest.
TEST(DeviceFaults, EachTextureCreationFails) {
  EXPECT_GE(failEachCallInTurn(Call::CreateTexture), 5u + 56u);  // five render targets, 56 textures
}

TEST(DeviceFaults, EachDepthSurfaceCreationFails) {
  EXPECT_GE(failEachCallInTurn(Call::CreateDepthStencilSurface), 5u);  // one per render target
}

// 20 mesh loads (one file twice), 14 grids, 2 cube grids and 3 point-sprite sets.
TEST(DeviceFaults, EachVertexBufferCreationFails) { EXPECT_GE(failEachCallInTurn(Call::CreateVertexBuffer), 39u); }

TEST(DeviceFaults, EachIndexBufferCreationFails) { EXPECT_GE(failEachCallInTurn(Call::CreateIndexBuffer), 39u); }

// The 14 flat grids create their declarations without checking the result, as documented: those
// failures show nothing (the grid is then not drawn).
TEST(DeviceFaults, EachVertexDeclarationCreationFails) {
  EXPECT_GE(failEachCallInTurn(Call::CreateVertexDeclaration, 14), 39u);
}

// The render-target switches failing in every frame, one kind of call at a time: the frames may
// show only the render targets' begin and end messages, and every scene frame still presents.
TEST(DeviceFaults, RenderTargetSwitchesFailInEveryFrame) {
  robustness::ContentCopy content(REDKITE_CONTENT_DIR);
  robustness::useTinyTestImages(content);
  const std::set<std::string> documented = {
      messageBoxLine("g rt", "render"), messageBoxLine("g ds", "render"),   messageBoxLine("s rt", "render"),
      messageBoxLine("s ds", "render"), messageBoxLine("e s rt", "render"), messageBoxLine("e s ds", "render")};
  for (Call call : {Call::GetRenderTarget, Call::GetDepthStencilSurface, Call::SetRenderTarget,
                    Call::SetDepthStencilSurface}) {
    SCOPED_TRACE("call kind " + std::to_string(int(call)));
    robustness::RunOptions options;
    options.armFailures = [&](d3d9::trace::FailurePlan& plan) { plan.fail(call, D3DERR_INVALIDCALL, 0); };
    robustness::ShowRun run(content.root(), options);
    ASSERT_TRUE(run.started());
    EXPECT_TRUE(run.startUpMessages.empty()) << run.startUpMessages.front();
    unsigned shown = 0;
    for (double t : robustness::framesInEverySlot()) {
      robustness::FrameResult frame = run.frame(t);
      for (const std::string& line : frame.messageBoxes) {
        ++shown;
        if (!documented.count(line)) ADD_FAILURE() << "at " << t << " an undocumented message " << line;
      }
      EXPECT_EQ(frame.presents, frame.scene ? 1u : 0u) << "at " << t;
    }
    EXPECT_GT(shown, 0u) << "no frame reached the failing call";
  }
}

}  // namespace
