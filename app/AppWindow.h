// The window and the Direct3D device: the shared device state (Direct3D object, device, back
// buffer, depth-stencil surface), the window record with its class and message buffer, the window
// procedure and the once-a-frame message pump. One global of each, living for the whole process.
#pragma once

#include <functional>

#include "app/DisplaySettings.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"
#include "platform/win32/Window.h"

namespace app {

inline constexpr const char* kWindowTitle = "Tinkerfolks - Red Kite";
inline constexpr int kWindowedX = 900;
inline constexpr int kWindowedY = 0;

struct DeviceState {
  d3d9::ComPtr<IDirect3D9> d3d;
  d3d9::ComPtr<IDirect3DDevice9> device;
  d3d9::ComPtr<IDirect3DSurface9> backBuffer;
  d3d9::ComPtr<IDirect3DSurface9> depthStencil;
};

DeviceState& deviceState();

// Runs the setup dialog on the Direct3D object: 1 for Run (DisplaySettings filled), 0 for Exit.
using DialogRunner = std::function<int(IDirect3D9* d3d)>;

LRESULT windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Where the windowed show opens: (900, 0), moved left and up just enough for a window of this
// size to fit a desktop of that size, never past its left or top edge. An unknown desktop (0 x 0)
// keeps (900, 0).
POINT windowedPosition(int desktopWidth, int desktopHeight, int width, int height);

struct AppWindow {
  WNDCLASSEXA windowClass{};
  MSG message{};
  const char* className = nullptr;
  HWND window = nullptr;
  // Given every key and mouse message the pump takes, windowed or fullscreen: the viewer's controls.
  std::function<void(const MSG&)> onInput;

  // Direct3D object, dialog, class, window and device, in this order, each failure reported with
  // its message; false when the show cannot start.
  bool create(const char* title, const DialogRunner& runDialog);
  // Unregisters the class and releases the Direct3D object, depth-stencil surface, back buffer and
  // device, in that order.
  void destroy();
  // Takes at most one message (dispatched only when windowed; key and mouse messages also go to
  // onInput); false once Escape is down or the quit message of a closed window was taken.
  bool pump();
  // The window's client size in pixels (0 x 0 without a window).
  void clientSize(int& width, int& height) const;
};

AppWindow& appWindow();

// Device creation on a window with the present parameters DisplaySettings gives.
bool createDevice(HWND window);

}  // namespace app
