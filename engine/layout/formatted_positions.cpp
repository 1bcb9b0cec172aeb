// Item positions and drawing-item positions: the conversions between them,
// the selection kept in item terms across a pass, the search by vertical
// position and by point, and selecting all or nothing.
#include <algorithm>
#include <climits>
#include <vector>

#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "platform/core/scoped_value.h"

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

int32_t TCustomDVFormattedData::GetOffsBeforeDrawItem(int drawItemNo) const {
  return GetItemStyle(DrawItems[drawItemNo]->ItemNo) >= 0 ? 1 : 0;
}

int32_t TCustomDVFormattedData::GetOffsAfterDrawItem(int drawItemNo) const {
  const TDVDrawLineInfo* info = DrawItems[drawItemNo];
  return GetItemStyle(info->ItemNo) >= 0 ? info->Length + 1 : 1;
}

bool TCustomDVFormattedData::GetItemCoords(int itemNo, int32_t& left, int32_t& top) const {
  const int d = FindDrawItemByItem(itemNo);
  if (d < 0) return false;
  left = DrawItems[d]->Left;
  top = DrawItems[d]->Top;
  return true;
}

bool TCustomDVFormattedData::GetItemClientCoords(int itemNo, int32_t& left, int32_t& top) const {
  if (!GetItemCoords(itemNo, left, top)) return false;
  left -= GetHOffs();
  top -= GetVOffs();
  return true;
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
  while (d + 1 < DrawItems.Count()) {
    const TDVDrawLineInfo* next = DrawItems[d + 1];
    if (next->ItemNo != itemNo || itemOffs < next->Offs) break;
    ++d;
  }
  // Spaces dropped at a wrap lie between two pieces; every offset among
  // them is the end of the earlier piece.
  const TDVDrawLineInfo* info = DrawItems[d];
  drawItemNo = d;
  drawItemOffs = std::min(itemOffs - info->Offs + 1, info->Length + 1);
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

void TCustomDVFormattedData::GetScreenLineBounds(int drawItemNo, int& first, int& last) const {
  const int count = DrawItems.Count();
  first = std::clamp(drawItemNo, 0, std::max(count - 1, 0));
  last = first;
  if (count == 0) return;
  while (first > 0 && !DrawItems[first]->FromNewLine) --first;
  while (last + 1 < count && !DrawItems[last + 1]->FromNewLine) ++last;
}

void TCustomDVFormattedData::FindDrawItemForSel(int32_t x, int32_t y, int& drawItemNo, int32_t& drawItemOffs,
                                                bool strict) {
  drawItemNo = -1;
  drawItemOffs = -1;
  const int count = DrawItems.Count();
  if (count == 0) return;

  // The line by y: the last drawing item with Top <= y; a tall item of the
  // next line may reach above y too.
  int found = 0;
  const TDVDrawLineInfo* head = DrawItems[0];
  if (int64_t{y} > int64_t{head->Top} + head->Height) {
    int lo = 0, hi = count - 1;
    while (lo < hi) {
      const int mid = lo + (hi - lo + 1) / 2;
      if (DrawItems[mid]->Top <= y)
        lo = mid;
      else
        hi = mid - 1;
    }
    found = lo;
  }
  int first, last;
  GetScreenLineBounds(found, first, last);
  for (bool moved = true; moved && last + 1 < count;) {
    int nextFirst, nextLast;
    GetScreenLineBounds(last + 1, nextFirst, nextLast);
    moved = false;
    for (int i = nextFirst; i <= nextLast; ++i)
      if (DrawItems[i]->Top <= y) moved = true;
    if (moved) {
      first = nextFirst;
      last = nextLast;
    }
  }

  // Visual order: a right-to-left line stands reversed.
  const bool rtl = GetParaBiDiMode(GetItemPara(DrawItems[first]->ItemNo)) == dvbdRightToLeft;
  const int step = rtl ? -1 : 1;
  const int leftmost = rtl ? last : first, rightmost = rtl ? first : last;
  int match = -1;
  for (int i = leftmost;; i += step) {
    const TDVDrawLineInfo* info = DrawItems[i];
    if (strict) {
      if (info->Left <= x && int64_t{x} < int64_t{info->Left} + info->Width && info->Top <= y &&
          int64_t{y} <= int64_t{info->Top} + info->Height) {
        match = i;
        break;
      }
    } else if ((i == leftmost && x < info->Left) ||
               (info->Left <= x && (i == rightmost || DrawItems[i + step]->Left > x))) {
      match = i;
      break;
    }
    if (i == rightmost) break;
  }
  if (match < 0) return;

  const TDVDrawLineInfo* info = DrawItems[match];
  drawItemNo = match;
  if (GetItemStyle(info->ItemNo) < 0) {
    const bool rightHalf = int64_t{x} > int64_t{info->Left} + info->Width / 2;
    drawItemOffs = rightHalf != rtl ? 1 : 0;
  } else {
    drawItemOffs = CaretOffsetAt(match, x);
  }

  // The caret never rests on a list marker: the position moves to what
  // follows it, and stays after a marker that ends the document.
  if (GetItemStyle(info->ItemNo) == dvsListMarker) {
    if (match + 1 < count) {
      drawItemNo = match + 1;
      drawItemOffs = GetOffsBeforeDrawItem(match + 1);
    } else {
      drawItemOffs = GetOffsAfterDrawItem(match);
    }
  }
}

int32_t TCustomDVFormattedData::CaretOffsetAt(int drawItemNo, int32_t x) {
  const TDVDrawLineInfo* info = DrawItems[drawItemNo];
  if (info->Length <= 0) return 1;
  const int itemNo = info->ItemNo;
  const TCustomDVItemInfo* item = GetItem(itemNo);
  TCanvas* canvas = GetCanvas();
  if (!canvas) return 1;
  TDVStyle& sheet = *GetDVStyle();
  const TFontInfo& font = sheet.TextStyles()[item->StyleNo];
  sheet.ApplyStyle(*canvas, item->StyleNo, GetParaBiDiMode(item->ParaNo));
  const std::string& text = GetItemTextR(itemNo);
  std::string piece = DrawItems.GetString(drawItemNo, *this);
  if (font.StyleEx & dvfsAllCaps) piece = DV_ReturnCapitalized(piece, font);
  const TDVItemOptions options = item->ItemOptions;
  const int length = DVU_Length(piece, options);

  // x after every unit of the piece; boundary k lies before unit k.
  std::vector<int32_t> caret;
  const bool placed = GetItemBiDiMode(itemNo) != dvbdUnspecified &&
                      DVU_GetTextCaretPos(*canvas, piece, caret, options) &&
                      static_cast<int>(caret.size()) == length + 1;
  if (!placed) {
    std::vector<int32_t> dx;
    DVU_GetTextExtentExPoint(*canvas, piece, static_cast<int32_t>(std::clamp<int64_t>(int64_t{info->Width} * 10, 0, INT32_MAX)), options, &dx);
    caret.assign(static_cast<size_t>(length) + 1, 0);
    for (int k = 1; k <= length && k <= static_cast<int>(dx.size()); ++k)
      caret[static_cast<size_t>(k)] = dx[static_cast<size_t>(k - 1)];
  }
  // Only boundaries at character starts count: a click never lands between
  // the bytes of a double-byte character or inside a surrogate pair.
  const int64_t target = int64_t{x} - info->Left - info->SpaceBefore;
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int k = 0; k <= length;) {
    const int64_t distance = std::abs(int64_t{caret[static_cast<size_t>(k)]} - target);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = k;
    }
    if (k == length) break;
    // Steps through the item's text, so that a character is whole however
    // the piece was cut.
    const int next = NextCharStr(text, itemNo, info->Offs + k) - info->Offs;
    k = std::clamp(next, k + 1, length);
  }
  return best + 1;
}

