// Window classes, windows and the message queue over SDL2: what the shell's window, window
// procedure and pump call. One SDL window per CreateWindowExA; posted messages queue here and each
// PeekMessageA takes at most one SDL event. Main thread only.
#pragma once

#include <cstdint>

#include "platform/win32/WinTypes.h"

struct SDL_Window;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;
using HINSTANCE = void*;
using HICON = void*;
using HCURSOR = void*;
using HBRUSH = void*;
using HMENU = void*;
using HGDIOBJ = void*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
  LONG x;
  LONG y;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSCOMMAND = 0x0112;
// Mouse messages carry the pointer's client position: x in the low 16 bits of lParam, y above.
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) | static_cast<std::uint32_t>(low & 0xFFFF));
}
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<std::int16_t>(lp & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<std::int16_t>((lp >> 16) & 0xFFFF); }
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;

constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_CAPTION = 0x00C00000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200u;

// Resource names of the system's stock icon and cursor, and the stock brush index.
inline const LPCSTR IDI_APPLICATION = reinterpret_cast<LPCSTR>(32512);
inline const LPCSTR IDC_ARROW = reinterpret_cast<LPCSTR>(32512);
constexpr int BLACK_BRUSH = 4;

HINSTANCE GetModuleHandleA(LPCSTR lpModuleName);
HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HGDIOBJ GetStockObject(int i);

// Registers a class by name; 0 when the record is malformed or the name is taken.
ATOM RegisterClassExA(const WNDCLASSEXA* lpwcx);
BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);

// Opens an SDL window for a registered class: WS_POPUP makes it borderless and, at the position
// (0, 0) with the size of a display mode, fullscreen. Null when SDL's video cannot start.
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
// Sends WM_DESTROY and hides the window. The SDL window itself lives until the process ends, so a
// device still presenting to it never touches a freed window.
BOOL DestroyWindow(HWND hWnd);

// Takes one message: a posted one if any is queued, else one SDL event turned into the message it
// stands for (key down/up as WM_KEYDOWN/WM_KEYUP with the virtual-key code, the pointer and the left button
// as WM_MOUSEMOVE/WM_LBUTTONDOWN/WM_LBUTTONUP; a close request is sent
// to the window procedure as WM_CLOSE, as Windows sends it). False when there was nothing to take.
BOOL PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL TranslateMessage(const MSG* lpMsg);
LRESULT DispatchMessageA(const MSG* lpMsg);
// WM_CLOSE destroys the window; everything else is answered with 0.
LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int nExitCode);
int ShowCursor(BOOL bShow);
// The client area: (0, 0) to the window's size; all zero for a null or destroyed window.
BOOL GetClientRect(HWND hWnd, RECT* lpRect);
// SM_CXSCREEN and SM_CYSCREEN: the desktop's size in pixels (0 when SDL's video cannot start).
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
int GetSystemMetrics(int nIndex);
[[noreturn]] void ExitProcess(UINT uExitCode);

namespace win32 {

// The SDL window behind a window handle (null for a null or destroyed handle); for the GL backend.
SDL_Window* sdlWindowOf(HWND window);

// Whether the window was made with WS_POPUP at a display mode's size; for tests and the backend.
bool isFullscreen(HWND window);

}  // namespace win32
