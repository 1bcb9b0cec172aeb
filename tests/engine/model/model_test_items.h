#pragma once
// Small item classes for model tests, standing in for the non-text kinds.
#include <string>
#include <vector>

#include "engine/model/dv_data.h"
#include "engine/model/item_info.h"

namespace quillet::test {

// A full-width item, like a break or a table.
class FullLineItem : public TDVFullLineItemInfo {
 public:
  using TDVFullLineItemInfo::TDVFullLineItemInfo;
  TDVItemClass ItemClass() const override { return DVItemClassOf<FullLineItem>; }
};

// An inline object that records the extra properties it is given.
class RectItem : public TDVRectItemInfo {
 public:
  using TDVRectItemInfo::TDVRectItemInfo;
  TDVItemClass ItemClass() const override { return DVItemClassOf<RectItem>; }
  bool SetExtraIntProperty(TDVExtraItemProperty prop, int32_t value) override {
    set.push_back({prop, value});
    return true;
  }
  std::string SaveDVFHeaderTail(TCustomDVData*) const override { return "tail"; }
  std::vector<std::pair<TDVExtraItemProperty, int32_t>> set;
};

// Each item as [text/style@checkpoint], a paragraph start marked "|", the
// text of a Unicode item shown by its low bytes after "u:".
inline std::string Describe(const TCustomDVData& data) {
  std::string out;
  for (int i = 0; i < data.ItemCount(); ++i) {
    if (data.IsParaStart(i)) out += "|";
    std::string text = data.GetItemTextR(i);
    if (data.GetItemOptions(i) & dvioUnicode) {
      std::string narrow;
      for (size_t k = 0; k < text.size(); k += 2) narrow += text[k];
      text = "u:" + narrow;
    }
    out += "[" + text + "/" + std::to_string(data.GetItemStyle(i));
    if (data.GetItem(i)->Checkpoint) out += "@" + data.GetItem(i)->Checkpoint->Name;
    out += "]";
  }
  return out;
}

}  // namespace quillet::test
