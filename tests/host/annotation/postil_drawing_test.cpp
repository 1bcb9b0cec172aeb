#include <gtest/gtest.h>

#include <QImage>

#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"
#include "postil_test_support.h"

namespace quillet::test {
namespace {

TEST(PostilPaint, RecordsDrawAtTheirWindowPlace) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    int32_t h, v, step, left;
    std::vector<std::string> drawn;
  };
  const Case cases[] = {
      {"scrolled down 3 units of 10", {"QPP;255;2", "QPM;10;100", "QPL;20;100"}, 0, 3, 10, 0,
       {"LineF 10,70-20,70 w2 $0000FF"}},
      {"left offset and horizontal scroll", {"QPP;255;2.5", "QPM;10;10", "QPL;20,5;10"}, 5, 0, 1, 60,
       {"LineF 65,10-75.5,10 w2.5 $0000FF"}},
      {"no pen yet: colour 0, width 0", {"QPM;0;0", "QPL;5;5"}, 0, 0, 1, 0, {"LineF 0,0-5,5 w0 $000000"}},
      {"users and picture data draw nothing",
       {"QPP;255;1", "QPM;0;0", "QPUser;a", "QPTDATA;1;1;x;00", "QPL;5;0"}, 0, 0, 1, 0,
       {"LineF 0,0-5,0 w1 $0000FF"}},
      {"damaged records are skipped",
       {"QPP;255;1", "QPM;0;0", "QPL;x;1", "QPL;4", "QPP;bad;9", "QPP;255;5000", "QPL;99999999;0", "QPL;5;0"},
       0, 0, 1, 0, {"LineF 0,0-5,0 w1 $0000FF"}},
      {"a damaged start joins no earlier stroke", {"QPM;0;0", "QPL;5;0", "QPM;y;1", "QPL;9;9", "QPL;9;12"}, 0, 0,
       1, 0, {"LineF 0,0-5,0 w0 $000000", "LineF 9,9-9,12 w0 $000000"}},
  };
  for (const Case& c : cases) {
    TQvPostil postil;
    postil.loadPostil(c.lines);
    postil.setLeftOffset(c.left);
    TRecordingCanvas canvas;
    postil.Paint(canvas, c.h, c.v, c.step);
    EXPECT_EQ(canvas.Strings(), c.drawn) << c.name;
    EXPECT_EQ(postil.AllPostil(), c.lines) << c.name;  // kept verbatim
  }
}

TEST(PostilPaint, NewStrokesContinueTheLoadedPen) {
  TQvPostil postil;
  postil.loadPostil({"QPP;65280;3", "QPM;0;0", "QPL;1;0"});
  postil.BeginDraw();
  postil.AddPointM(0, 10, 65280, 3, 0, 0, 1);  // writes its pen anyway
  postil.AddPointL(5, 10, 65280, 3, 0, 0, 1);
  TRecordingCanvas canvas;
  postil.Paint(canvas, 0, 0, 1);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"LineF 0,0-1,0 w3 $00FF00", "LineF 0,10-5,10 w3 $00FF00"}));
}

TEST(PostilPaint, AGrowingStrokeOnTheKeptLayerLooksLikeOneDrawnWhole) {
  // Painted after every point (only the new segments reach the layer), then
  // smoothed, undone and done again: each time as a fresh layer shows it.
  TQvPostil postil;
  postil.loadPostil({"QPP;16711680;3", "QPM;10;10", "QPL;60;40"});
  QImage live(200, 150, QImage::Format_RGB32);
  live.fill(Qt::white);
  TQtCanvas canvas(live);
  auto fresh = [&postil] {
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(Qt::white);
    TQtCanvas other(image);
    postil.Paint(other, 0, 0, 1);
    other.EndPaint();
    return image;
  };
  auto shown = [&] {
    live.fill(Qt::white);
    postil.Paint(canvas, 0, 0, 1);
    canvas.EndPaint();
    return live;
  };
  postil.BeginDraw();
  postil.AddPointM(20, 100, 255, 4, 0, 0, 1);
  for (int i = 1; i < 12; ++i) {
    postil.AddPointL(20 + 12 * i, 100 + (i % 3) * 9, 255, 4 + i % 2, 0, 0, 1);
    EXPECT_EQ(shown(), fresh()) << i;
  }
  postil.EndDraw();
  EXPECT_EQ(shown(), fresh());
  postil.Undo();
  EXPECT_EQ(shown(), fresh());
  postil.Redo();
  EXPECT_EQ(shown(), fresh());
  postil.setLeftOffset(15);
  EXPECT_EQ(shown(), fresh());
}

