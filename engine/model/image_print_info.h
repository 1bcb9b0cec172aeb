#pragma once
// Printing a picture or control taller than what is left of a page: the
// drawing item keeps the parts the item is cut into, each a horizontal slice
// of the image.
#include <cstdint>

#include "engine/layout/multi_draw_item.h"
#include "engine/base/shared_routines.h"

namespace quillet {

class TDVRectItemInfo;
class TDVStyle;

class TDVImagePrintPart : public TDVMultiDrawItemPart {
 public:
  // The slice in the item's own pixels; Height is its height on the device.
  int32_t ImgTop = 0, ImgHeight = 0;
  int32_t GetSoftPageBreakInfo() const override { return ImgTop; }
};

class TDVMultiImagePrintInfo : public TDVMultiDrawItemInfo {
 public:
  // dvStyle may be null; item must outlive the drawing item.
  TDVMultiImagePrintInfo(const TDVRectItemInfo& item, const TDVStyle* dvStyle, const TDVScreenAndDevice& sad);

  // One part covering the whole image; false when the item never splits
  // (MinHeightOnPage 0).
  bool InitSplit() override;
  // Whether the item may start on a page with y device pixels left.
  bool CanSplitFirst(int32_t y) override;
  // Cuts the last part y device pixels down. Refused unless both pieces are
  // at least MinHeightOnPage (itself at least 1) high, so every cut makes
  // progress and no part is empty. "Internal printing error" without parts.
  bool SplitAt(int32_t y) override;

  TDVImagePrintPart& Part(int index) const;

 private:
  int32_t ImageHeight() const;
  int32_t ToDevice(int32_t height) const;
  int32_t ToItem(int32_t height) const;

  const TDVRectItemInfo& item_;
  const TDVStyle* dvStyle_;
  TDVScreenAndDevice sad_;
};

}  // namespace quillet
