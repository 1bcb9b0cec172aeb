// The grid operations in an editor: every operation on three grids undone
// and redone, the examples of rows, columns, splits and clearing, the
// index checks, and operations on a table that is not in a document.
#include <gtest/gtest.h>

#include <functional>

#include "editing/table/table_test_util.h"
#include "engine/base/doc_view_error.h"

namespace quillet::test {
namespace {

enum TFixture { kPlain, kMerged, kTallColumn };
const char* const kFixtureNames[] = {"plain 3x3", "merged 2x3 in 3x4", "column spanning all rows"};

class TableOperationsTest : public TableEditTest {
 public:
  using TableEditTest::Data;

  // Cells named by letters row by row, so that moves of content show.
  std::unique_ptr<TDVTableItemInfo> Named(int rows, int cols) {
    auto t = MakeTable(rows, cols);
    char name = 'a';
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c, ++name) {
        AddCellText(*t->GetCells(r, c), std::string(1, name));
        t->GetCells(r, c)->Color = 0x100 * (r + 1) + c;
      }
    return t;
  }

  // plain: a 3x3 grid; merged: 3x4 with a 2x3 cell at the top left;
  // tall: 3x3 whose first column is one cell over all rows.
  TDVTableItemInfo& Place(TFixture fixture) {
    std::unique_ptr<TDVTableItemInfo> t;
    switch (fixture) {
      case kPlain:
        t = Named(3, 3);
        break;
      case kMerged:
        t = Named(3, 4);
        EXPECT_TRUE(t->Rows.MergeCellsPlain(0, 0, 2, 3, true, false));
        break;
      case kTallColumn:
        t = Named(3, 3);
        EXPECT_TRUE(t->Rows.MergeCellsPlain(0, 0, 3, 1, true, false));
        break;
    }
    TDVTableItemInfo& placed = PlaceInEditor(std::move(t));
    Data().UndoList->Clear();
    return placed;
  }

  void Select(TDVTableItemInfo& t, int row, int col, int rowOffs = 0, int colOffs = 0) {
    t.SelStartRow = row;
    t.SelStartCol = col;
    t.SelRowOffs = rowOffs;
    t.SelColOffs = colOffs;
  }

