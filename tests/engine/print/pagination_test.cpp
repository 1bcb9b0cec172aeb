// Pagination on a fake printer at screen resolution: a line of the default
// text is 13 pixels high, so page breaks can be stated exactly.
#include <gtest/gtest.h>

#include <functional>

#include "print_test_data.h"

namespace quillet::test {
namespace {

// A page as "d<first drawing item>[p<part>]@<StartY>", with "!" when the page
// is clipped to its body.
std::vector<std::string> PageStrings(const TCustomMainPtblDVData& data) {
  std::vector<std::string> out;
  for (const TDVPageInfo& p : data.Pages()) {
    std::string s = "d" + std::to_string(p.StartDrawItemNo);
    if (p.StartPart > 0) s += "p" + std::to_string(p.StartPart);
    s += "@" + std::to_string(p.StartY);
    if (p.ClipBody) s += "!";
    out.push_back(s);
  }
  return out;
}

struct PaginationCase {
  const char* name;
  int32_t bodyHeight;
  std::function<void(PrintDoc&)> build;
  std::vector<std::string> pages;
};

class Pagination : public testing::TestWithParam<PaginationCase> {};

TEST_P(Pagination, Pages) {
  const PaginationCase& c = GetParam();
  PrintDoc doc;
  c.build(doc);
  TFakePrinterDevice printer(ScreenPrinter(200, c.bodyHeight));
  TDVPrint print(printer);
  print.SetLeftMarginMM(0);
  print.SetRightMarginMM(0);
  print.SetTopMarginMM(0);
  print.SetBottomMarginMM(0);
  print.AssignSource(&doc);
  const int count = print.FormatPages();
  EXPECT_EQ(PageStrings(print.DocView().DVData()), c.pages);
  EXPECT_EQ(count, static_cast<int>(c.pages.size()));
}

void PageBreakBefore(PrintDoc& doc, int itemNo) { doc.data.GetItem(itemNo)->SetPageBreakBefore(true); }

INSTANTIATE_TEST_SUITE_P(
    Table, Pagination,
    testing::Values(
        PaginationCase{"OnePage", 40, [](PrintDoc& d) { d.AddLines("abc"); }, {"d0@0"}},
        PaginationCase{"LinesOverTwoPages", 40, [](PrintDoc& d) { d.AddLines("abcdef"); }, {"d0@0", "d3@39"}},
        PaginationCase{"BreakBeforeTheFirstItemMakesNoEmptyPage",
                       40,
                       [](PrintDoc& d) {
                         d.AddLines("ab");
                         PageBreakBefore(d, 0);
                       },
                       {"d0@0"}},
        PaginationCase{"ForcedBreak",
                       40,
                       [](PrintDoc& d) {
                         d.AddLines("abcd");
                         PageBreakBefore(d, 2);
                       },
                       {"d0@0", "d2@26"}},
        // The tall line stands alone, clipped to the body; the next line
        // starts the next page.
        PaginationCase{"LineTallerThanTheBody",
                       40,
                       [](PrintDoc& d) {
                         d.AddLines("a");
                         d.data.AddItem("", std::make_unique<TallRect>(&d.data, 10, 100));
                         d.data.GetItem(1)->ParaNo = 0;
                         d.AddLines("b");
                       },
                       {"d0@0", "d1@13!", "d2@113"}},
        PaginationCase{"TwoTallLinesEachAlone",
                       40,
                       [](PrintDoc& d) {
                         for (int k = 0; k < 2; ++k) {
                           d.data.AddItem("", std::make_unique<TallRect>(&d.data, 10, 100));
                           d.data.GetItem(k)->ParaNo = 0;
                         }
                       },
                       {"d0@0!", "d1@100!"}},
        // "b" (small) fits and "c" (large) on the same line does not: the
        // whole line moves, from its first run.
        PaginationCase{"MultiRunLineMovesWhole",
                       38,
                       [](PrintDoc& d) {
                         TFontInfo& big = d.sheet.TextStyles().Add();
                         big.Assign(d.sheet.TextStyles()[0]);
                         big.Size = 20;
                         d.AddLines("a");
                         d.data.AddNL("b", 0, 0);
                         d.data.AddNL("c", d.sheet.TextStyles().Count() - 1, -1);
                       },
                       {"d0@0", "d1@13"}},
        // Space before 5 and after 7: lines at 5, 30, 55. The page ends
        // where a line and its space after no longer fit, and the next page
        // begins with the space before.
        PaginationCase{"SpaceBeforeAndAfterFit",
                       50,
                       [](PrintDoc& d) {
                         const int p = d.AddPara();
                         d.sheet.ParaStyles()[p].SpaceBefore = 5;
                         d.sheet.ParaStyles()[p].SpaceAfter = 7;
                         d.AddLines("abc", p);
                       },
                       {"d0@0", "d2@50"}},
        PaginationCase{"SpaceAfterDoesNotFit",
                       49,
                       [](PrintDoc& d) {
                         const int p = d.AddPara();
                         d.sheet.ParaStyles()[p].SpaceBefore = 5;
                         d.sheet.ParaStyles()[p].SpaceAfter = 7;
                         d.AddLines("abc", p);
                       },
                       {"d0@0", "d1@25", "d2@50"}},
        // Rows 30, 60 and 5 under a line of 13 on a body of 40: the first
        // row does not fit under the line, the item starts the next page; the
        // 60 row is cut at 40 and its rest goes on with the last row, and the
        // text after the item follows on that page.
        PaginationCase{"RowTallerThanThePage",
                       40,
                       [](PrintDoc& d) {
                         d.AddLines("a");
                         d.data.AddItem("", std::make_unique<RowsItem>(&d.data, std::vector<int32_t>{30, 60, 5}));
                         d.AddLines("b");
                       },
                       {"d0@0", "d1p1@0", "d1p2@0", "d1p3@0"}},
        // Refused cut of the 60 row: the part stands alone, clipped to the
        // body, and the text after it starts a page of its own.
        PaginationCase{
            "RefusedCutStandsAloneClipped",
            40,
            [](PrintDoc& d) {
              d.AddLines("a");
              d.data.AddItem("", std::make_unique<RowsItem>(&d.data, std::vector<int32_t>{30, 60, 20}, true));
              d.AddLines("b");
            },
            {"d0@0", "d1p1@0", "d1p2@0!", "d2@123"}},
        // The first row fits under the line: the item starts on page 1.
        PaginationCase{"SplitItemStartsUnderText",
                       40,
                       [](PrintDoc& d) {
                         d.AddLines("a");
                         d.data.AddItem("", std::make_unique<RowsItem>(&d.data, std::vector<int32_t>{20, 20, 20}));
                       },
                       {"d0@0", "d1p2@0"}},
        PaginationCase{"ForcedBreakBeforeSplitItem",
                       40,
                       [](PrintDoc& d) {
                         d.AddLines("a");
                         d.data.AddItem("", std::make_unique<RowsItem>(&d.data, std::vector<int32_t>{10}));
                         PageBreakBefore(d, 1);
                       },
                       {"d0@0", "d1p1@0"}}),
    [](const testing::TestParamInfo<PaginationCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillet::test
