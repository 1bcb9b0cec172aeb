#include "engine/view/background.h"

#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

// A picture without pixels draws as no picture; this also keeps the tile
// arithmetic from dividing by zero.
bool HasPicture(const TBitmap& picture) {
  return !picture.Empty() && picture.Width() > 0 && picture.Height() > 0;
}

}  // namespace

TDVBackground::TDVBackground() : bitmap_(std::make_unique<TBitmap>()) {}

TDVBackground::~TDVBackground() = default;

bool TDVBackground::ScrollRequiresFullRedraw() const {
  if (!HasPicture(*bitmap_)) return false;
  switch (Style) {
    case bsNoBitmap:
    case bsTiledAndScrolled: return false;
    case bsStretched:
    case bsTiled:
    case bsCentered: return true;
  }
  return false;
}

void TDVBackground::UpdatePaletted(TDVPaletteAction paletteAction, TDVPaletteHandle palette) {
  bitmapCopy_.reset();
  if (palette == nullptr || !HasPicture(*bitmap_)) return;
  switch (paletteAction) {
    case dvpaDoNothing:
    case dvpaAssignPallette:  // nothing to apply on a true-colour surface
      break;
    case dvpaCreateCopies:
    case dvpaCreateCopiesEx:
      bitmapCopy_ = std::make_unique<TBitmap>(*bitmap_);
      break;
  }
}

void TDVBackground::Draw(TCanvas& canvas, const TRect& rect, int32_t hOffs, int32_t vOffs, int32_t width,
                         int32_t height, TColor color) const {
  const TBitmap& picture = bitmapCopy_ ? *bitmapCopy_ : *bitmap_;
  const bool hasPicture = HasPicture(picture);

  if (!hasPicture || Style == bsNoBitmap || Style == bsCentered) {
    const TBrush saved = canvas.Brush();
    canvas.Brush().Style = bsSolid;
    canvas.Brush().Color = ColorToRGB(color);
    canvas.FillRect(TRect{0, 0, rect.Width(), rect.Height()});
    canvas.Brush() = saved;
    if (hasPicture && Style == bsCentered)
      canvas.Draw((width - picture.Width()) / 2 - rect.Left, (height - picture.Height()) / 2 - rect.Top, picture);
    return;
  }

  // Tiles are counted in 64 bits: offsets near the int32 limits must not wrap.
  const int64_t w = picture.Width(), h = picture.Height();
  const auto tile = [&](int64_t dx, int64_t dy) {
    for (int64_t r = (rect.Top + dy) / h; r <= (rect.Bottom + dy) / h; ++r)
      for (int64_t c = (rect.Left + dx) / w; c <= (rect.Right + dx) / w; ++c)
        canvas.Draw(static_cast<int32_t>(c * w - dx - rect.Left), static_cast<int32_t>(r * h - dy - rect.Top),
                    picture);
  };
  switch (Style) {
    case bsStretched: canvas.StretchDraw(Bounds(-rect.Left, -rect.Top, width, height), picture); break;
    case bsTiled: tile(0, 0); break;  // anchored to the window
    case bsTiledAndScrolled: tile(hOffs, vOffs); break;  // moves with the text
    case bsNoBitmap:
    case bsCentered: break;
  }
}

}  // namespace quillet
