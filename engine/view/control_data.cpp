#include "engine/view/control_data.h"

#include <algorithm>
#include <climits>

#include "engine/style/style_sheet.h"
#include "platform/core/scoped_value.h"
#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

template <class F>
void TDVControlData::ForEachFocusRect(F&& f) {
  TCustomDVFormattedData* data = TopLevelFocusedDVData;
  const int itemNo = TopLevelFocusedItemNo;
  if (!data || itemNo < 0 || itemNo >= data->ItemCount()) return;
  if (!data->GetItem(itemNo)->GetBoolValueEx(dvbpXORFocus, data->GetDVStyle())) return;
  int32_t left = 0, top = 0;
  data->GetOriginEx(left, top);
  const int64_t dx = int64_t{left} - GetHOffs(), dy = int64_t{top} - GetVOffs();
  for (int d = data->FindDrawItemByItem(itemNo); d >= 0 && d < data->DrawItems.Count(); ++d) {
    const TDVDrawLineInfo* info = data->DrawItems[d];
    if (info->ItemNo != itemNo) break;
    const int64_t l = info->Left - 1 + dx, t = info->Top - 1 + dy;
    f(TRect{Clamp32(l), Clamp32(t), Clamp32(l + info->Width + 2), Clamp32(t + info->Height + 2)});
  }
}

void TDVControlData::DrawFocusedRect(TCanvas& canvas) {
  ForEachFocusRect([&canvas](const TRect& r) {
    canvas.Font().Color = clBlack;
    canvas.Brush().Style = bsSolid;
    canvas.DrawFocusRect(r);
  });
}

void TDVControlData::InvalidateFocusedRect() {
  // The window paints the rectangles over the document: where they were or
  // will be is painted again.
  ForEachFocusRect([this](const TRect& r) { InvalidateRect(TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}); });
}

void TDVControlData::ExecuteFocused() {
  TCustomDVFormattedData* data = TopLevelFocusedDVData;
  if (data && TopLevelFocusedItemNo >= 0 && TopLevelFocusedItemNo < data->ItemCount())
    data->GetItem(TopLevelFocusedItemNo)->Execute(data);
}

void TDVControlData::AdjustFocus(int newFocusedItemNo, TCustomDVData* topLevelDVData, int topLevelItemNo) {
  InvalidateFocusedRect();
  TCustomDVFormattedData::AdjustFocus(newFocusedItemNo, topLevelDVData, topLevelItemNo);
  TopLevelFocusedDVData = dynamic_cast<TCustomDVFormattedData*>(topLevelDVData);
  TopLevelFocusedItemNo = TopLevelFocusedDVData ? topLevelItemNo : -1;
  InvalidateFocusedRect();
}

void TDVControlData::ClearTemporal() {
  if (DrawItems.Count() > 0) {
    ClearFocus();
    FocusedItemNo = -1;
    TopLevelFocusedDVData = nullptr;
    TopLevelFocusedItemNo = -1;
  }
  TCustomDVFormattedData::ClearTemporal();
}

void TDVControlData::Deselect(TCustomDVItemInfo* newPartiallySelected, bool makeEvent) {
  if (!(State & dvstDeselecting)) {
    TScopedFlags<TDVStates> deselecting(State, dvstDeselecting);
    ClearFocus();
    FocusedItemNo = -1;
    if (TopLevelFocusedItemNo >= 0) Invalidate();
    TopLevelFocusedDVData = nullptr;
    TopLevelFocusedItemNo = -1;
  }
  TCustomDVFormattedData::Deselect(newPartiallySelected, makeEvent);
}

void TDVControlData::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  InvalidateFocusedRect();
  TCustomDVFormattedData::MouseUp(button, shift, x, y);
  InvalidateFocusedRect();
}

void TDVControlData::PaintBuffered(TCanvas& canvas) {
  TCustomDVFormattedData::PaintBuffered(canvas);
  DrawFocusedRect(canvas);
}

void TDVControlData::DoTabNavigation(bool backward, const TDVFocusOrigin& prev) { TabNavigate(backward, prev, false); }

void TDVControlData::TabNavigate(bool backward, const TDVFocusOrigin& prev, bool wrapped) {
  // A click gave the focus: it stays where the click put it.
  if (State & dvstDoNotTab) {
    State &= ~dvstDoNotTab;
    return;
  }
  if (prev.Given && prev.OtherForm) return;
  if (FocusedItemNo >= 0 && !prev.Given) return;
  if (prev.Embedded) {
    int owner = FocusedItemNo >= 0 && FocusedItemNo < ItemCount() && GetItem(FocusedItemNo)->OwnsControl(prev.Embedded)
                    ? FocusedItemNo
                    : FindControlItemNo(prev.Embedded);
    if (owner >= 0) {
      InvalidateFocusedRect();
      ClearFocus();
      FocusedItemNo = owner;
      TCustomDVItemInfo* item = GetItem(owner);
      TCustomDVData* topLevel = nullptr;
      int topLevelNo = -1;
      item->AdjustFocusToControl(prev.Embedded, topLevel, topLevelNo);
      if (item->GetBoolValue(dvbpImmediateControlOwner)) {
        topLevel = this;
        topLevelNo = owner;
      }
      if (auto* data = dynamic_cast<TCustomDVFormattedData*>(topLevel)) {
        TopLevelFocusedDVData = data;
        TopLevelFocusedItemNo = topLevelNo;
      }
      InvalidateFocusedRect();
    }
  }
  InvalidateFocusedRect();
  TCustomDVData* topLevel = nullptr;
  int topLevelNo = -1;
  const int next = GetNextFocusedItem(FocusedItemNo, !backward, topLevel, topLevelNo);
  const bool hadFocus = FocusedItemNo >= 0;
  if (next < 0) {
    TopLevelFocusedDVData = nullptr;
    TopLevelFocusedItemNo = -1;
  }
  if (prev.FromOutside && next < 0 && !hadFocus) {
    TakeFocus();
    return;
  }
  FocusedItemNo = next;
  if (next >= 0) {
    TopLevelFocusedDVData = dynamic_cast<TCustomDVFormattedData*>(topLevel);
    TopLevelFocusedItemNo = TopLevelFocusedDVData ? topLevelNo : -1;
  }
  if (TopLevelFocusedDVData && TopLevelFocusedItemNo >= 0) {
    TCustomDVFormattedData* data = TopLevelFocusedDVData;
    data->GetItem(TopLevelFocusedItemNo)->Focusing();
    InvalidateFocusedRect();
    const int d = data->FindDrawItemByItem(TopLevelFocusedItemNo);
    if (d >= 0) {
      const TDVDrawLineInfo* info = data->DrawItems[d];
      data->ShowRectangle(info->Left, info->Top, info->Width, info->Height);
    }
    return;
  }
  // The focus leaves the document.
  if (FocusNextControl(backward)) return;
  // Nothing else takes it: round again from the start, once.
  if (hadFocus && !wrapped) TabNavigate(backward, TDVFocusOrigin{true, false, false, nullptr}, true);
}

}  // namespace quillet
