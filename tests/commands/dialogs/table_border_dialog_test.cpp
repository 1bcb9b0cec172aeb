// The table border dialog offscreen: what SetData fills comes back from
// GetData when nothing is touched, and the type, colour and width rules.
#include "commands/dialogs/table_border_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "commands/dialogs/width_combo.h"
#include "item_dialog_test_support.h"

namespace quillet::test {
namespace {

struct TBorder {
  TDVTableBorderStyle style;
  TColor light, dark;
  int width;
  friend bool operator==(const TBorder&, const TBorder&) = default;
};

std::string Describe(const TBorder& b) {
  return "style " + std::to_string(b.style) + " width " + std::to_string(b.width) + " light " +
         std::to_string(b.light) + " dark " + std::to_string(b.dark);
}

// Fills a dialog, runs act while it is shown, and reads it back into the
// variables it was filled from.
TBorder Edit(const TBorder& in, const std::function<void(TfrmDVTableBrdr&)>& act, int* result = nullptr) {
  TfrmDVTableBrdr form;
  form.SetData(in.style, in.light, in.dark, in.width);
  const int r = RunOk(form, [&] { act(form); });
  if (result) *result = r;
  TBorder out = in;
  form.GetData(out.style, out.light, out.dark, out.width);
  return out;
}

TEST(TableBorderDialog, UntouchedGivesBackEveryStyleAndWidth) {
  const TDVTableBorderStyle styles[] = {dvtbRaised, dvtbLowered, dvtbColor, dvtbRaisedColor, dvtbLoweredColor};
  // The automatic colours under a colour style must not turn it into a 3-D one.
  const std::pair<TColor, TColor> colours[] = {{clBtnFace, clWindowText}, {clYellow, clNavy}};
  for (TDVTableBorderStyle style : styles)
    for (int width : {-1, 0, 1, 2, 10, 11, 12})
      for (auto [light, dark] : colours) {
        const TBorder in{style, light, dark, width};
        int result = 0;
        EXPECT_EQ(Edit(in, [](TfrmDVTableBrdr&) {}, &result), in) << Describe(in);
        EXPECT_EQ(result, mrOk);
      }
}

TEST(TableBorderDialog, TypeColourAndWidthRules) {
  const auto type = [](int index) { return [index](TfrmDVTableBrdr& f) { ClickItem(f.rgBorderType, index); }; };
  struct Case {
    const char* what;
    TBorder in;
    std::function<void(TfrmDVTableBrdr&)> act;
    TBorder out;
  } cases[] = {
      {"raised 2 untouched", {dvtbRaised, clRed, clBlue, 2}, [](TfrmDVTableBrdr&) {}, {dvtbRaised, clRed, clBlue, 2}},
      {"only the light colour of a raised border",
       {dvtbRaised, clRed, clBlue, 2},
       [](TfrmDVTableBrdr& f) { PickColor(f.cmbBorderLightColor, 1 + 26); },
       {dvtbRaisedColor, clYellow, clWindowText, 2}},
      {"a colour picked on none switches to sunken with the first width",
       {dvtbRaised, clRed, clBlue, 0},
       [](TfrmDVTableBrdr& f) { PickColor(f.cmbBorderColor, 1 + 26); },
       {dvtbLoweredColor, clBtnFace, clYellow, 1}},
      {"a width chosen on none switches to sunken",
       {dvtbRaised, clRed, clBlue, 0},
       [](TfrmDVTableBrdr& f) {
         f.cmbBorderWidth()->setFocus();
         QTest::keyClick(f.cmbBorderWidth(), Qt::Key_Down);
         QTest::keyClick(f.cmbBorderWidth(), Qt::Key_Down);
       },
       {dvtbLowered, clRed, clBlue, 2}},
      {"none chosen gives width 0", {dvtbLowered, clRed, clBlue, 3}, type(0), {dvtbLowered, clRed, clBlue, 0}},
      {"sunken chosen on none takes width 1", {dvtbRaised, clRed, clBlue, 0}, type(1), {dvtbLowered, clRed, clBlue, 1}},
      {"flat takes the colour alone", {dvtbRaisedColor, clRed, clBlue, 4}, type(3), {dvtbColor, clRed, clBlue, 4}},
      {"raised chosen over an unlisted width keeps it", {dvtbLowered, clRed, clBlue, 12}, type(2),
       {dvtbRaised, clRed, clBlue, 12}},
      {"raised chosen with own colours keeps them", {dvtbLoweredColor, clRed, clBlue, 3}, type(2),
       {dvtbRaisedColor, clRed, clBlue, 3}},
  };
  for (const Case& c : cases) EXPECT_EQ(Edit(c.in, c.act), c.out) << c.what;
}

TEST(TableBorderDialog, FormLabelsAndResults) {
  TfrmDVTableBrdr form;
  EXPECT_EQ(form.Dialog()->windowTitle().toStdString(), "边框");
  EXPECT_EQ(form.Dialog()->size(), QSize(352, 285));
  for (const char* name : {"cmbBorderColor", "cmbBorderLightColor", "cmbBorderWidth", "rgBorderType", "btnOk",
                           "btnCancel", "lblTableBorderColor"})
    EXPECT_NE(form.Dialog()->findChild<QWidget*>(name), nullptr) << name;
  EXPECT_EQ(form.cmbBorderWidth()->count(), 10);
  form.SetData(dvtbRaised, clRed, clBlue, 3);
  RunDialog(form, [&] {
    // Not flat: a shadow colour and the light one.
    EXPECT_EQ(form.lblTableBorderColor()->text().toStdString(), "Shadow &color:");
    EXPECT_TRUE(form.cmbBorderLightColor.Widget()->isVisible());
    ClickItem(form.rgBorderType, 3);
    EXPECT_EQ(form.lblTableBorderColor()->text().toStdString(), "&Color:");
    EXPECT_FALSE(form.cmbBorderLightColor.Widget()->isVisible());
    QTest::keyClick(form.Dialog(), Qt::Key_Escape);
  });
  EXPECT_EQ(form.ModalResult(), mrCancel);
  EXPECT_EQ(RunDialog(form, [&] { QTest::mouseClick(form.btnCancel(), Qt::LeftButton); }), mrCancel);
  EXPECT_EQ(RunDialog(form, [&] { QTest::mouseClick(form.btnOk(), Qt::LeftButton); }), mrOk);
}

TEST(TableBorderDialog, RendersTheWidthSampleInTheTypesColours) {
  TfrmDVTableBrdr form;
  form.SetData(dvtbLoweredColor, clYellow, clNavy, 3);
  RunDialog(form, [&] {
    TDVWidthCombo* widths = form.cmbBorderWidth();
    const QImage image = widths->grab().toImage();
    SaveRender(Grab(form), "table_border_dialog");
    // Sunken: the dark colour on the top-left edges, the light one on the
    // bottom-right, of the closed field's sample.
    int dark = 0, light = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const TColor c = PixelAt(image, x, y);
        dark += c == clNavy;
        light += c == clYellow;
      }
    EXPECT_GT(dark, 20);
    EXPECT_GT(light, 20);
  });
}

}  // namespace
}  // namespace quillet::test
