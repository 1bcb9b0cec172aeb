// The line-width samples: the line's band and overhang, the nested border
// frames, the highlight of a selected item, and the delegate drawing a row.
#include "commands/actions/width_painters.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>

#include "../controls/color_test_support.h"
#include "../controls/render_support.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet::test {
namespace {

QImage Draw(const std::function<void(TCanvas&)>& paint) {
  QImage image(90, 24, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  paint(canvas);
  painter.end();
  return image;
}

int RowsOf(const QImage& image, int x, TColor color) {
  int rows = 0;
  for (int y = 0; y < image.height(); ++y) rows += PixelAt(image, x, y) == color;
  return rows;
}

TEST(WidthPainters, LineSampleIsIndexPlusOneThickAndOverhangs) {
  for (int index = 0; index < 6; ++index) {
    const QImage image = Draw([&](TCanvas& c) { DVA_DrawCmbWidthItem(c, {10, 0, 70, 20}, index, clRed, false); });
    EXPECT_EQ(RowsOf(image, 40, clRed), index + 1) << index;
    EXPECT_EQ(RowsOf(image, 8, clRed), index + 1) << index;   // 3 pixels beyond the left edge
    EXPECT_EQ(RowsOf(image, 6, clRed), 0) << index;
    EXPECT_EQ(PixelAt(image, 40, 1), ColorToRGB(clWindow)) << index;
  }
  const QImage selected = Draw([](TCanvas& c) { DVA_DrawCmbWidthItem(c, {10, 0, 70, 20}, 0, clRed, true); });
  EXPECT_EQ(PixelAt(selected, 40, 0), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(selected, 40, 1), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(selected, 40, 2), ColorToRGB(clWindow));
}

TEST(WidthPainters, BorderSampleNestsFramesInTwoColours) {
  const QImage image = Draw([](TCanvas& c) { DVA_DrawCmbWidthItem2(c, {0, 0, 60, 20}, 1, clWhite, clGray, false); });
  SaveRender(image, "width_item_border_sample");
  EXPECT_EQ(PixelAt(image, 4, 10), clWhite);    // left side, outer frame
  EXPECT_EQ(PixelAt(image, 5, 10), clWhite);    // inner frame
  EXPECT_EQ(PixelAt(image, 6, 10), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(image, 30, 4), clWhite);    // top
  EXPECT_EQ(PixelAt(image, 55, 10), clGray);    // right
  EXPECT_EQ(PixelAt(image, 54, 10), clGray);
  EXPECT_EQ(PixelAt(image, 30, 15), clGray);    // bottom
  EXPECT_EQ(PixelAt(image, 30, 16), ColorToRGB(clWindow));
}

TEST(WidthPainters, DelegatePaintsTheRowsSample) {
  QStandardItemModel model(4, 1);
  TDVWidthItemDelegate delegate(nullptr, clBlue);
  QImage image(80, 20, QImage::Format_RGB32);
  QPainter painter(&image);
  QStyleOptionViewItem option;
  option.rect = QRect(0, 0, 80, 20);
  delegate.paint(&painter, option, model.index(3, 0));
  painter.end();
  SaveRender(image, "width_item_line_sample");
  EXPECT_EQ(RowsOf(image, 40, clBlue), 4);
}

}  // namespace
}  // namespace quillet::test
