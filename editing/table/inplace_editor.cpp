#include "editing/table/inplace_editor.h"

#include "editing/table/table_item.h"
#include "platform/core/scoped_value.h"

namespace quillet {

TCustomDVData* TDVTableInplaceDVData::GetSourceDVData() {
  auto* cell = static_cast<TDVTableInplaceEdit&>(Editor()).Cell();
  return cell ? static_cast<TCustomDVData*>(cell) : this;
}

TDVTableInplaceEdit::TDVTableInplaceEdit(TCustomDocViewEdit& outer)
    : TDocViewEdit(nullptr, [](TCustomDocViewEdit& editor) { return std::make_unique<TDVTableInplaceDVData>(editor); }),
      outer_(outer) {
  Hide();
  SetParent(&outer);
  SetBorderStyle(bsNone);
  SetVScrollVisible(false);
  SetHScrollVisible(false);
  // A cell editor is neither the root document nor the root editor.
  Flags = static_cast<TDVFlags>(Flags & ~(dvflRootEditor | dvflRoot));
  SetStyle(outer.Style());
  SetOptions(outer.Options());
  EditorOptions = outer.EditorOptions;
  TraceOn = outer.TraceOn;
  TraceUserColor = outer.TraceUserColor;
  TraceUserName = outer.TraceUserName;
  SetUndoLimit(outer.UndoLimit());
}

TDVTableInplaceEdit::~TDVTableInplaceEdit() {
  if (table_) table_->InplaceDeleted(Clearing);
}

void TDVTableInplaceEdit::SetCell(int row, int col, int32_t cellPadding, TDVTableItemInfo* table) {
  row_ = row;
  col_ = col;
  table_ = table;
  cell_ = table->GetCells(row, col);
  LeftMargin = RightMargin = TopMargin = BottomMargin = cellPadding;
}

bool TDVTableInplaceEdit::BeforeChange(bool fromOutside) {
  return outer_.BeforeChange(fromOutside);
}

void TDVTableInplaceEdit::DoChange(bool clearRedo) {
  TScopedValue<int> busy(busy_, busy_ + 1);
  TDocViewEdit::DoChange(clearRedo);
  if (OnTableChange) OnTableChange(clearRedo);
}

}  // namespace quillet
