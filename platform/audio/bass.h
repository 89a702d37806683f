// The BASS audio operations the system calls, under their own names: one library state, streams
// decoded whole at creation and played through SDL. Handles are plain numbers owned by the library
// until BASS_StreamFree or BASS_Free. Main thread only; playback runs on SDL's audio thread.
#pragma once

#include <cstdint>

#include "platform/win32/WinTypes.h"

using QWORD = std::uint64_t;
using HSTREAM = DWORD;

struct GUID;

// Error codes of BASS_ErrorGetCode.
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_MEM = 1;
constexpr int BASS_ERROR_FILEOPEN = 2;
constexpr int BASS_ERROR_DRIVER = 3;
constexpr int BASS_ERROR_HANDLE = 5;
constexpr int BASS_ERROR_POSITION = 7;
constexpr int BASS_ERROR_INIT = 8;
constexpr int BASS_ERROR_ALREADY = 14;
constexpr int BASS_ERROR_ILLPARAM = 20;
constexpr int BASS_ERROR_DEVICE = 23;
constexpr int BASS_ERROR_NOPLAY = 24;
constexpr int BASS_ERROR_FILEFORM = 41;

// BASS_ChannelGetData: 256 FFT magnitudes of the 512 frames ending at the heard position.
constexpr DWORD BASS_DATA_FFT512 = 0x80000001u;

// The failure value of the calls that return a position or a length.
constexpr QWORD BASS_INVALID_POSITION = ~QWORD{0};

// Device 1 (or -1) is the default output, falling back to a silent real-time clock when the
// machine has none; device 0 is that silent output from the start.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const GUID* clsid);
BOOL BASS_Free();
int BASS_ErrorGetCode();

// The whole file (or `length` bytes from `offset`, 0 = to the end) is decoded here. Files only:
// `mem` TRUE is refused. Returns 0 on failure.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);
BOOL BASS_StreamFree(HSTREAM handle);

// freq: 0 = the stream's own rate, -1 = keep; volume 0..100, -1 = keep; pan -100..100, -101 = keep.
BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan);
// The rate, volume and pan in force; any pointer may be null.
BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume, int* pan);
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
// Holds the channel at the heard position; BASS_ChannelPlay(handle, FALSE) resumes from there.
BOOL BASS_ChannelPause(DWORD handle);

// BASS_ChannelIsActive: stopped (never played, or an invalid handle), playing or paused.
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;
DWORD BASS_ChannelIsActive(DWORD handle);

// Byte positions of the decoded stream, 16-bit stereo: 4 bytes a frame. The position is what has
// been heard. Invalid handle: BASS_INVALID_POSITION.
QWORD BASS_ChannelGetLength(DWORD handle);
QWORD BASS_ChannelGetPosition(DWORD handle);
// Refuses (FALSE, position kept) a position past the end; a negative time converted by
// BASS_ChannelSeconds2Bytes wraps to a huge value and is refused the same way.
BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos);

// Seconds of a byte count; -1 for an invalid handle.
double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);
// Bytes of a time, rounded down to whole frames; a negative time gives the two's complement of its
// negative byte count. BASS_INVALID_POSITION for an invalid handle.
QWORD BASS_ChannelSeconds2Bytes(DWORD handle, float pos);

// Only BASS_DATA_FFT512: writes 256 floats, returns their size in bytes, or (DWORD)-1.
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);

// SDL's audio thread refills the device on its own; kept for the callers' frame loop.
BOOL BASS_Update();
