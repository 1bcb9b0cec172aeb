// Operations over the selected cells: style changes applied to each cell's
// whole content through a hidden editor, and clearing them, each one
// undoable step of the document.
#include "editing/table/table_multi_cell.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"
#include "engine/base/doc_view_error.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

// The cell's items go into the hidden editor, laid out at the cell's width.
void LoadCell(TCustomDocViewEdit& editor, TDVTableCellData& cell) {
  TDVEditDVData& data = editor.EditData();
  editor.SetBounds(0, 0, std::max<int32_t>(cell.GetWidth(), 1), std::max<int32_t>(cell.GetHeight(), 1));
  data.Clear();
  data.DrainFrom(&cell);
  data.Format();
}

void StoreCell(TCustomDocViewEdit& editor, TDVTableCellData& cell) {
  editor.EditData().Deselect(nullptr, false);
  cell.DrainFrom(&editor.EditData());
}

// Moves count groups from the end of one list to the end of another.
void MoveGroups(TDVUndoList& from, TDVUndoList& to, int count) {
  const int first = from.Count() - count;
  if (count < 0 || first < 0) throw EDocViewError("Undo buffer is empty");
  for (int i = 0; i < count; ++i) to.AddInfos(from.DeleteAsPointer(first));
}

bool CanClear(const TDVTableCellData& cell) {
  const TDVStyle* sheet = cell.GetDVStyle();
  if (!sheet) return true;
  for (int i = 0; i < cell.ItemCount(); ++i) {
    const int32_t styleNo = cell.GetItemStyle(i);
    if (sheet->TextStyles().IsValidIndex(styleNo) && (sheet->TextStyles()[styleNo].Protection & dvprDeleteProtect))
      return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<TCustomDocViewEdit> TDVTableItemInfo::CreateTemporalEditor() const {
  TDVEditDVData* outer = EditData();
  if (!outer) return nullptr;
  const TCustomDocViewEdit& source = outer->Editor();
  auto editor = std::make_unique<TDocViewEdit>();
  // Never shown: scroll bars would only be set for nothing at each layout.
  editor->SetVScrollVisible(false);
  editor->SetHScrollVisible(false);
  editor->EditData().CaretStopOnly = true;
  editor->SetStyle(source.Style());
  editor->SetOptions(source.Options());
  editor->SetUndoLimit(source.UndoLimit() != 0 ? -1 : 0);
  editor->OnStyleConversion = source.OnStyleConversion;
  editor->OnParaStyleConversion = source.OnParaStyleConversion;
  editor->FCurStyleConversion = source.FCurStyleConversion;
  return editor;
}

void TDVTableItemInfo::ModifyCells(const std::function<bool(int row, int col)>& which,
                                   const std::function<void(TCustomDocViewEdit& cellEditor)>& change) {
  TDVEditDVData* data = BeginEdit();
  if (!data) return;
  const int itemNo = GetMyItemNo();
  TDVEditOperation editOperation(*data);
  data->BeginUndoSequence(dvutModifyItem, true);
  int32_t width = 0;
  data->BeginItemModify(itemNo, width);
  std::unique_ptr<TCustomDocViewEdit> temp = CreateTemporalEditor();
  TDVEditDVData& tempData = temp->EditData();
  auto record = std::make_unique<TDVUndoMultiCellsModify>(DVUndoOwner(*data));
  record->ItemNo = itemNo;
  bool changed = false;
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c) {
      TDVTableCellData* cell = Rows.CellAt(r, c);
      if (!cell || !which(r, c)) continue;
      LoadCell(*temp, *cell);
      // The cell gets its items back whatever the change does.
      try {
        const int groups = tempData.UndoList->Count();
        change(*temp);
        const int added = tempData.UndoList->Count() - groups;
        if (added > 0) {
          record->Rows.push_back(r);
          record->Cols.push_back(c);
          record->GroupCounts.push_back(added);
          MoveGroups(*tempData.UndoList, *record->UndoList, added);
          changed = true;
        }
      } catch (...) {
        StoreCell(*temp, *cell);
        MarkChanged();
        data->EndItemModify(itemNo, width);
        data->UndoList->PopIfEmpty();
        throw;
      }
      StoreCell(*temp, *cell);
    }
  if (changed) {
    MarkChanged();
    if (TDVUndoList* list = data->GetUndoList()) list->AddInfo(std::move(record));
  }
  // The bracket ends even when nothing changed, so the change event fires
  // for every operation that ran.
  data->EndItemModify(itemNo, width);
  data->UndoList->PopIfEmpty();
  data->Change();
}

void TDVTableItemInfo::ApplyToPartiallySelected(int operation, int32_t value) {
  if (!(Options & dvtoEditing) || !PartiallySelected()) return;
  ModifyCells([this](int r, int c) { return IsCellSelected(r, c) && DoOnCellEditing(r, c, true); },
              [&](TCustomDocViewEdit& temp) {
                TDVEditDVData& tempData = temp.EditData();
                tempData.SelectAll();
                if (operation == 2) {
                  tempData.ApplyStyleConversion_(value);
                } else {
                  TDVEditOperation cellOperation(tempData);
                  tempData.BeginUndoSequence(dvutPara, true);
                  tempData.ApplyParaStyle(value, operation == 1);
                  tempData.UndoList->PopIfEmpty();
                }
              });
}

void TDVTableItemInfo::ApplyStyleConversionToPartiallySelected(int32_t userData) {
  ApplyToPartiallySelected(2, userData);
}

void TDVTableItemInfo::ApplyParaStyleToPartiallySelected(int32_t paraNo) { ApplyToPartiallySelected(0, paraNo); }

void TDVTableItemInfo::ApplyParaStyleConversionToPartiallySelected(int32_t userData) {
  ApplyToPartiallySelected(1, userData);
}

bool TDVTableItemInfo::CanDeletePartiallySelected() const {
  if (!(Options & dvtoEditing) || !PartiallySelected() || !EditData()) return false;
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c)
      if (const TDVTableCellData* cell = Rows.CellAt(r, c); cell && IsCellSelected(r, c) && !CanClear(*cell))
        return false;
  return true;
}

