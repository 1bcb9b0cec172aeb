#pragma once
// The find and replace dialogs: non-modal windows with the text to find (and
// for replace the text to put in), the direction, match case and whole word.
// Their buttons only report; the command that owns a dialog does the work.
// Cancel and Esc hide the window, keeping its text and options for the next
// time it is shown.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/shared_routines.h"
#include "engine/view/base_form.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace quillet {

// Beside the search options while OnReplace runs: the button clicked.
constexpr TFindOptions frReplace = 0x10, frReplaceAll = 0x20;

class TdvaFindDialog : public TfrmDVBase {
 public:
  TdvaFindDialog();
  ~TdvaFindDialog() override;

  std::u16string FindText() const;
  void SetFindText(std::u16string_view text);
  // frDown, frMatchCase and frWholeWord as chosen; inside OnReplace also
  // frReplace or frReplaceAll.
  TFindOptions Options() const;

  // Shown without holding the rest of the program, in front and active,
  // kept above owner's window when one is given.
  void Execute(QWidget* owner = nullptr);
  // Hides the window; a dialog that is not shown stays as it is.
  void CloseDialog();
  bool Showing() const;

  // "Find next" clicked (or Enter in the dialog).
  std::function<void()> OnFind;

  QLineEdit* edtFind() const { return find_; }
  QRadioButton* rbUp() const { return up_; }
  QRadioButton* rbDown() const { return down_; }
  QCheckBox* cbMatchCase() const { return matchCase_; }
  QCheckBox* cbWholeWord() const { return wholeWord_; }
  QPushButton* btnFindNext() const { return findNext_; }
  QPushButton* btnCancel() const { return cancel_; }

 protected:
  // replace: with the replace text and the two replace buttons.
  explicit TdvaFindDialog(bool replace);
  TFindOptions replaceFlag_ = 0;  // while a replace button's event runs
  // A button that searches: enabled only while there is a find text.
  void AddSearchButton(QPushButton* button);

 private:
  void FindTextChanged();
  std::vector<QPushButton*> searchButtons_;
  QLineEdit* find_;
  QRadioButton* up_;
  QRadioButton* down_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
  QPushButton* findNext_;
  QPushButton* cancel_;
};

class TdvaReplaceDialog : public TdvaFindDialog {
 public:
  TdvaReplaceDialog();
  ~TdvaReplaceDialog() override;

  std::u16string ReplaceText() const;
  void SetReplaceText(std::u16string_view text);

  // "Replace" or "Replace all" clicked; Options() tells which.
  std::function<void()> OnReplace;

  QLineEdit* edtReplace() const { return replaceText_; }
  QPushButton* btnReplace() const { return replace_; }
  QPushButton* btnReplaceAll() const { return replaceAll_; }

 private:
  void Replace(TFindOptions which);
  QLineEdit* replaceText_;
  QPushButton* replace_;
  QPushButton* replaceAll_;
};

}  // namespace quillet
