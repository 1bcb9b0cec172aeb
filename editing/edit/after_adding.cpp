// The shared tail of inserting several items at the caret: the first goes in
// through the undoable insertion, the others straight into the list, and
// then they are recorded as one block, joined with their neighbours, laid
// out, and the caret placed.
#include <algorithm>

#include "editing/edit/edit_data.h"
#include "engine/model/item_registry.h"

namespace quillet {

bool TDVEditDVData::ReplicateMarker(int paraItemNo, int insertAt, bool& fullReformat, bool undoable) {
  fullReformat = false;
  const int markerNo = GetFirstParaItem(paraItemNo);
  if (GetItemStyle(markerNo) != dvsListMarker) return false;
  std::unique_ptr<TCustomDVItemInfo> copy = DV_DuplicateItem(*GetItem(markerNo), this);
  copy->ItemOptions = static_cast<TDVItemOptions>(copy->ItemOptions & ~(dvioBR | dvioPageBreakBefore));
  copy->SetSameAsPrev(false);
  copy->ParaNo = GetItemPara(markerNo);
  std::string text = GetItemTextR(markerNo);
  if (undoable)
    Do_InsertItem(insertAt, std::move(text), std::move(copy), false, fullReformat);
  else
    InsertItemDirectly(insertAt, std::move(text), std::move(copy));
  return true;
}

bool TDVEditDVData::InsertTextPieces(std::vector<TDVTextPiece>& pieces, bool caretBefore) {
  if (pieces.empty()) return true;
  int paraStart, paraEnd;
  CaretParaBounds(paraStart, paraEnd);
  const int32_t styleNo = FCurTextStyleNo;
  std::unique_ptr<TCustomDVItemInfo> first = CreateTextItem({}, FCurParaStyleNo, false, false, styleNo);
  int firstNo, itemsAdded;
  bool full;
  if (!InsSomething(first, pieces.front().Text, false, firstNo, full, itemsAdded)) return false;
  int last = firstNo;
  // Outside a list paragraph the other pieces go in as one block: put in one
  // at a time, each would move every item after it.
  const bool listPara = GetItemStyle(GetFirstParaItem(firstNo)) == dvsListMarker;
  TItemBlock block;
  int32_t lastParaNo = GetItemPara(firstNo);
  for (size_t i = 1; i < pieces.size(); ++i) {
    TDVTextPiece& piece = pieces[i];
    bool sameAsPrev = false;
    int32_t paraNo = FCurParaStyleNo;
    if (piece.Start == TDVTextPiece::tpsLine) {
      paraNo = lastParaNo;
    } else if (listPara) {
      bool f = false;
      // A new paragraph of a list paragraph starts with its own marker.
      if (ReplicateMarker(firstNo, last + 1, f, false)) {
        ++last;
        ++itemsAdded;
        sameAsPrev = true;
        paraNo = GetItemPara(last);
        if (piece.PageBreak) GetItem(last)->SetPageBreakBefore(true);
      }
      full = full || f;
    }
    std::unique_ptr<TCustomDVItemInfo> item =
        CreateTextItem({}, paraNo, piece.Start == TDVTextPiece::tpsLine, sameAsPrev, styleNo);
    if (piece.PageBreak && !sameAsPrev) item->SetPageBreakBefore(true);
    ++last;
    ++itemsAdded;
    lastParaNo = item->ParaNo;
    if (listPara)
      InsertItemDirectly(last, std::move(piece.Text), std::move(item));
    else
      block.emplace_back(std::move(piece.Text), std::move(item));
  }
  if (!block.empty()) InsertBlock(firstNo + 1, std::move(block), false);
  AfterAddingText(firstNo, last, caretBefore, full, paraStart, paraEnd, itemsAdded);
  return true;
}

void TDVEditDVData::AfterAddingText(int firstItemNo, int lastItemNo, bool caretBefore, bool fullReformat,
                                    int paraStart, int paraEnd, int itemsAdded) {
  bool full = false;
  Do_InsertItems_1(firstItemNo + 1, lastItemNo - firstItemNo, full);
  fullReformat = fullReformat || full;
  const bool wider = CalculateMinItemsWidthPlusEx(firstItemNo, lastItemNo) > DocumentWidth;
  int caretItemNo = caretBefore ? firstItemNo : lastItemNo;
  int32_t caretOffs = caretBefore ? GetOffsBeforeItem(firstItemNo) : GetOffsAfterItem(lastItemNo);
  if (lastItemNo + 1 < ItemCount() &&
      DV_CanConcateItems(lastItemNo, GetItem(lastItemNo), GetItem(lastItemNo + 1), false)) {
    Do_Concate(lastItemNo);
    --itemsAdded;
  }
  if (firstItemNo > 0 && DV_CanConcateItems(firstItemNo - 1, GetItem(firstItemNo - 1), GetItem(firstItemNo), false)) {
    // The caret stays in the joined item, wherever that text now is.
    if (caretBefore || firstItemNo == lastItemNo) {
      caretOffs += ItemLength(firstItemNo - 1);
      caretItemNo = firstItemNo - 1;
    } else {
      --caretItemNo;
    }
    Do_Concate(firstItemNo - 1);
    --itemsAdded;
  }
  Reformat_(fullReformat || wider, paraStart, paraEnd, itemsAdded);
  SetCaretAtItem(std::clamp(caretItemNo, 0, ItemCount() - 1), caretOffs);
}

void TDVEditDVData::ConcateAfterAdding(int& firstItemNo, int& lastItemNo, int32_t& caretOffs, int& itemsAdded) {
  bool full = false;
  if (lastItemNo + 1 < ItemCount()) {
    if (DV_CanConcateItems(lastItemNo, GetItem(lastItemNo), GetItem(lastItemNo + 1), false)) {
      Do_Concate(lastItemNo);
      --itemsAdded;
    } else if (GetItem(lastItemNo)->GetBoolValue(dvbpFullWidth) && !IsFromNewLine(lastItemNo + 1)) {
      Do_NewLine(lastItemNo + 1, false, full, -1);
    }
  }
  bool allJoined = true;
  for (int i = lastItemNo; i > firstItemNo; --i) {
    if (!DV_CanConcateItems(i - 1, GetItem(i - 1), GetItem(i), false)) {
      allJoined = false;
      continue;
    }
    if (allJoined) caretOffs += ItemLength(i - 1);
    Do_Concate(i - 1);
    --itemsAdded;
    --lastItemNo;
  }
  if (firstItemNo <= 0) return;
  if (DV_CanConcateItems(firstItemNo - 1, GetItem(firstItemNo - 1), GetItem(firstItemNo), false)) {
    if (allJoined) caretOffs += ItemLength(firstItemNo - 1);
    Do_Concate(firstItemNo - 1);
    --firstItemNo;
  } else if (IsEmptyText(firstItemNo) && !IsFromNewLine(firstItemNo)) {
    Do_DeleteItem(firstItemNo, full);
  } else {
    return;
  }
  --itemsAdded;
  --lastItemNo;
}

}  // namespace quillet
