// The caret's steps: along the stops of its line, to the neighbouring
// lines at the same x, by page and to the ends. A step that cannot move
// (the document's start or end) answers true, so that a cell editor can
// hand the caret to its table.
#include <algorithm>

#include "editing/edit/edit_data.h"

namespace quillet {

void TDVEditDVData::MoveCaretTo(int drawItemNo, int32_t drawOffs) {
  CaretDrawItemNo = drawItemNo;
  OnChangeCaretLine(drawOffs);
  ChangeCaret(false, true, false, false);
}

void TDVEditDVData::MoveCaretToStop(int32_t stop) {
  CaretOffs = stop;
  ChangeCaret(false, true, false, false);
}

void TDVEditDVData::OnHomePress(bool ctrl) {
  if (CharEnds.empty()) return;
  if (ctrl)
    MoveCaretTo(0, GetOffsBeforeDrawItem(0));
  else
    MoveCaretToStop(0);
}

void TDVEditDVData::OnEndPress(bool ctrl) {
  if (CharEnds.empty()) return;
  if (ctrl) {
    const int last = DrawItems.Count() - 1;
    MoveCaretTo(last, GetOffsAfterDrawItem(last));
  } else {
    MoveCaretToStop(static_cast<int32_t>(CharEnds.size()) - 1);
  }
}

bool TDVEditDVData::SpaceAt(int itemNo, int32_t offs) const {
  const std::string& text = GetItemTextR(itemNo);
  const size_t unit = GetItem(itemNo)->IsUnicode() ? 2 : 1;
  const size_t at = static_cast<size_t>(offs - 1) * unit;
  return at + unit <= text.size() && text[at] == ' ' && (unit == 1 || text[at + 1] == 0);
}

int32_t TDVEditDVData::PrevWordStart(int itemNo, int32_t offs) const {
  const std::string& text = GetItemTextR(itemNo);
  int32_t i = offs;
  // Back over the spaces, then over the word; whole characters of the
  // item's own code page.
  for (bool word : {false, true}) {
    while (i > 1) {
      const int32_t prev = PrevCharStr(text, itemNo, i);
      if (SpaceAt(itemNo, prev) == word) break;
      i = prev;
    }
  }
  return i;
}

int32_t TDVEditDVData::NextWordStart(int itemNo, int32_t offs) const {
  const std::string& text = GetItemTextR(itemNo);
  const int32_t end = GetOffsAfterItem(itemNo);
  int32_t i = offs;
  while (i < end && !SpaceAt(itemNo, i)) i = NextCharStr(text, itemNo, i);
  while (i < end && SpaceAt(itemNo, i)) i = NextCharStr(text, itemNo, i);
  return i;
}

bool TDVEditDVData::WordStep(bool forward) {
  const int itemNo = GetCurItemNo();
  if (itemNo < 0 || GetItemStyle(itemNo) < 0) return false;
  const int32_t offs = GetOffsetInCurItem();
  const int32_t target = forward ? NextWordStart(itemNo, offs) : PrevWordStart(itemNo, offs);
  if (target == offs) return false;
  SetCaretAtItem(itemNo, target);
  return true;
}

bool TDVEditDVData::OnLeftPress(bool shift, bool ctrl) {
  if (CharEnds.empty()) return true;
  if (ctrl && WordStep(false)) return false;
  if (CaretOffs > 0) {
    const TDVCharPos& stop = CharEnds[static_cast<size_t>(CaretOffs)];
    TCustomDVItemInfo* item = GetItem(DrawItems[stop.DrawItemNo]->ItemNo);
    if (!shift && !ctrl && item->StyleNo < 0 && stop.Offset == 1 && item->EnterItem(dvedRight, 0)) return false;
    MoveCaretToStop(CaretOffs - 1);
    return false;
  }
  int first, last;
  GetScreenLineBounds(CaretDrawItemNo, first, last);
  if (first == 0 || (first == 1 && GetItemStyle(DrawItems[0]->ItemNo) == dvsListMarker)) return true;
  MoveCaretTo(first - 1, GetOffsAfterDrawItem(first - 1));
  return false;
}

bool TDVEditDVData::OnRightPress(bool shift, bool ctrl) {
  if (CharEnds.empty()) return true;
  if (ctrl && WordStep(true)) return false;
  if (CaretOffs + 1 < static_cast<int32_t>(CharEnds.size())) {
    const TDVCharPos& stop = CharEnds[static_cast<size_t>(CaretOffs)];
    TCustomDVItemInfo* item = GetItem(DrawItems[stop.DrawItemNo]->ItemNo);
    if (!shift && !ctrl && item->StyleNo < 0 && stop.Offset == 0 && item->EnterItem(dvedLeft, 0)) return false;
    MoveCaretToStop(CaretOffs + 1);
    return false;
  }
  int first, last;
  GetScreenLineBounds(CaretDrawItemNo, first, last);
  if (last + 1 >= DrawItems.Count()) return true;
  MoveCaretTo(last + 1, GetOffsBeforeDrawItem(last + 1));
  return false;
}

bool TDVEditDVData::MoveToLineAt(int drawItemNo, TDVEnterDirection from) {
  const int32_t x = CharEnds[static_cast<size_t>(CaretOffs)].X;
  const int32_t y = DrawItems[drawItemNo]->Top + 1;
  int d;
  int32_t offs;
  FindDrawItemForSel(x, y, d, offs, false);
  if (d < 0) return false;
  const TDVDrawLineInfo* info = DrawItems[d];
  TCustomDVItemInfo* item = GetItem(info->ItemNo);
  if (item->StyleNo < 0 && info->Left <= x && x < info->Left + info->Width && item->EnterItem(from, x)) return true;
  MoveCaretTo(d, offs);
  return true;
}

bool TDVEditDVData::OnUpPress(bool /*shift*/, bool /*ctrl*/) {
  if (CharEnds.empty()) return true;
  int first = CharEnds.front().DrawItemNo;
  if (first > 0 && GetItemStyle(DrawItems[first - 1]->ItemNo) == dvsListMarker) --first;
  if (first == 0) {
    ShowRectangle(0, 0, 1, 1);
    return true;
  }
  MoveToLineAt(first - 1, dvedBottom);
  return false;
}

bool TDVEditDVData::OnDownPress(bool /*shift*/, bool /*ctrl*/) {
  if (CharEnds.empty()) return true;
  const int last = CharEnds.back().DrawItemNo;
  if (last + 1 >= DrawItems.Count()) {
    ShowRectangle(0, DocumentHeight - 1, 1, 1);
    return true;
  }
  MoveToLineAt(last + 1, dvedTop);
  return false;
}

void TDVEditDVData::OnPgUpPress() {
  if (CharEnds.empty()) return;
  const int32_t view = GetHeight();
  for (int64_t y = int64_t{GetVOffs()} - view * 2 / 3; y > 0; y -= std::max(view / 2, 1)) {
    const int d = FindDrawItemAtLine(static_cast<int32_t>(y));
    if (d >= 0 && d < CaretDrawItemNo) {
      MoveToLineAt(d, dvedBottom);
      return;
    }
  }
  OnHomePress(true);
}

void TDVEditDVData::OnPgDownPress() {
  if (CharEnds.empty()) return;
  const int32_t view = GetHeight();
  for (int64_t y = int64_t{GetVOffs()} + view * 2 / 3; y < DocumentHeight; y += std::max(view / 2, 1)) {
    const int d = FindDrawItemAtLine(static_cast<int32_t>(y));
    if (d >= 0 && d > CharEnds.back().DrawItemNo) {
      MoveToLineAt(d, dvedTop);
      ScrollTo(DrawItems[CaretDrawItemNo]->Top, false);
      return;
    }
  }
  OnEndPress(true);
}

int TDVEditDVData::FindDrawItemAtLine(int32_t y) const {
  int d = -1;
  for (int lo = 0, hi = DrawItems.Count() - 1; lo <= hi;) {
    const int mid = lo + (hi - lo) / 2;
    if (DrawItems[mid]->Top <= y) {
      d = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return d;
}

}  // namespace quillet
