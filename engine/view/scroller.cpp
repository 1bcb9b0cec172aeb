#include "engine/view/scroller.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/layout/formatted_data.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

constexpr int32_t kDefSmallStep = 10;
constexpr int32_t kMaxChildTop = 10000;
constexpr TScrollInfo kHiddenBar{0, 1, 2, 0};

int32_t Saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

void DV_Tag2Y(TChildWindow& control) { control.SetTop(std::clamp(control.Tag(), -kMaxChildTop, kMaxChildTop)); }

int32_t DV_GetYByTag(const TChildWindow& control) { return control.Tag(); }

TDVScroller::TDVScroller() : TCustomControl(true) {
  SetTabStop(true);
  ApplyFrame();
  model_.SmallStep = kDefSmallStep;
  UpdateScrollBars(ClientWidth(), ClientHeight() / model_.SmallStep, true, true);
}

TDVScroller::~TDVScroller() = default;

void TDVScroller::UpdateScrollBars(int32_t xs, int32_t ys, bool disableNoScroll, bool updateH) {
  if (!Widget()) return;
  if (updatingBars_) {
    pending_ = TPendingBars{xs, ys, disableNoScroll, updateH};
    return;
  }
  TScopedValue<bool> guard(updatingBars_, true);
  // Showing or hiding one bar changes the client area that the other bar's
  // page (and the owner's layout) depends on: the bars are set again until
  // the client area stays, a few times at most since a bar can only come or
  // go. A request the owner makes meanwhile (from its resize handling)
  // replaces the sizes.
  TPendingBars bars{xs, ys, disableNoScroll, updateH};
  for (int pass = 0; pass < 3; ++pass) {
    const int32_t width = ClientWidth(), height = ClientHeight();
    SetBars(bars.xs, bars.ys, bars.disableNoScroll, bars.updateH);
    if (pending_) {
      bars = *pending_;
      pending_.reset();
    } else if (ClientWidth() == width && ClientHeight() == height) {
      break;
    }
  }
  pending_.reset();
}

void TDVScroller::SetBars(int32_t xs, int32_t ys, bool disableNoScroll, bool updateH) {
  if (updateH) {
    model_.SetHRange(xs, ClientWidth());
    if (hScrollVisible_)
      SetScrollInfo(sbHorizontal, {0, model_.HScrollMax, model_.HScrollPage, model_.HPos}, false);
    else if (GetScrollInfo(sbHorizontal) != kHiddenBar)
      SetScrollInfo(sbHorizontal, kHiddenBar, false);
  }
  model_.SetVRange(ys, ClientHeight());
  if (vScrollVisible_)
    SetScrollInfo(sbVertical, {0, model_.VScrollMax, model_.VScrollPage, model_.VPos},
                  disableNoScroll && VDisableNoScroll);
  else if (GetScrollInfo(sbVertical) != kHiddenBar)
    SetScrollInfo(sbVertical, kHiddenBar, false);
}

void TDVScroller::SetVPos(int32_t value, bool redraw) {
  if (!Widget()) return;
  const int32_t old = model_.VPos;
  model_.VPos = vScrollVisible_ ? SetScrollPos(sbVertical, value) : model_.ClampV(value);
  if (model_.VPos == old) return;
  ScrollContents(0, (int64_t{old} - model_.VPos) * model_.SmallStep, redraw);
  AfterVScroll();
}

void TDVScroller::SetHPos(int32_t value) {
  if (!Widget()) return;
  const int32_t old = model_.HPos;
  model_.HPos = hScrollVisible_ ? SetScrollPos(sbHorizontal, value) : model_.ClampH(value);
  if (model_.HPos == old) return;
  ScrollContents(int64_t{old} - model_.HPos, 0, true);
  AfterHScroll();
}

void TDVScroller::ScrollContents(int64_t dx, int64_t dy, bool redraw) {
  for (TChildWindow& child : ChildWindows()) {
    child.SetTag(Saturate(child.Tag() + dy));
    DV_Tag2Y(child);
    child.SetLeft(Saturate(child.Left() + dx));
  }
  if (!redraw) return;
  if (FullRedraw) {
    Refresh();
    return;
  }
  if (std::llabs(dx) < ClientWidth() && std::llabs(dy) < ClientHeight())
    ScrollWindow(static_cast<int32_t>(dx), static_cast<int32_t>(dy));
  else
    Invalidate();
  Update();
}

