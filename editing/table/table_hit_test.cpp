// Which rule, column, row or cell lies under a point of the table, the
// neighbour of a cell, and the cell selection.
#include <algorithm>

#include "editing/table/table_item.h"
#include "engine/layout/formatted_data.h"

namespace quillet {

namespace {

// A rule of centre c in a zone w wide is hit within max(w / 2, 2).
bool OnRule(int32_t coord, int64_t centre, int32_t zone) {
  const int64_t d = int64_t{coord} - centre;
  return (d < 0 ? -d : d) <= std::max<int64_t>(zone / 2, 2);
}

// The rule under coord along one axis: border zone e, inner zone l, band
// starts, the table's extent.
int RuleNo(int32_t coord, int32_t e, int32_t l, const std::vector<int32_t>& starts, int32_t extent, int32_t& minC,
           int32_t& ruleC) {
  minC = ruleC = -1;
  if (coord < 0 || coord > extent || starts.empty()) return -1;
  if (OnRule(coord, e / 2, e)) {
    ruleC = e / 2;
    return 0;
  }
  const int count = static_cast<int>(starts.size());
  if (OnRule(coord, int64_t{extent} - e / 2, e)) {
    minC = starts.back();
    ruleC = extent - e / 2;
    return count;
  }
  for (int i = 1; i < count; ++i)
    if (OnRule(coord, int64_t{starts[static_cast<size_t>(i)]} - l / 2, l)) {
      minC = starts[static_cast<size_t>(i - 1)];
      ruleC = starts[static_cast<size_t>(i)] - (l + 1) / 2;
      return i;
    }
  return -1;
}

int BandNo(int32_t coord, const std::vector<int32_t>& starts, const std::vector<int32_t>& sizes, int32_t padding) {
  for (size_t i = 0; i < starts.size() && i < sizes.size(); ++i)
    if (coord >= starts[i] && int64_t{coord} <= int64_t{starts[i]} + sizes[i] + padding) return static_cast<int>(i);
  return -1;
}

}  // namespace

int TDVTableItemInfo::GetVerticalRuleNo(int32_t x, int32_t& minX, int32_t& ruleX) const {
  return RuleNo(x, GetDevX(BorderWidth + BorderHSpacing + CellBorderWidth),
                GetDevX(2 * CellBorderWidth + CellHSpacing), Fmt.ColStarts, Fmt.Width, minX, ruleX);
}

int TDVTableItemInfo::GetHorizontalRuleNo(int32_t y, int32_t& minY, int32_t& ruleY) const {
  return RuleNo(y, GetDevY(BorderWidth + BorderVSpacing + CellBorderWidth),
                GetDevY(2 * CellBorderWidth + CellVSpacing), Fmt.RowStarts, Fmt.Height, minY, ruleY);
}

int TDVTableItemInfo::GetColNo(int32_t x) const {
  return BandNo(x, Fmt.ColStarts, Fmt.ColWidths, GetDevX(2 * CellPadding));
}

int TDVTableItemInfo::GetRowNo(int32_t y) const {
  return BandNo(y, Fmt.RowStarts, Fmt.RowHeights, GetDevY(2 * CellPadding));
}

int TDVTableItemInfo::GetCrossed(int32_t coord, const std::vector<int32_t>& list) {
  if (list.size() < 2) return 0;
  // The first position at or past coord; the one before it is crossed.
  const auto it = std::lower_bound(list.begin(), list.end(), coord);
  if (it == list.end()) return static_cast<int>(list.size()) - 1;
  return std::max(0, static_cast<int>(it - list.begin()) - 1);
}

bool TDVTableItemInfo::GetCellAt(int32_t x, int32_t y, int& row, int& col) const {
  row = col = -1;
  if (Rows.Empty() || Fmt.ColStarts.empty() || Fmt.RowStarts.empty()) return false;
  const int64_t dx = int64_t{Fmt.ColStarts.front()} + 1, dy = int64_t{Fmt.RowStarts.front()} + 1;
  if (x < dx || y < dy || x > Fmt.Width - dx || y > Fmt.Height - dy) return false;
  const auto lastAtOrBefore = [](const std::vector<int32_t>& starts, int32_t c) {
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), c) - starts.begin()) - 1;
  };
  const int r = lastAtOrBefore(Fmt.RowStarts, y), c = lastAtOrBefore(Fmt.ColStarts, x);
  if (r < 0 || c < 0 || r >= Rows.Count() || c >= Rows[r]->Count()) return false;
  int mainRow = -1, mainCol = -1;
  const TDVTableCellData* cell = Rows.GetMainCell(r, c, mainRow, mainCol);
  if (x <= cell->Left || y <= cell->Top || int64_t{x} >= int64_t{cell->Left} + cell->Width - 1 ||
      int64_t{y} >= int64_t{cell->Top} + cell->Height - 1)
    return false;
  row = mainRow;
  col = mainCol;
  return true;
}

