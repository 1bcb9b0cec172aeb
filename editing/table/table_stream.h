#pragma once
// The table in the document stream: one component stream of class
// "TDVTableSW" whose property T is the table. It holds the table's
// properties ("T.Options", "T.BestWidth", ...), the grid as the defined
// property "C" (row and column counts, then for every cell its ColSpan, its
// RowSpan and a "TD" component with the cell's properties and its content
// as a nested document stream, "Data"), and "RowVAlign" when some row is
// not aligned to the top.
#include <cstdint>
#include <span>
#include <vector>

namespace quillet {

class TDVTableItemInfo;

// The component of rows [firstRow, firstRow + rowCount), clipped to the
// grid. A cell whose content cannot be written raises EWriteError.
std::vector<uint8_t> SaveTableComponent(const TDVTableItemInfo& table, int firstRow, int rowCount);

// Reads a component into a table made for the reading (not inserted). The
// grid's document must be set so that the cells read their content with its
// styles and settings. A damaged component raises EReadError (a cells list
// that ends early or runs long: "Wrong end of cells list") and leaves the
// table for the caller to discard.
void LoadTableComponent(std::span<const uint8_t> bytes, TDVTableItemInfo& table);

}  // namespace quillet
