#include "commands/actions/table_actions.h"

#include <QCheckBox>
#include <QRadioButton>
#include <algorithm>

#include "commands/actions/control_panel.h"
#include "commands/actions/style_actions.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/item_prop_dialog.h"
#include "commands/dialogs/split_dialog.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"

namespace quillet {

namespace {

constexpr bool kAllowMergeRC = true;

bool CanMergeSelection(const TDVTableItemInfo& table) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  return GetNormalizedSelectionBounds(table, true, row, col, rowCount, colCount) &&
         table.Rows.CanMergeCells(row, col, rowCount, colCount, kAllowMergeRC);
}

int SpinValue(const TDVSpinEdit& edit) { return static_cast<int>(edit.CheckValue(edit.Value())); }

}  // namespace

// ---- rows and columns ----

bool TdvActionTableInsertRowsAbove::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  if (!CloseEditedCell(table)) return false;
  table.InsertRowsAbove(1);
  return true;
}

bool TdvActionTableInsertRowsBelow::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (!GetNormalizedSelectionBounds(table, true, row, col, rowCount, colCount)) return false;
  int count = 1;
  if (AllowMultiple && row + rowCount >= table.Rows.Count()) {
    if (!GetInteger("Add Rows", "Row &Count:", count)) return false;
    // The dialog's limits, also for a value that did not pass through them.
    count = std::clamp(count, 1, 100);
  }
  if (!CloseEditedCell(table)) return false;
  table.InsertRowsBelow(count);
  return true;
}

bool TdvActionTableInsertColLeft::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  if (!CloseEditedCell(table)) return false;
  table.InsertColsLeft(1);
  return true;
}

bool TdvActionTableInsertColRight::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  if (!CloseEditedCell(table)) return false;
  table.InsertColsRight(1);
  return true;
}

bool TdvActionTableDeleteRows::ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (!CloseEditedCell(table) || !table.GetSelectionRect(row, col, rowCount, colCount)) return false;
  if (rowCount >= table.Rows.Count()) {
    DeleteWholeTable(editor, table, itemNo);
    return false;
  }
  TDVUndoGroupScope group(editor, dvutModifyItem);
  table.DeleteSelectedRows();
  table.DeleteEmptyRows();
  table.DeleteEmptyCols();
  return true;
}

bool TdvActionTableDeleteCols::ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (!CloseEditedCell(table) || !table.GetSelectionRect(row, col, rowCount, colCount)) return false;
  if (colCount >= table.Rows[0]->Count()) {
    DeleteWholeTable(editor, table, itemNo);
    return false;
  }
  TDVUndoGroupScope group(editor, dvutModifyItem);
  table.DeleteSelectedCols();
  table.DeleteEmptyRows();
  table.DeleteEmptyCols();
  return true;
}

// ---- selection ----

bool TdvActionTableSelectRows::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (CloseEditedCell(table) && table.GetSelectionRect(row, col, rowCount, colCount))
    table.SelectRows(row, rowCount);
  return false;
}

bool TdvActionTableSelectCols::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (CloseEditedCell(table) && table.GetSelectionRect(row, col, rowCount, colCount))
    table.SelectCols(col, colCount);
  return false;
}

bool TdvActionTableSelectTable::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo&, int) { return true; }

bool TdvActionTableSelectTable::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  if (CloseEditedCell(table)) table.SelectRows(0, table.Rows.Count());
  return false;
}

bool TdvActionTableSelectCell::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = -1, col = -1;
  return table.GetEditedCell(row, col) != nullptr;
}

bool TdvActionTableSelectCell::ExecuteCommand(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = -1, col = -1;
  if (!table.GetEditedCell(row, col)) return false;
  // Closing the editor selects its cell.
  table.DeselectPartial();
  CloseEditedCell(table);
  return false;
}

bool TdvActionTableDeleteTable::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo&, int) { return true; }

bool TdvActionTableDeleteTable::ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int itemNo) {
  DeleteWholeTable(editor, table, itemNo);
  return false;
}

// ---- merging and splitting ----

bool TdvActionTableMergeCells::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  return CanMergeSelection(table);
}

bool TdvActionTableMergeCells::ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int) {
  if (!CloseEditedCell(table)) return false;
  TDVUndoGroupScope group(editor, dvutModifyItem);
  table.MergeSelectedCells(kAllowMergeRC);
  table.DeleteEmptyRows();
  table.DeleteEmptyCols();
  return true;
}

bool TdvActionTableSplitCells::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo& table, int) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (!GetNormalizedSelectionBounds(table, true, row, col, rowCount, colCount)) return false;
  int mainRow = 0, mainCol = 0;
  const TDVTableCellData* main = table.Rows.GetMainCell(row, col, mainRow, mainCol);
  // One cell, merged or not, selected whole.
  if (mainRow == row && mainCol == col && main->RowSpan == rowCount && main->ColSpan == colCount) return true;
  return CanMergeSelection(table);
}

bool TdvActionTableSplitCells::ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int) {
  TfrmSplit form;
  const bool rows = CanUnmergeRows(table), cols = CanUnmergeCols(table);
  form.cbUnmergeRows()->setEnabled(rows);
  form.cbUnmergeRows()->setChecked(rows);
  form.cbUnmergeCols()->setEnabled(cols);
  form.cbUnmergeCols()->setChecked(cols);
  form.rbUnmerge()->setEnabled(rows || cols);
  form.cbMerge()->setEnabled(CanMergeSelection(table));
  if (form.ShowModal() != mrOk || !CloseEditedCell(table)) return false;
  if (form.rbUnmerge()->isChecked()) {
    table.UnmergeSelectedCells(form.cbUnmergeRows()->isChecked(), form.cbUnmergeCols()->isChecked());
    return true;
  }
  const int colCount = SpinValue(*form.seColumns()), rowCount = SpinValue(*form.seRows());
  TDVUndoGroupScope group(editor, dvutModifyItem);
  if (form.cbMerge()->isEnabled() && form.cbMerge()->isChecked()) table.MergeSelectedCells(kAllowMergeRC);
  if (colCount > 1) table.SplitSelectedCellsVertically(colCount);
  if (rowCount > 1) table.SplitSelectedCellsHorizontally(rowCount);
  table.DeleteEmptyRows();
  table.DeleteEmptyCols();
  return true;
}

// ---- properties ----

bool TdvActionTableProperties::IsApplicable(TCustomDocViewEdit&, TDVTableItemInfo&, int) { return true; }

bool TdvActionTableProperties::ExecuteCommand(TCustomDocViewEdit& editor, TDVTableItemInfo& table, int) {
  TfrmDVItemProp form;
  form.ColorDialog = DVA_ColorDialog.get();
  form.SetTable(table, false);
  // The edited cell, which the dialog counts as selected, stays selected
  // once its editor closed for the change.
  if (form.ShowModal() != mrOk || !CloseEditedCell(table)) return false;
  TDVUndoGroupScope group(editor, dvutModifyItem);
  form.GetTable(editor, table);
  return true;
}

}  // namespace quillet
