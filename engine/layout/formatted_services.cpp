// Services around the layout: focus traversal, scrolling a rectangle into
// view, hyperlink areas, checkpoint events while scrolling, feedback drawing,
// mouse capture and what is asked of the root document.
#include <algorithm>
#include <climits>

#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

TCustomDVFormattedData* FormattedRoot(TCustomDVFormattedData& data) {
  auto* root = dynamic_cast<TCustomDVFormattedData*>(data.GetRootData());
  return root == &data ? nullptr : root;
}

const TCustomDVFormattedData* FormattedRoot(const TCustomDVFormattedData& data) {
  auto* root = dynamic_cast<const TCustomDVFormattedData*>(data.GetRootData());
  return root == &data ? nullptr : root;
}

}  // namespace

// ---- focus ----

int TCustomDVFormattedData::GetNextFocusedItem(int itemNo, bool goForward, TCustomDVData*& topLevelDVData,
                                               int& topLevelItemNo) {
  const int count = ItemCount();
  if (FocusedItemNo < -1 || FocusedItemNo >= count) FocusedItemNo = -1;
  TDVStyle* sheet = GetDVStyle();
  auto focusable = [this, sheet](int i) { return GetItem(i)->GetBoolValueEx(dvbpAllowsFocus, sheet); };
  // An item that is not focusable itself may hold focusable places (a
  // table's cells): the walk starts at it.
  int i;
  if (goForward) {
    i = itemNo < 0 ? 0 : (itemNo < count && !focusable(itemNo) ? itemNo : itemNo + 1);
  } else {
    if (itemNo < 0) itemNo = count;
    i = itemNo < count && !focusable(itemNo) ? itemNo : itemNo - 1;
  }
  for (; i >= 0 && i < count; i += goForward ? 1 : -1) {
    if (focusable(i)) {
      topLevelDVData = this;
      topLevelItemNo = i;
      return i;
    }
    if (GetItem(i)->MoveFocus(goForward, topLevelDVData, topLevelItemNo)) return i;
  }
  return -1;
}

void TCustomDVFormattedData::ClearFocus() {
  if (FocusedItemNo < 0 || FocusedItemNo >= ItemCount()) {
    FocusedItemNo = -1;
    return;
  }
  GetItem(FocusedItemNo)->ClearFocus();
}

// ---- scrolling ----

void TCustomDVFormattedData::ShowRectangle(int32_t left, int32_t top, int32_t width, int32_t height) {
  const int64_t h = GetHOffs(), v = GetVOffs(), cw = GetWidth(), ch = GetHeight(), s = GetVSmallStep();
  const int64_t right = int64_t{left} + width, bottom = int64_t{top} + height;
  // A quarter of the client width stays visible before the rectangle.
  if (left < h || right > h + cw)
    HScrollTo(static_cast<int32_t>(std::clamp<int64_t>(left - cw / 4, INT32_MIN, INT32_MAX)));
  // A rectangle taller than the view that already starts at its top stays.
  if (v + ch - 2 * s < bottom && top < v + s) return;
  if (v + ch >= bottom) {
    if (top < v) ScrollTo(top, true);
  } else {
    ScrollTo(static_cast<int32_t>(std::clamp<int64_t>(bottom - ch + s, INT32_MIN, INT32_MAX)), true);
  }
}

// ---- hyperlink areas ----

