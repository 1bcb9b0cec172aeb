// Deleting the selection: the protection rules decide first, then the
// selected items go through the primitives in one undo group, a paragraph
// that loses all its content keeps an empty line, and what remains of the
// last paragraph joins the first.
#include "editing/edit/edit_data.h"

namespace quillet {

namespace {

// Whether a text item may lose [from, to): nothing selected passes; a
// delete-protected text may not go whole, a modify-protected one not in part.
bool PartMayGo(const TDVEditDVData& data, int itemNo, int32_t from, int32_t to) {
  if (from >= to) return true;
  const bool whole = from <= data.GetOffsBeforeItem(itemNo) && to >= data.GetOffsAfterItem(itemNo);
  if (whole) return !data.IsProtected(itemNo, dvprDeleteProtect);
  return !data.IsProtected(itemNo, dvprModifyProtect);
}

}  // namespace

bool TDVEditDVData::CanDelete() {
  if (!SelectionExists(false, false))
    return !FPartialSelectedItem || FPartialSelectedItem->CanDeletePartiallySelected();
  int startNo, endNo;
  int32_t startOffs, endOffs;
  GetSelectionBounds(startNo, startOffs, endNo, endOffs, true);
  for (int i = startNo + 1; i < endNo; ++i)
    if (IsProtected(i, dvprDeleteProtect)) return false;
  if (startNo == endNo) {
    if (!PartMayGo(*this, startNo, startOffs, endOffs)) return false;
  } else if (!PartMayGo(*this, startNo, startOffs, GetOffsAfterItem(startNo)) ||
             !PartMayGo(*this, endNo, GetOffsBeforeItem(endNo), endOffs)) {
    return false;
  }
  if (IsItemParaProtected(startNo) && !(IsParaStart(startNo) && startOffs <= GetOffsBeforeItem(startNo)))
    return false;
  if (IsItemParaProtected(endNo) &&
      !(endOffs >= GetOffsAfterItem(endNo) && (endNo + 1 >= ItemCount() || IsParaStart(endNo + 1))))
    return false;
  return !IsParaProtected(FCurParaStyleNo, dvpaoReadOnly);
}

void TDVEditDVData::ApplyParaStyle(int itemNo, int32_t paraNo) {
  const int first = GetFirstParaItem(itemNo), last = GetParaLastItemNo(itemNo);
  for (int i = first; i <= last; ++i) {
    if (GetItemPara(i) == paraNo) continue;
    bool full = false;
    Do_Para(first, last, full, paraNo);
    return;
  }
}

bool TDVEditDVData::DeleteSelection_() {
  if (!SelectionExists(false, false)) {
    if (!FPartialSelectedItem) return true;
    if (!FPartialSelectedItem->CanDeletePartiallySelected()) {
      Beep();
      return false;
    }
    FPartialSelectedItem->DeletePartiallySelected();
    return true;
  }
  if (!CanDelete()) {
    Beep();
    return false;
  }
  TDVEditOperation operation(*this);
  BeginUndoSequence(dvutDelete, true);
  int startNo, endNo;
  int32_t startOffs, endOffs;
  GetSelectionBounds(startNo, startOffs, endNo, endOffs, true);
  int drawStart, drawEnd, paraStart, paraEnd;
  int32_t drawStartOffs, drawEndOffs;
  GetSelBounds(drawStart, drawEnd, drawStartOffs, drawEndOffs, true);
  GetParaBounds(drawStart, drawEnd, paraStart, paraEnd);
  Deselect(nullptr, false);

  if (startNo > 0 && startOffs <= GetOffsBeforeItem(startNo) && !IsFromNewLine(startNo)) {
    --startNo;
    startOffs = GetOffsAfterItem(startNo);
  }
  AdjustMarkerPos(startNo, startOffs);
  AdjustMarkerPos(endNo, endOffs);

  bool full = false, anyFull = false;
  auto collect = [&] { anyFull = anyFull || full; };
  int removed = 0;
  bool nothingFollows = false, remainder = false;
  int32_t firstTo = endOffs;
  if (startNo != endNo) {
    if (endOffs < GetOffsAfterItem(endNo)) {
      if (GetItemStyle(endNo) >= 0 && endOffs > 1) Do_DeleteSubstring(endNo, 1, endOffs - 1);
      remainder = true;
    } else {
      nothingFollows = endNo + 1 >= ItemCount() || IsFromNewLine(endNo + 1);
      Do_DeleteItem(endNo, full);
      collect();
      ++removed;
    }
    if (endNo - startNo > 1) {
      Do_DeleteItems(startNo + 1, endNo - 1, full);
      collect();
      removed += endNo - startNo - 1;
    }
    firstTo = GetOffsAfterItem(startNo);
  } else {
    nothingFollows = startNo + 1 >= ItemCount() || IsFromNewLine(startNo + 1);
  }

  int caretItemNo;
  int32_t caretOffs;
  if (startOffs <= GetOffsBeforeItem(startNo) && firstTo >= GetOffsAfterItem(startNo)) {
    const TCustomDVItemInfo* first = GetItem(startNo);
    const bool wasStart = IsFromNewLine(startNo), br = first->BR();
    const int32_t paraNo = first->ParaNo;
    const bool afterMarker = startNo > 0 && GetItemStyle(startNo - 1) == dvsListMarker;
    const bool keepsEmptyLine = nothingFollows && (wasStart || afterMarker);
    const bool passesStart = !keepsEmptyLine && wasStart && startNo + 1 < ItemCount();
    // The item after takes the paragraph start before the first goes, so
    // that undo gives it back to an item that is not the document's first.
    if (passesStart && (startNo == 0 || !IsProtected(startNo + 1, dvprParaStartProtect))) {
      Do_NewLine(startNo + 1, false, full, -1);
      collect();
      if (br) Do_BR(startNo + 1, true, full);
      collect();
    }
    Do_DeleteItem(startNo, full);
    collect();
    ++removed;
    if (keepsEmptyLine) {
      // The paragraph keeps an empty line.
      InsEmptyString(startNo, {}, br, !wasStart, FCurTextStyleNo, paraNo);
      --removed;
      caretItemNo = startNo;
      caretOffs = 1;
    } else if (passesStart) {
      caretItemNo = startNo;
      caretOffs = GetOffsBeforeItem(startNo);
    } else {
      caretItemNo = startNo - 1;
      caretOffs = GetOffsAfterItem(caretItemNo);
      if (remainder && startNo < ItemCount()) {
        JoinParagraph(startNo, full);
        collect();
      }
    }
  } else {
    if (GetItemStyle(startNo) >= 0 && firstTo > startOffs) Do_DeleteSubstring(startNo, startOffs, firstTo - startOffs);
    caretItemNo = startNo;
    caretOffs = startOffs;
    if (remainder && startNo + 1 < ItemCount()) {
      JoinParagraph(startNo + 1, full);
      collect();
    }
  }
  if (caretItemNo + 1 < ItemCount() &&
      DV_CanConcateItems(caretItemNo, GetItem(caretItemNo), GetItem(caretItemNo + 1), false)) {
    Do_Concate(caretItemNo);
    ++removed;
  }
  // The joined paragraph takes the style of its first part.
  ApplyParaStyle(caretItemNo, GetItemPara(GetFirstParaItem(caretItemNo)));
  Reformat_(anyFull, paraStart, paraEnd, -removed);
  SetCaretAtItem(caretItemNo, caretOffs);
  Change();
  return true;
}

}  // namespace quillet
