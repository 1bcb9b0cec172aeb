// Table layout: the minimum width, the width pass that shares the room
// among the columns (pixel, percent and free columns, merged cells by the
// span rule), row heights and the placing of every cell.
#include <algorithm>
#include <vector>

#include "editing/table/table_item.h"
#include "editing/table/table_print.h"
#include "engine/layout/draw_lines.h"
#include "platform/core/arith.h"
#include "platform/core/scoped_value.h"

namespace quillet {

int32_t TDVTableItemInfo::GetDevX(int32_t x) const {
  return sad_ && sad_->ppixScreen > 0 ? MulDiv(x, sad_->ppixDevice, sad_->ppixScreen) : x;
}

int32_t TDVTableItemInfo::GetDevY(int32_t y) const {
  return sad_ && sad_->ppiyScreen > 0 ? MulDiv(y, sad_->ppiyDevice, sad_->ppiyScreen) : y;
}

int32_t TDVTableItemInfo::GetHorzExtra() const {
  const int32_t c = Rows.GetColCount();
  return GetDevX((c - 1) * CellHSpacing + 2 * (BorderWidth + BorderHSpacing) + 2 * c * CellBorderWidth);
}

int32_t TDVTableItemInfo::CellContentHeight(const TDVTableItemFormattingInfo& fmt, int row, int col,
                                            const TDVTableCellData& cell) const {
  return fmt.Places ? fmt.Places->CellHeight(row, col) : GetDevY(cell.GetCellHeight());
}

// The tallest cell of the row that lies in it alone (10 pixels without one).
int32_t TDVTableItemInfo::RowContentHeight(const TDVTableItemFormattingInfo& fmt, int row) const {
  if (!fmt.Places) return GetDevY(Rows[row]->GetHeight());
  int32_t h = 0;
  for (int c = 0; c < Rows[row]->Count(); ++c)
    if (const TDVTableCellData* cell = Rows.CellAt(row, c); cell && cell->RowSpan == 1)
      h = std::max(h, CellContentHeight(fmt, row, c, *cell));
  return h == 0 ? GetDevY(10) : h;
}

bool TDVTableItemInfo::IsFixedWidthTable() const {
  const int rows = Rows.Count(), cols = Rows.GetColCount();
  if (Rows.IsEmptyRows(0, 0, 0, 0, rows, cols)) return false;
  std::vector<bool> ended(static_cast<size_t>(cols), false);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      int mr = 0, mc = 0;
      const TDVTableCellData* cell = Rows.GetMainCell(r, c, mr, mc);
      if (cell->BestWidth < 0) return false;
      if (cell->BestWidth > 0) ended[static_cast<size_t>(mc + cell->ColSpan - 1)] = true;
    }
  return std::all_of(ended.begin(), ended.end(), [](bool b) { return b; });
}

namespace {

enum TColumnKind : uint8_t { ckFree, ckFixed, ckPercent };

// The state of one width pass.
struct TWidthPass {
  TDVTableItemInfo& T;
  std::vector<int32_t>& W;
  std::vector<TColumnKind> Kind;
  int32_t Pad2;  // both paddings of a cell, device pixels

