#pragma once
// A list to choose one entry from; as paste special, the clipboard's formats
// the editor can paste.
#include <string>

#include "engine/view/base_form.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quillet {

class TClipboard;

// The codes paste special gives its entries (the list items' data).
enum TPasteAsFormat { pfDVF = 1, pfRTF = 2, pfText = 3, pfUnicodeText = 4, pfBitmap = 5, pfMetafile = 6 };

class TfrmDVList : public TfrmDVBase {
 public:
  TfrmDVList();
  ~TfrmDVList() override;

  // Lists the formats on the clipboard, the project's own under dvfCaption
  // (UTF-8), and selects the first. The platform has no metafile pictures.
  void InitPasteAs(const std::string& dvfCaption, const TClipboard& clipboard);
  // The chosen entry's code; 0 when none is chosen.
  int SelectedCode() const;

  QLabel* lbl() const { return label_; }
  QListWidget* lst() const { return list_; }
  QPushButton* btnOk() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

 private:
  QLabel* label_;
  QListWidget* list_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace quillet
