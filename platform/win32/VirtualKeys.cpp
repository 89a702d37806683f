// Key code mapping and the pressed-since-last-query latch.
#include "platform/win32/VirtualKeys.h"

#include <bitset>

namespace win32 {
namespace {

constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkSpace = 0x20;
constexpr int kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24;
constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;

std::bitset<256>& pressedLatch() {
  static std::bitset<256> latch;
  return latch;
}

}  // namespace

int virtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  switch (key) {
    case SDLK_ESCAPE: return kVkEscape;
    case SDLK_RETURN: return kVkReturn;
    case SDLK_SPACE: return kVkSpace;
    case SDLK_BACKSPACE: return kVkBack;
    case SDLK_TAB: return kVkTab;
    case SDLK_LEFT: return kVkLeft;
    case SDLK_UP: return kVkUp;
    case SDLK_RIGHT: return kVkRight;
    case SDLK_DOWN: return kVkDown;
    case SDLK_PAGEUP: return kVkPrior;
    case SDLK_PAGEDOWN: return kVkNext;
    case SDLK_END: return kVkEnd;
    case SDLK_HOME: return kVkHome;
    default: return 0;
  }
}

SDL_Scancode scancodeOf(int virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return SDL_Scancode(SDL_SCANCODE_A + (virtualKey - 'A'));
  if (virtualKey >= '1' && virtualKey <= '9') return SDL_Scancode(SDL_SCANCODE_1 + (virtualKey - '1'));
  switch (virtualKey) {
    case '0': return SDL_SCANCODE_0;
    case kVkEscape: return SDL_SCANCODE_ESCAPE;
    case kVkReturn: return SDL_SCANCODE_RETURN;
    case kVkSpace: return SDL_SCANCODE_SPACE;
    case kVkBack: return SDL_SCANCODE_BACKSPACE;
    case kVkTab: return SDL_SCANCODE_TAB;
    case kVkLeft: return SDL_SCANCODE_LEFT;
    case kVkUp: return SDL_SCANCODE_UP;
    case kVkRight: return SDL_SCANCODE_RIGHT;
    case kVkDown: return SDL_SCANCODE_DOWN;
    case kVkPrior: return SDL_SCANCODE_PAGEUP;
    case kVkNext: return SDL_SCANCODE_PAGEDOWN;
    case kVkEnd: return SDL_SCANCODE_END;
    case kVkHome: return SDL_SCANCODE_HOME;
    default: return SDL_SCANCODE_UNKNOWN;
  }
}

void noteKeyPressed(int virtualKey) {
  if (virtualKey > 0 && virtualKey < 256) pressedLatch().set(static_cast<std::size_t>(virtualKey));
}

bool takeKeyPressed(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= 256) return false;
  bool was = pressedLatch().test(static_cast<std::size_t>(virtualKey));
  pressedLatch().reset(static_cast<std::size_t>(virtualKey));
  return was;
}

}  // namespace win32