void TCustomDVFormattedData::BuildJumpsCoords(int32_t& startJumpNo, TDVJumpList& jumps) {
  LastDIMovedAbove = -1;
  TDVStyle* sheet = GetDVStyle();
  if (!sheet) return;
  nJmps = 0;
  int lastItemNo = -1;
  for (int d = 0; d < DrawItems.Count(); ++d) {
    const TDVDrawLineInfo* info = DrawItems[d];
    TCustomDVItemInfo* item = GetItem(info->ItemNo);
    if (item->GetBoolValueEx(dvbpJump, sheet)) {
      auto jump = std::make_unique<TDVJumpInfo>();
      jump->DVData = this;
      jump->Left = info->Left;
      jump->Top = info->Top;
      jump->Width = info->Width;
      jump->Height = info->Height;
      jump->DrawItemNo = d;
      // Every area of one item shares its id.
      const bool sameItem = info->ItemNo == lastItemNo;
      jump->Id = startJumpNo + nJmps - (sameItem ? 1 : 0);
      item->JumpID = jump->Id;
      jump->Cursor = item->StyleNo >= 0 ? sheet->TextStyles()[item->StyleNo].JumpCursor
                                        : item->GetHypertextCursor(*sheet);
      jumps.push_back(std::move(jump));
      if (!sameItem) ++nJmps;
      lastItemNo = info->ItemNo;
    } else if (item->StyleNo < 0) {
      // Tables number their cells' links.
      int32_t n = startJumpNo + nJmps;
      item->BuildJumps(info->Left, info->Top, n, jumps);
      nJmps = n - startJumpNo;
    }
  }
  startJumpNo += nJmps;
}

// ---- checkpoint events ----

TCPEventKind TCustomDVFormattedData::GetCPEventKind() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root ? root->GetCPEventKind() : cpeNone;
}

void TCustomDVFormattedData::AfterVScroll() {
  if (!IsAssignedCheckpointVisible()) return;
  const TCPEventKind kind = GetCPEventKind();
  if (kind == cpeNone) return;
  const int64_t ymin = GetVOffs(), ymax = ymin + GetHeight();
  auto raise = [this](TDVCPInfo* checkpoint) {
    if (checkpoint == LastRaisedCP) return;
    LastRaisedCP = checkpoint;
    DoCheckpointVisible(checkpoint);
  };
  // The position of a checkpoint is the Top of its item's first drawing
  // item; a counted checkpoint whose item has none stops the whole step.
  // An item's DrawItemNo is a hint that a partial layout leaves behind:
  // when it misses, the drawing items are searched on from the previous
  // checkpoint's, since checkpoints come in document order.
  int searchFrom = 0;
  auto topOf = [this, &searchFrom](const TDVCPInfo* checkpoint, int32_t& top) {
    const TCustomDVItemInfo* item = checkpoint->ItemInfo;
    if (!item) return false;
    int d = item->DrawItemNo;
    if (d < 0 || d >= DrawItems.Count() || GetItem(DrawItems[d]->ItemNo) != item ||
        (d > 0 && DrawItems[d - 1]->ItemNo == DrawItems[d]->ItemNo)) {
      d = searchFrom;
      while (d < DrawItems.Count() && GetItem(DrawItems[d]->ItemNo) != item) ++d;
      if (d >= DrawItems.Count()) return false;
    }
    searchFrom = d;
    top = DrawItems[d]->Top;
    return true;
  };
  TDVCPInfo* prevCounted = nullptr;
  int32_t prevTop = 0;
  TDVCPInfo* found = nullptr;
  int32_t foundTop = 0;
  for (TDVCPInfo* cp = FirstCP(); cp; cp = cp->Next) {
    if (!cp->RaiseEvent) continue;
    int32_t top;
    if (!topOf(cp, top)) return;
    if (top >= ymin) {
      found = cp;
      foundTop = top;
      break;
    }
    prevCounted = cp;
    prevTop = top;
  }
  auto raiseNone = [this] {
    if (!LastRaisedCP) return;
    LastRaisedCP = nullptr;
    DoCheckpointVisible(nullptr);
  };
  TDVCPInfo* end = NotAddedCP();
  const bool endCounts = end && end->RaiseEvent && DocumentHeight < ymax;
  if (kind == cpeAsSectionStart) {
    if (found) {
      if (foundTop > ymax) found = prevCounted;  // the section started above the view
      if (found) raise(found);
    } else if (endCounts) {
      raise(end);
    } else if (prevCounted && prevTop <= ymin) {
      raise(prevCounted);
    }
    return;
  }
  if (found && foundTop <= ymax)
    raise(found);
  else if (!found && endCounts)
    raise(end);
  else
    raiseNone();
}

