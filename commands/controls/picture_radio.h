#pragma once
// Large picture option buttons: a picture area (an image from an image list,
// framed when checked) over or under a caption area. A group shows one button
// per item in columns and moves between them with the arrow keys.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/colors.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"

namespace quillet {

class TCustomImageList;

enum TORBTextPosition : uint8_t { orbtpBottom, orbtpTop };

// Draws the picture itself; DoDefault false keeps the image list's away.
using TORBCustomDrawEvent = std::function<void(TCustomControl& sender, TCanvas& canvas, const TRect& r, bool& doDefault)>;

class TDVPictureRadioButton : public TCustomControl {
 public:
  TDVPictureRadioButton();
  ~TDVPictureRadioButton() override;

  // UTF-8.
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool Checked() const { return checked_; }
  // Repaints only; a user's click is what reports.
  void SetChecked(bool value);

  TColor FillColor = clWindow;       // picture area while enabled
  TColor SelColor = clHighlight;     // the checked frame
  int32_t SelWidth = 2;
  int32_t TextAreaHeight = 30;       // 0: no caption
  bool Disabled3D = true;            // embossed caption when disabled, classic look
  TCustomImageList* Images = nullptr;  // not owned
  int32_t ImageIndex = -1;
  bool Square = false;               // picture area cut to a centred square
  bool LargeSelection = false;       // frame on the area's edge, no focus rectangle
  TORBTextPosition TextPosition = orbtpBottom;
  bool UseXPThemes() const { return useXPThemes_; }
  void SetUseXPThemes(bool value);
  TFont Font;

  TORBCustomDrawEvent OnCustomDraw;
  std::function<void(TDVPictureRadioButton&)> OnClick;
  std::function<void(TDVPictureRadioButton&)> OnDblClick;

  // The picture and caption areas in client coordinates.
  TRect ImageRect() const;
  TRect TextRect() const;

 protected:
  // A click, the Space key or the focus arriving on an unchecked button.
  // Alone it checks itself and reports; in a group the group decides.
  virtual void Activate(bool byFocus);
  virtual void DblClickItem();

  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void DblClick() override;
  void KeyDown(TKey& key, TShiftState shift) override;
  void WMSetFocus(TFocusReason reason) override;
  void WMKillFocus(TFocusReason reason) override;
  TDlgCodes WMGetDlgCode() override;

 private:
  void DrawCaption(TCanvas& canvas, const TRect& area);
  std::string caption_;
  bool checked_ = false;
  bool useXPThemes_ = true;
};

class TDVPictureRadioGroup;

// One choice of a group; every change reaches its button.
class TPictureGroupItem {
 public:
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t value);
  TColor FillColor() const { return fillColor_; }
  void SetFillColor(TColor value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  std::string Hint() const { return hint_; }
  void SetHint(const std::string& value);

 private:
  friend class TDVPictureRadioGroup;
  TPictureGroupItem(TDVPictureRadioGroup& group) : group_(&group) {}
  void Changed();
  TDVPictureRadioGroup* group_;
  std::string caption_ = "Item";
  int32_t imageIndex_ = -1;
  TColor fillColor_ = clWindow;
  bool enabled_ = true;
  std::string hint_;
};

using TORGCustomDrawEvent =
    std::function<void(TDVPictureRadioGroup& sender, int itemIndex, TCanvas& canvas, const TRect& r, bool& doDefault)>;

class TDVPictureRadioGroup : public TCustomControl {
 public:
  TDVPictureRadioGroup();
  ~TDVPictureRadioGroup() override;

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& value);

  int ItemCount() const { return static_cast<int>(items_.size()); }
  TPictureGroupItem& Item(int index) { return *items_.at(index); }
  TPictureGroupItem& AddItem();
  void ClearItems();
  // The button of an item, for tests and dialogs that place focus.
  TDVPictureRadioButton& Button(int index) { return *buttons_.at(index); }

  // -1: none checked (an undefined value).
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  int Columns() const { return columns_; }
  void SetColumns(int value);  // kept in 1..16
  int Margin() const { return margin_; }
  void SetMargin(int value);

  // The buttons' look; set, then UpdateButtons.
  TCustomImageList* Images = nullptr;
  TColor SelColor = clHighlight;
  int32_t SelWidth = 2;
  int32_t TextAreaHeight = 30;
  bool Disabled3D = true;
  TORBTextPosition TextPosition = orbtpBottom;
  bool Square = false;
  bool UseXPThemes() const { return useXPThemes_; }
  void SetUseXPThemes(bool value);
  TFont Font;

  TORGCustomDrawEvent OnCustomDraw;
  // The user changed the item.
  std::function<void(TDVPictureRadioGroup&)> OnClick;
  std::function<void(TDVPictureRadioGroup&, int itemIndex)> OnDblClickItem;

  // A descendant may refuse the user's changes.
  virtual bool CanModify() { return true; }

  // Buttons made to match the items, given the group's look, arranged.
  void UpdateButtons();
  void ArrangeButtons();
  // Where an arrow key moves from button index; -1 when no button can take
  // the focus.
  int GetAnother(int index, TKey key) const;

 protected:
  void Paint(TCanvas& canvas) override;
  void Resize() override;
  void WMSetFocus(TFocusReason reason) override;

 private:
  class TGroupButton;
  friend class TPictureGroupItem;
  void ItemChanged(const TPictureGroupItem& item);
  void AssignItem(int index);
  void ButtonActivated(int index, bool byFocus);
  void ButtonDblClicked(int index);
  void MoveFocus(int index, TKey key);

  std::string caption_;
  std::vector<std::unique_ptr<TPictureGroupItem>> items_;
  std::vector<std::unique_ptr<TDVPictureRadioButton>> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  int margin_ = 10;
  bool useXPThemes_ = true;
  bool updating_ = false;
  bool inNotification_ = false;
};

}  // namespace quillet
