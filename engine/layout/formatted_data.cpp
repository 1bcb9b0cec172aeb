// The whole-document formatting pass and the state around it.
#include "engine/layout/formatted_data.h"

#include <algorithm>
#include <climits>

#include "engine/layout/line_layout.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

bool IsJumpItem(const TCustomDVData& data, int itemNo) {
  const TCustomDVItemInfo* item = data.GetItem(itemNo);
  TDVStyle* sheet = data.GetDVStyle();
  if (item->StyleNo >= 0) return sheet->TextStyles()[item->StyleNo].Jump && item->JumpID >= 0;
  return item->GetBoolValueEx(dvbpJump, sheet);
}

}  // namespace

TCustomDVFormattedData::TCustomDVFormattedData() = default;

TCustomDVFormattedData::~TCustomDVFormattedData() { ClearTemporal(); }

TCanvas* TCustomDVFormattedData::GetCanvas() {
  TCustomDVData* root = GetRootData();
  auto* formatted = root == this ? nullptr : dynamic_cast<TCustomDVFormattedData*>(root);
  return formatted ? formatted->GetCanvas() : nullptr;
}

void TCustomDVFormattedData::GetSADForFormatting(TCanvas& canvas, TDVScreenAndDevice& sad) {
  DV_InfoAboutSaD(sad, canvas);
  sad.LeftMargin = MulDiv(GetLeftMargin(), sad.ppixDevice, sad.ppixScreen);
  sad.RightMargin = MulDiv(GetRightMargin(), sad.ppixDevice, sad.ppixScreen);
}

void TCustomDVFormattedData::Format() {
  if (TCanvas* canvas = GetCanvas()) Format_(false, true, false, 0, *canvas, false);
}

void TCustomDVFormattedData::ClearTemporal() {
  DrawItems.Clear();
  ClearJumps();
  nJmps = 0;
  FActiveItem = nullptr;
  FCaptureMouseItem = nullptr;
  LastDIMovedAbove = -1;
  LastDVDataMovedAbove = nullptr;
  State &= ~(dvstMakingSelection | dvstDrawHover);
  LastRaisedCP = nullptr;
}

void TCustomDVFormattedData::Clear() {
  const bool wasClearing = (State & dvstClearing) != 0;
  State |= dvstClearing;
  Deselect(nullptr, true);
  ClearTemporal();
  TCustomDVData::Clear();
  LastItemFormatted = -1;
  if (!wasClearing) State &= ~dvstClearing;
}

void TCustomDVFormattedData::ClearJumps() {
  Jumps.clear();
  ClearLastJump();
}

void TCustomDVFormattedData::ClearLastJump() {
  if (LastDVDataMovedAbove) {
    TCustomDVFormattedData* data = LastDVDataMovedAbove;
    data->State &= ~dvstDrawHover;
    data->LastJumpMovedAbove = -1;
    data->LastJumpDowned = -1;
    data->DoDVMouseMove(-1);  // the host learns that no hyperlink is under the mouse
  }
  State &= ~dvstDrawHover;
  LastJumpMovedAbove = -1;
  LastJumpDowned = -1;
  LastDVDataMovedAbove = nullptr;
}

void TCustomDVFormattedData::AdjustJumpsCoords() {
  for (const auto& jump : Jumps) {
    if (jump->DrawItemNo < 0 || jump->DrawItemNo >= DrawItems.Count()) continue;
    const TDVDrawLineInfo* info = DrawItems[jump->DrawItemNo];
    int32_t left = 0, top = 0;
    if (auto* owner = dynamic_cast<TCustomDVFormattedData*>(jump->DVData)) owner->GetOriginEx(left, top);
    jump->Left = Clamp32(int64_t{info->Left} + left);
    jump->Top = Clamp32(int64_t{info->Top} + top);
  }
}