  // Widens the columns [col, col + span) until together they hold need
  // (content width W). allColumns: every column takes part; otherwise the
  // free ones first, then kinds up to limit. free: the free space the
  // growth is taken from (null: unlimited). Answers the growth.
  int32_t SpanRule(int col, int span, int32_t need, bool allColumns, int limit, int32_t* free) {
    const int32_t step = T.GetDevX(T.CellHSpacing + 2 * T.CellPadding + 2 * T.CellBorderWidth);
    int64_t have = T.GetDevX(-T.CellHSpacing - 2 * T.CellBorderWidth);
    for (int c = col; c < col + span; ++c) have += int64_t{W[static_cast<size_t>(c)]} + step;
    std::vector<int> chosen;
    for (int level = allColumns ? 2 : 0; level <= std::max(limit, allColumns ? 2 : 0) && chosen.empty(); ++level)
      for (int c = col; c < col + span; ++c)
        if (Kind[static_cast<size_t>(c)] <= level) chosen.push_back(c);
    const int64_t wanted = int64_t{need} + Pad2;
    if (have >= wanted || chosen.empty()) return 0;
    int64_t extra = wanted - have;
    if (free) {
      extra = std::min<int64_t>(extra, std::max(*free, 0));
      *free -= static_cast<int32_t>(extra);
    }
    int64_t weightSum = 0;
    for (int c : chosen) weightSum += int64_t{W[static_cast<size_t>(c)]} + Pad2;
    int64_t total = extra + weightSum, weights = weightSum;
    int left = static_cast<int>(chosen.size());
    for (int c : chosen) {
      int32_t& w = W[static_cast<size_t>(c)];
      const int64_t weight = int64_t{w} + Pad2;
      // Columns that weigh nothing (no padding, no content) share equally.
      const int64_t value = weights > 0 ? MulDiv(Clamp32(weight), Clamp32(total), Clamp32(weights)) : total / left;
      total -= value;
      weights -= weight;
      --left;
      w = Clamp32(value - Pad2);
    }
    return static_cast<int32_t>(extra);
  }

  template <class F>
  void ForMergedCells(F f) {
    for (int r = 0; r < T.Rows.Count(); ++r)
      for (int c = 0; c < T.Rows.GetColCount(); ++c)
        if (TDVTableCellData* cell = T.Rows.CellAt(r, c); cell && cell->ColSpan > 1) f(*cell, c);
  }

  // Shares free among the columns that pass, in proportion to weight(c).
  template <class Pass, class Weight>
  void ShareInProportion(int32_t& free, Pass pass, Weight weight) {
    std::vector<int> cols;
    int64_t sum = 0;
    for (int c = 0; c < static_cast<int>(W.size()); ++c)
      if (pass(c)) {
        cols.push_back(c);
        sum += weight(c);
      }
    for (int c : cols) {
      if (free <= 0 || sum <= 0) break;
      const int32_t w = weight(c);
      const int32_t give = std::min(free, MulDiv(free, w, Clamp32(sum)));
      W[static_cast<size_t>(c)] += give;
      free -= give;
      sum -= w;
    }
  }
};

// A cell's minimum content width; a canvas is needed to measure.
int32_t CellMinWidth(TDVTableCellData& cell, const TDVScreenAndDevice* sad, TCanvas* canvas) {
  if (!canvas) canvas = cell.GetCanvas();
  return canvas ? cell.GetMinWidth(sad, *canvas) : 0;
}

int32_t MinColWidth(const TDVTableRows& rows, int col, const TDVScreenAndDevice* sad, TCanvas* canvas) {
  int32_t w = 0;
  for (int r = 0; r < rows.Count(); ++r)
    if (TDVTableCellData* c = rows.CellAt(r, col); c && c->ColSpan == 1) w = std::max(w, CellMinWidth(*c, sad, canvas));
  return w;
}

}  // namespace

int32_t TDVTableItemInfo::GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData*) const {
  auto& self = const_cast<TDVTableItemInfo&>(*this);
  TScopedValue<const TDVScreenAndDevice*> scale(self.sad_, sad);
  if (Rows.Empty()) return GetDevX(2 * (BorderWidth + BorderHSpacing));
  const int cols = Rows.GetColCount();
  std::vector<int32_t> widths;
  int64_t sum = 0;
  for (int c = 0; c < cols; ++c) {
    int32_t w = MinColWidth(Rows, c, sad, canvas);
    if (BestWidth == 0) w = std::max(w, GetDevX(Rows.GetPixelColWidth(c)));
    widths.push_back(w);
    sum += w;
  }
  TWidthPass pass{self, widths, std::vector<TColumnKind>(static_cast<size_t>(cols), ckFree), GetDevX(2 * CellPadding)};
  pass.ForMergedCells([&](TDVTableCellData& cell, int c) {
    int32_t w = CellMinWidth(cell, sad, canvas);
    if (BestWidth == 0) w = std::max(w, GetDevX(cell.BestWidth));
    sum += pass.SpanRule(c, cell.ColSpan, w, true, 2, nullptr);
  });
  const int64_t result = int64_t{GetDevX(2 * CellPadding * cols)} + GetHorzExtra() + sum;
  return Clamp32(std::max<int64_t>(result, GetDevX(BestWidth)));
}

