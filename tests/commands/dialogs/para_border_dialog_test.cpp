// The paragraph border and background dialog driven through its controls:
// none becoming single, the border types pushing every side, the sample's
// indents from border, offsets and padding, and its render.
#include "commands/dialogs/para_border_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "../controls/color_test_support.h"
#include "../controls/render_support.h"
#include "commands/controls/color_popup.h"
#include "commands/controls/spin_edit.h"
#include "dialog_test_support.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"

namespace quillet::test {
namespace {

struct BorderDialogFixture {
  BorderDialogFixture() {
    form.FourValuesPrompt = [this](const std::string& caption, const std::string& group, TFourValues& values) {
      asked.push_back(caption + "|" + group);
      values = answer;
      return true;
    };
  }
  const TParaInfo& Sample() { return form.dv->Style().ParaStyles()[0]; }
  void Ok() { QTest::mouseClick(form.btnOk, Qt::LeftButton); }
  TfrmDVParaBrdr form;
  TFourValues answer;
  std::vector<std::string> asked;
};

TParaBorderValues NoBorder() {
  TParaBorderValues v;
  v.Style = {dvbNone, true};
  return v;
}

TFourValues Left(int32_t value) {
  TFourValues four;
  four.Values.Left = value;
  four.Defined.Left = true;
  return four;
}

TEST(ParaBorderDialog, NoneBecomesSingle) {
  struct Case {
    const char* what;
    std::function<void(BorderDialogFixture&)> act;
    TDVBorderStyle style;
  } cases[] = {
      {"Ctrl+B", [](BorderDialogFixture& f) { QTest::keyClick(f.form.Dialog(), Qt::Key_B, Qt::ControlModifier); },
       dvbSingle},
      {"a click on a side", [](BorderDialogFixture& f) { QTest::mouseClick(f.form.btnLeft, Qt::LeftButton); },
       dvbSingle},
      {"a colour",
       [](BorderDialogFixture& f) {
         f.form.cmbColor.Widget()->setFocus();
         QTest::keyClick(f.form.cmbColor.ClientWidget(), Qt::Key_F4);
         ProcessPosted();
         QTest::keyClick(f.form.cmbColor.Popup()->Dialog(), Qt::Key_Right);
         QTest::keyClick(f.form.cmbColor.Popup()->Dialog(), Qt::Key_Return);
         ProcessPosted();
       },
       dvbSingle},
      {"a width",
       [](BorderDialogFixture& f) {
         f.form.cmbWidth->setCurrentIndex(2);
         emit f.form.cmbWidth->activated(2);
       },
       dvbSingle},
      {"offsets",
       [](BorderDialogFixture& f) {
         f.answer = Left(4);
         QTest::mouseClick(f.form.btnOffsets, Qt::LeftButton);
       },
       dvbSingle},
      {"padding keeps none",
       [](BorderDialogFixture& f) {
         f.answer = Left(4);
         f.form.PageControl1->setCurrentIndex(1);
         QTest::mouseClick(f.form.btnPadding, Qt::LeftButton);
       },
       dvbNone},
  };
  for (const Case& c : cases) {
    BorderDialogFixture f;
    f.form.SetValues(NoBorder());
    TDVBorderStyle sample = dvbTriple;
    EXPECT_EQ(Drive(f.form,
                    [&] {
                      c.act(f);
                      sample = f.Sample().Border().Style;
                      f.Ok();
                    }),
              mrOk)
        << c.what;
    EXPECT_EQ(f.form.GetValues().Style, (TDefined<TDVBorderStyle>{c.style, true})) << c.what;
    EXPECT_EQ(sample, c.style) << c.what;
  }
}

TEST(ParaBorderDialog, OffsetsAndPaddingGoThroughTheFourValuesForm) {
  BorderDialogFixture f;
  f.form.SetValues(NoBorder());
  Drive(f.form, [&] {
    f.answer = Left(3);
    QTest::mouseClick(f.form.btnOffsets, Qt::LeftButton);
    f.answer = Left(7);
    f.form.PageControl1->setCurrentIndex(1);
    QTest::mouseClick(f.form.btnPadding, Qt::LeftButton);
    f.Ok();
  });
  EXPECT_EQ(f.asked, (std::vector<std::string>{"Offsets| Border Offsets ", "|"}));
  EXPECT_EQ(f.form.GetValues().Offsets, Left(3));
  EXPECT_EQ(f.form.GetValues().Padding, Left(7));
}

TEST(ParaBorderDialog, ABorderTypePushesEverySide) {
  BorderDialogFixture f;
  f.form.SetValues({});
  Drive(f.form, [&] {
    Click(f.form, f.form.gbBorderType.Button(dvbDouble));
    f.Ok();
  });
  const TParaBorderValues v = f.form.GetValues();
  EXPECT_EQ(v.Style, (TDefined<TDVBorderStyle>{dvbDouble, true}));
  EXPECT_EQ(v.Visible, TDVBooleanRect(true));
  EXPECT_EQ(v.VisibleDefined, TDVBooleanRect(true));
  EXPECT_TRUE(f.form.seIW->isEnabled());
}

TEST(ParaBorderDialog, SampleIndentsTakeTheLargerOfBorderAndPadding) {
  struct Case {
    int32_t padding, indent;
  } cases[] = {{20, 20}, {2, 8}};
  for (const Case& c : cases) {
    BorderDialogFixture f;
    TParaBorderValues v;
    v.Style = {dvbSingle, true};
    v.Width = {3, true};
    v.Offsets = Left(5);
    v.Padding = Left(c.padding);
    f.form.SetValues(v);
    int32_t indent = -1;
    Drive(f.form, [&] {
      indent = f.Sample().LeftIndent;
      f.Ok();
    });
    EXPECT_EQ(indent, c.indent) << c.padding;
  }
}

TEST(ParaBorderDialog, BackgroundPageTakesTheFirstCellAsNoColour) {
  BorderDialogFixture f;
  TParaBorderValues v;
  v.BackColor = {clRed, true};
  f.form.SetValues(v);
  QImage page;
  bool sampleShown = false, sidesShown = true;
  Drive(f.form, [&] {
    f.form.PageControl1->setCurrentIndex(1);
    QApplication::processEvents();
    const TRect cell = f.form.dvcg.CellRect(0, 0);
    Click(f.form, f.form.dvcg, QPoint(cell.Left + 20, (cell.Top + cell.Bottom) / 2));
    ProcessPosted();
    page = f.form.Dialog()->grab().toImage();
    sampleShown = f.form.gbSample->isVisible();
    sidesShown = f.form.btnLeft->isVisible();
    f.Ok();
  });
  SaveRender(page, "para_border_dialog_background");
  EXPECT_EQ(f.form.GetValues().BackColor, (TDefined<TColor>{clNone, true}));
  EXPECT_EQ(f.form.lblBackColor->text(), QStringLiteral("透明色"));
  // The sample stays in view on the background page; the side buttons do not.
  EXPECT_TRUE(sampleShown);
  EXPECT_FALSE(sidesShown);
}

TEST(ParaBorderDialog, RenderShowsTheBorderAroundTheSample) {
  BorderDialogFixture f;
  TParaBorderValues v;
  v.Style = {dvbSingle, true};
  v.Color = {clRed, true};
  v.Width = {3, true};
  v.Visible = TDVBooleanRect(true);
  v.VisibleDefined = TDVBooleanRect(true);
  v.BackColor = {clYellow, true};
  f.form.SetValues(v);
  const QImage image = RenderForm(f.form);
  SaveRender(image, "para_border_dialog");
  const QWidget* view = f.form.dv->View().Widget();
  const QRect r(view->mapTo(f.form.Dialog(), QPoint(0, 0)), view->size());
  // A red frame three pixels wide left of the text, on a yellow background.
  const int y = r.center().y();
  int red = 0, x = r.left();
  while (x < r.right() && PixelAt(image, x, y) != clRed) ++x;
  while (x < r.right() && PixelAt(image, x, y) == clRed) {
    ++red;
    ++x;
  }
  EXPECT_EQ(red, 3);
  int yellow = 0;
  for (int yy = r.top(); yy < r.bottom(); ++yy)
    for (int xx = r.left(); xx < r.right(); ++xx) yellow += PixelAt(image, xx, yy) == clYellow;
  EXPECT_GT(yellow, 1000);
  // The single type is framed in the highlight colour.
  TDVPictureRadioButton& single = f.form.gbBorderType.Button(dvbSingle);
  const TRect area = single.ImageRect();
  const QPoint p = single.ClientWidget()->mapTo(f.form.Dialog(), QPoint(area.Left + 5, (area.Top + area.Bottom) / 2));
  EXPECT_EQ(PixelAt(image, p.x(), p.y()), ColorToRGB(clHighlight));
}

}  // namespace
}  // namespace quillet::test
