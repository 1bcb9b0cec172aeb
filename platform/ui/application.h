#pragma once
// What the window layer installs into the platform once a QApplication
// exists: the system beep becomes the application's beep.
namespace quillet {

void InstallWindowLayer();
// Half the platform's cursor flash period: the caret's on and off phases.
int CaretBlinkTime();

}  // namespace quillet
