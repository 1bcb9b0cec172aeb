#include "engine/style/border.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

TEST(ParaRect, InflateAndRaise) {
  TDVRect offsets;
  offsets.Left = 1;
  offsets.Top = 1;
  offsets.Right = 3;
  offsets.Bottom = 4;

  TRect r{10, 20, 30, 40};
  offsets.InflateRect(r);
  EXPECT_EQ(r, (TRect{9, 19, 33, 44}));

  // Horizontal values by the x ratio (2), vertical ones by the y ratio (1.5,
  // halves rounded away from zero).
  TDVScreenAndDevice sad;
  sad.ppixDevice = 192;
  sad.ppiyDevice = 144;
  r = TRect{10, 20, 30, 40};
  offsets.InflateRectSaD(r, sad);
  EXPECT_EQ(r, (TRect{8, 18, 36, 46}));

  r = TRect{0, 5, 2, 1};
  offsets.AssignToRectIfGreater(r);
  EXPECT_EQ(r, (TRect{1, 5, 3, 4}));
  offsets.AssignToRect(r);
  EXPECT_EQ(r, (TRect{1, 1, 3, 4}));
}

TEST(ParaRect, EqualityAndSimilarity) {
  TDVRect a, b;
  a.Left = 10;
  b.Left = 15;
  b.Bottom = 7;
  EXPECT_FALSE(a.IsEqual(b));
  EXPECT_FALSE(a.IsEqualEx(b, true, false, false, false));
  EXPECT_TRUE(a.IsEqualEx(b, true, false, false, true));
  // Own value first: (1 - 5/10) x 100 + 100 + 100 + (1 - 7) x 100.
  EXPECT_EQ(a.SimilarityValue(b, 100), 50 + 100 + 100 - 600);

  TDVBooleanRect flags(false);
  EXPECT_TRUE(flags.IsAllEqual(false));
  flags.SetValues(true, false, false, true);  // left, top, right, bottom
  EXPECT_TRUE(flags.Left && !flags.Top && !flags.Right && flags.Bottom);
  EXPECT_TRUE(flags.IsEqual2(true, false, false, true));
  EXPECT_FALSE(flags.IsAllEqual(true));
  EXPECT_TRUE(flags.IsEqualEx(TDVBooleanRect(true), false, true, true, false));
  EXPECT_FALSE(flags.IsEqualEx(TDVBooleanRect(true), false, false, true, false));
}

TEST(Border, TotalWidthPerStyle) {
  struct Case {
    TDVBorderStyle style;
    int32_t total;
  };
  // Width 2, InternalWidth 3.
  const Case cases[] = {{dvbNone, 0},        {dvbSingle, 2},      {dvbDouble, 7},
                        {dvbTriple, 12},     {dvbThickInside, 9}, {dvbThickOutside, 9}};
  for (const Case& c : cases) {
    TDVBorder b;
    b.Style = c.style;
    b.Width = 2;
    b.InternalWidth = 3;
    EXPECT_EQ(b.GetTotalWidth(), c.total) << "style " << c.style;
  }
}

TEST(Border, SimilarityOfHiddenBorders) {
  TDVBorder a, b;
  EXPECT_EQ(a.SimilarityValue(b), 4 * 20000);
  // Visible sides of a border without a style are not shown.
  b.Style = dvbSingle;
  EXPECT_EQ(a.SimilarityValue(b), -4 * 20000);
  b.VisibleBorders.SetAll(false);
  EXPECT_EQ(a.SimilarityValue(b), 4 * 20000);
}

TEST(Border, SimilarityOfVisibleSides) {
  TDVBorder own, other;
  own.Style = dvbSingle;
  own.Color = clBlack;
  own.BorderOffsets.Left = 4;
  other.Style = dvbDouble;
  other.Color = clBlack;
  other.Width = 2;
  other.VisibleBorders.SetValues(true, true, false, false);
  other.BorderOffsets.Left = 2;

  // Shown in both: left and top. Per shared side: colours 3000, widths
  // (1 - 1/1) x 1000 = 0 and 1000, styles differ. Right and bottom are shown
  // in one only: -2 x 20000. Offsets: left (1 - 2/4) x 100, top 100.
  EXPECT_EQ(own.SimilarityValue(other), 2 * 4000 - 40000 + 50 + 100);
  // The other way round the widths give (1 - 1/2) x 1000 and the left offset 0.
  EXPECT_EQ(other.SimilarityValue(own), 2 * 4500 - 40000 + 0 + 100);

  other.Style = dvbSingle;
  other.Width = 1;
  other.BorderOffsets.Left = 4;
  other.VisibleBorders.SetAll(true);
  EXPECT_EQ(own.SimilarityValue(other), 4 * (3000 + 1000 + 1000 + 1000) + 4 * 100);
}

