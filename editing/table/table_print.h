#pragma once
// The table on paper: its own layout at the printer's resolution, a printed
// copy of every cell with content, and the parts it is cut into between
// pages, each a run of whole rows that never cuts a merged cell.
#include <cstdint>
#include <memory>
#include <vector>

#include "editing/table/table_item.h"
#include "engine/layout/multi_draw_item.h"
#include "engine/print/printable_data.h"

namespace quillet {

class TDVTablePrintPart : public TDVMultiDrawItemPart {
 public:
  int FirstRow = 0, RowCount = 0;
  int32_t GetSoftPageBreakInfo() const override { return FirstRow; }
};

// A cell's content on paper, on the cell's colour.
class TCellPtblDVData : public TRectPtblDVData {
 public:
  TCellPtblDVData(TDVTableCellData& cell, TCustomPrintableDVData& parent);
  // The cell's colour, else the table's.
  TColor GetCellColor() const { return Color; }
};

class TDVTablePrintInfo : public TDVMultiDrawItemInfo, public TDVTableCellPlaces {
 public:
  // The cell copies are made inside `printed`, the document being printed.
  TDVTablePrintInfo(const TDVTableItemInfo& table, TCustomPrintableDVData* printed, const TDVScreenAndDevice& sad);

  const TDVTableItemInfo& Table;
  TDVScreenAndDevice SaD;
  TDVTableItemFormattingInfo Fmt;

  // False when rows may not be split (the table goes on one page whole)
  // or there are none; otherwise one part of all rows.
  bool InitSplit() override;
  // The first block of rows that can stand alone fits into y with the
  // table's border zones above and below.
  bool CanSplitFirst(int32_t y) override;
  // Cuts the last part so that its first piece fits into y, at a row
  // boundary no merged cell crosses. "Internal printing error" when the
  // request does not fit the parts.
  bool SplitAt(int32_t y) override;

  TDVTablePrintPart& Part(int index) const;
  // The printed copy of the cell at the position; null for none.
  TCellPtblDVData* CellData(int row, int col) const;

  // ---- places of the printed layout ----
  int32_t CellHeight(int row, int col) const override;
  void PlaceX(int row, int col, int32_t left, int32_t width, TCanvas& canvas) override;
  void PlaceY(int row, int col, int32_t top, int32_t height) override;
  TRect CellRect(int row, int col) const override;
  void PaintContent(int row, int col, TCanvas& canvas, int32_t x, int32_t y) const override;

  // Paints part `part` (-1: the whole table) with its top-left at (x, y).
  void PrintPart(TCanvas& canvas, int32_t x, int32_t y, int part, bool preview, bool correction) const;

 private:
  int32_t RowTop(int row) const;
  int32_t RowBottom(int row) const;
  // The table's space above its first row and below its last, together.
  int32_t Extra() const;
  size_t Index(int row, int col) const;

  int cols_;
  std::vector<std::unique_ptr<TCellPtblDVData>> cells_;  // grid order
  std::vector<TRect> rects_;                             // grid order
  mutable bool preview_ = false, correction_ = false;     // of the painting under way
};

}  // namespace quillet
