#include "commands/flat/flat_style.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOption>

#include "commands/flat/flat_measure.h"
#include "commands/flat/flat_paint.h"
#include "commands/flat/flat_painter.h"

namespace quillet {

namespace {

constexpr char kHoverSet[] = "_quilletFlatHover";
constexpr int kMenuFrame = 3;   // frame, inner band or shadow: 3 pixels a side
constexpr int kIndicator = 16;  // the check box's side

// The text a menu gives the style for the action.
QString ItemText(const QAction* a, bool inBar) {
  QString text = a->text();
  if (!inBar && !text.contains(u'\t') && !a->shortcut().isEmpty())
    text += u'\t' + a->shortcut().toString(QKeySequence::NativeText);
  return text;
}

}  // namespace

void TFlatStyle::polish(QWidget* w) {
  QProxyStyle::polish(w);
  if (!w->testAttribute(Qt::WA_Hover)) {
    w->setAttribute(Qt::WA_Hover);
    w->setProperty(kHoverSet, true);
  }
}

void TFlatStyle::unpolish(QWidget* w) {
  if (w->property(kHoverSet).toBool()) {
    w->setAttribute(Qt::WA_Hover, false);
    w->setProperty(kHoverSet, QVariant());
  }
  QProxyStyle::unpolish(w);
}

bool TFlatStyle::Paints(const QWidget* w, int kindBits) const {
  const auto kind = k_.PaintedKind(w);
  return kind && (FlatBit(*kind) & kindBits);
}

bool TFlatStyle::PaintsMenu(const QWidget* w) const {
  return Paints(w, FlatBit(fcMainMenu) | FlatBit(fcPopupMenu));
}

bool TFlatStyle::ItemOff(const QStyleOption* o, const QWidget* w, bool measuring) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(o);
  if (!item) return true;
  const QAction* action = nullptr;
  if (!measuring) {
    // Drawn items have their place in the menu.
    if (auto* menu = qobject_cast<const QMenu*>(w)) action = menu->actionAt(item->rect.center());
    if (auto* bar = qobject_cast<const QMenuBar*>(w)) action = bar->actionAt(item->rect.center());
  } else {
    // While the menu measures, places are not known yet: the item is the
    // first visible action with its text.
    const bool inBar = qobject_cast<const QMenuBar*>(w);
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    for (const QAction* a : w->actions()) {
      if (!a->isVisible()) continue;
      if (separator ? a->isSeparator() : !a->isSeparator() && ItemText(a, inBar) == item->text) {
        action = a;
        break;
      }
    }
  }
  return IsFlatOff(action);
}

int TFlatStyle::pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const {
  switch (m) {
    case PM_MenuPanelWidth:
      if (k_.FlatMenu && PaintsMenu(w)) return kMenuFrame;
      break;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      if (PaintsMenu(w)) return 0;
      break;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
      if (Paints(w, FlatBit(fcCheckBox))) return kIndicator;
      break;
    case PM_ExclusiveIndicatorWidth:
      if (Paints(w, FlatBit(fcRadioButton))) return kIndicator;
      break;
    case PM_ExclusiveIndicatorHeight:
      if (Paints(w, FlatBit(fcRadioButton))) return kIndicator - 1;
      break;
    default:
      break;
  }
  return QProxyStyle::pixelMetric(m, o, w);
}

QSize TFlatStyle::sizeFromContents(ContentsType type, const QStyleOption* o, const QSize& size,
                                   const QWidget* w) const {
  const bool bar = type == CT_MenuBarItem;
  if ((type == CT_MenuItem || bar) && PaintsMenu(w) && !ItemOff(o, w, true)) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(o);
    const int iconSize = proxy()->pixelMetric(PM_SmallIconSize, o, w);
    TMenuItemText text;
    const qsizetype tab = item->text.indexOf(u'\t');
    text.Caption = item->menuItemType == QStyleOptionMenuItem::Separator ? QStringLiteral("-") : item->text.left(tab);
    if (tab >= 0) text.ShortCut = item->text.mid(tab + 1);
    if (!item->icon.isNull()) text.Image = item->icon.actualSize(QSize(iconSize, iconSize));
    text.TopLevel = bar;
    QSize got = MeasureMenuItem(QFontMetrics(k_.Font()), text, k_.IconWidth);
    // The menu adds the widest shortcut of its own accord after asking.
    if (!text.ShortCut.isEmpty()) got.rwidth() -= w->fontMetrics().horizontalAdvance(text.ShortCut);
    return got;
  }
  return QProxyStyle::sizeFromContents(type, o, size, w);
}

