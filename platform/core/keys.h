#pragma once
// Virtual key codes, shift states and mouse buttons as the controls receive
// them. Letters and digits are their upper-case ASCII codes ('A', '0').
#include <cstdint>

namespace quillet {

using TKey = uint16_t;

constexpr TKey VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D;
constexpr TKey VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14;
constexpr TKey VK_ESCAPE = 0x1B, VK_SPACE = 0x20;
constexpr TKey VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24;
constexpr TKey VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
constexpr TKey VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F;
constexpr TKey VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D;
constexpr TKey VK_NUMPAD0 = 0x60;  // to VK_NUMPAD9 = 0x69
constexpr TKey VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
               VK_DIVIDE = 0x6F;
constexpr TKey VK_F1 = 0x70;  // to VK_F24 = 0x87
constexpr TKey VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;
// The punctuation keys of a US layout.
constexpr TKey VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
               VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;

// Keys and mouse buttons held during an input event.
enum TShiftStateFlag : uint8_t {
  ssShift = 1 << 0, ssAlt = 1 << 1, ssCtrl = 1 << 2, ssLeft = 1 << 3, ssRight = 1 << 4, ssMiddle = 1 << 5,
  ssDouble = 1 << 6
};
using TShiftState = uint8_t;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

}  // namespace quillet
