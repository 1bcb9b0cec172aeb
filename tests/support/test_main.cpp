// Every test program starts like the product does: the project's font
// configuration and a Qt application object for the graphics layer.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/gfx/font_setup.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  quillet::InstallProjectFontConfig();
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
