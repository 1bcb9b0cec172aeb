// The paragraph dialog driven through its controls: the hanging indent
// keeping the first line right of the left edge, first-line buttons, line
// spacing, the half-scale sample and its render.
#include "commands/dialogs/para_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <utility>

#include "../controls/color_test_support.h"
#include "../controls/render_support.h"
#include "commands/controls/spin_edit.h"
#include "dialog_test_support.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"

namespace quillet::test {
namespace {

struct ParaDialogFixture {
  const TParaInfo& Sample() { return form.dv->Style().ParaStyles()[1]; }
  // Over the selected text, as a user replaces a value.
  void Type(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
  }
  // As a choice from the open list: the item, then the list's report.
  void ChooseLineSpacing(int item) {
    form.cmbLineSpacing->setCurrentIndex(item);
    emit form.cmbLineSpacing->activated(item);
  }
  void Ok() { QTest::mouseClick(form.btnOk, Qt::LeftButton); }
  TfrmDVPara form;
};

TParaDialogValues Indents(int32_t left, int32_t first) {
  TParaDialogValues v;
  v.LeftIndent = {left, true};
  v.FirstIndent = {first, true};
  return v;
}

TEST(ParaDialog, HangingIndentKeepsTheFirstLineRightOfTheEdge) {
  struct Case {
    const char* what;
    TParaDialogValues fill;
    std::function<void(ParaDialogFixture&)> act;
    int32_t left, first;
    bool positive, negative;
  } cases[] = {
      {"left 10 hanging, first line raised to 30", Indents(10, -5),
       [](ParaDialogFixture& f) { f.Type(f.form.seFirstLineIndent, "30"); }, 30, -30, false, true},
      {"left 40, hanging 30, left lowered to 20", Indents(40, -30),
       [](ParaDialogFixture& f) {
         QTest::keyClick(f.form.seLeftIndent, Qt::Key_PageDown);
         QTest::keyClick(f.form.seLeftIndent, Qt::Key_PageDown);
       },
       20, -20, false, true},
      {"hanging clicked raises the left indent", Indents(0, 10),
       [](ParaDialogFixture& f) { Click(f.form, f.form.rbNegative); }, 10, -10, false, true},
      {"indented first line lets the left indent go", Indents(40, 30),
       [](ParaDialogFixture& f) { f.Type(f.form.seLeftIndent, "5"); }, 5, 30, true, false},
      {"a button clicked on an empty field shows 0 and stays checked", TParaDialogValues{},
       [](ParaDialogFixture& f) { Click(f.form, f.form.rbPositive); }, 0, 0, true, false},
      {"first line emptied clears both buttons", Indents(10, 20),
       [](ParaDialogFixture& f) { f.Type(f.form.seFirstLineIndent, "0"); }, 10, 0, false, false},
  };
  for (const Case& c : cases) {
    ParaDialogFixture f;
    f.form.SetValues(c.fill);
    EXPECT_EQ(Drive(f.form, [&] {
                c.act(f);
                f.Ok();
              }),
              mrOk)
        << c.what;
    const TParaDialogValues read = f.form.GetValues();
    EXPECT_EQ(read.LeftIndent.Value, c.left) << c.what;
    EXPECT_EQ(read.FirstIndent, (TDefined<int32_t>{c.first, true})) << c.what;
    EXPECT_EQ(f.form.rbPositive.Checked(), c.positive) << c.what;
    EXPECT_EQ(f.form.rbNegative.Checked(), c.negative) << c.what;
  }
}

TEST(ParaDialog, LineSpacingListAndMultiple) {
  struct Case {
    const char* what;
    std::function<void(ParaDialogFixture&)> act;
    QString value;
    int32_t sample;
    TDefined<int32_t> read;
  } cases[] = {
      {"multiple on an empty value gives 3", [](ParaDialogFixture& f) { f.ChooseLineSpacing(3); }, "3", 300,
       {300, true}},
      {"a typed multiple selects the multiple item",
       [](ParaDialogFixture& f) { f.Type(f.form.seLineSpacingValue, "1.5"); }, "1.5", 150, {150, true}},
      {"a list item empties the multiple",
       [](ParaDialogFixture& f) {
         f.Type(f.form.seLineSpacingValue, "2.5");
         f.ChooseLineSpacing(1);
       },
       "", 150, {150, true}},
  };
  for (const Case& c : cases) {
    ParaDialogFixture f;
    f.form.SetValues({});
    int32_t sample = 0;
    Drive(f.form, [&] {
      c.act(f);
      sample = f.Sample().LineSpacing;
      f.Ok();
    });
    EXPECT_EQ(f.form.seLineSpacingValue->text(), c.value) << c.what;
    EXPECT_EQ(sample, c.sample) << c.what;
    EXPECT_EQ(f.form.GetValues().LineSpacing, c.read) << c.what;
  }
}

TEST(ParaDialog, SampleIsDrawnAtHalfScale) {
  ParaDialogFixture f;
  TParaDialogValues v;
  v.LeftIndent = {40, true};
  v.RightIndent = {21, true};
  v.FirstIndent = {-10, true};
  v.SpaceBefore = {12, true};
  v.SpaceAfter = {8, true};
  f.form.SetValues(v);  // alignment mixed
  TDVAlignment alignment = dvaJustify;
  int32_t left = 0, right = 0, first = 0, before = 0, after = 0, backTop = 0;
  Drive(f.form, [&] {
    alignment = f.Sample().Alignment;
    left = f.Sample().LeftIndent;
    right = f.Sample().RightIndent;
    first = f.Sample().FirstIndent;
    before = f.Sample().SpaceBefore;
    after = f.Sample().SpaceAfter;
    backTop = f.Sample().Background().BorderOffsets.Top;
    f.Ok();
  });
  EXPECT_EQ(alignment, dvaLeft);
  EXPECT_EQ(left, 20);
  EXPECT_EQ(right, 10);
  EXPECT_EQ(first, -5);
  EXPECT_EQ(before, 6);
  EXPECT_EQ(after, 4);
  EXPECT_EQ(backTop, 6);
}

TEST(ParaDialog, DoubleClickOnAnAlignmentClosesWithOk) {
  ParaDialogFixture f;
  f.form.SetValues({});
  const int result = Drive(f.form, [&] {
    TCustomControl& button = f.form.gbAlignment.Button(dvaCenter);
    const QPoint at = button.ClientWidget()->rect().center();
    QTest::mouseDClick(f.form.Dialog()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                       button.ClientWidget()->mapTo(f.form.Dialog(), at));
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(f.form.GetValues().Alignment, (TDefined<TDVAlignment>{dvaCenter, true}));
}

TEST(ParaDialog, RenderShowsTheSampleAndTheChosenAlignment) {
  ParaDialogFixture f;
  TParaDialogValues v;
  v.Alignment = {dvaRight, true};
  f.form.SetValues(v);
  const QImage image = RenderForm(f.form);
  SaveRender(image, "para_dialog");
  // The main paragraph's background in the sample.
  const QWidget* view = f.form.dv->View().Widget();
  const QRect r(view->mapTo(f.form.Dialog(), QPoint(0, 0)), view->size());
  int back = 0;
  for (int y = r.top(); y < r.bottom(); ++y)
    for (int x = r.left(); x < r.right(); ++x) back += PixelAt(image, x, y) == ColorToRGB(clInfoBk);
  EXPECT_GT(back, 500);
  // The checked alignment is framed in the highlight colour, the others not.
  auto framed = [&](int index) {
    TDVPictureRadioButton& button = f.form.gbAlignment.Button(index);
    const TRect area = button.ImageRect();
    const QPoint p = button.ClientWidget()->mapTo(f.form.Dialog(), QPoint(area.Left + 5, (area.Top + area.Bottom) / 2));
    return PixelAt(image, p.x(), p.y()) == ColorToRGB(clHighlight);
  };
  EXPECT_TRUE(framed(dvaRight));
  EXPECT_FALSE(framed(dvaLeft));
}

// Each choice shows its picture, lines of text: left aligned lines lean to
// the left, right aligned ones to the right; the first-line pictures indent
// the first line or the others.
TEST(ParaDialog, ChoicesShowPicturesOfTheirLines) {
  ParaDialogFixture f;
  TParaDialogValues v;
  v.Alignment = {dvaJustify, true};
  f.form.SetValues(v);
  const QImage image = RenderForm(f.form);
  // The mean column of the picture's ink, from 0 (left edge) to 1 (right).
  auto inkAt = [&](TDVPictureRadioButton& button) {
    const TRect area = button.ImageRect();
    double sum = 0;
    int count = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x) {
        const QRgb c = image.pixel(button.ClientWidget()->mapTo(f.form.Dialog(), QPoint(x, y)));
        if (qGray(c) < 128 && qRed(c) == qBlue(c)) {
          sum += double(x - area.Left) / (area.Right - area.Left - 1);
          ++count;
        }
      }
    return std::pair{count, count ? sum / count : 0.5};
  };
  for (TDVPictureRadioButton* button : {&f.form.gbAlignment.Button(dvaLeft), &f.form.gbAlignment.Button(dvaRight),
                                        &f.form.gbAlignment.Button(dvaCenter), &f.form.rbPositive,
                                        &f.form.rbNegative})
    EXPECT_GT(inkAt(*button).first, 50) << "a picture of lines";
  EXPECT_LT(inkAt(f.form.gbAlignment.Button(dvaLeft)).second, 0.47);
  EXPECT_GT(inkAt(f.form.gbAlignment.Button(dvaRight)).second, 0.53);
  // Hanging indents every line but the first: more of its ink stands right.
  EXPECT_GT(inkAt(f.form.rbNegative).second, inkAt(f.form.rbPositive).second);
}

}  // namespace
}  // namespace quillet::test
