#pragma once
// The 3-D border of a table or of its cells: none, sunken, raised or flat,
// its width and its two colours. The item-properties dialog fills it with
// SetData and reads it with GetData.
//
// What the user did not touch comes back as it went in: a width the list
// does not hold (12), colours equal to the automatic ones under a colour
// style, and the first width the dialog itself selects on activation.
#include <QString>

#include "commands/controls/color_combo.h"
#include "commands/controls/picture_radio.h"
#include "editing/table/table_types.h"
#include "engine/view/base_form.h"
#include "platform/ui/common_dialogs.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace quillet {

class TDVWidthCombo;

class TfrmDVTableBrdr : public TfrmDVBase {
 public:
  enum TBorderType { btNone, btSunken, btRaised, btFlat };
  static constexpr int WidthCount = 10;

  TfrmDVTableBrdr();
  ~TfrmDVTableBrdr() override;

  void SetData(TDVTableBorderStyle borderStyle, TColor colorL, TColor colorD, int borderWidth);
  void GetData(TDVTableBorderStyle& borderStyle, TColor& colorL, TColor& colorD, int& borderWidth) const;

  // The colour dialog the combos offer; the caller's.
  TColorDialog* ColorDialog = nullptr;

  TDVColorCombo cmbBorderColor;
  TDVColorCombo cmbBorderLightColor;
  TDVPictureRadioGroup rgBorderType;
  QGroupBox* gbSettings() const { return settings_; }
  QLabel* lblTableBorderColor() const { return colorLabel_; }
  QLabel* lblTableBorderLightColor() const { return lightLabel_; }
  TDVWidthCombo* cmbBorderWidth() const { return width_; }
  QPushButton* btnOk() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

  void FormActivate();
  void rgBorderTypeClick();

 private:
  void ColorChange();
  void WidthChange();
  void SwitchFromNone();
  void RepaintWidths();

  QGroupBox* settings_;
  QLabel* colorLabel_;
  QLabel* lightLabel_;
  TDVWidthCombo* width_;
  QPushButton* ok_;
  QPushButton* cancel_;
  // What SetData filled in, and what the user changed since.
  TDVTableBorderStyle filledStyle_ = dvtbRaised;
  bool typeTouched_ = false, colorTouched_ = false;
  // The width selection is the dialog's own (made on choosing a type).
  bool ownWidth_ = false;
};

}  // namespace quillet
