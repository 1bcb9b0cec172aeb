#include "app/program_window.h"

#include <QAction>
#include <QFileInfo>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "app/document_store.h"
#include "app/keyboard_filter.h"
#include "commands/actions/action.h"
#include "editing/control/editor.h"
#include "host/annotation/postil.h"
#include "host/db/db_module.h"
#include "host/form/action_dm.h"
#include "host/form/main_form.h"
#include "host/review/document_record.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

// The menu item (and its button) runs `handler` instead of the form's.
void Rebind(TMainForm& form, std::string_view item, std::function<void()> handler) {
  QAction* action = form.MenuItem(item);
  QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
  QObject::connect(action, &QAction::triggered, action, [handler = std::move(handler)] { RunGuarded(handler); });
}

}  // namespace

TProgramWindow::TProgramWindow() : form_(std::make_unique<TMainForm>()) {
  // The document goes back where it came from, not into a file of the save
  // command's choosing, until new, open or save as give it another home.
  Rebind(*form_, "FileSave", [this] {
    if (!writesBack_) return form_->Commands().Execute("dvActionSave1");
    std::string error;
    if (!SaveDocument(error)) throw std::runtime_error(error);
  });
  // Leaving the document for another writes it back first, as closing does;
  // the form's close question would offer to save it as a new file.
  for (const auto& [item, command] : {std::pair{"FileNew", "dvActionNew1"}, std::pair{"FileOpen", "dvActionOpen1"}})
    Rebind(*form_, item, [this, command] {
      std::string error;
      if (writesBack_ && form_->DVEditor().Modified && !SaveDocument(error)) throw std::runtime_error(error);
      form_->Commands().Execute(command);
    });
  form_->Commands().OnFileChanged = [this] { writesBack_ = false; };
  form_->OnCloseQuery = [this] { return CloseQuery(); };
  keys_ = std::make_unique<TKeyboardFilter>(form_->KbHook(), form_->Widget());
}

TProgramWindow::~TProgramWindow() = default;

QWidget* TProgramWindow::Widget() const { return form_->Widget(); }

bool TProgramWindow::SaveDocument(std::string& error) {
  if (!opened_) return true;
  TDocViewEdit& editor = form_->DVEditor();
  try {
    if (fileName_.empty()) {
      form_->UpdateToDB();
    } else {
      form_->Record().WriteHostLines();
      if (!editor.SaveDVF(fileName_, false)) {
        error = "\"" + fileName_ + "\" could not be written";
        return false;
      }
    }
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  editor.Modified = false;
  return true;
}

bool TProgramWindow::CloseQuery() {
  if (!writesBack_) return form_->SaveCommandCloseQuery();
  std::string error;
  if (form_->DVEditor().Modified && !SaveDocument(error)) {
    TMessageQuestion message;
    message.Text = error;
    message.Caption = "afxQuillet";
    message.Icon = MB_ICONERROR;
    CommonDialogs().MessageBox(message);
  }
  return true;
}

bool TProgramWindow::OpenDefaultStore(std::string& error) {
  try {
    PrepareDefaultRecord(form_->DbDm());
    form_->LoadFromDB();
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  fileName_.clear();
  const TDbDm& db = form_->DbDm();
  Shown(db.TableName + " " + db.IDName + "=" + db.IDValue);
  return true;
}

bool TProgramWindow::OpenFile(const std::string& fileName, std::string& error) {
  try {
    form_->Record().LoadFromFile(fileName);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  fileName_ = fileName;
  Shown(QFileInfo(QString::fromStdString(fileName)).fileName().toStdString());
  return true;
}

void TProgramWindow::Shown(const std::string& title) {
  opened_ = true;
  writesBack_ = true;
  TDocViewEdit& editor = form_->DVEditor();
  editor.ClearUndo();
  editor.Modified = false;
  editor.Format();
  form_->UpdateUndoMenu();
  form_->Widget()->setWindowTitle(QString::fromStdString(title + " - Quillet 2.0"));
}

}  // namespace quillet