  // The operation as one undo group; undo gives back the grid and the DVF
  // bytes (and a fresh layout), redo the edited ones. A grid the operation leaves alone records
  // nothing.
  testing::AssertionResult UndoRedo(TDVTableItemInfo& t, const std::function<void()>& op) {
    const std::string before = DumpTable(t), beforeBytes = DvfBytes(Data());
    op();
    const std::string after = DumpTable(t), afterBytes = DvfBytes(Data());
    if (!t.Rows.IsValidGrid()) return testing::AssertionFailure() << "broken grid after the operation";
    if (after == before) {
      if (Data().UndoList->Count() != 0) return testing::AssertionFailure() << "nothing changed but undo recorded";
      return testing::AssertionSuccess() << "unchanged";
    }
    if (Data().UndoList->Count() != 1) return testing::AssertionFailure() << Data().UndoList->Count() << " groups";
    if (Data().UndoList->CurrentUndoType() != dvutModifyItem) return testing::AssertionFailure() << "group type";
    if (!DrawingIsFresh(Data())) return testing::AssertionFailure() << "stale layout after the operation";
    Data().UndoList->Undo(Data());
    if (DumpTable(t) != before)
      return testing::AssertionFailure() << "undo gave\n" << DumpTable(t) << "\ninstead of\n" << before;
    if (DvfBytes(Data()) != beforeBytes) return testing::AssertionFailure() << "undo gave other DVF bytes";
    if (!DrawingIsFresh(Data())) return testing::AssertionFailure() << "stale layout after undo";
    Data().RedoList->Redo(Data());
    if (DumpTable(t) != after)
      return testing::AssertionFailure() << "redo gave\n" << DumpTable(t) << "\ninstead of\n" << after;
    if (DvfBytes(Data()) != afterBytes) return testing::AssertionFailure() << "redo gave other DVF bytes";
    if (!t.Rows.IsValidGrid()) return testing::AssertionFailure() << "broken grid after redo";
    return testing::AssertionSuccess();
  }
};

// Every operation on every grid. The table's DVF stream does not carry
// cells yet, so the structural dump stands for the document's bytes.
TEST_F(TableOperationsTest, EveryOperationUndoneAndRedoneOnEveryGrid) {
  struct Op {
    const char* name;
    std::function<void(TableOperationsTest&, TDVTableItemInfo&)> run;
    std::function<void(TDVTableItemInfo&)> prepare = nullptr;  // before the operation, not undone
  };
  const Op ops[] = {
      {"insert row inside copying", [](auto&, auto& t) { t.InsertRows(1, 1, false, 0); }},
      {"insert 2 rows on top", [](auto&, auto& t) { t.InsertRows(0, 2, true, -1); }},
      {"append a row", [](auto&, auto& t) { t.InsertRows(3, 1, false, 2); }},
      {"insert column inside", [](auto&, auto& t) { t.InsertCols(1, 1, false, 1); }},
      {"insert 2 columns copying the last", [](auto&, auto& t) { t.InsertCols(2, 2, true, 2); }},
      {"append a column", [](auto&, auto& t) { t.InsertCols(t.Rows.GetColCount(), 1, false, 0); }},
      {"delete the top row", [](auto&, auto& t) { t.DeleteRows(0, 1, true); }},
      {"delete the middle row", [](auto&, auto& t) { t.DeleteRows(1, 1, false); }},
      {"delete rows to the end", [](auto&, auto& t) { t.DeleteRows(1, 9, true); }},
      {"delete the first column", [](auto&, auto& t) { t.DeleteCols(0, 1, true); }},
      {"delete two columns", [](auto&, auto& t) { t.DeleteCols(1, 2, false); }},
      {"delete everything", [](auto&, auto& t) { t.DeleteRows(0, 3, false); }},
      {"merge in the last row", [](auto&, auto& t) { t.MergeCells(2, 1, 1, 2, true); }},
      {"merge the right block", [](auto&, auto& t) { t.MergeCells(1, 1, 2, 2, true); }},
      {"unmerge everything", [](auto&, auto& t) { t.UnmergeCells(0, 0, 3, 4, true, true); }},
      {"unmerge columns only", [](auto&, auto& t) { t.UnmergeCells(0, 0, 3, 4, false, true); }},
      {"split the top left into 3 columns",
       [](auto& f, auto& t) {
         f.Select(t, 0, 0);
         t.SplitSelectedCellsVertically(3);
       }},
      {"split the top left into 2 rows",
       [](auto& f, auto& t) {
         f.Select(t, 0, 0);
         t.SplitSelectedCellsHorizontally(2);
       }},
      {"split a block into 2 columns",
       [](auto& f, auto& t) {
         f.Select(t, 1, 1, 1, 1);
         t.SplitSelectedCellsVertically(2);
       }},
      {"clear two cells", [](auto&, auto& t) { t.ClearCells({{0, 0}, {2, 2}}); }},
      {"delete empty rows after a merge", [](auto&, auto& t) { t.DeleteEmptyRows(); },
       [](auto& t) { t.MergeCells(1, 0, 2, t.Rows.GetColCount(), true); }},
      {"delete empty columns after a merge", [](auto&, auto& t) { t.DeleteEmptyCols(); },
       [](auto& t) { t.MergeCells(0, 1, 3, 2, true); }},
  };
  for (TFixture fixture : {kPlain, kMerged, kTallColumn})
    for (const Op& op : ops) {
      TDVTableItemInfo& t = Place(fixture);
      if (op.prepare) {
        op.prepare(t);
        Data().UndoList->Clear();
      }
      EXPECT_TRUE(UndoRedo(t, [&] { op.run(*this, t); })) << kFixtureNames[fixture] << ": " << op.name;
    }
}

TEST_F(TableOperationsTest, ColumnInsertedIntoAThreeColumnSpan) {
  auto built = Named(2, 3);
  ASSERT_TRUE(built->Rows.MergeCellsPlain(0, 0, 1, 3, true, false));
  TDVTableItemInfo& t = PlaceInEditor(std::move(built));
  Data().UndoList->Clear();
  ASSERT_EQ(Grid(t), "abc:1x3 - - | d e f");
  EXPECT_TRUE(UndoRedo(t, [&] { t.InsertCols(1, 1, false, 1); }));
  EXPECT_EQ(Grid(t), "abc:1x4 - - - | d _ e f");
  EXPECT_EQ(t.GetCells(1, 1)->Color, t.GetCells(1, 2)->Color);  // the copied column's attributes
}

TEST_F(TableOperationsTest, TopRowDeletedUnderATallCellKeepsItsContent) {
  TDVTableItemInfo& t = Place(kTallColumn);
  ASSERT_EQ(Grid(t), "adg:3x1 b c | - e f | - h i");
  EXPECT_TRUE(UndoRedo(t, [&] { t.DeleteRows(0, 1, false); }));
  EXPECT_EQ(Grid(t), "adg:2x1 e f | - h i");
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Grid(t), "adg:3x1 b c | - e f | - h i");
}

