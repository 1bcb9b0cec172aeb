#pragma once
// The small types the table item, its grid, layout and painting share.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "engine/style/border.h"

namespace quillet {

enum TDVCellVAlign : uint8_t { dvcTop, dvcMiddle, dvcBottom, dvcVDefault };
// A stored or given alignment: false for a number that names none.
inline bool SetVAlign(TDVCellVAlign& field, int32_t value) {
  if (value < dvcTop || value > dvcVDefault) return false;
  field = static_cast<TDVCellVAlign>(value);
  return true;
}
enum TDVCellHAlign : uint8_t { dvcLeft, dvcCenter, dvcRight };


enum TDVTableOption : uint16_t {
  dvtoEditing = 1 << 0,
  dvtoRowSizing = 1 << 1,
  dvtoColSizing = 1 << 2,
  dvtoRowSelect = 1 << 3,
  dvtoColSelect = 1 << 4,
  dvtoRTFSaveCellPixelBestWidth = 1 << 5,
  dvtoHideGridLines = 1 << 6,
  dvtoOverlappingCorners = 1 << 7,
  dvtoCellBelowBorders = 1 << 8,
};
using TDVTableOptions = uint16_t;
constexpr TDVTableOptions DVTableDefaultOptions =
    dvtoEditing | dvtoRowSizing | dvtoColSizing | dvtoRowSelect | dvtoColSelect;

enum TDVTablePrintOption : uint8_t {
  dvtoHalftoneBorders = 1 << 0,
  dvtoRowsSplit = 1 << 1,
  dvtoWhiteBackground = 1 << 2,
};
using TDVTablePrintOptions = uint8_t;
constexpr TDVTablePrintOptions DVTableDefaultPrintOptions = dvtoHalftoneBorders | dvtoRowsSplit;

// Where the caret goes from a cell: a neighbour, out of the document, or on
// in reading order.
enum TDVCellDirection : uint8_t {
  dvcdLeft, dvcdUp, dvcdRight, dvcdDown, dvcdDocTop, dvcdDocBottom, dvcdNext, dvcdPrev
};

enum TDVTableBorderStyle : uint8_t { dvtbRaised, dvtbLowered, dvtbColor, dvtbRaisedColor, dvtbLoweredColor };

// A 64-bit length back in 32 bits, saturated.
inline int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The style number of table items.
constexpr int32_t dvsTable = -60;

// Limits on tables read from outside data (the document stream, XML, RTF):
// a record past them is refused before anything is allocated.
constexpr int32_t DVTableMaxRows = 100000;
constexpr int32_t DVTableMaxCols = 1000;
constexpr int64_t DVTableMaxCells = 1000000;
constexpr int DVTableMaxNesting = 16;  // a table inside 16 tables is refused

}  // namespace quillet
