#pragma once
// A combo-like control that shows the chosen colour as a swatch and drops
// the palette popup down under itself. Showing the automatic colour, it
// writes "Auto" (or "Transparent") over the swatch; indeterminate (a mixed
// selection) it shows an empty swatch.
#include <functional>

#include "platform/core/colors.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/control.h"

namespace quillet {

class TfrmColor;

class TDVColorCombo : public TCustomControl {
 public:
  TDVColorCombo();
  ~TDVColorCombo() override;

  TColor AutoColor() const { return autoColor_; }
  void SetAutoColor(TColor value);
  // Setting it clears Indeterminate.
  TColor ChosenColor() const { return chosenColor_; }
  void SetChosenColor(TColor value);
  bool Indeterminate() const { return indeterminate_; }
  void SetIndeterminate(bool value);
  // The dialog behind "&More Colors..."; it reads as none once that dialog
  // is gone.
  TColorDialog* ColorDialog() const { return colorDialog_.get(); }
  void SetColorDialog(TColorDialog* value) { colorDialog_ = value; }
  bool UseXPThemes() const { return useXPThemes_; }
  void SetUseXPThemes(bool value);

  // The open popup, if any.
  TfrmColor* Popup() const { return popup_; }
  // The swatch and the drop-down button in client coordinates.
  TRect SwatchRect() const;
  TRect ButtonRect() const;

  TFont Font;
  // After a colour was picked in the popup.
  std::function<void(TDVColorCombo&)> OnColorChange;

 protected:
  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseLeave() override;
  void KeyDown(TKey& key, TShiftState shift) override;
  void WMSetFocus(TFocusReason reason) override;
  void WMKillFocus(TFocusReason reason) override;
  void Resize() override;

 private:
  void DropDown();
  void ColorPickerDestroy(TfrmColor& popup);
  void PaintButton(TCanvas& canvas, const TRect& r);
  void PaintCaption(TCanvas& canvas, const TRect& swatch);

  TColor autoColor_ = clNone;
  TColor chosenColor_ = clNone;
  bool indeterminate_ = false;
  TColorDialogRef colorDialog_;
  bool useXPThemes_ = true;
  bool hot_ = false;
  bool leftDown_ = false;
  TfrmColor* popup_ = nullptr;
};

// The colour of "Auto" or "Transparent" drawn over the chosen colour.
TColor AutoCaptionColor(TColor autoColor, TColor chosenColor);

}  // namespace quillet