TEST(PostilPaint, StrokesAfterPaintsOfNoneShowAsAFreshLayerShowsThem) {
  // Painted with no strokes (scrolled between), then a stroke grows, then
  // every stroke is undone and another drawn.
  TQvPostil postil;
  QImage live(200, 150, QImage::Format_RGB32);
  TQtCanvas canvas(live);
  auto paint = [&postil](TQtCanvas& on, QImage& image, int32_t vPos) {
    image.fill(Qt::white);
    postil.Paint(on, 0, vPos, 1);
    on.EndPaint();
    return image;
  };
  auto fresh = [&](int32_t vPos) {
    QImage image(200, 150, QImage::Format_RGB32);
    TQtCanvas other(image);
    return paint(other, image, vPos);
  };
  QImage blank(200, 150, QImage::Format_RGB32);
  blank.fill(Qt::white);
  for (const int32_t vPos : {0, 20, 0}) EXPECT_EQ(paint(canvas, live, vPos), blank) << vPos;
  postil.BeginDraw();
  postil.AddPointM(20, 100, 255, 4, 0, 0, 1);
  for (int i = 1; i < 6; ++i) {
    postil.AddPointL(20 + 12 * i, 100 + (i % 3) * 9, 255, 4, 0, 0, 1);
    EXPECT_EQ(paint(canvas, live, 0), fresh(0)) << i;
  }
  postil.EndDraw();
  postil.Undo();
  EXPECT_EQ(paint(canvas, live, 0), blank);
  EXPECT_EQ(paint(canvas, live, 10), blank);
  postil.BeginDraw();
  postil.AddPointM(30, 40, 255, 3, 0, 0, 1);
  postil.AddPointL(90, 60, 255, 3, 0, 0, 1);
  EXPECT_EQ(paint(canvas, live, 0), fresh(0));
  EXPECT_NE(fresh(0), blank);
}

TEST(PostilPaint, OnlyVisibleRunsAreDrawn) {
  TQvPostil postil;
  postil.loadPostil({"QPM;0;0", "QPL;5;0", "QPM;0;5000", "QPL;5;5000"});
  TRecordingCanvas canvas;
  canvas.IntersectClipRect({0, 0, 100, 100});
  postil.Paint(canvas, 0, 0, 1);
  EXPECT_EQ(canvas.Strings(TCanvasOp::LineF), (std::vector<std::string>{"LineF 0,0-5,0 w0 $000000"}));
}

TEST(PostilSeals, PlacedSealsDrawCentredAndMasked) {
  TQvPostil postil;
  std::unique_ptr<TBitmap> bmp = SealBitmap(100, 60);
  TBitmap* picture = bmp.get();
  EXPECT_TRUE(postil.PutBmp("seal", bmp));
  EXPECT_FALSE(bmp);
  EXPECT_TRUE(postil.AddTuZhang("seal", "ann", "2026-12-10", 200, 150, 0, 0, 1));
  EXPECT_EQ(postil.NewPostil().back(), "QPT;200;150;seal;ann;2026-12-10");
  TRecordingCanvas canvas;
  postil.Paint(canvas, 0, 0, 1);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Draw 150,120 TBitmap 100x60"}));
  EXPECT_TRUE(picture->Transparent());
  EXPECT_EQ(picture->TransparentMode(), tmAuto);
  // On a real surface its white border leaves the page visible.
  QImage page(400, 300, QImage::Format_RGB32);
  page.fill(QColor(0, 0, 0));
  {
    TQtCanvas qt(page);
    postil.Paint(qt, 0, 0, 1);
  }
  EXPECT_EQ(page.pixelColor(150, 120), QColor(0, 0, 0));   // white corner: masked
  EXPECT_EQ(page.pixelColor(200, 150), QColor(255, 0, 0));  // the seal itself
  EXPECT_EQ(page.pixelColor(249, 179), QColor(0, 0, 0));
}

