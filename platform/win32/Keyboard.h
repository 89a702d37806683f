// GetAsyncKeyState over SDL: the held state comes from SDL's keyboard state (while SDL video runs;
// otherwise no key is down), the pressed-since-last-query bit from the key-down latch of
// VirtualKeys.h. Tests can hold keys without a window. Main thread only.
#pragma once

#include <cstdint>

#include "platform/win32/WinTypes.h"

using SHORT = std::int16_t;

constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;  // Page Up
constexpr int VK_NEXT = 0x22;   // Page Down
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
// Letters and digits are their upper-case characters: 'O' 0x4F, 'I' 0x49, 'C' 0x43 ...

// Bit 15 set while the key is down; bit 0 set when it was pressed since the previous query of the
// same key (the query clears it).
SHORT GetAsyncKeyState(int vKey);

namespace win32 {

// Holds a key down (which also counts as a press) or releases it, as if from the keyboard.
void setKeyStateForTesting(int vKey, bool down);

}  // namespace win32
