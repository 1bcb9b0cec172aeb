#include "editing/table/table_rows.h"

#include <algorithm>
#include <vector>

#include "editing/table/table_item.h"
#include "engine/base/doc_view_error.h"

namespace quillet {

// ---- row ----

TDVTableRow::TDVTableRow(int count, TDVTableRows* rows) : Rows(rows) {
  for (int i = 0; i < count; ++i) AddCell();
}

TCustomDVData* TDVTableRow::GetParentDVData() const { return Rows ? Rows->DVData : nullptr; }

namespace {

using R = TDVTableRow;
const TDVIntProp<R> kRowProps[] = {
    {"VAlign", [](const R& r) { return static_cast<int32_t>(r.VAlign); },
     [](R& r, int32_t v) { return SetVAlign(r.VAlign, v); }},
};

}  // namespace

bool TDVTableRow::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetFrom<R>(kRowProps, *this, name, value);
}

bool TDVTableRow::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetIn<R>(kRowProps, *this, name, value) == 1;
}

TDVTableCellData* TDVTableRow::AddCell() {
  return static_cast<TDVTableCellData*>(Items(Add(std::make_unique<TDVTableCellData>(this))));
}

void TDVTableRow::InsertCell(int index) { Insert(index, std::make_unique<TDVTableCellData>(this)); }

void TDVTableRow::InsertEmpty(int index) { Insert(index, nullptr); }

void TDVTableRow::InsertPointer(int index, std::unique_ptr<TDVTableCellData> cell) {
  if (cell) cell->List = this;
  Insert(index, std::move(cell));
}

std::unique_ptr<TDVTableCellData> TDVTableRow::Put(int index, std::unique_ptr<TDVTableCellData> cell) {
  std::unique_ptr<TDVItemFormattedData> old = DeleteAsPointer(index);
  InsertPointer(index, std::move(cell));
  return std::unique_ptr<TDVTableCellData>(static_cast<TDVTableCellData*>(old.release()));
}

int32_t TDVTableRow::GetBestHeight() const {
  int32_t h = 0;
  for (int i = 0; i < Count(); ++i)
    if (const TDVTableCellData* c = Cell(i); c && c->RowSpan == 1) h = std::max(h, c->BestHeight);
  return h;
}

int32_t TDVTableRow::GetHeight() const {
  int32_t h = 0;
  for (int i = 0; i < Count(); ++i)
    if (const TDVTableCellData* c = Cell(i); c && c->RowSpan == 1) h = std::max(h, c->GetCellHeight());
  return h == 0 ? 10 : h;
}

// ---- grid ----

TDVTableRows::TDVTableRows(int rows, int cols, TDVTableItemInfo* table) : Table(table) { Reset(rows, cols); }

void TDVTableRows::Reset(int rows, int cols) {
  Clear();
  for (int r = 0; r < rows; ++r) AddRow(cols);
}

TDVTableRow* TDVTableRows::AddRow(int cols) { return Items(Add(std::make_unique<TDVTableRow>(cols, this))); }

bool TDVTableRows::Empty() const { return Count() == 0 || Items(0)->Count() == 0; }

int TDVTableRows::GetColCount() const { return Count() == 0 ? 0 : Items(0)->Count(); }

TDVTableCellData* TDVTableRows::GetMainCell(int row, int col, int& mainRow, int& mainCol) const {
  if (row < 0 || row >= Count() || col < 0 || col >= Items(row)->Count())
    throw EDocViewError("Invalid table cell position");
  for (int r = row; r >= 0; --r) {
    const TDVTableRow* line = Items(r);
    for (int c = std::min(col, line->Count() - 1); c >= 0; --c) {
      TDVTableCellData* cell = line->Cell(c);
      if (!cell) continue;
      if (cell->ColSpan > col - c && cell->RowSpan > row - r) {
        mainRow = r;
        mainCol = c;
        return cell;
      }
      break;
    }
  }
  throw EDocViewError("Invalid table structure");
}

namespace {

// Pixels add to pixels, percents to percents; a percent makes the sum one.
int32_t AddBestWidths(int32_t sum, int32_t w) {
  if (w < 0) return sum < 0 ? sum + w : w;
  return sum < 0 ? sum : sum + w;
}

// The larger of two wished widths: percent beats pixels, the larger percent
// (more negative) beats a smaller one.
int32_t LargerBestWidth(int32_t a, int32_t b) {
  if (a < 0 || b < 0) return std::min(a, b);
  return std::max(a, b);
}

}  // namespace

int32_t TDVTableRows::GetBestWidth(int row, int col, int rowCount, int colCount) const {
  int32_t best = 0;
  for (int r = row; r < row + rowCount; ++r) {
    int32_t sum = 0;
    for (int c = col; c < col + colCount; ++c)
      if (const TDVTableCellData* cell = CellAt(r, c)) sum = AddBestWidths(sum, cell->BestWidth);
    best = LargerBestWidth(best, sum);
  }
  return best;
}

int32_t TDVTableRows::GetMinColWidth(int col, const TDVScreenAndDevice* sad, TCanvas& canvas) const {
  int32_t w = 0;
  for (int r = 0; r < Count(); ++r)
    if (TDVTableCellData* c = CellAt(r, col); c && c->ColSpan == 1) w = std::max(w, c->GetMinWidth(sad, canvas));
  return w;
}

