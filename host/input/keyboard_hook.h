#pragma once
// The keyboard hook: inside a host page the editor does not get every
// shortcut it needs, so the program's keyboard filter hands the hook each
// key pressed while the control's window is active, and the hook reports it
// as the keyboard message: the key and its key-stroke data.
#include <cstdint>
#include <functional>

#include "platform/core/keys.h"
#include "platform/ui/key_stroke.h"

namespace quillet {

struct TKeyboardReport {
  TKey Key = 0;          // the virtual key; letters upper case
  uint32_t KeyData = 0;  // KeyStrokeData
  TShiftState Shift = 0;  // keys held with it
  friend bool operator==(const TKeyboardReport&, const TKeyboardReport&) = default;
};

// The key-stroke data of a press: bits 0-15 the repeat count (1: every
// press is reported on its own), 16-23 the scan code, 24 the extended flag, 29 Alt held, 30 the key was down already
// (auto-repeat), 31 the transition (0: pressed; releases are not reported).
uint32_t KeyStrokeData(const TKeyStroke& stroke);

class TKbHook {
 public:
  using TKeyboardMessageEvent = std::function<void(TKbHook& sender, const TKeyboardReport& report)>;
  using TNotifyEvent = std::function<void(TKbHook& sender)>;

  // Made disabled.
  TKbHook() = default;
  virtual ~TKbHook() = default;
  TKbHook(const TKbHook&) = delete;
  TKbHook& operator=(const TKbHook&) = delete;

  bool Enabled() const { return enabled_; }
  // OnChange follows a change; setting the current value changes nothing.
  void SetEnabled(bool value);

  // A key press from the keyboard filter; reported only while enabled.
  void KeyPressed(const TKeyStroke& stroke);

  TKeyboardMessageEvent OnKeyboardMessage;
  TNotifyEvent OnChange;

 protected:
  virtual void KeyboardMessage(const TKeyboardReport& report);
  virtual void Change();

 private:
  bool enabled_ = false;
};

}  // namespace quillet
