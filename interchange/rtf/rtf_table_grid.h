#pragma once
// The shape of an RTF table before it becomes a table item: the distinct
// column boundaries of all its rows in twips, every cell's place and spans,
// the cells that only fill the grid, and which working cells (the texts
// between \cell marks of a row) each cell receives. Rows of one table need not
// share their boundaries, so a row can split the columns of the rows before it.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "interchange/rtf/rtf_properties.h"

namespace quillet {

// Two boundaries this close (twips) are one grid line.
constexpr int32_t DV_TableGridEps = 1;

struct TDVRTFGridCell {
  int Row = 0, Col = 0, RowSpan = 1, ColSpan = 1;
  // Fills the grid only: shows no borders and holds one empty paragraph.
  bool Hidden = false;
  // Index into the row's cell properties; -1 for a hidden cell.
  int CellProp = -1;
  // The working cells (row, index in that row) whose content goes here, in
  // order; empty for a cell with no text of its own.
  std::vector<std::pair<int, int>> WorkingCells;
};

enum TDVRTFGridRowResult : uint8_t {
  rtf_gr_Added,
  rtf_gr_NoCells,   // the row gave no \cellx
  rtf_gr_TableFull  // one more row would pass the row or cell limit
};

class TDVRTFTableGrid {
 public:
  // Places a finished row (its cell properties already finalized) whose text
  // came in `workingCells` working cells. Nothing is placed unless the result
  // is rtf_gr_Added; the caller keeps the row's text then.
  TDVRTFGridRowResult AddRow(const TDVRTFRowProperties& row, int workingCells);

  const std::vector<int64_t>& Lines() const { return lines_; }
  int RowCount() const { return rows_; }
  int ColCount() const { return lines_.empty() ? 0 : static_cast<int>(lines_.size()) - 1; }
  const std::vector<TDVRTFGridCell>& Cells() const { return cells_; }
  // The cell covering (row, col).
  const TDVRTFGridCell& CellAt(int row, int col) const { return cells_[Owner(row, col)]; }

 private:
  int Owner(int row, int col) const { return owner_[static_cast<size_t>(row) * ownerCols_ + col]; }
  int FindLine(int64_t tw) const;
  // A new column at col in every row: a copy of the column on its left (a
  // split), or free.
  void InsertColumn(int col, bool split);
  int LineFor(int64_t tw, int row);
  void InsertLine(int index, int64_t tw, int row);
  int NewCell(int row, int col, int colSpan, bool hidden);
  void Claim(int cell, int row, int col, int colSpan);
  int64_t RightEdge(const TDVRTFRowProperties& props, int index) const;
  void PlaceCell(const TDVRTFRowProperties& props, int index, std::vector<std::pair<int, int>> working, int& col,
                 int row);

  std::vector<int64_t> lines_;
  // Row after row, by column: index into cells_, -1 while free. One block
  // rather than a vector per row, so a large table's grid is read in order
  // instead of gathered from all over the heap.
  std::vector<int> owner_;
  size_t ownerCols_ = 0;
  int rows_ = 0;
  std::vector<TDVRTFGridCell> cells_;
};

}  // namespace quillet