// ---- feedback drawing ----

void TCustomDVFormattedData::XorDrawing() {
  if (!FXORDrawing) return;
  FXORDrawing->XorDraw(*this, 0, MouseX, MouseY);
  XorImageDrawn = !XorImageDrawn;
}

void TCustomDVFormattedData::XorDrawingEx(int32_t x, int32_t y) {
  MouseX = x;
  MouseY = y;
  XorDrawing();
}

void TCustomDVFormattedData::AssignXorDrawing(TDVFeedbackDrawer* drawer) {
  if (XorImageDrawn) XorDrawing();
  FXORDrawing = drawer;
}

void TCustomDVFormattedData::UnAssignXorDrawing(TDVFeedbackDrawer* drawer) {
  if (drawer != FXORDrawing) return;
  if (XorImageDrawn && !ParentControlDestroying()) XorDrawing();
  XorImageDrawn = false;
  FXORDrawing = nullptr;
}

void TCustomDVFormattedData::ClearXorDrawing() {
  if (XorImageDrawn) XorDrawing();
}

void TCustomDVFormattedData::PaintXorFeedback(TCanvas& canvas) {
  if (FXORDrawing && XorImageDrawn) FXORDrawing->Paint(*this, canvas, MouseX, MouseY);
}

// ---- mouse capture ----

void TCustomDVFormattedData::SetMouseCapture(TCustomDVItemInfo* item, int32_t& left, int32_t& top) {
  left = top = 0;
  int d = LastDIMovedAbove;
  if (d < 0 || d >= DrawItems.Count() || GetItem(DrawItems[d]->ItemNo) != item) {
    const int itemNo = item ? GetItemNo(item) : -1;
    if (itemNo < 0) return;
    d = FindDrawItemByItem(itemNo);
    if (d < 0) return;
    LastDIMovedAbove = d;
  }
  FCaptureMouseItem = item;
  left = DrawItems[d]->Left;
  top = DrawItems[d]->Top;
}

void TCustomDVFormattedData::ReleaseMouseCapture(TCustomDVItemInfo* item) {
  if (FCaptureMouseItem == item) FCaptureMouseItem = nullptr;
}

void TCustomDVFormattedData::InternalFreeItem(std::unique_ptr<TCustomDVItemInfo> item, bool clearing) {
  if (item) {
    if (FCaptureMouseItem == item.get()) FCaptureMouseItem = nullptr;
    if (FPartialSelectedItem == item.get()) FPartialSelectedItem = nullptr;
    if (FActiveItem == item.get()) FActiveItem = nullptr;
    if (GetChosenItem() == item.get()) UnassignChosenDVData(GetChosenDVData());
  }
  TCustomDVData::InternalFreeItem(std::move(item), clearing);
}

// ---- asked of the root document ----

bool TCustomDVFormattedData::IsAssignedDVDblClick() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root && root->IsAssignedDVDblClick();
}

void TCustomDVFormattedData::DoDVDblClick(const std::string& clickedWord, int32_t styleNo) {
  if (TCustomDVFormattedData* root = FormattedRoot(*this)) root->DoDVDblClick(clickedWord, styleNo);
}

bool TCustomDVFormattedData::IsAssignedDVRightClick() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root && root->IsAssignedDVRightClick();
}

void TCustomDVFormattedData::DoDVRightClick(const std::string& clickedWord, int32_t styleNo, int32_t x, int32_t y) {
  if (TCustomDVFormattedData* root = FormattedRoot(*this)) root->DoDVRightClick(clickedWord, styleNo, x, y);
}

bool TCustomDVFormattedData::IsAssignedCopy() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root && root->IsAssignedCopy();
}

void TCustomDVFormattedData::DoCopy() {
  if (TCustomDVFormattedData* root = FormattedRoot(*this)) root->DoCopy();
}

}  // namespace quillet
