#pragma once
// The positions and ranges of a scroller, apart from any window: the
// vertical axis counts units of SmallStep pixels, the horizontal one pixels.
// A position runs from 0 to Max - (Page - 1), and never below 0.
#include <cstdint>
#include <optional>

#include "platform/core/keys.h"
#include "platform/ui/control.h"

namespace quillet {

struct TDVScrollModel {
  int32_t SmallStep = 10;  // pixels per vertical unit, at least 1
  int32_t HPos = 0;        // pixels
  int32_t VPos = 0;        // units
  int32_t XSize = 0;       // document width, pixels
  int32_t YSize = 0;       // document height, units
  int32_t HScrollMax = 0, HScrollPage = 0;
  int32_t VScrollMax = 0, VScrollPage = 0;
  int32_t WheelStep = 2;  // units per wheel notch
  bool Tracking = true;   // a dragged thumb scrolls while it moves

  // Take the document's width in pixels (height in units) for a client area
  // of the given width (height) and bring the position into the new range.
  void SetHRange(int32_t xs, int32_t clientWidth);
  void SetVRange(int32_t ys, int32_t clientHeight);
  int32_t ClampV(int64_t value) const;
  int32_t ClampH(int64_t value) const;
  // The position a scroll code asks for; nothing for a thumb track without
  // Tracking. The result is not yet clamped.
  std::optional<int64_t> VScrollTarget(TScrollCode code, int32_t thumbPos, int32_t clientHeight) const;
  std::optional<int64_t> HScrollTarget(TScrollCode code, int32_t thumbPos) const;
  // The position one wheel notch asks for.
  int64_t WheelTarget(bool down) const { return int64_t{VPos} + (down ? WheelStep : -int64_t{WheelStep}); }
};

// The scroll code and bar that a key sends: Page Up and Down, Home, End, Up
// and Down vertically, Left and Right horizontally. False for other keys.
bool KeyScrollCode(TKey key, TScrollBarKind& bar, TScrollCode& code);

}  // namespace quillet
