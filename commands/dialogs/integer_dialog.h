#pragma once
// One whole number, 1 to 100; the caller sets the caption and the label.
#include <memory>

#include "engine/view/base_form.h"

class QLabel;
class QPushButton;

namespace quillet {

class TDVSpinEdit;
class TFilledSpin;

class TfrmInteger : public TfrmDVBase {
 public:
  TfrmInteger();
  ~TfrmInteger() override;

  int Value() const;
  void SetValue(int value);

  QLabel* lbl() const { return label_; }
  TDVSpinEdit* se() const;
  QPushButton* btnOk() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

 private:
  std::unique_ptr<TFilledSpin> value_;
  QLabel* label_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace quillet
