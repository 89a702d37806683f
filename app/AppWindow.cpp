// Window class, window, device creation, window procedure and pump.
#include "app/AppWindow.h"

#include <algorithm>

#include "platform/win32/Keyboard.h"
#include "platform/win32/MessageBox.h"

namespace app {

DeviceState& deviceState() {
  static DeviceState state;
  return state;
}

AppWindow& appWindow() {
  static AppWindow window;
  return window;
}

LRESULT windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      if (GetAsyncKeyState(VK_ESCAPE) != 0) {
        PostQuitMessage(0);
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_SYSCOMMAND:
      // Screen saver and monitor power-off are refused while the show runs.
      if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

namespace {

D3DPRESENT_PARAMETERS presentParameters(const DisplaySettings& settings) {
  D3DPRESENT_PARAMETERS pp{};
  pp.BackBufferWidth = settings.width;
  pp.BackBufferHeight = settings.height;
  pp.BackBufferFormat = settings.format;
  pp.BackBufferCount = 3;
  pp.MultiSampleType = settings.multiSampleType;
  pp.MultiSampleQuality = 0;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = nullptr;
  pp.Windowed = settings.fullscreen ? FALSE : TRUE;
  pp.EnableAutoDepthStencil = FALSE;
  pp.AutoDepthStencilFormat = D3DFMT_D24X8;
  pp.Flags = 0;
  pp.FullScreen_RefreshRateInHz = settings.fullscreen ? settings.refreshRate : 0;
  pp.PresentationInterval = settings.vsync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
  return pp;
}

constexpr const char* kInitCaption = "Error::D3D9Init";

bool fail(const char* text) {
  MessageBoxA(nullptr, text, kInitCaption, MB_OK);
  return false;
}

}  // namespace

bool createDevice(HWND window) {
  DeviceState& state = deviceState();
  const DisplaySettings& settings = displaySettings();
  D3DCAPS9 caps{};
  state.d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
  bool hardwareTransform = (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
  if (!hardwareTransform) MessageBoxA(nullptr, "No D3DDEVCAPS_HWTRANSFORMANDLIGHT (May Run Slow)", "D3D9CAPS", MB_OK);

  D3DPRESENT_PARAMETERS pp = presentParameters(settings);
  DWORD behaviour = hardwareTransform ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  if (FAILED(state.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, behaviour, &pp, state.device.put())))
    return fail("CreateDevice");
  if (FAILED(state.device->CreateDepthStencilSurface(settings.width, settings.height, D3DFMT_D24X8,
                                                     settings.multiSampleType, 0, TRUE, state.depthStencil.put(),
                                                     nullptr)))
    return fail("CreateDepthStencilSurface");
  state.depthStencil->SetDebugName("depthStencil");
  if (FAILED(state.device->SetDepthStencilSurface(state.depthStencil.get()))) return fail("SetDepthStencilSurface");
  if (FAILED(state.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, state.backBuffer.put())))
    return fail("Get Backbuffer");
  return true;
}

POINT windowedPosition(int desktopWidth, int desktopHeight, int width, int height) {
  if (desktopWidth <= 0 || desktopHeight <= 0) return {kWindowedX, kWindowedY};
  return {std::max(0, std::min(kWindowedX, desktopWidth - width)), std::max(0, std::min(kWindowedY, desktopHeight - height))};
}

bool AppWindow::create(const char* title, const DialogRunner& runDialog) {
  DeviceState& state = deviceState();
  *state.d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
  if (!state.d3d) {
    // Without the Direct3D object the dialog has no modes to offer and no device can be made.
    MessageBoxA(nullptr, "Failed Direct3DCreate9(SDK_VERSION)", kInitCaption, MB_OK | MB_ICONWARNING);
    return false;
  }
  if (runDialog(state.d3d.get()) == 0) return false;

  windowClass = WNDCLASSEXA{};
  windowClass.cbSize = sizeof(WNDCLASSEXA);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = title;
  if (!RegisterClassExA(&windowClass)) {
    MessageBoxA(nullptr, "Failed To Register The Window Class.", "ERROR", MB_OK | MB_ICONWARNING);
    return false;
  }
  className = title;

  const DisplaySettings& settings = displaySettings();
  window = nullptr;
  int width = static_cast<int>(settings.width), height = static_cast<int>(settings.height);
  if (settings.fullscreen) {
    window = CreateWindowExA(0, title, title, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, nullptr,
                             nullptr);
    if (window) ShowCursor(FALSE);
  } else {
    POINT at = windowedPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
    window = CreateWindowExA(WS_EX_CLIENTEDGE, title, title, WS_VISIBLE | WS_CAPTION | WS_SYSMENU, at.x, at.y, width,
                             height, nullptr, nullptr, nullptr, nullptr);
  }
  if (!window) {
    MessageBoxA(nullptr, "CreateWindowEx()", "ERROR", MB_OK | MB_ICONWARNING);
    return false;
  }
  return createDevice(window);
}

void AppWindow::destroy() {
  if (className) UnregisterClassA(className, nullptr);
  className = nullptr;
  window = nullptr;
  onInput = nullptr;
  DeviceState& state = deviceState();
  state.d3d.reset();
  state.depthStencil.reset();
  state.backBuffer.reset();
  state.device.reset();
}

bool AppWindow::pump() {
  if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    bool input = message.message == WM_KEYDOWN || message.message == WM_MOUSEMOVE ||
                 message.message == WM_LBUTTONDOWN || message.message == WM_LBUTTONUP;
    if (input && onInput) onInput(message);
    if (!displaySettings().fullscreen) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return GetAsyncKeyState(VK_ESCAPE) == 0;
}

void AppWindow::clientSize(int& width, int& height) const {
  RECT client{};
  GetClientRect(window, &client);
  width = client.right - client.left;
  height = client.bottom - client.top;
}

}  // namespace app
