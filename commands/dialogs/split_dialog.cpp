#include "commands/dialogs/split_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/form_parts.h"

namespace quillet {

TfrmSplit::TfrmSplit() {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("拆分单元格"));
  dialog->setFixedSize(296, 245);
  QGroupBox* how = AddGroup(dialog, "gbSplit", "拆分为", {8, 8, 280, 64});
  split_ = new QRadioButton(Q("指定行数和列数(&S)"), how);
  Place(split_, "rbSplit", {12, 18, 260, 18});
  split_->setChecked(true);
  unmerge_ = new QRadioButton(Q("&Original cells"), how);
  Place(unmerge_, "rbUnmerge", {12, 40, 260, 18});

  // The two panels share one place.
  const QRect place{8, 80, 280, 124};
  panSplit_ = new QWidget(dialog);
  Place(panSplit_, "panSplit", place);
  columns_ = AddSpin(panSplit_, "seColumns", 1, 100, {160, 8, 64, 22});
  columns_->SetValue(2);
  AddLabel(panSplit_, "lblColumns", "列数(&C):", columns_, {12, 11, 140, 16});
  rows_ = AddSpin(panSplit_, "seRows", 1, 500, {160, 40, 64, 22});
  rows_->SetValue(2);
  AddLabel(panSplit_, "lblRows", "行数(&R):", rows_, {12, 43, 140, 16});
  merge_ = AddCheck(panSplit_, "cbMerge", "拆分前合并单元格(&M)", {12, 76, 260, 18});
  panUnmerge_ = new QWidget(dialog);
  Place(panUnmerge_, "panUnmerge", place);
  panUnmerge_->hide();
  unmergeCols_ = AddCheck(panUnmerge_, "cbUnmergeCols", "Split to original columns", {12, 8, 260, 18});
  unmergeCols_->setChecked(true);
  unmergeRows_ = AddCheck(panUnmerge_, "cbUnmergeRows", "Split to original &rows", {12, 32, 260, 18});
  unmergeRows_->setChecked(true);

  AddOkCancel(*this, 128, 212, ok_, cancel_);
  SetTabOrder({split_, unmerge_, columns_, rows_, merge_, unmergeCols_, unmergeRows_, ok_, cancel_});
  for (QRadioButton* option : {split_, unmerge_})
    QObject::connect(option, &QRadioButton::clicked, dialog, [this] { OptionClick(); });
  FormCreate();
}

TfrmSplit::~TfrmSplit() = default;

void TfrmSplit::OptionClick() {
  panSplit_->setVisible(split_->isChecked());
  panUnmerge_->setVisible(unmerge_->isChecked());
}

}  // namespace quillet
