#include "commands/dialogs/hyperlink_dialog.h"

#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "commands/dialogs/form_parts.h"

namespace quillet {

TfrmDVHyp::TfrmDVHyp() {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("插入超链接"));
  dialog->setFixedSize(318, 145);
  QGroupBox* group = AddGroup(dialog, "gbHyperlink", "超链接", {8, 8, 302, 92});
  text_ = new QLineEdit(group);
  Place(text_, "txtText", {96, 22, 196, 22});
  AddLabel(group, "lblText", "文本(&E):", text_, {10, 25, 84, 16});
  target_ = new QLineEdit(group);
  Place(target_, "txtTarget", {96, 56, 196, 22});
  AddLabel(group, "lblTarget", "目的地(&T):", target_, {10, 59, 84, 16});
  AddOkCancel(*this, 150, 110, ok_, cancel_);
  SetTabOrder({text_, target_, ok_, cancel_});
  for (QLineEdit* edit : {text_, target_})
    QObject::connect(edit, &QLineEdit::textChanged, dialog, [this] { UpdateOk(); });
  OnShow = [this] { UpdateOk(); };
}

TfrmDVHyp::~TfrmDVHyp() = default;

void TfrmDVHyp::UpdateOk() {
  ok_->setEnabled(!text_->isEnabled() || (!target_->text().trimmed().isEmpty() && !text_->text().isEmpty()));
}

}  // namespace quillet
