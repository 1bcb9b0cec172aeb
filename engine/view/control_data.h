#pragma once
// The laid-out document of a window: keyboard focus on its items (Tab and
// Ctrl+Tab move among links and embedded controls, Enter executes the
// focused one, a dotted rectangle shows it) and the window's paint.
#include <cstdint>

#include "engine/layout/formatted_data.h"

namespace quillet {

class TControl;

// Where the keyboard focus came from when it reaches the document: from no
// window, from the viewer itself or a control embedded in its document, or
// from a window outside it (possibly on another form).
struct TDVFocusOrigin {
  bool Given = false;          // it came from a window
  bool FromOutside = false;    // that window is neither the viewer nor inside it
  bool OtherForm = false;      // that window belongs to another top-level window
  const TControl* Embedded = nullptr;  // the embedded control it was
};

class TDVControlData : public TCustomDVFormattedData {
 public:
  int TopLevelFocusedItemNo = -1;
  // The data, possibly a sub-document, that holds the focused item.
  TCustomDVFormattedData* TopLevelFocusedDVData = nullptr;
  TDVTabNavigationType TabNavigation = dvtnTab;

  TDVTabNavigationType GetTabNavigation() const override { return TabNavigation; }
  // Moves the focus to the next (previous) item that takes it, or out of
  // the document to the next control of the form. When nothing outside
  // takes it, the walk starts once more from the viewer's start, and no
  // more than once.
  void DoTabNavigation(bool backward, const TDVFocusOrigin& prev);
  // The focus rectangles (client coordinates) around the focused item's
  // drawing items, when it shows a dotted focus.
  void DrawFocusedRect(TCanvas& canvas);
  // Repaints where the focus rectangles are.
  void InvalidateFocusedRect();
  // Enter: the focused item acts (a link jumps).
  void ExecuteFocused();
  void AdjustFocus(int newFocusedItemNo, TCustomDVData* topLevelDVData, int topLevelItemNo) override;
  void ClearTemporal() override;
  void Deselect(TCustomDVItemInfo* newPartiallySelected, bool makeEvent) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  // The document, then the focus rectangle over it.
  void PaintBuffered(TCanvas& canvas) override;

 protected:
  // The window moves the focus to the next control of its form outside the
  // viewer (false when there is none), or takes the focus itself.
  virtual bool FocusNextControl(bool /*backward*/) { return false; }
  virtual void TakeFocus() {}

 private:
  void TabNavigate(bool backward, const TDVFocusOrigin& prev, bool wrapped);
  // Runs f on the client rectangle of every drawing item of the focused item.
  template <class F>
  void ForEachFocusRect(F&& f);
};

}  // namespace quillet
