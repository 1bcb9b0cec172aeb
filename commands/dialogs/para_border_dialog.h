#pragma once
// The paragraph border and background dialog. TfrmDVBorderSides is the
// generic part: a bordered sample with four side buttons, a colour and a
// width list. TfrmDVParaBrdr completes it with the border type, internal
// width, border offsets, background colour and padding. The paragraph-border
// command fills it with SetValues (mixed values undefined, per side where
// a value has sides) and applies what GetValues gives back as defined.
#include <QString>
#include <cstdint>
#include <memory>

#include "commands/controls/color_combo.h"
#include "commands/controls/color_grid.h"
#include "commands/controls/picture_radio.h"
#include "commands/dialogs/back_color.h"
#include "commands/dialogs/dialog_preview.h"
#include "commands/dialogs/filled_values.h"
#include "commands/dialogs/four_sides_dialog.h"
#include "engine/style/border.h"
#include "engine/view/base_form.h"
#include "platform/ui/common_dialogs.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace quillet {

class TDVSpinEdit;
class TDVWidthItemDelegate;

class TfrmDVBorderSides : public TfrmDVBase {
 public:
  TfrmDVBorderSides();
  ~TfrmDVBorderSides() override;

  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QGroupBox* gbSample;
  std::unique_ptr<TDialogPreview> dv;
  QToolButton *btnLeft, *btnRight, *btnTop, *btnBottom;
  QGroupBox* gbSettings;
  TDVColorCombo cmbColor;
  QComboBox* cmbWidth;
  QPushButton *btnOk, *btnCancel;

 protected:
  // A side button's click, the Ctrl key of its side included.
  virtual void SideClick(QToolButton* button);
  // A colour was picked.
  virtual void ColorChange();

 private:
  TDVWidthItemDelegate* widthDelegate_;
};

struct TParaBorderValues {
  TDefined<TDVBorderStyle> Style;
  TDefined<TColor> Color;
  TDefined<int32_t> Width;
  TDefined<int32_t> InternalWidth;
  TDVBooleanRect Visible{false};
  TDVBooleanRect VisibleDefined{false};
  TFourValues Offsets;
  TDefined<TColor> BackColor;
  TFourValues Padding;
  friend bool operator==(const TParaBorderValues&, const TParaBorderValues&) = default;
};

class TfrmDVParaBrdr : public TfrmDVBorderSides {
 public:
  TfrmDVParaBrdr();
  ~TfrmDVParaBrdr() override;

  // "More colours" of the colour combo and the background page.
  void SetColorDialog(TColorDialog* dialog) { colorDialog_ = dialog; }
  // Opens the four-values form for the offsets and the padding.
  TFourValuesPrompt FourValuesPrompt = FourSidesPrompt();

  void SetValues(const TParaBorderValues& values);
  // A control left as it was filled gives exactly the filled value; a side
  // button left flat is undefined.
  TParaBorderValues GetValues() const;

  // Lays the sample out with the controls' values; nothing while hidden.
  void UpdateSample();

  TDVSpinEdit* seIW;
  QPushButton* btnOffsets;
  TDVPictureRadioGroup gbBorderType;
  TDVColorGrid dvcg;
  QLabel* lblBackColor;
  QPushButton *btnColor, *btnPadding;

 protected:
  void SideClick(QToolButton* button) override;
  void ColorChange() override;

 private:
  bool Shown() const;
  TColorDialog& ColorDialogInUse();
  // A defined colour, a width, a side or offsets given while the type is
  // none make it single.
  void SwitchNoneToSingle();
  void BorderTypeClick();
  void OffsetsClick();
  void PaddingClick();

  TColorDialogRef colorDialog_;
  TColorDialog ColorDialog1;
  std::unique_ptr<TBackColorChoice> backColor_;
  TFourValues offsets_, padding_;
  TParaBorderValues filled_;
  int filledStyle_ = -1, filledWidth_ = -1;
  std::unique_ptr<TFilledSpin> filledIW_;
};

}  // namespace quillet
