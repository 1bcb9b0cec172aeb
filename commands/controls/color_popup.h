#pragma once
// The palette popup: a borderless window of colour buttons (an automatic or
// transparent button, optionally a second default button, the 40 palette
// colours) and a button to the colour dialog. It is shown without blocking
// the caller and closes at the first choice, Enter, Esc or a click outside;
// a popup then frees itself and reports through OnDestroy.
#include <functional>
#include <memory>
#include <vector>

#include "engine/view/base_form.h"
#include "platform/core/colors.h"
#include "platform/core/geometry.h"
#include "platform/core/keys.h"
#include "platform/ui/common_dialogs.h"

class QImage;
class QToolButton;
class QWidget;

namespace quillet {

class TCustomControl;

class TfrmColor : public TfrmDVBase {
 public:
  // Made with new: once closed it deletes itself (posted, so a handler of
  // its own may close it).
  TfrmColor();
  ~TfrmColor() override;

  void FormCreate() override;
  // DefaultColor is the first button's colour (clNone: the transparent
  // button); colorDialog may be null (the popup's own is used); color is the
  // current colour; a second default button ("&Default") only with
  // addDefault2Color.
  void Init(TColor defaultColor, TColorDialog* colorDialog, TColor color, bool addDefault2Color = false,
            TColor default2Color = clNone);

  // Shows the popup below the rectangle (screen coordinates), or above it
  // and right-aligned where the screen ends.
  void PopupAt(const TRect& r);
  void PopupAtControl(const TCustomControl& control);
  void PopupAtMouse();

  // The results, read when the popup goes.
  bool Chosen() const { return chosen_; }
  TColor Color() const { return color_; }
  // Closes the popup without a choice of its own making.
  void ClosePopup();
  // No sound as it opens.
  void SetSilent(bool value) { silent_ = value; }
  bool Popup() const { return popup_; }
  std::function<void(TfrmColor&)> OnDestroy;

  // The colour buttons in keyboard order, the special ones first; the
  // more-colours button is not among them.
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  QToolButton* ColorButton(int index) const { return buttons_.at(index).button; }
  QToolButton* MoreButton() const { return more_; }
  int KeySelected() const { return keySelected_; }
  int SpecialCount() const { return specialCount_; }

  void FormKeyDown(TKey& key);
  // Clicks the captioned button whose underlined letter is the key (a Qt key).
  void PressMnemonic(int qtKey);

 private:
  struct TColorButton {
    QToolButton* button;
    TColor color;
  };
  class TEvents;
  void CreateButtons(TColor defaultColor, bool addDefault2Color, TColor default2Color);
  QToolButton* AddButton(int x, int y, int width, int height, TColor color, bool swatch);
  void ColorClick(int index);
  void MoreClick();
  void UpdateBtnState();
  void FormShow();
  // The popup went out of sight: it frees itself, unless the colour dialog
  // is still running over it.
  void Closed();

  TColorDialog cd;
  TColorDialog* colorDialog_ = nullptr;
  TColor color_ = clNone;
  bool chosen_ = false;
  bool popup_ = false;
  bool silent_ = false;
  bool inMoreDialog_ = false;
  bool freeing_ = false;
  int keySelected_ = -1;
  int specialCount_ = 1;
  std::vector<TColorButton> buttons_;
  QToolButton* more_ = nullptr;
  QWidget* face_ = nullptr;
  std::unique_ptr<TEvents> events_;
};

// The 14 x 14 swatch of a colour button: the colour inside a button-shadow
// frame, the outermost ring clear.
QImage ColorSwatch(TColor color);

}  // namespace quillet
