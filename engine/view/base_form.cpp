#include "engine/view/base_form.h"

#include <QDialog>
#include <QEvent>
#include <QFontDatabase>

#include "engine/view/scroller.h"

namespace quillet {

namespace {

TModalRunner& Runner() {
  static TModalRunner runner;
  return runner;
}

}  // namespace

TScopedModalRunner::TScopedModalRunner(TModalRunner runner) : saved_(std::move(Runner())) {
  Runner() = std::move(runner);
}

TScopedModalRunner::~TScopedModalRunner() { Runner() = std::move(saved_); }

class TfrmDVBase::TShowFilter final : public QObject {
 public:
  explicit TShowFilter(TfrmDVBase& form) : form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Show && form_.OnShow) form_.OnShow();
    return QObject::eventFilter(watched, e);
  }

 private:
  TfrmDVBase& form_;
};

TfrmDVBase::TfrmDVBase() : dialog_(new QDialog), showFilter_(std::make_unique<TShowFilter>(*this)) {
  dialog_->installEventFilter(showFilter_.get());
}

TfrmDVBase::~TfrmDVBase() {
  OnShow = nullptr;
  delete dialog_;
}

int TfrmDVBase::ShowModal() {
  if (Runner()) return Runner()(*this);
  dialog_->exec();
  return ModalResult();
}

int TfrmDVBase::ModalResult() const { return dialog_->result() == QDialog::Accepted ? mrOk : mrCancel; }

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
  SetUseVisualStyles(DVA_UseVisualStyles);
}

void TfrmDVBase::AddThemedControl(TDVScroller* control) {
  AddThemedControl([control](bool value) { control->SetUseXPThemes(value); });
}

void TfrmDVBase::SetUseVisualStyles(bool value) {
  for (const auto& setUseVisualStyles : themed_) setUseVisualStyles(value);
}

}  // namespace quillet
