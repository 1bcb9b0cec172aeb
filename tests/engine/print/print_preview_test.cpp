// The print preview control offscreen over a print component on the fake
// printer, and a page drawn through the preview mapping.
#include "engine/print/print_preview.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <map>

#include "platform/gfx/recording_canvas.h"
#include "print_test_data.h"

namespace quillet::test {
namespace {

struct PreviewFixture {
  explicit PreviewFixture(const std::string& letters = "abcdefgh", TFakePrinterSetup setup = ScreenPrinter(200, 40))
      : printer(setup), print(std::make_unique<TDVPrint>(printer)) {
    print->SetLeftMarginMM(0);
    print->SetRightMarginMM(0);
    print->SetTopMarginMM(0);
    print->SetBottomMarginMM(0);
    doc.AddLines(letters);
    print->AssignSource(&doc);
    print->FormatPages();
    preview.SetBounds(0, 0, 400, 300);
    preview.Show();
    preview.SetDVPrint(print.get());
  }
  PrintDoc doc;
  TFakePrinterDevice printer;
  std::unique_ptr<TDVPrint> print;
  TDVPrintPreview preview;
};

TEST(PrintPreview, ZoomCursorPointsWhereAClickGoes) {
  PreviewFixture f;
  struct Step {
    int zoom;
    TCursor cursor;
  };
  // 150 then 100: a click would enlarge again; 50 enlarges; 200 shrinks.
  for (Step s : {Step{150, crDVZoomOut}, Step{100, crDVZoomIn}, Step{50, crDVZoomIn}, Step{200, crDVZoomOut}}) {
    f.preview.SetZoom(s.zoom);
    EXPECT_EQ(f.preview.Cursor(), s.cursor) << s.zoom;
  }
}

TEST(PrintPreview, ClickTogglesBetween100AndTheZoomBefore) {
  PreviewFixture f;
  int changes = 0;
  f.preview.OnZoomChanged = [&](TCustomDVPrintPreview&) { ++changes; };
  f.preview.SetZoom(75);
  f.preview.Click();
  EXPECT_EQ(f.preview.ZoomPercent(), 100);
  EXPECT_EQ(f.preview.SavedZoomPercent(), 75);
  f.preview.Click();
  EXPECT_EQ(f.preview.ZoomPercent(), 75);
  EXPECT_EQ(changes, 3);
  // A real click on the control does the same.
  QTest::mouseClick(f.preview.ClientWidget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(f.preview.ZoomPercent(), 100);
}

TEST(PrintPreview, ScrollBarsPerZoomMode) {
  PreviewFixture f;
  f.preview.SetZoomMode(dvzmFullPage);
  EXPECT_FALSE(f.preview.ScrollBarVisible(sbVertical));
  EXPECT_FALSE(f.preview.ScrollBarVisible(sbHorizontal));
  // 400 wide: the 200-pixel sheet at page width is taller than the window.
  f.preview.SetBounds(0, 0, 400, 100);
  f.preview.SetZoomMode(dvzmPageWidth);
  EXPECT_TRUE(f.preview.ScrollBarVisible(sbVertical));
  EXPECT_FALSE(f.preview.ScrollBarVisible(sbHorizontal));
  f.preview.SetZoom(500);
  EXPECT_TRUE(f.preview.ScrollBarVisible(sbHorizontal));
  EXPECT_EQ(f.preview.PageWidth(), 1000);
  EXPECT_EQ(f.preview.PageHeight(), 200);
}

TEST(PrintPreview, ZoomStaysPositiveOnATinyWindow) {
  PreviewFixture f;
  f.preview.SetBounds(0, 0, 5, 5);
  f.preview.SetZoomMode(dvzmFullPage);
  EXPECT_GE(f.preview.ZoomPercent(), 1);
  f.preview.SetZoom(-20);
  EXPECT_EQ(f.preview.ZoomPercent(), 1);
  TRecordingCanvas canvas;
  f.preview.PaintTo(canvas);
}

TEST(PrintPreview, Navigation) {
  PreviewFixture f;  // 8 lines, 3 to a page
  ASSERT_EQ(f.preview.PageCount(), 3);
  f.preview.Last();
  EXPECT_EQ(f.preview.PageNo(), 3);
  f.preview.Next();
  EXPECT_EQ(f.preview.PageNo(), 3);
  f.preview.Prev();
  EXPECT_EQ(f.preview.PageNo(), 2);
  f.preview.First();
  f.preview.Prev();
  EXPECT_EQ(f.preview.PageNo(), 1);
}

// The page's place, its shadow, the page drawn through the mapping, frame
// and margins.
TEST(PrintPreview, PaintsThePageCentred) {
  PreviewFixture f;
  f.preview.MarginsPen.Style = psDot;
  f.preview.SetZoom(100);
  TRecordingCanvas canvas;
  f.preview.PaintTo(canvas);
  const int32_t w = std::max(f.preview.ClientWidth(), f.preview.XSize());
  const int32_t h = std::max(f.preview.ClientHeight(), f.preview.YSize());
  const TRect page = Bounds((w - 200) / 2 - f.preview.HPos(), (h - 40) / 2 - f.preview.VPos(), 200, 40);
  const auto rect = [](const char* kind, const TRect& r) {
    return std::string(kind) + " " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
           std::to_string(r.Right) + "," + std::to_string(r.Bottom);
  };
  std::vector<std::string> log = canvas.Strings();
  const auto has = [&](const std::string& s) { return std::find(log.begin(), log.end(), s) != log.end(); };
  TRect shadow = page;
  OffsetRect(shadow, 4, 4);
  EXPECT_TRUE(has(rect("FillRect", shadow)));
  EXPECT_TRUE(has(rect("Clip", page)));
  EXPECT_TRUE(has(rect("Mapping", Bounds(0, 0, 200, 40)) + " -> " + std::to_string(page.Left) + "," +
                  std::to_string(page.Top) + "," + std::to_string(page.Right) + "," + std::to_string(page.Bottom)));
  EXPECT_TRUE(has("Text 0,0 \"a\""));
  // The white page, the frame and the margins (none here: the body is the sheet).
  EXPECT_EQ(std::count(log.begin(), log.end(), rect("Rectangle", page)), 3);
}

TEST(PrintPreview, EmptyDocumentShowsAnEmptyPage) {
  PreviewFixture f("");
  ASSERT_EQ(f.print->PagesCount(), 0);
  f.preview.MarginsPen.Style = psDot;
  TRecordingCanvas canvas;
  f.preview.PaintTo(canvas);
  EXPECT_TRUE(canvas.Strings(TCanvasOp::Text).empty());
  EXPECT_EQ(canvas.Strings(TCanvasOp::FillRect).size(), 3u);  // background, shadow, the white page
}

// On screen, a page of a 600 dpi printer shows all its text at every zoom:
// the preview clips to the page before it maps the sheet onto it, and the
// clip must keep its place under the mapping when the page clips again.
TEST(PrintPreview, ShowsAllTheTextOfAHighResolutionPageOnScreen) {
  PreviewFixture f("abcdefghijklmnopqrstuvwxyz", TFakePrinterSetup{});
  f.doc.sheet.TextStyles()[0].Color = clRed;  // text, told apart from frame and shadow
  f.print->SetLeftMarginMM(20);
  f.print->SetTopMarginMM(20);
  f.print->ClipMargins = true;
  f.print->FormatPages();
  f.preview.SetBounds(0, 0, 900, 1200);
  std::map<int, int> inkHeight;
  for (const int zoom : {50, 100}) {
    f.preview.SetZoom(zoom);
    const QImage shown = f.preview.Widget()->grab().toImage();
    int top = shown.height(), bottom = -1;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (const QRgb c = shown.pixel(x, y); qRed(c) > 150 && qGreen(c) < 120 && qBlue(c) < 120) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    inkHeight[zoom] = bottom - top + 1;
  }
  // 26 lines of at least 10 pixels each at 100 %, half as tall at 50 %.
  EXPECT_GT(inkHeight[100], 26 * 10);
  EXPECT_NEAR(inkHeight[50] * 2, inkHeight[100], inkHeight[100] / 10);
}

TEST(PrintPreview, ForgetsAComponentThatGoes) {
  PreviewFixture f;
  f.print.reset();
  EXPECT_EQ(f.preview.DVPrint(), nullptr);
  TRecordingCanvas canvas;
  f.preview.PaintTo(canvas);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"FillRect 0,0," + std::to_string(f.preview.ClientWidth()) +
                                                        "," + std::to_string(f.preview.ClientHeight())}));
  f.preview.Last();
  f.preview.UpdateView();
}

