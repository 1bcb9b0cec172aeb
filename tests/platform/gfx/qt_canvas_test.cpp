#include "platform/gfx/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "gfx_test_util.h"
#include "platform/core/code_page.h"

namespace quillet {
namespace {

// A small white image with a canvas on it; Rows() finishes drawing and reads it.
class QtCanvasPixels : public testing::Test {
 protected:
  QtCanvasPixels() : image_(10, 6, QImage::Format_RGB32), canvas_(std::make_unique<TQtCanvas>(image_)) {
    image_.fill(Qt::white);
  }
  std::vector<std::string> Rows() {
    canvas_->EndPaint();
    return Art(image_, image_.width(), image_.height());
  }
  TCanvas& C() { return *canvas_; }

  QImage image_;
  std::unique_ptr<TQtCanvas> canvas_;
};

using Art6 = std::vector<std::string>;

TEST_F(QtCanvasPixels, LinesLeaveOutTheirEndPoint) {
  C().MoveTo(0, 0);
  C().LineTo(5, 0);  // x = 0..4
  C().MoveTo(9, 1);
  C().LineTo(9, 4);  // y = 1..3
  C().MoveTo(6, 5);
  C().LineTo(1, 5);  // right to left: x = 6..2
  C().MoveTo(0, 2);
  C().LineTo(3, 5);  // diagonal: (0,2) (1,3) (2,4)
  C().MoveTo(7, 2);
  C().LineTo(7, 2);  // a line to its own start paints nothing
  EXPECT_EQ(Rows(), (Art6{
                        "#####.....",
                        ".........#",
                        "#........#",
                        ".#.......#",
                        "..#.......",
                        "..#####...",
                    }));
  EXPECT_EQ(C().PenPos(), (TPoint{7, 2}));
}

TEST_F(QtCanvasPixels, PolylineLeavesOutOnlyItsLastPoint) {
  C().Pen().Mode = pmXor;  // a corner painted twice would vanish
  C().Pen().Color = clWhite;
  C().Polyline({{0, 0}, {4, 0}, {4, 3}, {1, 3}});
  EXPECT_EQ(Rows(), (Art6{
                        "#####.....",
                        "....#.....",
                        "....#.....",
                        "..###.....",
                        "..........",
                        "..........",
                    }));
}

TEST_F(QtCanvasPixels, DottedPensCarryTheirPatternAcrossJoinedLines) {
  C().Pen().Style = psDot;
  C().MoveTo(0, 0);
  C().LineTo(4, 0);
  C().LineTo(10, 0);  // goes on where the first line stopped in the pattern
  C().MoveTo(0, 2);
  C().LineTo(10, 2);
  C().SetBkColor(clRed);  // opaque background: the gaps take the colour
  C().MoveTo(0, 4);
  C().LineTo(10, 4);
  C().SetBkMode(bkTransparent);
  C().MoveTo(0, 5);
  C().LineTo(10, 5);
  EXPECT_EQ(Rows(), (Art6{
                        "###...###.",
                        "..........",
                        "###...###.",
                        "..........",
                        "###ooo###o",
                        "###...###.",
                    }));
}

TEST_F(QtCanvasPixels, RectangleOutlineIsInsideRightAndBottom) {
  C().Brush().Style = bsClear;
  C().Rectangle(Rect(1, 1, 6, 5));
  C().Brush().Style = bsSolid;
  C().Brush().Color = clRed;
  C().Rectangle(Rect(7, 1, 10, 4));  // 3 × 3: one red pixel inside
  EXPECT_EQ(Rows(), (Art6{
                        "..........",
                        ".#####.###",
                        ".#...#.#o#",
                        ".#...#.###",
                        ".#####....",
                        "..........",
                    }));
}

TEST_F(QtCanvasPixels, FillsWithoutOutline) {
  C().Brush().Color = clBlack;
  C().FillRect(Rect(0, 0, 3, 2));  // right and bottom exclusive
  C().Pen().Style = psClear;
  C().Rectangle(Rect(5, 0, 9, 4));  // without a pen the platform fills one pixel less
  C().Brush().Style = bsClear;
  C().FillRect(Rect(0, 4, 10, 6));  // a clear brush fills nothing
  EXPECT_EQ(Rows(), (Art6{
                        "###..###..",
                        "###..###..",
                        ".....###..",
                        "..........",
                        "..........",
                        "..........",
                    }));
}

TEST_F(QtCanvasPixels, XorAndNotModesUndoThemselves) {
  C().Pen().Mode = pmXor;
  C().Pen().Color = clWhite;
  C().MoveTo(0, 1);
  C().LineTo(10, 1);
  EXPECT_EQ(Rows()[1], "##########");
  C().MoveTo(0, 1);
  C().LineTo(10, 1);
  C().Pen().Mode = pmNot;
  C().Rectangle(Rect(2, 2, 6, 5));  // the brush is inverted too: every pixel once
  EXPECT_EQ(Rows(), (Art6{
                        "..........",
                        "..........",
                        "..####....",
                        "..####....",
                        "..####....",
                        "..........",
                    }));
  C().Rectangle(Rect(2, 2, 6, 5));
  C().DrawFocusRect(Rect(0, 0, 10, 6));
  EXPECT_NE(Rows(), Art6(6, ".........."));
  C().DrawFocusRect(Rect(0, 0, 10, 6));
  EXPECT_EQ(Rows(), Art6(6, ".........."));
}

TEST_F(QtCanvasPixels, ClipIntersectsAndRestores) {
  C().Brush().Color = clBlack;
  C().IntersectClipRect(Rect(1, 1, 8, 5));
  C().SaveState();
  C().IntersectClipRect(Rect(3, 0, 10, 3));
  EXPECT_EQ(C().ClipRect(), Rect(3, 1, 8, 3));
  C().FillRect(Rect(0, 0, 10, 6));
  C().RestoreState();
  C().Brush().Color = clRed;
  C().FillRect(Rect(0, 4, 10, 6));
  C().ResetClip();
  EXPECT_EQ(C().ClipRect(), Rect(0, 0, 10, 6));
  C().IntersectClipRect(Rect(0, 0, 0, 0));  // empty: nothing shows
  C().FillRect(Rect(0, 0, 10, 6));
  EXPECT_EQ(Rows(), (Art6{
                        "..........",
                        "...#####..",
                        "...#####..",
                        "..........",
                        ".ooooooo..",
                        "..........",
                    }));
}

TEST_F(QtCanvasPixels, DrawingContinuesAfterEndPaintWithTheSameState) {
  C().IntersectClipRect(Rect(0, 0, 2, 6));
  C().Brush().Color = clBlack;
  C().FillRect(Rect(0, 0, 10, 1));
  canvas_->EndPaint();
  C().FillRect(Rect(0, 1, 10, 2));
  EXPECT_EQ(Rows()[0], "##........");
  EXPECT_EQ(Rows()[1], "##........");
}

TEST(QtCanvasOutsidePainter, ItsOwnClipStaysUnderTheCanvasClips) {
  QImage image(6, 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setClipRect(QRect(1, 0, 4, 2));  // as a widget's paint event comes
  {
    TQtCanvas canvas(painter);
    EXPECT_FALSE(canvas.HasClip());
    EXPECT_EQ(canvas.ClipRect(), Rect(1, 0, 5, 2));
    canvas.Brush().Color = clBlack;
    canvas.FillRect(Rect(0, 0, 6, 1));
    canvas.IntersectClipRect(Rect(3, 0, 6, 2));
    canvas.FillRect(Rect(0, 1, 6, 2));
  }
  EXPECT_EQ(painter.clipRegion(), QRegion(QRect(1, 0, 4, 2)));
  painter.end();
  EXPECT_EQ(Art(image, 6, 2), (std::vector<std::string>{".####.", "...##."}));
}

TEST(QtCanvasState, SaveAndRestoreBringBackFontPenBrushAndModes) {
  QImage image(4, 4, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  EXPECT_EQ(canvas.PixelsPerInchY(), 96);
  EXPECT_EQ(canvas.Font().PixelsPerInch, 96);
  canvas.Font().Name = "Arial";
  canvas.Font().Height = -13;
  canvas.Pen().Color = clRed;
  canvas.SetTextCharacterExtra(2);
  canvas.SetBkColor(clYellow);
  canvas.SetTextAlign(TA_BASELINE);
  const TFont font = canvas.Font();
  const TPen pen = canvas.Pen();
  canvas.SaveState();
  canvas.SaveState();
  canvas.Font().Name = "宋体";
  canvas.Font().Style = fsBold;
  canvas.Pen() = TPen{clBlue, 4, psDash, pmXor};
  canvas.Brush().Style = bsClear;
  EXPECT_EQ(canvas.SetTextCharacterExtra(0), 2);
  EXPECT_EQ(canvas.SetBkColor(clNone), clYellow);
  EXPECT_EQ(canvas.SetTextAlign(TA_LEFT), static_cast<uint32_t>(TA_BASELINE));
  canvas.SetBkMode(bkTransparent);
  canvas.MoveTo(3, 3);
  canvas.RestoreState();
  canvas.RestoreState();
  canvas.RestoreState();  // one too many does nothing
  EXPECT_EQ(canvas.Font(), font);
  EXPECT_EQ(canvas.Pen(), pen);
  EXPECT_EQ(canvas.Brush().Style, bsSolid);
  EXPECT_EQ(canvas.GetTextCharacterExtra(), 2);
  EXPECT_EQ(canvas.GetBkColor(), clYellow);
  EXPECT_EQ(canvas.GetBkMode(), bkOpaque);
  EXPECT_EQ(canvas.GetTextAlign(), static_cast<uint32_t>(TA_BASELINE));
  EXPECT_EQ(canvas.PenPos(), (TPoint{0, 0}));
  EXPECT_EQ(canvas.ResolvedFamily(), "DejaVu Sans");
}

TEST(CanvasFont, SizeAndHeightConvertLikeThePlatform) {
  struct Case {
    int32_t ppi, size, height;
  } toHeight[] = {{96, 10, -13}, {96, 9, -12}, {96, 12, -16}, {96, 8, -11}, {600, 10, -83}, {0, 10, -13}};
  for (const Case& c : toHeight) {
    TFont f;
    f.PixelsPerInch = c.ppi;
    f.SetSize(c.size);
    EXPECT_EQ(f.Height, c.height) << c.ppi << " " << c.size;
  }
  struct Back {
    int32_t ppi, height, size;
  } toSize[] = {{96, -13, 10}, {96, -11, 8}, {96, -15, 11}, {96, 16, -12}, {600, -83, 10}};
  for (const Back& c : toSize) {
    TFont f;
    f.PixelsPerInch = c.ppi;
    f.Height = c.height;
    EXPECT_EQ(f.GetSize(), c.size) << c.ppi << " " << c.height;
  }
}

TEST(CanvasFont, LogicalFontRoundTripKeepsColourAndResolution) {
  TFont f;
  f.Color = clRed;
  f.PixelsPerInch = 120;
  TLogFont lf;
  lf.lfHeight = -20;
  lf.lfWidth = 7;
  lf.lfWeight = 700;
  lf.lfItalic = true;
  lf.lfStrikeOut = true;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfFaceName = "宋体";
  f.AssignLogFont(lf);
  EXPECT_EQ(f.Name, "宋体");
  EXPECT_EQ(f.Height, -20);
  EXPECT_EQ(f.Width, 7);
  EXPECT_EQ(f.Style, fsBold | fsItalic | fsStrikeOut);
  EXPECT_EQ(f.Charset, GB2312_CHARSET);
  EXPECT_EQ(f.Color, clRed);
  EXPECT_EQ(f.PixelsPerInch, 120);
  const TLogFont back = f.GetLogFont();
  EXPECT_EQ(back.lfWeight, 700);
  EXPECT_EQ(back.lfWidth, 7);
  EXPECT_TRUE(back.lfItalic && back.lfStrikeOut && !back.lfUnderline);
  lf.lfWeight = 600;  // semi-bold is not bold
  f.AssignLogFont(lf);
  EXPECT_EQ(f.Style, fsItalic | fsStrikeOut);
}

}  // namespace
}  // namespace quillet
