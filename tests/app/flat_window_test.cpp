// The program's window paints its tool bar flat from the start: a toggled
// button shows the checked fill.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>

#include "app/main_window.h"
#include "commands/flat/flat_painter.h"
#include "platform/gfx/qt_color.h"

namespace quillet {
namespace {

TEST(FlatWindow, ToolBarPaintedFlat) {
  TMainWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  TFlatPainter& painter = window.FlatPainter();
  EXPECT_TRUE(painter.Active());
  QToolBar* bar = nullptr;
  for (QToolBar* each : window.findChildren<QToolBar*>())
    if (each->windowTitle() == QString::fromUtf8("批注")) bar = each;
  ASSERT_NE(bar, nullptr);
  QAction* annotate = bar->actions().value(0);
  ASSERT_NE(annotate, nullptr);
  QWidget* button = bar->widgetForAction(annotate);
  EXPECT_EQ(button->style(), painter.Style());
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(annotate->isChecked());
  QApplication::processEvents();
  const QImage image = button->grab().toImage();
  EXPECT_EQ(FromQColor(image.pixelColor(1, 2)), ColorToRGB(painter.Scheme().CheckedAreaColor));
  window.SetAnnotating(false);
}

}  // namespace
}  // namespace quillet
