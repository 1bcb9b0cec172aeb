#pragma once
// The command module: the editor's commands as one list of actions under the
// form's names, with their captions, shortcuts and categories, and the
// handlers that adapt them to this control: commands pinned to the main
// editor whatever has the focus, paste into an open cell editor, undo and
// redo of the annotations while pen mode is on, and the undo menu captions.
#include <QObject>
#include <QString>
#include <functional>
#include <utility>
#include <string_view>
#include <vector>

class QAction;

namespace quillet {

class TCustomDocViewEdit;
class TQvPostil;
class TdvActionDispatcher;

class TActionDM : public QObject {
 public:
  // editor: the main form's editor; postil: its annotation layer.
  TActionDM(TCustomDocViewEdit& editor, TQvPostil& postil, QObject* parent = nullptr);
  ~TActionDM() override;

  // The action of that component name, null when there is none.
  QAction* Action(std::string_view name) const;
  // Runs the action's command on the main editor, through the module's own
  // handler where it has one (pinned commands, paste, undo and redo).
  void Execute(std::string_view name);
  // Every action in the form's order.
  const std::vector<QAction*>& Actions() const { return actions_; }
  // The category of an action ("DVE File" ...).
  static QString Category(const QAction& action);

  // "撤消(&U) " and "恢复(&R) " followed by the name of the editor's next
  // undo (redo) kind, or its own caption for a custom group.
  QString UndoCaption() const;
  QString RedoCaption() const;

  // The update cycle: every command's state, then OnUpdate.
  TdvActionDispatcher& Dispatcher() { return *dispatcher_; }

 private:
  void Build();
  // Runs the command on the main editor whatever has the focus.
  void Pin(QAction* action);
  // Runs one of the module's handlers instead of the command.
  void Route(QAction* action, void (TActionDM::*handler)());
  void Handle(QAction* action, std::function<void()> handler);
  void Paste();
  void Undo();
  void Redo();

  TCustomDocViewEdit& editor_;
  TQvPostil& postil_;
  std::vector<QAction*> actions_;
  // The module's own handlers of actions, run by a trigger or by Execute
  // (which a disabled action's trigger would ignore).
  std::vector<std::pair<QAction*, std::function<void()>>> handlers_;
  TdvActionDispatcher* dispatcher_ = nullptr;
};

}  // namespace quillet
