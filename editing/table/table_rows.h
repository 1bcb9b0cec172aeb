#pragma once
// The grid of a table: rows of positions, each a cell or empty. A cell with
// RowSpan r and ColSpan c stands at the top-left of an r x c rectangle that
// it covers; the other positions of the rectangle are empty.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editing/table/table_cell.h"

namespace quillet {

class TCanvas;
class TCustomDVData;
class TDVEditDVData;
class TDVTableRows;
class TDVUndoMerge;
class TDVUndoUnmerge;

// Its "VAlign" is an integer property by name, so that undo sets it back.
class TDVTableRow : public TDVDataList, public TDVIntPropertyOwner {
 public:
  TDVTableRow(int count, TDVTableRows* rows);
  TDVTableRows* Rows;
  TDVCellVAlign VAlign = dvcTop;

  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  TCustomDVData* GetParentDVData() const override;
  TDVTableCellData* Cell(int index) const { return static_cast<TDVTableCellData*>(Items(index)); }
  TDVTableCellData* AddCell();
  void InsertCell(int index);
  void InsertEmpty(int index);
  void InsertPointer(int index, std::unique_ptr<TDVTableCellData> cell);
  // Puts cell at the position; answers what stood there.
  std::unique_ptr<TDVTableCellData> Put(int index, std::unique_ptr<TDVTableCellData> cell);
  // Over the cells with RowSpan 1: the largest BestHeight (0 without any),
  // and the largest content height (10 when that is 0).
  int32_t GetBestHeight() const;
  int32_t GetHeight() const;
};

class TDVTableRows : public TDVList<TDVTableRow> {
 public:
  TDVTableRows(int rows, int cols, TDVTableItemInfo* table);
  TDVTableItemInfo* Table;
  TCustomDVData* DVData = nullptr;  // the document the table is placed in

  void Reset(int rows, int cols);
  bool Empty() const;
  int GetColCount() const;
  TDVTableRow* AddRow(int cols);
  TDVTableCellData* CellAt(int row, int col) const { return Items(row)->Cell(col); }

  // The cell that covers the position. Raises EDocViewError for a position
  // outside the grid or one that no cell covers.
  TDVTableCellData* GetMainCell(int row, int col, int& mainRow, int& mainCol) const;
  // The wished width of a rectangle: percents beat pixels, within a row
  // they add up; across rows the larger wins.
  int32_t GetBestWidth(int row, int col, int rowCount, int colCount) const;
  int32_t GetMinColWidth(int col, const TDVScreenAndDevice* sad, TCanvas& canvas) const;
  bool IsPercentWidthColumn(int col) const;
  int32_t GetPercentColWidth(int col, int32_t tableWidth) const;
  int32_t GetPixelColWidth(int col) const;
  // Some row of the range has no cell of its own in either column range.
  bool IsEmptyCols(int row, int col, int colCount2, int col2, int rowCount, int colCount) const;
  // Some column of the range has no cell of its own in either row range.
  bool IsEmptyRows(int row, int col, int rowCount2, int row2, int rowCount, int colCount) const;

  // Clips the counts to the grid; false when there is nothing to merge.
  // Raises "Parameters for cell merging are not correct" for a count below
  // 1 beside one of 2 or more.
  bool StartMergeCells(int row, int col, int& rowCount, int& colCount) const;
  bool CanMergeCells(int row, int col, int rowCount, int colCount, bool allowMergeRC) const;
  // The merge without a bracket or a beep, for tables being built: the
  // top-left cell takes the others' content and the rectangle's size.
  // False when the rectangle cannot be merged.
  bool MergeCellsPlain(int row, int col, int rowCount, int colCount, bool allowMergeRC, bool mergeBestWidths);
  // Every position covered exactly once by a cell inside the grid.
  bool IsValidGrid() const;

  // ---- undoable grid operations (table_band_ops.cpp) ----
  // Each records its steps, bracketed as one change of the table, when the
  // table's document records undo. Bad indices raise "Invalid row or
  // column index" before anything changes. copyIndex -1: new cells take no
  // attributes; divide: the copied band's wished size is shared with the
  // new ones.
  void InsertRows(int index, int count, int copyIndex, bool divideHeights);
  void InsertCols(int index, int count, int copyIndex, bool divideWidths);
  // A cell starting in the band and reaching past it keeps its content in
  // its surviving piece.
  void DeleteRows(int index, int count, bool decreaseHeight);
  void DeleteCols(int index, int count, bool decreaseWidth);
  // False when nothing merged; beeps when the rectangle cannot be merged.
  bool MergeCells(int row, int col, int rowCount, int colCount, bool allowMergeRC, bool mergeBestWidths);
  void UnmergeCell(int row, int col, bool unmergeRows, bool unmergeCols);
  void UnmergeCells(int row, int col, int rowCount, int colCount, bool unmergeRows, bool unmergeCols);
  // The number of columns (rows) inserted.
  int SplitCellVertically(int row, int col, int colCount);
  int SplitCellHorizontally(int row, int col, int rowCount);
  int SplitCellsVertically(int row, int col, int rowCount, int colCount, int n);
  int SplitCellsHorizontally(int row, int col, int rowCount, int colCount, int n);
  // The cells at the positions lose their content, keeping attributes.
  void ClearCells(const std::vector<std::pair<int, int>>& cells);

  // ---- the grid primitives (table_grid_ops.cpp), run by the operations
  // and by their undo records; each records the step that takes it back ----
  using TBand = std::vector<std::unique_ptr<TDVTableCellData>>;
  // The editor's data while it records undo for this table, else null:
  // a table not yet in its document's list records nothing.
  TDVEditDVData* RecordingData() const;
  void Do_InsertRows(int index, std::vector<std::unique_ptr<TDVTableRow>> rows);
  void Do_DeleteRows(int index, int count);
  // cells[r]: the positions inserted into row r.
  void Do_InsertCols(int index, std::vector<TBand> cells);
  void Do_DeleteCols(int index, int count);
  void Do_SetSpan(int row, int col, bool isCol, int32_t value);
  void Do_SetCellProperty(int row, int col, const std::string& name, int32_t value);
  // The cell at (row, col) is cut at splitAt (a column when vert, else a
  // row); contentAfter: the cell with its content goes to the second piece.
  // piece: the second cell to use again (redo), else a new one.
  void Do_SplitCell(bool vert, int row, int col, int splitAt, bool divide, bool contentAfter,
                    std::unique_ptr<TDVTableCellData> piece);
  void Do_JoinCell(bool vert, int row, int col, int splitAt, bool divide, bool contentAfter, int32_t oldBest);
  void Do_MergeCells(int row, int col, int rowCount, int colCount, bool mergeBestWidths);
  void Do_UndoMergeCells(TDVUndoMerge& merge);
  // pieces: the cells to use again (redo), else new ones.
  void Do_UnmergeCell(int row, int col, bool unmergeRows, bool unmergeCols, TBand pieces);
  void Do_UndoUnmergeCell(TDVUndoUnmerge& unmerge);
  // held: the cells to put in place (undo and redo), else empty copies.
  void Do_ClearCells(const std::vector<std::pair<int, int>>& cells, TBand held);
};

}  // namespace quillet
