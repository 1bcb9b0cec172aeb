// Moving through a table from the keyboard: the cell editor passing to a
// neighbouring cell or out of the table, the caret entering the table from
// outside, Tab among the cells' links and controls, and the links' areas.
#include <limits>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"

namespace quillet {

void TDVTableItemInfo::InplaceMove(TDVCellDirection direction) {
  TDVEditDVData* data = EditData();
  const int itemNo = GetMyItemNo();
  if (!inplace_ || !data || itemNo < 0) return;
  const int row = inplace_->Row(), col = inplace_->Col();
  const TDVTableCellData& cell = *inplace_->Cell();
  // The caret goes into the document that holds the table, which closes
  // the editor.
  auto leaveTo = [data](int at, int32_t offs) {
    data->SetSelectionBounds(at, offs, at, offs);
    data->Editor().SetFocus();
  };
  const int last = data->ItemCount() - 1;
  switch (direction) {
    case dvcdDocTop: return leaveTo(0, data->GetOffsBeforeItem(0));
    case dvcdDocBottom: return leaveTo(last, data->GetOffsAfterItem(last));
    default: break;
  }
  int newRow = -1, newCol = -1;
  if (GetCellTo(row, col, direction, newRow, newCol)) {
    const bool atEnd = direction == dvcdLeft || direction == dvcdUp || direction == dvcdPrev;
    CreateInplace(itemNo, newRow, newCol, !atEnd, atEnd, false);
    return;
  }
  if ((direction == dvcdLeft && col == 0) || (direction == dvcdUp && row == 0))
    leaveTo(itemNo, 0);
  else if ((direction == dvcdRight && col + cell.ColSpan >= Rows.GetColCount()) ||
           (direction == dvcdDown && row + cell.RowSpan >= Rows.Count()))
    leaveTo(itemNo, 1);
}

int TDVTableItemInfo::GetNearestColNo(int32_t x) const {
  int best = -1;
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (size_t c = 0; c < Fmt.ColStarts.size() && c < Fmt.ColWidths.size(); ++c) {
    const int64_t left = Fmt.ColStarts[c], right = left + Fmt.ColWidths[c] + GetDevX(2 * CellPadding);
    const int64_t distance = x < left ? left - x : (x > right ? x - right : 0);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(c);
    }
  }
  return best;
}

bool TDVTableItemInfo::EnterItem(TDVEnterDirection from, int32_t x) {
  TDVEditDVData* data = EditData();
  const int itemNo = GetMyItemNo();
  if (!(Options & dvtoEditing) || !data || itemNo < 0 || Rows.Count() == 0 || Rows.GetColCount() == 0) return false;
  const int lastRow = Rows.Count() - 1;
  int row = 0, col = 0;
  switch (from) {
    case dvedLeft: break;
    case dvedRight:
      row = lastRow;
      col = Rows.GetColCount() - 1;
      break;
    case dvedTop:
    case dvedBottom: {
      int32_t left = 0, top = 0;
      if (!data->GetItemCoords(itemNo, left, top)) return false;
      // Between columns the nearest one takes the caret.
      col = GetNearestColNo(Clamp32(int64_t{x} - left));
      if (col < 0) return false;
      row = from == dvedTop ? 0 : lastRow;
      break;
    }
  }
  int mainRow = row, mainCol = col;
  if (!Rows.GetMainCell(row, col, mainRow, mainCol)) return false;
  const bool atEnd = from == dvedRight || from == dvedBottom;
  CreateInplace(itemNo, mainRow, mainCol, !atEnd, atEnd, false);
  return inplace_ && inplace_->Row() == mainRow && inplace_->Col() == mainCol;
}

// ---- keyboard focus among the cells' links and controls ----

TDVTableCellData* TDVTableItemInfo::FocusedCell() const {
  if (FocusedRow < 0 || FocusedCol < 0 || FocusedRow >= Rows.Count() || FocusedCol >= Rows[FocusedRow]->Count())
    return nullptr;
  return Rows.CellAt(FocusedRow, FocusedCol);
}

