#include "platform/ui/application.h"

#include <QApplication>

#include "platform/core/beep.h"

namespace quillet {

void InstallWindowLayer() { SetSystemBeepHandler([] { QApplication::beep(); }); }

}  // namespace quillet
