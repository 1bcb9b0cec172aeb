#include <gtest/gtest.h>

#include "platform/gfx/recording_canvas.h"
#include "postil_test_support.h"

namespace quillet::test {
namespace {

std::vector<std::string> Printed(TQvPostil& postil, const TPostilPageSpan& page, const TRect& area = {100, 200, 4900, 6800}) {
  TRecordingCanvas canvas(600);
  postil.PrintPaint(canvas, area, page);
  std::vector<std::string> out;
  for (const TCanvasRecord& r : canvas.Log()) out.push_back(r.ToString() + (r.Kind == TCanvasOp::Line ? " w" + std::to_string(r.Pen.Width) : ""));
  return out;
}

TEST(PostilPrint, ScreenPixelsBecomePrinterPixels) {
  TQvPostil postil;
  postil.loadPostil({"QPP;255;2", "QPM;96;0", "QPL;96;10", "QPP;255;1.5", "QPL;0;10"});
  // 2 * 600 / 96 = 12.5 goes to the even 12; 1.5 is first taken to 2.
  EXPECT_EQ(Printed(postil, {}), (std::vector<std::string>{"Line 700,200-700,263 w12", "Line 700,263-100,263 w12"}));
}

TEST(PostilPrint, APageShowsOnlyItsOwnHeights) {
  // Page 2 prints view heights 1000 to 2000, its first line (view y 1010)
  // 40 printer pixels below the print area's top.
  const TPostilPageSpan page2{1000, 2000, 1010, 40};
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> printed;
  };
  const Case cases[] = {
      {"a stroke on page 1", {"QPM;0;10", "QPL;10;20"}, {}},
      {"crossing into page 2: the crossing segment is left out",
       {"QPM;0;990", "QPL;0;1010", "QPL;0;1026"}, {"Line 100,240-100,340 w0"}},
      {"leaving page 2", {"QPM;0;1994", "QPL;0;2004"}, {}},
      {"a seal on page 2", {"QPT;48;1010;s;u;d"}, {"StretchDraw 350,165,450,315 TBitmap 16x24"}},
  };
  for (const Case& c : cases) {
    TQvPostil postil;
    std::unique_ptr<TBitmap> bmp = SealBitmap(16, 24);
    postil.PutBmp("s", bmp);
    postil.loadPostil(c.lines);
    EXPECT_EQ(Printed(postil, page2), c.printed) << c.name;
  }
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
