#pragma once
// The document background of a viewer or a printed page: a plain colour, or a
// picture stretched, tiled, tiled and scrolling with the text, or centred.
#include <cstdint>
#include <memory>

#include "engine/base/item_types.h"
#include "platform/core/colors.h"
#include "platform/core/geometry.h"
#include "platform/gfx/graphic.h"

namespace quillet {

class TCanvas;

// A palette handle. Surfaces here are true-colour, so a palette is accepted
// and never realised; only whether one is given changes what happens.
using TDVPaletteHandle = const void*;

// The brush styles of canvas.h start with "bs" too; these names stay distinct.
enum TBackgroundStyle { bsNoBitmap, bsStretched, bsTiled, bsTiledAndScrolled, bsCentered };

class TDVBackground {
 public:
  TDVBackground();
  ~TDVBackground();
  TDVBackground(const TDVBackground&) = delete;
  TDVBackground& operator=(const TDVBackground&) = delete;

  TBackgroundStyle Style = bsNoBitmap;

  // The picture; setting it copies into the background's own bitmap.
  TBitmap& Bitmap() { return *bitmap_; }
  const TBitmap& Bitmap() const { return *bitmap_; }
  void SetBitmap(const TBitmap& value) { *bitmap_ = value; }
  // The palette-adapted copy that is drawn instead of Bitmap; null when none.
  const TBitmap* BitmapCopy() const { return bitmapCopy_.get(); }

  // True when the picture stays fixed to the window, so that scrolled-in
  // content cannot be copied from what was on screen.
  bool ScrollRequiresFullRedraw() const;
  // Drops the copy; the copy actions with a palette and a picture make a new
  // one, which is drawn from then on.
  void UpdatePaletted(TDVPaletteAction paletteAction, TDVPaletteHandle palette);
  // Paints the part rect of a background area of width x height onto a
  // canvas whose origin is rect's top-left corner; hOffs and vOffs are the
  // document's scroll position.
  void Draw(TCanvas& canvas, const TRect& rect, int32_t hOffs, int32_t vOffs, int32_t width, int32_t height,
            TColor color) const;

 private:
  std::unique_ptr<TBitmap> bitmapCopy_;
  std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace quillet
