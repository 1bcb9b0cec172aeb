// The table's side of the in-place cell editor: opening it over a cell with
// the cell's items, following its height, and putting the items back.
#include <algorithm>
#include <utility>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"
#include "editing/table/table_multi_cell.h"
#include "platform/core/scoped_value.h"

namespace quillet {

void TDVTableItemInfo::CreateInplace(int itemNo, int row, int col, bool caretAtStart, bool caretAtEnd,
                                     bool unquestioning) {
  TDVEditDVData* data = inserted_ ? EditData() : nullptr;
  TDVTableCellData* cell = row >= 0 && col >= 0 && row < Rows.Count() && col < Rows.GetColCount()
                               ? Rows.CellAt(row, col)
                               : nullptr;
  if (!data || !cell) return;
  if (!unquestioning && !DoOnCellEditing(row, col, false)) return;
  DestroyInplace();
  data->Deselect(nullptr, true);
  TCustomDocViewEdit& outer = data->Editor();
  // Chosen first: choosing another cell closes whatever editor is open.
  ChooseSubDVData_(row, col);
  auto* editor = new TDVTableInplaceEdit(outer);
  inplace_ = editor;
  outer.SetInplaceEditor(editor);
  editor->SetCell(row, col, CellPadding, this);
  editor->Color = cell->Color != clNone ? cell->Color : Color;
  editor->OnTableChange = [this](bool clearRedo) { InplaceEditorChange(clearRedo); };
  TDVEditDVData& cellData = editor->EditData();
  cell->InplaceMinWidth = cell->GetMinWidth(sad_, outer.Canvas());
  cellData.Items().Append(cell->Items().TakeFrom(0));
  cell->Clear();
  // Tables inside the cell now stand in the editor's document.
  MoveTablesTo(cellData);
  editor->Format();
  cell->InplaceHeight = InplaceContentHeight();
  if (caretAtEnd && cellData.ItemCount() > 0) {
    const int last = cellData.ItemCount() - 1;
    const int32_t offs = cellData.GetOffsAfterItem(last);
    cellData.SetSelectionBounds(last, offs, last, offs);
  } else if (caretAtStart && cellData.ItemCount() > 0) {
    cellData.SetSelectionBounds(0, cellData.GetOffsBeforeItem(0), 0, cellData.GetOffsBeforeItem(0));
  }
  PlaceInplace(itemNo);
  editor->Show();
  editor->SetFocus();
}

void TDVTableItemInfo::PlaceInplace(int itemNo) {
  TDVEditDVData* data = EditData();
  TDVTableCellData* cell = inplace_ ? inplace_->Cell() : nullptr;
  int32_t left = 0, top = 0;
  if (!data || !cell || !data->GetItemCoords(itemNo, left, top)) return;
  const int32_t y = Clamp32(int64_t{top} + cell->Top - data->GetVOffs());
  // Taller cells scroll inside a window no taller than the limit.
  inplace_->SetBounds(Clamp32(int64_t{left} + cell->Left - data->GetHOffs()), y, cell->Width,
                      std::min(cell->Height, kMaxInplaceHeight));
  // The true place is kept in the tag, so that the editor scrolls with the
  // document like any embedded control.
  inplace_->SetTag(y);
  TChildWindow window(inplace_->Widget());
  DV_Tag2Y(window);
}

void TDVTableItemInfo::DestroyInplace() { delete inplace_; }

void TDVTableItemInfo::SaveInplace() {
  if (!inplace_) return;
  if (inplace_->Busy()) throw EDVTableInplaceError("Cannot destroy cell inplace editor at this time");
  TSavedInplace& s = savedInplace_;
  inplace_->EditData().StoreSelOrCaret(s.StartNo, s.EndNo, s.StartOffs, s.EndOffs);
  s.Row = inplace_->Row();
  s.Col = inplace_->Col();
  s.Saved = true;
  DestroyInplace();
}

void TDVTableItemInfo::RestoreInplace() {
  TSavedInplace s = std::exchange(savedInplace_, {});
  if (!s.Saved) return;
  CreateInplace(GetMyItemNo(), s.Row, s.Col, false, false, true);
  if (inplace_ && inplace_->Row() == s.Row && inplace_->Col() == s.Col)
    inplace_->EditData().SetSelectionBounds(s.StartNo, s.StartOffs, s.EndNo, s.EndOffs);
}

TDVTableInplaceEdit* TDVTableItemInfo::GetEditedCell(int& row, int& col) const {
  row = inplace_ ? inplace_->Row() : -1;
  col = inplace_ ? inplace_->Col() : -1;
  return inplace_;
}

int32_t TDVTableItemInfo::InplaceContentHeight() const {
  return std::max(inplace_->EditData().DocumentHeight - inplace_->TopMargin - inplace_->BottomMargin, 0);
}

void TDVTableItemInfo::RelayoutInDocument() {
  TDVEditDVData* data = EditData();
  if (!data) return;
  TDVEditOperation operation(*data);
  const int itemNo = GetMyItemNo();
  int start = -1, end = -1;
  const int first = data->FindDrawItemByItem(itemNo);
  if (first >= 0) data->GetParaBounds(first, first, start, end);
  changed_ = true;
  data->Reformat_(true, start, end, 0);
  PlaceInplace(itemNo);
  data->Editor().Invalidate();
}

void TDVTableItemInfo::FollowInplaceHeight() {
  TDVTableCellData* cell = inplace_ ? inplace_->Cell() : nullptr;
  if (!cell) return;
  if (const int32_t h = InplaceContentHeight(); h != cell->InplaceHeight) {
    cell->InplaceHeight = h;
    RelayoutInDocument();
  }
}

void TDVTableItemInfo::InplaceEditorChange(bool clearRedo) {
  if (!inplace_ || inplaceChanging_) return;
  TScopedValue<bool> guard(inplaceChanging_, true);
  FollowInplaceHeight();
  if (TDVEditDVData* data = EditData()) data->ChangeEx(clearRedo);
}

void TDVTableItemInfo::MergeInplaceHistory(bool redo) {
  TDVEditDVData* data = EditData();
  if (!inplace_ || !data || GetMyItemNo() < 0) return;
  TDVEditDVData& cellData = inplace_->EditData();
  TDVUndoList& groups = redo ? *cellData.RedoList : *cellData.UndoList;
  if (groups.Count() == 0 || data->UndoList->Limit == 0) return;
  TDVEditOperation operation(*data);
  // A redo group is opened outside any undo or redo in progress; whatever
  // the document records next goes where it went before.
  TScopedValue<TDVUndoDest> dest(data->UndoDest, data->UndoDest);
  if (redo)
    data->BeginRedoSequence(dvutModifyItem, "");
  else
    data->BeginUndoSequence(dvutModifyItem, true);
  TDVUndoList* list = data->GetUndoList();
  if (!list) return;
  auto record = std::make_unique<TDVUndoCellModify>(DVUndoOwner(*data));
  record->ItemNo = GetMyItemNo();
  record->IsRedo = redo;
  record->Rows.push_back(inplace_->Row());
  record->Cols.push_back(inplace_->Col());
  record->GroupCounts.push_back(groups.Count());
  while (groups.Count() > 0) record->UndoList->AddInfos(groups.DeleteAsPointer(0));
  list->AddInfo(std::move(record));
}

void TDVTableItemInfo::InplaceDeleted(bool clearing) {
  TDVTableInplaceEdit* editor = std::exchange(inplace_, nullptr);
  if (!editor) return;
  TDVEditDVData* data = EditData();
  if (data) data->Editor().SetInplaceEditor(nullptr);
  if (data) {
    // Put back for the merge, which reads the open editor.
    inplace_ = editor;
    MergeInplaceUndo();
    MergeInplaceRedo();
    inplace_ = nullptr;
  }
  TDVTableCellData* cell = editor->Cell();
  cell->InplaceHeight = cell->InplaceMinWidth = -1;
  cell->Items().Append(editor->EditData().Items().TakeFrom(0));
  editor->EditData().Clear();
  MoveTablesTo(*cell);
  if (data) data->UnassignChosenDVData(cell);
  // A table being freed (its document cleared) is not laid out again.
  if (clearing || !data || GetMyItemNo() < 0) return;
  RelayoutInDocument();
}

}  // namespace quillet
