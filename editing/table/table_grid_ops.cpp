// The grid primitives: each changes the grid in one step and, while the
// editor records, appends the record that takes the step back. Cells that
// leave the grid go into that record (else they are freed).
#include <algorithm>

#include "editing/table/table_grid_undo.h"
#include "editing/table/table_item.h"
#include "editing/table/table_undo.h"
#include "engine/base/doc_view_error.h"

namespace quillet {

namespace {

std::unique_ptr<TDVTableCellData> AsCell(std::unique_ptr<TDVItemFormattedData> p) {
  return std::unique_ptr<TDVTableCellData>(static_cast<TDVTableCellData*>(p.release()));
}

// A cell leaving the grid for an undo record.
std::unique_ptr<TDVTableCellData> Parked(std::unique_ptr<TDVTableCellData> cell) {
  if (cell) {
    cell->MovingToUndoList();
    cell->List = nullptr;
  }
  return cell;
}

int32_t& Span(TDVTableCellData& cell, bool cols) { return cols ? cell.ColSpan : cell.RowSpan; }
int32_t& Best(TDVTableCellData& cell, bool cols) { return cols ? cell.BestWidth : cell.BestHeight; }

// The share of a wished size that span pieces of total get.
int32_t Share(int32_t best, int32_t span, int32_t total) {
  return static_cast<int32_t>(int64_t{best} * span / std::max(total, 1));
}

}  // namespace

void TDVUndoTableGrid::Undo(TDVEditDVData& data) {
  auto* table = dynamic_cast<TDVTableItemInfo*>(data.GetItem(ItemNo));
  if (!table) throw EDocViewError("Table undo record does not point at a table");
  Invert(table->Rows);
  table->MarkChanged();
  table->ClipSelection();
}

void TDVUndoCellSplit::Invert(TDVTableRows& rows) {
  if (Joined)
    rows.Do_SplitCell(Vert, Row, Col, SplitAt, Divide, ContentAfter, std::move(Piece));
  else
    rows.Do_JoinCell(Vert, Row, Col, SplitAt, Divide, ContentAfter, OldBest);
}

void TDVUndoMerge::Invert(TDVTableRows& rows) {
  if (Merged)
    rows.Do_UndoMergeCells(*this);
  else
    rows.Do_MergeCells(Row, Col, RowCount, ColCount, MergeBestWidths);
}

void TDVUndoUnmerge::Invert(TDVTableRows& rows) {
  if (Unmerged)
    rows.Do_UndoUnmergeCell(*this);
  else
    rows.Do_UnmergeCell(Row, Col, UnmergeRows, UnmergeCols, std::move(Pieces));
}

TDVEditDVData* TDVTableRows::RecordingData() const {
  auto* data = dynamic_cast<TDVEditDVData*>(DVData);
  // A table not yet in its document's list is being built: no undo step.
  return data && data->GetUndoList() && Table->GetMyItemNo() >= 0 ? data : nullptr;
}

// ---- rows and columns in and out ----

void TDVTableRows::Do_InsertRows(int index, std::vector<std::unique_ptr<TDVTableRow>> rows) {
  const int count = static_cast<int>(rows.size());
  for (int i = 0; i < count; ++i) {
    TDVTableRow* row = rows[static_cast<size_t>(i)].get();
    row->Rows = this;
    Insert(index + i, std::move(rows[static_cast<size_t>(i)]));
    for (int c = 0; c < row->Count(); ++c)
      if (TDVTableCellData* cell = row->Cell(c)) {
        cell->List = row;
        cell->MovingFromUndoList();
      }
  }
  if (auto* rec = AddTableUndoInfo<TDVUndoInsertTableRows>(DVData, Table->GetMyItemNo(), true, true)) {
    rec->Index = index;
    rec->Count = count;
  }
}

void TDVTableRows::Do_DeleteRows(int index, int count) {
  auto* rec = AddTableUndoInfo<TDVUndoDeleteRows>(DVData, Table->GetMyItemNo(), true, true);
  if (rec) rec->Index = index;
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<TDVTableRow> row = DeleteAsPointer(index);
    if (!rec) continue;
    for (int c = 0; c < row->Count(); ++c)
      if (TDVTableCellData* cell = row->Cell(c)) cell->MovingToUndoList();
    row->Rows = nullptr;
    rec->Rows.push_back(std::move(row));
  }
}

