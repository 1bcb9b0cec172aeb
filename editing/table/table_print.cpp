#include "editing/table/table_print.h"

#include <algorithm>

#include "engine/base/doc_view_error.h"
#include "platform/core/arith.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

constexpr const char* kInternalPrintingError = "Internal printing error";

}  // namespace

TCellPtblDVData::TCellPtblDVData(TDVTableCellData& cell, TCustomPrintableDVData& parent)
    : TRectPtblDVData(cell, parent) {
  const TDVTableItemInfo* table = cell.GetTable();
  Color = cell.Color != clNone || !table ? cell.Color : table->Color;
}

TDVTablePrintInfo::TDVTablePrintInfo(const TDVTableItemInfo& table, TCustomPrintableDVData* printed,
                                     const TDVScreenAndDevice& sad)
    : Table(table), SaD(sad), cols_(table.Rows.GetColCount()) {
  Fmt.Places = this;
  const int rows = table.Rows.Count();
  cells_.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols_));
  rects_.resize(cells_.size());
  // Only cells with content are laid out on paper; an empty one is its
  // background and borders alone.
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < table.Rows[r]->Count() && c < cols_; ++c)
      if (TDVTableCellData* cell = table.Rows.CellAt(r, c); cell && cell->HasData(false) && printed)
        cells_[Index(r, c)] = std::make_unique<TCellPtblDVData>(*cell, *printed);
}

size_t TDVTablePrintInfo::Index(int row, int col) const {
  return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
}

TDVTablePrintPart& TDVTablePrintInfo::Part(int index) const {
  return static_cast<TDVTablePrintPart&>(*PartsList.at(static_cast<size_t>(index)));
}

TCellPtblDVData* TDVTablePrintInfo::CellData(int row, int col) const {
  if (row < 0 || col < 0 || col >= cols_ || Index(row, col) >= cells_.size()) return nullptr;
  return cells_[Index(row, col)].get();
}

// ---- places ----

int32_t TDVTablePrintInfo::CellHeight(int row, int col) const {
  const TDVTableCellData* cell = Table.GetCells(row, col);
  if (!cell) return 0;
  if (const TCellPtblDVData* data = CellData(row, col))
    return std::max(data->DocumentHeight, Table.GetDevY(cell->BestHeight));
  return Table.GetDevY(cell->GetCellHeight());
}

void TDVTablePrintInfo::PlaceX(int row, int col, int32_t left, int32_t width, TCanvas& canvas) {
  TRect& r = rects_[Index(row, col)];
  r.Left = left;
  r.Right = Clamp32(int64_t{left} + width);
  if (TCellPtblDVData* data = CellData(row, col))
    data->FormatAt(Clamp32(int64_t{width} - Table.GetDevX(2 * Table.CellPadding)), canvas);
}

void TDVTablePrintInfo::PlaceY(int row, int col, int32_t top, int32_t height) {
  TRect& r = rects_[Index(row, col)];
  r.Top = top;
  r.Bottom = Clamp32(int64_t{top} + height);
}

TRect TDVTablePrintInfo::CellRect(int row, int col) const { return rects_[Index(row, col)]; }

void TDVTablePrintInfo::PaintContent(int row, int col, TCanvas& canvas, int32_t x, int32_t y) const {
  TCellPtblDVData* data = CellData(row, col);
  const TDVTableCellData* cell = Table.GetCells(row, col);
  if (!data || !cell) return;
  const TRect r = CellRect(row, col);
  const int32_t pad = Table.GetDevX(Table.CellPadding), padY = Table.GetDevY(Table.CellPadding);
  int32_t shift = 0;
  switch (cell->GetRealVAlign()) {
    case dvcMiddle:
      shift = (r.Height() - data->DocumentHeight) / 2 - padY;
      break;
    case dvcBottom:
      shift = r.Height() - data->DocumentHeight - 2 * padY;
      break;
    default:
      break;
  }
  data->X = Clamp32(int64_t{x} + pad);
  data->Y = Clamp32(int64_t{y} + padY + std::max(shift, 0));
  data->DrawPage(1, canvas, preview_, correction_);
}

// ---- splitting ----

int32_t TDVTablePrintInfo::RowTop(int row) const { return Fmt.RowStarts[static_cast<size_t>(row)]; }

int32_t TDVTablePrintInfo::RowBottom(int row) const {
  const int32_t pad2 = SaD.ppiyScreen > 0 ? MulDiv(2 * Table.CellPadding, SaD.ppiyDevice, SaD.ppiyScreen)
                                          : 2 * Table.CellPadding;
  return Clamp32(int64_t{Fmt.RowStarts[static_cast<size_t>(row)]} + Fmt.RowHeights[static_cast<size_t>(row)] + pad2);
}

int32_t TDVTablePrintInfo::Extra() const {
  const int last = static_cast<int>(Fmt.RowStarts.size()) - 1;
  return Clamp32(int64_t{RowTop(0)} + Fmt.Height - RowBottom(last));
}

bool TDVTablePrintInfo::InitSplit() {
  PartsList.clear();
  const int rows = Table.Rows.Count();
  if (!(Table.PrintOptions & dvtoRowsSplit) || rows == 0 || static_cast<int>(Fmt.RowStarts.size()) != rows ||
      static_cast<int>(Fmt.RowHeights.size()) != rows)
    return false;
  auto part = std::make_unique<TDVTablePrintPart>();
  part->FirstRow = 0;
  part->RowCount = rows;
  part->Height = Fmt.Height;
  PartsList.push_back(std::move(part));
  return true;
}

