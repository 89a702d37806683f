// Window classes, windows and messages over SDL2.
#include "platform/win32/Window.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/VirtualKeys.h"

struct HWND__ {
  SDL_Window* window = nullptr;
  WNDPROC procedure = nullptr;
  bool fullscreen = false;
  bool destroyed = false;
};

namespace win32 {
namespace {

constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;

struct WindowSystem {
  std::map<std::string, WNDCLASSEXA> classes;
  std::vector<std::unique_ptr<HWND__>> windows;
  std::deque<MSG> posted;
  bool videoStarted = false;
  int cursorCount = 0;

  ~WindowSystem() {
    for (auto& window : windows)
      if (window->window) SDL_DestroyWindow(window->window);
    if (videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
};

WindowSystem& windowSystem() {
  static WindowSystem instance;
  return instance;
}

bool startVideo() {
  WindowSystem& s = windowSystem();
  if (!s.videoStarted) s.videoStarted = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  return s.videoStarted;
}

HWND firstLiveWindow() {
  for (auto& window : windowSystem().windows)
    if (!window->destroyed) return window.get();
  return nullptr;
}

HWND windowOfSdl(Uint32 windowId) {
  for (auto& window : windowSystem().windows)
    if (window->window && SDL_GetWindowID(window->window) == windowId) return window.get();
  return firstLiveWindow();
}

// Turns one SDL event into a message; false for events the system has no message for. A close
// request is handled as Windows handles the caption's close button: WM_CLOSE is sent straight to
// the window procedure, whatever the caller does with posted messages.
bool translate(const SDL_Event& event, MSG& msg) {
  msg = MSG{};
  msg.time = event.common.timestamp;
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = virtualKeyOf(event.key.keysym.sym);
      if (vk == 0) return false;
      if (event.type == SDL_KEYDOWN) noteKeyPressed(vk);
      msg.hwnd = windowOfSdl(event.key.windowID);
      msg.message = event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP;
      msg.wParam = static_cast<WPARAM>(vk);
      // Bit 30: the key was already down (a repeat), as Windows marks it.
      if (event.key.repeat) msg.lParam = kKeyWasDown;
      return true;
    }
    case SDL_MOUSEMOTION:
      msg.hwnd = windowOfSdl(event.motion.windowID);
      msg.message = WM_MOUSEMOVE;
      msg.lParam = MAKELPARAM(event.motion.x, event.motion.y);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.button.button != SDL_BUTTON_LEFT) return false;
      msg.hwnd = windowOfSdl(event.button.windowID);
      msg.message = event.type == SDL_MOUSEBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      msg.lParam = MAKELPARAM(event.button.x, event.button.y);
      return true;
    case SDL_WINDOWEVENT:
      if (event.window.event != SDL_WINDOWEVENT_CLOSE) return false;
      if (HWND window = windowOfSdl(event.window.windowID); window && window->procedure)
        window->procedure(window, WM_CLOSE, 0, 0);
      return false;
    case SDL_QUIT:
      if (HWND window = firstLiveWindow(); window && window->procedure) window->procedure(window, WM_CLOSE, 0, 0);
      return false;
    default:
      return false;
  }
}

}  // namespace

SDL_Window* sdlWindowOf(HWND window) { return window && !window->destroyed ? window->window : nullptr; }

bool isFullscreen(HWND window) { return window && window->fullscreen; }

}  // namespace win32

HINSTANCE GetModuleHandleA(LPCSTR) { return nullptr; }

// Stock icons, cursors and brushes are tokens: SDL windows have their own.
HICON LoadIconA(HINSTANCE, LPCSTR lpIconName) { return const_cast<char*>(lpIconName); }
HCURSOR LoadCursorA(HINSTANCE, LPCSTR lpCursorName) { return const_cast<char*>(lpCursorName); }
HGDIOBJ GetStockObject(int i) { return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(i + 1)); }

