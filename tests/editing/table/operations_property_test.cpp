// Random grid operations in an editor: the grid keeps its invariants after
// every step, undo back to the start gives the original table (its dump and
// its document's DVF bytes) and redo to the end the edited one.
#include <gtest/gtest.h>

#include <random>

#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class TableOperationsPropertyTest : public TableEditTest {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

  void RandomStep(TDVTableItemInfo& t) {
    const int rows = t.Rows.Count(), cols = t.Rows.GetColCount();
    const int r = Rand(0, rows - 1), c = Rand(0, cols - 1);
    auto select = [&] {
      t.SelStartRow = r;
      t.SelStartCol = c;
      t.SelRowOffs = Rand(0, 1);
      t.SelColOffs = Rand(0, 1);
    };
    switch (Rand(0, 10)) {
      case 0:
        t.InsertRows(Rand(0, rows), Rand(1, 2), Rand(0, 1), Rand(-1, rows - 1));
        break;
      case 1:
        t.InsertCols(Rand(0, cols), Rand(1, 2), Rand(0, 1), Rand(-1, cols - 1));
        break;
      case 2:
        if (rows > 2) t.DeleteRows(r, Rand(1, 2), Rand(0, 1));
        break;
      case 3:
        if (cols > 2) t.DeleteCols(c, Rand(1, 2), Rand(0, 1));
        break;
      case 4:
        t.MergeCells(r, c, Rand(1, 3), Rand(1, 3), Rand(0, 1));
        break;
      case 5:
        t.UnmergeCells(r, c, Rand(1, 3), Rand(1, 3), Rand(0, 1), Rand(0, 1));
        break;
      case 6:
        select();
        t.SplitSelectedCellsVertically(Rand(1, 4));
        break;
      case 7:
        select();
        t.SplitSelectedCellsHorizontally(Rand(1, 4));
        break;
      case 8: {
        int mr = 0, mc = 0;
        t.Rows.GetMainCell(r, c, mr, mc);
        t.ClearCells({{mr, mc}});
        break;
      }
      case 9: {
        int mr = 0, mc = 0;
        t.Rows.GetMainCell(r, c, mr, mc);
        t.SetCellProperty(Rand(0, 1) ? "Color" : "BestWidth", Rand(1, 300), mr, mc);
        break;
      }
      default:
        if (Rand(0, 1))
          t.DeleteEmptyRows();
        else
          t.DeleteEmptyCols();
    }
  }

  std::mt19937 rng{20261211};
};

TEST_F(TableOperationsPropertyTest, RandomOperationsUndoneToTheStartAndRedoneToTheEnd) {
  int edited = 0, groups = 0;
  for (int round = 0; round < 25; ++round) {
    auto built = MakeTable(Rand(2, 4), Rand(2, 4));
    for (int r = 0; r < built->Rows.Count(); ++r)
      for (int c = 0; c < built->Rows.GetColCount(); ++c) {
        AddCellText(*built->GetCells(r, c), std::to_string(r) + std::to_string(c));
        built->GetCells(r, c)->BestWidth = Rand(0, 2) ? 0 : Rand(10, 80);
      }
    TDVTableItemInfo& t = PlaceInEditor(std::move(built));
    Data().UndoList->Clear();
    const std::string start = DumpTable(t);
    const std::string startBytes = DvfBytes(Data());
    for (int step = 0; step < 14; ++step) {
      RandomStep(t);
      ASSERT_TRUE(t.Rows.IsValidGrid()) << "round " << round << " step " << step << "\n" << DumpTable(t);
      ASSERT_FALSE(t.Rows.Empty()) << "round " << round << " step " << step;
    }
    const std::string end = DumpTable(t);
    const std::string endBytes = DvfBytes(Data());
    edited += end != start;
    groups += Data().UndoList->Count();
    while (Data().UndoList->Count() > 0) {
      Data().UndoList->Undo(Data());
      ASSERT_TRUE(t.Rows.IsValidGrid()) << "round " << round << " undoing";
    }
    EXPECT_EQ(DumpTable(t), start) << "round " << round;
    EXPECT_EQ(DvfBytes(Data()), startBytes) << "round " << round;
    EXPECT_TRUE(DrawingIsFresh(Data())) << "round " << round;
    while (Data().RedoList->Count() > 0) {
      Data().RedoList->Redo(Data());
      ASSERT_TRUE(t.Rows.IsValidGrid()) << "round " << round << " redoing";
    }
    EXPECT_EQ(DumpTable(t), end) << "round " << round;
    EXPECT_EQ(DvfBytes(Data()), endBytes) << "round " << round;
    EXPECT_TRUE(DrawingIsFresh(Data())) << "round " << round;
  }
  // The walk really edits: nearly every round ends elsewhere, in many groups.
  EXPECT_GE(edited, 20);
  EXPECT_GE(groups, 25 * 8);
}

}  // namespace
}  // namespace quillet::test
