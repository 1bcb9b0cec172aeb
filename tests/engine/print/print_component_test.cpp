// The print component on the fake printer: jobs, copies and collation,
// failures, margins, the page event and the drawing of split items.
#include <gtest/gtest.h>

#include "engine/base/doc_view_error.h"
#include "engine/model/picture_item.h"
#include "platform/core/arith.h"
#include "platform/gfx/graphic.h"
#include "engine/view/docview.h"
#include "platform/gfx/recording_canvas.h"
#include "print_test_data.h"

namespace quillet::test {
namespace {

// Two pages of three lines (body 40) unless built otherwise.
struct Printing {
  explicit Printing(TFakePrinterSetup setup = ScreenPrinter(200, 40)) : printer(setup), print(printer) {
    print.SetLeftMarginMM(0);
    print.SetRightMarginMM(0);
    print.SetTopMarginMM(0);
    print.SetBottomMarginMM(0);
    print.OnSendingToPrinter = [this](TCustomPrintableDV&, int page, TDVPrintingStep step) {
      sent.push_back(step == dvpsStarting ? "start" : step == dvpsFinished ? "finish" : std::to_string(page));
    };
    print.OnFormatting = [this](TCustomPrintableDV&, int page, TDVPrintingStep step) {
      formatting.push_back(step == dvpsStarting   ? "start"
                           : step == dvpsFinished ? "finish " + std::to_string(page)
                                                  : std::to_string(page));
    };
  }
  int Format(const std::string& letters = "abcdef") {
    doc.AddLines(letters);
    print.AssignSource(&doc);
    return print.FormatPages();
  }
  PrintDoc doc;
  TFakePrinterDevice printer;
  TDVPrint print;
  std::vector<std::string> sent, formatting;
};

struct CopiesCase {
  const char* name;
  int copies;
  bool collate, deviceCopies;
  std::vector<std::string> sent;  // pages drawn, in order
  std::string begin;              // the job's BeginDoc call
};

class Copies : public testing::TestWithParam<CopiesCase> {};

TEST_P(Copies, PagesAndNewPageCalls) {
  const CopiesCase& c = GetParam();
  TFakePrinterSetup setup = ScreenPrinter(200, 40);
  setup.CanCopy = c.deviceCopies;
  Printing p(setup);
  ASSERT_EQ(p.Format(), 2);
  p.printer.SetCopies(7);
  p.print.Print("doc", c.copies, c.collate);
  std::vector<std::string> expected{"start"};
  expected.insert(expected.end(), c.sent.begin(), c.sent.end());
  expected.push_back("finish");
  EXPECT_EQ(p.sent, expected);
  // One new sheet between two pages, none after the last.
  std::vector<std::string> calls{c.begin};
  for (size_t k = 1; k < c.sent.size(); ++k) calls.push_back("NewPage");
  calls.push_back("EndDoc");
  EXPECT_EQ(p.printer.Calls(), calls);
  EXPECT_EQ(p.printer.Pages().size(), c.sent.size());
  EXPECT_EQ(p.printer.Copies(), 7);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Copies,
    testing::Values(
        CopiesCase{"OneCopy", 1, false, false, {"1", "2"}, "BeginDoc \"doc\" copies=1 collate=0"},
        CopiesCase{"RepeatedCollated", 2, true, false, {"1", "2", "1", "2"}, "BeginDoc \"doc\" copies=1 collate=1"},
        CopiesCase{"RepeatedUncollated", 2, false, false, {"1", "1", "2", "2"}, "BeginDoc \"doc\" copies=1 collate=0"},
        CopiesCase{"DeviceCopiesCollated", 3, true, true, {"1", "2"}, "BeginDoc \"doc\" copies=3 collate=1"},
        CopiesCase{"DeviceCopiesUncollated", 3, false, true, {"1", "2"}, "BeginDoc \"doc\" copies=3 collate=0"},
        CopiesCase{"NoCopiesCountsAsOne", 0, true, false, {"1", "2"}, "BeginDoc \"doc\" copies=1 collate=1"}),
    [](const testing::TestParamInfo<CopiesCase>& info) { return std::string(info.param.name); });

TEST(PrintJob, ErrorInTheMiddleAbortsAndRestoresCopies) {
  Printing p;
  ASSERT_EQ(p.Format(), 2);
  p.printer.SetCopies(5);
  p.printer.SetCollate(false);
  p.print.OnPagePrepaint = [](TDVPrint&, int pageNo, TCanvas&, bool, const TRect&, const TRect&) {
    if (pageNo == 2) throw std::runtime_error("out of paper");
  };
  EXPECT_THROW(p.print.Print("doc", 2, true), std::runtime_error);
  EXPECT_EQ(p.printer.Calls(), (std::vector<std::string>{"BeginDoc \"doc\" copies=1 collate=1", "NewPage", "Abort"}));
  EXPECT_TRUE(p.printer.Aborted());
  EXPECT_FALSE(p.printer.Printing());
  EXPECT_TRUE(p.printer.Pages().empty());
  EXPECT_EQ(p.printer.Copies(), 5);
  EXPECT_FALSE(p.printer.Collate());
  // The host's progress still hears the end.
  EXPECT_EQ(p.sent, (std::vector<std::string>{"start", "1", "finish"}));
  // The printer is free for the next job.
  p.print.OnPagePrepaint = nullptr;
  p.print.Print("doc", 1, false);
  EXPECT_EQ(p.printer.Pages().size(), 2u);
}

TEST(PrintJob, BadRangesAndEmptyDocumentsAreRefusedBeforeTheJob) {
  for (auto [first, last] : {std::pair{0, 1}, {1, 3}, {2, 1}, {3, 3}, {-1, -1}}) {
    Printing p;
    ASSERT_EQ(p.Format(), 2);
    EXPECT_THROW(p.print.PrintPages(first, last, "doc", 1, false), EDocViewError) << first << ".." << last;
    EXPECT_TRUE(p.printer.Calls().empty());
    EXPECT_TRUE(p.sent.empty());
  }
  Printing empty;
  EXPECT_EQ(empty.Format(""), 0);
  try {
    empty.print.Print("doc", 1, false);
    FAIL() << "an empty document printed";
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), "Invalid page number is specified for printing");
  }
  EXPECT_TRUE(empty.printer.Calls().empty());
}