bool TDVTableItemInfo::OnDocWidthChange(int32_t docWidth, TDVDrawLineInfo* drawItem, bool printing,
                                        TCanvas& canvas, TCustomDVData*, const TDVScreenAndDevice* sad, int32_t&) {
  if (auto* print = dynamic_cast<TDVTablePrintInfo*>(drawItem); print && printing) {
    // The printed copy has a layout of its own; the screen's stays as it is.
    TScopedValue<const TDVScreenAndDevice*> scale(sad_, &print->SaD);
    print->Fmt.Width = 0;
    InternalOnDocWidthChange(docWidth, print->Fmt, canvas);
    print->SetSize(print->Fmt.Width, print->Fmt.Height);
    return true;
  }
  const int32_t oldWidth = Fmt.Width, oldHeight = Fmt.Height;
  TScopedValue<const TDVScreenAndDevice*> scale(sad_, printing ? sad : nullptr);
  if (changed_ || printing) {
    changed_ = false;
    Fmt.Width = 0;
  }
  InternalOnDocWidthChange(docWidth, Fmt, canvas);
  // A layout at the printer's scale must not stand for the screen's.
  if (printing) changed_ = true;
  if (drawItem) drawItem->SetSize(Fmt.Width, Fmt.Height);
  return Fmt.Width != oldWidth || Fmt.Height != oldHeight;
}

