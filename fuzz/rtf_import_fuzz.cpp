// Reads arbitrary bytes as RTF into a document that already holds text, in
// each Unicode mode with styles added as needed. Beyond not crashing: a read
// that fails leaves the document's items as they were, every item's styles
// exist in the style sheet, and every table read has a whole grid whose
// cells each hold a paragraph.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

void Check(const TCustomDVData& doc, const TDVStyle& style) {
  for (int i = 0; i < doc.ItemCount(); ++i) {
    const TCustomDVItemInfo& item = *doc.GetItem(i);
    if (item.StyleNo >= 0 && !style.TextStyles().IsValidIndex(item.StyleNo)) std::abort();
    if (!style.ParaStyles().IsValidIndex(item.ParaNo)) std::abort();
    const auto* table = dynamic_cast<const TDVTableItemInfo*>(&item);
    if (!table) continue;
    if (!table->Rows.IsValidGrid()) std::abort();
    for (int r = 0; r < table->Rows.Count(); ++r)
      for (int c = 0; c < table->Rows.GetColCount(); ++c)
        if (const TDVTableCellData* cell = table->GetCells(r, c)) {
          if (cell->ItemCount() == 0) std::abort();
          Check(*cell, style);
        }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr || size > 65536) return 0;
  for (TDVReaderUnicode mode : {dvruMixed, dvruNoUnicode}) {
    TDVStyle style;
    style.TextStyles()[1].Unicode = true;
    TCustomDVData doc;
    doc.SetDVStyle(&style);
    doc.AddNL("kept", 0, 0);
    TDVRTFDocumentReader reader;
    reader.UnicodeMode = mode;
    reader.TextStyleMode = reader.ParaStyleMode = mode == dvruMixed ? dvrsAddIfNeeded : dvrsUseClosest;
    TCustomDVData header;
    header.SetDVStyle(&style);
    reader.SetHeader(&header);
    TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    if (reader.ReadFromStream(stream, doc) != rtf_ec_OK && doc.ItemCount() != 1) std::abort();
    for (TCustomDVData* d : {&doc, &header}) Check(*d, style);
  }
  return 0;
}
