#include "editing/table/table_stream.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "editing/table/table_item.h"
#include "engine/style/style_stream_props.h"
#include "platform/core/property_stream.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr std::string_view kComponentClass = "TDVTableSW", kCellClass = "TD";
constexpr std::string_view kCellsProp = "C", kRowVAlignProp = "RowVAlign", kDataProp = "Data";
constexpr const char* kWrongEndOfCells = "Wrong end of cells list";

// Lengths a stored table may give. With the row and column caps, the
// layout's sums of them (padding times rows, spacing times columns) stay
// far inside 32 bits.
constexpr int32_t kMaxSpacing = 1000;    // border widths, spacings, padding, rules
constexpr int32_t kMaxBestSize = 32767;  // wished widths and heights in pixels
constexpr int32_t kMinPercent = -100;

// Grid positions that the outermost table record may make, its nested
// tables included: a few thousand, and more by its size. A merged cell
// covers many positions with a few bytes (a whole table merged into one
// cell must still load), but a small hostile record must not make a huge
// grid.
constexpr int64_t kPositionsPerByte = 64, kPositionsFree = 4096;

constexpr std::string_view kOptionNames[] = {"dvtoEditing",
                                             "dvtoRowSizing",
                                             "dvtoColSizing",
                                             "dvtoRowSelect",
                                             "dvtoColSelect",
                                             "dvtoRTFSaveCellPixelBestWidth",
                                             "dvtoHideGridLines",
                                             "dvtoOverlappingCorners",
                                             "dvtoCellBelowBorders"};
constexpr std::string_view kPrintOptionNames[] = {"dvtoHalftoneBorders", "dvtoRowsSplit", "dvtoWhiteBackground"};
constexpr std::string_view kBorderStyleNames[] = {"dvtbRaised", "dvtbLowered", "dvtbColor", "dvtbRaisedColor",
                                                  "dvtbLoweredColor"};
constexpr std::string_view kVAlignNames[] = {"dvcTop", "dvcMiddle", "dvcBottom", "dvcVDefault"};

// Lengths are brought into their range when read: the item's setters take
// larger values than a reader can let through to the layout, and a table
// written with one must still load.
template <class T, class Get>
TStoredProp<T> SpacingProp(std::string_view name, Get get, int32_t def) {
  return ClampedIntProp<T>(name, get, def, 0, kMaxSpacing);
}

// Cell spacing may be -1: glued cells, whose borders overlap, as the
// insert-table command makes them.
template <class T, class Get>
TStoredProp<T> CellSpacingProp(std::string_view name, Get get, int32_t def) {
  return ClampedIntProp<T>(name, get, def, -1, kMaxSpacing);
}

template <class T, class Get>
TStoredProp<T> BestSizeProp(std::string_view name, Get get, int32_t lo) {
  return ClampedIntProp<T>(name, get, 0, lo, kMaxBestSize);
}