TEST(BackgroundRect, PrepareAndSimilarity) {
  TDVBackgroundRect a, b;
  a.BorderOffsets.Left = 2;
  a.BorderOffsets.Bottom = 3;
  TRect r{10, 10, 20, 20};
  a.PrepareDraw(r);
  EXPECT_EQ(r, (TRect{8, 10, 20, 23}));

  // Both without colour: 3 x 10000 + 50000. Offsets, own value first:
  // (1 - 2/2) x 100, 100, 100, (1 - 3/3) x 100.
  EXPECT_EQ(a.SimilarityValue(b), 80000 + 200);
  b.Color = clWhite;
  EXPECT_EQ(a.SimilarityValue(b), 0 + 200);
  a.Color = clWhite;
  EXPECT_EQ(a.SimilarityValue(b), 50000 + 200);
}


// ------------------------------------------------------------------ drawing

// The lines of the canvas log with the pen width each was drawn with.
std::vector<std::string> Lines(const TRecordingCanvas& canvas) {
  std::vector<std::string> out;
  for (const TCanvasRecord& r : canvas.OfKind(TCanvasOp::Line))
    out.push_back(r.ToString() + " w" + std::to_string(r.Pen.Width));
  return out;
}

// The four sides of one outline, each there and back: top, right, bottom, left.
void AddOutline(std::vector<std::string>& out, int32_t l, int32_t t, int32_t r, int32_t b, int32_t penWidth) {
  const auto line = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    out.push_back("Line " + std::to_string(x1) + "," + std::to_string(y1) + "-" + std::to_string(x2) + "," +
                  std::to_string(y2) + " w" + std::to_string(penWidth));
  };
  line(l, t, r, t), line(r, t, l, t);
  line(r, t, r, b), line(r, b, r, t);
  line(r, b, l, b), line(l, b, r, b);
  line(l, b, l, t), line(l, t, l, b);
}

TDVBorder MakeBorder(TDVBorderStyle style, int32_t width, int32_t internalWidth) {
  TDVBorder b;
  b.Style = style;
  b.Color = clRed;
  b.Width = width;
  b.InternalWidth = internalWidth;
  return b;
}

TEST(BorderDrawing, LinesPerStyle) {
  struct Case {
    const char* name;
    TDVBorder border;
    std::vector<std::string> expected;
  };
  std::vector<Case> cases;
  {
    Case c{"single", MakeBorder(dvbSingle, 1, 1), {}};
    AddOutline(c.expected, 10, 10, 20, 15, 1);
    cases.push_back(c);
  }
  {
    // Two outlines two pixels apart: a one-pixel gap between them.
    Case c{"double 1/1", MakeBorder(dvbDouble, 1, 1), {}};
    AddOutline(c.expected, 10, 10, 20, 15, 1);
    AddOutline(c.expected, 8, 8, 22, 17, 1);
    cases.push_back(c);
  }
  {
    Case c{"triple 2/3", MakeBorder(dvbTriple, 2, 3), {}};
    AddOutline(c.expected, 10, 10, 20, 15, 2);
    AddOutline(c.expected, 6, 6, 24, 19, 2);
    AddOutline(c.expected, 2, 2, 28, 23, 2);
    cases.push_back(c);
  }
  {
    // A one-pixel thick outer line moves one further pixel right and down.
    Case c{"thick outside 1", MakeBorder(dvbThickOutside, 1, 1), {}};
    AddOutline(c.expected, 10, 10, 20, 15, 1);
    AddOutline(c.expected, 8, 8, 23, 18, 2);
    cases.push_back(c);
  }
  {
    // With a one-pixel thick inner line the outer one moves left and up.
    Case c{"thick inside 1", MakeBorder(dvbThickInside, 1, 1), {}};
    AddOutline(c.expected, 10, 10, 20, 15, 2);
    AddOutline(c.expected, 7, 7, 22, 17, 1);
    cases.push_back(c);
  }
  {
    Case c{"thick outside 2", MakeBorder(dvbThickOutside, 2, 1), {}};
    AddOutline(c.expected, 10, 10, 20, 15, 2);
    AddOutline(c.expected, 8, 8, 22, 17, 4);
    cases.push_back(c);
  }
  {
    Case c{"thick inside 3", MakeBorder(dvbThickInside, 3, 2), {}};
    AddOutline(c.expected, 10, 10, 20, 15, 6);
    AddOutline(c.expected, 7, 7, 23, 18, 3);
    cases.push_back(c);
  }
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    c.border.Draw(TRect{10, 10, 20, 15}, canvas);
    EXPECT_EQ(Lines(canvas), c.expected) << c.name;
    EXPECT_EQ(canvas.Log().size(), c.expected.size()) << c.name;  // lines only
    for (const TCanvasRecord& r : canvas.Log()) {
      EXPECT_EQ(r.Pen.Color, clRed) << c.name;
      EXPECT_EQ(r.Pen.Style, psSolid) << c.name;
    }
    EXPECT_EQ(canvas.Pen().Width, 1) << c.name;
  }
}

