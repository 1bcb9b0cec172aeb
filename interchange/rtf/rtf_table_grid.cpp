#include "interchange/rtf/rtf_table_grid.h"

#include <algorithm>

#include "editing/table/table_types.h"

namespace quillet {

TDVRTFGridRowResult TDVRTFTableGrid::AddRow(const TDVRTFRowProperties& row, int workingCells) {
  const int cellCount = static_cast<int>(row.CellProps.size());
  if (cellCount == 0) return rtf_gr_NoCells;
  if (RowCount() >= DVTableMaxRows || static_cast<int64_t>(RowCount() + 1) * ColCount() > DVTableMaxCells)
    return rtf_gr_TableFull;

  const int r = rows_++;
  owner_.resize(owner_.size() + ownerCols_, -1);
  if (lines_.empty()) lines_.push_back(row.LeftTw);
  int col = LineFor(row.LeftTw, r);
  // Whatever lies left of the row's edge only fills the grid.
  if (col > 0) NewCell(r, 0, col, true);

  for (int i = 0; i < cellCount; ++i) {
    std::vector<std::pair<int, int>> working;
    if (i < workingCells) working.emplace_back(r, i);
    // Text of more \cell than \cellx belongs to the last cell rather than nowhere.
    if (i == cellCount - 1)
      for (int w = cellCount; w < workingCells; ++w) working.emplace_back(r, w);
    PlaceCell(row, i, std::move(working), col, r);
  }
  for (int c = 0; c < ColCount(); ++c)
    if (Owner(r, c) < 0) NewCell(r, c, 1, true);
  return rtf_gr_Added;
}

int TDVRTFTableGrid::FindLine(int64_t tw) const {
  return static_cast<int>(std::lower_bound(lines_.begin(), lines_.end(), tw - DV_TableGridEps) - lines_.begin());
}

int TDVRTFTableGrid::LineFor(int64_t tw, int row) {
  const int i = FindLine(tw);
  const int size = static_cast<int>(lines_.size());
  if (i < size && lines_[i] - tw <= DV_TableGridEps) return i;
  // A table at its column or cell limit takes no new line: the boundary falls
  // on the nearest line to its right, or on the last one.
  if (ColCount() >= DVTableMaxCols || static_cast<int64_t>(RowCount()) * (ColCount() + 1) > DVTableMaxCells)
    return std::min(i, size - 1);
  InsertLine(i, tw, row);
  return i;
}

void TDVRTFTableGrid::InsertLine(int index, int64_t tw, int row) {
  const int size = static_cast<int>(lines_.size());
  lines_.insert(lines_.begin() + index, tw);
  if (index > 0 && index < size) {
    // Splits column index - 1: every cell over it now covers both halves.
    const int split = index - 1;
    InsertColumn(split + 1, true);
    for (TDVRTFGridCell& cell : cells_) {
      if (cell.Col > split)
        ++cell.Col;
      else if (cell.Col + cell.ColSpan > split)
        ++cell.ColSpan;
    }
    return;
  }
  // A new first or last column: the earlier rows have no cell there, so one
  // hidden cell fills it over all of them.
  const int col = index == 0 ? 0 : size - 1;
  InsertColumn(col, false);
  if (index == 0)
    for (TDVRTFGridCell& cell : cells_) ++cell.Col;
  if (row == 0) return;
  const int filler = NewCell(0, col, 1, true);
  cells_[filler].RowSpan = row;
  for (int r = 1; r < row; ++r) Claim(filler, r, col, 1);
}

void TDVRTFTableGrid::InsertColumn(int col, bool split) {
  const size_t cols = ownerCols_ + 1;
  std::vector<int> owner(static_cast<size_t>(rows_) * cols);
  for (size_t r = 0; r < static_cast<size_t>(rows_); ++r) {
    const auto from = owner_.begin() + static_cast<ptrdiff_t>(r * ownerCols_);
    const auto to = owner.begin() + static_cast<ptrdiff_t>(r * cols);
    std::copy(from, from + col, to);
    to[col] = split ? from[col - 1] : -1;
    std::copy(from + col, from + static_cast<ptrdiff_t>(ownerCols_), to + col + 1);
  }
  owner_ = std::move(owner);
  ownerCols_ = cols;
}

int TDVRTFTableGrid::NewCell(int row, int col, int colSpan, bool hidden) {
  TDVRTFGridCell& cell = cells_.emplace_back();
  cell.Row = row;
  cell.Col = col;
  cell.ColSpan = colSpan;
  cell.Hidden = hidden;
  const int index = static_cast<int>(cells_.size()) - 1;
  Claim(index, row, col, colSpan);
  return index;
}

void TDVRTFTableGrid::Claim(int cell, int row, int col, int colSpan) {
  std::fill_n(owner_.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(row) * ownerCols_ + col), colSpan, cell);
}

