#pragma once
// The flat drawing of each menu part and control kind, called by the flat
// style with the option Qt filled in for the widget.
#include <QRect>

#include "commands/flat/flat_colors.h"

class QPainter;
class QStyleOption;
class QStyleOptionButton;
class QStyleOptionComboBox;
class QStyleOptionFrame;
class QStyleOptionGroupBox;
class QStyleOptionMenuItem;
class QStyleOptionToolButton;
class QWidget;

namespace quillet {

class TFlatPainter;

// Menus. iconSize: the side of the icon taken from the item's icon.
void PaintMenuItem(QPainter& p, const TFlatPainter& k, const QStyleOptionMenuItem& o, int iconSize);
void PaintMenuBarItem(QPainter& p, const TFlatPainter& k, const QStyleOptionMenuItem& o, int iconSize);
// The popup's background, icon strip included, behind its items.
void PaintMenuPanel(QPainter& p, const TFlatPainter& k, const QRect& r, int frameWidth, bool rightToLeft);
// The popup's frame with its 2-pixel drop shadow inside the popup's rectangle.
void PaintMenuFrame(QPainter& p, const TFlatPainter& k, const QRect& r, bool rightToLeft);
void FillMenuBar(QPainter& p, const TFlatPainter& k, const QRect& r);
// Columns from the strip's edge lightening towards the far side.
void DrawGradient(QPainter& p, const TFlatPainter& k, const TFlatScheme& s, const QRect& r, bool rightToLeft);

// Tool bars.
void PaintToolBarPanel(QPainter& p, const TFlatPainter& k, const QStyleOption& o);
void PaintToolButton(QPainter& p, const TFlatPainter& k, const QStyleOptionToolButton& o, const QWidget* w);
void PaintToolBarSeparator(QPainter& p, const TFlatPainter& k, const QStyleOption& o);
void PaintToolBarHandle(QPainter& p, const TFlatPainter& k, const QStyleOption& o);

// Controls.
void PaintEdit(QPainter& p, const TFlatPainter& k, const QStyleOptionFrame& o, const QWidget* w);
void PaintCombo(QPainter& p, const TFlatPainter& k, const QStyleOptionComboBox& o, const QWidget* w);
void PaintCheckBox(QPainter& p, const TFlatPainter& k, const QStyleOption& o);
void PaintRadio(QPainter& p, const TFlatPainter& k, const QStyleOption& o);
void PaintButton(QPainter& p, const TFlatPainter& k, const QStyleOptionButton& o, const QWidget* w);
void PaintSpeedButton(QPainter& p, const TFlatPainter& k, const QStyleOptionToolButton& o, const QWidget* w);
void PaintPanel(QPainter& p, const QStyleOptionFrame& o);
void PaintGroupBox(QPainter& p, const QStyleOptionGroupBox& o, const QWidget* w);

}  // namespace quillet
