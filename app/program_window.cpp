#include "app/program_window.h"

#include <QAction>
#include <QFileInfo>
#include <QWidget>
#include <stdexcept>

#include "app/document_store.h"
#include "app/keyboard_filter.h"
#include "commands/actions/action.h"
#include "editing/control/editor.h"
#include "host/annotation/postil.h"
#include "host/db/db_module.h"
#include "host/form/main_form.h"
#include "host/review/document_record.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

TProgramWindow::TProgramWindow() : form_(std::make_unique<TMainForm>()) {
  // The document goes back where it came from, not into a file of the save
  // command's choosing.
  QAction* save = form_->MenuItem("FileSave");
  QObject::disconnect(save, &QAction::triggered, nullptr, nullptr);
  QObject::connect(save, &QAction::triggered, save, [this] {
    RunGuarded([this] {
      std::string error;
      if (!SaveDocument(error)) throw std::runtime_error(error);
    });
  });
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
  TDocViewEdit& editor = form_->DVEditor();
  editor.ClearUndo();
  editor.Modified = false;
  editor.Format();
  form_->UpdateUndoMenu();
  form_->Widget()->setWindowTitle(QString::fromStdString(title + " - Quillet 2.0"));
}

}  // namespace quillet
