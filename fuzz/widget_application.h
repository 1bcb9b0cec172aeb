#pragma once
// The offscreen application a fuzz target of editor widgets runs in: the
// project's fonts, the window layer, and a silent beep.
#include <QApplication>
#include <string>

#include "platform/core/beep.h"
#include "platform/gfx/font_setup.h"
#include "platform/ui/application.h"

namespace quillet::fuzz {

// Starts it once; later calls do nothing.
inline void StartWidgetApplication(const char* name) {
  static bool started = [name] {
    static int argc = 1;
    static std::string programName = name;
    static char* argv[] = {programName.data(), nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    InstallProjectFontConfig();
    static QApplication app(argc, argv);
    InstallWindowLayer();
    SetSystemBeepHandler([] {});
    return true;
  }();
  (void)started;
}

}  // namespace quillet::fuzz
