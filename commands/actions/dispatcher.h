#pragma once
// Keeps the commands of an owner up to date, as an idle-time update cycle
// would: when the focus moves, when the focused editor's caret, selection or
// document changes, and before a watched menu opens.
#include <QObject>
#include <functional>

#include "engine/view/docview.h"
#include "platform/ui/control.h"

class QMenu;

namespace quillet {

class TCustomDocViewEdit;

class TdvActionDispatcher : public QObject {
 public:
  // Updates the TdvAction children of owner and its grid-lines command.
  explicit TdvActionDispatcher(QObject* owner);
  ~TdvActionDispatcher() override;

  void UpdateActions();
  // Runs after each update of the commands.
  std::function<void()> OnUpdate;
  void WatchMenu(QMenu* menu);

 private:
  void FocusChanged();
  void Watch(TCustomDocViewEdit* editor);
  void Unwatch();

  QObject* owner_;
  // The editor whose events are chained, with its own handlers to put back.
  TControlRef<TCustomDocViewEdit> watched_;
  TDVNotifyEvent savedCaretMove_, savedSelect_, savedChange_;
};

}  // namespace quillet
