// Key presses as the keyboard hook sees them: the PC scan code of the
// native key code, the virtual key and the shift state.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/ui/key_stroke.h"

namespace quillet {
namespace {

TEST(KeyStrokeTest, ScanCodesOfXkbKeycodes) {
  struct Case {
    uint32_t keycode;
    TScanCode scan;
    const char* key;
  };
  const Case cases[] = {
      {9, {0x01, false}, "Escape"},
      {38, {0x1E, false}, "A"},
      {36, {0x1C, false}, "Return"},
      {104, {0x1C, true}, "keypad Enter"},
      {37, {0x1D, false}, "left Ctrl"},
      {105, {0x1D, true}, "right Ctrl"},
      {64, {0x38, false}, "left Alt"},
      {108, {0x38, true}, "right Alt"},
      {113, {0x4B, true}, "Left"},
      {83, {0x4B, false}, "keypad 4"},
      {119, {0x53, true}, "Delete"},
      {91, {0x53, false}, "keypad ."},
      {77, {0x45, true}, "Num Lock"},
      {127, {0x45, false}, "Pause"},
      {95, {0x57, false}, "F11"},
      {96, {0x58, false}, "F12"},
      {94, {0x56, false}, "the key left of Z"},
      {133, {0x5B, true}, "left Windows key"},
      {135, {0x5D, true}, "Menu"},
      // No PC scan code: nothing, not a guess.
      {0, {}, "none given"},
      {8, {}, "below the first key"},
      {92, {}, "an unused code"},
      {255, {}, "a multimedia key"},
      {0xFFFFFFFF, {}, "out of range"},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanCodeOfXkbKeycode(c.keycode), c.scan) << c.key;
}

TEST(KeyStrokeTest, AKeyEventBecomesAStroke) {
  const QKeyEvent repeated(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, 54, 0, 0, "C", true);
  EXPECT_EQ(KeyStrokeOf(repeated), (TKeyStroke{'C', ssCtrl | ssShift, 0x2E, false, true}));
  const QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Up, Qt::KeypadModifier, 111, 0, 0);
  EXPECT_EQ(KeyStrokeOf(arrow), (TKeyStroke{VK_UP, 0, 0x48, true, false}));
  // Synthesised keys carry no native code.
  const QKeyEvent bare(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(KeyStrokeOf(bare), (TKeyStroke{'A', ssAlt, 0, false, false}));
}

}  // namespace
}  // namespace quillet