bool TDVTableRows::IsPercentWidthColumn(int col) const {
  for (int r = 0; r < Count(); ++r) {
    const TDVTableRow* line = Items(r);
    if (const TDVTableCellData* c = line->Cell(col); c && c->ColSpan == 1 && c->BestWidth < 0) return true;
    const bool endsHere = col + 1 == line->Count() || line->Cell(col + 1) != nullptr;
    if (!endsHere) continue;
    int mr = 0, mc = 0;
    const TDVTableCellData* main = GetMainCell(r, col, mr, mc);
    if (main->ColSpan > 1 && main->BestWidth < 0 && mc + main->ColSpan - 1 == col) return true;
  }
  return false;
}

int32_t TDVTableRows::GetPercentColWidth(int col, int32_t tableWidth) const {
  int32_t w = 0;
  for (int r = 0; r < Count(); ++r)
    if (const TDVTableCellData* c = CellAt(r, col); c && c->ColSpan == 1 && c->BestWidth < 0)
      w = std::max(w, static_cast<int32_t>(-int64_t{c->BestWidth} * tableWidth / 100));
  return w;
}

int32_t TDVTableRows::GetPixelColWidth(int col) const {
  int32_t w = 0;
  for (int r = 0; r < Count(); ++r)
    if (const TDVTableCellData* c = CellAt(r, col); c && c->ColSpan == 1) {
      if (c->BestWidth < 0) return 0;
      w = std::max(w, c->BestWidth);
    }
  return w;
}

namespace {

// Some line of [first, first + count) has a cell of its own at none of the
// crossings [from1, from1 + n1) and [from2, from2 + n2); has(line, k) says
// whether one starts at a crossing.
template <class Has>
bool SomeLineWithoutOwnCell(int first, int count, int from1, int n1, int from2, int n2, Has has) {
  for (int line = first; line < first + count; ++line) {
    bool own = false;
    for (int k = from1; k < from1 + n1 && !own; ++k) own = has(line, k);
    for (int k = from2; k < from2 + n2 && !own; ++k) own = has(line, k);
    if (!own) return true;
  }
  return false;
}

}  // namespace

bool TDVTableRows::IsEmptyCols(int row, int col, int colCount2, int col2, int rowCount, int colCount) const {
  return SomeLineWithoutOwnCell(row, rowCount, col, colCount, col2, colCount2,
                                [this](int r, int c) { return CellAt(r, c) != nullptr; });
}

bool TDVTableRows::IsEmptyRows(int row, int col, int rowCount2, int row2, int rowCount, int colCount) const {
  return SomeLineWithoutOwnCell(col, colCount, row, rowCount, row2, rowCount2,
                                [this](int c, int r) { return CellAt(r, c) != nullptr; });
}

bool TDVTableRows::StartMergeCells(int row, int col, int& rowCount, int& colCount) const {
  if (row < 0 || row >= Count() || col < 0 || col >= GetColCount()) return false;
  rowCount = std::min(rowCount, Count() - row);
  colCount = std::min(colCount, GetColCount() - col);
  if (rowCount < 2 && colCount < 2) return false;
  if (rowCount < 1 || colCount < 1) throw EDocViewError("Parameters for cell merging are not correct");
  const TDVTableCellData* cell = CellAt(row, col);
  if (!cell) return false;
  return cell->RowSpan < rowCount || cell->ColSpan < colCount;
}

bool TDVTableRows::CanMergeCells(int row, int col, int rowCount, int colCount, bool allowMergeRC) const {
  if (!StartMergeCells(row, col, rowCount, colCount)) return false;
  bool others = false;
  for (int r = row; r < row + rowCount; ++r)
    for (int c = col; c < col + colCount; ++c) {
      int mr = 0, mc = 0;
      const TDVTableCellData* main = GetMainCell(r, c, mr, mc);
      if (mr < row || mc < col || mr + main->RowSpan > row + rowCount || mc + main->ColSpan > col + colCount)
        return false;
      if (mr == r && mc == c && (r != row || c != col)) others = true;
    }
  if (allowMergeRC) return others;
  // After the merge, a column (row) other than the first must keep a cell
  // of its own above or below (left or right of) the rectangle.
  if (colCount > 1 &&
      IsEmptyRows(0, col + 1, Count() - row - rowCount, row + rowCount, row, colCount - 1))
    return false;
  if (rowCount > 1 &&
      IsEmptyCols(row + 1, 0, GetColCount() - col - colCount, col + colCount, rowCount - 1, col))
    return false;
  return true;
}

bool TDVTableRows::MergeCellsPlain(int row, int col, int rowCount, int colCount, bool allowMergeRC,
                                   bool mergeBestWidths) {
  if (!StartMergeCells(row, col, rowCount, colCount) || !CanMergeCells(row, col, rowCount, colCount, allowMergeRC))
    return false;
  Do_MergeCells(row, col, rowCount, colCount, mergeBestWidths);
  return true;
}

bool TDVTableRows::IsValidGrid() const {
  const int cols = GetColCount();
  std::vector<int> cover(static_cast<size_t>(Count()) * static_cast<size_t>(cols), 0);
  for (int r = 0; r < Count(); ++r) {
    if (Items(r)->Count() != cols) return false;
    for (int c = 0; c < cols; ++c) {
      const TDVTableCellData* cell = CellAt(r, c);
      if (!cell) continue;
      if (cell->RowSpan < 1 || cell->ColSpan < 1 || r + cell->RowSpan > Count() || c + cell->ColSpan > cols)
        return false;
      for (int rr = r; rr < r + cell->RowSpan; ++rr)
        for (int cc = c; cc < c + cell->ColSpan; ++cc) ++cover[static_cast<size_t>(rr * cols + cc)];
    }
  }
  return std::all_of(cover.begin(), cover.end(), [](int n) { return n == 1; });
}

}  // namespace quillet
