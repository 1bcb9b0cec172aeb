// Document operations on the non-text items: picture information, control
// items and their notices.
#include "engine/model/control_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/picture_item.h"
#include "platform/core/control.h"
#include "platform/gfx/graphic.h"

namespace quillet {

void TCustomDVData::GetPictureInfo(int itemNo, std::string& name, TGraphic*& graphic, TDVVAlign& vAlign,
                                   TDVTag& tag) const {
  const auto& item = CheckItemClass<TDVGraphicItemInfo>(itemNo);
  name = GetItemTextR(itemNo);
  graphic = item.Image.get();
  vAlign = item.VAlign;
  tag = DV_CopyTag(item.Tag, TagsArePChars());
}

bool TCustomDVData::SetPictureInfo(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic,
                                   TDVVAlign vAlign, TDVTag tag) {
  auto& item = CheckItemClass<TDVGraphicItemInfo>(itemNo);
  const int32_t oldWidth = item.Image ? item.Image->Width() : 0;
  const int32_t oldHeight = item.Image ? item.Image->Height() : 0;
  const TDVVAlign oldVAlign = item.VAlign;
  if (graphic) item.Image = std::move(graphic);
  item.VAlign = vAlign;
  item.Tag = std::move(tag);
  SetItemTextR(itemNo, name);
  item.UpdatePaletteInfo(dvpaDoNothing, true);
  const int32_t newWidth = item.Image ? item.Image->Width() : 0;
  const int32_t newHeight = item.Image ? item.Image->Height() : 0;
  return newWidth != oldWidth || newHeight != oldHeight || vAlign != oldVAlign;
}

int TCustomDVData::FindControlItemNo(const TControl* control) const {
  for (int i = 0; i < ItemCount(); ++i)
    if (GetItem(i) && GetItem(i)->OwnsControl(control)) return i;
  return -1;
}

void TCustomDVData::ControlAction(TDVControlAction action, int itemNo, const TCustomDVItemInfo* item) {
  const auto* controlItem = dynamic_cast<const TDVControlItemInfo*>(item);
  if (controlItem) ControlAction2(action, itemNo, controlItem->Control.get());
}

std::unique_ptr<TGraphic> TCustomDVData::DoPrintComponent(TControl* printMe) {
  return IsOwnRoot() ? nullptr : GetRootData()->DoPrintComponent(printMe);
}

}  // namespace quillet