void TDVTableRows::Do_InsertCols(int index, std::vector<TBand> cells) {
  const int count = cells.empty() ? 0 : static_cast<int>(cells.front().size());
  for (int r = 0; r < Count() && r < static_cast<int>(cells.size()); ++r)
    for (int k = 0; k < count; ++k) {
      std::unique_ptr<TDVTableCellData>& cell = cells[static_cast<size_t>(r)][static_cast<size_t>(k)];
      TDVTableCellData* placed = cell.get();
      Items(r)->InsertPointer(index + k, std::move(cell));
      if (placed) placed->MovingFromUndoList();
    }
  if (auto* rec = AddTableUndoInfo<TDVUndoInsertTableCols>(DVData, Table->GetMyItemNo(), true, true)) {
    rec->Index = index;
    rec->Count = count;
  }
}

void TDVTableRows::Do_DeleteCols(int index, int count) {
  auto* rec = AddTableUndoInfo<TDVUndoDeleteCols>(DVData, Table->GetMyItemNo(), true, true);
  if (rec) {
    rec->Index = index;
    rec->Cells.resize(static_cast<size_t>(Count()));
  }
  for (int r = 0; r < Count(); ++r)
    for (int k = 0; k < count; ++k) {
      std::unique_ptr<TDVTableCellData> cell = AsCell(Items(r)->DeleteAsPointer(index));
      if (rec) rec->Cells[static_cast<size_t>(r)].push_back(Parked(std::move(cell)));
    }
}

// ---- spans and properties ----

void TDVTableRows::Do_SetSpan(int row, int col, bool isCol, int32_t value) {
  TDVTableCellData* cell = CellAt(row, col);
  int32_t& span = Span(*cell, isCol);
  if (span == value) return;
  if (auto* rec = AddTableUndoInfo<TDVUndoSpan>(DVData, Table->GetMyItemNo(), true, true)) {
    rec->IsCol = isCol;
    rec->Row = row;
    rec->Col = col;
    rec->OldSpan = span;
  }
  span = value;
}

void TDVTableRows::Do_SetCellProperty(int row, int col, const std::string& name, int32_t value) {
  TDVTableCellData* cell = CellAt(row, col);
  if (TDVEditDVData* data = RecordingData()) {
    auto record = std::make_unique<TDVUndoModifyCellIntProperty>();
    record->Row = row;
    record->Col = col;
    data->Do_ModifyItemIntProperty(Table->GetMyItemNo(), cell, name, value, std::move(record));
    return;
  }
  cell->SetIntPropertyByName(name, value);
}

// ---- cutting and joining one cell ----

void TDVTableRows::Do_SplitCell(bool vert, int row, int col, int splitAt, bool divide, bool contentAfter,
                                std::unique_ptr<TDVTableCellData> piece) {
  TDVTableCellData* cell = CellAt(row, col);
  const int start = vert ? col : row;
  const int32_t total = Span(*cell, vert), first = splitAt - start, second = total - first;
  const int32_t oldBest = Best(*cell, vert);
  if (!piece) {
    piece = std::make_unique<TDVTableCellData>(nullptr);
    piece->AssignAttributesFrom(*cell, true, 1, 1);
  }
  Span(*piece, !vert) = Span(*cell, !vert);
  if (auto* rec = AddTableUndoInfo<TDVUndoCellSplit>(DVData, Table->GetMyItemNo(), true, true)) {
    rec->Vert = vert;
    rec->Divide = divide;
    rec->ContentAfter = contentAfter;
    rec->Row = row;
    rec->Col = col;
    rec->SplitAt = splitAt;
    rec->OldBest = oldBest;
  }
  const int32_t secondBest = Share(oldBest, second, total);
  TDVTableCellData& firstCell = contentAfter ? *piece : *cell;
  TDVTableCellData& secondCell = contentAfter ? *cell : *piece;
  Span(firstCell, vert) = first;
  Best(firstCell, vert) = divide ? oldBest - secondBest : oldBest;
  Span(secondCell, vert) = second;
  Best(secondCell, vert) = secondBest;
  TDVTableCellData* placed = piece.get();
  const int splitRow = vert ? row : splitAt, splitCol = vert ? splitAt : col;
  if (contentAfter) {
    std::unique_ptr<TDVTableCellData> moved = Items(row)->Put(col, std::move(piece));
    Items(splitRow)->Put(splitCol, std::move(moved));
  } else {
    Items(splitRow)->Put(splitCol, std::move(piece));
  }
  placed->MovingFromUndoList();
}