const TStoredProps<TDVTableItemInfo>& TableProps() {
  using T = TDVTableItemInfo;
  static const TStoredProps<T> props = {
      SetProp<T>(
          "T.Options", [](auto& t) -> auto& { return t.Options; }, DVTableDefaultOptions, kOptionNames),
      SetProp<T>(
          "T.PrintOptions", [](auto& t) -> auto& { return t.PrintOptions; }, DVTableDefaultPrintOptions,
          kPrintOptionNames),
      BestSizeProp<T>(
          "T.BestWidth", [](auto& t) -> auto& { return t.BestWidth; }, kMinPercent),
      ColorProp<T>(
          "T.Color", [](auto& t) -> auto& { return t.Color; }, clWindow),
      StringProp<T>(
          "T.TextRowSeparator", [](auto& t) -> auto& { return t.TextRowSeparator; }),
      StringProp<T>(
          "T.TextColSeparator", [](auto& t) -> auto& { return t.TextColSeparator; }),
      SpacingProp<T>(
          "T.BorderWidth", [](auto& t) -> auto& { return t.BorderWidth; }, 0),
      ColorProp<T>(
          "T.BorderColor", [](auto& t) -> auto& { return t.BorderColor; }, clWindowText),
      ColorProp<T>(
          "T.BorderLightColor", [](auto& t) -> auto& { return t.BorderLightColor; }, clBtnHighlight),
      EnumProp<T>(
          "T.BorderStyle", [](auto& t) -> auto& { return t.BorderStyle; }, dvtbRaised, kBorderStyleNames),
      SpacingProp<T>(
          "T.BorderVSpacing", [](auto& t) -> auto& { return t.BorderVSpacing; }, 2),
      SpacingProp<T>(
          "T.BorderHSpacing", [](auto& t) -> auto& { return t.BorderHSpacing; }, 2),
      SpacingProp<T>(
          "T.CellBorderWidth", [](auto& t) -> auto& { return t.CellBorderWidth; }, 0),
      ColorProp<T>(
          "T.CellBorderColor", [](auto& t) -> auto& { return t.CellBorderColor; }, clWindowText),
      ColorProp<T>(
          "T.CellBorderLightColor", [](auto& t) -> auto& { return t.CellBorderLightColor; }, clBtnHighlight),
      SpacingProp<T>(
          "T.CellPadding", [](auto& t) -> auto& { return t.CellPadding; }, 1),
      EnumProp<T>(
          "T.CellBorderStyle", [](auto& t) -> auto& { return t.CellBorderStyle; }, dvtbLowered,
          kBorderStyleNames),
      SpacingProp<T>(
          "T.VRuleWidth", [](auto& t) -> auto& { return t.VRuleWidth; }, 0),
      ColorProp<T>(
          "T.VRuleColor", [](auto& t) -> auto& { return t.VRuleColor; }, clWindowText),
      SpacingProp<T>(
          "T.HRuleWidth", [](auto& t) -> auto& { return t.HRuleWidth; }, 0),
      ColorProp<T>(
          "T.HRuleColor", [](auto& t) -> auto& { return t.HRuleColor; }, clWindowText),
      CellSpacingProp<T>(
          "T.CellVSpacing", [](auto& t) -> auto& { return t.CellVSpacing; }, 2),
      CellSpacingProp<T>(
          "T.CellHSpacing", [](auto& t) -> auto& { return t.CellHSpacing; }, 2),
      BoolProp<T>(
          "T.VOutermostRule", [](auto& t) -> auto& { return t.VOutermostRule; }, false),
      BoolProp<T>(
          "T.HOutermostRule", [](auto& t) -> auto& { return t.HOutermostRule; }, false),
  };
  return props;
}

const TStoredProps<TDVTableCellData>& CellProps() {
  using T = TDVTableCellData;
  static const TStoredProps<T> props = {
      ColorProp<T>(
          "C.Color", [](auto& c) -> auto& { return c.Color; }, clNone),
      ColorProp<T>(
          "C.BorderColor", [](auto& c) -> auto& { return c.BorderColor; }, clNone),
      ColorProp<T>(
          "C.BorderLightColor", [](auto& c) -> auto& { return c.BorderLightColor; }, clNone),
      BestSizeProp<T>(
          "C.BestWidth", [](auto& c) -> auto& { return c.BestWidth; }, kMinPercent),
      BestSizeProp<T>(
          "C.BestHeight", [](auto& c) -> auto& { return c.BestHeight; }, 0),
      BoolProp<T>(
          "C.VisibleBorders.Left", [](auto& c) -> auto& { return c.VisibleBorders.Left; }, true),
      BoolProp<T>(
          "C.VisibleBorders.Right", [](auto& c) -> auto& { return c.VisibleBorders.Right; }, true),
      BoolProp<T>(
          "C.VisibleBorders.Top", [](auto& c) -> auto& { return c.VisibleBorders.Top; }, true),
      BoolProp<T>(
          "C.VisibleBorders.Bottom", [](auto& c) -> auto& { return c.VisibleBorders.Bottom; }, true),
      EnumProp<T>(
          "C.VAlign", [](auto& c) -> auto& { return c.VAlign; }, dvcVDefault, kVAlignNames),
  };
  return props;
}

// ---- writing ----

