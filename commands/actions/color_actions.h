#pragma once
// Colour commands: text colour, text background, paragraph background (with
// its padding) and the editor's background. Each asks for its colour in one
// of three ways: not at all, through the colour dialog, or through the
// palette popup dropped under the button that ran it. The popup does not
// block; its choice is applied when it closes, and only while the command
// and the editor it was opened for still exist.
#include <QPointer>
#include <cstdint>
#include <functional>

#include "commands/actions/action.h"
#include "engine/style/border.h"
#include "platform/core/colors.h"

namespace quillet {

class TFontInfo;
class TParaInfo;
class TfrmColor;

enum TdvaColorInterface : uint8_t { dvacNone, dvacColorDialog, dvacAdvanced };

class TdvActionCustomColor : public TdvAction {
 public:
  explicit TdvActionCustomColor(QObject* owner = nullptr);
  // An open palette is closed without reporting back to us.
  ~TdvActionCustomColor() override;

  // The colour applied; the user's choice replaces it.
  TColor Color = clNone;
  TdvaColorInterface UserInterface = dvacAdvanced;
  // The button the palette drops under; a widget is taken by its screen
  // rectangle, anything else (a menu entry) puts the palette at the mouse.
  QObject* CallerControl() const { return caller_.data(); }
  void SetCallerControl(QObject* value) { caller_ = value; }
  std::function<void(TdvActionCustomColor& sender)> OnShowColorPicker;
  std::function<void(TdvActionCustomColor& sender)> OnHideColorPicker;

  // While this command's palette is open, a second execution only closes it.
  void ExecuteTarget(TCustomControl* target) override;
  // Applies Color to the editor.
  virtual void ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) = 0;
  // What the editor has now, offered as the starting colour; clNone here.
  virtual TColor GetCurrentColor(TCustomDocViewEdit& editor);

  // The open palette, null when none.
  TfrmColor* ColorPicker() const { return picker_; }
  // The palette's first button ("&Auto", or "Tr&ansparent" for clNone).
  TColor DefaultColor() const { return defaultColor_; }

 protected:
  void SetDefaultColor(TColor value) { defaultColor_ = value; }

 private:
  void ExecuteColorDialog(TCustomDocViewEdit& editor);
  void ShowColorPicker(TCustomDocViewEdit& editor);
  void ColorPickerDestroy(TfrmColor& picker);
  void Notify(const std::function<void(TdvActionCustomColor&)>& event);

  TColor defaultColor_ = clNone;
  TfrmColor* picker_ = nullptr;
  TControlRef<TCustomDocViewEdit> pickerEditor_;
  QPointer<QObject> caller_;
};

// Text-style colour commands: a style conversion of the selection.
class TdvActionFontCustomColor : public TdvActionCustomColor {
 public:
  using TdvActionCustomColor::TdvActionCustomColor;
  void ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) override;
  virtual void ApplyConversion(TFontInfo& style, int32_t userData) = 0;
};

class TdvActionFontColor : public TdvActionFontCustomColor {
 public:
  explicit TdvActionFontColor(QObject* owner = nullptr);
  TColor GetCurrentColor(TCustomDocViewEdit& editor) override;
  void ApplyConversion(TFontInfo& style, int32_t userData) override;
};

class TdvActionFontBackColor : public TdvActionFontCustomColor {
 public:
  using TdvActionFontCustomColor::TdvActionFontCustomColor;
  TColor GetCurrentColor(TCustomDocViewEdit& editor) override;
  void ApplyConversion(TFontInfo& style, int32_t userData) override;
};

// Paragraph-style colour commands.
class TdvActionParaCustomColor : public TdvActionCustomColor {
 public:
  using TdvActionCustomColor::TdvActionCustomColor;
  void ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) override;
  virtual void ApplyConversion(TParaInfo& style, int32_t userData) = 0;
};

class TdvActionParaColor : public TdvActionParaCustomColor {
 public:
  using TdvActionParaCustomColor::TdvActionParaCustomColor;
  TColor GetCurrentColor(TCustomDocViewEdit& editor) override;
  void ApplyConversion(TParaInfo& style, int32_t userData) override;
};

// The background colour and, on the sides marked in use, its offsets; the
// paragraph's indents and spaces grow to hold them.
class TdvActionParaColorAndPadding : public TdvActionParaColor {
 public:
  using TdvActionParaColor::TdvActionParaColor;
  void SetPadding(const TDVRect& value) { padding_ = value; }
  void SetUsePadding(const TDVBooleanRect& value) { usePadding_ = value; }
  const TDVRect& Padding() const { return padding_; }
  const TDVBooleanRect& UsePadding() const { return usePadding_; }
  void ApplyConversion(TParaInfo& style, int32_t userData) override;

 private:
  TDVRect padding_;
  TDVBooleanRect usePadding_{true};
};

// The editor's background; a document that saves its background becomes
// modified.
class TdvActionColor : public TdvActionCustomColor {
 public:
  explicit TdvActionColor(QObject* owner = nullptr);
  void ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) override;
  TColor GetCurrentColor(TCustomDocViewEdit& editor) override;
};

}  // namespace quillet
