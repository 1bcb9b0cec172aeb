#pragma once
// The pen the main form draws annotation strokes with: the colour and the
// width written with every stroke point. The pen dialog edits it.
#include <cstdint>

#include "platform/core/colors.h"

namespace quillet {

struct TAnnotationPen {
  TColor Color = clRed;
  int32_t Width = 2;  // pixels
  friend bool operator==(const TAnnotationPen&, const TAnnotationPen&) = default;
};

}  // namespace quillet
