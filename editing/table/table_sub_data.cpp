// The table's cells as sub-documents, handed out one at a time in reading
// order (row by row, left to right), as the search walks them.
#include "editing/table/table_item.h"

namespace quillet {

TCustomDVData* TDVTableItemInfo::GetSubDVData(std::unique_ptr<TDVStoreSubDVData>& store,
                                              TDVSubDVDataPos position) const {
  const int cols = Rows.GetColCount();
  const int64_t count = int64_t{Rows.Count()} * cols;
  int64_t at = 0, step = 1;
  switch (position) {
    case dvdFirst:
      at = 0;
      break;
    case dvdLast:
      at = count - 1;
      step = -1;
      break;
    case dvdNext:
    case dvdPrev: {
      const auto* from = dynamic_cast<const TDVTableStoreSubDVData*>(store.get());
      if (!from) return nullptr;
      step = position == dvdNext ? 1 : -1;
      at = int64_t{from->Row} * cols + from->Col + step;
      break;
    }
    default:
      // Chosen cells come with editing in place.
      return nullptr;
  }
  for (; at >= 0 && at < count; at += step) {
    const int row = static_cast<int>(at / cols), col = static_cast<int>(at % cols);
    if (TDVTableCellData* cell = Rows.CellAt(row, col)) {
      store = std::make_unique<TDVTableStoreSubDVData>(row, col);
      return cell;
    }
  }
  return nullptr;
}

}  // namespace quillet