void TCustomDVFormattedData::AdjustChildrenCoords() {
  // Only a document shown in a window has controls to move.
  if ((GetFlags() & dvflShareContents) || !GetParentControl() || (State & dvstDoNotMoveChildren)) return;
  for (int i = 0; i < DrawItems.Count(); ++i) {
    const TDVDrawLineInfo* info = DrawItems[i];
    if (auto* object = dynamic_cast<TDVNonTextItemInfo*>(GetItem(info->ItemNo)))
      object->AdjustInserted(info->Left - GetHOffs(), info->Top - GetVOffs(), true);
  }
}

void TCustomDVFormattedData::Format_(bool onlyResized, bool forceFormat, bool noScroll, int depth, TCanvas& canvas,
                                     bool onlyTail) {
  if (AlreadyFormatted) {
    AlreadyFormatted = false;
    return;
  }
  if (depth > 1 || !GetDVStyle() || (State & dvstSkipFormatting)) return;

  // At depth 0 the skip and resize states are undone, and the last formatted
  // item and the event set, however the pass ends.
  auto finish = [this, depth, onlyResized] {
    if (depth != 0) return;
    EndFormatting();
    if (onlyResized) State &= ~dvstResizing;
    LastItemFormatted = ItemCount() - 1;
  };
  if (depth == 0) {
    StartFormatting();
    if (onlyResized) State |= dvstResizing;
  }
  try {
    int selStartItem = -1, selEndItem = -1;
    int32_t selStartOffs = 0, selEndOffs = 0;
    int firstVisibleItem = -1;
    int32_t firstVisibleDelta = 0, savedVOffs = 0;
    if (depth == 0 && onlyResized) {
      StoreSelBounds(selStartItem, selEndItem, selStartOffs, selEndOffs, false);
      if (!noScroll && DrawItems.Count() > 0) {
        const int fv = std::min(GetDrawItemNo(GetVOffs(), gdinFirstVisible), DrawItems.Count() - 1);
        if (fv >= 0) {
          firstVisibleDelta = GetVOffs() - DrawItems[fv]->Top;
          firstVisibleItem = DrawItems[fv]->ItemNo;
        }
      }
    }
    if (depth == 0 && onlyTail) savedVOffs = GetVOffs();

    const int32_t oldTextWidth = TextWidth, oldDocumentWidth = DocumentWidth;
    TDVFormatState st;
    st.Canvas = &canvas;
    st.Flags = GetFlags();
    ApplyWidthRules(st);
    const bool widthsKept = TextWidth == oldTextWidth && DocumentWidth == oldDocumentWidth;
    if (forceFormat || !onlyResized || !widthsKept) LayOut(st, onlyTail && widthsKept);

    const int32_t width = GetWidth(), height = GetHeight();
    AlreadyFormatted = true;
    SetDocumentAreaSize(Clamp32(int64_t{GetLeftMargin()} + DocumentWidth + GetRightMargin()), DocumentHeight, true);
    AlreadyFormatted = false;
    if (GetWidth() != width || GetHeight() != height) {
      // A scroll bar came or went: once more at the new size (a third level
      // returns at once).
      EndFormatting();
      Format_(onlyResized, forceFormat, false, depth + 1, canvas, false);
      StartFormatting();
    }

    if (depth == 0) {
      if (onlyResized && !noScroll) {
        const int d = firstVisibleItem >= 0 ? FindDrawItemByItem(firstVisibleItem) : -1;
        ScrollTo(d >= 0 ? Clamp32(int64_t{DrawItems[d]->Top} + firstVisibleDelta) : 0, false);
      }
      AdjustChildrenCoords();
      if (onlyTail) ScrollTo((GetOptions() & dvoScrollToEnd) ? DocumentHeight : savedVOffs, false);
      if (onlyResized) RestoreSelBounds(selStartItem, selEndItem, selStartOffs, selEndOffs);
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  if (depth == 0) Formatted(0, ItemCount() - 1, false);
}

void TCustomDVFormattedData::ApplyWidthRules(TDVFormatState& st) {
  GetSADForFormatting(*st.Canvas, st.Sad);
  const int64_t margins = int64_t{st.Sad.LeftMargin} + st.Sad.RightMargin;
  const int64_t client = int64_t{GetWidth()} - margins;
  MinDocWidth = CalculateMinDocWidthPlus(&st.Sad, *st.Canvas);
  int64_t documentWidth = std::max<int64_t>(MinDocWidth, client);
  const int32_t devMin = st.ToDeviceX(GetMinTextWidth()), devMax = st.ToDeviceX(GetMaxTextWidth());
  documentWidth = std::max<int64_t>(documentWidth, devMin);
  int64_t textWidth;
  if (GetOptions() & dvoClientTextWidth)
    textWidth = std::max<int64_t>(client, devMin);
  else if (devMax - margins < documentWidth && GetMaxTextWidth() > 0)
    textWidth = devMax - margins;
  else
    textWidth = documentWidth;
  // A client or maximum width narrower than the margins leaves no room, not
  // a negative width.
  DocumentWidth = Clamp32(std::max<int64_t>(documentWidth, 0));
  TextWidth = Clamp32(std::max<int64_t>(textWidth, 0));
}

void TCustomDVFormattedData::LayOut(TDVFormatState& st, bool onlyTail) {
  const int count = ItemCount();
  int first = 0;
  if (onlyTail && LastItemFormatted >= 0 && LastItemFormatted < count && DrawItems.Count() > 0) {
    first = LastItemFormatted + 1;
    int section = first;
    int32_t y = 0;
    if (first < count && GetItem(first)->SameAsPrev()) {
      // The new item continues the last line: that section is laid out again.
      if (!BackUpToSection(first, section, y)) onlyTail = false;
      first = section;
    } else {
      y = Clamp32(int64_t{DocumentHeight} - GetBottomMargin() - st.ToDeviceY(ParaOf(LastItemFormatted).SpaceAfter));
    }
    st.Y = y;
  } else {
    onlyTail = false;
  }
  if (!onlyTail) {
    first = 0;
    ClearTemporal();
    st.Y = GetTopMargin();
  }
  st.DrawItemIndex = DrawItems.Count();
  if (count > 0) FormatItems(st, first, count - 1);
  FinishScreenLine(st, Clamp32(int64_t{st.LineWidth} + st.LineLeft), st.DrawItemIndex, true);
  int64_t height = int64_t{GetBottomMargin()} + st.Y + st.PrevDesc + st.ExtraSpace;
  if (count > 0) height += st.ToDeviceY(ParaOf(count - 1).SpaceAfter);
  DocumentHeight = Clamp32(height);
  AdjustVScrollUnits();
  AdjustJumpsCoords();
}

int32_t TCustomDVFormattedData::LineBottomBefore(int drawItemNo) const {
  if (drawItemNo <= 0) return GetTopMargin();
  int64_t bottom = INT64_MIN;
  for (int i = drawItemNo - 1; i >= 0; --i) {
    const TDVDrawLineInfo* info = DrawItems[i];
    bottom = std::max<int64_t>(bottom, int64_t{info->Top} + info->Height + info->ExtraSpaceBelow);
    if (info->FromNewLine) break;
  }
  return Clamp32(bottom);
}

bool TCustomDVFormattedData::BackUpToSection(int itemNo, int& sectionItemNo, int32_t& y) {
  // The bottom of the line above is read back from its drawing items, which
  // does not hold when the external leading widens the ascent.
  if (GetFlags() & dvflUseExternalLeading) return false;
  sectionItemNo = GetFirstParaSectionItem(itemNo);
  const int d = FindDrawItemByItem(sectionItemNo);
  if (d < 0 || !DrawItems[d]->FromNewLine) return false;
  y = LineBottomBefore(d);
  DrawItems.DeleteRange(d, DrawItems.Count() - 1);
  std::erase_if(Jumps, [d](const std::unique_ptr<TDVJumpInfo>& jump) { return jump->DrawItemNo >= d; });
  // Link numbers go on from the last link before the section.
  int32_t next = 0;
  for (const auto& jump : Jumps) next = std::max(next, jump->Id + 1);
  for (int i = sectionItemNo - 1; i >= 0; --i)
    if (IsJumpItem(*this, i)) {
      next = std::max(next, GetItem(i)->JumpID + 1);
      break;
    }
  nJmps = next;
  return true;
}

}  // namespace quillet