void WriteCell(TPropWriter& w, TDVTableCellData& cell) {
  w.WriteComponentHeader(kCellClass, "");
  WriteStoredProps(w, CellProps(), cell);
  if (cell.HasData(true)) {
    w.WritePropName(kDataProp);
    w.WriteValueType(TValueType::vaBinary);
    cell.DataWriter(w.Stream());  // the length, then the cell's document stream
  }
  w.WriteListEnd();
  w.WriteListEnd();  // no child components
}

void WriteCells(TPropWriter& w, const TDVTableRows& grid, int firstRow, int rowCount) {
  w.WritePropName(kCellsProp);
  w.WriteInteger(rowCount);
  if (rowCount == 0) return;
  const int cols = grid.GetColCount();
  w.WriteInteger(cols);
  w.WriteListBegin();
  for (int r = firstRow; r < firstRow + rowCount; ++r)
    for (int c = 0; c < cols; ++c) {
      TDVTableCellData* cell = grid.CellAt(r, c);
      if (!cell) continue;
      w.WriteInteger(cell->ColSpan);
      w.WriteInteger(std::min(cell->RowSpan, firstRow + rowCount - r));
      WriteCell(w, *cell);
    }
  w.WriteListEnd();
}

void WriteRowVAlign(TPropWriter& w, const TDVTableRows& grid, int firstRow, int rowCount) {
  bool needed = false;
  for (int r = firstRow; r < firstRow + rowCount; ++r) needed = needed || grid[r]->VAlign != dvcTop;
  if (!needed) return;
  w.WritePropName(kRowVAlignProp);
  w.WriteListBegin();
  for (int r = firstRow; r < firstRow + rowCount; ++r) w.WriteInteger(grid[r]->VAlign);
  w.WriteListEnd();
}

// ---- reading ----

// The table components being read on this thread: how deeply they nest,
// and the grid positions the outermost record still allows (the tables
// nested in its cells draw on the same allowance).
class TReadNest {
 public:
  explicit TReadNest(size_t bytes) {
    if (depth_ >= DVTableMaxNesting) throw EReadError("Tables are nested too deeply");
    if (depth_ == 0) positionsLeft_ = std::max(kPositionsFree, kPositionsPerByte * static_cast<int64_t>(bytes));
    ++depth_;
  }
  ~TReadNest() { --depth_; }
  TReadNest(const TReadNest&) = delete;
  TReadNest& operator=(const TReadNest&) = delete;

  static bool Take(int64_t positions) {
    if (positions > positionsLeft_) return false;
    positionsLeft_ -= positions;
    return true;
  }

 private:
  static inline thread_local int depth_ = 0;
  static inline thread_local int64_t positionsLeft_ = 0;
};

class TTableReader {
 public:
  TTableReader(std::span<const uint8_t> bytes, TDVTableItemInfo& table) : r_(bytes), table_(table) {}

  void Run() {
    r_.ReadSignature();
    ReadComponentHead(kComponentClass);
    bool cells = false;
    while (!r_.EndOfList()) {
      const std::string name = r_.ReadPropName();
      if (name == kCellsProp) {
        ReadCells();
        cells = true;
      } else if (name == kRowVAlignProp) {
        ReadRowVAlign();
      } else if (!ReadStoredProp(r_, name, TableProps(), table_, {})) {
        r_.Fail("unknown table property \"" + name + "\"");
      }
    }
    r_.ReadListEnd();
    r_.ReadListEnd();  // no child components
    if (!cells) r_.Fail("a table without its cells");
  }

 private:
  void ReadComponentHead(std::string_view className) {
    r_.ReadPrefix();
    if (r_.ReadStr() != className) r_.Fail("expected a " + std::string(className) + " component");
    r_.ReadStr();  // the component's name, not used
  }

