// The colour dialog over Qt's, answered as a user would.
#include "platform/ui/common_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QTimer>

#include "platform/gfx/qt_color.h"

namespace quillet {
namespace {

TEST(ColorDialog, ExecuteShowsTheColourAndTakesTheChoiceOnOk) {
  struct Case {
    const char* what;
    TColor start;
    bool ok;
    TColor shown;
    TColor after;
  } cases[] = {
      {"OK takes the choice", 0x336699, true, 0x336699, 0x102030},
      {"Cancel keeps the colour", 0x336699, false, 0x336699, 0x336699},
      {"system colours show resolved", clWindow, false, GetSysColor(5), clWindow},
      {"no colour shows black", clNone, false, clBlack, clNone},
  };
  for (const Case& c : cases) {
    TColorDialog dialog;
    dialog.Color = c.start;
    TColor shown = clNone;
    QTimer::singleShot(0, [&] {
      auto* qt = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(qt, nullptr);
      shown = FromQColor(qt->currentColor());
      qt->setCurrentColor(ToQColor(0x102030));
      if (c.ok) qt->accept();
      else qt->reject();
    });
    EXPECT_EQ(dialog.Execute(), c.ok) << c.what;
    EXPECT_EQ(shown, c.shown) << c.what;
    EXPECT_EQ(dialog.Color, c.after) << c.what;
  }
}

TEST(ColorDialog, ReferenceReadsAsNoneOnceTheDialogWent) {
  TColorDialogRef ref;
  EXPECT_EQ(ref.get(), nullptr);
  {
    TColorDialog dialog;
    ref = &dialog;
    EXPECT_EQ(ref.get(), &dialog);
  }
  EXPECT_EQ(ref.get(), nullptr);
}

}  // namespace
}  // namespace quillet
