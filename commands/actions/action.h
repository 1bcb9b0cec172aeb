#pragma once
// The base of the editor's commands: an action that finds, at every update
// and execution, the editor it works on (its own Control, else the default
// editor, else the focused control; a cell editor stands for the editor that
// holds its table), and the selection walk with which formatting commands
// gather what all selected items have in common.
#include <QAction>
#include <QObject>
#include <functional>

#include "platform/ui/control.h"

namespace quillet {

class TCustomDocViewEdit;
class TCustomDVData;

class TdvAction : public QAction {
 public:
  // owner: the command module whose children the partner lookup searches.
  explicit TdvAction(QObject* owner = nullptr);
  ~TdvAction() override;

  // The editor this command is tied to; none once that editor goes.
  TCustomDocViewEdit* Control() const { return control_.get(); }
  void SetControl(TCustomDocViewEdit* value) { control_ = value; }

  // Whether the command is offered for target (the focused control): the
  // candidate is an editor or a cell editor.
  virtual bool HandlesTarget(TCustomControl* target);
  // Enables the command; descendants decide more.
  virtual void UpdateTarget(TCustomControl* target);
  // What the command does; run only with an editor to work on.
  virtual void ExecuteTarget(TCustomControl* target);
  // The editor to work on, none when there is no editor.
  virtual TCustomDocViewEdit* GetControl(TCustomControl* target);

  // Called for each item of a walk; Data keeps what the walk gathered.
  virtual void IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor);
  // Whether the walk goes on.
  virtual bool ContinueIteration(int& data);
  // Visits items startNo..endNo of dvData, or, where a table has a range of
  // cells selected, every item of each completely selected cell (nested
  // tables too).
  void IterateDVData(TCustomDVData& dvData, TCustomDocViewEdit& editor, int& data, int startNo, int endNo);

  // The update cycle and execution with the focused control as the target.
  // Triggered from a menu or a button, an error the execution raises is
  // shown in a message box; called directly, it reaches the caller.
  void UpdateNow();
  void ExecuteNow();

 private:
  TCustomControl* Candidate(TCustomControl* target) const;
  TControlRef<TCustomDocViewEdit> control_;
};

// The items a walk covers: the selection normalised, without an item where
// the selection only touches its end (start) or its beginning (end). A
// caret keeps the item it stands in. Both -1 without a selection or caret.
void GetSelectionBounds(TCustomDocViewEdit& editor, int& startNo, int& endNo);

// The first of owner's children, in order, that is a T.
template <class T>
T* FindComponentByClass(const QObject* owner) {
  if (!owner) return nullptr;
  for (QObject* child : owner->children())
    if (auto* found = dynamic_cast<T*>(child)) return found;
  return nullptr;
}

// The focused control of the application, if it is one of ours.
TCustomControl* FocusedControl();

// Runs call from a Qt event (a menu item, a dialog's button): an exception
// it raises stops there: a cancel silently, anything else with its message
// in an error box, as the application's own handler would.
void RunGuarded(const std::function<void()>& call);

}  // namespace quillet
