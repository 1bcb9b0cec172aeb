#pragma once
// Drawing items that printing splits over pages (tall pictures and controls,
// tables): the parts they are cut into, each with its height on the device.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/layout/draw_lines.h"

namespace quillet {

class TDVMultiDrawItemPart {
 public:
  virtual ~TDVMultiDrawItemPart() = default;
  // Device pixels.
  int32_t Height = 0;
  // What pagination passes back to the item for a soft page break at the
  // part's top; -1 when nothing.
  virtual int32_t GetSoftPageBreakInfo() const { return -1; }
};

class TDVMultiDrawItemInfo : public TDVDrawLineInfo {
 public:
  int PartCount() const { return static_cast<int>(PartsList.size()); }
  std::vector<std::unique_ptr<TDVMultiDrawItemPart>> PartsList;
};

}  // namespace quillet
