#pragma once
// What the print component takes from the document it prints: a viewer or an
// editor implements it, so that printing needs nothing else of the window.
#include <cstdint>

#include "engine/base/item_types.h"
#include "engine/style/style_types.h"
#include "platform/core/colors.h"

namespace quillet {

class TCustomDVData;
class TDVBackground;
class TDVStyle;

class TDVPrintSource {
 public:
  virtual ~TDVPrintSource() = default;
  // The document whose items the printed copy shares; it must outlive the
  // sharing (AssignSource again, or with none, before it goes).
  virtual TCustomDVData& PrintSourceData() = 0;
  virtual TDVStyle* PrintSourceStyle() const = 0;
  // The document margins in screen pixels.
  virtual int32_t PrintSourceLeftMargin() const = 0;
  virtual int32_t PrintSourceRightMargin() const = 0;
  virtual int32_t PrintSourceTopMargin() const = 0;
  virtual int32_t PrintSourceBottomMargin() const = 0;
  virtual TColor PrintSourceColor() const = 0;
  // Null when the document has no background picture.
  virtual const TDVBackground* PrintSourceBackground() const = 0;
  virtual TDVPaletteAction PrintSourceDoInPaletteMode() const { return dvpaCreateCopies; }
  virtual TDVBiDiMode PrintSourceBiDiMode() const { return dvbdUnspecified; }
};

}  // namespace quillet
