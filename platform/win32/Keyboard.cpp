// Key state queries over SDL's keyboard state.
#include "platform/win32/Keyboard.h"

#include <SDL2/SDL.h>

#include <bitset>

#include "platform/win32/VirtualKeys.h"

namespace win32 {
namespace {

std::bitset<256>& heldForTesting() {
  static std::bitset<256> held;
  return held;
}

bool heldOnKeyboard(int vKey) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  SDL_Scancode scancode = scancodeOf(vKey);
  if (scancode == SDL_SCANCODE_UNKNOWN) return false;
  // The state changes only when events are pumped; the caller may be a loop without a message
  // pump (the spectrum recorder), and a Windows key query works without one too.
  SDL_PumpEvents();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  return state && scancode < count && state[scancode] != 0;
}

}  // namespace

void setKeyStateForTesting(int vKey, bool down) {
  if (vKey <= 0 || vKey >= 256) return;
  heldForTesting().set(static_cast<std::size_t>(vKey), down);
  if (down) noteKeyPressed(vKey);
}

}  // namespace win32

SHORT GetAsyncKeyState(int vKey) {
  if (vKey <= 0 || vKey >= 256) return 0;
  bool down = win32::heldForTesting().test(static_cast<std::size_t>(vKey)) || win32::heldOnKeyboard(vKey);
  bool pressed = win32::takeKeyPressed(vKey);
  return static_cast<SHORT>((down ? 0x8000 : 0) | (pressed ? 0x0001 : 0));
}