TEST(PostilSeals, PicturesByIdFirstComesFirst) {
  TQvPostil postil;
  std::unique_ptr<TBitmap> first = SealBitmap(10, 10), second = SealBitmap(20, 20);
  EXPECT_TRUE(postil.PutBmp("a", first));
  EXPECT_FALSE(postil.PutBmp("a", second));
  ASSERT_TRUE(second);  // left to its caller
  TMemoryStream file = BitmapFile(*second);
  EXPECT_FALSE(postil.PutBmp("a", file));
  EXPECT_EQ(postil.GetBmp("a")->Width(), 10);
  TMemoryStream junk(std::vector<uint8_t>{'B', 'M', 1, 2, 3});
  EXPECT_FALSE(postil.PutBmp("b", junk));
  TMemoryStream good = BitmapFile(*second);
  EXPECT_TRUE(postil.PutBmp("b", good));  // a bad attempt does not block a good one
  for (const char* bad : {"x;y", "x\ry", "x\ny"}) {
    TMemoryStream again = BitmapFile(*second);
    EXPECT_FALSE(postil.PutBmp(bad, again)) << bad;
    EXPECT_FALSE(postil.AddTuZhang(bad, "u", "d", 0, 0, 0, 0, 1)) << bad;
  }
  EXPECT_TRUE(postil.NewPostil().empty());
}

TEST(PostilSeals, IdsAndPictureLinesOfASave) {
  TQvPostil postil;
  std::unique_ptr<TBitmap> bmp = SealBitmap(8, 6);
  postil.PutBmp("seal", bmp);
  TMemoryStream file = BitmapFile(*postil.GetBmp("seal"));
  const std::string hex = StrToHexOf(file);
  postil.loadPostil({"QPT;1;2;old;u;d", "QPTDATA;1;2;old;" + hex});
  EXPECT_TRUE(postil.GetBmp("old"));
  postil.AddTuZhang("seal", "u", "d", 5, 6, 0, 0, 1);
  postil.AddTuZhang("seal", "u", "d", 7, 8, 0, 0, 1);
  postil.AddTuZhang("nothing", "u", "d", 7, 8, 0, 0, 1);
  EXPECT_EQ(postil.GetBmpIDs(), ";old;seal;seal;nothing");
  std::vector<std::string> saved;
  postil.Save(saved);
  // The loaded picture line is not copied again, one line serves both new
  // seals, and a seal without a picture gets none.
  std::vector<std::string> pictures;
  for (const std::string& line : saved)
    if (line.rfind("QPTDATA;", 0) == 0) pictures.push_back(line);
  EXPECT_EQ(pictures, (std::vector<std::string>{"QPTDATA;1;2;old;" + hex, "QPTDATA;5;6;seal;" + hex}));
}

TEST(PostilSeals, ADocumentsPicturesGoWithIt) {
  TQvPostil postil;
  std::unique_ptr<TBitmap> host = SealBitmap(8, 6);
  postil.PutBmp("host", host);
  TMemoryStream file = BitmapFile(*postil.GetBmp("host"));
  postil.loadPostil({"QPT;1;2;doc;u;d", "QPTDATA;1;2;doc;" + StrToHexOf(file)});
  ASSERT_TRUE(postil.GetBmp("doc"));
  postil.loadPostil({"QPT;1;2;doc;u;d", "QPT;1;2;host;u;d"});
  EXPECT_FALSE(postil.GetBmp("doc"));
  EXPECT_TRUE(postil.GetBmp("host"));  // the host's pictures stay, and show at once
  TRecordingCanvas canvas;
  postil.Paint(canvas, 0, 0, 1);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Draw -3,-1 TBitmap 8x6"}));
}

TEST(PostilSeals, RunLengthSealText) {
  TQvPostil postil;
  std::unique_ptr<TBitmap> bmp = SealBitmap(8, 6);
  TMemoryStream file = BitmapFile(*bmp);
  // Every byte once: "XX01".
  std::string text;
  for (char c : StrToHexOf(file)) {
    text += c;
    if (text.size() % 4 == 2) text += "01";
  }
  EXPECT_TRUE(postil.PutBmpText("seal", text));
  EXPECT_EQ(postil.GetBmp("seal")->Height(), 6);
  EXPECT_FALSE(postil.PutBmpText("other", "GG01"));
  EXPECT_FALSE(postil.PutBmpText("other", "4201"));
  EXPECT_FALSE(postil.GetBmp("other"));
}

}  // namespace
}  // namespace quillet::test
