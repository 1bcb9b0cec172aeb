// Search into tables: the cells handed out in reading order, covered
// positions skipped, and the text search finding words inside them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class TableSearchTest : public TableEditTest {
 protected:
  // Text, a 3 x 3 table whose middle row's first two cells are merged and
  // whose last column's lower two cells are merged, then text.
  TDVTableItemInfo& Build(const std::vector<std::pair<std::pair<int, int>, std::string>>& cellTexts) {
    auto table = MakeTable(3, 3);
    table->Rows.MergeCellsPlain(1, 0, 1, 2, true, true);
    table->Rows.MergeCellsPlain(1, 2, 2, 1, true, true);
    for (const auto& [at, text] : cellTexts) AddCellText(*table->GetCells(at.first, at.second), text);
    TDVTableItemInfo& t = *table;
    Data().Clear();
    Data().AddNL(ItemText("开头", false), kGbk, 0);
    table->ParaNo = 0;
    Data().AddItem("", std::move(table));
    Data().AddNL(ItemText("结尾", false), kGbk, 0);
    Data().Format();
    return t;
  }

  static std::vector<std::pair<int, int>> Walk(const TDVTableItemInfo& t, TDVSubDVDataPos from, TDVSubDVDataPos step) {
    std::vector<std::pair<int, int>> cells;
    std::unique_ptr<TDVStoreSubDVData> store;
    for (TCustomDVData* sub = t.GetSubDVData(store, from); sub; sub = t.GetSubDVData(store, step)) {
      const auto* place = dynamic_cast<const TDVTableStoreSubDVData*>(store.get());
      if (!place || sub != t.GetCells(place->Row, place->Col)) {
        ADD_FAILURE() << "the store does not name the cell handed out";
        break;
      }
      cells.emplace_back(place->Row, place->Col);
    }
    return cells;
  }
};

TEST_F(TableSearchTest, CellsInReadingOrderBothWays) {
  const TDVTableItemInfo& t = Build({});
  const std::vector<std::pair<int, int>> order = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}};
  EXPECT_EQ(Walk(t, dvdFirst, dvdNext), order);
  const std::vector<std::pair<int, int>> backwards(order.rbegin(), order.rend());
  EXPECT_EQ(Walk(t, dvdLast, dvdPrev), backwards);
  // No cell is chosen.
  std::unique_ptr<TDVStoreSubDVData> store;
  EXPECT_EQ(t.GetSubDVData(store, dvdChosenDown), nullptr);
  EXPECT_EQ(t.GetSubDVData(store, dvdNext), nullptr);  // no place to go on from

  TDVTableItemInfo empty(&Data());
  empty.Rows.Reset(0, 0);
  EXPECT_EQ(empty.GetSubDVData(store, dvdFirst), nullptr);
  EXPECT_EQ(empty.GetSubDVData(store, dvdLast), nullptr);
}

TEST_F(TableSearchTest, TextSearchFindsWordsInCells) {
  // Down from the start, the word is only in the last cell; up from the
  // end, only in the first: the search walks past every other cell.
  for (bool down : {true, false}) {
    SCOPED_TRACE(down ? "down" : "up");
    const std::pair<int, int> at = down ? std::make_pair(2, 1) : std::make_pair(0, 0);
    TDVTableItemInfo& t = Build({{{0, 1}, "没有"}, {{1, 2}, "猫的影子"}, {at, "一只猫"}});
    if (!down) Data().SetCaretAtItem(2, Data().GetOffsAfterItem(2));
    ASSERT_TRUE(Data().SearchText(down, false, ItemText("一只", false), false));
    EXPECT_EQ(t.GetCells(at.first, at.second)->GetSelText(false), ItemText("一只", false));
    EXPECT_FALSE(Data().SearchText(down, false, ItemText("狗", false), false));
  }
}

TEST_F(TableSearchTest, EachHitChoosesItsCellAndTheNextSearchGoesOnFromThere) {
  TDVTableItemInfo& t = Build({{{0, 1}, "一猫"}, {{1, 2}, "猫的影子"}, {{2, 1}, "一只猫"}});
  const std::string cat = ItemText("猫", false);
  for (auto [row, col] : {std::pair{0, 1}, {1, 2}, {2, 1}}) {
    ASSERT_TRUE(Data().SearchText(true, false, cat, false)) << row << "," << col;
    EXPECT_EQ(Data().GetChosenDVData(), t.GetCells(row, col));
    EXPECT_EQ(std::make_pair(t.ChosenRow, t.ChosenCol), std::make_pair(row, col));
    EXPECT_EQ(Data().GetSelText(false), cat);
  }
  // The cell chosen before lost its selection with its place.
  EXPECT_FALSE(t.GetCells(0, 1)->SelectionExists(false, false));
  EXPECT_FALSE(Data().SearchText(true, false, cat, false));
  Data().Deselect(nullptr, true);
  EXPECT_EQ(Data().GetChosenDVData(), nullptr);
  EXPECT_EQ(t.ChosenRow, -1);
  EXPECT_FALSE(t.GetCells(2, 1)->SelectionExists(false, false));
}

}  // namespace
}  // namespace quillet::test
