#include <gtest/gtest.h>

#include "platform/gfx/recording_canvas.h"
#include "postil_test_support.h"

namespace quillet::test {
namespace {

std::vector<std::string> Printed(TQvPostil& postil, const TPostilPageSpan& page, const TRect& area = {100, 200, 4900, 6800}) {
  TRecordingCanvas canvas(600);
  postil.PrintPaint(canvas, area, page);
  std::vector<std::string> out;
  for (const TCanvasRecord& r : canvas.Log()) {
    const bool line = r.Kind == TCanvasOp::Line || r.Kind == TCanvasOp::Polyline;
    out.push_back(r.ToString() + (line ? " w" + std::to_string(r.Pen.Width) : ""));
  }
  return out;
}

// Records loaded alone, with seal "s" at hand, and what page prints of them.
struct PageCase {
  const char* name;
  std::vector<std::string> lines;
  std::vector<std::string> printed;
};

void ExpectPrinted(const TPostilPageSpan& page, const std::vector<PageCase>& cases) {
  for (const PageCase& c : cases) {
    TQvPostil postil;
    std::unique_ptr<TBitmap> bmp = SealBitmap(16, 24);
    postil.PutBmp("s", bmp);
    postil.loadPostil(c.lines);
    EXPECT_EQ(Printed(postil, page), c.printed) << c.name;
  }
}

TEST(PostilPrint, ScreenPixelsBecomePrinterPixels) {
  TQvPostil postil;
  postil.loadPostil({"QPP;255;2", "QPM;96;0", "QPL;96;10", "QPP;255;1.5", "QPL;0;10"});
  // 2 * 600 / 96 = 12.5 goes to the even 12; 1.5 is first taken to 2.
  EXPECT_EQ(Printed(postil, {}), (std::vector<std::string>{"Polyline 700,200 700,263 100,263 w12"}));
}

TEST(PostilPrint, APageShowsOnlyItsOwnHeights) {
  // Page 2 prints view heights 1000 to 2000, its first line (view y 1010)
  // 40 printer pixels below the print area's top.
  const TPostilPageSpan page2{1000, 2000, 1010, 40};
  ExpectPrinted(page2, {
      {"a stroke on page 1", {"QPM;0;10", "QPL;10;20"}, {}},
      {"crossing into page 2: the crossing segment is left out",
       {"QPM;0;990", "QPL;0;1010", "QPL;0;1026"}, {"Polyline 100,240 100,340 w0"}},
      {"leaving page 2", {"QPM;0;1994", "QPL;0;2004"}, {}},
      {"a seal on page 2", {"QPT;48;1010;s;u;d"}, {"StretchDraw 350,165,450,315 TBitmap 16x24"}},
  });
}

TEST(PostilPrint, StrokesPrintInRecordOrderAndDamageBreaksOnlyWhereItIs) {
  // Page 2 prints view heights 1000 to 2000 from the print area's top:
  // view y 1100 lands at 200 + 100 * 600 / 96 = 825.
  const TPostilPageSpan page2{1000, 2000, 1000, 0};
  ExpectPrinted(page2, {
      {"a stroke drawn upwards keeps its order",
       {"QPM;0;1900", "QPL;0;1500", "QPL;0;1100"},
       {"Polyline 100,5825 100,3325 100,825 w0"}},
      {"a damaged pen-down ends the stroke before it",
       {"QPM;0;1100", "QPL;0;1200", "QPM;x;1300", "QPL;0;1400", "QPL;0;1500"},
       {"Polyline 100,825 100,1450 w0", "Polyline 100,2700 100,3325 w0"}},
      {"a damaged point is passed over",
       {"QPM;0;1100", "QPL;0;1200", "QPL;y;1300", "QPL;0;1400"},
       {"Polyline 100,825 100,1450 100,2700 w0"}},
      {"two strokes at the same heights print one after the other",
       {"QPP;255;1", "QPM;0;1100", "QPL;0;1200", "QPP;0;2", "QPM;96;1100", "QPL;96;1200"},
       {"Polyline 100,825 100,1450 w6", "Polyline 700,825 700,1450 w12"}},
      {"a pen changed in a stroke draws on from where the old pen ended",
       {"QPP;255;1", "QPM;0;1100", "QPL;0;1200", "QPP;255;2", "QPL;0;1300"},
       {"Polyline 100,825 100,1450 w6", "Polyline 100,1450 100,2075 w12"}},
      {"a seal in a stroke goes over the lines before it",
       {"QPM;0;1100", "QPL;0;1200", "QPT;48;1300;s;u;d", "QPL;0;1400"},
       {"Polyline 100,825 100,1450 w0", "StretchDraw 350,2000,450,2150 TBitmap 16x24",
        "Polyline 100,1450 100,2700 w0"}},
      {"a tap in one place leaves no ink", {"QPP;255;3", "QPM;0;1100", "QPL;0;1100"}, {}},
  });
}

TEST(PostilPrint, PrintFollowsEveryChangeOfTheDrawing) {
  const TPostilPageSpan page3{2000, 3000, 2000, 0};
  TQvPostil postil;
  WithFixedDate(postil);
  DrawStroke(postil, {{10, 2100, 2}, {40, 2150, 2}});
  const std::vector<std::string> one = Printed(postil, page3);
  ASSERT_FALSE(one.empty());
  DrawStroke(postil, {{10, 2500, 2}, {40, 2550, 2}, {80, 2600, 2}});
  const std::vector<std::string> two = Printed(postil, page3);
  EXPECT_GT(two.size(), one.size());
  postil.Undo();
  EXPECT_EQ(Printed(postil, page3), one) << "undone";
  postil.Redo();
  EXPECT_EQ(Printed(postil, page3), two) << "redone";

  // Printed while the pen is down, then smoothed at pen-up: the page shows
  // the smoothed stroke, as a copy read from the saved records does.
  postil.BeginDraw();
  postil.AddPointM(10, 2700, 255, 2, 0, 0, 1);
  for (int i = 1; i < 8; ++i) postil.AddPointL(10 + 9 * i, 2700 + (i % 2) * 30, 255, 2, 0, 0, 1);
  const std::vector<std::string> drawing = Printed(postil, page3);
  postil.EndDraw();
  std::vector<std::string> saved;
  postil.Save(saved);
  TQvPostil copy;
  copy.loadPostil(saved);
  EXPECT_NE(Printed(postil, page3), drawing);
  EXPECT_EQ(Printed(postil, page3), Printed(copy, page3)) << "smoothed";

  postil.loadPostil({"QPM;0;2100", "QPL;0;2200"});
  EXPECT_EQ(Printed(postil, page3), (std::vector<std::string>{"Polyline 100,825 100,1450 w0"})) << "loaded";
  postil.clear();
  EXPECT_TRUE(Printed(postil, page3).empty()) << "cleared";
}

TEST(PostilPrint, SavedAndNewStrokesLandAlike) {
  const TPostilPageSpan page3{2000, 3000, 2000, 0};
  TQvPostil drawn;
  drawn.Today = [] { return std::string("d"); };
  DrawStroke(drawn, {{10, 2100, 2}, {40, 2150, 2}});
  std::vector<std::string> saved;
  drawn.Save(saved);
  TQvPostil reloaded;
  reloaded.loadPostil(saved);
  ASSERT_FALSE(Printed(drawn, page3).empty());
  EXPECT_EQ(Printed(drawn, page3), Printed(reloaded, page3));
}

}  // namespace
}  // namespace quillet::test
