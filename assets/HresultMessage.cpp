// Cut message texts and the result-code table.
#include "assets/HresultMessage.h"

#include <cstdarg>
#include <cstdio>

#include "platform/d3dx9/d3dx9.h"
#include "platform/win32/MessageBox.h"

namespace assets {
namespace {

struct HresultFormat {
  HRESULT code;
  const char* format;
};

constexpr HresultFormat kHresultFormats[] = {
    {E_OUTOFMEMORY, "OutOfMemory With %s"},
    {D3DERR_OUTOFVIDEOMEMORY, "OutOfVideoMemory With %s"},
    {D3DERR_INVALIDCALL, "InvalidCall With %s"},
    {D3DXERR_INVALIDDATA, "InvalidData With %s"},
};
constexpr const char* kOtherFormat = "No Case With %s - Everything Should Be Fine";

}  // namespace

std::string formatMessage(const char* format, ...) {
  char text[kMessageBytes];
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return written < 0 ? std::string() : std::string(text);
}

std::string hresultMessageText(HRESULT hr, const char* subject) {
  const char* format = kOtherFormat;
  for (const HresultFormat& entry : kHresultFormats)
    if (entry.code == hr) format = entry.format;
  char text[kMessageBytes];
  std::snprintf(text, sizeof text, format, subject ? subject : "");
  return text;
}

void showHresultMessage(HRESULT hr, const char* caption, const char* subject) {
  MessageBoxA(nullptr, hresultMessageText(hr, subject).c_str(), caption, MB_OK);
}

}  // namespace assets
