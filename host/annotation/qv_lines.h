#pragma once
// The stroke drawer of printing: lines from a current point, or a stroke's
// points as one polyline, with the canvas's own pen at a whole width. The screen's anti-aliased strokes are
// drawn from the layer's scene (postil_scene.h) in runs instead.
#include <cstdint>
#include <vector>

#include "platform/core/geometry.h"

#include "platform/core/colors.h"

namespace quillet {

class TCanvas;

class TQvLines {
 public:
  float penWidth = 3.0f;  // taken to the nearest whole pixel, halves to even
  TColor penColor = 255;  // red

  void MoveTo(TCanvas& canvas, int32_t x, int32_t y);
  void LineTo(TCanvas& canvas, int32_t x, int32_t y);
  void Polyline(TCanvas& canvas, const std::vector<TPoint>& points);
  void setPenWidth(float width) { penWidth = width; }
  void setPenColor(TColor color) { penColor = color; }
};

}  // namespace quillet
