#pragma once
// Shared by the flat painting tests: a painter on a form at a fixed colour
// depth, icons of one colour, and pixels in the platform's colours.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "commands/flat/flat_painter.h"
#include "commands/controls/render_support.h"
#include "platform/gfx/qt_color.h"

namespace quillet::test {

inline TColor Pixel(const QImage& image, QPoint at) { return FromQColor(image.pixelColor(at)); }

// 16 x 16 of one colour with a transparent one-pixel border.
inline QIcon SolidIcon(QColor color) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 1; y < 15; ++y)
    for (int x = 1; x < 15; ++x) image.setPixelColor(x, y, color);
  return QIcon(QPixmap::fromImage(image));
}

// The default working colours at 32 bits, system colours resolved, as
// pixels show them.
inline TFlatScheme Scheme32() {
  TFlatScheme s;
  SetGlobalColor(s, TFlatColors{}, 32);
  for (TColor* c : {&s.FColor, &s.IconBackColor, &s.SelectColor, &s.SelectBorderColor, &s.SelectFontColor,
                    &s.MenuBarColor, &s.DisabledColor, &s.SeparatorColor, &s.CheckedColor, &s.CheckedAreaColor,
                    &s.CheckedAreaSelectColor, &s.MenuBorderColor, &s.MenuShadowColor})
    *c = ColorToRGB(*c);
  return s;
}

// Pixels of the colour inside the rectangle.
inline int CountColor(const QImage& image, const QRect& r, TColor color) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += Pixel(image, {x, y}) == ColorToRGB(color);
  return n;
}

inline void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace quillet::test
