// Random tables and random edits: layouts keep every column at or above
// its minimum, cells tile without overlap and a second layout changes
// nothing; property changes undone to the start give back the table.
#include <gtest/gtest.h>

#include <random>

#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class TablePropertyTest : public TableEditTest {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

  std::unique_ptr<TDVTableItemInfo> RandomTable() {
    auto t = MakeTable(Rand(1, 5), Rand(1, 5));
    t->CellPadding = Rand(0, 3);
    t->CellBorderWidth = Rand(0, 2);
    t->CellHSpacing = Rand(0, 3);
    t->CellVSpacing = Rand(0, 3);
    t->BorderWidth = Rand(0, 2);
    if (Rand(0, 3) == 0) t->BestWidth = Rand(0, 1) ? Rand(50, 500) : -Rand(10, 100);
    for (int i = Rand(0, 3); i > 0; --i) {
      const int r = Rand(0, t->Rows.Count() - 1), c = Rand(0, t->Rows.GetColCount() - 1);
      t->Rows.MergeCellsPlain(r, c, Rand(1, 3), Rand(1, 3), true, false);
    }
    for (int r = 0; r < t->Rows.Count(); ++r)
      for (int c = 0; c < t->Rows.GetColCount(); ++c)
        if (TDVTableCellData* cell = t->GetCells(r, c)) {
          const int kind = Rand(0, 4);
          if (kind == 1) cell->BestWidth = Rand(5, 150);
          if (kind == 2) cell->BestWidth = -Rand(5, 70);
          if (Rand(0, 2) == 0) cell->BestHeight = Rand(0, 40);
          for (int k = Rand(0, 2); k > 0; --k) AddCellText(*cell, Rand(0, 1) ? "中文字" : "words and more words");
        }
    return t;
  }

  std::mt19937 rng{20261210};
};

struct Box {
  int32_t l, t, r, b;
};

TEST_F(TablePropertyTest, RandomGridsLayOutSoundly) {
  TCanvas& canvas = *Data().GetCanvas();
  for (int round = 0; round < 60; ++round) {
    TDVTableItemInfo& t = PlaceInEditor(RandomTable());
    ASSERT_TRUE(t.Rows.IsValidGrid());
    const int32_t docWidth = Rand(0, 900);
    t.Fmt.Width = 0;
    t.InternalOnDocWidthChange(docWidth, t.Fmt, canvas);
    const int cols = t.Rows.GetColCount();
    for (int c = 0; c < cols; ++c)
      EXPECT_GE(t.Fmt.ColWidths[static_cast<size_t>(c)], t.Rows.GetMinColWidth(c, nullptr, canvas))
          << "round " << round << " col " << c;
    std::vector<Box> boxes;
    for (int r = 0; r < t.Rows.Count(); ++r)
      for (int c = 0; c < cols; ++c)
        if (TDVTableCellData* cell = t.GetCells(r, c)) {
          EXPECT_GE(cell->GetWidth(), cell->GetMinWidth(nullptr, canvas)) << "round " << round;
          boxes.push_back({cell->Left, cell->Top, cell->Left + cell->Width, cell->Top + cell->Height});
          EXPECT_LE(boxes.back().r, t.GetWidth()) << "round " << round;
          EXPECT_LE(boxes.back().b, t.GetHeight()) << "round " << round;
        }
    for (size_t i = 0; i < boxes.size(); ++i)
      for (size_t j = i + 1; j < boxes.size(); ++j) {
        const Box& a = boxes[i];
        const Box& b = boxes[j];
        EXPECT_FALSE(a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b) << "round " << round << " cells overlap";
      }
    const TDVTableItemFormattingInfo first = t.Fmt;
    t.Fmt.Width = 0;
    t.InternalOnDocWidthChange(docWidth, t.Fmt, canvas);
    EXPECT_EQ(t.Fmt.ColWidths, first.ColWidths) << "round " << round;
    EXPECT_EQ(t.Fmt.RowHeights, first.RowHeights) << "round " << round;
    EXPECT_EQ(t.Fmt.Width, first.Width) << "round " << round;
    EXPECT_EQ(t.Fmt.Height, first.Height) << "round " << round;
  }
}

TEST_F(TablePropertyTest, RandomPropertyChangesUndoneToTheStart) {
  const char* const tableProps[] = {"BorderWidth", "CellPadding", "CellHSpacing", "CellVSpacing", "Color",
                                    "BorderStyle", "BestWidth", "VRuleWidth", "HOutermostRule"};
  const char* const cellProps[] = {"BestWidth", "BestHeight", "Color", "BorderColor", "VAlign"};
  for (int round = 0; round < 10; ++round) {
    TDVTableItemInfo& t = PlaceInEditor(RandomTable());
    Data().UndoList->Clear();
    const std::string start = DumpTable(t), startBytes = DvfBytes(Data());
    for (int step = 0; step < 12; ++step) {
      const int r = Rand(0, t.Rows.Count() - 1), c = Rand(0, t.Rows.GetColCount() - 1);
      int mr = 0, mc = 0;
      t.Rows.GetMainCell(r, c, mr, mc);
      switch (Rand(0, 3)) {
        case 0: {
          const std::string name = tableProps[Rand(0, 8)];
          const int32_t value = name == "BorderStyle" ? Rand(0, 4) : name == "HOutermostRule" ? Rand(0, 1)
                              : name == "BestWidth"   ? Rand(-100, 400)
                                                      : Rand(0, 6);
          t.SetProperty(name, value);
          break;
        }
        case 1: {
          const std::string name = cellProps[Rand(0, 4)];
          t.SetCellProperty(name, name == "VAlign" ? Rand(0, 3) : name == "BestHeight" ? Rand(0, 50) : Rand(-50, 200),
                            mr, mc);
          break;
        }
        case 2: {
          TDVBooleanRect sides;
          sides.SetValues(Rand(0, 1), Rand(0, 1), Rand(0, 1), Rand(0, 1));
          t.SetCellVisibleBorders(sides, mr, mc);
          break;
        }
        default: {
          int sr = 0, sc = 0;
          const TDVTableCellData* source =
              t.Rows.GetMainCell(Rand(0, t.Rows.Count() - 1), Rand(0, t.Rows.GetColCount() - 1), sr, sc);
          t.AssignCellAttributes(mr, mc, *source, Rand(0, 1), Rand(1, 3), Rand(1, 3));
        }
      }
    }
    const std::string end = DumpTable(t), endBytes = DvfBytes(Data());
    while (Data().UndoList->Count() > 0) Data().UndoList->Undo(Data());
    EXPECT_EQ(DumpTable(t), start) << "round " << round;
    EXPECT_EQ(DvfBytes(Data()), startBytes) << "round " << round;
    EXPECT_TRUE(DrawingIsFresh(Data())) << "round " << round;
    while (Data().RedoList->Count() > 0) Data().RedoList->Redo(Data());
    EXPECT_EQ(DumpTable(t), end) << "round " << round;
    EXPECT_EQ(DvfBytes(Data()), endBytes) << "round " << round;
  }
}

}  // namespace
}  // namespace quillet::test
