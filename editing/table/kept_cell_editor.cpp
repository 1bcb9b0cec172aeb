#include "editing/table/kept_cell_editor.h"

#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"

namespace quillet {

TKeptCellEditor::TKeptCellEditor(TCustomDocViewEdit& editor) {
  auto* cell = dynamic_cast<TDVTableInplaceEdit*>(editor.GetInplaceEditor());
  if (!cell || !cell->Table() || editor.InplaceEditorBusy()) return;
  table_ = cell->Table();
  table_->SaveInplace();
}

TKeptCellEditor::~TKeptCellEditor() {
  if (!table_) return;
  try {
    table_->RestoreInplace();
  } catch (...) {
    // Left closed: the cell's text is in the document either way.
  }
}

}  // namespace quillet