void TDVTableItemInfo::InternalOnDocWidthChange(int32_t docWidth, TDVTableItemFormattingInfo& fmt, TCanvas& canvas) {
  if (Rows.Empty()) {
    fmt.Clear();
    fmt.Width = GetDevX(2 * (BorderWidth + BorderHSpacing));
    fmt.Height = GetDevY(2 * (BorderWidth + BorderVSpacing));
    return;
  }
  const int cols = Rows.GetColCount(), rows = Rows.Count();
  bool autoSized = false;
  int32_t target = 0;
  if (BestWidth > 0)
    target = GetDevX(BestWidth);
  else if (BestWidth < 0)
    target = static_cast<int32_t>(-int64_t{BestWidth} * docWidth / 100);
  else {
    autoSized = IsFixedWidthTable();
    target = autoSized ? 0 : docWidth;
  }
  if (target != 0 && target == fmt.Width && static_cast<int>(fmt.ColWidths.size()) == cols &&
      static_cast<int>(fmt.RowHeights.size()) == rows)
    return;
  fmt.Width = target;
  const int32_t pad2 = GetDevX(2 * CellPadding);
  const int32_t inner = autoSized ? 0 : Clamp32(int64_t{fmt.Width} - GetHorzExtra());
  const int32_t available = autoSized ? 0 : Clamp32(int64_t{inner} - GetDevX(cols * 2 * CellPadding));

  fmt.ColWidths.assign(static_cast<size_t>(cols), 0);
  std::vector<int32_t>& w = fmt.ColWidths;
  TWidthPass pass{*this, w, std::vector<TColumnKind>(static_cast<size_t>(cols), ckFree), pad2};
  int64_t minSum = 0;
  for (int c = 0; c < cols; ++c) minSum += w[static_cast<size_t>(c)] = MinColWidth(Rows, c, sad_, &canvas);
  pass.ForMergedCells([&](TDVTableCellData& cell, int c) {
    minSum += pass.SpanRule(c, cell.ColSpan, CellMinWidth(cell, sad_, &canvas), true, 2, nullptr);
  });

  if (!autoSized && minSum >= available) {
    fmt.Width = Clamp32(int64_t{fmt.Width} - available + minSum);
  } else {
    int setCount = 0, fixedCount = 0;
    int32_t free = Clamp32(int64_t{available} - minSum);
    auto kind = [&](int c) -> TColumnKind& { return pass.Kind[static_cast<size_t>(c)]; };
    if (!autoSized) {
      // Percent columns. Only positive demands count: a column whose
      // padding exceeds its percent must not shrink the others' share.
      const int32_t free0 = free;
      std::vector<int32_t> p(static_cast<size_t>(cols));
      int64_t sumP = 0;
      for (int c = 0; c < cols; ++c) {
        p[static_cast<size_t>(c)] = Rows.GetPercentColWidth(c, inner) - pad2;
        sumP += std::max(p[static_cast<size_t>(c)], 0);
      }
      if (sumP > 0) {
        const int32_t divisor = Clamp32(std::max<int64_t>(sumP, free0));
        for (int c = 0; c < cols && free > 0; ++c) {
          int32_t v = MulDiv(p[static_cast<size_t>(c)], free0, divisor);
          if (v <= 0) continue;
          kind(c) = ckPercent;
          ++setCount;
          int32_t& col = w[static_cast<size_t>(c)];
          if (v > col) {
            free += col;
            v = std::min(v, free);
            col = v;
            free -= v;
          }
        }
      }
      pass.ForMergedCells([&](TDVTableCellData& cell, int c) {
        if (free <= 0 || cell.BestWidth >= 0) return;
        pass.SpanRule(c, cell.ColSpan, GetDevX(static_cast<int32_t>(-int64_t{cell.BestWidth} * inner / 100)), false, 2,
                      &free);
        for (int k = c; k < c + cell.ColSpan; ++k)
          if (kind(k) == ckFree) {
            kind(k) = ckPercent;
            ++setCount;
          }
      });
    }
    for (int c = 0; c < cols && (autoSized || free >= 1); ++c) {
      if (kind(c) != ckFree) continue;
      int32_t f = GetDevX(Rows.GetPixelColWidth(c));
      if (f <= 0) continue;
      kind(c) = ckFixed;
      ++setCount;
      ++fixedCount;
      int32_t& col = w[static_cast<size_t>(c)];
      if (f > col) {
        if (!autoSized) {
          free += col;
          f = std::min(f, free);
        }
        col = f;
        if (!autoSized) free -= f;
      }
    }
    pass.ForMergedCells([&](TDVTableCellData& cell, int c) {
      if ((!autoSized && free <= 0) || cell.BestWidth <= 0) return;
      pass.SpanRule(c, cell.ColSpan, GetDevX(cell.BestWidth), false, 1, autoSized ? nullptr : &free);
      for (int k = c; k < c + cell.ColSpan; ++k)
        if (kind(k) == ckFree) {
          kind(k) = ckFixed;
          ++setCount;
          ++fixedCount;
        }
    });
    if (!autoSized && free > 0) {
      if (setCount < cols) {
        for (int c = 0; c < cols && free > 0; ++c) {
          if (kind(c) != ckFree) continue;
          const int32_t give = free / (cols - setCount);
          w[static_cast<size_t>(c)] += give;
          free -= give;
          ++setCount;
        }
      } else if (fixedCount == 0) {
        pass.ShareInProportion(
            free, [&](int c) { return Rows.IsPercentWidthColumn(c); },
            [&](int c) { return std::max(Rows.GetPercentColWidth(c, inner) - pad2, 1); });
      } else {
        pass.ShareInProportion(
            free, [&](int c) { return !Rows.IsPercentWidthColumn(c); },
            [&](int c) { return std::max(Rows.GetPixelColWidth(c), 1); });
      }
    }
    if (autoSized) {
      int64_t sum = int64_t{GetHorzExtra()} + GetDevX(cols * 2 * CellPadding);
      for (int32_t x : w) sum += x;
      fmt.Width = Clamp32(sum);
    }
  }
  UpdateCellXCoords(fmt, canvas);

  int64_t height = GetDevY(2 * (CellPadding * rows + BorderWidth + BorderVSpacing) + (rows - 1) * CellVSpacing +
                           2 * rows * CellBorderWidth);
  fmt.RowHeights.clear();
  for (int r = 0; r < rows; ++r) {
    fmt.RowHeights.push_back(RowContentHeight(fmt, r));
    height += fmt.RowHeights.back();
  }
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const TDVTableCellData* cell = Rows.CellAt(r, c);
      if (!cell || cell->RowSpan < 2) continue;
      const int64_t need = int64_t{CellContentHeight(fmt, r, c, *cell)} + GetDevY(2 * CellPadding);
      const int32_t step = GetDevY(CellVSpacing + 2 * CellPadding + 2 * CellBorderWidth);
      int64_t have = GetDevY(-CellVSpacing - 2 * CellBorderWidth), sum = 0;
      for (int k = r; k < r + cell->RowSpan; ++k) {
        have += int64_t{fmt.RowHeights[static_cast<size_t>(k)]} + step;
        sum += fmt.RowHeights[static_cast<size_t>(k)];
      }
      if (have >= need) continue;
      int64_t extra = need - have;
      height += extra;
      int left = cell->RowSpan;
      for (int k = r; k < r + cell->RowSpan; ++k, --left) {
        int32_t& h = fmt.RowHeights[static_cast<size_t>(k)];
        const int64_t grow = sum > 0 ? MulDiv(h, Clamp32(extra), Clamp32(sum)) : extra / left;
        sum -= h;
        extra -= grow;
        h = Clamp32(h + grow);
      }
    }
  fmt.Height = Clamp32(height);
  UpdateCellYCoords(fmt);
}

