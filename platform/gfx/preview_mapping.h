#pragma once
// A printer's page drawn on another canvas, the print preview's.
#include <cstdint>

#include "platform/core/geometry.h"

namespace quillet {

class TCanvas;

// For its scope, maps the sheet (in printer pixels) onto pageRect of the
// canvas and sizes fonts at the printer's vertical resolution, as the
// printer's own canvas does: the page drawn in printer pixels comes out with
// its text at the size and in the shape it has on paper, whatever the
// printer's two resolutions. A pageRect without width or height shows
// nothing. The canvas's state (mapping, font, clip) comes back at the end.
class TPreviewMapping {
 public:
  TPreviewMapping(TCanvas& canvas, const TRect& sheet, const TRect& pageRect, int32_t printerPixelsPerInchY);
  ~TPreviewMapping();
  TPreviewMapping(const TPreviewMapping&) = delete;
  TPreviewMapping& operator=(const TPreviewMapping&) = delete;

 private:
  TCanvas& canvas_;
};

}  // namespace quillet
