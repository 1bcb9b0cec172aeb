// The main form's pen annotation mode, seals, and the walk over its tables.
#include <QAction>

#include "commands/actions/dispatcher.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_binding.h"
#include "host/form/action_dm.h"
#include "host/form/main_form_ui.h"
#include "host/form/table_cells.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

// What annotation mode takes from every top-level table.
constexpr TDVTableOptions kLockedTableOptions =
    dvtoEditing | dvtoRowSizing | dvtoColSizing | dvtoRowSelect | dvtoColSelect;

template <class F>
void ForEachTable(TCustomDocViewEdit& editor, F visit) {
  for (int num = 1;; ++num) {
    TDVTableItemInfo* table = TTableCells::GetTable(editor.EditData(), num);
    if (!table) return;
    visit(num, *table);
  }
}

}  // namespace

void TMainForm::CloseCellEditors() {
  ForEachTable(*editor_, [](int, TDVTableItemInfo& table) { table.DestroyInplace(); });
}

bool TMainForm::Annotating() const { return postil_->IsPostil(); }

void TMainForm::SetCanPostil(bool value) { binding_->InputAllowed = value; }

void TMainForm::BeginCommentClick() {
  if (postil_->IsPostil()) return;
  ui_->undoEnabled = MenuItem("EditUndo")->isEnabled();
  ui_->redoEnabled = MenuItem("EditRedo")->isEnabled();
  ui_->readOnly = editor_->ReadOnly;
  ui_->editorOptions = editor_->Options();
  // No cell stays open under the pen, and no table can be edited or sized.
  ui_->tableOptions.clear();
  ForEachTable(*editor_, [this](int num, TDVTableItemInfo& table) {
    table.DestroyInplace();
    ui_->tableOptions.emplace_back(num, table.Options);
    table.Options &= static_cast<TDVTableOptions>(~kLockedTableOptions);
  });
  postil_->BeginPostil();
  // Undo and redo now take back strokes, whatever the text's history holds.
  MenuItem("EditUndo")->setEnabled(true);
  MenuItem("EditRedo")->setEnabled(true);
  MenuItem("EndComment")->setEnabled(true);
  MenuItem("BeginComment")->setEnabled(false);
  editor_->SetOptions(editor_->Options() & ~dvoAllowSelection);
  editor_->SetReadOnly(true);
  binding_->ShowMode();
  commands_->Dispatcher().UpdateActions();
  editor_->Invalidate();
}

void TMainForm::EndCommentClick() {
  if (!postil_->IsPostil()) return;
  postil_->EndPostil();
  MenuItem("EditUndo")->setEnabled(ui_->undoEnabled);
  MenuItem("EditRedo")->setEnabled(ui_->redoEnabled);
  MenuItem("BeginComment")->setEnabled(true);
  MenuItem("EndComment")->setEnabled(false);
  editor_->SetReadOnly(ui_->readOnly);
  editor_->SetOptions(ui_->editorOptions);
  // The tables get back what they had; no cell editor opens.
  for (const auto& [num, options] : ui_->tableOptions)
    if (TDVTableItemInfo* table = TTableCells::GetTable(editor_->EditData(), num))
      table->Options = static_cast<TDVTableOptions>(options);
  ui_->tableOptions.clear();
  binding_->ShowMode();
  UpdateUndoMenu();
  commands_->Dispatcher().UpdateActions();
  editor_->Invalidate();
}

void TMainForm::AddTuZhang(const std::string& bmpID) { binding_->ArmSeal(bmpID, postil_->CurrentUser()); binding_->ShowMode(); }

bool TMainForm::ArmSealFromFile(const std::string& fileName) {
  if (!postil_->GetBmp(fileName)) {
    auto bmp = std::make_unique<TBitmap>();
    try {
      bmp->LoadFromFile(fileName);
    } catch (const std::exception&) {
      return false;
    }
    if (!postil_->PutBmp(fileName, bmp)) return false;
  }
  AddTuZhang(fileName);
  return true;
}

void TMainForm::btnSumbolClick() {
  TFileQuestion question;
  question.Title = "图章";
  question.Filter = "位图 (*.bmp)|*.bmp";
  if (!CommonDialogs().OpenPicture(question)) return;
  if (!ArmSealFromFile(question.FileName)) {
    TMessageQuestion message;
    message.Text = "\"" + question.FileName + "\" 不是位图";
    message.Caption = "afxQuillet";
    message.Icon = MB_ICONWARNING;
    CommonDialogs().MessageBox(message);
  }
}

}  // namespace quillet
