#include "platform/ui/application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QStyleHints>

#include "platform/core/beep.h"

namespace quillet {

int CaretBlinkTime() {
  const int period = QGuiApplication::styleHints()->cursorFlashTime();
  return period > 0 ? period / 2 : 0;
}

void InstallWindowLayer() { SetSystemBeepHandler([] { QApplication::beep(); }); }

}  // namespace quillet
