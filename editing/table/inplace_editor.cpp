#include "editing/table/inplace_editor.h"

#include <utility>

#include "editing/table/table_item.h"
#include "platform/core/scoped_value.h"

namespace quillet {

TCustomDVData* TDVTableInplaceDVData::GetSourceDVData() {
  auto* cell = static_cast<TDVTableInplaceEdit&>(Editor()).Cell();
  return cell ? static_cast<TCustomDVData*>(cell) : this;
}

void TDVTableInplaceDVData::BuildJumpsCoords(bool force) {
  static_cast<TDVTableInplaceEdit&>(Editor()).Outer().EditData().BuildJumpsCoords(force);
}

void TDVTableInplaceDVData::ClearJumpsCoords() {
  static_cast<TDVTableInplaceEdit&>(Editor()).Outer().EditData().ClearJumpsCoords();
  TDVEditDVData::ClearJumpsCoords();
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
  OnStyleConversion = outer.OnStyleConversion;
  OnParaStyleConversion = outer.OnParaStyleConversion;
  // Its links carry the document's numbers (BuildJumps): the host hears of
  // them as of any other link of the document.
  OnJump = [this](TCustomDocView&, int32_t id) {
    if (outer_.OnJump) outer_.OnJump(outer_, id);
  };
  // Arrows that cannot move the caret further go on to the next cell.
  OnCaretGetOut = [this](TCustomDocView&, TDVGetOutDirection direction) {
    static constexpr TDVCellDirection kCell[] = {dvcdLeft, dvcdUp, dvcdRight, dvcdDown, dvcdDocTop, dvcdDocBottom};
    PostMove(kCell[direction]);
  };
}

TDVTableInplaceEdit::~TDVTableInplaceEdit() {
  // A cell editor open inside this one gives its cell's items back first.
  if (auto* nested = dynamic_cast<TDVTableInplaceEdit*>(GetInplaceEditor())) {
    nested->Clearing = Clearing;
    DestroyInplaceEditor();
  }
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

void TDVTableInplaceEdit::UndoOwn() {
  if (EditData().UndoList->Count() == 0 && !outer_.ReadOnly) {
    // What was undone here is redone after what the document undoes now.
    if (table_) table_->MergeInplaceRedo();
    outer_.UndoOwn();
  } else if (outer_.ReadOnly) {
    EditData().Beep();
  } else {
    TDocViewEdit::UndoOwn();
  }
}

void TDVTableInplaceEdit::RedoOwn() {
  if (EditData().RedoList->Count() == 0 && !outer_.ReadOnly)
    outer_.RedoOwn();
  else if (outer_.ReadOnly)
    EditData().Beep();
  else
    TDocViewEdit::RedoOwn();
}

void TDVTableInplaceEdit::PostMove(TDVCellDirection direction) {
  // Posted to the outer editor, which outlives this one; a move still
  // pending when this editor has gone is dropped.
  std::weak_ptr<void> alive = Lifetime();
  TDVTableItemInfo* table = table_;
  outer_.PostCall([alive, table, direction] {
    if (!alive.expired() && table) table->InplaceMove(direction);
  });
}

void TDVTableInplaceEdit::KeyDown(TKey& key, TShiftState shift) {
  const bool ctrl = shift & ssCtrl, alt = shift & ssAlt;
  tabMoved_ = false;
  if (key == VK_TAB && !ctrl) {
    PostMove(shift & ssShift ? dvcdPrev : dvcdNext);
    tabMoved_ = true;
    key = 0;
    return;
  }
  // Undoing in the outer editor closes this one: not inside its own key.
  const bool undoKey = (key == 'Z' && ctrl && !alt) || (key == VK_BACK && alt && !ctrl);
  if (undoKey && !outer_.ReadOnly) {
    const bool redo = shift & ssShift;
    if ((redo ? EditData().RedoList : EditData().UndoList)->Count() == 0) {
      if (!redo && table_) table_->MergeInplaceRedo();
      TCustomDocViewEdit& outer = outer_;
      outer.PostCall([&outer, redo] { redo ? outer.RedoOwn() : outer.UndoOwn(); });
      key = 0;
      return;
    }
  }
  TDocViewEdit::KeyDown(key, shift);
}

void TDVTableInplaceEdit::KeyPress(char16_t& key) {
  if (key == u'\t' && std::exchange(tabMoved_, false)) return;
  TDocViewEdit::KeyPress(key);
}

void TDVTableInplaceEdit::DoChange(bool clearRedo) {
  TScopedValue<int> busy(busy_, busy_ + 1);
  TDocViewEdit::DoChange(clearRedo);
  if (OnTableChange) OnTableChange(clearRedo);
}

}  // namespace quillet
