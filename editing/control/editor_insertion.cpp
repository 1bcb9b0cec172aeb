// The bracket of an insertion at the caret.
#include "editing/control/editor.h"

namespace quillet {

TDVInsertionScope::TDVInsertionScope(TCustomDocViewEdit& editor) : editor_(editor), operation_(editor.EditData()) {
  TDVEditDVData& data = editor.EditData();
  if (data.FPartialSelectedItem || !data.CanDelete()) {
    data.Beep();
    return;
  }
  data.BeginUndoSequence(dvutInsert, true);
  data.SetUndoGroupMode(true);
  grouped_ = true;
  // A tracked deletion that stops keeps its selection; nothing goes in.
  if (!editor.DeleteSelectionTraced() || data.SelectionExists(false, false)) {
    return;
  }
  editor.Deselect();
  allowed_ = true;
}

TDVInsertionScope::~TDVInsertionScope() {
  TDVEditDVData& data = editor_.EditData();
  if (!grouped_) return;
  data.SetUndoGroupMode(false);
  data.UndoList->PopIfEmpty();
  editor_.Refresh();
  if (allowed_) editor_.DoChange(true);
}

}  // namespace quillet
