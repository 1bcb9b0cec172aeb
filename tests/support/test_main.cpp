// Every test program starts like the product does: the project's font
// configuration, a Qt application object for the graphics and window layers,
// and the window layer's services.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/gfx/font_setup.h"
#include "platform/ui/application.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  quillet::InstallProjectFontConfig();
  QApplication app(argc, argv);
  quillet::InstallWindowLayer();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
