// The caret model: the caret is a drawing item and a stop of its line. The
// stops come from the same measurement the layout fits lines with, so the
// caret stands exactly where the text was cut and drawn.
#include <algorithm>

#include "editing/control/editor.h"
#include "editing/edit/edit_data.h"
#include "engine/base/doc_view_error.h"
#include "engine/layout/line_layout.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {
int32_t Sat32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
}  // namespace

int TDVEditDVData::GetCurItemNo() const {
  if (FPartialSelectedItem) return GetItemNo(FPartialSelectedItem);
  if (TCustomDVItemInfo* chosen = GetChosenItem()) return GetItemNo(chosen);
  if (CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItems.Count()) return -1;
  return DrawItems[CaretDrawItemNo]->ItemNo;
}

int32_t TDVEditDVData::GetOffsetInCurItem() const {
  if (FPartialSelectedItem) return 1;
  if (CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItems.Count() || CaretOffs < 0 ||
      CaretOffs >= static_cast<int32_t>(CharEnds.size()))
    return -1;
  int itemNo = -1;
  int32_t offs = -1;
  DrawItem2Item(CaretDrawItemNo, CharEnds[static_cast<size_t>(CaretOffs)].Offset, itemNo, offs);
  return offs;
}

void TDVEditDVData::StoreSelOrCaret(int& startNo, int& endNo, int32_t& startOffs, int32_t& endOffs) const {
  StoreSelBounds(startNo, endNo, startOffs, endOffs, true);
  if (startNo >= 0 && endNo >= 0) return;
  startNo = endNo = GetCurItemNo();
  startOffs = endOffs = GetOffsetInCurItem();
}

// ---- stops ----

void TDVEditDVData::SimpleBuildCaretPositions(int drawItemNo) {
  const TDVDrawLineInfo* info = DrawItems[drawItemNo];
  const TCustomDVItemInfo* item = GetItem(info->ItemNo);
  if (item->StyleNo < 0) {
    const int32_t moveRight = GetParaBiDiMode(item->ParaNo) == dvbdRightToLeft ? 2 : 1;
    CharEnds.push_back({info->Left, drawItemNo, 0, 1});
    CharEnds.push_back({Sat32(int64_t{info->Left} + info->Width), drawItemNo, 1, moveRight});
    return;
  }
  const int32_t left = Sat32(int64_t{info->Left} + info->SpaceBefore);
  CharEnds.push_back({left, drawItemNo, 1, 1});
  TCanvas* canvas = GetCanvas();
  if (!canvas || info->Length <= 0) return;
  // The layout's own measure of the item when it kept one. Else the line's
  // piece is measured alone: a line starts at a character boundary and each
  // character advances by its own width, so the piece measures as it does
  // inside the whole text. The item's own code page steps the characters: a
  // double-byte character is one step whatever the system's code page.
  const TDVTextMeasure* measure = TDVKeptItemMeasure::Find(*this, info->ItemNo);
  TDVTextMeasure piece;
  int from = 0, to = 0;
  if (measure) {
    from = std::clamp(info->Offs - 1, 0, measure->Count());
    to = std::clamp(from + info->Length, from, measure->Count());
  } else {
    TDVStyle& sheet = *GetDVStyle();
    const TFontInfo& font = sheet.TextStyles()[item->StyleNo];
    sheet.ApplyStyle(*canvas, item->StyleNo, GetParaBiDiMode(item->ParaNo));
    std::string displayed;
    std::string_view text = GetItemTextR(info->ItemNo);
    if (font.StyleEx & dvfsAllCaps) {
      displayed = DV_ReturnCapitalized(GetItemTextR(info->ItemNo), font);
      text = displayed;
    }
    const size_t unit = item->IsUnicode() ? 2 : 1;
    const int units = static_cast<int>(std::min<size_t>(text.size() / unit, INT32_MAX));
    const int first = std::clamp(info->Offs - 1, 0, units);
    const int last = std::clamp(first + info->Length, first, units);
    piece.Prepare(*canvas, text.substr(first * unit, (last - first) * unit), item->IsUnicode(),
                  GetStyleCodePage(item->StyleNo));
    measure = &piece;
    to = piece.Count();
  }
  for (int k = from; k < to;) {
    k = std::min(measure->CharEnd(k), to);
    CharEnds.push_back({Sat32(int64_t{left} + measure->Width(from, k)), drawItemNo, k - from + 1, 1});
  }
}

