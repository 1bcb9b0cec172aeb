#include "host/annotation/qv_lines.h"

#include <cmath>

#include "platform/gfx/canvas.h"

namespace quillet {

void TQvLines::MoveTo(TCanvas& canvas, int32_t x, int32_t y) { canvas.MoveTo(x, y); }

void TQvLines::LineTo(TCanvas& canvas, int32_t x, int32_t y) {
  canvas.Pen() = TPen{penColor, static_cast<int32_t>(std::nearbyint(penWidth)), psSolid, pmCopy};
  canvas.LineTo(x, y);
}

void TQvLines::Polyline(TCanvas& canvas, const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  canvas.Pen() = TPen{penColor, static_cast<int32_t>(std::nearbyint(penWidth)), psSolid, pmCopy};
  canvas.Polyline(points);
}

}  // namespace quillet