void TDVTableItemInfo::DeletePartiallySelected() {
  std::vector<std::pair<int, int>> cells;
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c)
      if (Rows.CellAt(r, c) && IsCellSelected(r, c) && DoOnCellEditing(r, c, true)) cells.emplace_back(r, c);
  if (!cells.empty()) ClearCells(cells);
}

// ---- its undo ----

TCustomDVData* DVUndoOwner(TDVEditDVData& data) {
  TDVEditDVData* owner = &data;
  while (auto* cell = dynamic_cast<TDVTableInplaceEdit*>(&owner->Editor())) owner = &cell->Outer().EditData();
  return owner;
}

void TDVUndoMultiCellsModify::Undo(TDVEditDVData& data) {
  auto* table = dynamic_cast<TDVTableItemInfo*>(data.GetItem(ItemNo));
  if (!table) throw EDocViewError("Table undo record does not point at a table");
  std::unique_ptr<TCustomDocViewEdit> temp = table->CreateTemporalEditor();
  if (!temp) return;
  TDVEditDVData& tempData = temp->EditData();
  auto opposite = std::make_unique<TDVUndoMultiCellsModify>(DVUndoOwner(data));
  opposite->ItemNo = ItemNo;
  opposite->IsRedo = !IsRedo;
  TDVUndoList& source = IsRedo ? *tempData.RedoList : *tempData.UndoList;
  TDVUndoList& produced = IsRedo ? *tempData.UndoList : *tempData.RedoList;
  std::vector<std::unique_ptr<TDVUndoInfos>> madeGroups;
  // Last cell first: its groups are at the end of the list.
  for (int i = static_cast<int>(Rows.size()) - 1; i >= 0; --i) {
    TDVTableCellData* cell = table->GetCells(Rows[static_cast<size_t>(i)], Cols[static_cast<size_t>(i)]);
    if (!cell) throw EDocViewError("Invalid table cell position");
    const int count = GroupCounts[static_cast<size_t>(i)];
    // Loading clears the editor's lists: the groups come in after it.
    LoadCell(*temp, *cell);
    MoveGroups(*UndoList, source, count);
    try {
      // A typing group is undone a character at a time: run until the
      // cell's groups are all gone.
      for (const int rest = source.Count() - count; source.Count() > rest;)
        IsRedo ? source.Redo(tempData) : source.Undo(tempData);
    } catch (...) {
      StoreCell(*temp, *cell);
      table->MarkChanged();
      throw;
    }
    const int made = produced.Count();
    // Taken before the items go back, which empties the editor's lists.
    // Gathered backwards and turned round below: inserting at the front
    // cost time in the square of the cell count.
    for (int k = made - 1; k >= 0; --k) {
      std::unique_ptr<TDVUndoInfos> group = produced.DeleteAsPointer(k);
      group->ChangeUndoList(opposite->UndoList.get());
      madeGroups.push_back(std::move(group));
    }
    StoreCell(*temp, *cell);
    opposite->Rows.push_back(Rows[static_cast<size_t>(i)]);
    opposite->Cols.push_back(Cols[static_cast<size_t>(i)]);
    opposite->GroupCounts.push_back(made);
  }
  // In the change's own cell order, so the opposite undoes it the same way.
  std::reverse(opposite->Rows.begin(), opposite->Rows.end());
  std::reverse(opposite->Cols.begin(), opposite->Cols.end());
  std::reverse(opposite->GroupCounts.begin(), opposite->GroupCounts.end());
  for (auto group = madeGroups.rbegin(); group != madeGroups.rend(); ++group)
    opposite->UndoList->Add(std::move(*group));
  table->MarkChanged();
  if (TDVUndoList* list = data.GetUndoList()) list->AddInfo(std::move(opposite));
}

