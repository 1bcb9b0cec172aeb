#include "commands/dialogs/form_layout.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "commands/controls/picture_radio.h"
#include "commands/controls/spin_edit.h"
#include "engine/view/base_form.h"
#include "platform/ui/control.h"

namespace quillet {

QWidget* Place(QWidget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

void Place(TCustomControl& control, QWidget* parent, const char* name, int left, int top, int width, int height) {
  control.SetParentWidget(parent);
  control.SetBounds(left, top, width, height);
  control.Widget()->setObjectName(QString::fromUtf8(name));
}

TDVSpinEdit* AddSpinEdit(QWidget* parent, const char* name, int left, int top, double minValue, double maxValue,
                         int width) {
  auto* edit = new TDVSpinEdit(parent);
  Place(edit, name, left, top, width, 22);
  edit->MinValue = minValue;
  edit->MaxValue = maxValue;
  edit->SetIndeterminate(true);
  return edit;
}

void PlaceOption(TDVPictureRadioButton& button, QWidget* parent, const char* caption, const char* name, int left,
                 int top, int width, int height, int imageIndex) {
  Place(button, parent, name, left, top, width, height);
  button.SetCaption(caption);
  button.Square = true;
  button.ImageIndex = imageIndex;
}

QLabel* AddLabel(QWidget* parent, const char* caption, int left, int top, QWidget* buddy) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->move(left, top);
  label->adjustSize();
  if (buddy) label->setBuddy(buddy);
  return label;
}

void AddOkCancel(TfrmDVBase& form, int left, int top, QPushButton*& ok, QPushButton*& cancel, bool okCloses) {
  ok = new QPushButton(QStringLiteral("确定"), form.Dialog());
  Place(ok, "btnOk", left, top, 75, 25);
  ok->setDefault(true);
  cancel = new QPushButton(QStringLiteral("取消"), form.Dialog());
  Place(cancel, "btnCancel", left + 84, top, 75, 25);
  if (okCloses) QObject::connect(ok, &QPushButton::clicked, form.Dialog(), [&form] { form.Close(mrOk); });
  QObject::connect(cancel, &QPushButton::clicked, form.Dialog(), [&form] { form.Close(mrCancel); });
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

}  // namespace quillet
