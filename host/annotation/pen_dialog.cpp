#include "host/annotation/pen_dialog.h"

#include <QDialog>
#include <QFrame>
#include <QPushButton>

#include "commands/controls/color_combo.h"
#include "commands/dialogs/form_parts.h"
#include "commands/dialogs/width_combo.h"

namespace quillet {

struct TPostilDlg::Impl {
  TColorDialog colorDialog;
  TDVColorCombo lineColor;
  TDVWidthCombo* lineWidth = nullptr;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
};

TPostilDlg::TPostilDlg(TAnnotationPen& pen) : pen_(pen), d_(std::make_unique<Impl>()) {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("笔批注属性"));
  dialog->setFixedSize(384, 179);

  auto* bevel = new QFrame(dialog);
  bevel->setObjectName("Bevel1");
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(8, 8, 281, 161);

  d_->ok = AddButton(dialog, "OKBtn", "确定", {300, 8, 75, 25});
  d_->ok->setDefault(true);
  d_->cancel = AddButton(dialog, "CancelBtn", "取消", {300, 38, 75, 25});

  TDVColorCombo& lineColor = d_->lineColor;
  lineColor.SetParentWidget(dialog);
  lineColor.SetBounds(56, 40, 185, 26);
  lineColor.SetAutoColor(clRed);
  lineColor.SetIndeterminate(false);
  lineColor.SetColorDialog(&d_->colorDialog);
  AddThemedControl([&lineColor](bool value) { lineColor.SetUseXPThemes(value); });

  d_->lineWidth = new TDVWidthCombo(dialog, "cmbLineWidth", WidthCount, 20);
  d_->lineWidth->setGeometry(56, 104, 185, 26);
  // The samples follow the colour.
  lineColor.OnColorChange = [this](TDVColorCombo& combo) { d_->lineWidth->SetColors(combo.ChosenColor()); };
  QObject::connect(d_->ok, &QPushButton::clicked, dialog, [this] { OKBtnClick(); });
  QObject::connect(d_->cancel, &QPushButton::clicked, dialog, [this] { CancelBtnClick(); });
  // Fills the controls from the pen each time the dialog shows.
  OnShow = [this] { FormShow(); };
  FormCreate();
}

TPostilDlg::~TPostilDlg() { OnShow = nullptr; }

void TPostilDlg::FormCreate() {
  TfrmDVBase::FormCreate();
  FormShow();
}

void TPostilDlg::FormShow() {
  d_->lineColor.SetChosenColor(pen_.Color);
  d_->lineWidth->SetColors(pen_.Color);
  // A width the list does not hold selects nothing.
  d_->lineWidth->setCurrentIndex(pen_.Width >= 1 && pen_.Width <= WidthCount ? pen_.Width - 1 : -1);
}

void TPostilDlg::OKBtnClick() {
  pen_.Color = d_->lineColor.ChosenColor();
  if (d_->lineWidth->currentIndex() >= 0) pen_.Width = d_->lineWidth->currentIndex() + 1;
  Close(mrOk);
}

void TPostilDlg::CancelBtnClick() { Close(mrCancel); }

TDVColorCombo& TPostilDlg::cmbLineColor() const { return d_->lineColor; }
QComboBox* TPostilDlg::cmbLineWidth() const { return d_->lineWidth; }
QPushButton* TPostilDlg::OKBtn() const { return d_->ok; }
QPushButton* TPostilDlg::CancelBtn() const { return d_->cancel; }
TColorDialog& TPostilDlg::ColorDialog1() const { return d_->colorDialog; }

}  // namespace quillet
