#pragma once
// Shared by the colour control tests: a scripted colour dialog, pixels in
// the platform's colours, and a window to put controls in.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <vector>

#include "platform/core/colors.h"
#include "platform/gfx/qt_color.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/control.h"

namespace quillet::test {

// Answers with the queued choice (or Cancel) and records the colour it was
// opened with.
class TScriptedColorDialog : public TColorDialog {
 public:
  bool answerOk = true;
  TColor pick = clBlack;
  std::vector<TColor> openedWith;
  bool Execute() override {
    openedWith.push_back(Color);
    if (answerOk) Color = pick;
    return answerOk;
  }
};

inline TColor PixelAt(const QImage& image, int x, int y) { return FromQColor(image.pixelColor(x, y)); }

// A shown, active window that holds one control.
struct ControlWindow {
  explicit ControlWindow(TCustomControl& control, int left = 10, int top = 10, int width = 185, int height = 26) {
    window.resize(300, 200);
    control.SetParentWidget(&window);
    control.SetBounds(left, top, width, height);
    window.show();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window);
  }
  QWidget window;
};

// Runs posted calls, among them popups freeing themselves.
inline void ProcessPosted() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace quillet::test
