// The mouse over a laid-out document: hit-testing, selecting by dragging, by
// Shift-click and by double-clicking words, hyperlink hover and jumps, the
// items' own mouse hooks; and the selection queries built on them.
#include <algorithm>
#include <climits>
#include <vector>

#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

TCustomDVFormattedData* FormattedRoot(TCustomDVFormattedData& data) {
  auto* root = dynamic_cast<TCustomDVFormattedData*>(data.GetRootData());
  return root == &data ? nullptr : root;
}

const TCustomDVFormattedData* FormattedRoot(const TCustomDVFormattedData& data) {
  auto* root = dynamic_cast<const TCustomDVFormattedData*>(data.GetRootData());
  return root == &data ? nullptr : root;
}

// Half-open: right and bottom edges are outside.
bool Contains(const TDVDrawLineInfo& d, int64_t x, int64_t y) {
  return d.Left <= x && x < int64_t{d.Left} + d.Width && d.Top <= y && y < int64_t{d.Top} + d.Height;
}

// Both edges inside, as a click on a link is tested.
bool ContainsInclusive(const TDVJumpInfo& j, int64_t x, int64_t y) {
  return j.Left <= x && x <= int64_t{j.Left} + j.Width && j.Top <= y && y <= int64_t{j.Top} + j.Height;
}

}  // namespace

int32_t TCustomDVFormattedData::GetFirstJumpNo() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root ? root->GetFirstJumpNo() : FirstJumpNo;
}

int32_t TCustomDVFormattedData::ZoomInt(int32_t v) const {
  return FZoomPercent > 0 && FZoomPercent != 100 ? MulDiv(v, 100, FZoomPercent) : v;
}

// ---- hit-testing ----

int TCustomDVFormattedData::FindDrawItemAtPos(int32_t x, int32_t y) const {
  const int count = DrawItems.Count();
  if (count == 0) return -1;
  if (Contains(*DrawItems[0], x, y)) return 0;
  if (count == 1) return -1;
  int a = 1, b = count - 1;
  while (b - a >= 2) {
    const int mid = a + (b - a) / 2;
    if (y < DrawItems[mid]->Top)
      b = mid;
    else
      a = mid;
  }
  // Back to the first item of a's line: those whose bottom reaches below a's top.
  while (a > 0 && int64_t{DrawItems[a - 1]->Top} + DrawItems[a - 1]->Height > DrawItems[a]->Top) --a;
  // This line, then the next one.
  int i = a;
  for (int line = 0; line < 2 && i < count; ++line) {
    const int64_t lineBottom = int64_t{DrawItems[i]->Top} + DrawItems[i]->Height - 1;
    for (; i < count && DrawItems[i]->Top <= lineBottom; ++i)
      if (Contains(*DrawItems[i], x, y)) return i;
  }
  return -1;
}

void TCustomDVFormattedData::SearchHotItem(int32_t x, int32_t y, int32_t vOffs, int32_t hOffs) {
  if (FCaptureMouseItem) return;
  const int64_t dx = int64_t{x} + hOffs, dy = int64_t{y} + vOffs;
  if (LastDIMovedAbove >= 0 && LastDIMovedAbove < DrawItems.Count() && Contains(*DrawItems[LastDIMovedAbove], dx, dy))
    return;
  LastDIMovedAbove = FindDrawItemAtPos(Clamp32(dx), Clamp32(dy));
}

