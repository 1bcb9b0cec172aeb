#pragma once
// The font dialog: font, size, script, bold, italic, overline, all
// capitals, colour, character spacing, vertical offset and horizontal scale
// of the selection, with a sample laid out by the engine itself. The font
// command fills it with SetValues (mixed values undefined), shows it and
// applies what GetValues gives back as defined.
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "commands/controls/color_combo.h"
#include "commands/controls/font_provider.h"
#include "commands/controls/picture_radio.h"
#include "commands/dialogs/dialog_preview.h"
#include "commands/dialogs/filled_values.h"
#include "engine/view/base_form.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QTabWidget;
class QWidget;

namespace quillet {

class TColorDialog;
class TDVFontCharsetComboBox;
class TDVFontComboBox;
class TDVFontSizeComboBox;
class TDVSpinEdit;

struct TFontDialogValues {
  TDefined<std::string> FontName;  // UTF-8
  TDefined<int32_t> Size;          // points
  TDefined<int> Charset;
  TDefined<bool> Bold, Italic, Underline, StrikeOut, Overline, AllCaps;
  TDefined<TColor> Color;
  TDefined<int32_t> CharSpacing;  // pixels, negative condenses
  TDefined<int32_t> VShift;       // per cent of the font height, negative lowers
  TDefined<int32_t> CharScale;    // per cent
  friend bool operator==(const TFontDialogValues&, const TFontDialogValues&) = default;
};

class TfrmDVFont : public TfrmDVBase {
 public:
  explicit TfrmDVFont(TFontProvider& fonts = SystemFontProvider());
  ~TfrmDVFont() override;

  // "More colours" of the colour combo.
  void SetColorDialog(TColorDialog* dialog) { colorDialog_ = dialog; }
  // The first line of the selected text (UTF-8); empty shows the font's name.
  void SetSampleText(const std::string& text) { sampleText_ = text; }

  void SetValues(const TFontDialogValues& values);
  // Each control that holds a value gives it as defined; a control left as
  // it was filled gives exactly the filled value.
  TFontDialogValues GetValues() const;

  // Lays the sample out with the controls' values; nothing while hidden.
  void UpdatePreview();

  QTabWidget* PageControl1;
  QWidget* ts1;
  QWidget* TabSheet1;
  TDVFontComboBox* cmbFont;
  TDVFontSizeComboBox* cmbSize;
  TDVFontCharsetComboBox* cmbCharset;
  QCheckBox *cbB, *cbI, *cbU, *cbS, *cbO, *cbAC;
  TDVColorCombo cmbColor;
  QGroupBox* gbSample;
  std::unique_ptr<TDialogPreview> dv;
  TDVSpinEdit* seSpacing;
  TDVPictureRadioButton rbExp, rbCond;
  TDVSpinEdit* seShift;
  TDVPictureRadioButton rbDown, rbUp;
  TDVSpinEdit* seCharScale;
  QPushButton *btnOk, *btnCancel;

 private:
  void FormActivate();
  void ShowSampleText();
  void SpacingDirectionClick(TDVPictureRadioButton& clicked, TDVPictureRadioButton& other);
  void ShiftDirectionClick(TDVPictureRadioButton& clicked, TDVPictureRadioButton& other);
  void SpacingChange();
  void ShiftChange();
  void LimitSpacing();
  bool Shown() const;

  TColorDialogRef colorDialog_;
  std::string sampleText_;
  TFontDialogValues filled_;
  QString filledSize_;
  int filledCharsetIndex_ = -1;
  QString filledFont_;
  std::unique_ptr<TFilledSpin> filledSpacing_, filledShift_, filledScale_;
  bool updating_ = false;
  bool filledExp_ = false, filledCond_ = false, filledDown_ = false, filledUp_ = false;
};

}  // namespace quillet