TEST(Formatting, EventsComeInPairs) {
  Printing p;
  EXPECT_EQ(p.Format(), 2);
  EXPECT_EQ(p.formatting, (std::vector<std::string>{"start", "0", "1", "2", "finish 2"}));
  Printing empty;
  EXPECT_EQ(empty.Format(""), 0);
  EXPECT_EQ(empty.formatting, (std::vector<std::string>{"start", "finish 0"}));
  EXPECT_TRUE(empty.print.Ready);
  EXPECT_EQ(empty.print.EndAt(), 0);
}

TEST(Formatting, IdWrapsAt10000) {
  Printing p;
  p.Format("a");
  EXPECT_EQ(p.print.FormattingID, 1);
  p.print.FormattingID = 9999;
  p.print.FormatPages();
  EXPECT_EQ(p.print.FormattingID, 0);
}

TEST(Formatting, EndAtIsTheHeightUsedOnTheLastPage) {
  Printing p;
  EXPECT_EQ(p.Format("abcde"), 2);
  EXPECT_EQ(p.print.EndAt(), 26);
}

struct MarginCase {
  const char* name;
  TFakePrinterSetup setup;
  int32_t mm;
  int32_t lm, tm, rm, bm;  // printer pixels from the printable area
};

TFakePrinterSetup A4(int32_t ppiX, int32_t ppiY, int32_t offX, int32_t offY) {
  TFakePrinterSetup s;
  s.PixelsPerInchX = ppiX;
  s.PixelsPerInchY = ppiY;
  s.PhysicalWidth = MulDiv(210, ppiX * 5, 127);
  s.PhysicalHeight = MulDiv(297, ppiY * 5, 127);
  s.PhysicalOffsetX = offX;
  s.PhysicalOffsetY = offY;
  s.PageWidth = s.PhysicalWidth - 2 * offX;
  s.PageHeight = s.PhysicalHeight - 2 * offY;
  return s;
}

class Margins : public testing::TestWithParam<MarginCase> {};

TEST_P(Margins, MillimetresLessThePhysicalOffsets) {
  const MarginCase& c = GetParam();
  Printing p(c.setup);
  p.print.SetLeftMarginMM(c.mm);
  p.print.SetRightMarginMM(c.mm);
  p.print.SetTopMarginMM(c.mm);
  p.print.SetBottomMarginMM(c.mm);
  p.Format("a");
  const TCustomMainPtblDVData& d = p.print.DocView().DVData();
  EXPECT_EQ(d.TmpLM, c.lm);
  EXPECT_EQ(d.TmpTM, c.tm);
  EXPECT_EQ(d.TmpRM, c.rm);
  EXPECT_EQ(d.TmpBM, c.bm);
  EXPECT_EQ(d.ClientWidth, c.setup.PageWidth - c.lm - c.rm);
  EXPECT_EQ(d.ClientHeight, c.setup.PageHeight - c.tm - c.bm);
}

