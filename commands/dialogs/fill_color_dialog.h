#pragma once
// The fill-colour dialog: a background colour for the text, paragraphs,
// cells or table named in its apply-to list, and for paragraphs the
// padding. OK is refused while no colour is chosen.
#include <cstdint>
#include <memory>
#include <string>

#include "commands/controls/color_grid.h"
#include "commands/dialogs/back_color.h"
#include "commands/dialogs/four_sides_dialog.h"
#include "engine/view/base_form.h"
#include "platform/ui/common_dialogs.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace quillet {

// The apply-to list's target codes.
enum TFillTarget : int { ftTable = 1, ftCell = 2, ftParagraph = 3, ftText = 4 };

class TfrmDVFillColor : public TfrmDVBase {
 public:
  TfrmDVFillColor();
  ~TfrmDVFillColor() override;

  void SetColorDialog(TColorDialog* dialog) { colorDialog_ = dialog; }
  // Opens the four-values form for the padding.
  TFourValuesPrompt FourValuesPrompt = FourSidesPrompt();

  // A system colour is shown as its RGB value and given back as it came.
  void SetChosenColor(TColor value, bool defined);
  TColor ChosenColor() const { return backColor_->Color(); }
  bool ColorDefined() const { return backColor_->Defined(); }
  void SetPadding(const TDVRect& values, const TDVBooleanRect& defined);
  void GetPadding(TDVRect& values, TDVBooleanRect& defined) const;
  // Apply-to entries (UTF-8 caption) and the chosen one's code (-1: none).
  void AddTarget(const std::string& caption, TFillTarget code);
  void SetTargetIndex(int index);
  int TargetCode() const;

  TDVColorGrid dvcg;
  QLabel* lblColor;
  QPushButton *btnColor, *btnPadding;
  QComboBox* cmb;
  QPushButton *btnOk, *btnCancel;

 private:
  bool Shown() const;
  TColorDialog& ColorDialogInUse();
  void OkClick();
  void TargetChange();

  TColorDialogRef colorDialog_;
  TColorDialog ColorDialog1;
  std::unique_ptr<TBackColorChoice> backColor_;
  TFourValues padding_;
};

}  // namespace quillet