// Text in the preview keeps the size it has on paper when the printer's two
// resolutions differ: fonts are sized at the vertical one, as on the printer.
TEST(DrawPreview, TextKeepsItsPaperSizeOnAnUnevenPrinter) {
  TFakePrinterSetup setup;
  setup.PixelsPerInchX = 600;
  setup.PixelsPerInchY = 300;
  setup.PhysicalWidth = 4961;
  setup.PhysicalHeight = 3508;
  setup.PageWidth = 4761;
  setup.PageHeight = 3408;
  setup.PhysicalOffsetY = 50;
  PreviewFixture f("ab", setup);
  f.print->Print("doc", 1, false);
  TCanvasRecord onPaper;
  for (const TCanvasRecord& r : f.printer.Pages().at(0))
    if (r.Kind == TCanvasOp::Text) onPaper = r;
  ASSERT_EQ(onPaper.Kind, TCanvasOp::Text);
  TRecordingCanvas canvas;
  f.print->PreviewCorrection = false;
  f.print->DrawPreview(1, canvas, Bounds(10, 10, 827, 585));
  const std::vector<TCanvasRecord> texts = canvas.OfKind(TCanvasOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].Font.PixelsPerInch, 300);
  EXPECT_EQ(texts[1].Font.Height, onPaper.Font.Height);
  EXPECT_EQ(texts[1].Points[0], onPaper.Points[0]);
  // The whole sheet maps onto the page, the printable area where it is on paper.
  EXPECT_EQ(canvas.Strings(TCanvasOp::Mapping).at(0), "Mapping -100,-50,4861,3458 -> 10,10,837,595");
  EXPECT_EQ(f.print->Preview100PercentWidth(), 794);
  EXPECT_EQ(f.print->Preview100PercentHeight(), 1123);
}

