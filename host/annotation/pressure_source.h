#pragma once
// Where the annotation pen learns how hard it is pressed: the pen tablet,
// once one has been seen. Strokes drawn with the mouse keep the pen's width.
#include <cstdint>
#include <optional>

namespace quillet {

class TPressureSource {
 public:
  virtual ~TPressureSource() = default;
  // The last packet's pressure from 0 to 1; none while no tablet is present.
  virtual std::optional<double> Pressure() const = 0;
};

// The width of a stroke point: round(pressure × pen width), at least 1,
// while 0 < pressure < 1; the pen's own width otherwise (no tablet, no
// packet yet, or the pen pressed fully or not at all).
int32_t PressedPenWidth(int32_t penWidth, std::optional<double> pressure);

}  // namespace quillet
