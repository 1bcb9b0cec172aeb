// The grid: which cell covers a position, wished widths of rectangles,
// the merge checks and the plain merge.
#include <gtest/gtest.h>

#include "engine/base/doc_view_error.h"
#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class GridTest : public TableEditTest {
 protected:
  // 3 x 4: a 2x3 cell at (0,0), a 3x1 cell at (0,3), a 1x2 cell at (2,0)
  // and a single cell at (2,2).
  std::unique_ptr<TDVTableItemInfo> MergedFixture() {
    auto t = MakeTable(3, 4);
    EXPECT_TRUE(t->Rows.MergeCellsPlain(0, 0, 2, 3, true, false));
    EXPECT_TRUE(t->Rows.MergeCellsPlain(0, 3, 3, 1, true, false));
    EXPECT_TRUE(t->Rows.MergeCellsPlain(2, 0, 1, 2, true, false));
    EXPECT_TRUE(t->Rows.IsValidGrid());
    return t;
  }
};

TEST_F(GridTest, MainCellFromEveryPosition) {
  auto t = MergedFixture();
  // Expected main position per position, row by row.
  const int expected[3][4][2] = {{{0, 0}, {0, 0}, {0, 0}, {0, 3}},
                                 {{0, 0}, {0, 0}, {0, 0}, {0, 3}},
                                 {{2, 0}, {2, 0}, {2, 2}, {0, 3}}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) {
      int mr = -1, mc = -1;
      const TDVTableCellData* cell = t->Rows.GetMainCell(r, c, mr, mc);
      EXPECT_EQ(mr, expected[r][c][0]) << r << "," << c;
      EXPECT_EQ(mc, expected[r][c][1]) << r << "," << c;
      EXPECT_EQ(cell, t->GetCells(mr, mc));
    }
}

TEST_F(GridTest, MainCellOfABrokenGridOrOutsideRaises) {
  auto t = MakeTable(2, 2);
  t->Rows[1]->Put(0, nullptr);  // nothing covers (1,0)
  t->Rows[0]->Put(1, nullptr);  // nor (0,1), and nothing left of it holds a cell
  t->Rows[0]->Put(0, nullptr);
  int mr = 0, mc = 0;
  EXPECT_THROW(t->Rows.GetMainCell(1, 0, mr, mc), EDocViewError);
  EXPECT_THROW(t->Rows.GetMainCell(0, 1, mr, mc), EDocViewError);
  EXPECT_THROW(t->Rows.GetMainCell(2, 0, mr, mc), EDocViewError);
  EXPECT_THROW(t->Rows.GetMainCell(0, -1, mr, mc), EDocViewError);
  EXPECT_EQ(t->Rows.GetMainCell(1, 1, mr, mc), t->GetCells(1, 1));
}

TEST_F(GridTest, BestWidthOfARectangle) {
  struct Case {
    int32_t widths[2][3];
    int32_t expected;
  };
  const Case cases[] = {
      {{{100, -20, 50}, {0, 0, 0}}, -20},   // a percent in a row makes the row's value one
      {{{100, 50, 0}, {200, 0, 0}}, 200},   // pixel rows: the larger
      {{{100, 50, 0}, {-10, 0, 0}}, -10},   // a percent beats pixels
      {{{-10, -20, 0}, {-25, 0, 0}}, -30},  // percents add within a row; the larger wins
  };
  for (const Case& k : cases) {
    auto t = MakeTable(2, 3);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) t->GetCells(r, c)->BestWidth = k.widths[r][c];
    EXPECT_EQ(t->Rows.GetBestWidth(0, 0, 2, 3), k.expected);
  }
}

TEST_F(GridTest, MergeChecks) {
  struct Case {
    int row, col, rowCount, colCount;
    bool can;
  };
  const Case cases[] = {
      {0, 0, 1, 1, false},  // 1 x 1
      {2, 3, 2, 2, false},  // clipped to 1 x 1 at the corner
      {0, 0, 0, 1, false},  // 0 x 1: nothing
      {0, 0, 2, 2, true},
      {1, 1, 2, 3, true},  // clipped to 2 x 3
  };
  for (const Case& k : cases) {
    auto t = MakeTable(3, 4);
    EXPECT_EQ(t->Rows.CanMergeCells(k.row, k.col, k.rowCount, k.colCount, true), k.can)
        << k.row << "," << k.col << " " << k.rowCount << "x" << k.colCount;
  }
  auto t = MakeTable(3, 4);
  int rows = 0, cols = 3;
  EXPECT_THROW(t->Rows.StartMergeCells(0, 0, rows, cols), EDocViewError);
  EXPECT_THROW(t->Rows.MergeCellsPlain(0, 0, 0, 3, true, false), EDocViewError);
  EXPECT_TRUE(t->Rows.IsValidGrid());
}