ATOM RegisterClassExA(const WNDCLASSEXA* lpwcx) {
  if (!lpwcx || lpwcx->cbSize != sizeof(WNDCLASSEXA) || !lpwcx->lpszClassName || !lpwcx->lpfnWndProc) return 0;
  auto& classes = win32::windowSystem().classes;
  if (!classes.emplace(lpwcx->lpszClassName, *lpwcx).second) return 0;
  return static_cast<ATOM>(classes.size());
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
  return lpClassName && win32::windowSystem().classes.erase(lpClassName) == 1 ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y, int nWidth,
                     int nHeight, HWND, HMENU, HINSTANCE, LPVOID) {
  auto& s = win32::windowSystem();
  auto found = lpClassName ? s.classes.find(lpClassName) : s.classes.end();
  if (found == s.classes.end() || nWidth <= 0 || nHeight <= 0 || !win32::startVideo()) return nullptr;
  bool popup = (dwStyle & WS_POPUP) != 0;
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
  if (popup) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN;
  SDL_Window* window = SDL_CreateWindow(lpWindowName ? lpWindowName : "", X, Y, nWidth, nHeight, flags);
  if (!window) return nullptr;
  auto record = std::make_unique<HWND__>();
  record->window = window;
  record->procedure = found->second.lpfnWndProc;
  record->fullscreen = popup;
  s.windows.push_back(std::move(record));
  return s.windows.back().get();
}

BOOL DestroyWindow(HWND hWnd) {
  if (!hWnd || hWnd->destroyed) return FALSE;
  hWnd->destroyed = true;
  if (hWnd->procedure) hWnd->procedure(hWnd, WM_DESTROY, 0, 0);
  if (hWnd->window) SDL_HideWindow(hWnd->window);
  return TRUE;
}

BOOL PeekMessageA(MSG* lpMsg, HWND, UINT, UINT, UINT wRemoveMsg) {
  if (!lpMsg) return FALSE;
  auto& posted = win32::windowSystem().posted;
  if (!posted.empty()) {
    *lpMsg = posted.front();
    if (wRemoveMsg & PM_REMOVE) posted.pop_front();
    return TRUE;
  }
  if (!win32::windowSystem().videoStarted) return FALSE;
  SDL_Event event;
  if (!SDL_PollEvent(&event)) return FALSE;
  return win32::translate(event, *lpMsg) ? TRUE : FALSE;
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  win32::windowSystem().posted.push_back(MSG{hWnd, Msg, wParam, lParam, SDL_GetTicks(), {0, 0}});
  return TRUE;
}

BOOL TranslateMessage(const MSG* lpMsg) { return lpMsg && lpMsg->message == WM_KEYDOWN ? TRUE : FALSE; }

LRESULT DispatchMessageA(const MSG* lpMsg) {
  if (!lpMsg || !lpMsg->hwnd || !lpMsg->hwnd->procedure) return 0;
  return lpMsg->hwnd->procedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
  if (Msg == WM_CLOSE) DestroyWindow(hWnd);
  return 0;
}

void PostQuitMessage(int nExitCode) { PostMessageA(nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0); }

int ShowCursor(BOOL bShow) {
  int& count = win32::windowSystem().cursorCount;
  count += bShow ? 1 : -1;
  if (win32::windowSystem().videoStarted) SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return count;
}

BOOL GetClientRect(HWND hWnd, RECT* lpRect) {
  if (!lpRect) return FALSE;
  *lpRect = RECT{};
  SDL_Window* window = win32::sdlWindowOf(hWnd);
  if (!window) return FALSE;
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  lpRect->right = width;
  lpRect->bottom = height;
  return TRUE;
}

int GetSystemMetrics(int nIndex) {
  SDL_Rect bounds{};
  if ((nIndex != SM_CXSCREEN && nIndex != SM_CYSCREEN) || !win32::startVideo() || SDL_GetDisplayBounds(0, &bounds) != 0)
    return 0;
  return nIndex == SM_CXSCREEN ? bounds.w : bounds.h;
}

void ExitProcess(UINT uExitCode) { std::exit(static_cast<int>(uExitCode)); }
