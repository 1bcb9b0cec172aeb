#pragma once
// Find, find next and replace. Find and replace keep one non-modal dialog
// each, made on first use and kept until the command goes or the window of
// the editor it was opened for closes; opening one kind hides the other.
// Each click searches the editor the dialog was last opened for, held as a
// reference that reads as none once that editor goes.
#include <QPointer>
#include <memory>
#include <string>

#include "commands/actions/action.h"

namespace quillet {

class TdvaFindDialog;
class TdvaReplaceDialog;

// What find and replace share: the dialog, the editor it searches, the search.
class TdvActionSearch : public TdvAction {
 public:
  explicit TdvActionSearch(QObject* owner = nullptr);
  ~TdvActionSearch() override;

  // While the editor has a window to hold the dialog.
  void UpdateTarget(TCustomControl* target) override;
  // Hides the dialog when it is shown.
  void CloseDialog();
  // The editor the dialog searches; none before the first opening.
  TCustomDocViewEdit* Editor() const { return editor_.get(); }

 protected:
  TdvaFindDialog* Dialog() const { return dialog_.get(); }
  // Remembers editor and shows the dialog, made by make on first use.
  void Open(TCustomDocViewEdit& editor, const std::function<std::unique_ptr<TdvaFindDialog>()>& make);
  // Selects the next match of the dialog's text in the editor, searched
  // with the dialog's options; false without an editor or a match.
  bool FindNext();
  // The same, and when nothing is found, says so.
  bool Search();

 private:
  std::unique_ptr<TdvaFindDialog> dialog_;
  TControlRef<TCustomDocViewEdit> editor_;
};

class TdvActionReplace;

class TdvActionFind : public TdvActionSearch {
 public:
  using TdvActionSearch::TdvActionSearch;
  ~TdvActionFind() override;

  // The replace command whose dialog this one hides; else the owner's first.
  TdvActionReplace* ActionReplace() const { return actionReplace_; }
  void SetActionReplace(TdvActionReplace* value) { actionReplace_ = value; }

  void ExecuteTarget(TCustomControl* target) override;
  // The dialog's find event, find next's search.
  void FindDialogFind();
  TdvaFindDialog* FindDialog() const { return Dialog(); }

 private:
  TdvActionReplace* PartnerReplace() const;
  QPointer<TdvActionReplace> actionReplace_;
};

// Searches again with the find command's dialog, or opens it when it has
// no text yet.
class TdvActionFindNext : public TdvAction {
 public:
  using TdvAction::TdvAction;
  TdvActionFind* ActionFind() const { return actionFind_; }
  void SetActionFind(TdvActionFind* value) { actionFind_ = value; }
  // Raises an error when no find command is there.
  void ExecuteTarget(TCustomControl* target) override;

 private:
  QPointer<TdvActionFind> actionFind_;
};

class TdvActionReplace : public TdvActionSearch {
 public:
  using TdvActionSearch::TdvActionSearch;
  ~TdvActionReplace() override;

  // The find command whose dialog this one hides; else the owner's first.
  TdvActionFind* ActionFind() const { return actionFind_; }
  void SetActionFind(TdvActionFind* value) { actionFind_ = value; }
  // Replace all ends with a message of how many were replaced.
  bool ShowReplaceAllSummary = true;

  void ExecuteTarget(TCustomControl* target) override;
  // The dialog's events: find next, and replace or replace all.
  void ReplaceDialogFind();
  void ReplaceDialogReplace();
  TdvaReplaceDialog* ReplaceDialog() const;

 private:
  TdvActionFind* PartnerFind() const;
  // Whether the selection is the find text, under the dialog's match case.
  bool SelectionMatches(TCustomDocViewEdit& editor) const;
  // The selection becomes the replace text, the caret left where the next
  // search in the dialog's direction starts past it. False when refused.
  bool ReplaceSelection(TCustomDocViewEdit& editor) const;
  QPointer<TdvActionFind> actionFind_;
};

}  // namespace quillet