TEST(BorderDrawing, NoneDrawsNothing) {
  TDVBorder b = MakeBorder(dvbNone, 2, 2);
  ASSERT_TRUE(b.VisibleBorders.IsAllEqual(true));
  TRecordingCanvas canvas;
  canvas.Pen().Width = 5;
  b.Draw(TRect{10, 10, 20, 15}, canvas);
  b.DrawSaD(TRect{10, 10, 20, 15}, canvas, TDVScreenAndDevice{});
  EXPECT_TRUE(canvas.Log().empty());
  EXPECT_EQ(canvas.Pen().Width, 5);
}

TEST(BorderDrawing, OffsetsAndHiddenSides) {
  TDVBorder b = MakeBorder(dvbSingle, 1, 1);
  b.BorderOffsets.Left = 1;
  b.BorderOffsets.Top = 2;
  b.BorderOffsets.Right = 3;
  b.BorderOffsets.Bottom = 4;
  b.VisibleBorders.SetValues(false, true, false, true);  // top and bottom only
  TRecordingCanvas canvas;
  b.Draw(TRect{10, 10, 20, 15}, canvas);
  EXPECT_EQ(Lines(canvas), (std::vector<std::string>{"Line 9,8-23,8 w1", "Line 23,8-9,8 w1",
                                                     "Line 23,19-9,19 w1", "Line 9,19-23,19 w1"}));
}

TEST(BorderDrawing, DeviceScaling) {
  // Twice the screen resolution horizontally, three times vertically: the
  // rectangle and offsets scale per axis, line widths and gaps vertically.
  TDVScreenAndDevice sad;
  sad.ppixDevice = 192;
  sad.ppiyDevice = 288;
  TDVBorder b = MakeBorder(dvbDouble, 1, 1);
  b.BorderOffsets.Left = 1;
  b.BorderOffsets.Bottom = 1;
  TRecordingCanvas canvas;
  b.DrawSaD(TRect{10, 10, 20, 15}, canvas, sad);
  std::vector<std::string> expected;
  AddOutline(expected, 18, 30, 40, 48, 3);
  AddOutline(expected, 12, 24, 46, 54, 3);
  EXPECT_EQ(Lines(canvas), expected);
  EXPECT_EQ(canvas.Pen().Width, 1);
}

TEST(BackgroundRectDrawing, FillsThroughRightAndBottomEdges) {
  TDVBackgroundRect back;
  TRecordingCanvas canvas;
  back.Draw(TRect{10, 10, 20, 15}, canvas);  // clNone: nothing
  EXPECT_TRUE(canvas.Log().empty());

  back.Color = clYellow;
  back.Draw(TRect{10, 10, 20, 15}, canvas);
  ASSERT_EQ(canvas.Strings(), (std::vector<std::string>{"Rectangle 10,10,21,16"}));
  const TCanvasRecord& r = canvas.Log()[0];
  EXPECT_EQ(r.Brush, (TBrush{clYellow, bsSolid}));
  EXPECT_EQ(r.Pen.Style, psClear);
  EXPECT_EQ(canvas.Pen().Style, psSolid);
  EXPECT_EQ(canvas.Brush().Style, bsClear);
}

// The same paths on a real image: a background under a single border.
TEST(BorderDrawing, PaintsPixelsOnQtCanvas) {
  QImage image(24, 20, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TQtCanvas canvas(image);
    TDVBackgroundRect back;
    back.Color = clYellow;
    back.BorderOffsets.Left = 1;
    TRect r{6, 5, 15, 10};
    back.PrepareDraw(r);
    back.Draw(r, canvas);
    TDVBorder border = MakeBorder(dvbSingle, 1, 1);
    border.BorderOffsets.Left = 1;
    border.Draw(TRect{6, 5, 15, 10}, canvas);
    canvas.EndPaint();
  }
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const bool inside = x >= 5 && x <= 15 && y >= 5 && y <= 10;
      const bool edge = inside && (x == 5 || x == 15 || y == 5 || y == 10);
      const QRgb expected = edge ? qRgb(255, 0, 0) : inside ? qRgb(255, 255, 0) : qRgb(255, 255, 255);
      ASSERT_EQ(image.pixel(x, y), expected) << "at " << x << "," << y;
    }
}

}  // namespace
}  // namespace quillet
