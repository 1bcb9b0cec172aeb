#include "engine/view/background.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

const TBackgroundStyle kAllStyles[] = {bsNoBitmap, bsStretched, bsTiled, bsTiledAndScrolled, bsCentered};

// The record of one 16 x 10 tile.
std::string DrawAt(int x, int y) {
  return "Draw " + std::to_string(x) + "," + std::to_string(y) + " TBitmap 16x10";
}

std::vector<std::string> Drawn(TDVBackground& back, const TRect& rect, int32_t hOffs, int32_t vOffs,
                               int32_t width = 200, int32_t height = 100, TColor color = clWhite) {
  TRecordingCanvas canvas;
  back.Draw(canvas, rect, hOffs, vOffs, width, height, color);
  return canvas.Strings();
}

TEST(DocumentBackground, EmptyPicturePaintsPlainColour) {
  for (TBackgroundStyle style : kAllStyles) {
    TDVBackground back;
    back.Style = style;
    TRecordingCanvas canvas;
    const TBrush before{clBlack, bsClear};
    canvas.Brush() = before;
    back.Draw(canvas, TRect{10, 20, 50, 45}, 7, 9, 200, 100, clBtnFace);
    ASSERT_EQ(canvas.Strings(), (std::vector<std::string>{"FillRect 0,0,40,25"})) << "style " << style;
    // A system colour is painted as its real colour.
    EXPECT_EQ(canvas.Log()[0].Brush, (TBrush{GetSysColor(15), bsSolid}));
    EXPECT_EQ(canvas.Brush(), before);
  }
}

TEST(DocumentBackground, NoBitmapStyleIgnoresThePicture) {
  TDVBackground back;
  back.SetBitmap(TBitmap(16, 10));
  EXPECT_EQ(Drawn(back, TRect{0, 0, 30, 20}, 0, 0), (std::vector<std::string>{"FillRect 0,0,30,20"}));
}

TEST(DocumentBackground, CentredPictureLargerThanTheArea) {
  TDVBackground back;
  back.Style = bsCentered;
  back.SetBitmap(TBitmap(100, 80));
  // (61 - 100) / 2 and (41 - 80) / 2 round toward zero to -19.
  EXPECT_EQ(Drawn(back, TRect{10, 5, 50, 35}, 3, 3, 61, 41),
            (std::vector<std::string>{"FillRect 0,0,40,30", "Draw -29,-24 TBitmap 100x80"}));
}

TEST(DocumentBackground, StretchedOverTheWholeArea) {
  TDVBackground back;
  back.Style = bsStretched;
  back.SetBitmap(TBitmap(16, 10));
  EXPECT_EQ(Drawn(back, TRect{10, 5, 50, 35}, 3, 3, 200, 100),
            (std::vector<std::string>{"StretchDraw -10,-5,190,95 TBitmap 16x10"}));
}

TEST(DocumentBackground, TilePositions) {
  TDVBackground back;
  back.SetBitmap(TBitmap(16, 10));
  // Rows 5 div 10 .. 25 div 10, columns 20 div 16 .. 50 div 16.
  std::vector<std::string> expected;
  for (int y : {-5, 5, 15})
    for (int x : {-4, 12, 28}) expected.push_back(DrawAt(x, y));

  back.Style = bsTiled;  // the scroll position does not move the tiles
  EXPECT_EQ(Drawn(back, TRect{20, 5, 50, 25}, 3, 7), expected);

  back.Style = bsTiledAndScrolled;
  EXPECT_EQ(Drawn(back, TRect{20, 5, 50, 25}, 0, 0), expected);
  // Scrolled by 3 and 7: columns 23 div 16 .. 53 div 16, rows 12 div 10 .. 32 div 10.
  expected.clear();
  for (int y : {-2, 8, 18})
    for (int x : {-7, 9, 25}) expected.push_back(DrawAt(x, y));
  EXPECT_EQ(Drawn(back, TRect{20, 5, 50, 25}, 3, 7), expected);
}