INSTANTIATE_TEST_SUITE_P(Table, Margins,
                         testing::Values(
                             // 20 mm at 600 dpi = 472 pixels, less 100 unprintable.
                             MarginCase{"A4At600WithOffsets", TFakePrinterSetup{}, 20, 372, 372, 372, 372},
                             MarginCase{"NoOffsets", A4(600, 600, 0, 0), 20, 472, 472, 472, 472},
                             MarginCase{"ResolutionsDiffer", A4(600, 300, 100, 50), 20, 372, 186, 372, 186},
                             // Smaller than the unprintable border: 0, never negative.
                             MarginCase{"InsideTheUnprintableBorderClampToZero", TFakePrinterSetup{}, 2, 0, 0, 0, 0},
                             MarginCase{"NegativeCountsAsZero", TFakePrinterSetup{}, -5, 0, 0, 0, 0}),
                         [](const testing::TestParamInfo<MarginCase>& info) { return std::string(info.param.name); });

TEST(Margins, LargerThanThePageAreRefused) {
  for (auto [lr, tb] : {std::pair{110, 20}, {20, 150}, {300, 300}}) {
    Printing p{TFakePrinterSetup{}};
    p.print.SetLeftMarginMM(lr);
    p.print.SetRightMarginMM(lr);
    p.print.SetTopMarginMM(tb);
    p.print.SetBottomMarginMM(tb);
    try {
      p.Format("abc");
      FAIL() << lr << " " << tb;
    } catch (const EDocViewError& e) {
      EXPECT_STREQ(e.what(), "Page margins leave no room for the text");
    }
    EXPECT_EQ(p.formatting, (std::vector<std::string>{"start", "finish 0"}));
    EXPECT_EQ(p.print.PagesCount(), 0);
    EXPECT_FALSE(p.print.Ready);
  }
}

// The page event's rectangles and where the body lands, per page.
struct PrepaintLog {
  std::vector<std::string> events;
  void Bind(TDVPrint& print, TRecordingCanvas* canvas = nullptr) {
    print.OnPagePrepaint = [this, canvas](TDVPrint&, int pageNo, TCanvas&, bool preview, const TRect& page,
                                          const TRect& area) {
      std::string s =
          std::to_string(pageNo) + (preview ? " preview" : "") + " sheet " + Str(page) + " body " + Str(area);
      if (canvas) s += " after " + std::to_string(canvas->Log().size()) + " records";
      events.push_back(s);
    };
  }
  static std::string Str(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
  }
};

TEST(PagePrepaint, MirrorMarginsOnPages1To3) {
  // 30 mm left, 10 mm right at 600 dpi (709 and 236 pixels), 100 unprintable.
  Printing p{TFakePrinterSetup{}};
  p.print.SetLeftMarginMM(30);
  p.print.SetRightMarginMM(10);
  p.print.SetTopMarginMM(20);
  p.print.SetBottomMarginMM(20);
  p.print.SetMirrorMargins(true);
  p.doc.AddLines("abc");
  p.doc.data.GetItem(1)->SetPageBreakBefore(true);
  p.doc.data.GetItem(2)->SetPageBreakBefore(true);
  p.print.AssignSource(&p.doc);
  ASSERT_EQ(p.print.FormatPages(), 3);
  PrepaintLog log;
  log.Bind(p.print);
  p.print.Print("doc", 1, false);
  // Body 4761 - 609 - 136 = 4016 wide; the sheet begins 100 before the
  // printable area.
  EXPECT_EQ(log.events, (std::vector<std::string>{"1 sheet -100,-100,4861,6916 body 609,372,4625,6444",
                                                  "2 sheet -100,-100,4861,6916 body 136,372,4152,6444",
                                                  "3 sheet -100,-100,4861,6916 body 609,372,4625,6444"}));
  // The text follows its body.
  const auto pages = p.printer.Pages();
  ASSERT_EQ(pages.size(), 3u);
  std::vector<int32_t> lefts;
  for (const auto& page : pages)
    for (const TCanvasRecord& r : page)
      if (r.Kind == TCanvasOp::Text) lefts.push_back(r.Points[0].X);
  EXPECT_EQ(lefts, (std::vector<int32_t>{609, 136, 609}));
}

