// What every command dialog shares: caption, size, tab order of its named
// controls, the results of OK, Cancel and Esc, and OK without changes
// giving back exactly what went in, mixed and out-of-range values too.
#include <gtest/gtest.h>

#include <QPushButton>
#include <memory>

#include "../controls/fake_fonts.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/fill_color_dialog.h"
#include "commands/dialogs/font_dialog.h"
#include "commands/dialogs/para_border_dialog.h"
#include "commands/dialogs/para_dialog.h"
#include "dialog_test_support.h"

namespace quillet::test {
namespace {

TFakeFontProvider& Fonts() {
  static TFakeFontProvider fonts = [] {
    TFakeFontProvider f;
    f.fonts["Arial"] = {Outline(ANSI_CHARSET), Outline(RUSSIAN_CHARSET)};
    f.fonts["宋体"] = {Outline(GB2312_CHARSET), Outline(ANSI_CHARSET)};
    return f;
  }();
  return fonts;
}

struct FormCase {
  const char* caption;
  std::function<std::unique_ptr<TfrmDVBase>()> make;
  QSize size;
  QStringList tabChain;
};

std::vector<FormCase> Forms() {
  return {
      {"字体", [] { return std::make_unique<TfrmDVFont>(Fonts()); }, {483, 463},
       {"PageControl1", "cmbFont", "cmbSize", "cmbCharset", "cbB", "cbI", "cbO", "cbAC", "cmbColor", "seSpacing",
        "rbExp", "rbCond", "seShift", "rbDown", "rbUp", "seCharScale", "btnOk", "btnCancel"}},
      {"段落", [] { return std::make_unique<TfrmDVPara>(); }, {460, 401},
       {"gbAlignment", "seLeftIndent", "seRightIndent", "seFirstLineIndent", "rbPositive", "rbNegative",
        "seSpaceBefore", "seSpaceAfter", "cmbLineSpacing", "seLineSpacingValue", "btnOk", "btnCancel"}},
      {"段落边框和背景", [] { return std::make_unique<TfrmDVParaBrdr>(); }, {496, 399},
       {"PageControl1", "btnLeft", "btnRight", "btnTop", "btnBottom", "cmbColor", "cmbWidth", "seIW", "btnOffsets",
        "gbBorderType", "dvcg", "btnColor", "btnPadding", "btnOk", "btnCancel"}},
      {"填充色",
       [] {
         auto form = std::make_unique<TfrmDVFillColor>();
         form->SetChosenColor(clRed, true);
         return form;
       },
       {280, 239}, {"dvcg", "btnColor", "btnPadding", "cmb", "btnOk", "btnCancel"}},
  };
}

TEST(CommandDialogs, CaptionSizeAndTabOrder) {
  for (const FormCase& c : Forms()) {
    const auto form = c.make();
    EXPECT_EQ(form->Dialog()->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(form->Dialog()->size(), c.size) << c.caption;
    EXPECT_EQ(TabChain(form->Dialog()), c.tabChain) << c.caption;
  }
}

TEST(CommandDialogs, OkGivesOneCancelAndEscTwo) {
  for (const FormCase& c : Forms()) {
    const struct {
      const char* how;
      std::function<void(TfrmDVBase&)> act;
      int result;
    } closings[] = {
        {"OK", [](TfrmDVBase& f) { QTest::mouseClick(f.Dialog()->findChild<QPushButton*>("btnOk"), Qt::LeftButton); },
         mrOk},
        {"Cancel",
         [](TfrmDVBase& f) { QTest::mouseClick(f.Dialog()->findChild<QPushButton*>("btnCancel"), Qt::LeftButton); },
         mrCancel},
        {"Esc", [](TfrmDVBase& f) { QTest::keyClick(f.Dialog(), Qt::Key_Escape); }, mrCancel},
    };
    for (const auto& closing : closings) {
      const auto form = c.make();
      EXPECT_EQ(Drive(*form, [&] { closing.act(*form); }), closing.result) << c.caption << " " << closing.how;
    }
  }
}

// Fills a dialog, presses OK without changing anything and answers
// whether what came back equals what went in: once at once, once after the
// focus has passed through every number field (leaving one must not bring a
// filled value within the field's limits).
template <class Form, class Values>
void ExpectOkGivesBack(Form& form, const Values& values, const char* what) {
  for (const bool passThrough : {false, true}) {
    form.SetValues(values);
    ASSERT_EQ(Drive(form,
                    [&] {
                      if (passThrough)
                        for (TDVSpinEdit* field : form.Dialog()->template findChildren<TDVSpinEdit*>()) {
                          field->setFocus();
                          QApplication::processEvents();
                        }
                      QTest::mouseClick(form.btnOk, Qt::LeftButton);
                    }),
              mrOk)
        << what;
    EXPECT_TRUE(form.GetValues() == values) << what << (passThrough ? " after passing through" : "");
  }
}

TEST(CommandDialogs, OkWithoutChangesGivesBackWhatWentIn) {
  TFontDialogValues font;
  font.FontName = {"Arial", true};
  font.Size = {10, true};
  font.Charset = {RUSSIAN_CHARSET, true};
  font.Bold = {true, true};
  font.Italic = {false, true};
  font.Overline = {true, true};
  font.Color = {clRed, true};
  font.CharSpacing = {-3, true};
  font.VShift = {5, true};
  font.CharScale = {80, true};
  TFontDialogValues fontOut;  // beyond every field's range or list
  fontOut.FontName = {"NoSuchFont", true};
  fontOut.Size = {250, true};
  fontOut.Charset = {77, true};
  fontOut.CharSpacing = {-50, true};  // condensed goes to 20
  fontOut.VShift = {-900, true};
  fontOut.CharScale = {10, true};
  fontOut.Color = {clWindowText, true};
  fontOut.Underline = {true, true};
  TFontDialogValues fontUp = font;
  fontUp.CharSpacing = {150, true};
  fontUp.VShift = {0, true};
  for (const auto& [what, values] : {std::pair{"font", font}, std::pair{"font mixed", TFontDialogValues{}},
                                     std::pair{"font out of range", fontOut}, std::pair{"font wide", fontUp}}) {
    TfrmDVFont form(Fonts());
    ExpectOkGivesBack(form, values, what);
  }

  TParaDialogValues para;
  para.Alignment = {dvaJustify, true};
  para.LeftIndent = {20, true};
  para.RightIndent = {10, true};
  para.FirstIndent = {-15, true};
  para.SpaceBefore = {4, true};
  para.SpaceAfter = {6, true};
  para.LineSpacing = {150, true};
  TParaDialogValues paraOut;
  paraOut.LeftIndent = {2000, true};
  paraOut.FirstIndent = {150, true};
  paraOut.SpaceBefore = {300, true};
  paraOut.LineSpacing = {50, true};
  TParaDialogValues paraOut2 = paraOut;
  paraOut2.FirstIndent = {-150, true};
  paraOut2.LineSpacing = {12345, true};
  TParaDialogValues paraMultiple;
  paraMultiple.LineSpacing = {275, true};
  for (const auto& [what, values] :
       {std::pair{"para", para}, std::pair{"para mixed", TParaDialogValues{}},
        std::pair{"para out of range", paraOut}, std::pair{"para hanging out of range", paraOut2},
        std::pair{"para multiple", paraMultiple}}) {
    TfrmDVPara form;
    ExpectOkGivesBack(form, values, what);
  }

  TParaBorderValues border;
  border.Style = {dvbDouble, true};
  border.Color = {clBlue, true};
  border.Width = {2, true};
  border.InternalWidth = {3, true};
  border.Visible.SetValues(true, false, true, false);
  border.VisibleDefined = TDVBooleanRect(true);
  border.Offsets.Values.Left = 5;
  border.Offsets.Defined.Left = true;
  border.BackColor = {clYellow, true};
  TParaBorderValues borderOut;
  borderOut.Style = {dvbThickOutside, true};
  borderOut.Color = {clWindowText, true};
  borderOut.Width = {12, true};
  borderOut.InternalWidth = {12, true};
  borderOut.Visible.Top = true;
  borderOut.VisibleDefined.Top = borderOut.VisibleDefined.Left = true;
  borderOut.Padding.Values.Bottom = 500;
  borderOut.Padding.Defined.Bottom = true;
  borderOut.BackColor = {clWindow, true};
  TParaBorderValues borderRgb;
  borderRgb.BackColor = {0x123456, true};
  for (const auto& [what, values] :
       {std::pair{"border", border}, std::pair{"border mixed", TParaBorderValues{}},
        std::pair{"border out of range", borderOut}, std::pair{"border rgb background", borderRgb}}) {
    TfrmDVParaBrdr form;
    ExpectOkGivesBack(form, values, what);
  }

  const struct {
    const char* what;
    TColor color;
    TFourValues padding;
  } fills[] = {
      {"fill palette", clRed, {}},
      {"fill system colour", clWindow, {}},
      {"fill none", clNone, {}},
      {"fill rgb, mixed padding", 0x123456, TFourValues{TDVRect{1, 2, 300, 4}, TDVBooleanRect(true)}},
  };
  for (const auto& c : fills) {
    TfrmDVFillColor form;
    form.SetChosenColor(c.color, true);
    form.SetPadding(c.padding.Values, c.padding.Defined);
    ASSERT_EQ(Drive(form, [&] { QTest::mouseClick(form.btnOk, Qt::LeftButton); }), mrOk) << c.what;
    EXPECT_EQ(form.ChosenColor(), c.color) << c.what;
    EXPECT_TRUE(form.ColorDefined()) << c.what;
    TFourValues padding;
    form.GetPadding(padding.Values, padding.Defined);
    EXPECT_EQ(padding, c.padding) << c.what;
  }
}

}  // namespace
}  // namespace quillet::test
