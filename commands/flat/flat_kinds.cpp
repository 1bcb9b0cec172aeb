#include "commands/flat/flat_kinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace quillet {

namespace {

bool IsExactly(const QObject* o, const QMetaObject& meta) { return o && o->metaObject() == &meta; }

bool UnderMenuBar(const QWidget* menu) {
  for (const QObject* p = menu->parent(); p; p = p->parent())
    if (qobject_cast<const QMenuBar*>(p)) return true;
  return false;
}

}  // namespace

bool IsFlatOff(const QObject* object) {
  return object && object->property(kFlatProperty).toString() == QLatin1String("off");
}

bool IsFlatExcluded(const QWidget* widget) { return IsFlatOff(widget) || IsFlatOff(widget->parentWidget()); }

bool IsParentTint(const QWidget* widget) {
  return widget->property(kFlatProperty).toString() == QLatin1String("parentTint");
}

std::optional<TFlatControl> FlatKind(const QWidget* w) {
  if (!w) return std::nullopt;
  if (qobject_cast<const QMenuBar*>(w)) return fcMainMenu;
  if (qobject_cast<const QMenu*>(w)) return UnderMenuBar(w) ? fcMainMenu : fcPopupMenu;
  if (qobject_cast<const QToolBar*>(w) || qobject_cast<const QToolBar*>(w->parentWidget())) {
    // The tool bar, its buttons and its separators; widgets put in a tool
    // bar (a combo box) are controls of their own kind.
    if (qobject_cast<const QToolBar*>(w) || qobject_cast<const QToolButton*>(w) ||
        w->inherits("QToolBarSeparator"))
      return fcToolbar;
  }
  if (qobject_cast<const QComboBox*>(w)) return fcCombo;
  if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
    if (qobject_cast<const QComboBox*>(w->parentWidget())) return std::nullopt;  // the combo box paints it
    return edit->inputMask().isEmpty() ? fcEdit : fcMaskEdit;
  }
  if (qobject_cast<const QPlainTextEdit*>(w)) return fcMemo;
  if (qobject_cast<const QTextEdit*>(w)) return fcRichEdit;
  if (qobject_cast<const QCheckBox*>(w)) return fcCheckBox;
  if (qobject_cast<const QRadioButton*>(w)) return fcRadioButton;
  if (auto* button = qobject_cast<const QPushButton*>(w)) return button->icon().isNull() ? fcButton : fcBitBtn;
  if (qobject_cast<const QToolButton*>(w)) return fcSpeedButton;
  if (qobject_cast<const QGroupBox*>(w)) return fcGroupBox;
  if (IsExactly(w, QFrame::staticMetaObject)) return fcPanel;
  return std::nullopt;
}

bool NeedsContainer(TFlatControl kind) { return kind > fcControlbar; }

std::optional<TFlatContainer> FlatContainerOf(const QWidget* w) {
  const QWidget* p = w->parentWidget();
  if (!p) return std::nullopt;
  if (qobject_cast<const QToolBar*>(p)) return xccToolbar;
  if (qobject_cast<const QGroupBox*>(p)) return xccGroupBox;
  if (IsExactly(p, QFrame::staticMetaObject)) return xccPanel;
  const QWidget* pp = p->parentWidget();
  if (qobject_cast<const QStackedWidget*>(pp) && qobject_cast<const QTabWidget*>(pp->parentWidget()))
    return xccTabSheet;
  if (pp && qobject_cast<const QScrollArea*>(pp->parentWidget())) return xccScrollBox;
  // A window, or a plain widget laying out part of one (a main window's
  // central widget).
  if (p->isWindow() || IsExactly(p, QWidget::staticMetaObject)) return xccForm;
  return std::nullopt;
}

}  // namespace quillet
