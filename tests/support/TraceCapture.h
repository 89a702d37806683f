// Test helper: collects the frame trace's lines while it lives and switches recording off after.
#pragma once

#include <string>
#include <vector>

#include "platform/trace/FrameTrace.h"

namespace testsupport {

class TraceCapture {
public:
  TraceCapture() {
    trace::frameTrace().setSink([this](std::string_view line) { lines.emplace_back(line); });
  }
  ~TraceCapture() { trace::frameTrace().setSink({}); }
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  std::vector<std::string> lines;
};

}  // namespace testsupport
