#pragma once
// The text protection dialog: eight check boxes, one per protection option,
// showing the protection of the text style at the editor's caret. OK gives
// the selected text that set of options through the editor's style
// conversion; Cancel applies nothing, though the set keeps the clicks.
#include <array>
#include <memory>

#include "engine/style/text_style.h"
#include "engine/view/base_form.h"

class QCheckBox;
class QPushButton;

namespace quillet {

class TCustomDocViewEdit;

class TProtectForm : public TfrmDVBase {
 public:
  // The set is the one the editor's style conversion reads for text
  // protection; both belong to the caller and outlive the dialog.
  TProtectForm(TCustomDocViewEdit& editor, TDVProtectOptions& protection);
  ~TProtectForm() override;

  // As the dialog shows: the set from the style at the caret, then the boxes.
  void FormShow();
  void GetProtectionFromMainForm();
  void SetProtectionToUI();
  // A box was clicked: its option (the box's tag n is bit n - 1) follows
  // the box's check mark; another tag changes nothing.
  void CBProtectClick(QCheckBox* box);
  void btnOKClick();

  static constexpr int kBoxes = 8;
  // The boxes in the order of their tags 1..8.
  QCheckBox* Box(int index) const { return boxes_.at(static_cast<size_t>(index)); }
  QPushButton* btnOK() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

 private:
  TCustomDocViewEdit& editor_;
  TDVProtectOptions& protection_;
  std::array<QCheckBox*, kBoxes> boxes_{};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  class ShowFilter;
  std::unique_ptr<ShowFilter> showFilter_;
};

}  // namespace quillet
