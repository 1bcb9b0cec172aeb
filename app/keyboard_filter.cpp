#include "app/keyboard_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QtDebug>
#include <algorithm>
#include <exception>

#include "host/input/keyboard_hook.h"
#include "platform/ui/key_stroke.h"

namespace quillet {

namespace {

// More pending presses than this means their key events are not coming.
constexpr size_t kMaxPending = 16;

// The widget key events are for: a widget grabbing the keyboard, else the
// one with the focus, else the active window itself.
QObject* KeyTarget() {
  if (QWidget* grabber = QWidget::keyboardGrabber()) return grabber;
  if (QWidget* focus = QApplication::focusWidget()) return focus;
  return QApplication::activeWindow();
}

}  // namespace

TKeyboardFilter::TKeyboardFilter(TKbHook& hook, QWidget* window) : hook_(hook), window_(window) {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TKeyboardFilter::~TKeyboardFilter() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool TKeyboardFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  // A key event goes to a window, then to the widget that has the keys and
  // on to its parents; seen at that widget it is seen once, whether it came
  // through the window or was sent to the widget. Before its key event, a
  // press is offered to the shortcuts (ShortcutOverride); a press a shortcut
  // takes has no key event, so it is reported there and its key event, when
  // it comes, is not reported again.
  if (watched != KeyTarget()) return false;
  if (!window_ || !window_->isActiveWindow()) return false;
  const auto& key = *static_cast<QKeyEvent*>(event);
  const TPress press{key.key(), static_cast<int>(key.modifiers()), key.nativeScanCode(), key.timestamp(),
                     key.isAutoRepeat()};
  if (type == QEvent::KeyPress) {
    const auto offered = std::find(pending_.begin(), pending_.end(), press);
    if (offered != pending_.end()) {
      // Those before it went to shortcuts.
      pending_.erase(pending_.begin(), offered + 1);
      return false;
    }
  } else {
    pending_.push_back(press);
    if (pending_.size() > kMaxPending) pending_.pop_front();
  }
  try {
    hook_.KeyPressed(KeyStrokeOf(key));
  } catch (const std::exception& e) {
    qWarning("keyboard hook: %s", e.what());
  } catch (...) {
    qWarning("keyboard hook: unknown exception");
  }
  return false;
}

}  // namespace quillet
