#pragma once
// The editor laid over a table cell while the cell is edited: a borderless
// editor, a child window of the outer editor, that holds the cell's items
// until it closes and tells the table of each change.
#include <functional>

#include "editing/control/editor.h"
#include "editing/table/table_types.h"
#include "engine/base/doc_view_error.h"

namespace quillet {

class TDVTableItemInfo;
class TDVTableCellData;
class TDVTableInplaceEdit;

class TDVTableInplaceDVData : public TDVEditDVData {
 public:
  explicit TDVTableInplaceDVData(TCustomDocViewEdit& editor) : TDVEditDVData(editor) {}
  // The document the edited cell stands for.
  TCustomDVData* GetSourceDVData() override;
  // The outer document builds the links' areas, numbering this cell's
  // among its own (the table's BuildJumps); clearing clears both.
  void BuildJumpsCoords(bool force) override;
  void ClearJumpsCoords() override;
};

// The cell editor cannot close now.
class EDVTableInplaceError : public EDocViewError {
 public:
  using EDocViewError::EDocViewError;
};

class TDVTableInplaceEdit : public TDocViewEdit {
 public:
  // A hidden child of outer, sharing its style sheet.
  explicit TDVTableInplaceEdit(TCustomDocViewEdit& outer);
  // The table takes the cell's items back (InplaceDeleted).
  ~TDVTableInplaceEdit() override;

  TCustomDocViewEdit& Outer() const { return outer_; }
  // The cell at (row, col) of table; the margins are the cell's padding.
  void SetCell(int row, int col, int32_t cellPadding, TDVTableItemInfo* table);
  int Row() const { return row_; }
  int Col() const { return col_; }
  TDVTableCellData* Cell() const { return cell_; }
  TDVTableItemInfo* Table() const { return table_; }
  // The whole nest is going with the document: the cell is not laid out again.
  bool Clearing = false;
  // Called after each change, with its clear-redo flag.
  std::function<void(bool clearRedo)> OnTableChange;

  // The right to change is the outer editor's.
  bool BeforeChange(bool fromOutside) override;
  void DoChange(bool clearRedo) override;
  // Inside its own change handling, where freeing it would pull the ground
  // from under it.
  bool Busy() const override { return busy_ > 0; }
  // Mouse events the table passes on, in the editor's client coordinates.
  void PassMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) { MouseDown(button, shift, x, y); }
  void PassMouseMove(TShiftState shift, int32_t x, int32_t y) { MouseMove(shift, x, y); }
  void PassMouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) { MouseUp(button, shift, x, y); }

  // With nothing of its own to undo (redo), the outer editor's history
  // runs. Read-only is the outer editor's.
  void UndoOwn() override;
  void RedoOwn() override;
  // Asks the table to move the editor to the cell in the direction, once
  // the event being handled is over (the move frees this editor).
  void PostMove(TDVCellDirection direction);

 protected:
  // Tab and Shift+Tab move to the next and previous cell, Ctrl+Tab types a
  // tab; an undo key with nothing to undo here is passed to the outer
  // editor once this key is done.
  void KeyDown(TKey& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  TDlgCodes WMGetDlgCode() override { return TDocViewEdit::WMGetDlgCode() | DLGC_WANTTAB; }

 private:
  TCustomDocViewEdit& outer_;
  TDVTableItemInfo* table_ = nullptr;
  TDVTableCellData* cell_ = nullptr;
  int row_ = -1, col_ = -1;
  int busy_ = 0;
  // A Tab key moved the editor: its typed character is dropped.
  bool tabMoved_ = false;
};

}  // namespace quillet
