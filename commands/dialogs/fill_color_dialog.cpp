#include "commands/dialogs/fill_color_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "commands/dialogs/form_parts.h"

namespace quillet {

TfrmDVFillColor::TfrmDVFillColor() {
  QDialog* form = Dialog();
  form->setObjectName(QStringLiteral("frmDVFillColor"));
  form->setWindowTitle(QStringLiteral("填充色"));
  form->setFixedSize(280, 239);

  auto* group = AddGroup(form, "gbFill", " 填充色 ", {8, 8, 264, 150});
  SetUpBackColorGrid(dvcg, group);
  lblColor = AddLabel(group, "lblColor", "", nullptr, {8, 128, 248, 18});
  btnColor = AddButton(group, "btnColor", "更多颜色(&M)...", {152, 20, 104, 25});
  btnPadding = AddButton(group, "btnPadding", "&Padding...", {152, 52, 104, 25});
  cmb = AddCombo(form, "cmb", {}, {96, 168, 176, 22});
  AddLabel(form, nullptr, "应用至(&A):", cmb, {8, 172, 0, 0});
  // OK decides in its handler.
  AddOkCancel(*this, 112, 206, btnOk, btnCancel, false);
  SetTabOrder({dvcg.Widget(), btnColor, btnPadding, cmb, btnOk, btnCancel});

  AddThemedControl([this](bool value) { dvcg.SetFlat(value); });
  FormCreate();

  backColor_ = std::make_unique<TBackColorChoice>(dvcg, *lblColor);
  backColor_->SetColor(clNone, false);
  dvcg.OnColorChange = [this](TDVColorGrid&) {
    if (Shown()) backColor_->GridChanged();
  };
  QObject::connect(btnColor, &QPushButton::clicked, form, [this] { backColor_->MoreColors(ColorDialogInUse()); });
  QObject::connect(btnOk, &QPushButton::clicked, form, [this] { OkClick(); });
  QObject::connect(cmb, &QComboBox::currentIndexChanged, form, [this] { TargetChange(); });
  QObject::connect(btnPadding, &QPushButton::clicked, form, [this] {
    if (FourValuesPrompt) FourValuesPrompt("", "", padding_);
  });
  OnShow = [this] { TargetChange(); };
}

TfrmDVFillColor::~TfrmDVFillColor() = default;

bool TfrmDVFillColor::Shown() const { return Dialog()->isVisible(); }

TColorDialog& TfrmDVFillColor::ColorDialogInUse() {
  TColorDialog* given = colorDialog_.get();
  return given ? *given : ColorDialog1;
}

void TfrmDVFillColor::SetChosenColor(TColor value, bool defined) { backColor_->SetColor(value, defined); }

void TfrmDVFillColor::SetPadding(const TDVRect& values, const TDVBooleanRect& defined) { padding_ = {values, defined}; }

void TfrmDVFillColor::GetPadding(TDVRect& values, TDVBooleanRect& defined) const {
  values = padding_.Values;
  defined = padding_.Defined;
}

void TfrmDVFillColor::AddTarget(const std::string& caption, TFillTarget code) {
  cmb->addItem(QString::fromStdString(caption), static_cast<int>(code));
}

void TfrmDVFillColor::SetTargetIndex(int index) { cmb->setCurrentIndex(index); }

int TfrmDVFillColor::TargetCode() const {
  return cmb->currentIndex() < 0 ? -1 : cmb->currentData().toInt();
}

void TfrmDVFillColor::TargetChange() { btnPadding->setEnabled(TargetCode() == ftParagraph); }

void TfrmDVFillColor::OkClick() {
  if (backColor_->Defined()) {
    Close(mrOk);
    return;
  }
  CommonDialogs().MessageBox({"Please select a color", "Color", MB_OK, MB_ICONERROR});
}

}  // namespace quillet
