// Message texts of the system: formatted texts are cut to 64 bytes (terminator included, so at
// most 63 characters), and the show-HRESULT-message helper that turns a failed Direct3D or D3DX
// result into a message box. Used by the loaders here and by render/. Main thread only.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32/WinTypes.h"

namespace assets {

constexpr std::size_t kMessageBytes = 64;

// printf-style text cut to kMessageBytes bytes, terminator included.
std::string formatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text for a failed result: the format chosen by the result code, with the subject filled in.
std::string hresultMessageText(HRESULT hr, const char* subject);

// Shows hresultMessageText(hr, subject) with the caption (no owner window, OK button).
void showHresultMessage(HRESULT hr, const char* caption, const char* subject);

}  // namespace assets
