#pragma once
// The command module: the editor's commands as one list of actions under the
// form's names, with their captions, shortcuts and categories, and the
// handlers that adapt them to this control: commands pinned to the main
// editor whatever has the focus, paste into an open cell editor, undo and
// redo of the annotations while pen mode is on, the undo menu captions, and
// the file commands carrying the document's reviewers and annotations.
//
// Reviewers and annotations change only with the document: new resets them
// once the old document has gone, open replaces them once a file has read
// (a cancelled or failed open keeps them), and every command that writes
// the document (save, save as, export, and the save the close question may
// run) writes their current lines first.
#include <QObject>
#include <QString>
#include <functional>
#include <utility>

#include <string>
#include <string_view>
#include <vector>

class QAction;

namespace quillet {

class TCustomDocViewEdit;
class TDocumentRecord;
class TQvPostil;
class TReviewerTable;
class TdvActionDispatcher;

class TActionDM : public QObject {
 public:
  // editor: the main form's editor; postil: its annotation layer;
  // reviewers: its reviewer table; record: the road of all three into and
  // out of the document. All outlive the module.
  TActionDM(TCustomDocViewEdit& editor, TQvPostil& postil, TReviewerTable& reviewers, TDocumentRecord& record,
            QObject* parent = nullptr);
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

  // The form's caption whenever the main editor's document changes file.
  std::function<void(const QString& title)> OnTitle;
  // A document that belongs to no file yet: the form shows its page margins
  // on its controls again (before OnTitle).
  std::function<void()> OnMarginToUI;
  // New or open replaced the document, or save as gave it a file: it now
  // belongs to the save command's file.
  std::function<void()> OnFileChanged;
  // The file name without its folder, " (*)" while the document belongs to
  // no file, then the program's name.
  static QString DocumentTitle(const std::string& fileName, bool isNew);

 private:
  void Build();
  // Runs the command on the main editor whatever has the focus; a command
  // that writes the document gets the host lines written first.
  void Pin(QAction* action, bool writesDocument = false);
  // Runs one of the module's handlers instead of the command.
  void Route(QAction* action, void (TActionDM::*handler)());
  void Handle(QAction* action, std::function<void()> handler);
  void Paste();
  void Undo();
  void Redo();
  void New();
  void Open();
  // The document's current host lines in the carrier, for the save the
  // close question of new and open may run.
  void WriteHostLinesForCloseQuestion();

  TCustomDocViewEdit& editor_;
  TQvPostil& postil_;
  TReviewerTable& reviewers_;
  TDocumentRecord& record_;
  std::vector<QAction*> actions_;
  // The module's own handlers of actions, run by a trigger or by Execute
  // (which a disabled action's trigger would ignore).
  std::vector<std::pair<QAction*, std::function<void()>>> handlers_;
  TdvActionDispatcher* dispatcher_ = nullptr;
};

}  // namespace quillet