bool TDVEditDVData::AdvancedBuildCaretPositions(int drawItemNo) {
  const TDVDrawLineInfo* info = DrawItems[drawItemNo];
  const TCustomDVItemInfo* item = GetItem(info->ItemNo);
  TCanvas* canvas = GetCanvas();
  if (item->StyleNo < 0 || info->Length <= 0 || !canvas) return false;
  TDVStyle& sheet = *GetDVStyle();
  sheet.ApplyStyle(*canvas, item->StyleNo, dvbdRightToLeft);
  const std::string piece = DrawItems.GetString(drawItemNo, *this);
  std::vector<int32_t> caret;
  if (!DVU_GetTextCaretPos(*canvas, piece, caret, item->ItemOptions) ||
      static_cast<int>(caret.size()) < info->Length + 1)
    return false;
  const std::string& text = GetItemTextR(info->ItemNo);
  for (int k = 0; k <= info->Length;) {
    CharEnds.push_back({Sat32(int64_t{info->Left} + caret[static_cast<size_t>(k)]), drawItemNo, k + 1, 0});
    if (k == info->Length) break;
    k = std::clamp(NextCharStr(text, info->ItemNo, info->Offs + k) - info->Offs, k + 1, info->Length);
  }
  return true;
}

void TDVEditDVData::OnChangeCaretLine(int32_t offset) {
  CharEnds.clear();
  if (CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItems.Count()) return;
  CaretOffs = 100000;
  int first, last;
  GetScreenLineBounds(CaretDrawItemNo, first, last);
  // A marker that begins the line has no stops.
  if (first < last && GetItemStyle(DrawItems[first]->ItemNo) == dvsListMarker) {
    if (CaretDrawItemNo == first) {
      CaretDrawItemNo = first + 1;
      offset = GetOffsBeforeDrawItem(first + 1);
    }
    ++first;
  }
  if (CaretStopOnly) {
    CharEnds.push_back({DrawItems[CaretDrawItemNo]->Left, CaretDrawItemNo, offset, 1});
    CaretOffs = 0;
    return;
  }
  for (int i = first; i <= last; ++i) {
    const size_t before = CharEnds.size();
    const bool rtl = GetParaBiDiMode(GetItemPara(DrawItems[i]->ItemNo)) == dvbdRightToLeft;
    if (!rtl || !AdvancedBuildCaretPositions(i)) SimpleBuildCaretPositions(i);
    if (i != CaretDrawItemNo) continue;
    // An offset inside a character (a position made in another code page)
    // takes the stop before it.
    for (size_t k = before; k < CharEnds.size(); ++k)
      if (CharEnds[k].Offset <= offset || k == before) CaretOffs = static_cast<int32_t>(k);
  }
}

// ---- placing the caret ----