bool TCustomDVFormattedData::FindWordAt(std::string& word, int32_t x, int32_t y, int32_t& styleNo, int& itemNo,
                                        int32_t& offs, TCustomDVFormattedData*& dvData) {
  dvData = this;
  itemNo = -1;
  const int d = FindDrawItemAtPos(x, y);
  if (d < 0) return false;
  const TDVDrawLineInfo* info = DrawItems[d];
  itemNo = info->ItemNo;
  TCustomDVItemInfo* item = GetItem(itemNo);
  const std::string& text = GetItemTextR(itemNo);
  word = text;
  styleNo = item->StyleNo;
  offs = 0;
  if (styleNo < 0) {
    if (auto* sub = dynamic_cast<TCustomDVFormattedData*>(item->GetSubDVDataAt(x - info->Left, y - info->Top))) {
      int32_t left = 0, top = 0;
      sub->GetOrigin(left, top);
      return sub->FindWordAt(word, Clamp32(int64_t{x} - left), Clamp32(int64_t{y} - top), styleNo, itemNo, offs,
                             dvData);
    }
    return true;
  }

  const TDVItemOptions options = item->ItemOptions;
  const int length = DVU_Length(text, options);
  // An empty line has no character to look at.
  if (length == 0) {
    word.clear();
    offs = 1;
    return true;
  }
  int fit = 0;
  const int64_t target = int64_t{x} - info->Left - info->SpaceBefore;
  TCanvas* canvas = GetCanvas();
  TDVStyle* sheet = GetDVStyle();
  if (canvas && sheet && info->Length > 0 && target > 0) {
    sheet->ApplyStyle(*canvas, styleNo, GetParaBiDiMode(item->ParaNo));
    std::string piece = DrawItems.GetString(d, *this);
    const TFontInfo& font = sheet->TextStyles()[styleNo];
    if (font.StyleEx & dvfsAllCaps) piece = DV_ReturnCapitalized(piece, font);
    std::vector<int32_t> caret;
    if (GetItemBiDiMode(itemNo) == dvbdRightToLeft && DVU_GetTextCaretPos(*canvas, piece, caret, options)) {
      // The character whose caret x is nearest.
      int64_t best = INT64_MAX;
      for (int k = 0; k + 1 < static_cast<int>(caret.size()); ++k) {
        const int64_t distance = std::abs(int64_t{caret[static_cast<size_t>(k)]} - target);
        if (distance < best) {
          best = distance;
          fit = k;
        }
      }
    } else {
      fit = DVU_GetTextExtentExPoint(*canvas, piece, Clamp32(target), options, nullptr);
    }
  }
  // The character under the point, at its start: the piece starts at a
  // character, and a point past the end is on the last character, never on
  // the trail byte of a double-byte one.
  const int position = static_cast<int>(std::min<int64_t>(int64_t{fit} + info->Offs, length));
  int at = std::clamp(info->Offs, 1, length);
  for (;;) {
    const int next = NextCharStr(text, itemNo, at);
    if (next <= at || next > position || next > length) break;
    at = next;
  }
  if (IsDelimiter(text, at, options)) {
    word.clear();
    offs = at;
    return true;
  }
  int first = at;
  while (first > 1) {
    const int prev = PrevCharStr(text, itemNo, first);
    if (prev >= first || IsDelimiter(text, prev, options)) break;
    first = prev;
  }
  int end = NextCharStr(text, itemNo, at);
  while (end <= length && !IsDelimiter(text, end, options)) {
    const int next = NextCharStr(text, itemNo, end);
    if (next <= end) break;
    end = next;
  }
  end = std::min(end, length + 1);
  word = DVU_Copy(text, first, end - first, options, GetStyleCodePage(styleNo));
  offs = first;
  return true;
}

void TCustomDVFormattedData::GetWordAtExt(int32_t x, int32_t y, TCustomDVFormattedData*& dvData, int& itemNo,
                                          std::string& word) {
  int32_t styleNo = 0, offs = 0;
  const int32_t dx = Clamp32(int64_t{ZoomInt(x)} + GetZHOffs()), dy = Clamp32(int64_t{ZoomInt(y)} + GetZVOffs());
  if (!FindWordAt(word, dx, dy, styleNo, itemNo, offs, dvData)) itemNo = -1;
}

// ---- selection queries ----

void TCustomDVFormattedData::GetSelStart(int& drawItemNo, int32_t& drawItemOffs) {
  SelectionExists(true, false);
  drawItemNo = FSelStartNo;
  drawItemOffs = FSelStartOffs;
}

void TCustomDVFormattedData::GetSelectionBounds(int& startItemNo, int32_t& startItemOffs, int& endItemNo,
                                                int32_t& endItemOffs, bool normalize) {
  startItemOffs = endItemOffs = 0;
  StoreSelBounds(startItemNo, endItemNo, startItemOffs, endItemOffs, normalize);
}

