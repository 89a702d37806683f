// Test helper: the show's start-up as the program runs it (music, manifest, both stages, spectrum
// loaded or its recording tried), on the trace device, in a chosen content folder, with a failure
// plan. Every message box is kept, those of start-up apart from those of each frame. Destroying it
// tears the show down and clears the process-wide state (spectrum, manifest, backend, working
// folder) so the next run starts as a fresh program would.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Frame.h"
#include "app/StartUp.h"
#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "platform/trace/FrameTrace.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "tests/support/RecordingDevice.h"
#include "timeline/Manifest.h"
#include "timeline/MusicStream.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"
#include "timeline/Stages.h"

namespace robustness {

struct FrameResult {
  std::vector<std::string> messageBoxes;  // the frame's messageBox trace lines
  // Parameter settings with a value that is not a finite number (the trace writes NaN and
  // infinities as null): a GPU would draw garbage or nothing with them.
  std::vector<std::string> nonFiniteParameters;
  unsigned presents = 0;
  bool scene = false;  // a renderer drew it (not the default frame)
};

struct RunOptions {
  std::shared_ptr<d3d9::trace::FailurePlan> failures = std::make_shared<d3d9::trace::FailurePlan>();
  bool openMusic = false;  // open the music as the program does (decodes the whole piece)
  // Called once the device and its depth surface exist, before anything of the show is loaded:
  // where a test arms the failure plan for the show's own creation calls.
  std::function<void(d3d9::trace::FailurePlan&)> armFailures;
  // When set, the show draws through a device that records its creation calls and buffer use here.
  testsupport::DeviceRecord* record = nullptr;
  // Called with each message box of start-up as it is shown, and the music channel (0 without one).
  std::function<void(const std::string& messageBox, HSTREAM music)> onStartUpMessage;
};

class ShowRun {
public:
  ShowRun(const std::string& contentDir, RunOptions options = {}) : options_(std::move(options)) {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd)) previousDir_ = cwd;
    if (::chdir(contentDir.c_str()) != 0) ADD_FAILURE() << "no content folder " << contentDir;
    trace::frameTrace().setSink([this](std::string_view line) { take(line); });
    testing::internal::CaptureStderr();

    d3d9::trace::install({}, options_.failures);
    d3d_ = d3d9::ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(640, 480);
    if (d3d_) d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device_.put());
    if (!device_) {
      ADD_FAILURE() << "the trace device could not be created";
      return;
    }
    d3d9::ComPtr<IDirect3DSurface9> depth;
    device_->CreateDepthStencilSurface(640, 480, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(), nullptr);
    device_->SetDepthStencilSurface(depth.get());
    show_ = device_;
    if (options_.record)
      show_ = d3d9::ComPtr<IDirect3DDevice9>(new testsupport::RecordingDevice(device_.get(), *options_.record));
    if (options_.armFailures) options_.armFailures(*options_.failures);

    if (options_.openMusic) music_.open(app::kMusicPath);
    // Without the music there is no clock to record by, so a missing file is not recorded.
    content_ = std::make_unique<app::ShowContent>(show_.get(), 4.0f / 3.0f, app::SpectrumFallback::Recording, &music_);
    startUpMessages = std::move(current_.messageBoxes);
    current_ = {};
  }

  ~ShowRun() {
    content_.reset();
    music_.end();
    timeline::spectrumTrack() = timeline::SpectrumTrack();
    render::setDevice(nullptr);
    show_.reset();
    device_.reset();
    d3d_.reset();
    d3d9::useBackend({});
    trace::frameTrace().setSink({});
    testing::internal::GetCapturedStderr();
    if (!previousDir_.empty() && ::chdir(previousDir_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previousDir_;
  }
  ShowRun(const ShowRun&) = delete;
  ShowRun& operator=(const ShowRun&) = delete;

  bool started() const { return device_ && content_; }

  // Draws the frame the program would draw at this music time.
  FrameResult frame(double musicTime) {
    current_ = {};
    app::drawFrame(show_.get(), musicTime, content_->organ(), content_->main());
    return std::move(current_);
  }

  HSTREAM music() const { return music_.channel(); }
  app::ShowContent& content() { return *content_; }
  unsigned invalidCalls() { return dynamic_cast<d3d9::trace::TraceDevice&>(*device_).invalidCalls(); }

  std::vector<std::string> startUpMessages;

private:
  void take(std::string_view line) {
    if (line.starts_with(R"({"ev":"messageBox")")) {
      current_.messageBoxes.emplace_back(line);
      if (!content_ && options_.onStartUpMessage) options_.onStartUpMessage(current_.messageBoxes.back(), music_.channel());
    }
    if (line.starts_with(R"({"ev":"present")")) ++current_.presents;
    if (line.starts_with(R"({"ev":"scene")")) current_.scene = true;
    bool parameter = line.starts_with(R"({"ev":"setMatrix")") || line.starts_with(R"({"ev":"setFloat)");
    if (parameter && line.find("null") != std::string_view::npos) current_.nonFiniteParameters.emplace_back(line);
  }

  RunOptions options_;
  std::string previousDir_;
  d3d9::ComPtr<IDirect3D9> d3d_;
  d3d9::ComPtr<IDirect3DDevice9> device_;
  d3d9::ComPtr<IDirect3DDevice9> show_;  // the device the show draws with: device_, or a counting wrapper
  timeline::MusicStream music_;
  std::unique_ptr<app::ShowContent> content_;
  FrameResult current_;
};

// Music times that reach every slot of the schedule and every renderer it picks with the loaded
// spectrum: the middle of each slot, the first time (in steps of 0.1 s) each renderer is picked,
// and 0 and a time past the last slot for the default frame.
inline std::vector<double> framesInEverySlot() {
  std::vector<double> times = {0.0};
  for (int k = 1; k < 11; ++k) times.push_back(0.5 * (double(timeline::kDemoTimeline[k - 1]) + timeline::kDemoTimeline[k]));
  times.push_back(275.0);
  bool seen[timeline::kRendererCount] = {};
  for (int tenth = 1; tenth <= int(app::kShowEnd * 10); ++tenth) {
    double t = tenth / 10.0;
    if (auto call = timeline::scheduleFor(t, timeline::spectrumTrack()); call && !seen[int(call->renderer)]) {
      seen[int(call->renderer)] = true;
      times.push_back(t);
    }
  }
  times.push_back(600.0);
  return times;
}

}  // namespace robustness
