// The item of a kind at the caret, looked for from the innermost open cell
// editor outwards: a nested table is found in the cell editor that holds
// it, not the outer table.
#include <gtest/gtest.h>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_cell.h"
#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class CurrentItemTest : public TableEditTest {};

TEST_F(CurrentItemTest, TableAtTheCaretIsTheInnermostWithItsEditor) {
  auto outerTable = MakeTable(2, 2);
  AddCellText(*outerTable->GetCells(0, 0), "a");
  auto nestedTable = MakeTable(1, 2);
  AddCellText(*nestedTable->GetCells(0, 0), "n");
  TDVTableItemInfo& nested = *nestedTable;
  nestedTable->ParaNo = 0;
  outerTable->GetCells(1, 1)->AddItem("", std::move(nestedTable));
  TDVTableItemInfo& outer = PlaceInEditor(std::move(outerTable));
  TCustomDocViewEdit* holder = editor.get();

  editor->SetSelectionBounds(0, 1, 0, 1);
  EXPECT_EQ(editor->GetCurrentItemEx<TDVTableItemInfo>(holder), &outer);
  EXPECT_EQ(holder, editor.get());

  outer.CreateInplace(0, 0, 0, false, true, false);
  int row = -1, col = -1;
  EXPECT_EQ(editor->GetCurrentItemEx<TDVTableItemInfo>(holder), &outer) << "from the text of a cell";
  EXPECT_EQ(holder, editor.get());

  outer.CreateInplace(0, 1, 1, false, true, false);
  TDVTableInplaceEdit* cellEditor = outer.GetEditedCell(row, col);
  ASSERT_NE(cellEditor, nullptr);
  nested.CreateInplace(0, 0, 0, false, true, false);
  ASSERT_NE(nested.GetEditedCell(row, col), nullptr);
  EXPECT_EQ(editor->GetCurrentItemEx<TDVTableItemInfo>(holder), &nested);
  EXPECT_EQ(holder, cellEditor);
  // A kind nothing in the chain has.
  EXPECT_EQ(editor->GetCurrentItemEx<TDVBreakItemInfo>(holder), nullptr);
  EXPECT_EQ(holder, nullptr);
}

}  // namespace
}  // namespace quillet::test
