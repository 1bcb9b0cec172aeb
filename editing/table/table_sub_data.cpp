// The table's cells as sub-documents, handed out one at a time in reading
// order (row by row, left to right), as the search walks them, and the
// chosen cell: the one its document treats as where the caret is.
#include "editing/table/table_item.h"

#include "engine/layout/formatted_data.h"

namespace quillet {

TCustomDVData* TDVTableItemInfo::GetSubDVData(std::unique_ptr<TDVStoreSubDVData>& store,
                                              TDVSubDVDataPos position) const {
  const int cols = Rows.GetColCount();
  const int64_t count = int64_t{Rows.Count()} * cols;
  int64_t at = 0, step = 1;
  switch (position) {
    case dvdFirst:
      at = 0;
      break;
    case dvdLast:
      at = count - 1;
      step = -1;
      break;
    case dvdNext:
    case dvdPrev: {
      const auto* from = dynamic_cast<const TDVTableStoreSubDVData*>(store.get());
      if (!from) return nullptr;
      step = position == dvdNext ? 1 : -1;
      at = int64_t{from->Row} * cols + from->Col + step;
      break;
    }
    case dvdChosenUp:
    case dvdChosenDown: {
      int row = ChosenRow, col = ChosenCol, rowCount = 1, colCount = 1;
      if (GetSelectionRect(row, col, rowCount, colCount) && position == dvdChosenUp) {
        row += rowCount - 1;
        col += colCount - 1;
      }
      if (row < 0 || col < 0 || row >= Rows.Count() || col >= Rows.GetColCount()) return nullptr;
      int mainRow = row, mainCol = col;
      TDVTableCellData* cell = Rows.GetMainCell(row, col, mainRow, mainCol);
      store = std::make_unique<TDVTableStoreSubDVData>(mainRow, mainCol);
      return cell;
    }
  }
  for (; at >= 0 && at < count; at += step) {
    const int row = static_cast<int>(at / cols), col = static_cast<int>(at % cols);
    if (TDVTableCellData* cell = Rows.CellAt(row, col)) {
      store = std::make_unique<TDVTableStoreSubDVData>(row, col);
      return cell;
    }
  }
  return nullptr;
}

void TDVTableItemInfo::ChooseSubDVData(const TDVStoreSubDVData* store) {
  if (const auto* at = dynamic_cast<const TDVTableStoreSubDVData*>(store)) ChooseSubDVData_(at->Row, at->Col);
}

void TDVTableItemInfo::ChooseSubDVData_(int row, int col) {
  auto* data = dynamic_cast<TCustomDVFormattedData*>(Rows.DVData);
  TDVTableCellData* cell = row >= 0 && col >= 0 && row < Rows.Count() && col < Rows.GetColCount()
                               ? Rows.CellAt(row, col)
                               : nullptr;
  if (!data || !cell) return;
  data->AssignChosenDVData(cell, this);
  ChosenRow = row;
  ChosenCol = col;
}

void TDVTableItemInfo::CleanUpChosen() {
  // The editor works on the chosen cell only.
  DestroyInplace();
  if (ChosenRow >= 0 && ChosenRow < Rows.Count() && ChosenCol >= 0 && ChosenCol < Rows[ChosenRow]->Count())
    if (TDVTableCellData* cell = Rows.CellAt(ChosenRow, ChosenCol)) cell->Deselect(nullptr, false);
  ChosenRow = ChosenCol = -1;
}

}  // namespace quillet
