#pragma once
// A document for RTF writer tests: a style sheet of its own, a settable
// selection, link targets by jump id, and a non-text item that writes a
// marker of its own.
#include <map>
#include <optional>
#include <string>

#include "engine/model/dv_data.h"
#include "engine/model/item_info.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

namespace quillet::test {

class RTFTestData : public TCustomDVData {
 public:
  RTFTestData() { SetDVStyle(&style); }

  TDVFLimits DVFGetLimits(TDVFSaveScope scope) const override {
    return scope == dvfss_Selection && selection ? *selection : TCustomDVData::DVFGetLimits(scope);
  }
  std::string GetURL(int32_t jumpID) override {
    auto it = urls.find(jumpID);
    return it == urls.end() ? std::string() : it->second;
  }

  std::string GetExtraRTFCode(TDVRTFSaveArea area, const void*, int, int, bool) override {
    return area == dv_rtfs_TextStyle ? extraTextStyleCode : std::string();
  }

  // Appends a text item; paraNo -1 continues the paragraph.
  TCustomDVItemInfo& Add(std::string text, int32_t styleNo = 0, int32_t paraNo = 0) {
    AddNL(std::move(text), styleNo, paraNo);
    return *GetItem(ItemCount() - 1);
  }
  std::string Save(bool selectionOnly = false) {
    TMemoryStream stream;
    saved = SaveRTFToStream(stream, selectionOnly, clWindow, nullptr);
    return stream.AsString();
  }

  TDVStyle style;
  std::optional<TDVFLimits> selection;
  std::map<int32_t, std::string> urls;
  std::string extraTextStyleCode;
  bool saved = false;
};

// A non-text item that writes "{\*\testitem N cfC}" with its name and the
// colour number of its colour, which it adds to the colour table.
class RTFTestItem : public TDVRectItemInfo {
 public:
  using TDVRectItemInfo::TDVRectItemInfo;
  TDVItemClass ItemClass() const override { return DVItemClassOf<RTFTestItem>; }
  void SaveRTF(TStream& stream, TCustomDVData&, int, const std::string& itemText, double, int,
               TDVColorList& colorList, TDVIntegerList&, TDVIntegerList&) const override {
    stream.WriteString("{\\*\\testitem " + itemText + " cf" + std::to_string(colorList.IndexOf(Color)) + "}");
  }
  void FillRTFColorTable(TDVColorList& colorList) const override { colorList.AddUnique(Color); }
  TColor Color = 0x123456;
};

}  // namespace quillet::test
