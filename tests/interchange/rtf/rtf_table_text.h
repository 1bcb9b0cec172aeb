#pragma once
// Documents with tables as text, for the table reading tests: paragraphs
// separated by " | ", a table as "[a|b / c|d]" whose cells join their
// paragraphs with "+", "<" for a position covered from the left and "^"
// for one covered from above.
#include <string>

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "interchange/item_text_util.h"

namespace quillet::test {

inline std::string DocText(const TCustomDVData& doc, const std::string& separator = " | ") {
  std::string out;
  for (int i = 0; i < doc.ItemCount(); ++i) {
    if (i > 0 && doc.IsParaStart(i)) out += separator;
    const auto* table = dynamic_cast<const TDVTableItemInfo*>(doc.GetItem(i));
    if (!table) {
      if (doc.GetItemStyle(i) >= 0) out += ItemUtf8(doc, i);
      continue;
    }
    out += "[";
    for (int r = 0; r < table->Rows.Count(); ++r) {
      if (r > 0) out += " / ";
      for (int c = 0; c < table->Rows.GetColCount(); ++c) {
        if (c > 0) out += "|";
        int mr, mc;
        if (const TDVTableCellData* cell = table->GetCells(r, c))
          out += DocText(*cell, "+");
        else
          out += (table->Rows.GetMainCell(r, c, mr, mc), mr < r) ? "^" : "<";
      }
    }
    out += "]";
  }
  return out;
}

// The first table item of the document; null when none.
inline TDVTableItemInfo* FirstTable(const TCustomDVData& doc) {
  for (int i = 0; i < doc.ItemCount(); ++i)
    if (auto* table = dynamic_cast<TDVTableItemInfo*>(doc.GetItem(i))) return table;
  return nullptr;
}

}  // namespace quillet::test