void TDVTableRows::Do_JoinCell(bool vert, int row, int col, int splitAt, bool divide, bool contentAfter,
                               int32_t oldBest) {
  const int splitRow = vert ? row : splitAt, splitCol = vert ? splitAt : col;
  std::unique_ptr<TDVTableCellData> piece;
  if (contentAfter) {
    std::unique_ptr<TDVTableCellData> moved = Items(splitRow)->Put(splitCol, nullptr);
    piece = Items(row)->Put(col, std::move(moved));
  } else {
    piece = Items(splitRow)->Put(splitCol, nullptr);
  }
  TDVTableCellData* cell = CellAt(row, col);
  Span(*cell, vert) += Span(*piece, vert);
  Best(*cell, vert) = oldBest;
  if (auto* rec = AddTableUndoInfo<TDVUndoCellSplit>(DVData, Table->GetMyItemNo(), true, true)) {
    rec->Vert = vert;
    rec->Divide = divide;
    rec->ContentAfter = contentAfter;
    rec->Joined = true;
    rec->Row = row;
    rec->Col = col;
    rec->SplitAt = splitAt;
    rec->Piece = Parked(std::move(piece));
  }
}

// ---- merging ----

void TDVTableRows::Do_MergeCells(int row, int col, int rowCount, int colCount, bool mergeBestWidths) {
  TDVTableCellData* target = CellAt(row, col);
  auto* rec = AddTableUndoInfo<TDVUndoMerge>(DVData, Table->GetMyItemNo(), true, true);
  if (rec) {
    rec->Row = row;
    rec->Col = col;
    rec->RowCount = rowCount;
    rec->ColCount = colCount;
    rec->MergeBestWidths = mergeBestWidths;
    rec->Merged = true;
    rec->OldRowSpan = target->RowSpan;
    rec->OldColSpan = target->ColSpan;
    rec->OldBestWidth = target->BestWidth;
  }
  if (mergeBestWidths) target->BestWidth = GetBestWidth(row, col, rowCount, colCount);
  for (int r = row; r < row + rowCount; ++r)
    for (int c = col; c < col + colCount; ++c) {
      TDVTableCellData* cell = r == row && c == col ? nullptr : CellAt(r, c);
      if (!cell) continue;
      int moved = 0;
      if (cell->HasData(false)) {
        TDVItemList::TBlock block = cell->Items().TakeBlock(0, cell->ItemCount());
        moved = static_cast<int>(block.size());
        for (auto& [text, item] : block) target->AddItem(std::move(text), std::move(item));
        cell->ClearTemporal();
      }
      std::unique_ptr<TDVTableCellData> owned = Items(r)->Put(c, nullptr);
      if (rec) rec->Items.push_back({r, c, moved, Parked(std::move(owned))});
    }
  target->RowSpan = rowCount;
  target->ColSpan = colCount;
}

void TDVTableRows::Do_UndoMergeCells(TDVUndoMerge& merge) {
  if (auto* rec = AddTableUndoInfo<TDVUndoMerge>(DVData, Table->GetMyItemNo(), true, true)) {
    rec->Row = merge.Row;
    rec->Col = merge.Col;
    rec->RowCount = merge.RowCount;
    rec->ColCount = merge.ColCount;
    rec->MergeBestWidths = merge.MergeBestWidths;
  }
  TDVTableCellData* target = CellAt(merge.Row, merge.Col);
  // The absorbed content sits at the end of the merged cell, the last
  // absorbed cell's last.
  for (auto it = merge.Items.rbegin(); it != merge.Items.rend(); ++it) {
    if (it->ItemCount > 0) {
      TDVItemList::TBlock block = target->Items().TakeBlock(target->ItemCount() - it->ItemCount, it->ItemCount);
      for (auto& [text, item] : block) it->Cell->AddItem(std::move(text), std::move(item));
    }
    TDVTableCellData* cell = it->Cell.get();
    Items(it->Row)->Put(it->Col, std::move(it->Cell));
    cell->MovingFromUndoList();
  }
  merge.Items.clear();
  target->ClearTemporal();
  target->RowSpan = merge.OldRowSpan;
  target->ColSpan = merge.OldColSpan;
  target->BestWidth = merge.OldBestWidth;
}

// ---- unmerging ----

namespace {

// The positions an unmerge fills, in the order its pieces are kept.
std::vector<std::pair<int, int>> UnmergePositions(int row, int col, int32_t rowSpan, int32_t colSpan,
                                                  bool unmergeRows, bool unmergeCols) {
  std::vector<std::pair<int, int>> positions;
  for (int r = row; r < row + (unmergeRows ? rowSpan : 1); ++r)
    for (int c = col; c < col + (unmergeCols ? colSpan : 1); ++c)
      if (r != row || c != col) positions.emplace_back(r, c);
  return positions;
}

}  // namespace

