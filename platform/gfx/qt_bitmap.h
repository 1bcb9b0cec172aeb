#pragma once
// The Qt side of TBitmap, for the rest of the platform layer (canvas,
// clipboard, printing). Nothing outside platform/ includes this.
#include <QImage>

#include "platform/gfx/graphic.h"

namespace quillet {

// The bitmap's pixels, ready to read: drawing on its canvas is finished first.
// RGB32 for 24-bit, RGB32 or ARGB32 for 32-bit, Indexed8 for paletted bitmaps.
const QImage& BitmapImage(const TBitmap& bitmap);
// The picture to draw: with the transparent colour cleared when the bitmap is transparent.
QImage BitmapImageForDrawing(const TBitmap& bitmap);
// Replaces the pixels; the pixel format follows the image's depth.
void SetBitmapImage(TBitmap& bitmap, const QImage& image);

}  // namespace quillet