TEST(PagePrepaint, ComesAfterTheBackgroundAndBeforeTheText) {
  Printing p;
  p.print.ClipMargins = true;
  p.Format("ab");
  TRecordingCanvas& canvas = p.printer.Canvas();
  PrepaintLog log;
  log.Bind(p.print, &canvas);
  p.print.Print("doc", 1, false);
  ASSERT_EQ(log.events, (std::vector<std::string>{"1 sheet 0,0,200,40 body 0,0,200,40 after 1 records"}));
  const std::vector<std::string> page = [&] {
    std::vector<std::string> out;
    for (const TCanvasRecord& r : p.printer.Pages().at(0)) out.push_back(r.ToString());
    return out;
  }();
  ASSERT_GE(page.size(), 4u);
  EXPECT_EQ(page[0], "FillRect 0,0,200,40");  // the page colour
  EXPECT_EQ(page[1], "Clip 0,0,200,40");      // ClipMargins, after the event
  EXPECT_EQ(page[2], "Text 0,0 \"a\"");
  EXPECT_EQ(page[3], "Text 0,13 \"b\"");
}

TEST(PagePrepaint, TransparentBackgroundFillsNothing) {
  Printing p;
  p.print.SetTransparentBackground(true);
  p.Format("a");
  p.print.Print("doc", 1, false);
  ASSERT_FALSE(p.printer.Pages().at(0).empty());
  EXPECT_EQ(p.printer.Pages().at(0)[0].Kind, TCanvasOp::Text);
}

// Every part of a split item is drawn once, on its own page, at the body's
// top when it continues there; the text after it follows the last part.
struct SplitDrawCase {
  const char* name;
  std::vector<int32_t> rows;
  bool refuseTall;
  std::vector<std::string> pages;  // per page: the parts drawn, then the text
};

class SplitDrawing : public testing::TestWithParam<SplitDrawCase> {};

TEST_P(SplitDrawing, EveryPartOnceInOrder) {
  const SplitDrawCase& c = GetParam();
  Printing p;
  std::vector<std::string> log;
  p.doc.AddLines("a");
  auto rows = std::make_unique<RowsItem>(&p.doc.data, c.rows, c.refuseTall);
  rows->Log = &log;
  p.doc.data.AddItem("", std::move(rows));
  p.doc.AddLines("b");
  p.print.AssignSource(&p.doc);
  const int count = p.print.FormatPages();
  std::vector<std::string> drawn;
  for (int page = 1; page <= count; ++page) {
    log.clear();
    TRecordingCanvas canvas;
    p.print.DocView().DrawPage(page, canvas, false, false);
    std::string s;  // the parts logged, then the canvas's texts and clips
    for (const std::string& e : log) s += (s.empty() ? "" : " ") + e;
    for (const TCanvasRecord& r : canvas.Log())
      if (r.Kind == TCanvasOp::Text || r.Kind == TCanvasOp::Clip) s += (s.empty() ? "" : " ") + r.ToString();
    drawn.push_back(s);
  }
  EXPECT_EQ(drawn, c.pages);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitDrawing,
    testing::Values(
        // Bodies of 40 under "a" (13): 20 fits under it, 30 on the next
        // page, the 25 left on the third with "b" under it.
        SplitDrawCase{"PartsAndTextAfter",
                      {20, 30, 20, 5},
                      false,
                      {"part 0 at 13 Text 0,0 \"a\"", "part 1 at 0", "part 2 at 0 Text 0,25 \"b\""}},
        // The 60 row is cut at 40 and its rest goes with the 5 row; the last
        // row and "b" make the last page.
        SplitDrawCase{"RowCutInside",
                      {30, 60, 5, 20},
                      false,
                      {"Text 0,0 \"a\"", "part 0 at 0", "part 1 at 0", "part 2 at 0", "part 3 at 0 Text 0,20 \"b\""}},
        // A refused cut: the 85 left stands alone, clipped to the body.
        SplitDrawCase{"RefusedCutClipped",
                      {30, 60, 5, 20},
                      true,
                      {"Text 0,0 \"a\"", "part 0 at 0", "part 1 at 0 Clip 0,0,200,40", "Text 0,0 \"b\""}}),
    [](const testing::TestParamInfo<SplitDrawCase>& info) { return std::string(info.param.name); });

TEST(SplitItems, TallPictureOverSeveralPages) {
  Printing p;
  p.doc.AddLines("a");
  auto picture = std::make_unique<TDVGraphicItemInfo>(&p.doc.data, std::make_unique<TBitmap>(10, 100), dvvaBaseline);
  picture->MinHeightOnPage = 1;
  p.doc.data.AddItem("", std::move(picture));
  p.print.AssignSource(&p.doc);
  ASSERT_EQ(p.print.FormatPages(), 3);
  p.print.Print("doc", 1, false);
  std::vector<std::string> slices;
  for (const auto& page : p.printer.Pages())
    for (const TCanvasRecord& r : page)
      if (r.Kind == TCanvasOp::StretchDraw) slices.push_back(r.ToString());
  // 27 under "a", 40 on the next page, the 33 left on the third.
  EXPECT_EQ(slices,
            (std::vector<std::string>{"StretchDraw 0,13,12,40 TBitmap 12x27", "StretchDraw 0,0,12,40 TBitmap 12x40",
                                      "StretchDraw 0,0,12,33 TBitmap 12x33"}));
}

