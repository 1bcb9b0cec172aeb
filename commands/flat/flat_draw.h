#pragma once
// Drawing steps shared by the flat menu and control painting: fills and
// frames in platform colours, icons in their states and texts with their
// shortcut and the default item's embossed halo.
#include <QImage>
#include <QRect>
#include <QString>

#include "commands/flat/flat_colors.h"

class QFont;
class QPainter;

namespace quillet {

class TFlatPainter;

void FillRect(QPainter& p, const QRect& r, TColor color);
// A one-pixel outline just inside the rectangle.
void FrameRect(QPainter& p, const QRect& r, TColor color);
void FillFramed(QPainter& p, const QRect& r, TColor fill, TColor frame);
// From a to b, both ends included.
void Line(QPainter& p, QPoint a, QPoint b, TColor color);

enum class TIconPlace : uint8_t { MenuItem, TopMenuItem, ToolButton, Button };

struct TIconState {
  bool Hot = false, Pressed = false, Enabled = true, Checked = false;
};

// The icon in its state at the place's position in the rectangle: dimmed
// while idle on a 16-bit device, greyed and dimmed when disabled, raised
// with a shadow when hot.
void DrawIcon(QPainter& p, const TFlatPainter& k, const TFlatScheme& s, QImage image, const QRect& r,
              TIconPlace place, TIconState state, bool rightToLeft);

struct TTextState {
  bool Selected = false, Enabled = true, Default = false, TopMenu = false, RightToLeft = false;
  // What lies under the text, which the default item's halo is shaded from.
  TColor Background = clBtnFace;
};

// The text (mnemonics shown) and the shortcut right-aligned 10 pixels from
// the far side, in the state's colour.
void DrawTheText(QPainter& p, const TFlatPainter& k, const TFlatScheme& s, const QString& text,
                 const QString& shortCut, const QRect& r, TTextState state, const QFont& font, TColor fontColor,
                 int flags);

// A selected menu-bar item or a tool button with a menu showing.
void DrawTopMenuItem(QPainter& p, const TFlatScheme& s, const QRect& r, TColor back, bool isMenu, bool rightToLeft);

}  // namespace quillet
