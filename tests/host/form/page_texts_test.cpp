// The page texts the main form prints around each page: where the page
// number, header and footer stand on odd and even pages, which are left out,
// and the reset of the page options before page setup opens.
#include "host/form/page_texts.h"

#include <gtest/gtest.h>

#include <optional>

#include "engine/print/print_component.h"
#include "platform/core/code_page.h"
#include "platform/gfx/fake_printer_device.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet::test {
namespace {

constexpr TRect kArea{100, 200, 700, 900};

struct Drawn {
  std::string text;
  int32_t x, y, width, height;
};

// The texts drawn on one page, in order, with their extents.
std::vector<Drawn> DrawPage(const TTextOptions& options, int32_t pageNo, int32_t pageCount = 5) {
  TRecordingCanvas canvas;
  DrawPageTexts(canvas, options, pageNo, pageCount, kArea);
  std::vector<Drawn> drawn;
  for (const TCanvasRecord& record : canvas.Log()) {
    if (record.Kind != TCanvasOp::TextW) continue;
    EXPECT_EQ(record.Brush.Style, bsClear);
    TRecordingCanvas measure;
    measure.Font() = record.Font;
    const TSize size = measure.TextExtentW(Utf8ToUtf16(record.Text));
    drawn.push_back({record.Text, record.Points[0].X, record.Points[0].Y, size.cx, size.cy});
  }
  return drawn;
}

std::optional<Drawn> Find(const std::vector<Drawn>& drawn, const std::string& text) {
  for (const Drawn& each : drawn)
    if (each.text == text) return each;
  return std::nullopt;
}

TEST(PageTexts, PageNumberPlacedByAlignmentMirroredOnEvenPages) {
  struct Case {
    TAlignment align;
    TPrintPageNumber where;
    int32_t page;
    enum { AtLeft, AtRight, Centred } x;
  };
  const Case cases[] = {
      {taRightJustify, pnBottom, 1, Case::AtRight}, {taRightJustify, pnBottom, 2, Case::AtLeft},
      {taLeftJustify, pnTop, 1, Case::AtLeft},      {taLeftJustify, pnTop, 2, Case::AtRight},
      {taCenter, pnBottom, 1, Case::Centred},       {taCenter, pnBottom, 2, Case::Centred},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "align " << int(c.align) << " page " << c.page);
    TTextOptions options;
    options.PageNumAlign = c.align;
    options.PrintPageNumber = c.where;
    const std::string number = "第 " + std::to_string(c.page) + " 页 共 5 页";
    const std::optional<Drawn> drawn = Find(DrawPage(options, c.page), number);
    ASSERT_TRUE(drawn);
    switch (c.x) {
      case Case::AtLeft: EXPECT_EQ(drawn->x, kArea.Left); break;
      case Case::AtRight: EXPECT_EQ(drawn->x + drawn->width, kArea.Right); break;
      case Case::Centred: EXPECT_EQ(drawn->x, (kArea.Left + kArea.Right - drawn->width) / 2); break;
    }
    EXPECT_EQ(drawn->y, c.where == pnTop ? kArea.Top - drawn->height - 10 : kArea.Bottom + 10);
  }
}

TEST(PageTexts, HeaderAndFooterDrawnUnlessBlank) {
  TTextOptions options;
  options.PrintPageNumber = pnNone;
  options.Header = " A ";
  options.Footer = "尾";
  options.FooterAlign = taLeftJustify;
  std::vector<Drawn> drawn = DrawPage(options, 1);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].text, " A ");
  EXPECT_EQ(drawn[0].x, (kArea.Left + kArea.Right - drawn[0].width) / 2);
  EXPECT_EQ(drawn[0].y, kArea.Top - drawn[0].height - 10);
  EXPECT_EQ(drawn[1].text, "尾");
  EXPECT_EQ(drawn[1].x, kArea.Left);
  EXPECT_EQ(drawn[1].y, kArea.Bottom + 10);

  options.Header = "  \t ";
  options.Footer = "";
  EXPECT_TRUE(DrawPage(options, 1).empty());
}

TEST(PageTexts, PageNumberTextIsTheUsersTextNotAFormat) {
  TTextOptions options;
  options.PageNumText = "机密 %s %n";
  EXPECT_TRUE(Find(DrawPage(options, 1), "机密 %s %n"));
  EXPECT_TRUE(Find(DrawPage(options, 4), "机密 %s %n"));
}

TEST(PageTexts, PageSetupResetKeepsTheTextsAndTakesTheComponentsMargins) {
  TFakePrinterDevice printer;
  TDVPrint print(printer);
  print.SetLeftMarginMM(11);
  print.SetRightMarginMM(12);
  print.SetTopMarginMM(13);
  print.SetBottomMarginMM(14);
  TTextOptions options;
  options.Header = "头";
  options.Footer = "尾";
  options.HeaderAlign = taLeftJustify;
  options.PrintPageNumber = pnNone;
  options.PageNumText = "%d";
  options.HeaderFont.SetSize(40);
  options.HeaderMargin = 3;
  InitPageSetup(options, print);

  TTextOptions expected;
  expected.Header = "头";
  expected.Footer = "尾";
  expected.MarginLeft = 11;
  expected.MarginRight = 12;
  expected.MarginTop = 13;
  expected.MarginBottom = 14;
  EXPECT_EQ(options, expected);
}

}  // namespace
}  // namespace quillet::test
