// The table item's grid operations: each runs the grid's operation as one
// undoable step in an editor, and the selection-relative forms.
#include <algorithm>

#include "editing/table/table_item.h"

namespace quillet {

bool TDVTableItemInfo::GetSelectionRect(int& row, int& col, int& rowCount, int& colCount) const {
  if (SelStartRow < 0 || SelStartCol < 0 || Rows.Empty()) return false;
  row = std::max(std::min(SelStartRow, SelStartRow + SelRowOffs), 0);
  col = std::max(std::min(SelStartCol, SelStartCol + SelColOffs), 0);
  const int lastRow = std::min(std::max(SelStartRow, SelStartRow + SelRowOffs), Rows.Count() - 1);
  const int lastCol = std::min(std::max(SelStartCol, SelStartCol + SelColOffs), Rows.GetColCount() - 1);
  rowCount = lastRow - row + 1;
  colCount = lastCol - col + 1;
  return rowCount > 0 && colCount > 0;
}

void TDVTableItemInfo::ClipSelection() {
  if (SelStartRow < 0 || SelStartCol < 0) return;
  if (SelStartRow >= Rows.Count() || SelStartCol >= Rows.GetColCount()) {
    SelStartRow = SelStartCol = -1;
    SelRowOffs = SelColOffs = 0;
    return;
  }
  SelRowOffs = std::clamp(SelRowOffs, -SelStartRow, Rows.Count() - 1 - SelStartRow);
  SelColOffs = std::clamp(SelColOffs, -SelStartCol, Rows.GetColCount() - 1 - SelStartCol);
}

namespace {

// The selection's rectangle, or a beep without one.
bool SelectionOrBeep(const TDVTableItemInfo& table, int& row, int& col, int& rowCount, int& colCount) {
  if (table.GetSelectionRect(row, col, rowCount, colCount)) return true;
  if (table.Rows.DVData) table.Rows.DVData->Beep();
  return false;
}

}  // namespace

void TDVTableItemInfo::InsertRows(int index, int count, bool select, int copyIndex) {
  EditGrid([&] {
    Rows.InsertRows(index, count, copyIndex, false);
    if (select && count > 0) {
      SelStartRow = index;
      SelStartCol = 0;
      SelRowOffs = count - 1;
      SelColOffs = Rows.GetColCount() - 1;
    }
    return count > 0;
  });
}

void TDVTableItemInfo::InsertCols(int index, int count, bool select, int copyIndex) {
  EditGrid([&] {
    Rows.InsertCols(index, count, copyIndex, false);
    if (select && count > 0) {
      SelStartRow = 0;
      SelStartCol = index;
      SelRowOffs = Rows.Count() - 1;
      SelColOffs = count - 1;
    }
    return count > 0;
  });
}

void TDVTableItemInfo::InsertRowsAbove(int count) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (SelectionOrBeep(*this, row, col, rowCount, colCount)) InsertRows(row, count, true, row);
}

void TDVTableItemInfo::InsertRowsBelow(int count) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (SelectionOrBeep(*this, row, col, rowCount, colCount))
    InsertRows(row + rowCount, count, true, row + rowCount - 1);
}

void TDVTableItemInfo::InsertColsLeft(int count) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (SelectionOrBeep(*this, row, col, rowCount, colCount)) InsertCols(col, count, true, col);
}

void TDVTableItemInfo::InsertColsRight(int count) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (SelectionOrBeep(*this, row, col, rowCount, colCount))
    InsertCols(col + colCount, count, true, col + colCount - 1);
}

void TDVTableItemInfo::DeleteRows(int index, int count, bool decreaseHeight) {
  EditGrid([&] {
    Rows.DeleteRows(index, count, decreaseHeight);
    SelStartRow = SelStartCol = -1;
    return true;
  });
}

void TDVTableItemInfo::DeleteCols(int index, int count, bool decreaseWidth) {
  EditGrid([&] {
    Rows.DeleteCols(index, count, decreaseWidth);
    SelStartRow = SelStartCol = -1;
    return true;
  });
}

void TDVTableItemInfo::DeleteSelectedRows() {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (SelectionOrBeep(*this, row, col, rowCount, colCount)) DeleteRows(row, rowCount, true);
}

void TDVTableItemInfo::DeleteSelectedCols() {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (SelectionOrBeep(*this, row, col, rowCount, colCount)) DeleteCols(col, colCount, true);
}

void TDVTableItemInfo::DeleteEmptyRows() {
  EditGrid([&] {
    bool deleted = false;
    for (int r = Rows.Count() - 1; r >= 0; --r) {
      const TDVTableRow* row = Rows[r];
      bool own = false;
      for (int c = 0; c < row->Count() && !own; ++c) own = row->Cell(c) != nullptr;
      if (own) continue;
      Rows.DeleteRows(r, 1, false);
      deleted = true;
    }
    return deleted;
  });
}

void TDVTableItemInfo::DeleteEmptyCols() {
  EditGrid([&] {
    bool deleted = false;
    for (int c = Rows.GetColCount() - 1; c >= 0; --c) {
      bool own = false;
      for (int r = 0; r < Rows.Count() && !own; ++r) own = Rows.CellAt(r, c) != nullptr;
      if (own) continue;
      Rows.DeleteCols(c, 1, false);
      deleted = true;
    }
    return deleted;
  });
}

bool TDVTableItemInfo::MergeCells(int row, int col, int rowCount, int colCount, bool allowMergeRC) {
  bool merged = false;
  EditGrid([&] { return merged = Rows.MergeCells(row, col, rowCount, colCount, allowMergeRC, true); });
  return merged;
}

bool TDVTableItemInfo::MergeSelectedCells(bool allowMergeRC) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  return GetSelectionRect(row, col, rowCount, colCount) && MergeCells(row, col, rowCount, colCount, allowMergeRC);
}

bool TDVTableItemInfo::CanMergeSelectedCells(bool allowMergeRC) const {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  return GetSelectionRect(row, col, rowCount, colCount) &&
         Rows.CanMergeCells(row, col, rowCount, colCount, allowMergeRC);
}

void TDVTableItemInfo::UnmergeCells(int row, int col, int rowCount, int colCount, bool unmergeRows,
                                    bool unmergeCols) {
  EditGrid([&] {
    Rows.UnmergeCells(row, col, rowCount, colCount, unmergeRows, unmergeCols);
    return true;
  });
}

void TDVTableItemInfo::UnmergeSelectedCells(bool unmergeRows, bool unmergeCols) {
  int row = 0, col = 0, rowCount = 0, colCount = 0;
  if (SelectionOrBeep(*this, row, col, rowCount, colCount))
    UnmergeCells(row, col, rowCount, colCount, unmergeRows, unmergeCols);
}

void TDVTableItemInfo::SplitSelectedCellsVertically(int colCount) {
  int row = 0, col = 0, rows = 0, cols = 0;
  if (!SelectionOrBeep(*this, row, col, rows, cols)) return;
  EditGrid([&] {
    Rows.SplitCellsVertically(row, col, rows, cols, colCount);
    return true;
  });
}

void TDVTableItemInfo::SplitSelectedCellsHorizontally(int rowCount) {
  int row = 0, col = 0, rows = 0, cols = 0;
  if (!SelectionOrBeep(*this, row, col, rows, cols)) return;
  EditGrid([&] {
    Rows.SplitCellsHorizontally(row, col, rows, cols, rowCount);
    return true;
  });
}

void TDVTableItemInfo::ClearCells(const std::vector<std::pair<int, int>>& cells) {
  EditGrid([&] {
    Rows.ClearCells(cells);
    return !cells.empty();
  });
}

}  // namespace quillet