void TCustomDVFormattedData::ExpandToParaSection(int itemNo1, int itemNo2, int& firstItemNo,
                                                 int& lastItemNo) const {
  const int count = ItemCount();
  if (count == 0) {
    firstItemNo = lastItemNo = -1;
    return;
  }
  firstItemNo = GetFirstParaSectionItem(std::clamp(itemNo1, 0, count - 1));
  lastItemNo = std::clamp(itemNo2, 0, count - 1);
  while (lastItemNo + 1 < count && !IsFromNewLine(lastItemNo + 1)) ++lastItemNo;
}

void TCustomDVFormattedData::SelectAll() {
  if (ItemCount() == 0 || DrawItems.Count() == 0) return;
  DestroyInplaceEditor();
  DeselectPartiallySelectedItem(nullptr);
  FSelStartNo = 0;
  FSelStartOffs = GetOffsBeforeDrawItem(0);
  FSelEndNo = DrawItems.Count() - 1;
  FSelEndOffs = GetOffsAfterDrawItem(FSelEndNo);
  DoOnSelection();
  DoSelect();
}

void TCustomDVFormattedData::Deselect(TCustomDVItemInfo* newPartiallySelected, bool makeEvent) {
  if (State & dvstDeselecting) return;
  TScopedFlags<TDVStates> deselecting(State, dvstDeselecting);
  State &= ~dvstMakingSelection;
  FSelStartNo = FSelEndNo = -1;
  FSelStartOffs = FSelEndOffs = 0;
  FocusedItemNo = -1;
  DeselectPartiallySelectedItem(newPartiallySelected);
  if (makeEvent) DoSelect();
}

void TCustomDVFormattedData::DeselectPartiallySelectedItem(TCustomDVItemInfo* newPartiallySelected) {
  if (FPartialSelectedItem && FPartialSelectedItem != newPartiallySelected) {
    TCustomDVItemInfo* item = FPartialSelectedItem;
    FPartialSelectedItem = nullptr;
    item->DeselectPartial();
  }
  TCustomDVItemInfo* chosen = GetChosenItem();
  if (chosen && chosen != newPartiallySelected && !ParentControlDestroying()) UnassignChosenDVData(GetChosenDVData());
}

void TCustomDVFormattedData::SetPartialSelectedItem(TCustomDVItemInfo* item) {
  if (item == FPartialSelectedItem) return;
  Deselect(item, true);
  FPartialSelectedItem = item;
  DoSelect();
}

void TCustomDVFormattedData::DoSelect() {
  auto* root = dynamic_cast<TCustomDVFormattedData*>(GetRootData());
  if (root && root != this) root->DoSelect();
}

}  // namespace quillet
