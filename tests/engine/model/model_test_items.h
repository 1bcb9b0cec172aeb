#pragma once
// Small item classes for model tests, standing in for the non-text kinds.
#include <vector>

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

}  // namespace quillet::test
