#pragma once
// A hyperlink's text and target. OK needs a target that is not blank, and a
// text unless the caller disabled the text box (the selection supplies it).
#include "engine/view/base_form.h"

class QLineEdit;
class QPushButton;

namespace quillet {

class TfrmDVHyp : public TfrmDVBase {
 public:
  TfrmDVHyp();
  ~TfrmDVHyp() override;

  QLineEdit* txtText() const { return text_; }
  QLineEdit* txtTarget() const { return target_; }
  QPushButton* btnOk() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

  void UpdateOk();

 private:
  QLineEdit* text_;
  QLineEdit* target_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace quillet
