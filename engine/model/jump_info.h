#pragma once
// Hyperlink areas: the rectangles of a laid-out document where a link
// starts, with the link number shared by all areas of one item.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/style/text_style.h"

namespace quillet {

class TCustomDVData;

struct TDVJumpInfo {
  TCustomDVData* DVData = nullptr;  // the document the area belongs to
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;  // document coordinates
  int32_t Id = 0;
  int32_t DrawItemNo = -1;
  TCursor Cursor = crJump;
};

using TDVJumpList = std::vector<std::unique_ptr<TDVJumpInfo>>;

}  // namespace quillet
