#include "engine/view/scroll_model.h"

#include <algorithm>

namespace quillet {

namespace {

int32_t Clamp(int64_t value, int32_t max, int32_t page) {
  // The lower bound comes last: a range shorter than its page keeps 0.
  const int64_t top = int64_t{max} - (int64_t{page} - 1);
  return static_cast<int32_t>(std::max<int64_t>(std::min(value, top), 0));
}

}  // namespace

void TDVScrollModel::SetHRange(int32_t xs, int32_t clientWidth) {
  XSize = xs;
  HScrollPage = clientWidth;
  HScrollMax = static_cast<int32_t>(std::max<int64_t>(int64_t{XSize} - 1, INT32_MIN));
  HPos = ClampH(HPos);
}

void TDVScrollModel::SetVRange(int32_t ys, int32_t clientHeight) {
  YSize = ys;
  VScrollPage = clientHeight / std::max(SmallStep, 1);
  VScrollMax = static_cast<int32_t>(std::max<int64_t>(int64_t{YSize} - 1, INT32_MIN));
  VPos = ClampV(VPos);
}

int32_t TDVScrollModel::ClampV(int64_t value) const { return Clamp(value, VScrollMax, VScrollPage); }
int32_t TDVScrollModel::ClampH(int64_t value) const { return Clamp(value, HScrollMax, HScrollPage); }

std::optional<int64_t> TDVScrollModel::VScrollTarget(TScrollCode code, int32_t thumbPos, int32_t clientHeight) const {
  const int64_t page = clientHeight / std::max(SmallStep, 1);
  switch (code) {
    case SB_LINEUP: return int64_t{VPos} - 1;
    case SB_LINEDOWN: return int64_t{VPos} + 1;
    case SB_PAGEUP: return VPos - page;
    case SB_PAGEDOWN: return VPos + page;
    case SB_THUMBPOSITION: return thumbPos;
    case SB_THUMBTRACK: return Tracking ? std::optional<int64_t>(thumbPos) : std::nullopt;
    case SB_TOP: return 0;
    case SB_BOTTOM: return YSize;
  }
  return std::nullopt;
}

std::optional<int64_t> TDVScrollModel::HScrollTarget(TScrollCode code, int32_t thumbPos) const {
  switch (code) {
    case SB_LINEUP: return int64_t{HPos} - SmallStep;
    case SB_LINEDOWN: return int64_t{HPos} + SmallStep;
    case SB_PAGEUP: return HPos - int64_t{10} * SmallStep;
    case SB_PAGEDOWN: return HPos + int64_t{10} * SmallStep;
    case SB_THUMBPOSITION: return thumbPos;
    case SB_THUMBTRACK: return Tracking ? std::optional<int64_t>(thumbPos) : std::nullopt;
    case SB_TOP: return 0;
    case SB_BOTTOM: return XSize;
  }
  return std::nullopt;
}

bool KeyScrollCode(TKey key, TScrollBarKind& bar, TScrollCode& code) {
  bar = sbVertical;
  switch (key) {
    case VK_PRIOR: code = SB_PAGEUP; return true;
    case VK_NEXT: code = SB_PAGEDOWN; return true;
    case VK_END: code = SB_BOTTOM; return true;
    case VK_HOME: code = SB_TOP; return true;
    case VK_UP: code = SB_LINEUP; return true;
    case VK_DOWN: code = SB_LINEDOWN; return true;
    default: break;
  }
  bar = sbHorizontal;
  switch (key) {
    case VK_LEFT: code = SB_LINEUP; return true;
    case VK_RIGHT: code = SB_LINEDOWN; return true;
    default: return false;
  }
}

}  // namespace quillet