int64_t TDVRTFTableGrid::RightEdge(const TDVRTFRowProperties& props, int index) const {
  const TDVRTFCellProperties& cell = props.CellProps[index];
  const int next = index + 1;
  if (cell.HMerge != rtf_cm_First || next >= static_cast<int>(props.CellProps.size()) ||
      props.CellProps[next].HMerge != rtf_cm_Merged)
    return cell.RightBoundaryTw;
  // The first cell of a horizontal merge reaches to the next cell's boundary,
  // no further than the grid line at or right of its own one, so that its own
  // boundary splits no column.
  const int64_t own = cell.RightBoundaryTw;
  const int line = FindLine(own);
  if (line == static_cast<int>(lines_.size())) return own;
  return std::min<int64_t>(props.CellProps[next].RightBoundaryTw, std::max(own, lines_[line]));
}

void TDVRTFTableGrid::PlaceCell(const TDVRTFRowProperties& props, int index,
                                std::vector<std::pair<int, int>> working, int& col, int row) {
  const TDVRTFCellProperties& prop = props.CellProps[index];
  // A boundary not right of where the cell starts moves just beyond it, so
  // the grid stays ascending and every cell spans a column; a cell merged
  // into its left neighbour needs no column of its own.
  const int64_t edge = RightEdge(props, index);
  const int64_t start = lines_[col] + DV_TableGridEps;
  const bool mergedLeft = prop.HMerge == rtf_cm_Merged && col > 0;
  const int end = mergedLeft && edge <= start ? col : LineFor(std::max(edge, start + 1), row);
  // Called once at most: a cell's first working cells are moved in, not copied.
  auto receive = [&](int target) {
    std::vector<std::pair<int, int>>& into = cells_[target].WorkingCells;
    if (into.empty())
      into = std::move(working);
    else
      into.insert(into.end(), working.begin(), working.end());
  };

  if (end <= col) {
    // No column left for this cell: its text folds into the cell on its left.
    const int left = Owner(row, col - 1);
    cells_[left].Hidden = false;
    receive(left);
    return;
  }
  if (prop.VMerge == rtf_cm_Merged && row > 0) {
    const int above = Owner(row - 1, col);
    TDVRTFGridCell& cell = cells_[above];
    if (!cell.Hidden && cell.Col == col) {
      ++cell.RowSpan;
      Claim(above, row, col, cell.ColSpan);
      receive(above);
      const int merged = col + cell.ColSpan;
      // A wider lower cell keeps its extra columns as a cell of its own.
      if (end > merged) cells_[NewCell(row, merged, end - merged, false)].CellProp = index;
      col = std::max(end, merged);
      return;
    }
  }
  if (mergedLeft) {
    const int left = Owner(row, col - 1);
    TDVRTFGridCell& cell = cells_[left];
    if (!cell.Hidden && cell.Row == row && cell.RowSpan == 1) {
      cell.ColSpan += end - col;
      Claim(left, row, col, end - col);
      receive(left);
      col = end;
      return;
    }
  }
  const int cell = NewCell(row, col, end - col, false);
  cells_[cell].CellProp = index;
  receive(cell);
  col = end;
}

}  // namespace quillet