void TDVEditDVData::ChangeCaret(bool /*forceCreate*/, bool scroll, bool repaint, bool keepStyles) {
  if (State & dvstSkipFormatting) return;
  if (repaint) Invalidate();
  CaretRect = TRect{};
  int selStart, selEnd;
  int32_t selStartOffs, selEndOffs;
  GetSelBounds(selStart, selEnd, selStartOffs, selEndOffs, true);
  const bool wholeSelected = DrawItems.Count() > 0 && selStart == 0 && selEnd == DrawItems.Count() - 1 &&
                             selStartOffs == GetOffsBeforeDrawItem(0) &&
                             selEndOffs == GetOffsAfterDrawItem(selEnd) && (selStart != selEnd || selStartOffs != selEndOffs);
  if (FPartialSelectedItem || GetInplaceEditor() || wholeSelected) return;
  if (CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) {
    if (DrawItems.Count() == 0) return;
    CaretDrawItemNo = 0;
    OnChangeCaretLine(GetOffsBeforeDrawItem(0));
    if (CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) CaretOffs = 0;
    throw EDocViewError("Invalid caret position. Please contact the developer, if you can reproduce this problem");
  }
  const TDVCharPos& stop = CharEnds[static_cast<size_t>(CaretOffs)];
  CaretDrawItemNo = stop.DrawItemNo;
  const TDVDrawLineInfo* info = DrawItems[CaretDrawItemNo];
  const int32_t height =
      std::min<int64_t>(int64_t{info->Height} + 2 + 2 * int64_t{DocViewEditCaretHeightExtra}, DocViewEditMaxCaretHeight);
  const int32_t x = Sat32(int64_t{stop.X} - 1 + stop.MoveRightTo);
  const int32_t top = Sat32(int64_t{info->Top} - 1);
  const bool hidden = Editor().ReadOnly && Editor().HideReadOnlyCaret;
  if (!hidden) {
    const int32_t left = Sat32(int64_t{x} - DocViewEditCaretWidth / 2);
    CaretRect = TRect{left, top, Sat32(int64_t{left} + DocViewEditCaretWidth), Sat32(int64_t{top} + height)};
  }

  TCustomDVItemInfo* item = GetItem(info->ItemNo);
  TDVStyle* sheet = GetDVStyle();
  if (!keepStyles) {
    // A forced change event fires for both styles.
    const bool forced = (State & dvstForceStyleChangeEvent) != 0;
    SetCurParaStyleNo(item->ParaNo);
    if (item->StyleNo >= 0) {
      const bool noSwitch = sheet && sheet->TextStyles().IsValidIndex(item->StyleNo) &&
                            (sheet->TextStyles()[item->StyleNo].Protection & dvprDoNotAutoSwitch);
      if (forced) State |= dvstForceStyleChangeEvent;
      SetCurTextStyleNo(noSwitch ? FPrevTextStyleNo : item->StyleNo);
      if (!noSwitch) FPrevTextStyleNo = item->StyleNo;
    }
  }
  // An item that shows an active state is active while the caret is at it.
  TCustomDVItemInfo* active = item->GetBoolValue(dvbpDisplayActiveState) ? item : nullptr;
  if (active != FActiveItem) {
    FActiveItem = active;
    Invalidate();
  }
  if (sheet && item->GetBoolValueEx(dvbpHotColdJump, sheet))
    MakeHot(CaretDrawItemNo);
  else
    MakeCold();
  if (scroll && CaretShown() && !FCaptureMouseItem)
    ShowRectangle(CaretRect.Left, CaretRect.Top, CaretRect.Right - CaretRect.Left, CaretRect.Bottom - CaretRect.Top);
  Editor().AfterCaretMove();
}

void TDVEditDVData::SetCurTextStyleNo(int32_t styleNo) { Editor().SetCurTextStyleNo(styleNo); }

void TDVEditDVData::SetCurParaStyleNo(int32_t paraNo) { Editor().SetCurParaStyleNo(paraNo); }

// ---- hot items and hyperlinks ----

namespace {
// The link number of the item the caret makes hot while no hyperlink areas
// exist: no pass gives it (they count from 0; -3 marks a link without an
// area) and painting compares it like any other.
constexpr int32_t kCaretHotJumpId = -2;
}  // namespace

void TDVEditDVData::ReleaseHotItem() {
  if (hotItem_ && hotRenumbered_ && hotItem_->JumpID == kCaretHotJumpId) hotItem_->JumpID = hotSavedJumpId_;
  hotItem_ = nullptr;
  hotRenumbered_ = false;
}

void TDVEditDVData::MakeHot(int drawItemNo) {
  TCustomDVItemInfo* item = GetItem(DrawItems[drawItemNo]->ItemNo);
  if (item == hotItem_ && (State & dvstDrawHover) && LastJumpMovedAbove == item->JumpID) {
    LastDIMovedAbove = drawItemNo;
    return;
  }
  MakeCold();
  // The editor keeps no hyperlink areas while editing, so the items' link
  // numbers are stale: the hot one gets a number no other item has.
  if (!(GetFlags() & dvflUseJumps)) {
    hotSavedJumpId_ = item->JumpID;
    item->JumpID = kCaretHotJumpId;
    hotRenumbered_ = true;
  }
  hotItem_ = item;
  LastJumpMovedAbove = item->JumpID;
  LastDIMovedAbove = drawItemNo;
  State |= dvstDrawHover;
  Invalidate();
}

void TDVEditDVData::MakeCold() {
  const bool wasHot = hotItem_ != nullptr || (State & dvstDrawHover);
  ReleaseHotItem();
  if (!wasHot) return;
  State &= ~dvstDrawHover;
  LastJumpMovedAbove = -1;
  LastDIMovedAbove = -1;
  Invalidate();
}

