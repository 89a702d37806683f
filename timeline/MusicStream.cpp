// Music playback and the seeking keys.
#include "timeline/MusicStream.h"

#include <algorithm>

#include "platform/win32/Keyboard.h"
#include "platform/win32/MessageBox.h"

namespace timeline {
namespace {

constexpr float kSeekStep = 0.1f;  // seconds per frame a key is held
constexpr double kEndMargin = 0.03;

}  // namespace

double musicTimeOf(DWORD channel) {
  return BASS_ChannelBytes2Seconds(channel, BASS_ChannelGetPosition(channel));
}

void MusicStream::open(const char* path) {
  if (!BASS_Init(1, 44100, 0, nullptr, nullptr)) MessageBoxA(nullptr, "Init FAILED", "Error::BASS", MB_OK);
  open_ = true;
  channel_ = BASS_StreamCreateFile(FALSE, path, 0, 0, 0);
  if (channel_ == 0) MessageBoxA(nullptr, "BASS_StreamCreateFile", "Error::BASS", MB_OK);
}

void MusicStream::start() {
  BASS_ChannelSetAttributes(channel_, 0, 100, -101);
  BASS_ChannelPlay(channel_, FALSE);
}

float MusicStream::endTime() const {
  return static_cast<float>(BASS_ChannelBytes2Seconds(channel_, BASS_ChannelGetLength(channel_)) - kEndMargin);
}

void MusicStream::applySeekKeys() {
  double p = musicTime();
  bool due = false;
  if (GetAsyncKeyState('O') != 0) {
    p += kSeekStep;
    due = true;
  }
  if (GetAsyncKeyState('I') != 0) {
    p -= kSeekStep;
    due = true;
  }
  if (due) BASS_ChannelSetPosition(channel_, BASS_ChannelSeconds2Bytes(channel_, static_cast<float>(p)));
}

double MusicStream::length() const {
  QWORD bytes = BASS_ChannelGetLength(channel_);
  return bytes == BASS_INVALID_POSITION ? 0.0 : BASS_ChannelBytes2Seconds(channel_, bytes);
}

void MusicStream::seekTo(double seconds) {
  if (channel_ == 0) return;
  QWORD length = BASS_ChannelGetLength(channel_);
  QWORD target = seconds <= 0 ? 0 : BASS_ChannelSeconds2Bytes(channel_, static_cast<float>(seconds));
  BASS_ChannelSetPosition(channel_, std::min(target, length));
}

void MusicStream::togglePause() {
  if (paused()) {
    BASS_ChannelPlay(channel_, FALSE);
  } else {
    BASS_ChannelPause(channel_);
  }
}

void MusicStream::end() {
  if (!open_) return;
  BASS_StreamFree(channel_);
  BASS_Free();
  channel_ = 0;
  open_ = false;
}

}  // namespace timeline