void TCustomDVFormattedData::GetSelectionBoundsEx(int& startItemNo, int32_t& startItemOffs, int& endItemNo,
                                                  int32_t& endItemOffs, bool normalize) {
  if (auto* chosen = dynamic_cast<TCustomDVFormattedData*>(GetChosenDVData()); chosen && chosen != this)
    chosen->GetSelectionBoundsEx(startItemNo, startItemOffs, endItemNo, endItemOffs, normalize);
  else
    GetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs, normalize);
}

void TCustomDVFormattedData::SetSelectionBounds(int startItemNo, int32_t startItemOffs, int endItemNo,
                                                int32_t endItemOffs) {
  DeselectPartiallySelectedItem(nullptr);
  DestroyInplaceEditor();
  if (endItemNo >= 0 && endItemNo + 1 < ItemCount() && GetItemStyle(endItemNo) == dvsListMarker) {
    ++endItemNo;
    endItemOffs = GetOffsBeforeItem(endItemNo);
  }
  RestoreSelBounds(startItemNo, endItemNo, startItemOffs, endItemOffs);
  DoOnSelection();
  DoSelect();
}

void TCustomDVFormattedData::GetJumpPointLocation(int32_t id, TCustomDVFormattedData*& dvData, int& itemNo) {
  if (auto* chosen = dynamic_cast<TCustomDVFormattedData*>(GetChosenDVData()); chosen && chosen != this) {
    chosen->GetJumpPointLocation(id, dvData, itemNo);
    if (itemNo >= 0) return;
  }
  dvData = nullptr;
  itemNo = -1;
  const int64_t stored = int64_t{id} - GetFirstJumpNo();
  for (const auto& jump : Jumps) {
    if (jump->Id != stored) continue;
    auto* data = dynamic_cast<TCustomDVFormattedData*>(jump->DVData);
    if (!data || jump->DrawItemNo < 0 || jump->DrawItemNo >= data->DrawItems.Count()) continue;
    dvData = data;
    itemNo = data->DrawItems[jump->DrawItemNo]->ItemNo;
    return;
  }
}

void TCustomDVFormattedData::DeleteItems(int firstItemNo, int count) {
  Deselect(nullptr, true);
  TCustomDVData::DeleteItems(firstItemNo, count);
}

TPoint TCustomDVFormattedData::ClientToScreen(TPoint p) const {
  const TCustomControl* window = GetParentWindow();
  return window ? window->ClientToScreen(p) : p;
}

TPoint TCustomDVFormattedData::ScreenToClient(TPoint p) const {
  const TCustomControl* window = GetParentWindow();
  return window ? window->ScreenToClient(p) : p;
}

void TCustomDVFormattedData::SetCursor(TCursor cursor) {
  if (TCustomControl* window = GetParentWindow(); window && window->Cursor() != cursor) window->SetCursor(cursor);
}

TCursor TCustomDVFormattedData::GetNormalCursor() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root ? root->GetNormalCursor() : crDefault;
}

// ---- the mouse ----

