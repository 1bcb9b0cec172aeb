#include "commands/dialogs/integer_dialog.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/filled_values.h"
#include "commands/dialogs/form_parts.h"

namespace quillet {

TfrmInteger::TfrmInteger() {
  QDialog* dialog = Dialog();
  dialog->setFixedSize(254, 101);
  value_ = std::make_unique<TFilledSpin>(AddSpin(dialog, "se", 1, 100, {16, 32, 80, 22}));
  value_->Fill(1);
  label_ = AddLabel(dialog, "lbl", "", se(), {16, 12, 140, 16});
  ok_ = AddResultButton(*this, "btnOk", "OK", mrOk, {168, 12, 75, 25});
  cancel_ = AddResultButton(*this, "btnCancel", "Cancel", mrCancel, {168, 44, 75, 25});
  SetTabOrder({se(), ok_, cancel_});
  FormCreate();
}

TfrmInteger::~TfrmInteger() = default;

TDVSpinEdit* TfrmInteger::se() const { return value_->Edit(); }

int TfrmInteger::Value() const {
  const TDefined<int> value = value_->ReadInt();
  return value.Defined ? value.Value : 1;
}

void TfrmInteger::SetValue(int value) { value_->Fill(value); }

}  // namespace quillet