bool TDVTablePrintInfo::CanSplitFirst(int32_t y) {
  if (Fmt.RowStarts.empty()) return false;
  const int b = Table.GetSplitRowBelow(0);
  return int64_t{RowBottom(b)} - RowTop(0) + Extra() <= y;
}

bool TDVTablePrintInfo::SplitAt(int32_t y) {
  if (PartsList.empty()) throw EDocViewError(kInternalPrintingError);
  TDVTablePrintPart& last = Part(PartCount() - 1);
  if (last.RowCount <= 1 || last.Height <= y) return false;
  const int first = last.FirstRow, end = last.FirstRow + last.RowCount;  // rows [first, end)
  if (first < 0 || end > static_cast<int>(Fmt.RowStarts.size())) throw EDocViewError(kInternalPrintingError);
  const int32_t extra = Extra();
  const int64_t limit = int64_t{y} - extra + RowTop(first);
  // The first row past the space; the part's first row always goes.
  int r = first + 1;
  while (r < end && RowBottom(r) <= limit) ++r;
  if (r >= end) throw EDocViewError(kInternalPrintingError);
  // Back to a boundary no merged cell crosses; when there is none after the
  // first row, the smallest block that stands alone, even if too tall.
  int b = Table.GetSplitRowAbove(r);
  if (b <= first) b = Table.GetSplitRowBelow(first) + 1;
  const int count = b - first;
  if (count > last.RowCount) throw EDocViewError(kInternalPrintingError);
  if (count == last.RowCount) return false;
  auto rest = std::make_unique<TDVTablePrintPart>();
  rest->FirstRow = b;
  rest->RowCount = end - b;
  rest->Height = Clamp32(int64_t{RowBottom(end - 1)} - RowTop(b) + extra);
  last.RowCount = count;
  last.Height = Clamp32(int64_t{RowBottom(b - 1)} - RowTop(first) + extra);
  PartsList.push_back(std::move(rest));
  return true;
}

// ---- painting ----

void TDVTablePrintInfo::PrintPart(TCanvas& canvas, int32_t x, int32_t y, int part, bool preview,
                                  bool correction) const {
  const int rows = Table.Rows.Count();
  int firstRow = 0, lastRow = rows - 1;
  int32_t origin = y, height = Fmt.Height;
  if (part >= 0 && part < PartCount()) {
    const TDVTablePrintPart& p = Part(part);
    firstRow = p.FirstRow;
    lastRow = p.FirstRow + p.RowCount - 1;
    height = p.Height;
    // The part's first row stands below the table's top zone.
    if (firstRow < static_cast<int>(Fmt.RowStarts.size())) origin = Clamp32(int64_t{y} + RowTop(0) - RowTop(firstRow));
  }
  TScopedValue<bool> previewing(preview_, preview);
  TScopedValue<bool> correcting(correction_, correction);
  const TRect clip = Rect(x, y, Clamp32(int64_t{x} + Fmt.Width), Clamp32(int64_t{y} + height));
  Table.PaintRows(Fmt, firstRow, lastRow, x, origin, y, height, canvas, dvidsPrinting, nullptr, clip, true);
}

// ---- the table item ----

std::unique_ptr<TDVDrawLineInfo> TDVTableItemInfo::CreatePrintingDrawItem(TCustomDVData* dvData,
                                                                          const TDVScreenAndDevice* sad) const {
  auto* printed = dynamic_cast<TCustomPrintableDVData*>(dvData);
  if (!printed || !sad) return TDVFullLineItemInfo::CreatePrintingDrawItem(dvData, sad);
  return std::make_unique<TDVTablePrintInfo>(*this, printed, *sad);
}

void TDVTableItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t, bool preview, bool correction,
                             const TDVScreenAndDevice&, TCustomDVData*, const TDVDrawLineInfo* dli, int part) const {
  const auto* info = dynamic_cast<const TDVTablePrintInfo*>(dli);
  if (!info) return;  // not laid out for the printer
  TScopedValue<const TDVScreenAndDevice*> scale(sad_, &info->SaD);
  info->PrintPart(canvas, x, y, part, preview, correction);
}

int32_t TDVTableItemInfo::GetSoftPageBreakDY(int32_t row) const {
  if (row < 0 || row >= static_cast<int>(Fmt.RowStarts.size())) return 0;
  return Fmt.RowStarts[static_cast<size_t>(row)];
}

int TDVTableItemInfo::GetSplitRowBelow(int row) const {
  const int rows = Rows.Count(), cols = Rows.GetColCount();
  int r = std::clamp(row, 0, std::max(rows - 1, 0));
  for (bool moved = rows > 0; moved;) {
    moved = false;
    for (int c = cols - 1; c >= 0; --c) {
      int mr = 0, mc = 0;
      const TDVTableCellData* cell = Rows.GetMainCell(r, c, mr, mc);
      const int bottom = mr + cell->RowSpan - 1;
      if (bottom > r) {
        r = std::min(bottom, rows - 1);
        moved = true;
      }
    }
  }
  return r;
}

int TDVTableItemInfo::GetSplitRowAbove(int row) const {
  const int rows = Rows.Count(), cols = Rows.GetColCount();
  int r = std::clamp(row, 0, std::max(rows - 1, 0));
  for (bool moved = rows > 0; moved;) {
    moved = false;
    for (int c = cols - 1; c >= 0; --c) {
      int mr = 0, mc = 0;
      Rows.GetMainCell(r, c, mr, mc);
      if (mr < r) {
        r = mr;
        moved = true;
      }
    }
  }
  return r;
}

}  // namespace quillet
