#pragma once
// A key press as the keyboard gave it, for those that watch the keyboard
// outside any control (the keyboard hook): the virtual key, the shift state
// and the PC keyboard's scan code with its extended flag.
#include <cstdint>

#include "platform/core/keys.h"

class QKeyEvent;

namespace quillet {

struct TKeyStroke {
  TKey Key = 0;
  TShiftState Shift = 0;
  uint8_t ScanCode = 0;  // 0 when the key has none known
  bool Extended = false;
  bool AutoRepeat = false;  // the key was down already
  friend bool operator==(const TKeyStroke&, const TKeyStroke&) = default;
};

struct TScanCode {
  uint8_t Code = 0;
  bool Extended = false;
  friend bool operator==(const TScanCode&, const TScanCode&) = default;
};

// The PC keyboard scan code of an XKB key code (the Linux input code + 8,
// what X11 and Wayland report as the native scan code); none for codes
// outside the PC keyboard's keys.
TScanCode ScanCodeOfXkbKeycode(uint32_t keycode);

TKeyStroke KeyStrokeOf(const QKeyEvent& event);

}  // namespace quillet
