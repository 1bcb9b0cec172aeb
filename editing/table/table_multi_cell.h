#pragma once
// A change applied to several selected cells at once: each cell's undo
// groups, recorded by a hidden editor that held the cell's items, kept
// with the cell's position and undone (redone) there in one step.
#include <vector>

#include "editing/undo/undo_records.h"

namespace quillet {

class TDVEditDVData;

// The document whose undo list finally holds a cell's records: the main
// editor's, above every cell editor (which goes when its cell closes).
TCustomDVData* DVUndoOwner(TDVEditDVData& data);

class TDVUndoMultiCellsModify : public TDVCompositeUndo {
 public:
  using TDVCompositeUndo::TDVCompositeUndo;
  // One entry per changed cell, in the order the change visited them; the
  // cells' groups follow each other in UndoList in the same order.
  std::vector<int> Rows, Cols, GroupCounts;
  // The groups are redo groups (this record is the opposite of an undo).
  bool IsRedo = false;
  bool RequiresFormat() const override { return true; }
  void Undo(TDVEditDVData& data) override;
};

// The editing of one cell in its in-place editor: the editor's groups,
// kept when it closed. Undoing (redoing) opens the cell in place, closing
// any other cell editor, and the cell's editor runs the groups there, so
// the cell stays open with the caret where the change was.
class TDVUndoCellModify : public TDVUndoMultiCellsModify {
 public:
  using TDVUndoMultiCellsModify::TDVUndoMultiCellsModify;
  void Undo(TDVEditDVData& data) override;
};

}  // namespace quillet
