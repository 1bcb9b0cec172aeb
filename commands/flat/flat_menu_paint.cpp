// Menu items, the menu bar and the popup's frame.
#include <algorithm>
#include <cmath>

#include <QIcon>
#include <QPainter>
#include <QStyleOption>

#include "commands/flat/flat_draw.h"
#include "commands/flat/flat_paint.h"
#include "commands/flat/flat_painter.h"
#include "platform/gfx/qt_color.h"

namespace quillet {

namespace {

QImage ItemImage(const QStyleOptionMenuItem& o, int iconSize) {
  if (o.icon.isNull()) return {};
  return o.icon.pixmap(QSize(iconSize, iconSize)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Caption and shortcut, which the menu passes behind a tab.
void SplitText(const QString& text, QString& caption, QString& shortCut) {
  const qsizetype tab = text.indexOf(u'\t');
  caption = tab < 0 ? text : text.left(tab);
  shortCut = tab < 0 ? QString() : text.mid(tab + 1);
}

void DrawCheckedItem(QPainter& p, const TFlatScheme& s, const QRect& check, bool radio, bool hasImage,
                     bool selected, bool enabled) {
  const TColor pen = enabled ? s.SelectBorderColor : s.DisabledColor;
  const TColor fill = selected ? s.CheckedAreaSelectColor : s.CheckedAreaColor;
  if (radio) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(ToQColor(pen));
    p.setBrush(ToQColor(fill));
    const QRect shape = check.adjusted(0, 0, -1, -1);
    if (hasImage)
      p.drawRoundedRect(shape, 3, 3);
    else
      p.drawEllipse(shape);
    p.restore();
    return;
  }
  if (hasImage) {
    FillFramed(p, check, fill, pen);
    return;
  }
  FillFramed(p, check, fill, enabled ? s.CheckedColor : s.DisabledColor);
  const TColor tick = enabled ? clBlack : s.DisabledColor;
  const int l = check.left(), t = check.top(), r = check.right() + 1, b = check.bottom() + 1;
  Line(p, {l + 1, t + 5}, {l + 4, b - 2}, tick);
  Line(p, {l + 2, t + 5}, {l + 4, b - 3}, tick);
  Line(p, {l + 2, t + 4}, {l + 5, b - 3}, tick);
  Line(p, {l + 4, b - 3}, {r + 2, t - 1}, tick);
  Line(p, {l + 4, b - 2}, {r - 2, t + 3}, tick);
}

}  // namespace

void DrawGradient(QPainter& p, const TFlatPainter& k, const TFlatScheme& s, const QRect& r, bool rightToLeft) {
  int v = 0;
  for (int i = 0; i < r.width(); ++i) {
    const int x = rightToLeft ? r.right() - i : r.left() + i;
    FillRect(p, QRect(x, r.top(), 1, r.height()), NewColor(s.IconBackColor, v));
    v = std::min(v + (i < k.IconWidth + 5 ? 3 : 1), 96);
  }
}

void PaintMenuItem(QPainter& p, const TFlatPainter& k, const QStyleOptionMenuItem& o, int iconSize) {
  const TFlatScheme s = k.Scheme();
  const QRect r = o.rect;
  const bool rtl = o.direction == Qt::RightToLeft;
  const bool selected = o.state & QStyle::State_Selected;
  const bool enabled = o.state & QStyle::State_Enabled;
  const bool separator = o.menuItemType == QStyleOptionMenuItem::Separator;
  const QImage image = ItemImage(o, iconSize);
  const bool hasImage = !image.isNull();
  const int iw = k.IconWidth;

  const QRect strip = rtl ? QRect(r.right() + 1 - iw, r.top(), iw, r.height()) : QRect(r.left(), r.top(), iw, r.height());
  QRect check;
  if (hasImage) {
    check = strip.adjusted(1, 2, -3, -2);
    if (image.width() > iw) check.setWidth(image.width());
  } else {
    check = QRect(strip.left() + (iw - 10) / 2, r.top() + (r.height() - 10) / 2, 10, 10);
  }
  QRect text = r;
  if (rtl)
    text.setRight(hasImage && image.width() > iw ? r.right() - image.width() - 8 : r.right() - iw);
  else
    text.setLeft(hasImage && image.width() > iw ? r.left() + image.width() + 4 : r.left() + iw);

  FillRect(p, r, s.FColor);
  if (k.Gradient && s.Is16Bit)
    DrawGradient(p, k, s, r.adjusted(rtl ? -2 : 0, 0, rtl ? 0 : 2, 0), rtl);
  else
    FillRect(p, strip, s.IconBackColor);
  const bool boxed = selected && k.DrawSelect && enabled;
  if (boxed)
    FillFramed(p, QRect(QPoint(r.left(), r.top() + 1), QPoint(r.right() - (k.FlatMenu ? 1 : 0), r.bottom())),
               s.SelectColor, s.SelectBorderColor);
  const bool checked = o.checkType != QStyleOptionMenuItem::NotCheckable && o.checked;
  if (checked)
    DrawCheckedItem(p, s, check, o.checkType == QStyleOptionMenuItem::Exclusive, hasImage, selected, enabled);
  DrawIcon(p, k, s, image, strip, TIconPlace::MenuItem, {selected, false, enabled, checked}, rtl);
  if (separator) {
    const int y = r.top() + static_cast<int>(std::nearbyint((r.height() + 1) / 2.0));
    if (rtl)
      Line(p, {text.left(), y}, {text.right() - 7, y}, s.SeparatorColor);
    else
      Line(p, {text.left() + 7, y}, {text.right(), y}, s.SeparatorColor);
    return;
  }
  QString caption, shortCut;
  SplitText(o.text, caption, shortCut);
  const QRect indented = rtl ? text.adjusted(0, 0, -3, 0) : text.adjusted(3, 0, 0, 0);
  TTextState st;
  st.Selected = selected;
  st.Enabled = enabled;
  st.Default = o.menuItemType == QStyleOptionMenuItem::DefaultItem;
  st.RightToLeft = rtl;
  st.Background = boxed ? s.SelectColor : s.FColor;
  DrawTheText(p, k, s, u' ' + caption, shortCut, indented, st, k.Font(), k.Colors.FontColor,
              Qt::AlignVCenter | (rtl ? Qt::AlignRight : Qt::AlignLeft));
}

void PaintMenuBarItem(QPainter& p, const TFlatPainter& k, const QStyleOptionMenuItem& o, int iconSize) {
  const TFlatScheme s = k.Scheme();
  const QRect r = o.rect;
  const bool rtl = o.direction == Qt::RightToLeft;
  const bool selected = (o.state & QStyle::State_Selected) && (o.state & QStyle::State_Enabled);
  const QImage image = ItemImage(o, iconSize);
  FillRect(p, r, s.MenuBarColor);
  if (selected && k.DrawSelect) DrawTopMenuItem(p, s, r, k.Colors.MenuBarColor, true, rtl);
  DrawIcon(p, k, s, image, r, TIconPlace::TopMenuItem, {selected, false, bool(o.state & QStyle::State_Enabled), false},
           rtl);
  QRect text = r;
  if (!image.isNull()) {
    if (rtl)
      text.setRight(r.right() - image.width() - 8 + 5);
    else
      text.setLeft(r.left() + image.width() + 4 - 5);
  }
  TTextState st;
  st.Selected = selected;
  st.Enabled = o.state & QStyle::State_Enabled;
  st.TopMenu = true;
  st.RightToLeft = rtl;
  st.Background = selected ? s.SelectColor : s.MenuBarColor;
  DrawTheText(p, k, s, u' ' + o.text, QString(), rtl ? text.adjusted(0, 0, -3, 0) : text.adjusted(3, 0, 0, 0), st,
              k.Font(), k.Colors.FontColor, Qt::AlignVCenter | (rtl ? Qt::AlignRight : Qt::AlignLeft));
}

void PaintMenuPanel(QPainter& p, const TFlatPainter& k, const QRect& r, int fw, bool rightToLeft) {
  const TFlatScheme s = k.Scheme();
  FillRect(p, r, s.FColor);
  const QRect inner = r.adjusted(fw, fw, -fw, -fw);
  const QRect strip = rightToLeft ? QRect(inner.right() + 1 - k.IconWidth, inner.top(), k.IconWidth, inner.height())
                                  : QRect(inner.left(), inner.top(), k.IconWidth, inner.height());
  if (k.Gradient && s.Is16Bit)
    DrawGradient(p, k, s, inner, rightToLeft);
  else
    FillRect(p, strip, s.IconBackColor);
}

void PaintMenuFrame(QPainter& p, const TFlatPainter& k, const QRect& whole, bool rtl) {
  const TFlatScheme s = k.Scheme();
  const int x0 = whole.left(), y0 = whole.top(), w = whole.width(), h = whole.height();
  FrameRect(p, QRect(x0, y0, w - 2, h - 2), s.MenuBorderColor);
  // Inside the frame: a band along the top, over the icon strip in its
  // colour, and a band down the strip's side.
  const QRect top(x0 + 1, y0 + 1, w - 4, 2);
  if (k.Gradient && s.Is16Bit) {
    DrawGradient(p, k, s, top, rtl);
  } else {
    FillRect(p, top, s.FColor);
    const int band = k.IconWidth + 2;
    FillRect(p, rtl ? QRect(top.right() + 1 - band, top.top(), band, 2) : QRect(top.left(), top.top(), band, 2),
             s.IconBackColor);
  }
  FillRect(p, rtl ? QRect(x0 + w - 5, y0 + 1, 2, h - 4) : QRect(x0 + 1, y0 + 1, 2, h - 4), s.IconBackColor);
  // The drop shadow along the bottom and the right, and the corners beside it.
  FillRect(p, QRect(x0 + 2, y0 + h - 2, w - 2, 2), s.MenuShadowColor);
  FillRect(p, QRect(x0 + w - 2, y0 + 2, 2, h - 2), s.MenuShadowColor);
  FillRect(p, QRect(x0, y0 + h - 2, 2, 2), clBtnFace);
  FillRect(p, QRect(x0 + w - 2, y0, 2, 2), clBtnFace);
}

void FillMenuBar(QPainter& p, const TFlatPainter& k, const QRect& r) { FillRect(p, r, k.Scheme().MenuBarColor); }

}  // namespace quillet
