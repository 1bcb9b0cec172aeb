// Backspace and Delete at the caret. Each key is one undo group of type
// delete; a refusal beeps, changes nothing and takes its empty group away
// again, so that Undo is not offered for nothing.
#include <algorithm>

#include "editing/edit/edit_data.h"

namespace quillet {

namespace {

bool IsFullWidthItem(const TDVEditDVData& data, int itemNo) {
  return data.GetItem(itemNo)->GetBoolValue(dvbpFullWidth);
}

}  // namespace

bool TDVEditDVData::IsEmptyText(int itemNo) const {
  return itemNo >= 0 && itemNo < ItemCount() && GetItemStyle(itemNo) >= 0 && ItemLength(itemNo) == 0;
}

// ---- one key's change ----

// The drawing items of the paragraphs around items first..last, taken
// before a change.
void TDVEditDVData::TouchedDrawRange(int firstItemNo, int lastItemNo, int& start, int& end) const {
  start = end = -1;
  if (DrawItems.Count() == 0 || ItemCount() == 0) return;
  const int first = std::clamp(firstItemNo, 0, ItemCount() - 1);
  const int last = std::clamp(lastItemNo, first, ItemCount() - 1);
  int lastDraw = FindDrawItemByItem(last);
  while (lastDraw + 1 < DrawItems.Count() && DrawItems[lastDraw + 1]->ItemNo == last) ++lastDraw;
  GetParaBounds(FindDrawItemByItem(first), lastDraw, start, end);
}

bool TDVEditDVData::KeyCaret(int& itemNo, int32_t& offs) {
  if (CharEnds.empty() || CaretOffs < 0) return false;
  itemNo = GetCurItemNo();
  offs = GetOffsetInCurItem();
  if (!IsItemParaProtected(itemNo)) return true;
  Beep();
  return false;
}

void TDVEditDVData::RefuseKey() {
  UndoList->PopIfEmpty();
  Beep();
}

void TDVEditDVData::FinishKey(bool full, int start, int end, int itemsAdded, int caretItemNo, int32_t caretOffs) {
  Reformat_(full, start, end, itemsAdded);
  caretItemNo = std::clamp(caretItemNo, 0, ItemCount() - 1);
  AdjustMarkerPos(caretItemNo, caretOffs);
  SetCaretAtItem(caretItemNo, caretOffs);
  Change();
}

// The item after a deleted paragraph start takes its flags; done before the
// deletion so that undo gives them back to an item that is not first.
void TDVEditDVData::PassParaStart(int fromItemNo, bool& full) {
  const TCustomDVItemInfo* from = GetItem(fromItemNo);
  const bool br = from->BR(), pageBreak = from->PageBreakBefore();
  bool f = false;
  Do_NewLine(fromItemNo + 1, false, f, -1);
  full = full || f;
  if (br) Do_BR(fromItemNo + 1, true, f);
  full = full || f;
  if (pageBreak) Do_PageBreak(fromItemNo + 1, true);
}

void TDVEditDVData::JoinParagraph(int itemNo, bool& full) {
  full = false;
  // Nothing continues a full-width item's line, and it continues none.
  if (itemNo <= 0 || itemNo >= ItemCount() || IsFullWidthItem(*this, itemNo - 1) || IsFullWidthItem(*this, itemNo))
    return;
  Do_NewLine(itemNo, true, full, -1);
}

// ---- Backspace ----

void TDVEditDVData::OnBackSpacePress_(bool ctrl) {
  int itemNo;
  int32_t offs;
  if (!KeyCaret(itemNo, offs)) return;
  const bool afterMarker = itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker;
  if (CaretOffs == 0 && offs <= GetOffsBeforeItem(itemNo)) {
    if (itemNo == 0) return;
    if (IsFullWidthItem(*this, itemNo) || (IsFullWidthItem(*this, itemNo - 1) && !IsEmptyText(itemNo))) {
      OnLeftPress(false, false);
      return;
    }
  }
  if (offs <= GetOffsBeforeItem(itemNo) && !IsFromNewLine(itemNo) && !afterMarker) {
    --itemNo;
    offs = GetOffsAfterItem(itemNo);
  }
  TDVEditOperation operation(*this);
  BeginUndoSequence(dvutDelete, true);
  int start, end;
  TouchedDrawRange(itemNo - 1, itemNo + 1, start, end);
  bool full = false, f = false;
  int added = 0;
  int caretItemNo = itemNo;
  int32_t caretOffs = offs;
  TCustomDVItemInfo* item = GetItem(itemNo);

  if (offs <= GetOffsBeforeItem(itemNo) && (IsFromNewLine(itemNo) || afterMarker)) {
    // At the beginning of a paragraph section.
    const int prevNo = itemNo - 1;
    if (item->PageBreakBefore()) {
      Do_PageBreak(itemNo, false);
    } else if (afterMarker) {
      PassParaStart(prevNo, full);
      Do_DeleteItem(prevNo, f);
      --added;
      caretItemNo = prevNo;
      caretOffs = GetOffsBeforeItem(prevNo);
    } else if (itemNo == 0) {
      UndoList->PopIfEmpty();
      return;
    } else if (IsEmptyText(itemNo)) {
      if (IsProtected(itemNo, dvprDeleteProtect)) return RefuseKey();
      if (itemNo + 1 < ItemCount() && !IsFromNewLine(itemNo + 1)) PassParaStart(itemNo, full);
      Do_DeleteItem(itemNo, f);
      --added;
      caretItemNo = prevNo;
      caretOffs = GetOffsAfterItem(prevNo);
    } else if (IsEmptyText(prevNo)) {
      if (IsProtected(prevNo, dvprDeleteProtect) || IsItemParaProtected(prevNo)) return RefuseKey();
      const bool prevBR = GetItem(prevNo)->BR();
      const bool prevStarts = IsFromNewLine(prevNo);
      if (!prevBR && prevStarts && item->BR()) Do_BR(itemNo, false, f);
      Do_DeleteItem(prevNo, f);
      --added;
      caretItemNo = prevNo;
      caretOffs = GetOffsBeforeItem(prevNo);
      if (prevNo > 0 && GetItemStyle(prevNo - 1) == dvsListMarker) JoinParagraph(prevNo, f);
    } else if (IsProtected(itemNo, dvprParaStartProtect) || IsItemParaProtected(prevNo)) {
      return RefuseKey();
    } else {
      caretItemNo = prevNo;
      caretOffs = GetOffsAfterItem(prevNo);
      JoinParagraph(itemNo, f);
      full = full || f;
      if (DV_CanConcateItems(prevNo, GetItem(prevNo), item, false)) {
        Do_Concate(prevNo);
        --added;
      }
    }
  } else {
    // Inside a paragraph: the character (or word) before the caret.
    int32_t from = offs;
    if (item->StyleNo >= 0)
      from = ctrl ? PrevWordStart(itemNo, offs) : PrevCharStr(GetItemTextR(itemNo), itemNo, offs);
    const bool empties = item->StyleNo < 0 || (from <= GetOffsBeforeItem(itemNo) && offs >= GetOffsAfterItem(itemNo));
    if (!empties) {
      if (IsProtected(itemNo, dvprModifyProtect)) return RefuseKey();
      Do_DeleteSubstring(itemNo, from, offs - from);
      caretOffs = from;
    } else {
      const bool starts = IsFromNewLine(itemNo) || afterMarker;
      const bool onlyContent = starts && (itemNo + 1 >= ItemCount() || IsFromNewLine(itemNo + 1));
      if (IsProtected(itemNo, dvprDeleteProtect)) return RefuseKey();
      if (onlyContent) {
        // The paragraph keeps an empty line in the item's place.
        const TDVTag tag = item->StyleNo >= 0 ? item->Tag : TDVTag{};
        const bool br = item->BR(), sameAsPrev = item->SameAsPrev();
        std::unique_ptr<TDVCPInfo> checkpoint = item->Checkpoint ? item->Checkpoint->CreateCopy(TagsArePChars()) : nullptr;
        Do_DeleteItem(itemNo, f);
        std::unique_ptr<TCustomDVItemInfo> empty = CreateTextItem(tag, FCurParaStyleNo, br, sameAsPrev, FCurTextStyleNo);
        empty->Checkpoint = std::move(checkpoint);
        Do_InsertItem(itemNo, "", std::move(empty), false, f);
        caretOffs = 1;
      } else if (itemNo + 1 < ItemCount() && !IsFromNewLine(itemNo + 1) && (IsFromNewLine(itemNo) || itemNo == 0)) {
        PassParaStart(itemNo, full);
        Do_DeleteItem(itemNo, f);
        --added;
        caretOffs = GetOffsBeforeItem(itemNo);
      } else {
        Do_DeleteItem(itemNo, f);
        --added;
        caretItemNo = itemNo - 1;
        caretOffs = GetOffsAfterItem(caretItemNo);
        if (itemNo < ItemCount() && DV_CanConcateItems(caretItemNo, GetItem(caretItemNo), GetItem(itemNo), false)) {
          Do_Concate(caretItemNo);
          --added;
        }
      }
    }
  }
  FinishKey(full || f, start, end, added, caretItemNo, caretOffs);
}

// ---- Delete ----

void TDVEditDVData::OnDeletePress_(bool /*ctrl*/) {
  int itemNo;
  int32_t offs;
  if (!KeyCaret(itemNo, offs)) return;
  const bool atItemEnd = offs >= GetOffsAfterItem(itemNo);
  if (CaretOffs == static_cast<int32_t>(CharEnds.size()) - 1) {
    if (IsFullWidthItem(*this, itemNo) ||
        (itemNo + 1 < ItemCount() && IsFullWidthItem(*this, itemNo + 1) && !IsEmptyText(itemNo))) {
      OnRightPress(false, false);
      return;
    }
    if (atItemEnd && itemNo + 1 >= ItemCount()) {
      // The document's end: only an empty last line goes.
      if (IsEmptyText(itemNo) && itemNo > 0) OnBackSpacePress_(false);
      return;
    }
  }
  if (atItemEnd && itemNo + 1 < ItemCount() && !IsFromNewLine(itemNo + 1)) {
    ++itemNo;
    offs = GetOffsBeforeItem(itemNo);
  }
  if (!(offs >= GetOffsAfterItem(itemNo) && itemNo + 1 < ItemCount())) {
    // Inside: the character after the caret goes, as Backspace after it.
    const int32_t next =
        GetItemStyle(itemNo) >= 0 ? NextCharStr(GetItemTextR(itemNo), itemNo, offs) : GetOffsAfterItem(itemNo);
    SetCaretAtItem(itemNo, next, false);
    OnBackSpacePress_(false);
    return;
  }
  // At the end of a paragraph section: the next paragraph joins this one.
  TDVEditOperation operation(*this);
  BeginUndoSequence(dvutDelete, true);
  int start, end;
  TouchedDrawRange(itemNo, itemNo + 2, start, end);
  bool full = false, f = false;
  int added = 0;
  int caretItemNo = itemNo;
  int32_t caretOffs = offs;
  const int nextNo = itemNo + 1;
  if (IsItemParaProtected(nextNo)) return RefuseKey();
  if (IsEmptyText(itemNo)) {
    if (IsProtected(itemNo, dvprDeleteProtect)) return RefuseKey();
    const bool markerBefore = itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker;
    Do_DeleteItem(itemNo, f);
    --added;
    if (markerBefore) {
      Do_DeleteItem(itemNo - 1, f);
      --added;
      --itemNo;
    }
    caretItemNo = itemNo;
    caretOffs = GetOffsBeforeItem(itemNo);
  } else if (IsEmptyText(nextNo)) {
    if (IsProtected(nextNo, dvprDeleteProtect)) return RefuseKey();
    if (nextNo + 1 < ItemCount() && !IsFromNewLine(nextNo + 1)) PassParaStart(nextNo, full);
    Do_DeleteItem(nextNo, f);
    --added;
  } else {
    if (IsProtected(nextNo, dvprParaStartProtect)) return RefuseKey();
    const int joinNo = nextNo;
    if (GetItemStyle(nextNo) == dvsListMarker && nextNo + 1 < ItemCount()) {
      PassParaStart(nextNo, full);
      Do_DeleteItem(nextNo, f);
      --added;
    }
    JoinParagraph(joinNo, f);
    full = full || f;
    if (DV_CanConcateItems(itemNo, GetItem(itemNo), GetItem(joinNo), false)) {
      Do_Concate(itemNo);
      --added;
    }
    ApplyParaStyle(itemNo, FCurParaStyleNo);
  }
  FinishKey(full || f, start, end, added, caretItemNo, caretOffs);
}

}  // namespace quillet
