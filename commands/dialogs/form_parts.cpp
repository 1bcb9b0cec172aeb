#include "commands/dialogs/form_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "commands/controls/picture_radio.h"
#include "commands/controls/spin_edit.h"
#include "engine/view/base_form.h"
#include "platform/ui/control.h"

namespace quillet {

void Place(QWidget* widget, const char* name, const QRect& r) {
  if (name) widget->setObjectName(Q(name));
  widget->setGeometry(r);
}

void Place(TCustomControl& control, QWidget* parent, const char* name, const QRect& r) {
  control.SetParentWidget(parent);
  control.Widget()->setObjectName(Q(name));
  control.SetBounds(r.x(), r.y(), r.width(), r.height());
}

QPushButton* AddButton(QWidget* parent, const char* name, const char* text, const QRect& r) {
  auto* button = new QPushButton(Q(text), parent);
  Place(button, name, r);
  return button;
}

QPushButton* AddResultButton(TfrmDVBase& form, const char* name, const char* text, int result, const QRect& r) {
  QPushButton* button = AddButton(form.Dialog(), name, text, r);
  if (result == mrOk) button->setDefault(true);
  if (result != mrNone)
    QObject::connect(button, &QPushButton::clicked, form.Dialog(),
                     [&form, result] { form.Close(static_cast<TModalResult>(result)); });
  return button;
}

void AddOkCancel(TfrmDVBase& form, int left, int top, QPushButton*& ok, QPushButton*& cancel, bool okCloses) {
  ok = AddResultButton(form, "btnOk", "确定", okCloses ? mrOk : mrNone, {left, top, 75, 25});
  ok->setDefault(true);
  cancel = AddResultButton(form, "btnCancel", "取消", mrCancel, {left + 84, top, 75, 25});
}

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, QWidget* buddy, const QRect& r) {
  auto* label = new QLabel(Q(text), parent);
  Place(label, name, r);
  if (r.isEmpty()) label->adjustSize();
  if (buddy) label->setBuddy(buddy);
  return label;
}

QGroupBox* AddGroup(QWidget* parent, const char* name, const char* title, const QRect& r) {
  auto* group = new QGroupBox(Q(title), parent);
  Place(group, name, r);
  return group;
}

QCheckBox* AddCheck(QWidget* parent, const char* name, const char* text, const QRect& r) {
  auto* box = new QCheckBox(Q(text), parent);
  Place(box, name, r);
  return box;
}

QComboBox* AddCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items, const QRect& r) {
  auto* combo = new QComboBox(parent);
  Place(combo, name, r);
  for (const char* item : items) combo->addItem(Q(item));
  combo->setCurrentIndex(-1);
  return combo;
}

QWidget* AddPage(QTabWidget* pages, const char* name, const char* caption) {
  auto* page = new QWidget;
  page->setObjectName(Q(name));
  pages->addTab(page, Q(caption));
  return page;
}

TDVSpinEdit* AddSpin(QWidget* parent, const char* name, double min, double max, const QRect& r) {
  auto* edit = new TDVSpinEdit(parent);
  Place(edit, name, r);
  edit->MinValue = min;
  edit->MaxValue = max;
  return edit;
}

void PlaceOption(TDVPictureRadioButton& button, QWidget* parent, const char* caption, const char* name,
                 const QRect& r, int imageIndex) {
  Place(button, parent, name, r);
  button.SetCaption(caption);
  button.Square = true;
  button.ImageIndex = imageIndex;
}

void AddPictureItems(TDVPictureRadioGroup& group, std::initializer_list<const char*> captions) {
  for (const char* caption : captions) {
    TPictureGroupItem& item = group.AddItem();
    item.SetCaption(caption);
    item.SetImageIndex(group.ItemCount() - 1);
  }
  group.UpdateButtons();
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

}  // namespace quillet
