#pragma once
// The pen properties dialog: the annotation pen's colour and width. Every
// showing starts from the pen as it is; OK writes both back, Cancel neither.
// The width list shows each width as a sample line in the chosen colour; its
// item "n" is a pen n pixels wide.
#include <memory>

#include "engine/view/base_form.h"
#include "host/annotation/annotation_pen.h"
#include "platform/ui/common_dialogs.h"

class QComboBox;
class QPushButton;

namespace quillet {

class TDVColorCombo;

class TPostilDlg : public TfrmDVBase {
 public:
  // The pen belongs to the caller and outlives the dialog.
  explicit TPostilDlg(TAnnotationPen& pen);
  ~TPostilDlg() override;

  void FormCreate() override;
  // Fills the controls from the pen; runs as the dialog shows.
  void FormShow();
  void OKBtnClick();
  void CancelBtnClick();

  TDVColorCombo& cmbLineColor() const;
  QComboBox* cmbLineWidth() const;
  QPushButton* OKBtn() const;
  QPushButton* CancelBtn() const;
  TColorDialog& ColorDialog1() const;

  static constexpr int WidthCount = 10;

 private:
  struct Impl;
  TAnnotationPen& pen_;
  std::unique_ptr<Impl> d_;
};

}  // namespace quillet
