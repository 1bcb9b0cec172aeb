#pragma once
// The program's side of the keyboard hook: an application-wide event filter
// that hands the hook every key pressed while the control's window is
// active. It watches only: every key goes on where it was going, and keys
// that a shortcut takes are reported too.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <deque>

namespace quillet {

class TKbHook;

class TKeyboardFilter final : public QObject {
 public:
  // Installs itself on the application until it goes. The hook must outlive
  // the filter; the window may go first (nothing is reported then).
  TKeyboardFilter(TKbHook& hook, QWidget* window);
  ~TKeyboardFilter() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TPress {
    int key;
    int modifiers;
    uint32_t scanCode;
    uint64_t timestamp;
    bool autoRepeat;
    friend bool operator==(const TPress&, const TPress&) = default;
  };

  TKbHook& hook_;
  QPointer<QWidget> window_;
  // Presses reported at their shortcut check, whose key event is still to
  // come (or never comes: a shortcut took it).
  std::deque<TPress> pending_;
};

}  // namespace quillet