  // The grid is built row by row as the list names its cells: a position
  // that an earlier cell covers stays empty, every other one takes the
  // next cell of the list.
  void ReadCells() {
    TDVTableRows& grid = table_.Rows;
    const int32_t rows = r_.ReadInteger();
    if (rows < 0 || rows > DVTableMaxRows) r_.Fail("row count " + std::to_string(rows) + " out of range");
    if (rows == 0) {
      grid.Reset(0, 0);
      return;
    }
    const int32_t cols = r_.ReadInteger();
    if (cols < 0 || cols > DVTableMaxCols || int64_t{rows} * cols > DVTableMaxCells)
      r_.Fail("column count " + std::to_string(cols) + " out of range");
    if (!TReadNest::Take(int64_t{rows} * std::max(cols, 1))) r_.Fail("a grid larger than its record");
    grid.Reset(rows, 0);
    std::vector<bool> covered(static_cast<size_t>(rows) * static_cast<size_t>(cols), false);
    const auto at = [cols](int r, int c) { return static_cast<size_t>(r) * static_cast<size_t>(cols) + c; };
    r_.ReadListBegin();
    for (int r = 0; r < rows; ++r) {
      TDVTableRow* row = grid[r];
      for (int c = 0; c < cols; ++c) {
        if (covered[at(r, c)]) {
          row->InsertEmpty(c);
          continue;
        }
        if (r_.EndOfList()) throw EReadError(kWrongEndOfCells);
        int32_t colSpan = r_.ReadInteger(), rowSpan = r_.ReadInteger();
        if (colSpan < 1 || rowSpan < 1) r_.Fail("cell span below 1");
        colSpan = std::min(colSpan, cols - c);
        rowSpan = std::min(rowSpan, rows - r);
        for (int rr = r; rr < r + rowSpan; ++rr)
          for (int cc = c; cc < c + colSpan; ++cc) {
            if (covered[at(rr, cc)]) r_.Fail("cells overlap");
            covered[at(rr, cc)] = true;
          }
        auto cell = std::make_unique<TDVTableCellData>(row);
        cell->ColSpan = colSpan;
        cell->RowSpan = rowSpan;
        TDVTableCellData& placed = *cell;
        row->InsertPointer(c, std::move(cell));
        ReadCell(placed);
      }
    }
    if (!r_.EndOfList()) throw EReadError(kWrongEndOfCells);
    r_.ReadListEnd();
  }

  void ReadCell(TDVTableCellData& cell) {
    ReadComponentHead(kCellClass);
    while (!r_.EndOfList()) {
      const std::string name = r_.ReadPropName();
      if (name == kDataProp) {
        const std::vector<uint8_t> content = r_.ReadBinary();
        TMemoryStream data;
        WriteI32(data, static_cast<int32_t>(content.size()));
        data.WriteBuffer(content.data(), static_cast<int64_t>(content.size()));
        data.SetPosition(0);
        cell.DataReader(data);
      } else if (!ReadStoredProp(r_, name, CellProps(), cell, {})) {
        r_.Fail("unknown cell property \"" + name + "\"");
      }
    }
    r_.ReadListEnd();
    r_.ReadListEnd();  // no child components
  }

  void ReadRowVAlign() {
    TDVTableRows& grid = table_.Rows;
    r_.ReadListBegin();
    for (int r = 0; r < grid.Count(); ++r) {
      if (r_.EndOfList()) r_.Fail("fewer row alignments than rows");
      const int32_t v = r_.ReadInteger();
      if (!SetVAlign(grid[r]->VAlign, v)) r_.Fail("row alignment " + std::to_string(v) + " out of range");
    }
    r_.ReadListEnd();
  }

  TPropReader r_;
  TDVTableItemInfo& table_;
};

}  // namespace

std::vector<uint8_t> SaveTableComponent(const TDVTableItemInfo& table, int firstRow, int rowCount) {
  const TDVTableRows& grid = table.Rows;
  firstRow = std::clamp(firstRow, 0, grid.Count());
  rowCount = std::clamp(rowCount, 0, grid.Count() - firstRow);
  TMemoryStream stream;
  TPropWriter w(stream);
  w.WriteSignature();
  w.WriteComponentHeader(kComponentClass, "");
  WriteStoredProps(w, TableProps(), table);
  WriteCells(w, grid, firstRow, rowCount);
  WriteRowVAlign(w, grid, firstRow, rowCount);
  w.WriteListEnd();
  w.WriteListEnd();  // no child components
  return stream.Bytes();
}

void LoadTableComponent(std::span<const uint8_t> bytes, TDVTableItemInfo& table) {
  TReadNest nest(bytes.size());
  TTableReader(bytes, table).Run();
}

}  // namespace quillet
