#include "commands/dialogs/find_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <algorithm>

#include "commands/dialogs/form_parts.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

// Replace has one more row of text and two more buttons.
constexpr int kRow = 30;

QLineEdit* AddEdit(QWidget* parent, const char* name, const QRect& r) {
  auto* edit = new QLineEdit(parent);
  Place(edit, name, r);
  return edit;
}

std::u16string Units(const QLineEdit* edit) {
  const QString text = edit->text();
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TdvaFindDialog::TdvaFindDialog() : TdvaFindDialog(false) {}

TdvaFindDialog::TdvaFindDialog(bool replace) {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q(replace ? "替换" : "查找"));
  dialog->setModal(false);
  const int shift = replace ? kRow : 0;
  dialog->setFixedSize(392, replace ? 140 : 104);

  find_ = AddEdit(dialog, "edtFind", {96, 9, 188, 22});
  AddLabel(dialog, "lblFind", "查找内容(&N):", find_, {8, 12, 84, 16});
  up_ = new QRadioButton(Q("向上(&U)"));
  up_->setObjectName("rbUp");
  down_ = new QRadioButton(Q("向下(&D)"));
  down_->setObjectName("rbDown");
  down_->setChecked(true);
  // The direction group ends where the buttons' column begins and is as wide
  // as its two choices need in the dialog's font, the check boxes taking
  // what is left of the row.
  const int upWidth = up_->sizeHint().width(), downWidth = down_->sizeHint().width();
  const int groupWidth = std::max(120, 8 + upWidth + 8 + downWidth + 8);
  const int groupLeft = 284 - groupWidth;
  const int checkWidth = std::max(0, groupLeft - 14);
  wholeWord_ = AddCheck(dialog, "cbWholeWord", "全字匹配(&W)", {8, 46 + shift, checkWidth, 18});
  matchCase_ = AddCheck(dialog, "cbMatchCase", "区分大小写(&C)", {8, 70 + shift, checkWidth, 18});
  QGroupBox* direction = AddGroup(dialog, "gbDirection", "方向", {groupLeft, 40 + shift, groupWidth, 56});
  up_->setParent(direction);
  up_->setGeometry(8, 24, upWidth, 18);
  down_->setParent(direction);
  down_->setGeometry(8 + upWidth + 8, 24, downWidth, 18);

  findNext_ = AddButton(dialog, "btnFindNext", "查找下一个(&F)", {294, 8, 90, 25});
  findNext_->setDefault(true);
  AddSearchButton(findNext_);
  cancel_ = AddResultButton(*this, "btnCancel", "取消", mrCancel, {294, replace ? 98 : 38, 90, 25});
  QObject::connect(findNext_, &QPushButton::clicked, dialog, [this] {
    if (OnFind) OnFind();
  });
  QObject::connect(find_, &QLineEdit::textChanged, dialog, [this] { FindTextChanged(); });
  if (!replace) SetTabOrder({find_, wholeWord_, matchCase_, up_, down_, findNext_, cancel_});
  FormCreate();
}

TdvaFindDialog::~TdvaFindDialog() = default;

std::u16string TdvaFindDialog::FindText() const { return Units(find_); }

void TdvaFindDialog::SetFindText(std::u16string_view text) { find_->setText(ToQString(text)); }

TFindOptions TdvaFindDialog::Options() const {
  TFindOptions options = replaceFlag_;
  if (down_->isChecked()) options |= frDown;
  if (matchCase_->isChecked()) options |= frMatchCase;
  if (wholeWord_->isChecked()) options |= frWholeWord;
  return options;
}

void TdvaFindDialog::Execute(QWidget* owner) {
  QDialog* dialog = Dialog();
  // Not a child of the owner's window (the command owns the dialog), but
  // kept in front of it by the window system.
  if (owner) {
    dialog->winId();
    if (QWindow* window = owner->window()->windowHandle()) dialog->windowHandle()->setTransientParent(window);
  }
  dialog->show();
  // Activating brings a dialog that was already shown to the front as well.
  dialog->activateWindow();
  find_->setFocus();
  find_->selectAll();
}

void TdvaFindDialog::CloseDialog() {
  if (Showing()) Close(mrCancel);
}

bool TdvaFindDialog::Showing() const { return Dialog()->isVisible(); }

void TdvaFindDialog::AddSearchButton(QPushButton* button) {
  searchButtons_.push_back(button);
  FindTextChanged();
}

void TdvaFindDialog::FindTextChanged() {
  // Nothing to look for: the buttons that search stay off, Enter too.
  const bool any = !find_->text().isEmpty();
  for (QPushButton* button : searchButtons_) button->setEnabled(any);
}

TdvaReplaceDialog::TdvaReplaceDialog() : TdvaFindDialog(true) {
  QDialog* dialog = Dialog();
  replaceText_ = AddEdit(dialog, "edtReplace", {96, 9 + kRow, 188, 22});
  AddLabel(dialog, "lblReplace", "替换为(&P):", replaceText_, {8, 12 + kRow, 84, 16});
  replace_ = AddButton(dialog, "btnReplace", "替换(&R)", {294, 38, 90, 25});
  replaceAll_ = AddButton(dialog, "btnReplaceAll", "全部替换(&A)", {294, 68, 90, 25});
  AddSearchButton(replace_);
  AddSearchButton(replaceAll_);
  QObject::connect(replace_, &QPushButton::clicked, dialog, [this] { Replace(frReplace); });
  QObject::connect(replaceAll_, &QPushButton::clicked, dialog, [this] { Replace(frReplaceAll); });
  SetTabOrder({edtFind(), replaceText_, cbWholeWord(), cbMatchCase(), rbUp(), rbDown(), btnFindNext(), replace_,
               replaceAll_, btnCancel()});
}

TdvaReplaceDialog::~TdvaReplaceDialog() = default;

std::u16string TdvaReplaceDialog::ReplaceText() const { return Units(replaceText_); }

void TdvaReplaceDialog::SetReplaceText(std::u16string_view text) { replaceText_->setText(ToQString(text)); }

void TdvaReplaceDialog::Replace(TFindOptions which) {
  const TScopedValue<TFindOptions> flag(replaceFlag_, which);
  if (OnReplace) OnReplace();
}

}  // namespace quillet
