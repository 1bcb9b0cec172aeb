#pragma once
// The scrolling window under the viewer, the editor and the print preview.
// It keeps a vertical position in units of VSmallStep pixels and a
// horizontal one in pixels, drives the two scroll bars, scrolls the window's
// pixels and the child controls embedded in the document, and scrolls by
// keyboard and mouse wheel. The numbers live in a TDVScrollModel.
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/style/style_types.h"
#include "engine/view/background.h"
#include "engine/view/scroll_model.h"
#include "platform/ui/control.h"

namespace quillet {

class TCustomDVData;
class TCustomDVItemInfo;

// An embedded child control keeps its true vertical position in its Tag;
// its Top is that position brought into -10000..10000, so that a control
// scrolled far away stays within what a window can hold.
void DV_Tag2Y(TChildWindow& control);
int32_t DV_GetYByTag(const TChildWindow& control);

class TDVScroller : public TCustomControl {
 public:
  TDVScroller();
  ~TDVScroller() override;

  // The document size: xs pixels wide, ys units high. disableNoScroll keeps
  // the vertical bar shown (disabled) when it cannot scroll, if
  // VDisableNoScroll is set too; without updateH the horizontal axis stays.
  void UpdateScrollBars(int32_t xs, int32_t ys, bool disableNoScroll, bool updateH);

  int32_t VPos() const { return model_.VPos; }
  int32_t HPos() const { return model_.HPos; }
  int32_t XSize() const { return model_.XSize; }
  int32_t YSize() const { return model_.YSize; }
  const TDVScrollModel& Model() const { return model_; }

  virtual void SetVPos(int32_t value, bool redraw);
  virtual void SetHPos(int32_t value);
  void SetVScrollPos(int32_t value) { SetVPos(value, true); }
  // To document pixel y, with and without painting.
  void ScrollTo(int32_t y) { SetVPos(y / model_.SmallStep, true); }
  void ScrollToNoRedraw(int32_t y) { SetVPos(y / model_.SmallStep, false); }

  int32_t VSmallStep() const { return model_.SmallStep; }
  // Values below 1 are ignored.
  virtual void SetVSmallStep(int32_t value);

  bool VScrollVisible() const { return vScrollVisible_; }
  void SetVScrollVisible(bool value);
  bool HScrollVisible() const { return hScrollVisible_; }
  void SetHScrollVisible(bool value);
  bool VDisableNoScroll = false;

  bool Tracking() const { return model_.Tracking; }
  void SetTracking(bool value) { model_.Tracking = value; }
  int32_t WheelStep() const { return model_.WheelStep; }
  void SetWheelStep(int32_t value) { model_.WheelStep = value; }
  bool KeyboardScroll = true;
  // The control or, down the chain of in-place editors, one of them has the
  // focus (they are windows inside it).
  bool FocusedEx() const { return ContainsFocus(); }
  // Set when the background cannot be scrolled by copying pixels.
  bool FullRedraw = false;

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool UseXPThemes() const { return useXPThemes_; }
  void SetUseXPThemes(bool value);
  TDVBiDiMode BiDiMode() const { return biDiMode_; }
  virtual void SetBiDiModeDV(TDVBiDiMode value);

  // Screens here are true-colour: the scroller never makes a palette, so
  // GetPalette is always null whatever the mode.
  TDVPaletteAction DoInPaletteMode() const { return doInPaletteMode_; }
  void SetDoInPaletteMode(TDVPaletteAction value);
  TDVPaletteHandle GetPalette() const { return nullptr; }

  // The chosen sub-document: the document inside an item (a table cell)
  // that takes the caret and the keyboard, with the item that holds it.
  // Choosing another releases the current one; releasing it deselects it
  // (unless the window is going away) and lets its item clean up.
  void AssignChosenDVData(TCustomDVData* dvData, TCustomDVItemInfo* item);
  // Only the current one is released.
  void UnassignChosenDVData(TCustomDVData* dvData);
  // Another store for the same place: nothing is released.
  void SilentReplaceChosenDVData(TCustomDVData* dvData) { chosenDVData_ = dvData; }
  TCustomDVData* GetChosenDVData() const { return chosenDVData_; }
  TCustomDVItemInfo* GetChosenItem() const { return chosenItem_; }
  // The editor laid over the chosen sub-document (a child window of this
  // one), null when none. Its owner registers it and clears it when it goes.
  TDVScroller* GetInplaceEditor() const { return inplaceEditor_; }
  void SetInplaceEditor(TDVScroller* editor) { inplaceEditor_ = editor; }
  // Frees the editor, whose owner then takes its content back.
  void DestroyInplaceEditor();
  // Inside its own change handling (a cell editor), where it cannot be freed.
  virtual bool Busy() const { return false; }
  // Whether an open in-place editor, or one nested in it, is Busy: closing
  // them would pull the ground from under it.
  bool InplaceEditorBusy() const;

  std::function<void(TDVScroller& sender)> OnVScrolled;
  std::function<void(TDVScroller& sender)> OnHScrolled;

 protected:
  virtual void AfterVScroll();
  virtual void AfterHScroll();
  virtual void UpdatePaletteInfo() {}
  // The window is going away: a released sub-document keeps its selection.
  virtual bool ScrollerDestroying() const { return false; }

  void KeyDown(TKey& key, TShiftState shift) override;
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  void WMVScroll(TScrollCode code, int32_t pos) override;
  void WMHScroll(TScrollCode code, int32_t pos) override;
  TDlgCodes WMGetDlgCode() override { return DLGC_WANTARROWS; }

 private:
  struct TPendingBars {
    int32_t xs, ys;
    bool disableNoScroll, updateH;
  };
  void SetBars(int32_t xs, int32_t ys, bool disableNoScroll, bool updateH);
  void ApplyFrame();
  // Moves the window's pixels and the children after a position change.
  void ScrollContents(int64_t dx, int64_t dy, bool redraw);

  TDVScrollModel model_;
  TCustomDVData* chosenDVData_ = nullptr;
  TCustomDVItemInfo* chosenItem_ = nullptr;
  TDVScroller* inplaceEditor_ = nullptr;
  bool vScrollVisible_ = true;
  bool hScrollVisible_ = true;
  bool updatingBars_ = false;
  std::optional<TPendingBars> pending_;
  TBorderStyle borderStyle_ = bsNone;
  bool useXPThemes_ = true;
  TDVBiDiMode biDiMode_ = dvbdUnspecified;
  TDVPaletteAction doInPaletteMode_ = dvpaCreateCopies;
};

}  // namespace quillet
