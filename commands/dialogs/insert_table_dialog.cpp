#include "commands/dialogs/insert_table_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/filled_values.h"
#include "commands/dialogs/form_parts.h"

namespace quillet {

namespace {

enum { wtPercent, wtPixels };

int ReadOr(const TFilledSpin& field, int fallback) {
  const TDefined<int> read = field.ReadInt();
  return read.Defined ? read.Value : fallback;
}

}  // namespace

TfrmInsTable::TfrmInsTable() {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("插入表格"));
  dialog->setFixedSize(287, 247);
  QGroupBox* size = AddGroup(dialog, "gbSize", "表格大小", {8, 8, 271, 76});
  columns_ = std::make_unique<TFilledSpin>(AddSpin(size, "seColumns", 1, 100, {160, 20, 64, 22}));
  AddLabel(size, "lblColumns", "列数(&C):", seColumns(), {12, 23, 140, 16});
  rows_ = std::make_unique<TFilledSpin>(AddSpin(size, "seRows", 1, 500, {160, 48, 64, 22}));
  AddLabel(size, "lblRows", "行数(&R):", seRows(), {12, 51, 140, 16});
  columns_->Fill(2);
  rows_->Fill(2);

  QGroupBox* fit = AddGroup(dialog, "gbFit", "自动调整操作", {8, 90, 271, 100});
  fitContents_ = new QRadioButton(Q("自动调整表格(&A)"), fit);
  Place(fitContents_, "rbFitContents", {12, 20, 250, 18});
  fitContents_->setChecked(true);
  fitWindow_ = new QRadioButton(Q("根据窗口调整表格(&W)"), fit);
  Place(fitWindow_, "rbFitWindow", {12, 44, 250, 18});
  fitManual_ = new QRadioButton(Q("手动调整表格(&M)"), fit);
  Place(fitManual_, "rbFitManual", {12, 68, 120, 18});
  width_ = std::make_unique<TFilledSpin>(AddSpin(fit, "seWidth", 1, 1000, {136, 66, 56, 22}));
  width_->Fill(100);
  widthType_ = new QComboBox(fit);
  Place(widthType_, "cboWidthType", {196, 66, 68, 22});
  widthType_->addItems({Q("百分比"), Q("象素")});

  remember_ = new QCheckBox(Q("设为新表格的默认值(&D)"), dialog);
  Place(remember_, "cbRemember", {16, 196, 260, 18});
  AddOkCancel(*this, 120, 218, ok_, cancel_);
  SetTabOrder({seColumns(), seRows(), fitContents_, fitWindow_, fitManual_, seWidth(), widthType_, remember_, ok_,
               cancel_});
  for (QRadioButton* option : {fitContents_, fitWindow_, fitManual_})
    QObject::connect(option, &QRadioButton::clicked, dialog, [this] { UpdateEnabled(); });
  FormCreate();
}

TfrmInsTable::~TfrmInsTable() = default;

void TfrmInsTable::FormCreate() {
  TfrmDVBase::FormCreate();
  widthType_->setCurrentIndex(wtPercent);
  UpdateEnabled();
}

TDVSpinEdit* TfrmInsTable::seColumns() const { return columns_->Edit(); }
TDVSpinEdit* TfrmInsTable::seRows() const { return rows_->Edit(); }
TDVSpinEdit* TfrmInsTable::seWidth() const { return width_->Edit(); }

int TfrmInsTable::Columns() const { return ReadOr(*columns_, 1); }
void TfrmInsTable::SetColumns(int value) { columns_->Fill(value); }
int TfrmInsTable::Rows() const { return ReadOr(*rows_, 1); }
void TfrmInsTable::SetRows(int value) { rows_->Fill(value); }

void TfrmInsTable::UpdateEnabled() {
  const bool manual = fitManual_->isChecked();
  seWidth()->setEnabled(manual);
  widthType_->setEnabled(manual);
}

int TfrmInsTable::BestWidth() const {
  if (fitContents_->isChecked()) return 0;
  if (fitWindow_->isChecked()) return -100;
  const int width = ReadOr(*width_, 1);
  // A table cannot be wider than its window.
  return widthType_->currentIndex() == wtPixels ? width : -std::min(width, 100);
}

void TfrmInsTable::SetBestWidth(int value) {
  if (value == 0) {
    fitContents_->setChecked(true);
  } else if (value == -100) {
    fitWindow_->setChecked(true);
  } else {
    fitManual_->setChecked(true);
    width_->Fill(value == INT_MIN ? INT_MAX : std::abs(value));
    widthType_->setCurrentIndex(value < 1 ? wtPercent : wtPixels);
  }
  UpdateEnabled();
}

}  // namespace quillet
