#include "platform/ui/application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>

#include "platform/core/beep.h"
#include "platform/ui/cursor_table.h"

namespace quillet {

int CaretBlinkTime() {
  const int period = QGuiApplication::styleHints()->cursorFlashTime();
  return period > 0 ? period / 2 : 0;
}

std::string ApplicationTitle() { return QGuiApplication::applicationDisplayName().toStdString(); }

void RepaintActiveWindow() {
  if (QWidget* window = QApplication::activeWindow()) window->repaint();
}

TScopedHourglass::TScopedHourglass() { QApplication::setOverrideCursor(ScreenCursor(crHourGlass)); }

TScopedHourglass::~TScopedHourglass() { QApplication::restoreOverrideCursor(); }

void InstallWindowLayer() { SetSystemBeepHandler([] { QApplication::beep(); }); }

}  // namespace quillet
