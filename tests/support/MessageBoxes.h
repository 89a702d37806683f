// Test helper: the message boxes of a captured frame trace, and the line a given box writes, so a
// test compares exact texts and captions (line feeds included) as the trace records them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/trace/FrameTrace.h"
#include "tests/support/TraceCapture.h"

namespace testsupport {

inline std::string messageBoxLine(std::string_view text, std::string_view caption) {
  std::string line = R"({"ev":"messageBox","text":)";
  trace::appendJsonString(line, text);
  line += R"(,"caption":)";
  trace::appendJsonString(line, caption);
  return line + "}";
}

inline std::vector<std::string> messageBoxes(const TraceCapture& capture) {
  std::vector<std::string> boxes;
  for (const std::string& line : capture.lines)
    if (line.starts_with(R"({"ev":"messageBox")")) boxes.push_back(line);
  return boxes;
}

// Every captured line that is not a message box.
inline std::vector<std::string> deviceEvents(const TraceCapture& capture) {
  std::vector<std::string> events;
  for (const std::string& line : capture.lines)
    if (!line.starts_with(R"({"ev":"messageBox")")) events.push_back(line);
  return events;
}

}  // namespace testsupport
