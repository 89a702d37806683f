// Where a frame's device time goes: while a DrawProfile lives it listens to the frame trace and
// waits for the OpenGL device at every traced call, so the time from one call to the next is the
// cost of the draw, clear, copy or Present that came before. Each call is named by what it drew
// (effect, pass and vertex buffer; the target cleared; the surfaces copied). Main thread only.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/d3d9/gl/GlBackend.h"
#include "platform/trace/FrameTrace.h"

namespace bench {

class DrawProfile {
public:
  explicit DrawProfile(IDirect3DDevice9* device) : device_(device) {
    d3d9::gl::waitForDevice(device_);
    stamp_ = Clock::now();
    ::trace::frameTrace().setSink([this](std::string_view line) { onCall(line); });
  }
  ~DrawProfile() { ::trace::frameTrace().setSink({}); }
  DrawProfile(const DrawProfile&) = delete;
  DrawProfile& operator=(const DrawProfile&) = delete;

  // Ends the last call's interval: call after the last frame, before reading the table.
  void close() { settle(); }

  // One row per named call, milliseconds per frame over `frames` frames, largest first.
  void print(std::FILE* out, const char* title, int frames) const {
    std::vector<std::pair<double, std::string>> rows;
    double total = 0.0;
    for (const auto& [name, seconds] : seconds_) {
      rows.emplace_back(seconds * 1e3 / frames, name);
      total += seconds * 1e3 / frames;
    }
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::fprintf(out, "\n%s: %.2f ms a frame over %d frames (device waited on at every call)\n", title, total,
                 frames);
    std::fprintf(out, "%9s %6s  %s\n", "ms/frame", "share", "call");
    for (const auto& [ms, name] : rows) {
      if (ms < 0.005) continue;
      std::fprintf(out, "%9.2f %5.1f%%  %s\n", ms, total > 0.0 ? 100.0 * ms / total : 0.0, name.c_str());
    }
  }

private:
  using Clock = std::chrono::steady_clock;

  // The value of "key":"…" (JSON's escaped backslashes undone) or "key":number in a trace line;
  // empty when absent.
  static std::string field(std::string_view line, std::string_view key) {
    const std::string pattern = "\"" + std::string(key) + "\":";
    const std::size_t at = line.find(pattern);
    if (at == std::string_view::npos) return {};
    std::size_t begin = at + pattern.size();
    const bool quoted = begin < line.size() && line[begin] == '"';
    begin += quoted ? 1 : 0;
    const std::size_t end = quoted ? line.find('"', begin) : line.find_first_of(",}", begin);
    std::string value(line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
    for (std::size_t i = value.find("\\\\"); i != std::string::npos; i = value.find("\\\\", i + 1)) value.erase(i, 1);
    return value;
  }

  // Charges the time since the previous call to that call (when it was one that is measured).
  void settle() {
    d3d9::gl::waitForDevice(device_);
    const Clock::time_point now = Clock::now();
    if (!open_.empty()) seconds_[open_] += std::chrono::duration<double>(now - stamp_).count();
    stamp_ = now;
  }

  void onCall(std::string_view line) {
    settle();
    const std::string ev = field(line, "ev");
    open_.clear();
    if (ev == "beginPass") {
      pass_ = field(line, "effect") + " pass " + field(line, "pass");
    } else if (ev == "setRenderTarget") {
      target_ = field(line, "surface");
    } else if (ev == "draw") {
      open_ = "draw  " + pass_ + "  vb " + field(line, "vb");
    } else if (ev == "clear") {
      open_ = "clear " + target_;
    } else if (ev == "stretchRect") {
      open_ = "copy  " + field(line, "from") + " -> " + field(line, "to");
    } else if (ev == "present") {
      open_ = "present";
    }
  }

  IDirect3DDevice9* device_;
  Clock::time_point stamp_;
  std::string open_;
  std::string pass_ = "(no pass)";
  std::string target_ = "backbuffer";
  std::map<std::string, double> seconds_;
};

}  // namespace bench
