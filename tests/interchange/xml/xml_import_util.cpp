#include <gtest/gtest.h>

#include "xml_import_util.h"

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "platform/core/stream.h"

namespace quillet::test {

namespace {

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string Kind(int32_t styleNo) {
  switch (styleNo) {
    case dvsBreak: return "brk";
    case dvsPicture: return "pic";
    case dvsHotPicture: return "hot";
    case dvsBullet: return "bul";
    case dvsHotspot: return "spot";
    case dvsComponent: return "ctl";
    case dvsListMarker: return "mk";
    default: return "tbl";
  }
}

}  // namespace

XmlImportTest::XmlImportTest() {
  sheet.TextStyles().Clear();
  sheet.TextStyles().Add().StyleName = "Body";
  TFontInfo& heading = sheet.TextStyles().Add();
  heading.StyleName = "Heading";
  heading.Size = 16;
  TFontInfo& unicode = sheet.TextStyles().Add();
  unicode.StyleName = "Unicode";
  unicode.Unicode = true;
  sheet.ParaStyles().Clear();
  sheet.ParaStyles().Add().StyleName = "Normal";
  sheet.ParaStyles().Add().StyleName = "Indented";
  sheet.ParaStyles()[1].LeftIndent = 20;
  sheet.ListStyles().Clear();
  TDVListInfo& list = sheet.ListStyles().Add();
  list.StyleName = "Bullets";
  list.Levels().Add();
  editor = std::make_unique<TDocViewEdit>();
  editor->SetStyle(&sheet);
  xml.DocView = editor.get();
  xml.RootElement = "book";
  xml.StyleLoadingMode = slmIgnore;
}

void XmlImportTest::Load(const std::string& text) {
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  xml.LoadFromStream(stream);
}

std::string XmlImportTest::Items() const { return Describe(editor->DVData()); }

std::string Describe(const TCustomDVData& data) {
  std::string out;
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TCustomDVItemInfo& item = *data.GetItem(i);
    out += item.PageBreakBefore() ? "^" : item.SameAsPrev() ? "" : item.BR() ? "/" : "|";
    if (item.StyleNo >= 0) {
      const std::string& text = data.GetItemTextR(i);
      out += "[" + (item.IsUnicode() ? "u" + Hex(text) : text) + "/" + std::to_string(item.StyleNo) + "/" +
             std::to_string(item.ParaNo) + "]";
    } else {
      out += Kind(item.StyleNo) + "/" + std::to_string(item.ParaNo);
    }
    if (item.Checkpoint) out += "#" + item.Checkpoint->Name;
    if (const auto* table = dynamic_cast<const TDVTableItemInfo*>(&item)) {
      out += "{";
      for (int r = 0; r < table->Rows.Count(); ++r)
        for (int c = 0; c < table->Rows[r]->Count(); ++c) {
          const TDVTableCellData* cell = table->GetCells(r, c);
          out += cell ? Describe(*cell) : "-";
          out += c + 1 < table->Rows[r]->Count() ? "," : r + 1 < table->Rows.Count() ? ";" : "";
        }
      out += "}";
    }
  }
  return out;
}

}  // namespace quillet::test
