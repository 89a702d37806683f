// The BASS operations over the library state: SDL audio started with a fallback to the dummy
// driver, and a table of streams by handle.
#include "platform/audio/bass.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/audio/Stream.h"
#include "platform/win32/FilePath.h"

namespace audio {
namespace {

struct Library {
  bool initialised = false;
  Clock clock = Clock::Device;
  std::map<HSTREAM, std::unique_ptr<Stream>> streams;
  HSTREAM nextHandle = 1;
};

Library& library() {
  static Library state;
  return state;
}

int& lastError() {
  static int code = BASS_OK;
  return code;
}

bool fail(int code) {
  lastError() = code;
  return false;
}

bool succeed() {
  lastError() = BASS_OK;
  return true;
}

bool startDriver(const char* name) {
  if (name) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, name, SDL_HINT_OVERRIDE);
  bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (name) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return started;
}

// SDL's dummy and disk drivers consume samples only roughly in real time (a few percent off), so
// the clock cannot follow them.
bool pacedBySleeping(const char* driver) {
  return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
}

// True when the default driver has an output we can open. A driver that lists no output at all
// is not asked to open one (ALSA would print its own complaints).
bool defaultOutputWorks() {
  if (SDL_GetNumAudioDevices(0) == 0) {
    SDL_SetError("no output device");
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  SDL_AudioDeviceID probe = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (probe == 0) return false;
  SDL_CloseAudioDevice(probe);
  return true;
}

// Starts SDL audio on the real output, or on the dummy driver with a wall clock.
bool startOutput(bool wantSound, Clock& clock) {
  if (wantSound) {
    if (startDriver(nullptr)) {
      if (pacedBySleeping(SDL_GetCurrentAudioDriver())) {
        clock = Clock::Wall;
        return true;
      }
      if (defaultOutputWorks()) {
        clock = Clock::Device;
        return true;
      }
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::fprintf(stderr, "BASS: no audio output (%s); the music runs silently on SDL's dummy driver\n", SDL_GetError());
    std::fflush(stderr);
  }
  clock = Clock::Wall;
  return startDriver("dummy");
}

Stream* find(DWORD handle) {
  auto& streams = library().streams;
  auto it = streams.find(handle);
  if (it == streams.end()) {
    fail(BASS_ERROR_HANDLE);
    return nullptr;
  }
  return it->second.get();
}

// The bytes of a file from `offset`, `length` of them (0 = to the end); empty when unreadable.
bool readFile(const char* path, QWORD offset, QWORD length, std::vector<unsigned char>& bytes) {
  std::FILE* file = win32::openFile(path, "rb");
  if (!file) return fail(BASS_ERROR_FILEOPEN);
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(file) : -1;
  ok = size >= 0 && offset <= QWORD(size);
  if (ok) {
    QWORD available = QWORD(size) - offset;
    bytes.resize(length == 0 ? available : std::min(length, available));
    ok = std::fseek(file, long(offset), SEEK_SET) == 0 && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  return ok ? true : fail(BASS_ERROR_FILEOPEN);
}

}  // namespace
}  // namespace audio

using audio::fail;
using audio::library;
using audio::succeed;

BOOL BASS_Init(int device, DWORD, DWORD, HWND, const GUID*) {
  auto& lib = library();
  if (lib.initialised) return fail(BASS_ERROR_ALREADY);
  if (device < -1 || device > 1) return fail(BASS_ERROR_DEVICE);
  if (!audio::startOutput(device != 0, lib.clock)) return fail(BASS_ERROR_DRIVER);
  lib.initialised = true;
  return succeed();
}

BOOL BASS_Free() {
  auto& lib = library();
  if (!lib.initialised) return fail(BASS_ERROR_INIT);
  lib.streams.clear();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  lib.initialised = false;
  return succeed();
}

int BASS_ErrorGetCode() { return audio::lastError(); }

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD) {
  auto& lib = library();
  if (!lib.initialised) return fail(BASS_ERROR_INIT);
  // Streams come from files only; the system never plays from memory.
  if (mem) return fail(BASS_ERROR_ILLPARAM);
  std::vector<unsigned char> bytes;
  if (!audio::readFile(static_cast<const char*>(file), offset, length, bytes)) return 0;
  audio::DecodedAudio decoded = audio::decodeMp3(bytes);
  if (decoded.empty()) return fail(BASS_ERROR_FILEFORM);
  auto stream = std::make_unique<audio::Stream>(std::move(decoded), lib.clock);
  // The dummy driver gets no device: it would only consume silence (and allows one device at a time).
  if (lib.clock == audio::Clock::Device && !stream->openOutput()) return fail(BASS_ERROR_DEVICE);
  HSTREAM handle = lib.nextHandle++;
  lib.streams.emplace(handle, std::move(stream));
  succeed();
  return handle;
}

BOOL BASS_StreamFree(HSTREAM handle) {
  if (!audio::find(handle)) return FALSE;
  library().streams.erase(handle);
  return succeed();
}

BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return FALSE;
  // Every stream plays at its own rate: 0 asks for it, -1 keeps it.
  if (freq != 0 && freq != -1 && freq != stream->rate()) return fail(BASS_ERROR_ILLPARAM);
  if (!stream->setMix(volume, pan)) return fail(BASS_ERROR_ILLPARAM);
  return succeed();
}

BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume, int* pan) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return FALSE;
  if (freq) *freq = DWORD(stream->rate());
  if (volume) *volume = DWORD(stream->volume());
  if (pan) *pan = stream->pan();
  return succeed();
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return FALSE;
  stream->play(restart != FALSE);
  return succeed();
}

BOOL BASS_ChannelPause(DWORD handle) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return FALSE;
  if (!stream->playing()) return fail(BASS_ERROR_NOPLAY);
  stream->pause();
  return succeed();
}

DWORD BASS_ChannelIsActive(DWORD handle) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return BASS_ACTIVE_STOPPED;
  succeed();
  if (stream->playing()) return BASS_ACTIVE_PLAYING;
  return stream->everPlayed() ? BASS_ACTIVE_PAUSED : BASS_ACTIVE_STOPPED;
}

QWORD BASS_ChannelGetLength(DWORD handle) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return BASS_INVALID_POSITION;
  succeed();
  return stream->lengthFrames() * audio::kBytesPerFrame;
}

QWORD BASS_ChannelGetPosition(DWORD handle) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return BASS_INVALID_POSITION;
  succeed();
  return stream->heardFrame() * audio::kBytesPerFrame;
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return FALSE;
  // A position inside a frame starts at that frame.
  if (!stream->setFrame(pos / audio::kBytesPerFrame)) return fail(BASS_ERROR_POSITION);
  return succeed();
}

double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return -1.0;
  succeed();
  return double(pos) / (double(audio::kBytesPerFrame) * stream->rate());
}

QWORD BASS_ChannelSeconds2Bytes(DWORD handle, float pos) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return BASS_INVALID_POSITION;
  double frames = double(pos) * stream->rate();
  if (!(std::fabs(frames) < 0x1p60)) {
    fail(BASS_ERROR_ILLPARAM);
    return BASS_INVALID_POSITION;
  }
  succeed();
  // A 32-bit time cannot tell apart frames closer than its own precision, so a time within that
  // precision of the next frame boundary (0.1f is a hair above 0.1, 1/3.f a hair below) counts as
  // the boundary; otherwise whole frames toward zero. This keeps Bytes2Seconds then Seconds2Bytes
  // exact, and rounding noise just below 0 gives 0 while a time a frame or more before 0 stays
  // negative.
  double magnitude = std::fabs(frames);
  double whole = std::floor(magnitude + std::ldexp(magnitude, -24) + 1e-9);
  auto signedFrames = static_cast<std::int64_t>(frames < 0 ? -whole : whole);
  return static_cast<QWORD>(signedFrames * std::int64_t{audio::kBytesPerFrame});
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
  audio::Stream* stream = audio::find(handle);
  if (!stream) return DWORD(-1);
  if (length != BASS_DATA_FFT512 || !buffer) {
    fail(BASS_ERROR_ILLPARAM);
    return DWORD(-1);
  }
  stream->spectrum(std::span<float, audio::kFftBins>(static_cast<float*>(buffer), audio::kFftBins));
  succeed();
  return DWORD(audio::kFftBins * sizeof(float));
}

BOOL BASS_Update() {
  if (!library().initialised) return fail(BASS_ERROR_INIT);
  return succeed();
}
