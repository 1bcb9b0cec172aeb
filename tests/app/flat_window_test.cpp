// The program's window paints its tool bar flat from the start: a toggled
// button shows the checked fill.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>

#include "app/program_window.h"
#include "host/form/main_form.h"
#include "commands/flat/flat_painter.h"
#include "platform/gfx/qt_color.h"

namespace quillet {
namespace {

TEST(FlatWindow, ToolBarPaintedFlat) {
  TProgramWindow window;
  window.Widget()->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.Widget()));
  TFlatPainter& painter = window.Form().FlatPainter();
  EXPECT_TRUE(painter.Active());
  // The bold button stays down while its item is checked.
  QWidget* button = window.Form().Control("FontBoldButton");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->style(), painter.Style());
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(window.Form().MenuItem("FontBold")->isChecked());
  QApplication::processEvents();
  const QImage image = button->grab().toImage();
  EXPECT_EQ(FromQColor(image.pixelColor(1, 2)), ColorToRGB(painter.Scheme().CheckedAreaColor));
}

}  // namespace
}  // namespace quillet
