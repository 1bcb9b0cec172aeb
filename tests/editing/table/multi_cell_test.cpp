// Operations over a cell selection: a conversion over several cells is one
// undoable step, cells that OnCellEditing refuses stay as they are, a
// protected cell refuses the whole deletion, and a failing handler leaves
// every cell its content.
#include <gtest/gtest.h>

#include <stdexcept>

#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class MultiCellTest : public TableEditTest {
 protected:
  // A 2 x 2 table of one-letter cells, the first row selected.
  TDVTableItemInfo& Place(int32_t secondCellStyle = kGbk) {
    auto t = MakeTable(2, 2);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) AddCellText(*t->GetCells(r, c), std::string(1, static_cast<char>('a' + 2 * r + c)));
    t->GetCells(0, 1)->GetItem(0)->StyleNo = secondCellStyle;
    TDVTableItemInfo& table = PlaceInEditor(std::move(t));
    table.Select(0, 0, 0, 1);
    return table;
  }
  void ToUnicode() {
    editor->FCurStyleConversion = [this](void*, int32_t styleNo, int32_t, bool, int32_t& newStyleNo) {
      if (throwOnCall && ++calls == throwOnCall) throw std::runtime_error("handler failed");
      if (styleNo == kGbk) newStyleNo = kUni;
    };
  }
  static std::string Cell(const TDVTableItemInfo& t, int r, int c) { return DescribeDoc(*t.GetCells(r, c)); }
  int calls = 0, throwOnCall = 0;
};

TEST_F(MultiCellTest, AConversionOverTwoCellsIsUndoneInOneStep) {
  TDVTableItemInfo& t = Place();
  ToUnicode();
  int changes = 0;
  editor->OnChange = [&](TCustomDocView&) { ++changes; };
  ASSERT_EQ(Data().FPartialSelectedItem, &t);
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().ApplyStyleConversion_(0); }));
  EXPECT_EQ(Cell(t, 0, 0), "P0 1\"a\"");
  EXPECT_EQ(Cell(t, 0, 1), "P0 1\"b\"");
  EXPECT_EQ(Cell(t, 1, 0), "P0 0\"c\"");
  EXPECT_EQ(Data().UndoList->Count(), 1);
  EXPECT_GE(changes, 1);
  // Undone again after the redo: the record made by the undo redoes, and
  // the one made by the redo undoes.
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Cell(t, 0, 0), "P0 0\"a\"");
  EXPECT_EQ(Cell(t, 0, 1), "P0 0\"b\"");
}

TEST_F(MultiCellTest, ParagraphStylesOverTheSelectedCells) {
  TDVTableItemInfo& t = Place();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().ApplyParaStyle(kIndentPara, false); }));
  EXPECT_EQ(Cell(t, 0, 0), "P1 0\"a\"");
  EXPECT_EQ(Cell(t, 0, 1), "P1 0\"b\"");
  EXPECT_EQ(Cell(t, 1, 1), "P0 0\"d\"");
}

TEST_F(MultiCellTest, CellsThatOnCellEditingRefusesStayAsTheyAre) {
  TDVTableItemInfo& t = Place();
  ToUnicode();
  t.OnCellEditing = [](TDVTableItemInfo&, int, int col, bool automatic, bool& allow) { allow = !(automatic && col == 1); };
  Data().ApplyStyleConversion_(0);
  EXPECT_EQ(Cell(t, 0, 0), "P0 1\"a\"");
  EXPECT_EQ(Cell(t, 0, 1), "P0 0\"b\"");
  ASSERT_TRUE(editor->DeleteSelection());
  EXPECT_EQ(Cell(t, 0, 0), "");
  EXPECT_EQ(Cell(t, 0, 1), "P0 0\"b\"");
  // Every cell refused: nothing is recorded, the change event still fires.
  t.OnCellEditing = [](TDVTableItemInfo&, int, int, bool, bool& allow) { allow = false; };
  const int groups = Data().UndoList->Count();
  int changes = 0;
  editor->OnChange = [&](TCustomDocView&) { ++changes; };
  Data().ApplyParaStyle(kIndentPara, false);
  EXPECT_EQ(Data().UndoList->Count(), groups);
  EXPECT_EQ(changes, 1);
}

TEST_F(MultiCellTest, DeletingCellsIsUndoneAndProtectedTextRefusesIt) {
  {
    TDVTableItemInfo& t = Place();
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { EXPECT_TRUE(editor->DeleteSelection()); }));
    EXPECT_EQ(Cell(t, 0, 1), "");
    EXPECT_EQ(Cell(t, 1, 1), "P0 0\"d\"");
  }
  Data().UndoList->Clear();
  sheet.TextStyles()[kProtected].Protection |= dvprDeleteProtect;
  TDVTableItemInfo& t = Place(kProtected);
  const std::string before = DvfBytes(Data());
  EXPECT_FALSE(t.CanDeletePartiallySelected());
  EXPECT_FALSE(editor->DeleteSelection());
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
}

TEST_F(MultiCellTest, AFailingHandlerLeavesEveryCellItsContent) {
  TDVTableItemInfo& t = Place();
  ToUnicode();
  throwOnCall = 3;  // the caret style, then the first cell's text, then the second cell
  const std::string before = DescribeDoc(*t.GetCells(0, 1));
  EXPECT_THROW(Data().ApplyStyleConversion_(0), std::runtime_error);
  EXPECT_EQ(Cell(t, 0, 1), before);
  EXPECT_EQ(t.GetCells(0, 0)->ItemCount(), 1);
  EXPECT_EQ(Data().UndoDest, udNone);
}

}  // namespace
}  // namespace quillet::test
