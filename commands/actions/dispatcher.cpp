#include "commands/actions/dispatcher.h"

#include <QApplication>
#include <QMenu>

#include "commands/actions/action.h"
#include "commands/actions/insert_table_action.h"
#include "editing/control/editor.h"

namespace quillet {

namespace {

// The editor's own handler first, then the update.
TDVNotifyEvent Chained(TDVNotifyEvent own, TdvActionDispatcher* dispatcher) {
  return [own = std::move(own), dispatcher](TCustomDocView& sender) {
    if (own) own(sender);
    dispatcher->UpdateActions();
  };
}

}  // namespace

TdvActionDispatcher::TdvActionDispatcher(QObject* owner) : QObject(owner), owner_(owner) {
  QObject::connect(qApp, &QApplication::focusChanged, this, [this] { FocusChanged(); });
}

TdvActionDispatcher::~TdvActionDispatcher() { Unwatch(); }

void TdvActionDispatcher::UpdateActions() {
  if (!owner_) return;
  for (QObject* child : owner_->children()) {
    if (auto* action = dynamic_cast<TdvAction*>(child)) action->UpdateNow();
    // Not a TdvAction, but its check follows a grid that others may show.
    else if (auto* grid = dynamic_cast<TdvActionTableGrid*>(child)) grid->UpdateNow();
  }
  if (OnUpdate) OnUpdate();
}

void TdvActionDispatcher::WatchMenu(QMenu* menu) {
  QObject::connect(menu, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
}

void TdvActionDispatcher::FocusChanged() {
  auto* editor = dynamic_cast<TCustomDocViewEdit*>(FocusedControl());
  if (editor != watched_.get()) {
    Unwatch();
    if (editor) Watch(editor);
  }
  UpdateActions();
}

void TdvActionDispatcher::Watch(TCustomDocViewEdit* editor) {
  watched_ = editor;
  savedCaretMove_ = editor->OnCaretMove;
  savedSelect_ = editor->OnSelect;
  savedChange_ = editor->OnChange;
  editor->OnCaretMove = Chained(savedCaretMove_, this);
  editor->OnSelect = Chained(savedSelect_, this);
  editor->OnChange = Chained(savedChange_, this);
}

void TdvActionDispatcher::Unwatch() {
  if (TCustomDocViewEdit* editor = watched_.get()) {
    editor->OnCaretMove = std::move(savedCaretMove_);
    editor->OnSelect = std::move(savedSelect_);
    editor->OnChange = std::move(savedChange_);
  }
  watched_ = nullptr;
  savedCaretMove_ = savedSelect_ = savedChange_ = nullptr;
}

}  // namespace quillet