void TCustomDVFormattedData::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  x = ZoomInt(x);
  y = ZoomInt(y);
  const int32_t hOffs = GetZHOffs(), vOffs = GetZVOffs();
  const int32_t docX = Clamp32(int64_t{x} + hOffs), docY = Clamp32(int64_t{y} + vOffs);
  auto focusWindow = [this] {
    if (TCustomControl* window = GetParentWindow()) window->SetFocus();
  };
  SearchHotItem(x, y, vOffs, hOffs);
  int clickedItemNo = -1;
  if (LastDIMovedAbove >= 0 && LastDIMovedAbove < DrawItems.Count()) {
    const TDVDrawLineInfo* d = DrawItems[LastDIMovedAbove];
    clickedItemNo = d->ItemNo;
    TCustomDVItemInfo* item = GetItem(clickedItemNo);
    if (item != FPartialSelectedItem && item != GetChosenItem()) {
      DeselectPartiallySelectedItem(nullptr);
      focusWindow();
    }
    if (TCustomControl* editor = GetInplaceEditor(); editor && !item->OwnsInplaceEditor(editor)) {
      DestroyInplaceEditor();
      focusWindow();
    }
    item->MouseDown(button, shift, Clamp32(int64_t{docX} - d->Left), Clamp32(int64_t{docY} - d->Top), clickedItemNo,
                    this);
  } else {
    DestroyInplaceEditor();
    focusWindow();
  }
  if (!GetInplaceEditor() && IsAssignedDVMouseDown()) DoDVMouseDown(button, shift, clickedItemNo, x, y);
  if (button == mbLeft && !GetInplaceEditor()) {
    LastJumpDowned = -1;
    for (const auto& jump : Jumps)
      if (ContainsInclusive(*jump, docX, docY)) {
        LastJumpDowned = jump->Id;
        break;
      }
  }
  if (FCaptureMouseItem || GetInplaceEditor()) {
    if (LastDIMovedAbove >= 0 && LastDIMovedAbove < DrawItems.Count()) {
      FSelStartNo = FSelEndNo = LastDIMovedAbove;
      FSelStartOffs = FSelEndOffs = 1;
    }
    DoOnSelection();
    return;
  }
  if (button != mbLeft || (State & dvstIgnoreNextMouseDown)) return;
  const TDVOptions options = GetOptions();
  if ((options & dvoSingleClick) && IsAssignedDVDblClick()) {
    std::string word;
    int32_t styleNo = 0, offs = 0;
    int itemNo = -1;
    TCustomDVFormattedData* data = nullptr;
    if (FindWordAt(word, docX, docY, styleNo, itemNo, offs, data)) DoDVDblClick(word, styleNo);
  }
  if (!(options & dvoAllowSelection)) return;
  int startNo = -1;
  int32_t startOffs = 0;
  if (shift & ssShift) {
    DeselectPartiallySelectedItem(nullptr);
    GetSelStart(startNo, startOffs);
  }
  FindDrawItemForSel(docX, docY, FSelEndNo, FSelEndOffs, false);
  if (!(shift & ssShift) || startNo < 0) {
    FSelStartNo = FSelEndNo;
    FSelStartOffs = FSelEndOffs;
  } else {
    FSelStartNo = startNo;
    FSelStartOffs = startOffs;
  }
  if (FSelEndNo != -1)
    State |= dvstMakingSelection;
  else
    State &= ~dvstMakingSelection;
  DoOnSelection();
  Invalidate();
}

void TCustomDVFormattedData::DragSelectionTo(int32_t x, int32_t y) {
  if (!(GetFlags() & dvflMouseXYAlwaysCorrect)) {
    // Past the window's edge the end stays on the document's edge.
    x = std::clamp(x, 0, std::max(ZoomInt(GetWidth()), 0));
    y = std::clamp(y, 0, std::max(ZoomInt(GetHeight()), 0));
  }
  int no;
  int32_t offs;
  FindDrawItemForSel(Clamp32(int64_t{x} + GetZHOffs()), Clamp32(int64_t{y} + GetZVOffs()), no, offs, false);
  if (no == FSelEndNo && offs == FSelEndOffs) return;
  FSelEndNo = no;
  FSelEndOffs = offs;
  DoOnSelection();
  Invalidate();
}

bool TCustomDVFormattedData::HighlightJump(int32_t x, int32_t y) {
  const int64_t docX = int64_t{x} + GetZHOffs(), docY = int64_t{y} + GetZVOffs();
  const TDVJumpInfo* jump = nullptr;
  for (const auto& j : Jumps)
    if (j->Left <= docX && docX < int64_t{j->Left} + j->Width && j->Top <= docY && docY < int64_t{j->Top} + j->Height) {
      jump = j.get();
      break;
    }
  if (!jump) return false;
  auto* data = dynamic_cast<TCustomDVFormattedData*>(jump->DVData);
  if (!data || jump->DrawItemNo < 0 || jump->DrawItemNo >= data->DrawItems.Count()) return false;
  SetCursor(jump->Cursor);
  const int32_t hovered = LastDVDataMovedAbove ? LastDVDataMovedAbove->LastJumpMovedAbove : -1;
  if (hovered != jump->Id) {
    DoDVMouseMove(Clamp32(int64_t{jump->Id} + GetFirstJumpNo()));
    if (TCustomDVFormattedData* old = LastDVDataMovedAbove; old && (old->State & dvstDrawHover)) {
      old->State &= ~dvstDrawHover;
      InvalidateJumpRect(hovered);
    }
  }
  LastDVDataMovedAbove = data;
  data->LastJumpMovedAbove = jump->Id;
  data->LastDIMovedAbove = jump->DrawItemNo;
  if (!(data->State & dvstDrawHover) &&
      data->GetItem(data->DrawItems[jump->DrawItemNo]->ItemNo)->GetBoolValueEx(dvbpHotColdJump, GetDVStyle())) {
    data->State |= dvstDrawHover;
    InvalidateJumpRect(jump->Id);
  }
  return true;
}

