#pragma once
// The grid of a table: rows of positions, each a cell or empty. A cell with
// RowSpan r and ColSpan c stands at the top-left of an r x c rectangle that
// it covers; the other positions of the rectangle are empty.
#include <cstdint>
#include <memory>

#include "editing/table/table_cell.h"

namespace quillet {

class TCanvas;
class TCustomDVData;
class TDVTableRows;

class TDVTableRow : public TDVDataList {
 public:
  TDVTableRow(int count, TDVTableRows* rows);
  TDVTableRows* Rows;
  TDVCellVAlign VAlign = dvcTop;

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
  // The merge without undo: the top-left cell takes the others' content and
  // the rectangle's size. False when the rectangle cannot be merged.
  bool MergeCellsPlain(int row, int col, int rowCount, int colCount, bool allowMergeRC, bool mergeBestWidths);
  // Every position covered exactly once by a cell inside the grid.
  bool IsValidGrid() const;
};

}  // namespace quillet
