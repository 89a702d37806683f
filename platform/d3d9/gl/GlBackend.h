// What the rest of the program uses of the OpenGL backend: the two ways to install it (headless on
// EGL, or on SDL windows) and the headless frame readback. Main thread only.
#pragma once

#include <functional>
#include <string>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/Image.h"

struct SDL_Window;

namespace d3d9::gl {

// Makes Direct3DCreate9 build the backend on the process's headless context (Mesa's surfaceless EGL
// platform). Direct3DCreate9 returns null when EGL cannot start, after saying why on standard error.
void installHeadless();

// Whether a headless context can start on this machine; false with the reason otherwise.
bool headlessAvailable(std::string& reason);

// Makes Direct3DCreate9 build the backend on SDL windows: the adapter lists the display's modes, and
// CreateDevice makes a context on the window that `resolveWindow` gives for the device's window
// (D3DPRESENT_PARAMETERS::hDeviceWindow, else the focus window). That window must have been created
// with SDL_WINDOW_OPENGL. Direct3DCreate9 returns null when SDL's video cannot start.
void installWindowed(std::function<SDL_Window*(HWND)> resolveWindow);

// Draws `overlay(width, height)` into every window frame after the back buffer is copied there and
// before the swap, on the window's framebuffer in OpenGL's default conventions: the viewer's status
// bar. Headless devices never call it, so nothing it draws reaches a rendered or captured frame.
// An empty function removes it.
void setWindowOverlay(std::function<void(int width, int height)> overlay);

// The frame a headless device of this backend last presented (see GlDevice::presentedImage);
// empty for any other device.
Image presentedImage(IDirect3DDevice9* device);

// Waits until a device of this backend has finished every call made so far (glFinish); does
// nothing for any other device. For measuring what each call costs, never for the frame loop.
void waitForDevice(IDirect3DDevice9* device);

}  // namespace d3d9::gl
