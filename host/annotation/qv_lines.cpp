#include "host/annotation/qv_lines.h"

#include <cmath>

#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

int32_t Nearest(float v) { return static_cast<int32_t>(std::nearbyint(v)); }

void UsePlainPen(TCanvas& canvas, float width, TColor color) {
  canvas.Pen() = TPen{color, Nearest(width), psSolid, pmCopy};
}

}  // namespace

void TQvLines::MoveTo(TCanvas& canvas, int32_t x, int32_t y) {
  canvas.MoveTo(x, y);
  RasterXF = x;
  RasterYF = y;
}

void TQvLines::LineTo(TCanvas& canvas, int32_t x, int32_t y) {
  if (antiAlias) {
    const TLineF line{double(RasterXF), double(RasterYF), double(x), double(y)};
    canvas.LinesF(&line, 1, penWidth, penColor, 0, 0);
    RasterXF = x;
    RasterYF = y;
    return;
  }
  UsePlainPen(canvas, penWidth, penColor);
  canvas.LineTo(x, y);
}

void TQvLines::MoveTo(TCanvas& canvas, float x, float y) {
  canvas.MoveTo(Nearest(x), Nearest(y));
  RasterXFS = x;
  RasterYFS = y;
}

void TQvLines::LineTo(TCanvas& canvas, float x, float y) {
  if (antiAlias) {
    const TLineF line{RasterXFS, RasterYFS, x, y};
    canvas.LinesF(&line, 1, penWidth, penColor, 0, 0);
    RasterXFS = x;
    RasterYFS = y;
    return;
  }
  UsePlainPen(canvas, penWidth, penColor);
  canvas.LineTo(Nearest(x), Nearest(y));
}

uint32_t TQvLines::getColor() const {
  const uint32_t c = static_cast<uint32_t>(penColor);
  return 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

}  // namespace quillet
