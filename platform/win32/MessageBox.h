// MessageBoxA over this platform: every box is written to standard error as "caption: text" and
// to the frame trace; where a display exists the shell installs a presenter that shows it modally.
// A box whose caption and text were already shown modally in this run is not shown again.
#pragma once

#include <functional>

#include "platform/win32/WinTypes.h"

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONEXCLAMATION = MB_ICONWARNING;
constexpr int IDOK = 1;

// Shows the box; returns IDOK.
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

namespace win32 {

// Shows one box modally and returns when the user closed it.
using ModalPresenter = std::function<void(const char* text, const char* caption, UINT type)>;

// An empty presenter (the default, and always so headless) shows nothing modally.
void setModalPresenter(ModalPresenter presenter);

}  // namespace win32
