#pragma once
// The stroke drawer: lines of one pen from a current point, anti-aliased with
// fractional widths on screen, or with the canvas's own pen at a whole width
// (printing).
#include <cstdint>

#include "platform/core/colors.h"

namespace quillet {

class TCanvas;

class TQvLines {
 public:
  bool antiAlias = true;
  int32_t RasterXF = 0, RasterYF = 0;   // current point of the integer forms
  float RasterXFS = 0, RasterYFS = 0;   // current point of the floating-point forms
  float penWidth = 3.0f;
  TColor penColor = 255;  // red

  void MoveTo(TCanvas& canvas, int32_t x, int32_t y);
  void LineTo(TCanvas& canvas, int32_t x, int32_t y);
  void MoveTo(TCanvas& canvas, float x, float y);
  void LineTo(TCanvas& canvas, float x, float y);
  void setPenWidth(float width) { penWidth = width; }
  void setPenColor(TColor color) { penColor = color; }
  void setAntiAlias(bool value) { antiAlias = value; }
  // The pen colour as alpha-red-green-blue, alpha 255: 0xFFRRGGBB.
  uint32_t getColor() const;
};

}  // namespace quillet
