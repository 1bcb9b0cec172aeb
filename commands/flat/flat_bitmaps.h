#pragma once
// Pixel work on icons (greying, dimming, the drop shadow) and the small
// marks flat painting draws with a pen (the drop-down arrow, the tick).
#include <QImage>

#include "platform/core/colors.h"

class QPainter;

namespace quillet {

// Every pixel becomes GrayColor(pixel, v); alpha is kept.
void GrayBitmap(QImage& image, int v);
// Every pixel becomes NewColor(pixel, min(v, 100)); alpha is kept.
void DimBitmap(QImage& image, int v);
// Every pixel of the image other than its transparent colour (the
// bottom-left pixel's, or any fully transparent pixel) sets the painter's
// pixel at (x + i, y + j) to the colour.
void DrawBitmapShadow(const QImage& image, QPainter& p, int x, int y, TColor color);

// Rows of 5, 3 and 1 pixels from (x, y) downwards.
void DrawArrow(QPainter& p, int x, int y, TColor color);
// Three parallel strokes of a tick whose foot stands near (x, y).
void DrawCheckMark(QPainter& p, int x, int y, TColor color);

}  // namespace quillet
