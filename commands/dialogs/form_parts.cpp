#include "commands/dialogs/form_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "commands/controls/spin_edit.h"
#include "engine/view/base_form.h"
#include "platform/ui/control.h"

namespace quillet {

QPushButton* AddResultButton(TfrmDVBase& form, const char* name, const char* text, int result, const QRect& r) {
  auto* button = new QPushButton(Q(text), form.Dialog());
  button->setObjectName(name);
  button->setGeometry(r);
  if (result == mrOk) button->setDefault(true);
  QObject::connect(button, &QPushButton::clicked, form.Dialog(),
                   [&form, result] { form.Close(static_cast<TModalResult>(result)); });
  return button;
}

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, QWidget* buddy, const QRect& r) {
  auto* label = new QLabel(Q(text), parent);
  if (name) label->setObjectName(name);
  label->setGeometry(r);
  if (buddy) label->setBuddy(buddy);
  return label;
}

QGroupBox* AddGroup(QWidget* parent, const char* name, const char* title, const QRect& r) {
  auto* group = new QGroupBox(Q(title), parent);
  group->setObjectName(name);
  group->setGeometry(r);
  return group;
}

QCheckBox* AddCheck(QWidget* parent, const char* name, const char* text, const QRect& r) {
  auto* box = new QCheckBox(Q(text), parent);
  box->setObjectName(name);
  box->setGeometry(r);
  return box;
}

QComboBox* AddCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items, const QRect& r) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setGeometry(r);
  for (const char* item : items) combo->addItem(Q(item));
  combo->setCurrentIndex(-1);
  return combo;
}

void PlaceControl(TCustomControl& control, QWidget* parent, const char* name, const QRect& r) {
  control.SetParentWidget(parent);
  control.Widget()->setObjectName(name);
  control.SetBounds(r.x(), r.y(), r.width(), r.height());
}

TDVSpinEdit* AddSpin(QWidget* parent, const char* name, double min, double max, const QRect& r) {
  auto* edit = new TDVSpinEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(r);
  edit->MinValue = min;
  edit->MaxValue = max;
  return edit;
}

namespace {

class TShowHook final : public QObject {
 public:
  TShowHook(QObject* parent, std::function<void()> onShow) : QObject(parent), onShow_(std::move(onShow)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Show && watched == parent()) onShow_();
    return QObject::eventFilter(watched, e);
  }

 private:
  std::function<void()> onShow_;
};

}  // namespace

void OnFormActivate(TfrmDVBase& form, std::function<void()> activate) {
  form.Dialog()->installEventFilter(new TShowHook(form.Dialog(), std::move(activate)));
}

// Leaving a field brings its text within the limits; a filled value the user
// never edited stays as it was shown.
class TFilledSpin::TFocusGuard final : public QObject {
 public:
  explicit TFocusGuard(TFilledSpin& owner) : owner_(owner) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() != QEvent::FocusOut || owner_.touched_) return false;
    auto* lineEdit = owner_.edit_->findChild<QLineEdit*>();
    const QString shown = lineEdit->text();
    owner_.quiet_ = true;
    watched->event(e);
    lineEdit->setText(shown);
    owner_.quiet_ = false;
    return true;
  }

 private:
  TFilledSpin& owner_;
};

TFilledSpin::TFilledSpin(TDVSpinEdit* edit) : edit_(edit), guard_(std::make_unique<TFocusGuard>(*this)) {
  edit_->installEventFilter(guard_.get());
  edit_->OnChange = [this](TDVSpinEdit&) { Changed(); };
  // Undetermined until filled.
  Fill(0, false);
}

TFilledSpin::~TFilledSpin() = default;

void TFilledSpin::Fill(int value, bool defined) {
  quiet_ = true;
  if (defined) edit_->findChild<QLineEdit*>()->setText(QString::number(value));
  else edit_->SetIndeterminate(true);
  quiet_ = false;
  filled_ = value;
  filledDefined_ = defined;
  touched_ = false;
}

bool TFilledSpin::Read(int& value) const {
  if (!touched_) {
    if (filledDefined_) value = filled_;
    return filledDefined_;
  }
  if (edit_->Indeterminate()) return false;
  value = static_cast<int>(edit_->CheckValue(edit_->Value()));
  return true;
}

void TFilledSpin::Changed() {
  if (quiet_) return;
  touched_ = true;
  if (OnUserChange) OnUserChange();
}

}  // namespace quillet
