// JSON-lines writer of the frame trace.
#include "platform/trace/FrameTrace.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace trace {

namespace {

template <typename Float>
void appendShortest(std::string& out, Float value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  out += text;
  if (text.find_first_of(".eE") == std::string_view::npos) out += ".0";
}

}  // namespace

void appendJsonFloat(std::string& out, float value) { appendShortest(out, value); }
void appendJsonDouble(std::string& out, double value) { appendShortest(out, value); }

void appendJsonString(std::string& out, std::string_view value) {
  out += '"';
  for (char c : value) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

TraceLine::TraceLine(FrameTrace* trace, std::string_view ev) : trace_(trace) {
  if (!trace_) return;
  line_ = "{\"ev\":";
  appendJsonString(line_, ev);
}

TraceLine::~TraceLine() {
  if (!trace_) return;
  line_ += '}';
  trace_->sink_(line_);
}

void TraceLine::key(std::string_view k) {
  line_ += ',';
  appendJsonString(line_, k);
  line_ += ':';
}

TraceLine& TraceLine::str(std::string_view k, std::string_view value) {
  if (!trace_) return *this;
  key(k);
  appendJsonString(line_, value);
  return *this;
}

TraceLine& TraceLine::name(std::string_view k, const char* value) {
  if (!trace_) return *this;
  if (value) return str(k, value);
  key(k);
  line_ += "null";
  return *this;
}

TraceLine& TraceLine::num(std::string_view k, float value) {
  if (!trace_) return *this;
  key(k);
  appendJsonFloat(line_, value);
  return *this;
}

TraceLine& TraceLine::num(std::string_view k, double value) {
  if (!trace_) return *this;
  key(k);
  appendJsonDouble(line_, value);
  return *this;
}

TraceLine& TraceLine::integer(std::string_view k, std::int64_t value) {
  if (!trace_) return *this;
  key(k);
  line_ += std::to_string(value);
  return *this;
}

TraceLine& TraceLine::boolean(std::string_view k, bool value) {
  if (!trace_) return *this;
  key(k);
  line_ += value ? "true" : "false";
  return *this;
}

TraceLine& TraceLine::hex(std::string_view k, std::uint32_t value) {
  if (!trace_) return *this;
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return str(k, text);
}

TraceLine& TraceLine::floats(std::string_view k, std::span<const float> values) {
  if (!trace_) return *this;
  key(k);
  line_ += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i) line_ += ',';
    appendJsonFloat(line_, values[i]);
  }
  line_ += ']';
  return *this;
}

TraceLine& TraceLine::strings(std::string_view k, std::initializer_list<std::string_view> values) {
  if (!trace_) return *this;
  key(k);
  line_ += '[';
  bool first = true;
  for (std::string_view v : values) {
    if (!first) line_ += ',';
    first = false;
    appendJsonString(line_, v);
  }
  line_ += ']';
  return *this;
}

TraceLine& TraceLine::raw(std::string_view k, std::string_view json) {
  if (!trace_) return *this;
  key(k);
  line_ += json;
  return *this;
}

FrameTrace& frameTrace() {
  static FrameTrace instance;
  return instance;
}

}  // namespace trace