void TDVEditDVData::BuildJumpsCoords(bool force) {
  if ((!force && Editor().ReadOnly) || FCaptureMouseItem) return;
  // The pass numbers every link, the hot one too.
  MakeCold();
  ClearJumps();
  int32_t jumpNo = 0;
  TDocViewDVData::BuildJumpsCoords(jumpNo, Jumps);
  SetFlags(static_cast<TDVFlags>(GetFlags() | dvflUseJumps));
  ClearLastJump();
  Invalidate();
}

void TDVEditDVData::ClearJumpsCoords() {
  if (Editor().ReadOnly || FCaptureMouseItem || !(GetFlags() & dvflUseJumps)) return;
  MakeCold();
  ClearJumps();
  SetFlags(static_cast<TDVFlags>(GetFlags() & ~dvflUseJumps));
  if (CaretOffs >= 0 && CaretOffs < static_cast<int32_t>(CharEnds.size())) ChangeCaret(false, false, false, true);
  Invalidate();
}

void TDVEditDVData::SetCaretAtItem(int itemNo, int32_t offs, bool scroll) {
  if (DrawItems.Count() == 0 || itemNo < 0 || itemNo >= ItemCount()) return;
  int drawItemNo;
  int32_t drawOffs;
  Item2DrawItem(itemNo, offs, drawItemNo, drawOffs);
  if (drawItemNo < 0) return;
  FSelStartNo = FSelEndNo = drawItemNo;
  FSelStartOffs = FSelEndOffs = drawOffs;
  CaretDrawItemNo = drawItemNo;
  OnChangeCaretLine(drawOffs);
  ChangeCaret(false, scroll, false, false);
}

void TDVEditDVData::DoOnSelection() {
  if (FSelEndNo < 0 || FSelEndNo >= DrawItems.Count()) return;
  if (GetItemStyle(DrawItems[FSelEndNo]->ItemNo) == dvsListMarker && FSelEndNo + 1 < DrawItems.Count()) {
    ++FSelEndNo;
    FSelEndOffs = GetOffsBeforeDrawItem(FSelEndNo);
  }
  CaretDrawItemNo = FSelEndNo;
  OnChangeCaretLine(FSelEndOffs);
  ChangeCaret(false, true, false, false);
}

// ---- formatting ----

void TDVEditDVData::PrepareForEdit() {
  if (ItemCount() > 0 || !GetDVStyle()) return;
  AddNL("", FCurTextStyleNo, FCurParaStyleNo);
}

void TDVEditDVData::Format_(bool onlyResized, bool forceFormat, bool noScroll, int depth, TCanvas& canvas,
                            bool onlyTail) {
  PrepareForEdit();
  const bool keep = depth == 0 && !(State & dvstSkipFormatting) && CaretDrawItemNo >= 0 &&
                    CaretDrawItemNo < DrawItems.Count() && CaretOffs >= 0 &&
                    CaretOffs < static_cast<int32_t>(CharEnds.size());
  // The items may have changed under the old drawing items: the caret is
  // read from its drawing item only while that names an item that exists,
  // and kept inside that item.
  int itemNo = keep ? DrawItems[CaretDrawItemNo]->ItemNo : -1;
  int32_t offs = 0;
  if (itemNo >= 0 && itemNo < ItemCount()) {
    const TDVDrawLineInfo* info = DrawItems[CaretDrawItemNo];
    const int32_t stopOffs = CharEnds[static_cast<size_t>(CaretOffs)].Offset;
    offs = GetItemStyle(itemNo) >= 0 ? info->Offs + stopOffs - 1 : stopOffs;
    offs = std::clamp(offs, GetOffsBeforeItem(itemNo), GetOffsAfterItem(itemNo));
  } else {
    itemNo = -1;
  }
  TDocViewDVData::Format_(onlyResized, forceFormat, noScroll, depth, canvas, onlyTail);
  if (depth != 0) return;
  CharEnds.clear();
  CaretOffs = -1;
  CaretDrawItemNo = -1;
  if (DrawItems.Count() == 0) return;
  int32_t drawOffs;
  if (itemNo >= 0 && itemNo < ItemCount()) {
    Item2DrawItem(itemNo, offs, CaretDrawItemNo, drawOffs);
  } else {
    CaretDrawItemNo = 0;
    drawOffs = GetOffsBeforeDrawItem(0);
  }
  OnChangeCaretLine(drawOffs);
  ChangeCaret(false, false, false, false);
}

}  // namespace quillet
