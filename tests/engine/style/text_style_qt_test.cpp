// Text style drawing through the real Qt canvas onto an image.
#include <gtest/gtest.h>

#include <QImage>

#include "engine/style/style_sheet.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {
namespace {

TEST(TextStyleQtDraw, LinkWithGapPaintsBackgroundTextAndUnderline) {
  QImage image(200, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  TQtCanvas canvas(image);
  TDVStyle sheet;
  sheet.TextStyles()[4].BackColor = clYellow;
  sheet.ApplyStyle(canvas, 4, dvbdUnspecified);
  sheet.ApplyStyleColor(canvas, 4, 0, false);
  const TTextMetric tm = canvas.GetTextMetrics();
  const int32_t left = 10, top = 5, gap = 20, height = 30;
  const int32_t width = gap + canvas.TextExtentA("Hi").cx;
  sheet.DrawStyleText("Hi", canvas, 0, 1, 4, nullptr, gap, left, top, width, height, 0, false, false);
  canvas.EndPaint();

  const QRgb yellow = 0xFFFF00, green = 0x008000;
  auto rgb = [&image](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
  const int underlineY = top - tm.otmsUnderscorePosition + tm.tmAscent + tm.otmsUnderscoreSize / 2;
  ASSERT_GT(underlineY, top);
  ASSERT_LT(underlineY, top + height);
  // The gap: yellow, crossed by the continued underline in the link colour.
  EXPECT_EQ(rgb(left + 5, top + 1), yellow);
  EXPECT_EQ(rgb(left + 5, underlineY), green);
  EXPECT_EQ(rgb(left + gap - 1, underlineY), green);
  EXPECT_EQ(rgb(left - 1, underlineY), 0xFFFFFFu);
  // The text itself, on its opaque yellow cell.
  int ink = 0;
  for (int y = top; y < top + tm.tmHeight; ++y)
    for (int x = left + gap; x < left + width; ++x) ink += rgb(x, y) == green;
  EXPECT_GT(ink, 10);
  EXPECT_EQ(rgb(left + gap + 1, top + 1), yellow);
}

}  // namespace
}  // namespace quillet
