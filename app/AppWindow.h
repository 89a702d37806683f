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

struct AppWindow {
  WNDCLASSEXA windowClass{};
  MSG message{};
  const char* className = nullptr;

  // Direct3D object, dialog, class, window and device, in this order, each failure reported with
  // its message; false when the show cannot start.
  bool create(const char* title, const DialogRunner& runDialog);
  // Unregisters the class and releases the Direct3D object, depth-stencil surface, back buffer and
  // device, in that order.
  void destroy();
  // Takes at most one message (dispatched only when windowed); false once Escape is down or the
  // quit message of a closed window was taken.
  bool pump();
};

AppWindow& appWindow();

// Device creation on a window with the present parameters DisplaySettings gives.
bool createDevice(HWND window);

}  // namespace app