TEST_F(GridTest, RectangleCuttingAMergedCellCannotBeMerged) {
  auto t = MergedFixture();
  const std::string before = DumpTable(*t);
  EXPECT_FALSE(t->Rows.CanMergeCells(1, 2, 2, 2, true));  // cuts the 2x3 and the 3x1 cells
  EXPECT_FALSE(t->Rows.CanMergeCells(2, 1, 1, 2, true));  // cuts the 1x2 cell
  EXPECT_FALSE(t->Rows.MergeCellsPlain(1, 2, 2, 2, true, false));
  EXPECT_EQ(DumpTable(*t), before);
  EXPECT_TRUE(t->Rows.CanMergeCells(0, 0, 3, 3, true));
}

TEST_F(GridTest, RowOrColumnLeftWithoutOwnCellsIsRefusedUnlessAllowed) {
  auto t = MakeTable(2, 2);
  // Merging a whole column pair leaves column 1 with no cell of its own.
  EXPECT_FALSE(t->Rows.CanMergeCells(0, 0, 2, 2, false));
  EXPECT_TRUE(t->Rows.CanMergeCells(0, 0, 2, 2, true));
  auto u = MakeTable(3, 2);
  EXPECT_TRUE(u->Rows.CanMergeCells(0, 0, 1, 2, false));  // column 1 keeps its cells below
  auto v = MakeTable(2, 1);
  EXPECT_FALSE(v->Rows.CanMergeCells(0, 0, 2, 1, false));  // row 1 would hold no cell of its own
  auto w = MakeTable(2, 2);
  EXPECT_TRUE(w->Rows.CanMergeCells(0, 0, 2, 1, false));  // row 1 keeps (1,1)
}

TEST_F(GridTest, PlainMergeMovesContentAndWidths) {
  auto t = MakeTable(2, 2);
  AddCellText(*t->GetCells(0, 0), "a");
  AddCellText(*t->GetCells(0, 1), "b");
  AddCellText(*t->GetCells(1, 1), "");  // an empty paragraph brings nothing
  t->GetCells(0, 0)->BestWidth = 30;
  t->GetCells(0, 1)->BestWidth = 40;
  ASSERT_TRUE(t->Rows.MergeCellsPlain(0, 0, 2, 2, true, true));
  const TDVTableCellData* cell = t->GetCells(0, 0);
  EXPECT_EQ(cell->RowSpan, 2);
  EXPECT_EQ(cell->ColSpan, 2);
  EXPECT_EQ(cell->BestWidth, 70);
  EXPECT_EQ(DescribeDoc(*cell), "P0 0\"a\" P0 0\"b\"");
  EXPECT_EQ(t->GetCells(0, 1), nullptr);
  EXPECT_EQ(t->GetCells(1, 1), nullptr);
  EXPECT_TRUE(t->Rows.IsValidGrid());
}

TEST_F(GridTest, RowHeightAndAlignment) {
  auto t = MakeTable(2, 2);
  ASSERT_TRUE(t->Rows.MergeCellsPlain(0, 0, 2, 1, true, false));
  t->GetCells(0, 1)->BestHeight = 0;
  t->Rows[1]->Put(1, nullptr);
  t->GetCells(0, 1)->RowSpan = 2;
  EXPECT_EQ(t->Rows[1]->GetHeight(), 10);  // every cell of row 1 spans rows
  EXPECT_EQ(t->Rows[0]->GetBestHeight(), 0);
  TDVTableCellData* cell = t->GetCells(0, 0);
  t->Rows[0]->VAlign = dvcVDefault;
  EXPECT_EQ(cell->GetRealVAlign(), dvcMiddle);
  t->Rows[0]->VAlign = dvcBottom;
  EXPECT_EQ(cell->GetRealVAlign(), dvcBottom);
  cell->VAlign = dvcTop;
  EXPECT_EQ(cell->GetRealVAlign(), dvcTop);
}

}  // namespace
}  // namespace quillet::test
