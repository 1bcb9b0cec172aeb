// Arbitrary bytes as an XML import file, read the way a load reads it: the
// style sheet in each mode, bullets, print and view settings, and the items
// of "document" into a document. Beyond not crashing or recursing without
// bound: errors are exceptions, and every item the read leaves, in table
// cells too, names styles the style sheet has, and every table's grid is
// whole.
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <vector>

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "interchange/xml/xml_items.h"
#include "interchange/xml/xml_style_import.h"
#include "interchange/xml/xml_tree.h"
#include "interchange/xml/xml_view_settings.h"

using namespace quillet;

namespace {

void Check(const TCustomDVData& data, const TDVStyle& style) {
  std::vector<const TCustomDVData*> pending{&data};
  while (!pending.empty()) {
    const TCustomDVData* d = pending.back();
    pending.pop_back();
    for (int i = 0; i < d->ItemCount(); ++i) {
      const TCustomDVItemInfo& item = *d->GetItem(i);
      if (item.StyleNo >= 0 && !style.TextStyles().IsValidIndex(item.StyleNo)) std::abort();
      if (!style.ParaStyles().IsValidIndex(item.ParaNo)) std::abort();
      if (const auto* table = dynamic_cast<const TDVTableItemInfo*>(&item)) {
        if (!table->Rows.IsValidGrid()) std::abort();
        for (int r = 0; r < table->Rows.Count(); ++r)
          for (int c = 0; c < table->Rows[r]->Count(); ++c)
            if (const TDVTableCellData* cell = table->GetCells(r, c)) pending.push_back(cell);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr || size > 65536) return 0;
  TXMLTree tree("windows-1250");
  tree.AddUnicodeElement("utext");
  tree.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const TXMLTag* root = tree.Children().FindTagOfName("book");
  if (!root) return 0;
  for (TStyleLoadingMode mode : {slmReplace, slmMerge}) {
    TDVStyle style;
    style.TextStyles().Add().Unicode = true;
    style.ListStyles().Add().Levels().Add();
    TCustomDVData doc;
    doc.SetDVStyle(&style);
    TImgListList bullets, hotspots;
    try {
      TDVIntegerList styleMap, paraMap, listMap;
      LoadDVStyle(root->Children().FindTagOfName("style"), style, mode, styleMap, paraMap, listMap);
      if (const TXMLTag* node = root->Children().FindTagOfName("bullets")) bullets.LoadFromXML(*node);
      TXMLPrintSettings print;
      if (const TXMLTag* node = root->Children().FindTagOfName("print")) LoadDVPrint(*node, print);
      const TXMLTag* document = root->Children().FindTagOfName("document");
      if (!document) continue;
      TXMLViewSettings view;
      LoadBackgroundFromXML(*document, view);
      TXMLLoadContext context{style, bullets, hotspots, styleMap, paraMap, listMap, nullptr, nullptr, mode == slmMerge};
      doc.SetOptions(mode == slmMerge ? TDVOptions{dvoTagsArePChars} : TDVOptions{0});
      int position = 0, added = 0;
      LoadDVDataFromXML(doc, *document, context, nullptr, position, true, added);
    } catch (const std::exception&) {
    }
    Check(doc, style);
  }
  return 0;
}