void TCustomDVFormattedData::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  x = ZoomInt(x);
  y = ZoomInt(y);
  ClearXorDrawing();
  bool jumpHighlighted = false;
  if (!FCaptureMouseItem) {
    if (State & dvstMakingSelection) DragSelectionTo(x, y);
    if (GetFlags() & dvflUseJumps) {
      jumpHighlighted = HighlightJump(x, y);
      if (!jumpHighlighted && LastDVDataMovedAbove) {
        TCustomDVFormattedData* data = LastDVDataMovedAbove;
        const int32_t id = data->LastJumpMovedAbove;
        const bool drawn = (data->State & dvstDrawHover) != 0;
        data->State &= ~dvstDrawHover;
        data->LastJumpMovedAbove = -1;
        data->LastDIMovedAbove = -1;
        LastDVDataMovedAbove = nullptr;
        if (drawn && id != -1) InvalidateJumpRect(id);
        DoDVMouseMove(-1);
      }
    }
  }
  if (!jumpHighlighted) {
    const int32_t hOffs = GetZHOffs(), vOffs = GetZVOffs();
    SearchHotItem(x, y, vOffs, hOffs);
    bool taken = false;
    if (LastDIMovedAbove >= 0 && LastDIMovedAbove < DrawItems.Count()) {
      const TDVDrawLineInfo* d = DrawItems[LastDIMovedAbove];
      taken = GetItem(d->ItemNo)->MouseMove(shift, Clamp32(int64_t{x} + hOffs - d->Left),
                                            Clamp32(int64_t{y} + vOffs - d->Top), d->ItemNo, this);
    }
    if (!taken) SetCursor(GetNormalCursor());
  }
  XorDrawingEx(x, y);
}

void TCustomDVFormattedData::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  x = ZoomInt(x);
  y = ZoomInt(y);
  const int32_t hOffs = GetZHOffs(), vOffs = GetZVOffs();
  const int32_t docX = Clamp32(int64_t{x} + hOffs), docY = Clamp32(int64_t{y} + vOffs);
  const bool hadSelection = SelectionExists(true, true);
  if (!FCaptureMouseItem) {
    State &= ~dvstIgnoreNextMouseDown;
    if (button == mbLeft && (State & dvstMakingSelection)) {
      DragSelectionTo(x, y);
      State &= ~dvstMakingSelection;
      DoOnSelection();
      Invalidate();
      DoSelect();
    } else if (button == mbRight && (GetOptions() & dvoRClickDeselects)) {
      int no;
      int32_t offs;
      FindDrawItemForSel(docX, docY, no, offs, false);
      if (no != -1) {
        int startNo, endNo;
        int32_t startOffs, endOffs;
        GetSelBounds(startNo, endNo, startOffs, endOffs, true);
        const bool before = no < startNo || (no == startNo && offs < startOffs);
        const bool after = no > endNo || (no == endNo && offs > endOffs);
        if (startNo < 0 || before || after) {
          FSelStartNo = FSelEndNo = no;
          FSelStartOffs = FSelEndOffs = offs;
          DoOnSelection();
          Refresh();
          DoSelect();
        }
      }
    }
  }
  SearchHotItem(x, y, vOffs, hOffs);
  int clickedItemNo = -1;
  if (LastDIMovedAbove >= 0 && LastDIMovedAbove < DrawItems.Count()) {
    const TDVDrawLineInfo* d = DrawItems[LastDIMovedAbove];
    clickedItemNo = d->ItemNo;
    GetItem(clickedItemNo)->MouseUp(button, shift, Clamp32(int64_t{docX} - d->Left), Clamp32(int64_t{docY} - d->Top),
                                    clickedItemNo, this);
  }
  if (FCaptureMouseItem) return;
  if (!hadSelection && (button == mbLeft || button == mbRight) && clickedItemNo >= 0 &&
      clickedItemNo < ItemCount() && GetItem(clickedItemNo)->GetBoolValueEx(dvbpAllowsFocus, GetDVStyle())) {
    auto* root = dynamic_cast<TCustomDVFormattedData*>(GetRootData());
    if (root && root->GetTabNavigation() != dvtnNone) {
      root->ClearFocus();
      AdjustFocus(clickedItemNo, this, clickedItemNo);
    }
  }
  if (IsAssignedDVMouseUp()) DoDVMouseUp(button, shift, clickedItemNo, x, y);
  if (button == mbRight && IsAssignedDVRightClick()) {
    std::string word;
    int32_t styleNo = 0, offs = 0;
    int itemNo = -1;
    TCustomDVFormattedData* data = nullptr;
    if (FindWordAt(word, docX, docY, styleNo, itemNo, offs, data)) {
      const TPoint p = ClientToScreen(TPoint{x, y});
      DoDVRightClick(word, styleNo, p.X, p.Y);
    }
  }
  const int32_t downed = LastJumpDowned;
  LastJumpDowned = -1;
  if (button == mbLeft && downed != -1 && IsAssignedJump() && !hadSelection) {
    for (const auto& jump : Jumps)
      if (jump->Id == downed && ContainsInclusive(*jump, docX, docY)) {
        DoJump(Clamp32(int64_t{downed} + GetFirstJumpNo()));
        break;
      }
  }
}

