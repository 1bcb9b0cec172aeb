#pragma once
// The application as the window layer sees it: what it installs into the
// platform once a QApplication exists (the system beep becomes the
// application's beep), its title, and the screen's busy cursor.
#include <string>

namespace quillet {

void InstallWindowLayer();
// Half the platform's cursor flash period: the caret's on and off phases.
int CaretBlinkTime();
// The application's title (UTF-8), the caption of its error messages.
std::string ApplicationTitle();
// Repaints the active window at once, so that what a closed dialog covered
// is drawn again before long work starts.
void RepaintActiveWindow();

// For its life the screen shows the hourglass, whatever the controls set.
class TScopedHourglass {
 public:
  TScopedHourglass();
  ~TScopedHourglass();
  TScopedHourglass(const TScopedHourglass&) = delete;
  TScopedHourglass& operator=(const TScopedHourglass&) = delete;
};

}  // namespace quillet
