// Virtual-key codes of SDL keys, and the latch behind GetAsyncKeyState's "pressed since the last
// query" bit: the message pump notes every key-down it sees, a query takes the note. Main thread.
#pragma once

#include <SDL2/SDL_keycode.h>

namespace win32 {

// The Windows virtual-key code of an SDL key (letters and digits as their upper-case character,
// Escape 0x1B …); 0 for keys the system never asks about.
int virtualKeyOf(SDL_Keycode key);

// The SDL scancode of a virtual-key code, SDL_SCANCODE_UNKNOWN when there is none.
SDL_Scancode scancodeOf(int virtualKey);

void noteKeyPressed(int virtualKey);
// True once after each noted press.
bool takeKeyPressed(int virtualKey);

}  // namespace win32