void TCustomDVFormattedData::DblClick(int32_t x, int32_t y) {
  const TDVOptions options = GetOptions();
  const bool selectsWord = (options & dvoDblClickSelectsWord) != 0;
  if (!selectsWord && ((options & dvoSingleClick) || !IsAssignedDVDblClick())) return;
  const int32_t docX = Clamp32(int64_t{ZoomInt(x)} + GetZHOffs()), docY = Clamp32(int64_t{ZoomInt(y)} + GetZVOffs());
  std::string word;
  int32_t styleNo = 0, offs = 0;
  int itemNo = -1;
  TCustomDVFormattedData* data = nullptr;
  if (!FindWordAt(word, docX, docY, styleNo, itemNo, offs, data)) return;
  if (selectsWord && (options & dvoAllowSelection)) {
    int32_t start = offs, end;
    if (data->GetItemStyle(itemNo) >= 0) {
      end = offs + DVU_Length(word, data->GetItemOptions(itemNo));
    } else {
      start = 0;
      end = 1;
    }
    data->SetSelectionBounds(itemNo, start, itemNo, end);
    data->State |= dvstIgnoreNextMouseDown;
    data->State &= ~dvstMakingSelection;
    Invalidate();
    State &= ~dvstMakingSelection;
    DoDVDblClick(word, styleNo);
    // The press that comes with the double click leaves the word selected.
    State |= dvstIgnoreNextMouseDown;
    return;
  }
  DoDVDblClick(word, styleNo);
}

// ---- events, asked of the root ----

bool TCustomDVFormattedData::IsAssignedJump() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root && root->IsAssignedJump();
}

void TCustomDVFormattedData::DoJump(int32_t id) {
  if (TCustomDVFormattedData* root = FormattedRoot(*this)) root->DoJump(id);
}

bool TCustomDVFormattedData::IsAssignedDVMouseDown() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root && root->IsAssignedDVMouseDown();
}

void TCustomDVFormattedData::DoDVMouseDown(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y) {
  if (TCustomDVFormattedData* root = FormattedRoot(*this)) root->DoDVMouseDown(button, shift, itemNo, x, y);
}

bool TCustomDVFormattedData::IsAssignedDVMouseUp() const {
  const TCustomDVFormattedData* root = FormattedRoot(*this);
  return root && root->IsAssignedDVMouseUp();
}

void TCustomDVFormattedData::DoDVMouseUp(TMouseButton button, TShiftState shift, int itemNo, int32_t x, int32_t y) {
  if (TCustomDVFormattedData* root = FormattedRoot(*this)) root->DoDVMouseUp(button, shift, itemNo, x, y);
}

}  // namespace quillet
