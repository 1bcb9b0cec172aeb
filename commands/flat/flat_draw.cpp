#include "commands/flat/flat_draw.h"

#include <QPainter>

#include "commands/flat/flat_bitmaps.h"
#include "commands/flat/flat_painter.h"
#include "platform/gfx/qt_color.h"

namespace quillet {

void FillRect(QPainter& p, const QRect& r, TColor color) { p.fillRect(r, ToQColor(color)); }

void FrameRect(QPainter& p, const QRect& r, TColor color) {
  if (r.width() <= 0 || r.height() <= 0) return;
  const QColor c = ToQColor(color);
  p.fillRect(r.left(), r.top(), r.width(), 1, c);
  p.fillRect(r.left(), r.bottom(), r.width(), 1, c);
  p.fillRect(r.left(), r.top(), 1, r.height(), c);
  p.fillRect(r.right(), r.top(), 1, r.height(), c);
}

void FillFramed(QPainter& p, const QRect& r, TColor fill, TColor frame) {
  FillRect(p, r, fill);
  FrameRect(p, r, frame);
}

void Line(QPainter& p, QPoint a, QPoint b, TColor color) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(ToQColor(color), 1));
  p.drawLine(a, b);
  p.restore();
}

void DrawIcon(QPainter& p, const TFlatPainter& k, const TFlatScheme& s, QImage image, const QRect& r,
              TIconPlace place, TIconState st, bool rightToLeft) {
  if (image.isNull()) return;
  const int w = image.width();
  int x = r.left(), y = r.top() + 1;
  if (place == TIconPlace::MenuItem) {
    y += 2;
    if (w < k.IconWidth)
      x = r.left() + (k.IconWidth - w) / 2 - 1;
    else
      x = rightToLeft ? r.right() + 1 - w - 2 : r.left() + 2;
  } else if (place == TIconPlace::TopMenuItem) {
    x = rightToLeft ? r.right() + 1 - w - 5 : r.left() + 1;
  }
  if (st.Hot && place != TIconPlace::TopMenuItem && st.Enabled && !st.Checked && !st.Pressed) {
    --x;
    --y;
  }
  if (!st.Hot && st.Enabled && !st.Checked && s.Is16Bit) DimBitmap(image, k.DimLevel);
  if (!st.Enabled) {
    GrayBitmap(image, k.GrayLevel);
    DimBitmap(image, 40);
  }
  if (st.Hot && st.Enabled && !st.Checked) {
    const TColor under = place == TIconPlace::ToolButton && s.Is16Bit && !k.Colors.UseSystemColors
                             ? NewColor(k.Colors.SelectColor, 68)
                             : s.SelectColor;
    DrawBitmapShadow(image, p, x + 2, y + 2, GetShadeColor(under, 50));
  }
  p.drawImage(x, y, image);
}

void DrawTheText(QPainter& p, const TFlatPainter& k, const TFlatScheme& s, const QString& text,
                 const QString& shortCut, const QRect& r, TTextState st, const QFont& font, TColor fontColor,
                 int flags) {
  p.setFont(font);
  TColor color = st.Selected ? s.SelectFontColor : fontColor;
  if (!st.Enabled) color = s.DisabledColor;
  if (st.Selected && st.TopMenu && k.Colors.UseSystemColors) color = TopMenuFontColor(s.IconBackColor, color);
  flags |= Qt::TextShowMnemonic | Qt::TextSingleLine;
  if (st.Default && st.Enabled) {
    struct Halo {
      int dx, dy, shade;
    };
    for (const Halo h : {Halo{1, 0, 30}, Halo{1, 2, 30}, Halo{0, 1, 40}, Halo{1, 1, 60}}) {
      p.setPen(ToQColor(GetShadeColor(st.Background, h.shade)));
      p.drawText(r.translated(h.dx, h.dy), flags, text);
    }
  }
  p.setPen(ToQColor(color));
  p.drawText(r, flags, text);
  if (shortCut.isEmpty()) return;
  const QRect sr = st.RightToLeft ? r.adjusted(10, 0, 0, 0) : r.adjusted(0, 0, -10, 0);
  const int align = (flags & ~(Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter)) |
                    (st.RightToLeft ? Qt::AlignLeft : Qt::AlignRight);
  p.setPen(ToQColor(s.Is16Bit ? GetShadeColor(color, -40) : color));
  p.drawText(sr, align, shortCut + u' ');
}

void DrawTopMenuItem(QPainter& p, const TFlatScheme& s, const QRect& r, TColor back, bool isMenu,
                     bool rightToLeft) {
  FillRect(p, r, s.SelectColor);
  const int l = r.left(), t = r.top(), b = r.bottom(), right = r.right() + 1;
  if (!rightToLeft && s.Is16Bit && isMenu) {
    // Open at the bottom, where the popup joins it; a soft shadow in the
    // 7 pixels at the right.
    struct Band {
      int shade, top, in;
    };
    for (const Band band : {Band{10, 0, 0}, Band{30, 3, 2}, Band{60, 5, 3}, Band{100, 6, 5}})
      FillRect(p, QRect(QPoint(right - 7, t + band.top), QPoint(right - 1 - band.in, b)),
               GetShadeColor(s.MenuBarColor, band.shade));
    Line(p, {l, b}, {l, t}, s.SelectBorderColor);
    Line(p, {l, t}, {right - 8, t}, s.SelectBorderColor);
    Line(p, {right - 8, t}, {right - 8, b}, s.SelectBorderColor);
    return;
  }
  FrameRect(p, QRect(QPoint(l, t), QPoint(right - 4, b)), s.SelectBorderColor);
  FillRect(p, QRect(QPoint(right - 2, t + 2), QPoint(right - 1, b)), GetShadeColor(back, 70));
  FillRect(p, QRect(right - 2, t, 2, 2), back);
}

}  // namespace quillet
