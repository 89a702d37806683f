// One decoded stream and its playback: the play cursor, the heard position, volume and pan, and
// the SDL device that pulls samples on SDL's audio thread. The library's handle table owns each
// stream; every member is called from the main thread, the device callback from SDL's thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

#include "platform/audio/DecodedAudio.h"
#include "platform/audio/SpectrumAnalyser.h"

namespace audio {

// Where the heard position comes from: a real device's progress, or the wall clock where there is
// no output (SDL's dummy driver, which gets no device: its pace is only roughly real time).
enum class Clock { Device, Wall };

// Copies interleaved stereo frames from `source` to `out` at volume 0..100 and pan -100..100;
// frames of `out` past the source are silence.
void mixFrames(std::span<const std::int16_t> source, int volume, int pan, std::span<std::int16_t> out);

class Stream {
public:
  Stream(DecodedAudio audio, Clock clock);
  ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  // Opens the SDL device for this stream, paused (device clock only). False when SDL cannot.
  bool openOutput();

  int rate() const { return audio_.rate; }
  std::uint64_t lengthFrames() const { return audio_.frames(); }

  // Frames heard so far: frames handed to the device minus the device buffer, advanced smoothly
  // by the clock between callbacks, never past what was handed over.
  std::uint64_t heardFrame() const;
  // False (and nothing changes) past the end.
  bool setFrame(std::uint64_t frame);
  void play(bool restart);
  // Stops handing frames to the device and holds the heard position; play(false) goes on from it.
  void pause();
  bool playing() const;
  bool everPlayed() const;
  // Volume 0..100 (-1 keeps it), pan -100..100 (-101 keeps it); both take effect on the next
  // samples the device pulls. Values out of range change nothing and give false.
  bool setMix(int volume, int pan);
  int volume() const;
  int pan() const;

  void spectrum(std::span<float, kFftBins> out);

  // The device callback's work: hands the next frames to `out` (interleaved stereo), silence when
  // stopped, past the end or on the wall clock.
  void pull(std::span<std::int16_t> out);

private:
  using TimePoint = std::chrono::steady_clock::time_point;

  static void fill(void* self, std::uint8_t* out, int bytes);
  std::uint64_t heardFrameLocked(TimePoint now) const;
  void restartClockLocked(TimePoint now);

  DecodedAudio audio_;
  Clock clock_;
  std::uint32_t device_ = 0;
  SpectrumAnalyser analyser_;

  // Shared with the device callback.
  mutable std::mutex mutex_;
  bool playing_ = false;
  bool everPlayed_ = false;
  std::uint64_t cursor_ = 0;     // next frame handed to the device
  std::uint64_t heardFrom_ = 0;  // heard position at `since_`
  std::uint64_t heardLimit_ = 0; // the heard position never passes this
  TimePoint since_{};
  int volume_ = 100;
  int pan_ = 0;
};

}  // namespace audio