TEST_F(TableOperationsTest, ABandDeletedWhereACellStartsLeavesItsContentInTheSurvivingPiece) {
  // Rows: a 2-row cell starting in the deleted row; columns: a 2-column
  // cell starting in the deleted column.
  auto built = Named(3, 3);
  ASSERT_TRUE(built->Rows.MergeCellsPlain(1, 0, 2, 1, true, false));
  ASSERT_TRUE(built->Rows.MergeCellsPlain(0, 1, 1, 2, true, false));
  built->GetCells(1, 0)->BestHeight = 40;
  TDVTableItemInfo& t = PlaceInEditor(std::move(built));
  Data().UndoList->Clear();
  ASSERT_EQ(Grid(t), "a bc:1x2 - | dg:2x1 e f | - h i");
  EXPECT_TRUE(UndoRedo(t, [&] { t.DeleteRows(1, 1, true); }));
  EXPECT_EQ(Grid(t), "a bc:1x2 - | dg h i");
  EXPECT_EQ(t.GetCells(1, 0)->BestHeight, 20);  // its share of the wished height
  Data().UndoList->Undo(Data());
  EXPECT_TRUE(UndoRedo(t, [&] { t.DeleteCols(1, 1, false); }));
  EXPECT_EQ(Grid(t), "a bc | dg:2x1 f | - i");
}

TEST_F(TableOperationsTest, DeletingRowsToAndPastTheEnd) {
  TDVTableItemInfo& t = Place(kPlain);
  t.DeleteRows(1, 5, false);  // clipped from row 1
  EXPECT_EQ(Grid(t), "a b c");
  Data().UndoList->Undo(Data());
  EXPECT_THROW(t.DeleteRows(0, 4, false), EDocViewError);  // more than exist from row 0
  EXPECT_EQ(Grid(t), "a b c | d e f | g h i");
  t.DeleteRows(0, 3, false);
  EXPECT_TRUE(t.Rows.Empty());
  EXPECT_TRUE(DrawingIsFresh(Data()));
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Grid(t), "a b c | d e f | g h i");
}

TEST_F(TableOperationsTest, OneColumnCellSplitIntoThree) {
  TDVTableItemInfo& t = Place(kPlain);
  t.GetCells(1, 1)->BestWidth = 90;
  Select(t, 1, 1);
  EXPECT_TRUE(UndoRedo(t, [&] { t.SplitSelectedCellsVertically(3); }));
  EXPECT_EQ(Grid(t), "a b:1x3 - - c | d e _ _ f | g h:1x3 - - i");
  EXPECT_EQ(t.GetCells(1, 1)->BestWidth + t.GetCells(1, 2)->BestWidth + t.GetCells(1, 3)->BestWidth, 90);
}

