// The fill-colour dialog driven through its controls: OK refused while no
// colour is chosen, the colour's name, the apply-to list and the padding,
// and its render.
#include "commands/dialogs/fill_color_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "../controls/color_test_support.h"
#include "../controls/render_support.h"
#include "commands/controls/color_palette.h"
#include "dialog_test_support.h"

namespace quillet::test {
namespace {

struct FillDialogFixture {
  FillDialogFixture() {
    form.SetColorDialog(&colors);
    form.AddTarget("文字", ftText);
    form.AddTarget("段落", ftParagraph);
    form.AddTarget("表格", ftTable);
  }
  void ClickCell(int col, int row) {
    const TRect r = form.dvcg.CellRect(col, row);
    Click(form, form.dvcg, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    ProcessPosted();
  }
  void Ok() { QTest::mouseClick(form.btnOk, Qt::LeftButton); }
  TfrmDVFillColor form;
  TScriptedColorDialog colors;
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scoped{dialogs};
};

TEST(FillColorDialog, OkIsRefusedWhileNoColourIsChosen) {
  FillDialogFixture f;
  f.form.SetChosenColor(clNone, false);
  bool openAfterRefusal = false;
  const int result = Drive(f.form, [&] {
    f.Ok();
    openAfterRefusal = f.form.Dialog()->isVisible();
    f.ClickCell(0, 0);  // "透明色" is a choice
    f.Ok();
  });
  EXPECT_TRUE(openAfterRefusal);
  ASSERT_EQ(f.dialogs.Asked.size(), 1u);
  const auto& asked = std::get<TMessageQuestion>(f.dialogs.Asked[0].Question);
  EXPECT_EQ(asked.Text, "Please select a color");
  EXPECT_EQ(asked.Caption, "Color");
  EXPECT_EQ(asked.Icon, MB_ICONERROR);
  EXPECT_EQ(result, mrOk);
  EXPECT_TRUE(f.form.ColorDefined());
  EXPECT_EQ(f.form.ChosenColor(), clNone);
  EXPECT_EQ(f.form.lblColor->text(), QStringLiteral("透明色"));
}

TEST(FillColorDialog, LabelNamesPaletteColoursAndSpellsOutOthers) {
  struct Case {
    const char* what;
    TColor pick;
    const char* label;
  } cases[] = {
      {"a palette colour from the dialog", 0x0000FF, "Red"},
      {"a colour outside the palette", 0x123456, "RGB(86,52,18)"},
      {"a system colour shown by its value", clWindow, "White"},
  };
  for (const Case& c : cases) {
    FillDialogFixture f;
    f.colors.pick = c.pick;
    Drive(f.form, [&] {
      QTest::mouseClick(f.form.btnColor, Qt::LeftButton);
      ProcessPosted();
      f.Ok();
    });
    EXPECT_EQ(f.form.lblColor->text(), QString::fromUtf8(c.label)) << c.what;
    EXPECT_EQ(f.form.ChosenColor(), c.pick) << c.what;
    // The dialog opened on yellow, the colour "none" having no value.
    EXPECT_EQ(f.colors.openedWith, std::vector<TColor>{0x00FFFF}) << c.what;
  }
}

TEST(FillColorDialog, PaddingOnlyForParagraphs) {
  FillDialogFixture f;
  f.form.SetChosenColor(clRed, true);
  TFourValues asked;
  f.form.FourValuesPrompt = [&](const std::string&, const std::string&, TFourValues& values) {
    asked = values;
    values.Values.Top = 9;
    values.Defined.Top = true;
    return true;
  };
  TDVRect padding;
  padding.Left = 4;
  TDVBooleanRect defined(false);
  defined.Left = true;
  f.form.SetPadding(padding, defined);
  f.form.SetTargetIndex(2);
  bool enabledForTable = true, enabledForParagraph = false;
  Drive(f.form, [&] {
    enabledForTable = f.form.btnPadding->isEnabled();
    f.form.cmb->setCurrentIndex(1);
    enabledForParagraph = f.form.btnPadding->isEnabled();
    QTest::mouseClick(f.form.btnPadding, Qt::LeftButton);
    f.Ok();
  });
  EXPECT_FALSE(enabledForTable);
  EXPECT_TRUE(enabledForParagraph);
  EXPECT_EQ(asked, (TFourValues{padding, defined}));
  f.form.GetPadding(padding, defined);
  EXPECT_EQ(padding.Top, 9);
  EXPECT_TRUE(defined.Top && defined.Left && !defined.Right);
  EXPECT_EQ(f.form.TargetCode(), ftParagraph);
}

TEST(FillColorDialog, RenderFramesTheChosenCell) {
  FillDialogFixture f;
  f.form.SetChosenColor(clRed, true);
  const QImage image = RenderForm(f.form);
  SaveRender(image, "fill_color_dialog");
  const int red = PaletteIndexOf(clRed);
  const TRect cell = f.form.dvcg.CellRect(red % 8, red / 8 + 1);
  const QPoint frame = f.form.dvcg.ClientWidget()->mapTo(f.form.Dialog(), QPoint(cell.Left, cell.Top + 8));
  const QPoint inside = f.form.dvcg.ClientWidget()->mapTo(f.form.Dialog(), QPoint(cell.Left + 8, cell.Top + 8));
  EXPECT_EQ(PixelAt(image, frame.x(), frame.y()), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(image, inside.x(), inside.y()), clRed);
}

}  // namespace
}  // namespace quillet::test
