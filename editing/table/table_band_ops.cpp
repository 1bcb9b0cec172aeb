// The grid operations built from the primitives: rows and columns in and
// out with spans kept whole, merge, unmerge, split and clear. Rows and
// columns share one algorithm over an axis: a band is a row (a column) and
// a position is (band, across).
#include <algorithm>

#include "editing/table/table_grid_undo.h"
#include "editing/table/table_item.h"
#include "engine/base/doc_view_error.h"

namespace quillet {

namespace {

[[noreturn]] void BadIndex() { throw EDocViewError("Invalid row or column index"); }

struct TAxis {
  TDVTableRows& G;
  bool Cols;

  int Bands() const { return Cols ? G.GetColCount() : G.Count(); }
  int Across() const { return Cols ? G.Count() : G.GetColCount(); }
  int Row(int band, int across) const { return Cols ? across : band; }
  int Col(int band, int across) const { return Cols ? band : across; }
  TDVTableCellData* At(int band, int across) const { return G.CellAt(Row(band, across), Col(band, across)); }
  int32_t Span(const TDVTableCellData& c) const { return Cols ? c.ColSpan : c.RowSpan; }
  int32_t CrossSpan(const TDVTableCellData& c) const { return Cols ? c.RowSpan : c.ColSpan; }
  int32_t Best(const TDVTableCellData& c) const { return Cols ? c.BestWidth : c.BestHeight; }
  const char* BestName() const { return Cols ? "BestWidth" : "BestHeight"; }
  TDVTableCellData* Main(int band, int across, int& mainBand, int& mainAcross) const {
    int mr = 0, mc = 0;
    TDVTableCellData* cell = G.GetMainCell(Row(band, across), Col(band, across), mr, mc);
    mainBand = Cols ? mc : mr;
    mainAcross = Cols ? mr : mc;
    return cell;
  }
  void SetSpan(int band, int across, int32_t value) const { G.Do_SetSpan(Row(band, across), Col(band, across), Cols, value); }
  void SetBest(int band, int across, int32_t value) const {
    G.Do_SetCellProperty(Row(band, across), Col(band, across), BestName(), value);
  }
};

// One change of the table for undo: the editor's item-modify bracket.
class TBracket {
 public:
  explicit TBracket(const TDVTableRows& rows) : data_(rows.RecordingData()), itemNo_(rows.Table->GetMyItemNo()) {
    if (data_) data_->Do_ItemModifyTerminator(itemNo_, true);
  }
  ~TBracket() {
    if (data_) data_->Do_ItemModifyTerminator(itemNo_, false);
  }
  TBracket(const TBracket&) = delete;
  TBracket& operator=(const TBracket&) = delete;