TEST_F(TableOperationsTest, FourColumnCellSplitIntoTwo) {
  auto built = Named(2, 4);
  ASSERT_TRUE(built->Rows.MergeCellsPlain(0, 0, 1, 4, true, false));
  built->GetCells(0, 0)->BestWidth = 200;
  TDVTableItemInfo& t = PlaceInEditor(std::move(built));
  Data().UndoList->Clear();
  Select(t, 0, 0);
  EXPECT_TRUE(UndoRedo(t, [&] { t.SplitSelectedCellsHorizontally(1); }));  // one piece: nothing
  EXPECT_TRUE(UndoRedo(t, [&] { t.SplitSelectedCellsVertically(2); }));
  EXPECT_EQ(Grid(t), "abcd:1x2 - _:1x2 - | e f g h");
  EXPECT_EQ(t.GetCells(0, 0)->BestWidth, 100);
  EXPECT_EQ(t.GetCells(0, 2)->BestWidth, 100);
}

TEST_F(TableOperationsTest, SplitsIntoRowsAndUnevenPieces) {
  struct Case {
    TFixture fixture;
    int row, col, pieces;
    bool vertical;
    const char* grid;
  };
  const Case cases[] = {
      {kTallColumn, 0, 0, 2, false, "adg:2x1 b c | - e f | _ h i"},  // 3 rows into 2: 2 + 1
      {kTallColumn, 0, 0, 4, false, "adg b:2x1 c:2x1 | _ - - | _ e f | _ h i"},  // 3 rows into 4: 2 + 1 + 1
      {kMerged, 0, 0, 2, true, "abcefg:2x2 - _:2x1 d | - - - h | i j k l"},  // 3 columns into 2: 2 + 1
      {kPlain, 2, 2, 2, false, "a b c | d e f | g:2x1 h:2x1 i | - - _"},
  };
  for (const Case& k : cases) {
    TDVTableItemInfo& t = Place(k.fixture);
    Select(t, k.row, k.col);
    EXPECT_TRUE(UndoRedo(t, [&] {
      if (k.vertical)
        t.SplitSelectedCellsVertically(k.pieces);
      else
        t.SplitSelectedCellsHorizontally(k.pieces);
    })) << k.grid;
    EXPECT_EQ(Grid(t), k.grid);
  }
}

TEST_F(TableOperationsTest, ClearKeepsAttributesAndUndoBringsTheContentBack) {
  TDVTableItemInfo& t = Place(kMerged);
  TDVTableCellData& merged = *t.GetCells(0, 0);
  merged.BorderColor = 0xFF;
  merged.VisibleBorders = DVMaskToBorders(5);
  merged.BestWidth = -30;
  t.GetCells(2, 1)->VAlign = dvcBottom;
  const std::string before = Grid(t);
  EXPECT_TRUE(UndoRedo(t, [&] { t.ClearCells({{0, 0}, {2, 1}, {0, 0}}); }));
  EXPECT_EQ(Grid(t), "_:2x3 - - d | - - - h | i _ k l");
  const TDVTableCellData& cleared = *t.GetCells(0, 0);
  EXPECT_EQ(cleared.BorderColor, 0xFF);
  EXPECT_EQ(DVBordersToMask(cleared.VisibleBorders), 5);
  EXPECT_EQ(cleared.BestWidth, -30);
  EXPECT_EQ(cleared.Color, merged.Color);
  EXPECT_EQ(t.GetCells(2, 1)->VAlign, dvcBottom);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Grid(t), before);
  EXPECT_EQ(t.GetCells(0, 0), &merged);  // the very cell, with its content
}

TEST_F(TableOperationsTest, MergeAndUnmergeMoveContentBothWays) {
  TDVTableItemInfo& t = Place(kPlain);
  t.GetCells(0, 0)->BestWidth = 30;
  t.GetCells(0, 1)->BestWidth = 40;
  EXPECT_TRUE(UndoRedo(t, [&] { EXPECT_TRUE(t.MergeCells(0, 0, 2, 2, true)); }));
  EXPECT_EQ(Grid(t), "abde:2x2 - c | - - f | g h i");
  EXPECT_EQ(t.GetCells(0, 0)->BestWidth, 70);
  Data().UndoList->Clear();
  EXPECT_TRUE(UndoRedo(t, [&] { t.UnmergeCells(0, 0, 1, 1, true, true); }));
  EXPECT_EQ(Grid(t), "abde _ c | _ _ f | g h i");
  EXPECT_EQ(t.GetCells(0, 1)->BestWidth, 35);
  EXPECT_EQ(t.GetCells(1, 1)->Color, t.GetCells(0, 0)->Color);
}

