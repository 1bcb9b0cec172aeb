#pragma once
// The paragraph dialog: alignment, left and right indent, first-line indent
// (indented or hanging), space before and after and line spacing of the
// selection, with a sample drawn at half scale. The paragraph command fills
// it with SetValues (mixed values undefined) and applies what GetValues
// gives back as defined.
#include <QString>
#include <cstdint>
#include <memory>

#include "commands/controls/picture_radio.h"
#include "commands/dialogs/dialog_preview.h"
#include "commands/dialogs/filled_values.h"
#include "engine/style/para_style.h"
#include "engine/view/base_form.h"

class QComboBox;
class QGroupBox;
class QPushButton;

namespace quillet {

class TDVSpinEdit;

struct TParaDialogValues {
  TDefined<TDVAlignment> Alignment;
  // Pixels; a negative first-line indent hangs.
  TDefined<int32_t> LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter;
  TDefined<int32_t> LineSpacing;  // per cent of single spacing
  friend bool operator==(const TParaDialogValues&, const TParaDialogValues&) = default;
};

class TfrmDVPara : public TfrmDVBase {
 public:
  TfrmDVPara();
  ~TfrmDVPara() override;

  void SetValues(const TParaDialogValues& values);
  // A control left as it was filled gives exactly the filled value.
  TParaDialogValues GetValues() const;

  // Lays the sample out with the controls' values; nothing while hidden.
  void UpdateSample();

  TDVPictureRadioGroup gbAlignment;
  TDVSpinEdit *seLeftIndent, *seRightIndent, *seFirstLineIndent;
  TDVPictureRadioButton rbPositive, rbNegative;
  TDVSpinEdit *seSpaceBefore, *seSpaceAfter;
  QComboBox* cmbLineSpacing;
  TDVSpinEdit* seLineSpacingValue;
  std::unique_ptr<TDialogPreview> dv;
  QPushButton *btnOk, *btnCancel;

 private:
  bool Shown() const;
  void FirstLineChange();
  void LeftIndentChange();
  void FirstLineClick(TDVPictureRadioButton& clicked, TDVPictureRadioButton& other);
  void RaiseLeftIndent();
  void LineSpacingClick();
  void LineSpacingValueChange();

  bool adjusting_ = false;  // the indent handlers adjusting each other
  TParaDialogValues filled_;
  int filledAlignment_ = -1, filledLineSpacing_ = -1;
  bool filledPositive_ = false, filledNegative_ = false;
  std::unique_ptr<TFilledSpin> filledLeft_, filledRight_, filledFirst_, filledBefore_, filledAfter_, filledLineValue_;
};

}  // namespace quillet
