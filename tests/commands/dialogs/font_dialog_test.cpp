// The font dialog driven through its controls: size text rules, the
// spacing and offset pairs, the signs of both, the sample's style and its
// baseline lines.
#include "commands/dialogs/font_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <climits>

#include "../controls/color_test_support.h"
#include "../controls/fake_fonts.h"
#include "../controls/render_support.h"
#include "commands/controls/font_combos.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/font_signs.h"
#include "dialog_test_support.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"

namespace quillet::test {
namespace {

struct FontDialogFixture {
  FontDialogFixture() {
    fonts.fonts["Arial"] = {Outline(ANSI_CHARSET), Outline(RUSSIAN_CHARSET)};
    fonts.fonts["宋体"] = {Outline(GB2312_CHARSET), Outline(ANSI_CHARSET)};
  }
  const TFontInfo& Sample() { return form.dv->Style().TextStyles()[0]; }
  void Type(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
  }
  void Ok() { QTest::mouseClick(form.btnOk, Qt::LeftButton); }
  TFakeFontProvider fonts;
  TfrmDVFont form{fonts};
};

TFontDialogValues Arial10() {
  TFontDialogValues v;
  v.FontName = {"Arial", true};
  v.Size = {10, true};
  v.Charset = {ANSI_CHARSET, true};
  return v;
}

TEST(FontSigns, MagnitudeAndDirection) {
  struct Case {
    int32_t value, magnitude;
    bool negative;
  } cases[] = {{0, 0, false}, {5, 5, false}, {-5, 5, true}, {INT32_MAX, INT32_MAX, false},
               {INT32_MIN, INT32_MAX, true}};
  for (const Case& c : cases) {
    const TSignedMagnitude split = SplitSign(c.value);
    EXPECT_EQ(split.Magnitude, c.magnitude) << c.value;
    EXPECT_EQ(split.Negative, c.negative) << c.value;
    if (c.value != INT32_MIN) EXPECT_EQ(JoinSign(split.Magnitude, split.Negative), c.value);
  }
  EXPECT_EQ(JoinSign(-7, false), 7);
}

TEST(FontDialog, SizeTextIsKeptWithinOneToHundred) {
  struct Case {
    const char* typed;
    const char* shown;
    int32_t sample;
    TDefined<int32_t> read;
  } cases[] = {
      {"0", "1", 1, {1, true}},      {"250", "100", 100, {100, true}}, {"", "", 10, {}},
      {"abc", "", 10, {}},           {"14", "14", 14, {14, true}},
  };
  for (const Case& c : cases) {
    FontDialogFixture f;
    f.form.SetValues(Arial10());
    int32_t sample = 0;
    QString shown;
    const int result = Drive(f.form, [&] {
      f.Type(f.form.cmbSize->lineEdit(), QString::fromUtf8(c.typed));
      shown = f.form.cmbSize->currentText();
      sample = f.Sample().Size;
      f.Ok();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.typed;
    EXPECT_EQ(sample, c.sample) << c.typed;
    EXPECT_EQ(f.form.GetValues().Size, c.read) << c.typed;
  }
}

TEST(FontDialog, SpacingAndOffsetPairs) {
  struct Case {
    const char* what;
    TDefined<int32_t> spacing, shift;
    std::function<void(FontDialogFixture&)> act;
    TDefined<int32_t> readSpacing, readShift;
    int32_t sampleSpacing, sampleShift;
  } cases[] = {
      {"expanded 50 switched to condensed is limited to 20", {50, true}, {0, true},
       [](FontDialogFixture& f) { Click(f.form, f.form.rbCond); }, {-20, true}, {0, true}, -20, 0},
      {"a number typed into mixed offsets goes down", {}, {},
       [](FontDialogFixture& f) { f.Type(f.form.seShift, "5"); }, {}, {-5, true}, 0, -5},
      {"up on empty offsets gives 1 up", {}, {},
       [](FontDialogFixture& f) { Click(f.form, f.form.rbUp); }, {}, {1, true}, 0, 1},
      {"a number typed into mixed spacing expands", {}, {},
       [](FontDialogFixture& f) { f.Type(f.form.seSpacing, "7"); }, {7, true}, {}, 7, 0},
      {"emptied spacing clears both directions", {-3, true}, {},
       [](FontDialogFixture& f) { f.Type(f.form.seSpacing, ""); }, {}, {}, 0, 0},
  };
  for (const Case& c : cases) {
    FontDialogFixture f;
    TFontDialogValues v = Arial10();
    v.CharSpacing = c.spacing;
    v.VShift = c.shift;
    f.form.SetValues(v);
    int32_t sampleSpacing = 0, sampleShift = 0;
    Drive(f.form, [&] {
      f.form.PageControl1->setCurrentIndex(1);
      QApplication::processEvents();
      c.act(f);
      sampleSpacing = f.Sample().CharSpacing;
      sampleShift = f.Sample().VShift;
      f.Ok();
    });
    const TFontDialogValues read = f.form.GetValues();
    EXPECT_EQ(read.CharSpacing, c.readSpacing) << c.what;
    EXPECT_EQ(read.VShift, c.readShift) << c.what;
    EXPECT_EQ(sampleSpacing, c.sampleSpacing) << c.what;
    EXPECT_EQ(sampleShift, c.sampleShift) << c.what;
    if (!c.readSpacing.Defined) EXPECT_FALSE(f.form.rbExp.Checked() || f.form.rbCond.Checked()) << c.what;
  }
}

TEST(FontDialog, DirectionsShowTheSignsThatWentIn) {
  struct Case {
    int32_t shift, spacing;
    bool up, down, expanded, condensed;
  } cases[] = {{5, 3, true, false, true, false}, {-5, -3, false, true, false, true},
               {0, 0, true, false, true, false}};
  for (const Case& c : cases) {
    FontDialogFixture f;
    TFontDialogValues v = Arial10();
    v.VShift = {c.shift, true};
    v.CharSpacing = {c.spacing, true};
    f.form.SetValues(v);
    EXPECT_EQ(Drive(f.form, [&] { f.Ok(); }), mrOk);
    EXPECT_EQ(f.form.rbUp.Checked(), c.up) << c.shift;
    EXPECT_EQ(f.form.rbDown.Checked(), c.down) << c.shift;
    EXPECT_EQ(f.form.rbExp.Checked(), c.expanded) << c.spacing;
    EXPECT_EQ(f.form.rbCond.Checked(), c.condensed) << c.spacing;
    EXPECT_EQ(f.form.seShift->text(), QString::number(std::abs(c.shift)));
    EXPECT_EQ(f.form.GetValues(), v) << c.shift;
  }
}

TEST(FontDialog, SampleFollowsTheControlsOnlyWhileShown) {
  FontDialogFixture f;
  TFontDialogValues v = Arial10();
  v.Bold = {};  // grey
  v.Italic = {true, true};
  v.Color = {clRed, true};
  f.form.SetValues(v);
  // Hidden, the handlers do nothing: no direction is picked, the sample
  // keeps its style.
  f.form.seSpacing->SetValue(4);
  EXPECT_FALSE(f.form.rbExp.Checked());
  EXPECT_EQ(f.Sample().Color, clWindowText);
  TFontStyles style = 0;
  TColor color = clNone;
  std::string fontName;
  Drive(f.form, [&] {
    style = f.Sample().Style;
    color = f.Sample().Color;
    fontName = f.Sample().FontName;
    f.Ok();
  });
  EXPECT_EQ(style, fsItalic);  // grey bold is not bold
  EXPECT_EQ(color, clRed);
  EXPECT_EQ(fontName, "Arial");
  EXPECT_TRUE(f.form.rbExp.Checked());  // the handler ran on showing
  EXPECT_EQ(f.form.GetValues().CharSpacing, (TDefined<int32_t>{4, true}));
}

TEST(FontDialog, RenderShowsTheSampleWithItsBaseline) {
  FontDialogFixture f;
  TFontDialogValues v = Arial10();
  v.Size = {20, true};
  v.Color = {clRed, true};
  f.form.SetSampleText("Sample");
  f.form.SetValues(v);
  f.form.Dialog()->show();
  QApplication::processEvents();
  const QImage image = f.form.Dialog()->grab().toImage();
  f.form.Dialog()->hide();
  SaveRender(image, "font_dialog");
  const QWidget* view = f.form.dv->View().Widget();
  const QRect r(view->mapTo(f.form.Dialog(), QPoint(0, 0)), view->size());
  // One line runs across the whole sample at the runs' common baseline, in
  // the colour of the last run drawn ("   <<<").
  int baseline = -1, lines = 0;
  for (int y = r.top() + 2; y < r.bottom() - 2; ++y) {
    if (PixelAt(image, r.left() + 3, y) == ColorToRGB(clBtnShadow) &&
        PixelAt(image, r.right() - 3, y) == ColorToRGB(clBtnShadow)) {
      baseline = y;
      ++lines;
    }
  }
  EXPECT_EQ(lines, 1);
  // The sample text in its colour on its back colour, above the baseline.
  int red = 0, back = 0;
  for (int y = r.top(); y < baseline; ++y) {
    for (int x = r.left(); x < r.right(); ++x) {
      red += PixelAt(image, x, y) == clRed;
      back += PixelAt(image, x, y) == ColorToRGB(clInfoBk);
    }
  }
  EXPECT_GT(red, 50);
  EXPECT_GT(back, 50);
}

}  // namespace
}  // namespace quillet::test
