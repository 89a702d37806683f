// The frame trace: one JSON object per line for every device, effect and message-box call, so a
// whole frame can be checked without a GPU. One process-wide instance; the stand-ins write to it and
// whoever set the sink (the `trace` command, a test) owns where the lines go. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace trace {

class FrameTrace;

// Builds one event line; the line is handed to the sink when the builder goes out of scope.
// A builder made while recording is off does nothing, so the null device pays almost nothing.
class TraceLine {
public:
  TraceLine(FrameTrace* trace, std::string_view ev);
  ~TraceLine();
  TraceLine(TraceLine&& other) noexcept : trace_(std::exchange(other.trace_, nullptr)), line_(std::move(other.line_)) {}
  TraceLine(const TraceLine&) = delete;
  TraceLine& operator=(const TraceLine&) = delete;

  TraceLine& str(std::string_view key, std::string_view value);
  // A missing name (null) is written as JSON null.
  TraceLine& name(std::string_view key, const char* value);
  TraceLine& num(std::string_view key, float value);
  TraceLine& num(std::string_view key, double value);
  TraceLine& integer(std::string_view key, std::int64_t value);
  TraceLine& boolean(std::string_view key, bool value);
  TraceLine& hex(std::string_view key, std::uint32_t value);
  TraceLine& floats(std::string_view key, std::span<const float> values);
  TraceLine& strings(std::string_view key, std::initializer_list<std::string_view> values);
  // A value already written as JSON (an array of mixed numbers, say).
  TraceLine& raw(std::string_view key, std::string_view json);

private:
  void key(std::string_view k);
  FrameTrace* trace_;
  std::string line_;
};

class FrameTrace {
public:
  using Sink = std::function<void(std::string_view line)>;

  // An empty sink switches recording off.
  void setSink(Sink sink) { sink_ = std::move(sink); }
  bool recording() const { return static_cast<bool>(sink_) && muted_ == 0; }
  TraceLine event(std::string_view ev) { return TraceLine(recording() ? this : nullptr, ev); }

  // While a Mute lives, nothing is recorded: a stand-in uses it for calls it makes on its own
  // behalf (an effect pass setting its render states), which are not calls of the system.
  class Mute {
  public:
    explicit Mute(FrameTrace& trace) : trace_(trace) { ++trace_.muted_; }
    ~Mute() { --trace_.muted_; }
    Mute(const Mute&) = delete;
    Mute& operator=(const Mute&) = delete;

  private:
    FrameTrace& trace_;
  };

private:
  friend class TraceLine;
  Sink sink_;
  int muted_ = 0;
};

FrameTrace& frameTrace();

// JSON text helpers, shared with callers that build a `raw` value.
// Floats are written with the fewest digits that read back to the same 32-bit (or 64-bit) value,
// always with a decimal point or exponent; NaN and infinities, which JSON cannot hold, as null.
void appendJsonFloat(std::string& out, float value);
void appendJsonDouble(std::string& out, double value);
void appendJsonString(std::string& out, std::string_view value);

}  // namespace trace
