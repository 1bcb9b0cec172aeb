#include "commands/dialogs/filled_values.h"

#include <QEvent>
#include <QLineEdit>
#include <climits>
#include <cmath>

#include "commands/controls/spin_edit.h"

namespace quillet {

namespace {

int ToInt(double value) {
  value = std::nearbyint(value);
  return value >= INT_MAX ? INT_MAX : value <= INT_MIN ? INT_MIN : static_cast<int>(value);
}

}  // namespace

// Leaving a field brings its text within the limits; a filled value the user
// never changed stays as it was shown.
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
  Fill(0, false);
}

TFilledSpin::~TFilledSpin() = default;

void TFilledSpin::Fill(double value, bool defined) {
  quiet_ = true;
  if (!defined) edit_->SetIndeterminate(true);
  // Whole numbers as digits: the shortest form would write large ones with
  // an exponent.
  else if (value == std::trunc(value) && std::fabs(value) < 1e15)
    edit_->findChild<QLineEdit*>()->setText(QString::number(static_cast<long long>(value)));
  else edit_->ShowValue(value);
  quiet_ = false;
  filled_ = value;
  filledDefined_ = defined;
  touched_ = false;
}

TDefined<double> TFilledSpin::Read() const {
  if (!touched_) return filledDefined_ ? TDefined<double>{filled_, true} : TDefined<double>{};
  if (edit_->Indeterminate()) return {};
  return {edit_->CheckValue(edit_->Value()), true};
}

TDefined<int> TFilledSpin::ReadInt() const {
  const TDefined<double> read = Read();
  return {ToInt(read.Value), read.Defined};
}

void TFilledSpin::Changed() {
  if (quiet_) return;
  touched_ = true;
  if (OnUserChange) OnUserChange();
}

int SampleValue(const TDVSpinEdit& edit) { return edit.Indeterminate() ? 0 : ToInt(edit.CheckValue(edit.Value())); }

}  // namespace quillet
