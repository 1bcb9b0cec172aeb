#include "platform/gfx/preview_mapping.h"

#include "platform/gfx/canvas.h"

namespace quillet {

TPreviewMapping::TPreviewMapping(TCanvas& canvas, const TRect& sheet, const TRect& pageRect,
                                 int32_t printerPixelsPerInchY)
    : canvas_(canvas) {
  canvas_.SaveState();
  if (!canvas_.SetMapping(sheet, pageRect)) canvas_.IntersectClipRect({});
  canvas_.Font().PixelsPerInch = printerPixelsPerInchY;
}

TPreviewMapping::~TPreviewMapping() { canvas_.RestoreState(); }

}  // namespace quillet
