#pragma once
// For its scope, the table cell being edited in an editor is closed and then
// opened again in the same cell with its caret. Saving a document has to
// close the cell's editor (the cell's items stand in it); a host that reads
// the document while the user types in a cell should not end their typing.
namespace quillet {

class TCustomDocViewEdit;
class TDVTableItemInfo;

class TKeptCellEditor {
 public:
  // Nothing happens when no cell is edited, or when its editor is inside
  // its own change handling and cannot close (a save then refuses anyway).
  explicit TKeptCellEditor(TCustomDocViewEdit& editor);
  // A cell that cannot open again stays closed; the document is whole.
  ~TKeptCellEditor();
  TKeptCellEditor(const TKeptCellEditor&) = delete;
  TKeptCellEditor& operator=(const TKeptCellEditor&) = delete;

 private:
  TDVTableItemInfo* table_ = nullptr;
};

}  // namespace quillet