void TDVTableRows::Do_UnmergeCell(int row, int col, bool unmergeRows, bool unmergeCols, TBand pieces) {
  TDVTableCellData* cell = CellAt(row, col);
  const int32_t rowSpan = cell->RowSpan, colSpan = cell->ColSpan;
  const int rowDivisor = unmergeRows ? rowSpan : 1, colDivisor = unmergeCols ? colSpan : 1;
  if (auto* rec = AddTableUndoInfo<TDVUndoUnmerge>(DVData, Table->GetMyItemNo(), true, true)) {
    rec->Row = row;
    rec->Col = col;
    rec->UnmergeRows = unmergeRows;
    rec->UnmergeCols = unmergeCols;
    rec->Unmerged = true;
    rec->OldRowSpan = rowSpan;
    rec->OldColSpan = colSpan;
    rec->OldBestWidth = cell->BestWidth;
    rec->OldBestHeight = cell->BestHeight;
  }
  const std::vector<std::pair<int, int>> positions =
      UnmergePositions(row, col, rowSpan, colSpan, unmergeRows, unmergeCols);
  for (size_t i = 0; i < positions.size(); ++i) {
    std::unique_ptr<TDVTableCellData> piece =
        i < pieces.size() ? std::move(pieces[i]) : std::make_unique<TDVTableCellData>(nullptr);
    piece->AssignAttributesFrom(*cell, true, rowDivisor, colDivisor);
    piece->RowSpan = unmergeRows ? 1 : rowSpan;
    piece->ColSpan = unmergeCols ? 1 : colSpan;
    TDVTableCellData* placed = piece.get();
    Items(positions[i].first)->Put(positions[i].second, std::move(piece));
    placed->MovingFromUndoList();
  }
  cell->BestWidth /= colDivisor;
  cell->BestHeight /= rowDivisor;
  if (unmergeRows) cell->RowSpan = 1;
  if (unmergeCols) cell->ColSpan = 1;
}

void TDVTableRows::Do_UndoUnmergeCell(TDVUndoUnmerge& unmerge) {
  auto* rec = AddTableUndoInfo<TDVUndoUnmerge>(DVData, Table->GetMyItemNo(), true, true);
  if (rec) {
    rec->Row = unmerge.Row;
    rec->Col = unmerge.Col;
    rec->UnmergeRows = unmerge.UnmergeRows;
    rec->UnmergeCols = unmerge.UnmergeCols;
  }
  for (const auto& [r, c] : UnmergePositions(unmerge.Row, unmerge.Col, unmerge.OldRowSpan, unmerge.OldColSpan,
                                             unmerge.UnmergeRows, unmerge.UnmergeCols)) {
    std::unique_ptr<TDVTableCellData> piece = Parked(Items(r)->Put(c, nullptr));
    if (rec) rec->Pieces.push_back(std::move(piece));
  }
  TDVTableCellData* cell = CellAt(unmerge.Row, unmerge.Col);
  cell->RowSpan = unmerge.OldRowSpan;
  cell->ColSpan = unmerge.OldColSpan;
  cell->BestWidth = unmerge.OldBestWidth;
  cell->BestHeight = unmerge.OldBestHeight;
}

// ---- clearing ----

void TDVTableRows::Do_ClearCells(const std::vector<std::pair<int, int>>& cells, TBand held) {
  auto* rec = AddTableUndoInfo<TDVUndoCellsClear>(DVData, Table->GetMyItemNo(), true, true);
  if (!rec && held.empty()) {
    for (const auto& [r, c] : cells) CellAt(r, c)->Clear();
    return;
  }
  if (rec) rec->Positions = cells;
  for (size_t i = 0; i < cells.size(); ++i) {
    const auto [r, c] = cells[i];
    const TDVTableCellData* old = CellAt(r, c);
    std::unique_ptr<TDVTableCellData> replacement = i < held.size() ? std::move(held[i]) : nullptr;
    if (!replacement) {
      replacement = std::make_unique<TDVTableCellData>(nullptr);
      replacement->AssignAttributesFrom(*old, true, 1, 1);
      replacement->AssignSizeFrom(*old);
      replacement->RowSpan = old->RowSpan;
      replacement->ColSpan = old->ColSpan;
    }
    TDVTableCellData* placed = replacement.get();
    std::unique_ptr<TDVTableCellData> taken = Parked(Items(r)->Put(c, std::move(replacement)));
    placed->MovingFromUndoList();
    if (rec) rec->Cells.push_back(std::move(taken));
  }
}

}  // namespace quillet
