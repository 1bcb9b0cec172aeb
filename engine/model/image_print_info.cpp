#include "engine/model/image_print_info.h"

#include "engine/base/doc_view_error.h"
#include "engine/model/item_info.h"
#include "platform/core/arith.h"

namespace quillet {

TDVMultiImagePrintInfo::TDVMultiImagePrintInfo(const TDVRectItemInfo& item, const TDVStyle* dvStyle,
                                               const TDVScreenAndDevice& sad)
    : item_(item), dvStyle_(dvStyle), sad_(sad) {}

int32_t TDVMultiImagePrintInfo::ImageHeight() const {
  return item_.GetImageHeight(const_cast<TDVStyle*>(dvStyle_));
}

int32_t TDVMultiImagePrintInfo::ToDevice(int32_t height) const {
  return sad_.ppiyScreen == 0 ? height : MulDiv(height, sad_.ppiyDevice, sad_.ppiyScreen);
}

int32_t TDVMultiImagePrintInfo::ToItem(int32_t height) const {
  return sad_.ppiyDevice == 0 ? height : MulDiv(height, sad_.ppiyScreen, sad_.ppiyDevice);
}

TDVImagePrintPart& TDVMultiImagePrintInfo::Part(int index) const {
  return static_cast<TDVImagePrintPart&>(*PartsList.at(static_cast<size_t>(index)));
}

bool TDVMultiImagePrintInfo::InitSplit() {
  if (item_.MinHeightOnPage == 0) return false;
  PartsList.clear();
  auto part = std::make_unique<TDVImagePrintPart>();
  part->ImgTop = 0;
  part->ImgHeight = ImageHeight();
  part->Height = ToDevice(part->ImgHeight);
  PartsList.push_back(std::move(part));
  return true;
}

bool TDVMultiImagePrintInfo::CanSplitFirst(int32_t y) {
  const int32_t itemY = ToItem(y);
  const int32_t minHeight = item_.MinHeightOnPage;
  if (itemY < 1 || !item_.GetBoolValueEx(dvbpPrintToBMP, const_cast<TDVStyle*>(dvStyle_)) || minHeight < 1 ||
      itemY < minHeight)
    return false;
  const int32_t height = ImageHeight();
  return int64_t{height} - itemY >= minHeight || itemY > height;
}

bool TDVMultiImagePrintInfo::SplitAt(int32_t y) {
  if (PartsList.empty()) throw EDocViewError("Internal printing error");
  TDVImagePrintPart& last = Part(PartCount() - 1);
  const int32_t minHeight = item_.MinHeightOnPage;
  const int32_t itemY = ToItem(y);
  if (minHeight < 1 || minHeight >= last.ImgHeight) return false;
  const int64_t rest = int64_t{last.ImgHeight} - itemY;
  if (rest < minHeight || itemY < minHeight) return false;
  auto part = std::make_unique<TDVImagePrintPart>();
  part->ImgTop = last.ImgTop + itemY;
  part->ImgHeight = static_cast<int32_t>(rest);
  part->Height = ToDevice(part->ImgHeight);
  last.ImgHeight = itemY;
  last.Height = ToDevice(itemY);
  PartsList.push_back(std::move(part));
  return true;
}

}  // namespace quillet
