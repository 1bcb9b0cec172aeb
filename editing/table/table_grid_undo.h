#pragma once
// Undo records of the grid primitives. Each finds the table again by its
// item number and runs the inverse primitive, which records the opposite
// step for redo. Cells taken out of the grid are held by the record that
// took them and put back as the same objects, so records that point at a
// cell (its property changes) stay valid through undo and redo.
#include <memory>
#include <utility>
#include <vector>

#include "editing/edit/edit_data.h"
#include "editing/table/table_rows.h"
#include "editing/undo/undo_records.h"

namespace quillet {

// A record of the class R appended to the undo group being recorded, with
// the table's item number and the reformatting flags; null (the step runs
// unrecorded) when nothing is recorded, as for a table not yet in its
// document's list (item number -1): it is being built, and a record could
// not find it again.
template <class R>
R* AddTableUndoInfo(TCustomDVData* dvData, int itemNo, bool needsFormat, bool checkWidth) {
  auto* data = dynamic_cast<TDVEditDVData*>(dvData);
  TDVUndoList* list = data && itemNo >= 0 ? data->GetUndoList() : nullptr;
  if (!list) return nullptr;
  auto record = std::make_unique<R>();
  record->ItemNo = itemNo;
  record->NeedsFormat = needsFormat;
  record->CheckWidth = checkWidth;
  R* result = record.get();
  list->AddInfo(std::move(record));
  return result;
}

class TDVUndoTableGrid : public TDVUndoModifyItemProps {
 public:
  void Undo(TDVEditDVData& data) final;

 protected:
  virtual void Invert(TDVTableRows& rows) = 0;
};

class TDVUndoInsertTableRows : public TDVUndoTableGrid {
 public:
  int Index = 0, Count = 0;

 protected:
  void Invert(TDVTableRows& rows) override { rows.Do_DeleteRows(Index, Count); }
};

class TDVUndoDeleteRows : public TDVUndoTableGrid {
 public:
  int Index = 0;
  std::vector<std::unique_ptr<TDVTableRow>> Rows;

 protected:
  void Invert(TDVTableRows& rows) override { rows.Do_InsertRows(Index, std::move(Rows)); }
};

class TDVUndoInsertTableCols : public TDVUndoTableGrid {
 public:
  int Index = 0, Count = 0;

 protected:
  void Invert(TDVTableRows& rows) override { rows.Do_DeleteCols(Index, Count); }
};

class TDVUndoDeleteCols : public TDVUndoTableGrid {
 public:
  int Index = 0;
  std::vector<TDVTableRows::TBand> Cells;  // per row

 protected:
  void Invert(TDVTableRows& rows) override { rows.Do_InsertCols(Index, std::move(Cells)); }
};

class TDVUndoSpan : public TDVUndoTableGrid {
 public:
  bool IsCol = false;
  int Row = 0, Col = 0;
  int32_t OldSpan = 1;

 protected:
  void Invert(TDVTableRows& rows) override { rows.Do_SetSpan(Row, Col, IsCol, OldSpan); }
};

// A cut of a cell (Joined false: undo joins the pieces) or a join (undo
// cuts again with the held second piece).
class TDVUndoCellSplit : public TDVUndoTableGrid {
 public:
  bool Vert = false, Divide = false, ContentAfter = false, Joined = false;
  int Row = 0, Col = 0, SplitAt = 0;
  int32_t OldBest = 0;
  std::unique_ptr<TDVTableCellData> Piece;

 protected:
  void Invert(TDVTableRows& rows) override;
};

// A cell absorbed by a merge, with the number of its items that went to
// the merged cell.
struct TDVUndoMergeItem {
  int Row = 0, Col = 0, ItemCount = 0;
  std::unique_ptr<TDVTableCellData> Cell;
};

// A merge (Merged: undo takes it apart) or its undoing (undo merges again).
class TDVUndoMerge : public TDVUndoTableGrid {
 public:
  int Row = 0, Col = 0, RowCount = 0, ColCount = 0;
  bool MergeBestWidths = false, Merged = false;
  int32_t OldRowSpan = 1, OldColSpan = 1, OldBestWidth = 0;
  std::vector<TDVUndoMergeItem> Items;

 protected:
  void Invert(TDVTableRows& rows) override;
};

// An unmerge (Unmerged: undo merges the pieces again) or its undoing
// (undo unmerges with the held pieces).
class TDVUndoUnmerge : public TDVUndoTableGrid {
 public:
  int Row = 0, Col = 0;
  bool UnmergeRows = false, UnmergeCols = false, Unmerged = false;
  int32_t OldRowSpan = 1, OldColSpan = 1, OldBestWidth = 0, OldBestHeight = 0;
  TDVTableRows::TBand Pieces;

 protected:
  void Invert(TDVTableRows& rows) override;
};

// Cells swapped out of the listed positions; undo swaps them back.
class TDVUndoCellsClear : public TDVUndoTableGrid {
 public:
  std::vector<std::pair<int, int>> Positions;
  TDVTableRows::TBand Cells;

 protected:
  void Invert(TDVTableRows& rows) override { rows.Do_ClearCells(Positions, std::move(Cells)); }
};

}  // namespace quillet
