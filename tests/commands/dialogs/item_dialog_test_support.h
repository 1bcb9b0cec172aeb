#pragma once
// Driving the command dialogs offscreen: the modal runner shows the real
// dialog, the test acts on its widgets, and the result is what closed it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <QWindow>
#include <functional>

#include "../controls/color_test_support.h"
#include "../controls/render_support.h"
#include "commands/controls/color_combo.h"
#include "commands/controls/color_popup.h"
#include "commands/controls/picture_radio.h"
#include "engine/view/base_form.h"

namespace quillet::test {

// Shows the form modally through the runner, runs act on it while shown and
// gives the modal result (2 when act closed nothing).
inline int RunDialog(TfrmDVBase& form, const std::function<void()>& act) {
  TScopedModalRunner runner([&](TfrmDVBase& shown) {
    QDialog* dialog = shown.Dialog();
    dialog->setResult(0);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    (void)QTest::qWaitForWindowExposed(dialog);
    act();
    ProcessPosted();
    if (dialog->isVisible()) shown.Close(mrCancel);
    return shown.ModalResult();
  });
  return form.ShowModal();
}

inline int RunOk(TfrmDVBase& form, const std::function<void()>& act = [] {}) {
  return RunDialog(form, [&] {
    act();
    QTest::keyClick(form.Dialog(), Qt::Key_Return);
  });
}

// A click on one of the command layer's controls at (x, y) of its client area.
inline void ClickControl(TCustomControl& control, int x, int y) {
  QWidget* client = control.ClientWidget();
  QWidget* top = client->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, client->mapTo(top, QPoint(x, y)));
}

inline void ClickItem(TDVPictureRadioGroup& group, int index) {
  TDVPictureRadioButton& button = group.Button(index);
  ClickControl(button, button.Width() / 2, button.Height() / 2);
}

// Drops the combo's palette and clicks colour button index (1 + 26 is
// yellow, 0 the automatic colour); the colour chosen.
inline TColor PickColor(TDVColorCombo& combo, int index) {
  ClickControl(combo, 10, combo.Height() / 2);
  ProcessPosted();
  TfrmColor* popup = combo.Popup();
  if (!popup) return clNone;
  QTest::mouseClick(popup->ColorButton(index), Qt::LeftButton);
  ProcessPosted();
  return combo.ChosenColor();
}

// Replaces a field's text as the user would.
inline void Type(QWidget* field, const char* text) {
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Delete);
  if (*text) QTest::keyClicks(field, QString::fromUtf8(text));
}

inline QImage Grab(TfrmDVBase& form) { return form.Dialog()->grab().toImage(); }

// A runner for the dialogs a command makes itself: each is shown and act
// answers it with the modal result; a dialog of another class fails.
template <class Form>
TModalRunner Answering(std::function<int(Form&)> act) {
  return [act](TfrmDVBase& shown) {
    auto* form = dynamic_cast<Form*>(&shown);
    if (!form) {
      ADD_FAILURE() << "an unexpected dialog";
      return static_cast<int>(mrCancel);
    }
    QDialog* dialog = shown.Dialog();
    dialog->show();
    QApplication::setActiveWindow(dialog);
    (void)QTest::qWaitForWindowExposed(dialog);
    const int result = act(*form);
    ProcessPosted();
    dialog->hide();
    return result;
  };
}

// A runner for a command that must not open a dialog.
inline TModalRunner NoDialog() {
  return [](TfrmDVBase&) {
    ADD_FAILURE() << "no dialog was expected";
    return static_cast<int>(mrCancel);
  };
}

}  // namespace quillet::test