namespace {

// Left to right (top to bottom): the start of each band and the spacing
// total shared among them.
void PlaceBands(const std::vector<int32_t>& sizes, int32_t spacing, int32_t start, std::vector<int32_t>& starts) {
  starts.clear();
  int64_t x = start, s = spacing;
  const int n = static_cast<int>(sizes.size());
  for (int i = 0; i < n; ++i) {
    starts.push_back(Clamp32(x));
    const int64_t step = s / (n - i);
    s -= step;
    x += step + sizes[static_cast<size_t>(i)];
  }
}

// A cell over bands [first, first + span): from the first band's start to
// the end of the last one's content and padding. Measured between the
// placed bands, so that a merged cell meets its neighbours exactly however
// the spacing was rounded.
int32_t BandExtent(const std::vector<int32_t>& starts, const std::vector<int32_t>& sizes, int first, int span,
                   int32_t padding) {
  const auto last = static_cast<size_t>(first + span - 1);
  return Clamp32(int64_t{starts[last]} + sizes[last] + padding - starts[static_cast<size_t>(first)]);
}

}  // namespace

void TDVTableItemInfo::UpdateCellXCoords(TDVTableItemFormattingInfo& fmt, TCanvas& canvas) {
  const int cols = Rows.GetColCount();
  const int32_t spacing = GetDevX(((CellPadding + CellBorderWidth) * 2 + CellHSpacing) * cols);
  PlaceBands(fmt.ColWidths, spacing, GetDevX(BorderWidth + BorderHSpacing + CellBorderWidth), fmt.ColStarts);
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < cols; ++c) {
      TDVTableCellData* cell = Rows.CellAt(r, c);
      if (!cell) continue;
      const int32_t left = fmt.ColStarts[static_cast<size_t>(c)];
      const int32_t width = BandExtent(fmt.ColStarts, fmt.ColWidths, c, cell->ColSpan, GetDevX(2 * CellPadding));
      if (fmt.Places) {
        fmt.Places->PlaceX(r, c, left, width, canvas);
        continue;
      }
      cell->Left = left;
      cell->Width = width;
      cell->Format_(false, true, true, 0, canvas, false);
    }
}

void TDVTableItemInfo::UpdateCellYCoords(TDVTableItemFormattingInfo& fmt) {
  const int rows = Rows.Count();
  const int32_t spacing = GetDevY(((CellPadding + CellBorderWidth) * 2 + CellVSpacing) * rows);
  PlaceBands(fmt.RowHeights, spacing, GetDevY(BorderWidth + BorderVSpacing + CellBorderWidth), fmt.RowStarts);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c) {
      TDVTableCellData* cell = Rows.CellAt(r, c);
      if (!cell) continue;
      const int32_t top = fmt.RowStarts[static_cast<size_t>(r)];
      const int32_t height = BandExtent(fmt.RowStarts, fmt.RowHeights, r, cell->RowSpan, GetDevY(2 * CellPadding));
      if (fmt.Places) {
        fmt.Places->PlaceY(r, c, top, height);
        continue;
      }
      cell->Top = top;
      cell->Height = height;
    }
}

}  // namespace quillet