TEST(DocumentBackground, ScrollingByOneTileDrawsTheSame) {
  TDVBackground back;
  back.Style = bsTiledAndScrolled;
  back.SetBitmap(TBitmap(16, 10));
  const TRect rect{0, 0, 40, 30};
  EXPECT_EQ(Drawn(back, rect, 5, 3), Drawn(back, rect, 5, 13));
  EXPECT_EQ(Drawn(back, rect, 5, 3), Drawn(back, rect, 21, 3));
  EXPECT_NE(Drawn(back, rect, 5, 3), Drawn(back, rect, 5, 8));
}

TEST(DocumentBackground, ScrollRequiresFullRedraw) {
  struct Case {
    TBackgroundStyle style;
    bool withPicture;
    bool expected;
  };
  const Case cases[] = {
      {bsNoBitmap, false, false}, {bsStretched, false, false},       {bsTiled, false, false},
      {bsTiledAndScrolled, false, false}, {bsCentered, false, false},
      {bsNoBitmap, true, false},  {bsStretched, true, true},         {bsTiled, true, true},
      {bsTiledAndScrolled, true, false},  {bsCentered, true, true},
  };
  for (const Case& c : cases) {
    TDVBackground back;
    back.Style = c.style;
    if (c.withPicture) back.SetBitmap(TBitmap(4, 4));
    EXPECT_EQ(back.ScrollRequiresFullRedraw(), c.expected) << "style " << c.style << " picture " << c.withPicture;
  }
}

TEST(DocumentBackground, PaletteCopyIsDrawnInstead) {
  int paletteObject = 0;
  const TDVPaletteHandle palette = &paletteObject;
  TDVBackground back;
  back.Style = bsStretched;
  back.SetBitmap(TBitmap(16, 10));

  back.UpdatePaletted(dvpaCreateCopies, nullptr);
  EXPECT_EQ(back.BitmapCopy(), nullptr);
  back.UpdatePaletted(dvpaAssignPallette, palette);
  EXPECT_EQ(back.BitmapCopy(), nullptr);

  for (TDVPaletteAction action : {dvpaCreateCopies, dvpaCreateCopiesEx}) {
    back.SetBitmap(TBitmap(16, 10));
    back.UpdatePaletted(action, palette);
    ASSERT_NE(back.BitmapCopy(), nullptr);
    back.Bitmap().SetSize(8, 8);  // the copy keeps the old picture until refreshed
    EXPECT_EQ(Drawn(back, TRect{0, 0, 10, 10}, 0, 0, 20, 20),
              (std::vector<std::string>{"StretchDraw 0,0,20,20 TBitmap 16x10"}));
  }

  back.UpdatePaletted(dvpaDoNothing, palette);
  EXPECT_EQ(back.BitmapCopy(), nullptr);
  back.Bitmap().SetSize(0, 0);
  back.UpdatePaletted(dvpaCreateCopies, palette);  // nothing to copy
  EXPECT_EQ(back.BitmapCopy(), nullptr);
}

// Tiles that scroll with the text, painted on a real image: every pixel shows
// the picture's pixel at the scrolled document position.
TEST(DocumentBackground, TiledAndScrolledOnQtCanvas) {
  TBitmap tile(4, 3);
  const TColor colours[3] = {clRed, clLime, clBlue};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) tile.SetPixel(x, y, x == 0 ? clBlack : colours[y]);

  TDVBackground back;
  back.Style = bsTiledAndScrolled;
  back.SetBitmap(tile);
  QImage image(10, 7, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TQtCanvas canvas(image);
    back.Draw(canvas, TRect{2, 1, 12, 8}, 5, 4, 100, 100, clWhite);
    canvas.EndPaint();
  }
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int px = (x + 2 + 5) % 4, py = (y + 1 + 4) % 3;
      const TColor c = px == 0 ? clBlack : colours[py];
      ASSERT_EQ(image.pixel(x, y), qRgb(GetRValue(c), GetGValue(c), GetBValue(c))) << "at " << x << "," << y;
    }
}

}  // namespace
}  // namespace quillet
