// Tables on paper: the parts pagination cuts them into, what each page
// prints of them, and the same on random tables.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "editing/table/table_print.h"
#include "engine/base/doc_view_error.h"
#include "engine/print/print_test_data.h"
#include "platform/core/stream.h"

namespace quillet::test {
namespace {

// A table alone in a document, printed on a fake printer at the screen's
// resolution with no margins: device pixels are table pixels.
struct TablePrint {
  explicit TablePrint(int rows, int cols, int32_t bodyHeight = 50)
      : printer(ScreenPrinter(300, bodyHeight)), print(printer) {
    auto t = std::make_unique<TDVTableItemInfo>(rows, cols, &doc.data);
    // No spacing or borders: rows are exactly their BestHeight.
    t->CellPadding = t->CellVSpacing = t->BorderVSpacing = t->BorderHSpacing = t->CellHSpacing = 0;
    table = t.get();
    doc.data.AddItem("", std::move(t));
    for (int32_t* m : {&doc.left, &doc.right, &doc.top, &doc.bottom}) *m = 0;
  }

  void RowHeights(std::initializer_list<int32_t> heights) {
    int r = 0;
    for (int32_t h : heights) {
      for (int c = 0; c < table->Rows.GetColCount(); ++c)
        if (TDVTableCellData* cell = table->GetCells(r, c)) cell->BestHeight = h;
      ++r;
    }
  }

  int Paginate() {
    print.SetLeftMarginMM(0);
    print.SetRightMarginMM(0);
    print.SetTopMarginMM(0);
    print.SetBottomMarginMM(0);
    print.AssignSource(&doc);
    return print.FormatPages();
  }

  TCustomMainPtblDVData& Printed() { return print.DocView().DVData(); }

  TDVTablePrintInfo* Info() {
    TCustomMainPtblDVData& d = Printed();
    for (int k = 0; k < d.DrawItems.Count(); ++k)
      if (auto* info = dynamic_cast<TDVTablePrintInfo*>(d.DrawItems[k])) return info;
    return nullptr;
  }

  // Each part as "first+count:height".
  std::vector<std::string> Parts() {
    std::vector<std::string> out;
    TDVTablePrintInfo* info = Info();
    for (int i = 0; info && i < info->PartCount(); ++i) {
      const TDVTablePrintPart& p = info->Part(i);
      out.push_back(std::to_string(p.FirstRow) + "+" + std::to_string(p.RowCount) + ":" + std::to_string(p.Height));
    }
    return out;
  }

