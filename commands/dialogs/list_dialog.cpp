#include "commands/dialogs/list_dialog.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "commands/dialogs/form_parts.h"
#include "platform/ui/clipboard.h"

namespace quillet {

TfrmDVList::TfrmDVList() {
  QDialog* dialog = Dialog();
  dialog->setFixedSize(236, 195);
  list_ = new QListWidget(dialog);
  Place(list_, "lst", {8, 28, 220, 128});
  label_ = AddLabel(dialog, "lbl", "", list_, {8, 8, 220, 16});
  ok_ = AddResultButton(*this, "btnOk", "OK", mrOk, {72, 164, 75, 25});
  cancel_ = AddResultButton(*this, "btnCancel", "Cancel", mrCancel, {153, 164, 75, 25});
  SetTabOrder({list_, ok_, cancel_});
  QObject::connect(list_, &QListWidget::itemDoubleClicked, dialog, [this] { Close(mrOk); });
  FormCreate();
}

TfrmDVList::~TfrmDVList() = default;

void TfrmDVList::InitPasteAs(const std::string& dvfCaption, const TClipboard& clipboard) {
  label_->setText(Q("&Paste as:"));
  Dialog()->setWindowTitle(Q("Paste Special"));
  list_->clear();
  const struct {
    TClipboardFormat Format;
    QString Text;
    int Code;
  } entries[] = {
      {RegisterClipboardFormat("DocView Format"), QString::fromStdString(dvfCaption), pfDVF},
      {RegisterClipboardFormat("Rich Text Format"), Q("Rich text format"), pfRTF},
      {CF_TEXT, Q("Text"), pfText},
      {CF_UNICODETEXT, Q("Unicode text"), pfUnicodeText},
      {CF_BITMAP, Q("Bitmap picture"), pfBitmap},
  };
  for (const auto& entry : entries) {
    if (!clipboard.HasFormat(entry.Format)) continue;
    auto* item = new QListWidgetItem(entry.Text, list_);
    item->setData(Qt::UserRole, entry.Code);
  }
  if (list_->count() > 0) list_->setCurrentRow(0);
}

int TfrmDVList::SelectedCode() const {
  const QListWidgetItem* item = list_->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : 0;
}

}  // namespace quillet