// A preview canvas whose text comes out one pixel wider per character than
// on paper, as screen fonts at small sizes do.
class WideScreenCanvas : public TRecordingCanvas {
 public:
  TSize TextExtentA(std::string_view text) override {
    TSize size = TRecordingCanvas::TextExtentA(text);
    if (HasMapping()) size.cx += static_cast<int32_t>(text.size());
    return size;
  }
};

// With correction, text is spread (here: drawn closer) to its width on paper.
TEST(DrawPreview, CorrectionSpreadsTextToItsPaperWidth) {
  PreviewFixture f("");
  f.doc.data.AddNL("abcd", 0, 0);
  f.print->AssignSource(&f.doc);
  f.print->FormatPages();
  ASSERT_EQ(f.print->DocView().DVData().DrawItems[0]->Width, 24);
  for (bool correction : {true, false}) {
    WideScreenCanvas canvas;
    f.print->PreviewCorrection = correction;
    f.print->DrawPreview(1, canvas, Bounds(0, 0, 200, 40));
    const std::vector<std::string> texts = canvas.Strings(TCanvasOp::TextWithAdvances);
    if (correction)
      EXPECT_EQ(texts, (std::vector<std::string>{"TextWithAdvances 0,0 \"abcd\" [5,5,5,5]"}));
    else
      EXPECT_TRUE(texts.empty());
  }
}

}  // namespace
}  // namespace quillet::test
