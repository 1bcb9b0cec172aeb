#pragma once
// A change applied to several selected cells at once: each cell's undo
// groups, recorded by a hidden editor that held the cell's items, kept
// with the cell's position and undone (redone) there in one step.
#include <vector>

#include "editing/undo/undo_records.h"

namespace quillet {

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
// kept when it closed, undone (redone) on the cell like a change of
// several cells. An editor still open on the cell closes first, so that
// the cell holds its items.
class TDVUndoCellModify : public TDVUndoMultiCellsModify {
 public:
  using TDVUndoMultiCellsModify::TDVUndoMultiCellsModify;
  void Undo(TDVEditDVData& data) override;
};

}  // namespace quillet