bool TDVTableItemInfo::GetCellTo(int row, int col, TDVCellDirection direction, int& newRow, int& newCol) const {
  newRow = newCol = -1;
  const int rows = Rows.Count(), cols = Rows.GetColCount();
  if (row < 0 || col < 0 || row >= rows || col >= cols) return false;
  int r = row, c = col;
  const TDVTableCellData* from = Rows.GetMainCell(row, col, r, c);
  auto mainAt = [&](int atRow, int atCol) {
    if (atRow < 0 || atCol < 0 || atRow >= rows || atCol >= cols) return false;
    Rows.GetMainCell(atRow, atCol, newRow, newCol);
    return true;
  };
  switch (direction) {
    case dvcdLeft: return mainAt(row, c - 1);
    case dvcdUp: return mainAt(r - 1, col);
    case dvcdRight: return mainAt(row, c + from->ColSpan);
    case dvcdDown: return mainAt(r + from->RowSpan, col);
    case dvcdNext:
    case dvcdPrev: {
      // Reading order over the positions that hold a cell of their own.
      const int64_t step = direction == dvcdNext ? 1 : -1;
      for (int64_t at = int64_t{r} * cols + c + step; at >= 0 && at < int64_t{rows} * cols; at += step) {
        const int pr = static_cast<int>(at / cols), pc = static_cast<int>(at % cols);
        if (Rows.CellAt(pr, pc)) {
          newRow = pr;
          newCol = pc;
          return true;
        }
      }
      return false;
    }
    default: return false;
  }
}

void TDVTableItemInfo::Select(int startRow, int startCol, int rowOffs, int colOffs) {
  SelStartRow = startRow;
  SelStartCol = startCol;
  SelRowOffs = rowOffs;
  SelColOffs = colOffs;
  ClipSelection();
  if (auto* data = dynamic_cast<TCustomDVFormattedData*>(Rows.DVData)) {
    if (PartiallySelected()) data->SetPartialSelectedItem(this);
    data->Invalidate();
  }
}

void TDVTableItemInfo::SelectRows(int start, int count) {
  if (count > 0) Select(start, 0, count - 1, Rows.GetColCount() - 1);
}

void TDVTableItemInfo::SelectCols(int start, int count) {
  if (count > 0) Select(0, start, Rows.Count() - 1, count - 1);
}

void TDVTableItemInfo::DeselectPartial() {
  if (!PartiallySelected()) return;
  SelStartRow = SelStartCol = -1;
  SelRowOffs = SelColOffs = 0;
  if (auto* data = dynamic_cast<TCustomDVFormattedData*>(Rows.DVData)) data->Invalidate();
}

bool TDVTableItemInfo::CompletelySelected() const {
  auto* data = dynamic_cast<TCustomDVFormattedData*>(Rows.DVData);
  const int itemNo = GetMyItemNo();
  if (!data || itemNo < 0) return false;
  int startNo = -1, endNo = -1;
  int32_t startOffs = 0, endOffs = 0;
  data->StoreSelBounds(startNo, endNo, startOffs, endOffs, true);
  if (startNo < 0 || (startNo == endNo && startOffs == endOffs)) return false;
  const bool startsBefore = startNo < itemNo || (startNo == itemNo && startOffs <= 0);
  const bool endsAfter = endNo > itemNo || (endNo == itemNo && endOffs >= 1);
  return startsBefore && endsAfter;
}

}  // namespace quillet
