#include "host/annotation/qv_lines.h"

#include <cmath>

#include "platform/gfx/canvas.h"

namespace quillet {

void TQvLines::MoveTo(TCanvas& canvas, int32_t x, int32_t y) { canvas.MoveTo(x, y); }

void TQvLines::LineTo(TCanvas& canvas, int32_t x, int32_t y) {
  canvas.Pen() = TPen{penColor, static_cast<int32_t>(std::nearbyint(penWidth)), psSolid, pmCopy};
  canvas.LineTo(x, y);
}

}  // namespace quillet
