// Test helpers for geometry: a trace device with a capture of its frame trace, and typed read-back
// of what the generators wrote into the trace backend's buffers.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d9/trace/TraceResources.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TraceDeviceHolder.h"

namespace geometrytest {

template <typename Element, typename Buffer>
std::vector<Element> readBuffer(Buffer* buffer) {
  const std::vector<BYTE>* bytes = nullptr;
  if (auto* vb = dynamic_cast<d3d9::trace::TraceVertexBuffer*>(buffer)) bytes = &vb->bytes();
  if (auto* ib = dynamic_cast<d3d9::trace::TraceIndexBuffer*>(buffer)) bytes = &ib->bytes();
  if (!bytes) return {};
  std::vector<Element> elements(bytes->size() / sizeof(Element));
  std::memcpy(elements.data(), bytes->data(), elements.size() * sizeof(Element));
  return elements;
}

inline std::vector<std::string> drawEvents(const testsupport::TraceCapture& capture) {
  std::vector<std::string> draws;
  for (const std::string& line : capture.lines)
    if (line.starts_with(R"({"ev":"draw")")) draws.push_back(line);
  return draws;
}

inline std::string drawLine(const char* vb, int base, unsigned vertices, unsigned primitives) {
  return std::string(R"({"ev":"draw","vb":")") + vb + R"(","base":)" + std::to_string(base) + R"(,"vertices":)" +
         std::to_string(vertices) + R"(,"start":0,"primitives":)" + std::to_string(primitives) + "}";
}

// A trace device and a capture of everything it and the message boxes record.
class GeometryTest : public testing::Test {
protected:
  IDirect3DDevice9* device() { return holder.device.get(); }
  d3d9::trace::FailurePlan& failures() { return *holder.failures; }
  std::vector<std::string> boxes() const { return testsupport::messageBoxes(capture); }
  std::vector<std::string> box(const char* text, const char* caption) const {
    return {testsupport::messageBoxLine(text, caption)};
  }
  // Arms one failure of `call` and forgets what was captured so far.
  void failNext(d3d9::trace::Call call, HRESULT hr) {
    failures().clear();
    failures().fail(call, hr, 1);
    capture.lines.clear();
  }
  template <typename Drawable>
  void drawInScene(const Drawable& drawable) {
    device()->BeginScene();
    drawable.draw(device());
    device()->EndScene();
  }

  testsupport::TraceDeviceHolder holder;
  testsupport::TraceCapture capture;
};

}  // namespace geometrytest
