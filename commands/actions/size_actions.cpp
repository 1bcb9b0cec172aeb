#include "commands/actions/size_actions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "editing/control/editor.h"
#include "engine/style/text_style.h"

namespace quillet {

namespace {

// size × (100 + percent) / 100 to the nearest whole number, halves to
// even; a stored size of any magnitude stays within range.
int64_t Scaled(int32_t size, int32_t percent) {
  const double n = std::nearbyint(static_cast<double>(size) * (100.0 + percent) / 100.0);
  return static_cast<int64_t>(std::clamp(n, double{std::numeric_limits<int32_t>::min()},
                                         double{std::numeric_limits<int32_t>::max()}));
}

int32_t ToSize(int64_t n) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

void TdvActionFontShrink::ApplyConversion(TFontInfo& style, int32_t) {
  int64_t n = Scaled(style.Size, -Percent);
  // A step too small to change the size still moves it by one.
  if (n == style.Size) n = n < 1 ? n + 1 : n - 1;
  if (n > 0 && n < MinSize) n = MinSize;
  if (n == 0) n = 1;
  style.Size = ToSize(n);
}

void TdvActionFontGrow::ApplyConversion(TFontInfo& style, int32_t) {
  int64_t n = Scaled(style.Size, Percent);
  if (n == style.Size) n = n < 1 ? n - 1 : n + 1;
  style.Size = ToSize(std::min<int64_t>(n, MaxSize));
}

void TdvActionFontShrinkOnePoint::ApplyConversion(TFontInfo& style, int32_t) {
  const int64_t least = std::llabs(MinSize);
  int64_t n;
  if (style.Size < 1) {
    n = int64_t{style.Size} + 1;
    if (least > std::llabs(n)) n = -least;
  } else {
    n = int64_t{style.Size} - 1;
    if (n < least) n = least;
  }
  style.Size = ToSize(n);
}

void TdvActionFontGrowOnePoint::ApplyConversion(TFontInfo& style, int32_t) {
  const int64_t most = std::llabs(MaxSize);
  int64_t n;
  if (style.Size < 1) {
    n = int64_t{style.Size} - 1;
    if (most < std::llabs(n)) n = -most;
  } else {
    n = int64_t{style.Size} + 1;
    if (n > most) n = most;
  }
  style.Size = ToSize(n);
}

}  // namespace quillet