void TFlatStyle::drawPrimitive(PrimitiveElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const {
  switch (e) {
    case PE_PanelMenu:
      if (PaintsMenu(w))
        return PaintMenuPanel(*p, k_, o->rect, proxy()->pixelMetric(PM_MenuPanelWidth, o, w),
                              o->direction == Qt::RightToLeft);
      break;
    case PE_FrameMenu:
      if (k_.FlatMenu && PaintsMenu(w)) return PaintMenuFrame(*p, k_, o->rect, o->direction == Qt::RightToLeft);
      break;
    case PE_PanelToolBar:
      if (Paints(w, FlatBit(fcToolbar))) return PaintToolBarPanel(*p, k_, *o);
      break;
    case PE_IndicatorToolBarSeparator:
      if (Paints(w, FlatBit(fcToolbar))) return PaintToolBarSeparator(*p, k_, *o);
      break;
    case PE_IndicatorToolBarHandle:
      if (Paints(w, FlatBit(fcToolbar)) && (k_.FlatControls() & FlatBit(fcControlbar)))
        return PaintToolBarHandle(*p, k_, *o);
      break;
    case PE_PanelLineEdit:
      if (Paints(w, FlatBit(fcEdit) | FlatBit(fcMaskEdit)))
        if (auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(o)) return PaintEdit(*p, k_, *frame, w);
      break;
    case PE_IndicatorCheckBox:
      if (Paints(w, FlatBit(fcCheckBox))) return PaintCheckBox(*p, k_, *o);
      break;
    case PE_IndicatorRadioButton:
      if (Paints(w, FlatBit(fcRadioButton))) return PaintRadio(*p, k_, *o);
      break;
    default:
      break;
  }
  QProxyStyle::drawPrimitive(e, o, p, w);
}

void TFlatStyle::drawControl(ControlElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const {
  switch (e) {
    case CE_MenuItem:
      if (PaintsMenu(w) && !ItemOff(o, w, false))
        return PaintMenuItem(*p, k_, *qstyleoption_cast<const QStyleOptionMenuItem*>(o),
                             proxy()->pixelMetric(PM_SmallIconSize, o, w));
      break;
    case CE_MenuEmptyArea:
      if (PaintsMenu(w)) return;  // the panel lies there already
      break;
    case CE_MenuBarItem:
      if (PaintsMenu(w) && !ItemOff(o, w, false))
        return PaintMenuBarItem(*p, k_, *qstyleoption_cast<const QStyleOptionMenuItem*>(o),
                                proxy()->pixelMetric(PM_SmallIconSize, o, w));
      break;
    case CE_MenuBarEmptyArea:
      if (k_.DrawMenuBar && PaintsMenu(w)) return FillMenuBar(*p, k_, o->rect);
      break;
    case CE_PushButton:
      if (Paints(w, FlatBit(fcButton) | FlatBit(fcBitBtn)))
        if (auto* button = qstyleoption_cast<const QStyleOptionButton*>(o)) return PaintButton(*p, k_, *button, w);
      break;
    case CE_ShapedFrame:
      if (auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(o)) {
        if (Paints(w, FlatBit(fcPanel))) return PaintPanel(*p, *frame);
        if (Paints(w, FlatBit(fcMemo) | FlatBit(fcRichEdit))) return PaintEdit(*p, k_, *frame, w);
      }
      break;
    default:
      break;
  }
  QProxyStyle::drawControl(e, o, p, w);
}

void TFlatStyle::drawComplexControl(ComplexControl c, const QStyleOptionComplex* o, QPainter* p,
                                    const QWidget* w) const {
  switch (c) {
    case CC_ToolButton:
      if (auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(o)) {
        if (Paints(w, FlatBit(fcToolbar))) return PaintToolButton(*p, k_, *button, w);
        if (Paints(w, FlatBit(fcSpeedButton))) return PaintSpeedButton(*p, k_, *button, w);
      }
      break;
    case CC_ComboBox:
      if (Paints(w, FlatBit(fcCombo)))
        if (auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(o)) return PaintCombo(*p, k_, *combo, w);
      break;
    case CC_GroupBox:
      if (auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(o))
        if (Paints(w, FlatBit(fcGroupBox)) && !(box->subControls & SC_GroupBoxCheckBox))
          return PaintGroupBox(*p, *box, w);
      break;
    default:
      break;
  }
  QProxyStyle::drawComplexControl(c, o, p, w);
}

}  // namespace quillet
