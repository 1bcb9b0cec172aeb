#include "host/annotation/pressure_source.h"

#include <algorithm>
#include <cmath>

namespace quillet {

int32_t PressedPenWidth(int32_t penWidth, std::optional<double> pressure) {
  if (!pressure || !(*pressure > 0.0 && *pressure < 1.0)) return penWidth;
  return std::max<int32_t>(1, static_cast<int32_t>(std::lround(*pressure * penWidth)));
}

}  // namespace quillet
