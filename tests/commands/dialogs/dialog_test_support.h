#pragma once
// Driving a command dialog as a user would: shown through the modal runner,
// acted on through its widget tree, its result read; the tab order of its
// named controls; its picture as a render.
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QTest>
#include <functional>

#include "engine/view/base_form.h"
#include "platform/ui/control.h"

namespace quillet::test {

// Shows the form modally, runs act (which closes it, e.g. by a click on
// OK) and answers the modal result; 0 when act left the form open.
inline int Drive(TfrmDVBase& form, const std::function<void()>& act) {
  TScopedModalRunner runner([&](TfrmDVBase& shown) {
    shown.Dialog()->show();
    QApplication::processEvents();
    act();
    QApplication::processEvents();
    if (shown.Dialog()->isVisible()) {
      shown.Dialog()->hide();
      return 0;
    }
    return shown.ModalResult();
  });
  return form.ShowModal();
}

// A click on a point of a control (its centre by default), through the
// form's window as the mouse would.
inline void Click(TfrmDVBase& form, TCustomControl& control, QPoint at = QPoint(-1, -1)) {
  QWidget* client = control.ClientWidget();
  if (at.x() < 0) at = client->rect().center();
  QTest::mouseClick(form.Dialog()->windowHandle(), Qt::LeftButton, Qt::NoModifier, client->mapTo(form.Dialog(), at));
}

// The named controls that Tab reaches, in tab order, each once. Parts that
// Qt makes inside a control ("qt_" names, a tab bar's scroll arrows) count
// as their control.
inline QStringList TabChain(QWidget* dialog) {
  QStringList names;
  for (QWidget* w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled()) continue;
    QWidget* named = w;
    while (named != dialog && (named->objectName().isEmpty() || named->objectName().startsWith("qt_")))
      named = named->parentWidget();
    if (named == dialog || named->objectName().startsWith("Scroll")) continue;
    if (!names.contains(named->objectName())) names << named->objectName();
  }
  return names;
}

// The whole form as it is drawn on screen.
inline QImage RenderForm(TfrmDVBase& form) {
  form.Dialog()->show();
  QApplication::processEvents();
  QImage image = form.Dialog()->grab().toImage();
  form.Dialog()->hide();
  return image;
}

}  // namespace quillet::test
