// Message boxes: standard error, the frame trace, and a modal box once per distinct message.
#include "platform/win32/MessageBox.h"

#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "platform/trace/FrameTrace.h"

namespace win32 {
namespace {

struct ModalState {
  ModalPresenter presenter;
  std::set<std::pair<std::string, std::string>> shown;
};

ModalState& modalState() {
  static ModalState state;
  return state;
}

}  // namespace

void setModalPresenter(ModalPresenter presenter) { modalState().presenter = std::move(presenter); }

}  // namespace win32

int MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const char* text = lpText ? lpText : "";
  const char* caption = lpCaption ? lpCaption : "Error";
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  trace::frameTrace().event("messageBox").str("text", text).str("caption", caption);

  auto& modal = win32::modalState();
  if (modal.presenter && modal.shown.emplace(caption, text).second) modal.presenter(text, caption, uType);
  return IDOK;
}
