// The Windows base types the system code and the other stand-ins are written against.
// Header only; sizes match the 32-bit Windows ABI where files or formats depend on them.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using BOOL = int;
using HRESULT = std::int32_t;
using LPCSTR = const char*;
using HANDLE = void*;
using LPVOID = void*;

// A window handle. On this platform it points at the window record of the win32 stand-in.
struct HWND__;
using HWND = HWND__*;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
