#include "host/input/keyboard_hook.h"

namespace quillet {

uint32_t KeyStrokeData(const TKeyStroke& stroke) {
  uint32_t data = 1;
  data |= static_cast<uint32_t>(stroke.ScanCode) << 16;
  if (stroke.Extended) data |= 1u << 24;
  if (stroke.Shift & ssAlt) data |= 1u << 29;
  if (stroke.AutoRepeat) data |= 1u << 30;
  return data;
}

void TKbHook::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Change();
}

void TKbHook::KeyPressed(const TKeyStroke& stroke) {
  KeyboardMessage({stroke.Key, KeyStrokeData(stroke), stroke.Shift});
}

void TKbHook::KeyboardMessage(const TKeyboardReport& report) {
  if (enabled_ && OnKeyboardMessage) OnKeyboardMessage(*this, report);
}

void TKbHook::Change() {
  if (OnChange) OnChange(*this);
}

}  // namespace quillet