TEST(DrawPage, WithoutAStyleSheetOrWithABadPageNumberRaises) {
  Printing p;
  p.Format("ab");
  TRecordingCanvas canvas;
  for (int page : {0, 2, -1}) EXPECT_THROW(p.print.DocView().DrawPage(page, canvas, false, false), EDocViewError);
  p.print.AssignSource(nullptr);
  p.print.FormatPages();
  try {
    p.print.DocView().DrawPage(1, canvas, false, false);
    FAIL();
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), "Style of printable TDocView component is not assigned");
  }
}

TEST(DrawPage, ParagraphBackgroundAndBorderSpanThePagePart) {
  Printing p;
  const int para = p.doc.AddPara();
  TParaInfo& style = p.doc.sheet.ParaStyles()[para];
  style.Background().Color = clYellow;
  style.Border().Style = dvbSingle;
  style.Border().Color = clRed;
  // One paragraph of five lines: three on page 1, two on page 2.
  p.doc.data.AddNL("a", 0, para);
  for (char c : std::string("bcde")) {
    p.doc.data.AddNL(std::string(1, c), 0, para);
    p.doc.data.GetItem(p.doc.data.ItemCount() - 1)->SetBR(true);
  }
  p.print.AssignSource(&p.doc);
  ASSERT_EQ(p.print.FormatPages(), 2);
  for (int page : {1, 2}) {
    TRecordingCanvas canvas;
    p.print.DocView().DrawPage(page, canvas, false, false);
    // The background fills to the right and bottom edges where the border lies.
    const std::vector<std::string> rects = canvas.Strings(TCanvasOp::Rectangle);
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0], page == 1 ? "Rectangle 0,0,201,40" : "Rectangle 0,0,201,27");
    EXPECT_FALSE(canvas.Strings(TCanvasOp::Line).empty() && rects.size() < 2);
  }
}


// Each drawing item as "offs+len@left,top/height", from the first one's place.
std::vector<std::string> LaidOutPieces(const TCustomDVFormattedData& data) {
  std::vector<std::string> out;
  const TDVDrawLineInfo* first = data.DrawItems[0];
  for (int i = 0; i < data.DrawItems.Count(); ++i) {
    const TDVDrawLineInfo* d = data.DrawItems[i];
    out.push_back(std::to_string(d->Offs) + "+" + std::to_string(d->Length) + "@" +
                  std::to_string(d->Left - first->Left) + "," + std::to_string(d->Top - first->Top) + "/" +
                  std::to_string(d->Height));
  }
  return out;
}

// Paper at the screen's resolution and the viewer's width: the printed
// copy is laid out with the viewer's options, so its lines break at the
// same places, drop the same spaces and are as high as on screen.
TEST(PrintedLayout, LinesAsOnScreen) {
  TDVStyle sheet;
  TParaInfo& centred = sheet.ParaStyles().Add();
  centred.Alignment = dvaCenter;
  TDocView view(nullptr);
  view.SetStyle(&sheet);
  view.SetBounds(0, 0, 120, 400);
  view.Show();  // a hidden window keeps its first client size
  view.AddNL("words that wrap  at two spaces and one", 0, 0);
  view.AddNL("a centred line that wraps", 0, 1);
  TRecordingCanvas screen;
  view.Format_(false, true, false, screen);
  ASSERT_GT(view.DVData().DrawItems.Count(), 4) << view.ClientWidth() << " " << view.DVData().TextWidth;

  TFakePrinterDevice printer(ScreenPrinter(view.ClientWidth(), 2000));
  TDVPrint print(printer);
  for (const auto set : {&TDVPrint::SetLeftMarginMM, &TDVPrint::SetRightMarginMM, &TDVPrint::SetTopMarginMM,
                         &TDVPrint::SetBottomMarginMM})
    (print.*set)(0);
  print.AssignSource(&view);
  ASSERT_EQ(print.FormatPages(), 1);
  EXPECT_EQ(LaidOutPieces(print.PrintableDV().Data()), LaidOutPieces(view.DVData()));
}

}  // namespace
}  // namespace quillet::test
