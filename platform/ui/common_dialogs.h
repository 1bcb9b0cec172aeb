#pragma once
// The system's common dialogs, over Qt's. Each is a small object the caller
// keeps; Execute runs it modally over the active window.
#include <memory>

#include "platform/core/colors.h"

namespace quillet {

class TColorDialog {
 public:
  TColorDialog();
  virtual ~TColorDialog();
  TColorDialog(const TColorDialog&) = delete;
  TColorDialog& operator=(const TColorDialog&) = delete;

  // Shown when the dialog opens; the choice after OK.
  TColor Color = clBlack;

  // True with OK (Color then holds the choice); Cancel leaves Color alone.
  virtual bool Execute();

  // Expires when the dialog goes, for those that only refer to it.
  std::weak_ptr<void> Lifetime() const { return lifetime_; }

 private:
  std::shared_ptr<void> lifetime_;
};

// A reference to a colour dialog that someone else owns; it reads as none
// once that dialog is gone.
class TColorDialogRef {
 public:
  TColorDialogRef() = default;
  TColorDialogRef(TColorDialog* dialog) { *this = dialog; }  // NOLINT: converts like a pointer
  TColorDialogRef& operator=(TColorDialog* dialog) {
    dialog_ = dialog;
    life_ = dialog ? dialog->Lifetime() : std::weak_ptr<void>();
    return *this;
  }
  TColorDialog* get() const { return life_.expired() ? nullptr : dialog_; }

 private:
  TColorDialog* dialog_ = nullptr;
  std::weak_ptr<void> life_;
};

}  // namespace quillet
