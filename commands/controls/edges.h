#pragma once
// Frames and 3-D edges the classic look of the dialog controls draws.
#include "platform/core/colors.h"
#include "platform/core/geometry.h"

namespace quillet {

class TCanvas;

// A frame one pixel wide just inside the rectangle.
void FrameRect(TCanvas& canvas, const TRect& r, TColor color);
// Two-pixel 3-D edges just inside the rectangle: sunken like a cell or an
// edit, raised like a button or a popup.
void DrawSunkenEdge(TCanvas& canvas, const TRect& r);
void DrawRaisedEdge(TCanvas& canvas, const TRect& r);

}  // namespace quillet
