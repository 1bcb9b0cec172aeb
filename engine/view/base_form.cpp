#include "engine/view/base_form.h"

#include <QDialog>
#include <QFontDatabase>

#include "engine/view/scroller.h"

namespace quillet {

TfrmDVBase::TfrmDVBase() : dialog_(new QDialog) {}

TfrmDVBase::~TfrmDVBase() { delete dialog_; }

int TfrmDVBase::ShowModal() {
  const int result = dialog_->exec();
  return result == QDialog::Accepted ? mrOk : mrCancel;
}

void TfrmDVBase::Close(TModalResult result) {
  if (result == mrOk)
    dialog_->accept();
  else
    dialog_->reject();
}

void TfrmDVBase::FormCreate() {
  const QString name = QString::fromStdString(DVA_DialogFontName);
  if (!name.isEmpty() && QFontDatabase::families().contains(name)) {
    QFont font = dialog_->font();
    font.setFamily(name);
    dialog_->setFont(font);
  }
  SetUseXPThemes(DVA_UseXPThemes);
}

void TfrmDVBase::AddThemedControl(TDVScroller* control) {
  AddThemedControl([control](bool value) { control->SetUseXPThemes(value); });
}

void TfrmDVBase::SetUseXPThemes(bool value) {
  for (const auto& setUseXPThemes : themed_) setUseXPThemes(value);
}

}  // namespace quillet
