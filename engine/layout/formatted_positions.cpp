// Item positions and drawing-item positions, as far as the formatting pass
// needs them: the selection survives a pass in item terms, and the first
// visible line is found again after it.
#include <algorithm>

#include "engine/layout/formatted_data.h"

namespace quillet {

int TCustomDVFormattedData::FindDrawItemByItem(int itemNo) const {
  if (itemNo < 0 || itemNo >= ItemCount()) return -1;
  const int known = GetItem(itemNo)->DrawItemNo;
  if (known >= 0 && known < DrawItems.Count() && DrawItems[known] && DrawItems[known]->ItemNo == itemNo &&
      (known == 0 || DrawItems[known - 1]->ItemNo != itemNo))
    return known;
  // Drawing items are in document order: the first one of the item.
  int lo = 0, hi = DrawItems.Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (DrawItems[mid]->ItemNo < itemNo)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < DrawItems.Count() && DrawItems[lo]->ItemNo == itemNo ? lo : -1;
}

void TCustomDVFormattedData::DrawItem2Item(int drawItemNo, int32_t drawItemOffs, int& itemNo,
                                           int32_t& itemOffs) const {
  if (drawItemNo < 0 || drawItemNo >= DrawItems.Count()) {
    itemNo = -1;
    return;
  }
  const TDVDrawLineInfo* info = DrawItems[drawItemNo];
  itemNo = info->ItemNo;
  itemOffs = GetItemStyle(itemNo) >= 0 ? drawItemOffs + info->Offs - 1 : drawItemOffs;
}

void TCustomDVFormattedData::Item2DrawItem(int itemNo, int32_t itemOffs, int& drawItemNo,
                                           int32_t& drawItemOffs) const {
  drawItemNo = -1;
  if (itemNo < 0) return;
  int d = FindDrawItemByItem(itemNo);
  if (d < 0) return;
  if (GetItemStyle(itemNo) < 0) {
    drawItemNo = d;
    drawItemOffs = itemOffs - DrawItems[d]->Offs;
    return;
  }
  // An offset where two pieces touch belongs to the later one (the start of
  // the next line); one at a space dropped at a break to the earlier one.
  while (d + 1 < DrawItems.Count()) {
    const TDVDrawLineInfo* cur = DrawItems[d];
    const TDVDrawLineInfo* next = DrawItems[d + 1];
    if (next->ItemNo != itemNo) break;
    if (itemOffs < next->Offs && itemOffs <= cur->Offs + cur->Length) break;
    ++d;
  }
  drawItemNo = d;
  drawItemOffs = itemOffs - DrawItems[d]->Offs + 1;
}

void TCustomDVFormattedData::GetSelBounds(int& startNo, int& endNo, int32_t& startOffs, int32_t& endOffs,
                                          bool normalize) const {
  startNo = FSelStartNo;
  endNo = FSelEndNo;
  startOffs = FSelStartOffs;
  endOffs = FSelEndOffs;
  if (!normalize) return;
  if (startNo > endNo) {
    std::swap(startNo, endNo);
    std::swap(startOffs, endOffs);
  } else if (startNo == endNo && startOffs > endOffs) {
    std::swap(startOffs, endOffs);
  }
}

void TCustomDVFormattedData::StoreSelBounds(int& startItemNo, int& endItemNo, int32_t& startItemOffs,
                                            int32_t& endItemOffs, bool normalize) const {
  int startNo, endNo;
  int32_t startOffs, endOffs;
  GetSelBounds(startNo, endNo, startOffs, endOffs, normalize);
  DrawItem2Item(startNo, startOffs, startItemNo, startItemOffs);
  DrawItem2Item(endNo, endOffs, endItemNo, endItemOffs);
}

void TCustomDVFormattedData::RestoreSelBounds(int startItemNo, int endItemNo, int32_t startItemOffs,
                                              int32_t endItemOffs) {
  Item2DrawItem(startItemNo, startItemOffs, FSelStartNo, FSelStartOffs);
  Item2DrawItem(endItemNo, endItemOffs, FSelEndNo, FSelEndOffs);
}

int TCustomDVFormattedData::GetDrawItemNo(int32_t boundLine, TDVGetDrawItemNoOption option) const {
  const int count = DrawItems.Count();
  if (count == 0 || boundLine <= DrawItems[0]->Top) return 0;
  if (option == gdinLastVisible && boundLine > DrawItems[count - 1]->Top) return count - 1;
  int lo = 0, hi = count - 1, mid = 0;
  do {
    mid = std::min((lo + hi) / 2, count - 1);
    if (boundLine <= DrawItems[mid]->Top) {
      if (mid == 0 || boundLine > DrawItems[mid - 1]->Top) break;
      hi = mid;
    } else {
      lo = mid;
    }
  } while (hi - lo > 1);
  mid = std::clamp(mid, 0, count - 1);
  if (option == gdinFirstVisible) {
    // Painting starts a full line above the first visible one.
    while (mid > 0 && !DrawItems[mid]->FromNewLine) --mid;
    if (mid > 0) {
      --mid;
      while (mid > 0 && !DrawItems[mid]->FromNewLine) --mid;
    }
    return mid > 0 ? mid - 1 : 0;
  }
  while (mid < count - 1 && boundLine > DrawItems[mid]->Top) ++mid;
  return mid;
}

void TCustomDVFormattedData::Deselect(TCustomDVItemInfo* /*newPartiallySelected*/, bool makeEvent) {
  if (State & dvstDeselecting) return;
  State |= dvstDeselecting;
  State &= ~dvstMakingSelection;
  FSelStartNo = FSelEndNo = -1;
  FSelStartOffs = FSelEndOffs = 0;
  FocusedItemNo = -1;
  FPartialSelectedItem = nullptr;
  State &= ~dvstDeselecting;
  if (makeEvent) DoSelect();
}

}  // namespace quillet
