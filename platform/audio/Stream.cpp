// Playback of a decoded stream through an SDL audio device.
#include "platform/audio/Stream.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace audio {
namespace {

constexpr Uint16 kDeviceBufferFrames = 1024;

}  // namespace

void mixFrames(std::span<const std::int16_t> source, int volume, int pan, std::span<std::int16_t> out) {
  std::size_t count = std::min(source.size(), out.size()) / 2 * 2;
  if (volume == 100 && pan == 0) {
    std::copy_n(source.begin(), count, out.begin());
  } else {
    // Pan turns down the opposite side, as a balance control does.
    int gain[2] = {volume * (pan > 0 ? 100 - pan : 100), volume * (pan < 0 ? 100 + pan : 100)};
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::int16_t>(source[i] * gain[i % 2] / 10000);
  }
  std::fill(out.begin() + count, out.end(), std::int16_t{0});
}

Stream::Stream(DecodedAudio audio, Clock clock) : audio_(std::move(audio)), clock_(clock) {}

Stream::~Stream() {
  // Closing waits for the callback to return, so it never sees a destroyed stream.
  if (device_ != 0) SDL_CloseAudioDevice(device_);
}

bool Stream::openOutput() {
  SDL_AudioSpec want{};
  want.freq = audio_.rate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kDeviceBufferFrames;
  want.callback = fill;
  want.userdata = this;
  SDL_AudioSpec have{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  return device_ != 0;
}

void Stream::fill(void* self, std::uint8_t* out, int bytes) {
  static_cast<Stream*>(self)->pull({reinterpret_cast<std::int16_t*>(out), static_cast<std::size_t>(bytes) / sizeof(std::int16_t)});
}

void Stream::pull(std::span<std::int16_t> out) {
  std::lock_guard lock(mutex_);
  // On the wall clock the device is SDL's dummy driver: nobody listens, it gets silence.
  std::uint64_t count = 0;
  if (playing_ && clock_ == Clock::Device) count = std::min<std::uint64_t>(out.size() / 2, lengthFrames() - cursor_);
  mixFrames(std::span(audio_.samples).subspan(cursor_ * 2, count * 2), volume_, pan_, out);
  if (clock_ != Clock::Device || !playing_) return;
  heardFrom_ = cursor_;
  cursor_ += count;
  heardLimit_ = cursor_;
  since_ = std::chrono::steady_clock::now();
}

std::uint64_t Stream::heardFrameLocked(TimePoint now) const {
  if (!playing_) return heardFrom_;
  double elapsed = std::chrono::duration<double>(now - since_).count();
  auto advanced = static_cast<std::uint64_t>(std::max(0.0, elapsed) * audio_.rate);
  return std::min(heardFrom_ + advanced, heardLimit_);
}

std::uint64_t Stream::heardFrame() const {
  std::lock_guard lock(mutex_);
  return heardFrameLocked(std::chrono::steady_clock::now());
}

// The sound restarts at the cursor: on a device nothing new is heard until the next callback, on
// the wall clock it runs on to the end of the stream.
void Stream::restartClockLocked(TimePoint now) {
  heardFrom_ = cursor_;
  heardLimit_ = clock_ == Clock::Device ? cursor_ : lengthFrames();
  since_ = now;
}

bool Stream::setFrame(std::uint64_t frame) {
  if (frame > lengthFrames()) return false;
  std::lock_guard lock(mutex_);
  cursor_ = frame;
  restartClockLocked(std::chrono::steady_clock::now());
  return true;
}

void Stream::play(bool restart) {
  {
    std::lock_guard lock(mutex_);
    auto now = std::chrono::steady_clock::now();
    if (restart) cursor_ = 0;
    else if (playing_) return;
    playing_ = everPlayed_ = true;
    restartClockLocked(now);
  }
  if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

void Stream::pause() {
  std::lock_guard lock(mutex_);
  if (!playing_) return;
  // What the device buffered but nobody heard yet is played again on resume.
  cursor_ = heardFrameLocked(std::chrono::steady_clock::now());
  playing_ = false;
  restartClockLocked(std::chrono::steady_clock::now());
}

bool Stream::playing() const {
  std::lock_guard lock(mutex_);
  return playing_;
}

bool Stream::everPlayed() const {
  std::lock_guard lock(mutex_);
  return everPlayed_;
}

bool Stream::setMix(int volume, int pan) {
  if (volume < -1 || volume > 100 || pan < -101 || pan > 100) return false;
  std::lock_guard lock(mutex_);
  if (volume >= 0) volume_ = volume;
  if (pan != -101) pan_ = pan;
  return true;
}

int Stream::volume() const {
  std::lock_guard lock(mutex_);
  return volume_;
}

int Stream::pan() const {
  std::lock_guard lock(mutex_);
  return pan_;
}

void Stream::spectrum(std::span<float, kFftBins> out) {
  analyser_.analyse(audio_.samples, heardFrame(), out);
}

}  // namespace audio