TEST_F(TableOperationsTest, RefusedMergeBeepsAndRecordsNothing) {
  TDVTableItemInfo& t = Place(kMerged);
  const std::string before = DumpTable(t);
  beeps = 0;
  EXPECT_FALSE(t.MergeCells(0, 0, 3, 2, true));  // cuts the 2x3 cell
  EXPECT_EQ(beeps, 1);
  EXPECT_FALSE(t.MergeCells(2, 2, 1, 1, true));  // 1 x 1: nothing, no beep
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(DumpTable(t), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(TableOperationsTest, IndexChecksChangeNothing) {
  struct Case {
    const char* name;
    std::function<void(TDVTableItemInfo&)> op;
    const char* message;
  };
  const char* const kIndex = "Invalid row or column index";
  const Case cases[] = {
      {"insert rows at -1", [](auto& t) { t.InsertRows(-1, 1, false, -1); }, kIndex},
      {"insert rows past the end", [](auto& t) { t.InsertRows(4, 1, false, -1); }, kIndex},
      {"insert rows copying -2", [](auto& t) { t.InsertRows(0, 1, false, -2); }, kIndex},
      {"insert rows copying a missing row", [](auto& t) { t.InsertRows(0, 1, false, 3); }, kIndex},
      {"insert columns past the end", [](auto& t) { t.InsertCols(4, 1, false, -1); }, kIndex},
      {"insert columns copying a missing column", [](auto& t) { t.InsertCols(1, 1, false, 3); }, kIndex},
      {"delete no rows", [](auto& t) { t.DeleteRows(1, 0, false); }, kIndex},
      {"delete rows from -1", [](auto& t) { t.DeleteRows(-1, 1, false); }, kIndex},
      {"delete rows from the end", [](auto& t) { t.DeleteRows(3, 1, false); }, kIndex},
      {"delete more rows than exist", [](auto& t) { t.DeleteRows(0, 4, false); }, kIndex},
      {"delete no columns", [](auto& t) { t.DeleteCols(0, 0, false); }, kIndex},
      {"delete more columns than exist", [](auto& t) { t.DeleteCols(0, 4, false); }, kIndex},
      {"delete columns from the end", [](auto& t) { t.DeleteCols(3, 1, false); }, kIndex},
      {"clear a covered position", [](auto& t) { t.ClearCells({{1, 0}}); }, kIndex},
      {"clear outside", [](auto& t) { t.ClearCells({{0, 3}}); }, kIndex},
      {"unmerge outside", [](auto& t) { t.UnmergeCells(3, 0, 1, 1, true, true); }, kIndex},
      {"insert more columns than a table may hold", [](auto& t) { t.InsertCols(0, DVTableMaxCols, false, -1); },
       kIndex},
      {"split into more rows than a table may hold",
       [](auto& t) {
         t.SelStartRow = t.SelStartCol = 0;
         t.SplitSelectedCellsHorizontally(INT32_MAX);
       },
       kIndex},
      {"merge 0 rows by 3", [](auto& t) { t.MergeCells(0, 0, 0, 3, true); },
       "Parameters for cell merging are not correct"},
  };
  for (const Case& k : cases) {
    TDVTableItemInfo& t = Place(kTallColumn);
    const std::string before = DumpTable(t);
    try {
      k.op(t);
      ADD_FAILURE() << k.name << ": no error";
    } catch (const EDocViewError& e) {
      EXPECT_STREQ(e.what(), k.message) << k.name;
    }
    EXPECT_EQ(DumpTable(t), before) << k.name;
    EXPECT_EQ(Data().UndoList->Count(), 0) << k.name;
  }
}

TEST_F(TableOperationsTest, SelectionFormsCopyTheNearestBandAndSelectTheNewOnes) {
  TDVTableItemInfo& t = Place(kPlain);
  beeps = 0;
  t.InsertRowsAbove(1);
  t.DeleteSelectedCols();
  t.SplitSelectedCellsVertically(2);
  EXPECT_EQ(beeps, 3);
  EXPECT_EQ(Data().UndoList->Count(), 0);

  Select(t, 1, 2, 1, -1);  // rows 1-2, columns 1-2
  t.InsertRowsBelow(2);
  EXPECT_EQ(Grid(t), "a b c | d e f | g h i | _ _ _ | _ _ _");
  EXPECT_EQ(t.GetCells(3, 0)->Color, t.GetCells(2, 0)->Color);
  int row = 0, col = 0, rows = 0, cols = 0;
  ASSERT_TRUE(t.GetSelectionRect(row, col, rows, cols));
  EXPECT_EQ(std::vector<int>({row, col, rows, cols}), std::vector<int>({3, 0, 2, 3}));
  t.InsertColsLeft(1);
  EXPECT_EQ(Grid(t), "_ a b c | _ d e f | _ g h i | _ _ _ _ | _ _ _ _");
  EXPECT_EQ(t.GetCells(0, 0)->Color, t.GetCells(0, 1)->Color);
  t.DeleteSelectedCols();
  EXPECT_EQ(t.SelStartRow, -1);
  Select(t, 4, 1, -1, 0);
  t.DeleteSelectedRows();
  EXPECT_EQ(Grid(t), "a b c | d e f | g h i");
  while (Data().UndoList->Count() > 0) Data().UndoList->Undo(Data());
  EXPECT_EQ(Grid(t), "a b c | d e f | g h i");
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

TEST_F(TableOperationsTest, SelectionOfAnUndoneInsertionIsClipped) {
  TDVTableItemInfo& t = Place(kPlain);
  t.InsertRows(3, 2, true, 2);
  EXPECT_EQ(t.SelStartRow, 3);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(t.SelStartRow, -1);
  int row = 0, col = 0, rows = 0, cols = 0;
  EXPECT_FALSE(t.GetSelectionRect(row, col, rows, cols));
}

TEST_F(TableOperationsTest, OperationsOnATableOutsideADocument) {
  auto t = Named(3, 3);
  t->InsertCols(1, 1, false, -1);
  t->DeleteRows(0, 1, false);
  EXPECT_TRUE(t->MergeCells(0, 0, 2, 2, true));
  t->Rows.UnmergeCell(0, 0, false, true);
  t->ClearCells({{1, 3}});
  EXPECT_EQ(Grid(*t), "dg:2x1 _:2x1 e f | - - h _");
  EXPECT_TRUE(t->Rows.IsValidGrid());
  EXPECT_TRUE(t->Changed());
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

// A table built for the editor's document but not yet in its list (as a
// reader builds one) records nothing into the group the editor has open:
// a record could not find the table again, and undoing it would throw.
TEST_F(TableOperationsTest, ATableBeingBuiltRecordsNothingIntoAnOpenGroup) {
  Data().BeginUndoSequence(dvutInsert, true);
  auto t = Named(3, 3);
  EXPECT_TRUE(t->Rows.MergeCellsPlain(0, 0, 2, 2, true, false));
  t->Rows.UnmergeCell(0, 0, false, true);
  EXPECT_TRUE(t->MergeCells(1, 2, 2, 1, true));
  t->InsertCols(1, 1, false, -1);
  t->DeleteRows(0, 1, false);
  t->ClearCells({{0, 0}});
  ASSERT_EQ(Data().UndoList->Count(), 1);
  EXPECT_EQ(Data().UndoList->Top()->Count(), 0);
  EXPECT_TRUE(t->Rows.IsValidGrid());
}

TEST_F(TableOperationsTest, ARefusingEditorChangesNothing) {
  TDVTableItemInfo& t = Place(kPlain);
  Data().FCaptureMouseItem = &t;  // the editor refuses changes while an item holds the mouse
  const std::string before = DumpTable(t);
  beeps = 0;
  t.InsertRows(1, 1, false, 0);
  t.DeleteCols(0, 1, false);
  Data().FCaptureMouseItem = nullptr;
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(DumpTable(t), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

}  // namespace
}  // namespace quillet::test