 private:
  TDVEditDVData* data_;
  int itemNo_;
};

int32_t Scaled(int32_t value, int32_t num, int32_t den) {
  return static_cast<int32_t>(int64_t{value} * num / std::max(den, 1));
}

// A grid no larger than a stored table may be, so that what is saved reads back.
bool WithinLimits(TAxis a, int64_t bands) {
  return bands <= (a.Cols ? DVTableMaxCols : DVTableMaxRows) && bands * a.Across() <= DVTableMaxCells;
}

void InsertBands(TAxis a, int index, int count, int copyIndex, bool divide) {
  const int bands = a.Bands(), across = a.Across();
  if (index < 0 || index > bands || copyIndex < -1 || copyIndex >= bands) BadIndex();
  if (!WithinLimits(a, int64_t{bands} + std::max(count, 0))) BadIndex();
  if (count < 1) return;
  TBracket bracket(a.G);
  // Cells that cover the band before the insertion point grow over the new
  // bands; their positions in the new bands stay empty.
  std::vector<bool> covered(static_cast<size_t>(across), false);
  if (index < bands)
    for (int p = 0; p < across; ++p) {
      int mb = 0, mp = 0;
      const TDVTableCellData* cell = a.Main(index, p, mb, mp);
      if (mb >= index) continue;
      covered[static_cast<size_t>(p)] = true;
      if (mp == p) a.SetSpan(mb, mp, a.Span(*cell) + count);
    }
  // The new positions, band by band.
  std::vector<TDVTableRows::TBand> fresh(static_cast<size_t>(count));
  for (auto& band : fresh) band.resize(static_cast<size_t>(across));
  for (int p = 0; p < across;) {
    if (covered[static_cast<size_t>(p)]) {
      ++p;
      continue;
    }
    TDVTableCellData* source = copyIndex >= 0 ? a.At(copyIndex, p) : nullptr;
    int32_t cross = source ? a.CrossSpan(*source) : 1;
    // A copied span never reaches into a position a grown cell covers.
    for (int q = p + 1; q < p + cross; ++q)
      if (covered[static_cast<size_t>(q)]) cross = q - p;
    if (source && divide) {
      const int32_t span = a.Span(*source);
      a.SetBest(copyIndex, p, Scaled(a.Best(*source), span, span + count));
    }
    for (int k = 0; k < count; ++k) {
      auto cell = std::make_unique<TDVTableCellData>(nullptr);
      if (source)
        cell->AssignAttributesFrom(*source, true, a.Cols ? 1 : source->RowSpan, a.Cols ? source->ColSpan : 1);
      (a.Cols ? cell->RowSpan : cell->ColSpan) = cross;
      fresh[static_cast<size_t>(k)][static_cast<size_t>(p)] = std::move(cell);
    }
    p += cross;
  }
  if (a.Cols) {
    std::vector<TDVTableRows::TBand> perRow(static_cast<size_t>(across));
    for (int r = 0; r < across; ++r)
      for (int k = 0; k < count; ++k)
        perRow[static_cast<size_t>(r)].push_back(std::move(fresh[static_cast<size_t>(k)][static_cast<size_t>(r)]));
    a.G.Do_InsertCols(index, std::move(perRow));
  } else {
    std::vector<std::unique_ptr<TDVTableRow>> rows;
    for (auto& band : fresh) {
      auto row = std::make_unique<TDVTableRow>(0, &a.G);
      for (int c = 0; c < across; ++c) row->InsertPointer(c, std::move(band[static_cast<size_t>(c)]));
      rows.push_back(std::move(row));
    }
    a.G.Do_InsertRows(index, std::move(rows));
  }
}

void DeleteBands(TAxis a, int index, int count, bool decrease) {
  const int bands = a.Bands();
  if (index < 0 || index >= bands || count < 1 || (index == 0 && count > bands)) BadIndex();
  count = std::min(count, bands - index);
  const int end = index + count;
  TBracket bracket(a.G);
  // A cell that starts in the band and reaches past it survives below it,
  // with its content.
  for (int p = a.Across() - 1; p >= 0; --p)
    for (int b = index; b < end; ++b)
      if (const TDVTableCellData* cell = a.At(b, p); cell && b + a.Span(*cell) > end)
        a.G.Do_SplitCell(a.Cols, a.Row(b, p), a.Col(b, p), end, false, true, nullptr);
  // A cell that starts before the band and reaches into it shrinks.
  for (int p = a.Across() - 1; p >= 0; --p) {
    int mb = 0, mp = 0;
    const TDVTableCellData* cell = a.Main(index, p, mb, mp);
    if (mb >= index || mp != p) continue;
    const int32_t span = a.Span(*cell);
    const int32_t newSpan = mb + span > end ? span - count : index - mb;
    const int32_t best = a.Best(*cell);
    a.SetSpan(mb, mp, newSpan);
    if (decrease) a.SetBest(mb, mp, Scaled(best, newSpan, span));
  }
  if (a.Cols)
    a.G.Do_DeleteCols(index, count);
  else
    a.G.Do_DeleteRows(index, count);
}

int SplitCell(TAxis a, int band, int across, int n) {
  if (n <= 1) return 0;
  if (band < 0 || band >= a.Bands() || across < 0 || across >= a.Across()) BadIndex();
  if (!WithinLimits(a, int64_t{a.Bands()} + n)) BadIndex();
  const TDVTableCellData* cell = a.At(band, across);
  if (!cell) return 0;
  TBracket bracket(a.G);
  const int spanned = a.Span(*cell);
  const int cross = a.CrossSpan(*cell);
  if (spanned > 1) a.G.UnmergeCell(a.Row(band, across), a.Col(band, across), !a.Cols, a.Cols);
  int inserted = 0;
  if (spanned < n) {
    int pieces = n;
    for (int j = spanned - 1; j >= 0; --j) {
      const int b = band + j, k = pieces / (j + 1);
      pieces -= k;
      if (k <= 1) continue;
      InsertBands(a, b + 1, k - 1, b, true);
      inserted += k - 1;
      // The other cells of the band stay whole over the new bands.
      for (int p = 0; p < a.Across(); ++p) {
        if (p >= across && p < across + cross) continue;
        int mb = 0, mp = 0;
        const TDVTableCellData* other = a.Main(b, p, mb, mp);
        if (mp != p || mb + a.Span(*other) - 1 != b) continue;
        const int span = a.Span(*other) + k - 1, otherCross = a.CrossSpan(*other);
        a.G.MergeCells(a.Row(mb, mp), a.Col(mb, mp), a.Cols ? otherCross : span, a.Cols ? span : otherCross, true,
                       true);
      }
    }
  } else if (spanned > n) {
    int end = band + spanned, left = spanned;
    for (int pieces = n; pieces > 0; --pieces) {
      const int k = left / pieces;
      left -= k;
      end -= k;
      if (k > 1)
        a.G.MergeCells(a.Row(end, across), a.Col(end, across), a.Cols ? cross : k, a.Cols ? k : cross, true, true);
    }
  }
  return inserted;
}

// Every cell whose own position lies in the rectangle, bottom row first,
// each split where it stands when its turn comes.
int SplitCells(TAxis a, int row, int col, int rowCount, int colCount, int n) {
  if (row < 0 || col < 0 || row >= a.G.Count() || col >= a.G.GetColCount()) BadIndex();
  if (!WithinLimits(a, int64_t{a.Bands()} + std::max(n, 0))) BadIndex();
  rowCount = std::min(rowCount, a.G.Count() - row);
  colCount = std::min(colCount, a.G.GetColCount() - col);
  std::vector<const TDVTableCellData*> cells;
  for (int r = row + rowCount - 1; r >= row; --r)
    for (int c = col; c < col + colCount; ++c)
      if (const TDVTableCellData* cell = a.G.CellAt(r, c)) cells.push_back(cell);
  if (cells.empty() || n <= 1) return 0;
  TBracket bracket(a.G);
  int inserted = 0;
  for (const TDVTableCellData* cell : cells)
    for (int r = 0; r < a.G.Count(); ++r) {
      const int c = a.G.Items(r)->IndexOf(cell);
      if (c < 0) continue;
      inserted += SplitCell(a, a.Cols ? c : r, a.Cols ? r : c, n);
      break;
    }
  return inserted;
}

}  // namespace

void TDVTableRows::InsertRows(int index, int count, int copyIndex, bool divideHeights) {
  InsertBands({*this, false}, index, count, copyIndex, divideHeights);
}

void TDVTableRows::InsertCols(int index, int count, int copyIndex, bool divideWidths) {
  InsertBands({*this, true}, index, count, copyIndex, divideWidths);
}

void TDVTableRows::DeleteRows(int index, int count, bool decreaseHeight) {
  DeleteBands({*this, false}, index, count, decreaseHeight);
}

void TDVTableRows::DeleteCols(int index, int count, bool decreaseWidth) {
  DeleteBands({*this, true}, index, count, decreaseWidth);
}

bool TDVTableRows::MergeCells(int row, int col, int rowCount, int colCount, bool allowMergeRC,
                              bool mergeBestWidths) {
  if (!StartMergeCells(row, col, rowCount, colCount)) return false;
  if (!CanMergeCells(row, col, rowCount, colCount, allowMergeRC)) {
    if (DVData) DVData->Beep();
    return false;
  }
  TBracket bracket(*this);
  Do_MergeCells(row, col, rowCount, colCount, mergeBestWidths);
  return true;
}

void TDVTableRows::UnmergeCell(int row, int col, bool unmergeRows, bool unmergeCols) {
  const TDVTableCellData* cell = CellAt(row, col);
  if (!cell) return;
  const bool rows = unmergeRows && cell->RowSpan > 1, cols = unmergeCols && cell->ColSpan > 1;
  if (!rows && !cols) return;
  TBracket bracket(*this);
  Do_UnmergeCell(row, col, rows, cols, {});
}

void TDVTableRows::UnmergeCells(int row, int col, int rowCount, int colCount, bool unmergeRows, bool unmergeCols) {
  if (row < 0 || col < 0 || row >= Count() || col >= GetColCount()) BadIndex();
  rowCount = std::min(rowCount, Count() - row);
  colCount = std::min(colCount, GetColCount() - col);
  for (int r = row + rowCount - 1; r >= row; --r)
    for (int c = col + colCount - 1; c >= col; --c) UnmergeCell(r, c, unmergeRows, unmergeCols);
}

int TDVTableRows::SplitCellVertically(int row, int col, int colCount) {
  return SplitCell({*this, true}, col, row, colCount);
}

int TDVTableRows::SplitCellHorizontally(int row, int col, int rowCount) {
  return SplitCell({*this, false}, row, col, rowCount);
}

int TDVTableRows::SplitCellsVertically(int row, int col, int rowCount, int colCount, int n) {
  return SplitCells({*this, true}, row, col, rowCount, colCount, n);
}

int TDVTableRows::SplitCellsHorizontally(int row, int col, int rowCount, int colCount, int n) {
  return SplitCells({*this, false}, row, col, rowCount, colCount, n);
}

void TDVTableRows::ClearCells(const std::vector<std::pair<int, int>>& cells) {
  for (const auto& [r, c] : cells)
    if (r < 0 || c < 0 || r >= Count() || c >= GetColCount() || !CellAt(r, c)) BadIndex();
  if (cells.empty()) return;
  // Each cell once: its undo swaps the held cells back position by position.
  std::vector<std::pair<int, int>> once = cells;
  std::sort(once.begin(), once.end());
  once.erase(std::unique(once.begin(), once.end()), once.end());
  TBracket bracket(*this);
  Do_ClearCells(once, {});
}

}  // namespace quillet
