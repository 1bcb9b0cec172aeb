#include "commands/ruler/ruler_marks.h"

#include <cstdlib>

namespace quillet {

std::vector<TRulerMark> RulerMarks(const TRulerScale& scale) {
  std::vector<TRulerMark> marks;
  const int64_t tab = scale.TabDist;
  if (tab < 1) return marks;
  const int64_t numberStep = 4 * tab, longStep = 2 * tab;
  const int64_t edge = int64_t{scale.BorderLeft} + scale.MarginLeft;
  for (int32_t x = scale.BorderLeft; x < scale.Width - scale.BorderRight; ++x) {
    const int64_t d = std::llabs(x - edge);
    if (d % numberStep == 0) {
      const int64_t number = d / numberStep * scale.Factor;
      if (scale.ShowNumbers) {
        if (number != 0) marks.push_back({x, rmNumber, static_cast<int32_t>(number)});
      } else if (scale.ShowLargeLines) {
        marks.push_back({x, rmLongTick, 0});
      }
    } else if (scale.ShowLargeLines && d % numberStep == longStep) {
      marks.push_back({x, rmLongTick, 0});
    } else if (scale.ShowSmallLines && d % longStep == tab) {
      marks.push_back({x, rmShortTick, 0});
    }
  }
  return marks;
}

}  // namespace quillet