  PrintDoc doc;
  TDVTableItemInfo* table;
  TFakePrinterDevice printer;
  TDVPrint print;
};

struct SplitCase {
  const char* name;
  int32_t body;
  std::function<void(TablePrint&)> build;
  int pages;
  std::vector<std::string> parts;
};

class TableSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(TableSplit, Parts) {
  const SplitCase& c = GetParam();
  TablePrint t(0, 0, c.body);
  c.build(t);
  EXPECT_EQ(t.Paginate(), c.pages);
  EXPECT_EQ(t.Parts(), c.parts);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TableSplit,
    testing::Values(
        SplitCase{"RowsOverThreePages", 50,
                  [](TablePrint& t) {
                    t.table->Rows.Reset(5, 1);
                    t.RowHeights({20, 20, 20, 20, 20});
                  },
                  3,
                  {"0+2:40", "2+2:40", "4+1:20"}},
        // Without the option the table is one block, alone and clipped.
        SplitCase{"SplitOptionOff", 50,
                  [](TablePrint& t) {
                    t.table->Rows.Reset(5, 1);
                    t.RowHeights({20, 20, 20, 20, 20});
                    t.table->PrintOptions &= static_cast<TDVTablePrintOptions>(~dvtoRowsSplit);
                  },
                  1,
                  {}},
        SplitCase{"OneRowIsNeverSplit", 50,
                  [](TablePrint& t) {
                    t.table->Rows.Reset(1, 1);
                    t.RowHeights({100});
                  },
                  1,
                  {"0+1:100"}},
        // Rows 0 and 1 are bridged by a merged cell: they stay together
        // even though that overflows the 30 pixels of the page.
        SplitCase{"RowsBridgedByACell", 30,
                  [](TablePrint& t) {
                    t.table->Rows.Reset(4, 2);
                    t.RowHeights({20, 20, 20, 20});
                    ASSERT_TRUE(t.table->Rows.MergeCellsPlain(0, 0, 2, 1, true, false));
                  },
                  3,
                  {"0+2:40", "2+1:20", "3+1:20"}},
        // The border zones (5 above the first row, 5 below the last) go
        // with every part.
        SplitCase{"BorderZonesInEveryPart", 50,
                  [](TablePrint& t) {
                    t.table->Rows.Reset(5, 1);
                    t.RowHeights({20, 20, 20, 20, 20});
                    t.table->BorderWidth = 2;
                    t.table->BorderVSpacing = 3;
                  },
                  3,
                  {"0+2:50", "2+2:50", "4+1:30"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(TableSplitRequest, WithoutPartsIsAnInternalError) {
  PrintDoc doc;
  TDVTableItemInfo table(2, 1, &doc.data);
  TDVScreenAndDevice sad{96, 96, 96, 96, 0, 0};
  TDVTablePrintInfo info(table, nullptr, sad);
  try {
    info.SplitAt(10);
    FAIL() << "no error";
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), "Internal printing error");
  }
}

TEST(TableSplitRows, BoundariesNoMergedCellCrosses) {
  PrintDoc doc;
  TDVTableItemInfo table(5, 2, &doc.data);
  ASSERT_TRUE(table.Rows.MergeCellsPlain(1, 0, 2, 1, true, false));  // rows 1-2
  ASSERT_TRUE(table.Rows.MergeCellsPlain(2, 1, 2, 1, true, false));  // rows 2-3
  const int below[] = {0, 3, 3, 3, 4}, above[] = {0, 1, 1, 1, 4};
  for (int r = 0; r < 5; ++r) {
    EXPECT_EQ(table.GetSplitRowBelow(r), below[r]) << r;
    EXPECT_EQ(table.GetSplitRowAbove(r), above[r]) << r;
  }
}

// The fills of a page in the colours the cells of row r have (0x100 + r).
std::set<int> RowsFilled(const std::vector<TCanvasRecord>& page) {
  std::set<int> rows;
  for (const TCanvasRecord& rec : page)
    if (rec.Kind == TCanvasOp::FillRect && rec.Brush.Color >= 0x100 && rec.Brush.Color < 0x200)
      rows.insert(static_cast<int>(rec.Brush.Color - 0x100));
  return rows;
}

std::vector<std::string> Texts(const std::vector<TCanvasRecord>& page) {
  std::vector<std::string> out;
  for (const TCanvasRecord& rec : page)
    if (rec.Kind == TCanvasOp::Text || rec.Kind == TCanvasOp::TextWithAdvances) out.push_back(rec.Text);
  return out;
}

TEST(TablePrinting, EachPagePrintsItsPartsRowsInTheirOwnColours) {
  TablePrint t(5, 2);
  t.RowHeights({20, 20, 20, 20, 20});
  t.table->CellBorderWidth = 1;
  for (int r = 0; r < 5; ++r) {
    t.table->GetCells(r, 0)->Color = static_cast<TColor>(0x100 + r);
    t.table->GetCells(r, 0)->AddNL("r" + std::to_string(r), 0, 0);
    // The second column is empty: background and border only.
    t.table->GetCells(r, 1)->Color = static_cast<TColor>(0x100 + r);
  }
  // A selection is not printed.
  t.table->SelStartRow = t.table->SelStartCol = 0;
  t.table->SelRowOffs = 4;
  ASSERT_EQ(t.Paginate(), 3);
  t.print.Print("table", 1, false);
  const auto& pages = t.printer.Pages();
  ASSERT_EQ(pages.size(), 3u);
  const std::vector<std::set<int>> rows = {{0, 1}, {2, 3}, {4}};
  const std::vector<std::vector<std::string>> texts = {{"r0", "r1"}, {"r2", "r3"}, {"r4"}};
  for (size_t p = 0; p < pages.size(); ++p) {
    EXPECT_EQ(RowsFilled(pages[p]), rows[p]) << "page " << p + 1;
    EXPECT_EQ(Texts(pages[p]), texts[p]) << "page " << p + 1;
    int fills = 0, borders = 0;
    for (const TCanvasRecord& rec : pages[p]) {
      fills += rec.Kind == TCanvasOp::FillRect && rec.Brush.Color >= 0x100 && rec.Brush.Color < 0x200;
      borders += rec.Kind == TCanvasOp::Line;
      EXPECT_NE(rec.Brush.Color, clHighlight);
    }
    EXPECT_EQ(fills, static_cast<int>(rows[p].size()) * 2) << "page " << p + 1;
    EXPECT_GT(borders, 0);
  }
}

// A page saved as DVF holds its part of the table alone, and reads back.
TEST(TablePrinting, APageSavedAsDVFHoldsOnlyItsPartsRows) {
  RegisterTableItem();
  TablePrint t(5, 1);
  t.RowHeights({20, 20, 20, 20, 20});
  for (int r = 0; r < 5; ++r) t.table->GetCells(r, 0)->AddNL("r" + std::to_string(r), 0, 0);
  ASSERT_EQ(t.Paginate(), 3);
  const std::vector<std::vector<std::string>> texts = {{"r0", "r1"}, {"r2", "r3"}, {"r4"}};
  for (int page = 1; page <= 3; ++page) {
    TMemoryStream stream;
    ASSERT_TRUE(t.Printed().SavePageDVFToStream(stream, page));
    stream.SetPosition(0);
    TCustomDVData copy;
    copy.SetDVStyle(&t.doc.sheet);
    TColor color = clNone;
    ASSERT_TRUE(copy.LoadDVFFromStream(stream, color, nullptr, nullptr)) << "page " << page;
    ASSERT_EQ(copy.ItemCount(), 1);
    auto* part = dynamic_cast<TDVTableItemInfo*>(copy.GetItem(0));
    ASSERT_NE(part, nullptr);
    ASSERT_EQ(part->Rows.Count(), static_cast<int>(texts[page - 1].size())) << "page " << page;
    for (int r = 0; r < part->Rows.Count(); ++r)
      EXPECT_EQ(part->GetCells(r, 0)->GetItemTextR(0), texts[page - 1][r]) << "page " << page;
  }
}

// Random tables (spans, row heights, nesting) paginated at random page
// heights: every row printed exactly once, no merged cell cut, and each
// part within its page unless one block that cannot be split is taller.
TEST(TablePrintProperty, PartsCoverEveryRowOnceAndFitTheirPage) {
  std::mt19937 random(27);
  for (int trial = 0; trial < 60; ++trial) {
    const int rows = 1 + static_cast<int>(random() % 8), cols = 1 + static_cast<int>(random() % 4);
    const int32_t body = 15 + static_cast<int32_t>(random() % 80);
    TablePrint t(rows, cols, body);
    t.table->BorderWidth = static_cast<int32_t>(random() % 3);
    t.table->CellVSpacing = static_cast<int32_t>(random() % 4);
    for (int r = 0; r < rows; ++r) {
      const int32_t h = 5 + static_cast<int32_t>(random() % 30);
      for (int c = 0; c < cols; ++c) t.table->GetCells(r, c)->BestHeight = h;
    }
    for (int k = 0; k < 3; ++k) {
      const int r = static_cast<int>(random() % rows), c = static_cast<int>(random() % cols);
      int rc = 1 + static_cast<int>(random() % 3), cc = 1 + static_cast<int>(random() % 2);
      if (t.table->Rows.StartMergeCells(r, c, rc, cc)) t.table->Rows.MergeCellsPlain(r, c, rc, cc, true, false);
    }
    if (random() % 3 == 0) {
      // A nested table in a cell prints inside it.
      int mr = 0, mc = 0;
      TDVTableCellData* cell = t.table->Rows.GetMainCell(0, 0, mr, mc);
      cell->Clear();
      cell->AddItem("", std::make_unique<TDVTableItemInfo>(2, 2, cell));
    }
    ASSERT_TRUE(t.table->Rows.IsValidGrid());
    SCOPED_TRACE("trial " + std::to_string(trial));
    const int pages = t.Paginate();
    TDVTablePrintInfo* info = t.Info();
    ASSERT_NE(info, nullptr);
    const int parts = std::max(info->PartCount(), 1);
    EXPECT_EQ(pages, parts);
    int next = 0;
    for (int i = 0; i < info->PartCount(); ++i) {
      const TDVTablePrintPart& p = info->Part(i);
      EXPECT_EQ(p.FirstRow, next);
      EXPECT_GE(p.RowCount, 1);
      next = p.FirstRow + p.RowCount;
      // No merged cell crosses the part's top.
      EXPECT_EQ(t.table->GetSplitRowAbove(p.FirstRow), p.FirstRow);
      const int block = t.table->GetSplitRowBelow(p.FirstRow) - p.FirstRow + 1;
      if (p.Height > body) {
        EXPECT_EQ(p.RowCount, block) << "part " << i << " is taller than its page";
      }
    }
    if (info->PartCount() > 0) {
      EXPECT_EQ(next, rows);
    }
    // Printing runs every part (nested tables included) without error.
    t.print.Print("property", 1, false);
    EXPECT_EQ(static_cast<int>(t.printer.Pages().size()), pages);
  }
}

}  // namespace
}  // namespace quillet::test
