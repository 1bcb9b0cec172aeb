// Tool bars and the form's controls.
#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

#include "commands/flat/flat_bitmaps.h"
#include "commands/flat/flat_draw.h"
#include "commands/flat/flat_kinds.h"
#include "commands/flat/flat_paint.h"
#include "commands/flat/flat_painter.h"
#include "platform/gfx/qt_color.h"

namespace quillet {

namespace {

constexpr int kDropDown = 13;   // the arrow part of a drop-down tool button
constexpr int kThumb = 16;      // the combo box button's width less 1
constexpr int kSpacing = 4;     // between a button's glyph and caption

TColor BackgroundOf(const QWidget* w) { return FromQColor(w->palette().color(w->backgroundRole())); }

// What the widget stands on.
TColor ParentColor(const QStyleOption& o, const QWidget* w) {
  if (w && w->parentWidget()) return BackgroundOf(w->parentWidget());
  return FromQColor(o.palette.color(QPalette::Window));
}

bool Hot(const QStyleOption& o) {
  return (o.state & QStyle::State_MouseOver) && (o.state & QStyle::State_Enabled);
}
bool Focused(const QStyleOption& o) { return o.state & QStyle::State_HasFocus; }
bool Enabled(const QStyleOption& o) { return o.state & QStyle::State_Enabled; }

TColor BarColor(const TFlatScheme& s, TColor c) { return s.Is16Bit ? NewColor(c, 16) : c; }

QImage IconImage(const QIcon& icon, QSize size) {
  if (icon.isNull()) return {};
  return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Frame3D: `width` rings, top and left in one colour, bottom and right in the other.
void Frame3D(QPainter& p, QRect r, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
    FillRect(p, QRect(r.left(), r.top(), r.width(), 1), topLeft);
    FillRect(p, QRect(r.left(), r.top(), 1, r.height()), topLeft);
    FillRect(p, QRect(r.left() + 1, r.bottom(), r.width() - 1, 1), bottomRight);
    FillRect(p, QRect(r.right(), r.top() + 1, 1, r.height() - 1), bottomRight);
    r.adjust(1, 1, -1, -1);
  }
}

struct TFace {
  TColor Face, Border;
};

// A button's face and border: highlighted, idle, or idle with the focus;
// tinted from the parent for "parentTint".
TFace ButtonFace(const TFlatScheme& s, const QStyleOption& o, const QWidget* w) {
  const bool tint = w && IsParentTint(w);
  const TColor parent = ParentColor(o, w);
  if (Hot(o))
    return {NewColor(tint ? parent : clBtnFace, s.DimParentColorSelect), NewColor(s.SelectBorderColor, 60)};
  return {tint ? NewColor(parent, s.DimParentColor) : s.IconBackColor,
          Focused(o) ? NewColor(s.SelectBorderColor, 60) : clBtnShadow};
}

void RoundedFace(QPainter& p, const QRect& r, TColor face, TColor outline) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(ToQColor(outline));
  p.setBrush(ToQColor(face));
  p.drawRoundedRect(r.adjusted(0, 0, -1, -1), 2, 2);
  p.restore();
}

// The glyph left of the caption, the pair centred in the rectangle.
void GlyphAndCaption(QPainter& p, const TFlatPainter& k, const TFlatScheme& s, const QRect& r, const QImage& glyph,
                     const QString& text, TIconState icon, TTextState st, TColor textColor) {
  const QFontMetrics fm(p.font());
  const int tw = text.isEmpty() ? 0 : fm.horizontalAdvance(QString(text).remove(u'&'));
  const int th = text.isEmpty() ? 0 : fm.height();
  const int gw = glyph.isNull() ? 0 : glyph.width(), gh = glyph.isNull() ? 0 : glyph.height();
  const int space = text.isEmpty() || glyph.isNull() ? 0 : kSpacing;
  const int x = r.left() + (r.width() - (space + gw + tw)) / 2;
  if (!glyph.isNull())
    DrawIcon(p, k, s, glyph, QRect(x, r.top() + (r.height() - gh) / 2 - 2, gw, gh), TIconPlace::Button, icon,
             st.RightToLeft);
  if (text.isEmpty()) return;
  const QRect tr(x + gw + space, r.top() + (r.height() - th) / 2, tw + 2, th);
  DrawTheText(p, k, s, text, QString(), tr, st, p.font(), textColor, Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace

void PaintToolBarPanel(QPainter& p, const TFlatPainter& k, const QStyleOption& o) {
  FillRect(p, o.rect, BarColor(k.Scheme(), FromQColor(o.palette.color(QPalette::Window))));
}

void PaintToolButton(QPainter& p, const TFlatPainter& k, const QStyleOptionToolButton& o, const QWidget* w) {
  const TFlatScheme s = k.Scheme();
  const TColor bar = ParentColor(o, w);
  const TColor hover = s.Is16Bit && !k.Colors.UseSystemColors ? NewColor(k.Colors.SelectColor, 68) : s.SelectColor;
  const QRect r = o.rect;
  const bool hot = Hot(o), checked = o.state & QStyle::State_On, down = o.state & QStyle::State_Sunken;
  const bool dropDown = o.features & QStyleOptionToolButton::MenuButtonPopup;
  const bool menuShown = down && (o.features & QStyleOptionToolButton::HasMenu);
  FillRect(p, r, BarColor(s, bar));
  if (menuShown) {
    DrawTopMenuItem(p, s, r, BarColor(s, bar), false, o.direction == Qt::RightToLeft);
  } else if (hot || checked || down) {
    const TColor fill = checked || down ? (hot || down ? s.CheckedAreaSelectColor : s.CheckedAreaColor) : hover;
    const QRect state(r.left(), r.top() + 1, r.width(), r.height() - 1);
    FillRect(p, state, fill);
    const QRect frame(r.left(), r.top() + 1, r.width() - 1, r.height() - 1);
    if (dropDown) {
      FrameRect(p, frame.adjusted(0, 0, -kDropDown, 0), s.SelectBorderColor);
      FrameRect(p, QRect(frame.right() + 1 - kDropDown, frame.top(), kDropDown, frame.height()), s.SelectBorderColor);
    } else {
      FrameRect(p, frame, s.SelectBorderColor);
    }
  }
  if (dropDown) DrawArrow(p, r.right() + 1 - 10, r.top() + (r.height() - 3) / 2 + 1, clBlack);

  const QRect content = dropDown ? r.adjusted(0, 0, -12, 0) : r;
  const bool beside = o.toolButtonStyle == Qt::ToolButtonTextBesideIcon;
  const bool showText = o.toolButtonStyle != Qt::ToolButtonIconOnly && !o.text.isEmpty();
  const QImage image = o.toolButtonStyle == Qt::ToolButtonTextOnly ? QImage() : IconImage(o.icon, o.iconSize);
  const int iw = image.isNull() ? 0 : image.width();
  if (!image.isNull()) {
    const int x = beside ? content.left() + 3
                         : content.left() + static_cast<int>(std::nearbyint((content.width() - iw) / 2.0));
    const int top = showText && !beside ? content.top() + 2 : content.top() + (content.height() - image.height()) / 2 - 1;
    DrawIcon(p, k, s, image, QRect(x, top, iw, image.height() + 6), TIconPlace::ToolButton,
             {hot, down, Enabled(o), checked}, o.direction == Qt::RightToLeft);
  }
  if (!showText) return;
  p.setFont(k.Font());
  const int th = QFontMetrics(k.Font()).height();
  QRect tr = content;
  int flags = Qt::AlignHCenter | Qt::AlignVCenter;
  if (beside && !image.isNull()) {
    tr.setLeft(content.left() + iw + 6);
    flags = Qt::AlignLeft | Qt::AlignVCenter;
  } else if (!image.isNull()) {
    tr.setTop(content.bottom() + 1 - th - 6);
  }
  TTextState st;
  st.Selected = down;
  st.Enabled = Enabled(o);
  st.Background = bar;
  DrawTheText(p, k, s, o.text, QString(), tr, st, k.Font(), k.Colors.FontColor, flags);
}

void PaintToolBarSeparator(QPainter& p, const TFlatPainter& k, const QStyleOption& o) {
  const TFlatScheme s = k.Scheme();
  const TColor bar = FromQColor(o.palette.color(QPalette::Window));
  const QRect r = o.rect;
  FillRect(p, r, BarColor(s, bar));
  const TColor line = GetShadeColor(bar, 30);
  if (o.state & QStyle::State_Horizontal) {
    const int x = r.left() + r.width() / 2;
    Line(p, {x, r.top() + 2}, {x, r.bottom() - 1}, line);
  } else {
    const int y = r.top() + r.height() / 2;
    Line(p, {r.left() + 2, y}, {r.right() - 1, y}, line);
  }
}

void PaintToolBarHandle(QPainter& p, const TFlatPainter& k, const QStyleOption& o) {
  const TFlatScheme s = k.Scheme();
  const TColor c = FromQColor(o.palette.color(QPalette::Window));
  const QRect r = o.rect;
  FillRect(p, r, s.Is16Bit ? NewColor(c, 6) : c);
  // The grabber: short lines on every other row, darkening as they go.
  const bool across = o.state & QStyle::State_Horizontal;  // the bar runs across, its handle stands upright
  const int from = across ? r.top() : r.left(), to = across ? r.bottom() : r.right();
  int v = 30;
  for (int i = from + 5; i <= to - 5; i += 2) {
    const TColor color = GetShadeColor(c, v);
    if (across)
      FillRect(p, QRect(r.left() + 3, i, 3, 1), color);
    else
      FillRect(p, QRect(i, r.top() + 3, 1, 3), color);
    v += 7;
  }
}

void PaintEdit(QPainter& p, const TFlatPainter& k, const QStyleOptionFrame& o, const QWidget* w) {
  const TFlatScheme s = k.Scheme();
  const bool single = o.lineWidth > 0 || o.frameShape != QFrame::NoFrame;
  const TColor parent = ParentColor(o, w);
  TColor border;
  if (Hot(o) || Focused(o))
    border = NewColor(s.SelectBorderColor, single ? 60 : 80);
  else
    border = single ? GetShadeColor(parent, 60) : parent;
  // A panel paints the edit's ground; a frame leaves the inside to the view.
  if (o.frameShape == QFrame::NoFrame) FillRect(p, o.rect, FromQColor(o.palette.color(QPalette::Base)));
  FrameRect(p, o.rect, border);
  FrameRect(p, o.rect.adjusted(1, 1, -1, -1), FromQColor(o.palette.color(QPalette::Base)));
}

void PaintCombo(QPainter& p, const TFlatPainter& k, const QStyleOptionComboBox& o, const QWidget* w) {
  const TFlatScheme s = k.Scheme();
  const bool hot = Hot(o), focused = Focused(o), dropped = o.state & QStyle::State_On;
  const TColor control = FromQColor(o.palette.color(QPalette::Base));
  const TColor parent = ParentColor(o, w);
  TColor arrow = Enabled(o) ? clBlack : clWhite, border, button;
  if (hot) {
    border = s.SelectBorderColor, button = s.SelectColor;
  } else if (focused) {
    border = NewColor(s.SelectBorderColor, 60), button = s.CheckedAreaColor;
  } else {
    border = control;
    button = w && IsParentTint(w) ? NewColor(parent, s.DimParentColor) : clBtnFace;
  }
  if (dropped) border = s.SelectBorderColor, arrow = clWhite, button = s.CheckedAreaSelectColor;
  const QRect r = o.rect;
  FrameRect(p, r, parent);
  FillRect(p, r.adjusted(1, 1, -1, -1), control);
  const QRect inner = hot || focused ? r : r.adjusted(1, 1, -1, -1);
  FrameRect(p, inner, border);
  if (!o.subControls.testFlag(QStyle::SC_ComboBoxArrow)) return;
  const bool rtl = o.direction == Qt::RightToLeft;
  const QRect in = inner.adjusted(1, 1, -1, -1);
  const int bw = kThumb + 1 + (hot || focused ? (rtl ? 2 : 1) : 0);
  const QRect area = rtl ? QRect(in.left(), in.top(), bw, in.height()) : QRect(in.right() + 1 - bw, in.top(), bw, in.height());
  FillRect(p, area, button);
  // The 5 pixels nearest the text stay in the control's colour, closed by a line.
  const QRect gap = rtl ? QRect(area.right() - 4, area.top(), 5, area.height()) : QRect(area.left(), area.top(), 5, area.height());
  FillRect(p, gap, control);
  const int lineX = rtl ? gap.left() - 1 : gap.right() + 1;
  Line(p, {lineX, area.top()}, {lineX, area.bottom()}, border);
  const int ax = rtl ? r.left() + 5 : r.right() + 1 - 10;
  DrawArrow(p, ax, r.top() + (r.height() - 3) / 2, arrow);
}

namespace {

struct TBox {
  QRect Box;
  TColor Fill, Frame, Mark;
};

TBox IndicatorBox(const TFlatScheme& s, const QStyleOption& o, bool radio) {
  const bool hot = Hot(o), focused = Focused(o);
  TBox b;
  b.Fill = hot || focused ? s.SelectColor : clWindow;
  b.Frame = hot || (focused && !radio) ? s.SelectBorderColor : clBtnShadow;
  const bool pressed = o.state & QStyle::State_Sunken;
  const bool grayed = o.state & QStyle::State_NoChange;
  if (!radio && pressed) b.Fill = s.CheckedAreaSelectColor;
  if (!radio && grayed) b.Fill = clSilver;
  b.Mark = !Enabled(o) ? s.DisabledColor : pressed && !radio ? clWindow : grayed ? clGray : clHighlight;
  if (radio && !Enabled(o)) b.Mark = s.DisabledColor;
  b.Box = o.rect.adjusted(2, 2, -2, -2);
  return b;
}

}  // namespace

void PaintCheckBox(QPainter& p, const TFlatPainter& k, const QStyleOption& o) {
  const TFlatScheme s = k.Scheme();
  const TBox b = IndicatorBox(s, o, false);
  FillRect(p, o.rect, FromQColor(o.palette.color(QPalette::Window)));
  FillFramed(p, b.Box, b.Fill, b.Frame);
  if (o.state & (QStyle::State_On | QStyle::State_NoChange)) DrawCheckMark(p, b.Box.left(), b.Box.bottom() + 1, b.Mark);
}

void PaintRadio(QPainter& p, const TFlatPainter& k, const QStyleOption& o) {
  const TFlatScheme s = k.Scheme();
  const TBox b = IndicatorBox(s, o, true);
  FillRect(p, o.rect, FromQColor(o.palette.color(QPalette::Window)));
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(ToQColor(b.Frame));
  p.setBrush(ToQColor(b.Fill));
  p.drawEllipse(b.Box.adjusted(0, 0, -1, -1));
  if (o.state & QStyle::State_On) {
    p.setPen(ToQColor(b.Mark));
    p.setBrush(ToQColor(b.Mark));
    p.drawEllipse(b.Box.adjusted(2, 2, -3, -3));
  }
  p.restore();
}

void PaintButton(QPainter& p, const TFlatPainter& k, const QStyleOptionButton& o, const QWidget* w) {
  const TFlatScheme s = k.Scheme();
  const TFace f = ButtonFace(s, o, w);
  const QRect r = o.rect;
  FillRect(p, r, ParentColor(o, w));
  RoundedFace(p, r, f.Face, NewColor(f.Border, 30));
  if (Enabled(o)) {
    const TColor edge = GetShadeColor(f.Border, 50);
    const int l = r.left(), t = r.top(), right = r.right() + 1, b = r.bottom() + 1;
    if (o.state & QStyle::State_Sunken) {
      Line(p, {l, b - 2}, {l, t + 1}, edge);
      Line(p, {l + 1, t}, {right - 2, t}, edge);
    } else {
      Line(p, {right - 1, t + 1}, {right - 1, b - 2}, edge);
      Line(p, {right - 2, b - 1}, {l, b - 1}, edge);
    }
  }
  TTextState st;
  st.Enabled = Enabled(o);
  st.Default = o.features & QStyleOptionButton::DefaultButton;
  st.RightToLeft = o.direction == Qt::RightToLeft;
  st.Background = f.Face;
  p.setFont(w ? w->font() : p.font());
  GlyphAndCaption(p, k, s, r, IconImage(o.icon, o.iconSize), o.text, {Hot(o), Focused(o), Enabled(o), false}, st,
                  FromQColor(o.palette.color(QPalette::ButtonText)));
}

void PaintSpeedButton(QPainter& p, const TFlatPainter& k, const QStyleOptionToolButton& o, const QWidget* w) {
  const TFlatScheme s = k.Scheme();
  const bool flat = o.state & QStyle::State_AutoRaise;
  const bool down = o.state & QStyle::State_On, pressed = o.state & QStyle::State_Sunken;
  TFace f = ButtonFace(s, o, w);
  if (flat) f.Face = Hot(o) ? s.SelectColor : ParentColor(o, w);
  const QRect r = o.rect;
  FillRect(p, r, ParentColor(o, w));
  if (down) {
    FillFramed(p, r, Hot(o) ? s.CheckedAreaSelectColor : s.CheckedAreaColor, s.SelectBorderColor);
  } else if (!Enabled(o)) {
    FillFramed(p, r, f.Face, clBtnShadow);
  } else if (!flat || Hot(o)) {
    RoundedFace(p, r, f.Face, NewColor(f.Border, 30));
  }
  TTextState st;
  st.Enabled = Enabled(o);
  st.RightToLeft = o.direction == Qt::RightToLeft;
  st.Background = f.Face;
  p.setFont(w ? w->font() : p.font());
  const QString text = o.toolButtonStyle == Qt::ToolButtonIconOnly ? QString() : o.text;
  GlyphAndCaption(p, k, s, r, IconImage(o.icon, o.iconSize), text, {Hot(o), pressed, Enabled(o), down || pressed}, st,
                  FromQColor(o.palette.color(QPalette::ButtonText)));
}

void PaintPanel(QPainter& p, const QStyleOptionFrame& o) {
  if (o.frameShape == QFrame::NoFrame) return;
  const TColor c = FromQColor(o.palette.color(QPalette::Window));
  const TColor dark = GetShadeColor(c, 60), light = NewColor(c, 60);
  const bool lowered = o.state & QStyle::State_Sunken;
  Frame3D(p, o.rect, lowered ? dark : light, lowered ? light : dark, std::max(1, o.lineWidth));
}

void PaintGroupBox(QPainter& p, const QStyleOptionGroupBox& o, const QWidget* w) {
  const TColor c = FromQColor(o.palette.color(QPalette::Window));
  const QFont font = w ? w->font() : p.font();
  const QFontMetrics fm(font);
  const int h = fm.height();
  const QRect frame(o.rect.left(), o.rect.top() + h / 2, o.rect.width(), o.rect.height() - h / 2);
  const TColor dark = GetShadeColor(c, 60);
  const bool flat = o.features & QStyleOptionFrame::Flat;
  Frame3D(p, frame, flat ? dark : NewColor(c, 60), dark, 1);
  if (o.text.isEmpty()) return;
  const int tw = fm.horizontalAdvance(QString(o.text).remove(u'&')) + 2;
  const bool rtl = o.direction == Qt::RightToLeft;
  const QRect caption = rtl ? QRect(o.rect.right() + 1 - 9 - tw, o.rect.top(), tw, h) : QRect(o.rect.left() + 9, o.rect.top(), tw, h);
  FillRect(p, caption, c);
  p.setFont(font);
  p.setPen(o.palette.color(Enabled(o) ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  p.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, o.text);
}

}  // namespace quillet