void TDVScroller::SetVSmallStep(int32_t value) {
  if (value >= 1) model_.SmallStep = value;
}

void TDVScroller::SetVScrollVisible(bool value) {
  vScrollVisible_ = value;
  UpdateScrollBars(model_.XSize, model_.YSize, true, true);
}

void TDVScroller::SetHScrollVisible(bool value) {
  hScrollVisible_ = value;
  UpdateScrollBars(model_.XSize, model_.YSize, true, true);
}

void TDVScroller::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  ApplyFrame();
}

void TDVScroller::SetUseXPThemes(bool value) {
  useXPThemes_ = value;
  ApplyFrame();
}

void TDVScroller::ApplyFrame() {
  // The style draws a single border when themes are on, a sunken edge otherwise.
  SetFrame(borderStyle_ == bsNone ? fkNone : useXPThemes_ ? fkThemed : fkSunken);
}

void TDVScroller::SetBiDiModeDV(TDVBiDiMode value) {
  if (value == biDiMode_) return;
  biDiMode_ = value;
  SetLeftScrollBar(value == dvbdRightToLeft);
}

void TDVScroller::SetDoInPaletteMode(TDVPaletteAction value) {
  if (value == doInPaletteMode_) return;
  doInPaletteMode_ = value;
  UpdatePaletteInfo();
}

void TDVScroller::AfterVScroll() {
  if (OnVScrolled) OnVScrolled(*this);
}

void TDVScroller::AfterHScroll() {
  if (OnHScrolled) OnHScrolled(*this);
}

void TDVScroller::KeyDown(TKey& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  TScrollBarKind bar;
  TScrollCode code;
  if (!KeyboardScroll || !KeyScrollCode(key, bar, code)) return;
  if (bar == sbVertical) WMVScroll(code, 0);
  else WMHScroll(code, 0);
}

bool TDVScroller::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  TCustomControl::DoMouseWheelDown(shift, mousePos);
  if (model_.WheelStep == 0) return false;
  SetVScrollPos(model_.ClampV(model_.WheelTarget(true)));
  return true;
}

bool TDVScroller::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  TCustomControl::DoMouseWheelUp(shift, mousePos);
  if (model_.WheelStep == 0) return false;
  SetVScrollPos(model_.ClampV(model_.WheelTarget(false)));
  return true;
}

void TDVScroller::WMVScroll(TScrollCode code, int32_t pos) {
  if (const auto target = model_.VScrollTarget(code, pos, ClientHeight())) SetVPos(model_.ClampV(*target), true);
}

void TDVScroller::WMHScroll(TScrollCode code, int32_t pos) {
  if (const auto target = model_.HScrollTarget(code, pos)) SetHPos(model_.ClampH(*target));
}

// ---- the chosen sub-document ----

bool TDVScroller::InplaceEditorBusy() const {
  for (const TDVScroller* open = inplaceEditor_; open; open = open->GetInplaceEditor())
    if (open->Busy()) return true;
  return false;
}

void TDVScroller::DestroyInplaceEditor() {
  TDVScroller* editor = std::exchange(inplaceEditor_, nullptr);
  if (!editor) return;
  // Freed with the focus, the editor would leave the keys to no one (a save
  // closes it while the user types): they come back to the view it edited.
  const bool hadFocus = editor->ContainsFocus();
  delete editor;
  if (hadFocus) SetFocus();
}

void TDVScroller::AssignChosenDVData(TCustomDVData* dvData, TCustomDVItemInfo* item) {
  if (dvData != chosenDVData_) {
    DestroyInplaceEditor();
    UnassignChosenDVData(chosenDVData_);
  }
  chosenDVData_ = dvData;
  chosenItem_ = item;
}

void TDVScroller::UnassignChosenDVData(TCustomDVData* dvData) {
  if (!chosenDVData_ || dvData != chosenDVData_) return;
  // Forgotten first: what the release does may ask for the chosen one again.
  TCustomDVData* data = chosenDVData_;
  TCustomDVItemInfo* item = chosenItem_;
  chosenDVData_ = nullptr;
  chosenItem_ = nullptr;
  if (auto* formatted = dynamic_cast<TCustomDVFormattedData*>(data); formatted && !ScrollerDestroying())
    formatted->Deselect(nullptr, false);
  if (item) item->CleanUpChosen();
}

}  // namespace quillet