bool TDVTableItemInfo::MoveFocus(bool goForward, TCustomDVData*& topLevelDVData, int& topLevelItemNo) {
  std::unique_ptr<TDVStoreSubDVData> store;
  TDVTableCellData* cell = FocusedCell();
  int from = -1;
  if (cell) {
    store = std::make_unique<TDVTableStoreSubDVData>(FocusedRow, FocusedCol);
    from = cell->FocusedItemNo;
  } else {
    cell = static_cast<TDVTableCellData*>(GetSubDVData(store, goForward ? dvdFirst : dvdLast));
  }
  while (cell) {
    const int next = cell->GetNextFocusedItem(from, goForward, topLevelDVData, topLevelItemNo);
    if (next >= 0) {
      cell->FocusedItemNo = next;
      const auto& at = static_cast<const TDVTableStoreSubDVData&>(*store);
      FocusedRow = at.Row;
      FocusedCol = at.Col;
      return true;
    }
    cell->ClearFocus();
    cell->FocusedItemNo = -1;
    cell = static_cast<TDVTableCellData*>(GetSubDVData(store, goForward ? dvdNext : dvdPrev));
    from = -1;
  }
  FocusedRow = FocusedCol = -1;
  return false;
}

void TDVTableItemInfo::ClearFocus() {
  if (TDVTableCellData* cell = FocusedCell()) {
    cell->ClearFocus();
    cell->FocusedItemNo = -1;
  }
  FocusedRow = FocusedCol = -1;
}

bool TDVTableItemInfo::OwnsControl(const TControl* control) const {
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c)
      if (const TDVTableCellData* cell = Rows.CellAt(r, c); cell && cell->FindControlItemNo(control) >= 0) return true;
  return false;
}

bool TDVTableItemInfo::AdjustFocusToControl(const TControl* control, TCustomDVData*& topLevelDVData,
                                            int& topLevelItemNo) {
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c) {
      TDVTableCellData* cell = Rows.CellAt(r, c);
      const int itemNo = cell ? cell->FindControlItemNo(control) : -1;
      if (itemNo < 0) continue;
      if (TDVTableCellData* old = FocusedCell(); old && old != cell) {
        old->ClearFocus();
        old->FocusedItemNo = -1;
      }
      FocusedRow = r;
      FocusedCol = c;
      cell->FocusedItemNo = itemNo;
      topLevelDVData = cell;
      topLevelItemNo = itemNo;
      // A control in a table inside the cell is focused where it stands.
      cell->GetItem(itemNo)->AdjustFocusToControl(control, topLevelDVData, topLevelItemNo);
      return true;
    }
  return false;
}

bool TDVTableItemInfo::OwnsInplaceEditor(const TCustomControl* editor) const {
  return editor && editor == inplace_;
}

void TDVTableItemInfo::BuildJumps(int32_t left, int32_t top, int32_t& jumpNo, TDVJumpList& jumps) {
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c) {
      TDVTableCellData* cell = Rows.CellAt(r, c);
      if (!cell) continue;
      if (inplace_ && inplace_->Cell() == cell) {
        // The edited cell's items are in its editor, a window of its own:
        // the areas go there, numbered on from the links before the cell.
        TDVEditDVData& cellData = inplace_->EditData();
        const TDVEditDVData* owner = EditData();
        cellData.FirstJumpNo = Clamp32(int64_t{owner ? owner->GetFirstJumpNo() : 0} + jumpNo);
        cellData.TDVEditDVData::BuildJumpsCoords(true);
        jumpNo = Clamp32(int64_t{jumpNo} + cellData.nJmps);
        continue;
      }
      const size_t first = jumps.size();
      cell->BuildJumpsCoords(jumpNo, jumps);
      const int64_t dx = int64_t{left} + cell->Left + GetDevX(CellPadding);
      const int64_t dy = int64_t{top} + cell->Top + GetDevY(CellPadding) + cell->GetExtraVOffs();
      for (size_t j = first; j < jumps.size(); ++j) {
        jumps[j]->Left = Clamp32(jumps[j]->Left + dx);
        jumps[j]->Top = Clamp32(jumps[j]->Top + dy);
      }
    }
}

}  // namespace quillet