void TDVUndoCellModify::Undo(TDVEditDVData& data) {
  auto* table = dynamic_cast<TDVTableItemInfo*>(data.GetItem(ItemNo));
  if (!table) throw EDocViewError("Table undo record does not point at a table");
  if (Rows.size() != 1) throw EDocViewError("Invalid table cell position");
  // The cell opens (closing any other) and its own editor undoes the
  // typing there and then, so that the caret ends where the change was.
  table->CreateInplace(ItemNo, Rows[0], Cols[0], false, false, true);
  int row = -1, col = -1;
  TDVTableInplaceEdit* editor = table->GetEditedCell(row, col);
  if (!editor || row != Rows[0] || col != Cols[0]) return TDVUndoMultiCellsModify::Undo(data);
  TDVEditDVData& cellData = editor->EditData();
  TDVUndoList& source = IsRedo ? *cellData.RedoList : *cellData.UndoList;
  TDVUndoList& produced = IsRedo ? *cellData.UndoList : *cellData.RedoList;
  source.Clear();
  produced.Clear();
  MoveGroups(*UndoList, source, GroupCounts[0]);
  while (source.Count() > 0) IsRedo ? source.Redo(cellData) : source.Undo(cellData);
  auto opposite = std::make_unique<TDVUndoCellModify>(DVUndoOwner(data));
  opposite->ItemNo = ItemNo;
  opposite->IsRedo = !IsRedo;
  opposite->Rows = Rows;
  opposite->Cols = Cols;
  opposite->GroupCounts.push_back(produced.Count());
  MoveGroups(produced, *opposite->UndoList, produced.Count());
  table->FollowInplaceHeight();
  table->MarkChanged();
  if (TDVUndoList* list = data.GetUndoList()) list->AddInfo(std::move(opposite));
}

}  // namespace quillet
