#include "engine/model/item_registry.h"

#include <vector>

#include "engine/base/doc_view_error.h"
#include "engine/model/dv_data.h"
#include "engine/model/break_item.h"
#include "engine/model/bullet_item.h"
#include "engine/model/control_item.h"
#include "engine/model/marker_item.h"
#include "engine/model/picture_item.h"

namespace quillet {

TDVItemClass DocViewTextItemClass = DVItemClassOf<TDVTextItemInfo>;

namespace {

struct TDocViewItemTypeInfo {
  int32_t StyleNo;
  TDVItemClass ItemClass;
};

std::vector<TDocViewItemTypeInfo>& Registry() {
  static std::vector<TDocViewItemTypeInfo> registry;
  return registry;
}

// Numbers from here up are the built-in kinds (-10, -11) and the records and
// kinds that have no registrable class.
constexpr int32_t kFirstReservedStyleNo = dvsListMarker;

// The built-in kinds; null for the numbers of stream records.
TDVItemClass BuiltInItemClass(int32_t styleNo) {
  switch (styleNo) {
    case dvsBreak:
      return DVItemClassOf<TDVBreakItemInfo>;
    case dvsPicture:
      return DVItemClassOf<TDVGraphicItemInfo>;
    case dvsHotspot:
      return DVItemClassOf<TDVHotspotItemInfo>;
    case dvsComponent:
      return DVItemClassOf<TDVControlItemInfo>;
    case dvsBullet:
      return DVItemClassOf<TDVBulletItemInfo>;
    case dvsHotPicture:
      return DVItemClassOf<TDVHotGraphicItemInfo>;
    case dvsListMarker:
      return DVItemClassOf<TDVMarkerItemInfo>;
    default:
      return nullptr;
  }
}

}  // namespace

void RegisterDocViewItemClass(int32_t styleNo, TDVItemClass itemClass) {
  const char* const kTaken = "Can't register DocView item type - this StyleNo is already registered";
  if (styleNo >= kFirstReservedStyleNo) throw EDocViewError(kTaken);
  for (const TDocViewItemTypeInfo& info : Registry()) {
    if (info.StyleNo != styleNo) continue;
    if (info.ItemClass == itemClass) return;
    throw EDocViewError(kTaken);
  }
  Registry().push_back({styleNo, itemClass});
}

void UnregisterAllDocViewItemClasses() { Registry().clear(); }

std::unique_ptr<TCustomDVItemInfo> CreateDocViewItem(int32_t styleNo, TCustomDVData* dvData) {
  TDVItemClass itemClass = nullptr;
  if (styleNo >= 0) {
    itemClass = DocViewTextItemClass;
  } else if (styleNo >= kFirstReservedStyleNo) {
    itemClass = BuiltInItemClass(styleNo);
  } else {
    for (const TDocViewItemTypeInfo& info : Registry())
      if (info.StyleNo == styleNo) itemClass = info.ItemClass;
  }
  if (!itemClass) return nullptr;
  std::unique_ptr<TCustomDVItemInfo> item = itemClass(dvData);
  item->StyleNo = styleNo;
  return item;
}

std::unique_ptr<TCustomDVItemInfo> DV_DuplicateItem(const TCustomDVItemInfo& source, TCustomDVData* dvData) {
  std::unique_ptr<TCustomDVItemInfo> item = source.ItemClass()(dvData);
  item->Assign(source);
  const bool tagsArePChars = dvData && dvData->TagsArePChars();
  if (source.Checkpoint) item->Checkpoint = source.Checkpoint->CreateCopy(tagsArePChars);
  item->Tag = DV_CopyTag(source.Tag, tagsArePChars);
  return item;
}

}  // namespace quillet
