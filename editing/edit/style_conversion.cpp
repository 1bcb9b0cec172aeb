// Style conversion: the editor's current conversion handler names the new
// text style of each selected text (or the paragraph style of each selected
// paragraph); items are split at the selection's bounds so that only the
// selected characters change, text changes form where the new style's
// encoding differs, and equal neighbours join again. One undo group.
#include <algorithm>
#include <utility>

#include "editing/control/editor.h"
#include "editing/edit/edit_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {

// One text-style conversion of a selection, in item terms.
class TStyleConversion {
 public:
  TStyleConversion(TDVEditDVData& data, int32_t userData) : d_(data), userData_(userData) {}

  int32_t NewStyleNo(int32_t styleNo, bool appliedToText) const {
    int32_t n = styleNo;
    TCustomDocViewEdit& editor = d_.Editor();
    if (editor.FCurStyleConversion) editor.FCurStyleConversion(&editor, styleNo, userData_, appliedToText, n);
    return n;
  }

  void ApplyToWhole(int i) {
    if (d_.GetItemStyle(i) < 0) return;
    const int32_t n = NewStyleNo(d_.GetItemStyle(i), true);
    if (n == d_.GetItemStyle(i)) return;
    if (NeedClearTag(n)) ClrTag(i);
    DoSetStyleNo(i, n);
  }

  // The selection ends inside item i: its head takes the new style.
  void ApplyToItemStart(int i, int32_t endOffs) {
    const int32_t n = NewStyleNo(d_.GetItemStyle(i), true);
    if (n == d_.GetItemStyle(i) || endOffs <= 1) return;
    const TCustomDVItemInfo* item = d_.GetItem(i);
    const std::string head = Copy(i, 1, endOffs - 1);
    const bool br = item->BR(), sameAsPrev = item->SameAsPrev(), pageBreak = item->PageBreakBefore();
    const int32_t paraNo = item->ParaNo;
    const TDVTag tag = NeedClearTag(n) ? TDVTag{} : item->Tag;
    d_.Do_DeleteSubstring(i, 1, endOffs - 1);
    bool full = false;
    d_.InsString(GetStr(head, item->StyleNo, item->IsUnicode(), n), i, full, br, sameAsPrev, n, paraNo, tag);
    TakeOverStart(i, pageBreak);
    ++ItemsAdded;
    EndItem = i;
    EndOffs = d_.GetOffsAfterItem(i);
  }

  // The selection starts inside item i: its tail takes the new style.
  void ApplyToItemEnd(int i, int32_t startOffs) {
    const int32_t n = NewStyleNo(d_.GetItemStyle(i), true);
    if (n == d_.GetItemStyle(i) || startOffs >= d_.GetOffsAfterItem(i)) return;
    const TCustomDVItemInfo* item = d_.GetItem(i);
    const std::string tail = Copy(i, startOffs, d_.ItemLength(i) - startOffs + 1);
    const int32_t paraNo = item->ParaNo;
    const TDVTag tag = NeedClearTag(n) ? TDVTag{} : item->Tag;
    const bool unicode = item->IsUnicode();
    const int32_t styleNo = item->StyleNo;
    d_.Do_DeleteSubstring(i, startOffs, -1);
    bool full = false;
    d_.InsString(GetStr(tail, styleNo, unicode, n), i + 1, full, false, true, n, paraNo, tag);
    ++ItemsAdded;
    StartItem = i;
    StartOffs = d_.GetOffsAfterItem(i);
    if (EndItem == i) {
      EndItem = i + 1;
      EndOffs = d_.GetOffsAfterItem(i + 1);
    } else {
      ++EndItem;
    }
  }

  // The selection lies strictly inside item i: head and tail keep the old
  // style as items of their own.
  void ApplyToItemMid(int i, int32_t startOffs, int32_t endOffs) {
    const int32_t n = NewStyleNo(d_.GetItemStyle(i), true);
    if (n == d_.GetItemStyle(i)) return;
    const TCustomDVItemInfo* item = d_.GetItem(i);
    const std::string head = Copy(i, 1, startOffs - 1);
    const std::string tail = Copy(i, endOffs, d_.ItemLength(i) - endOffs + 1);
    const bool br = item->BR(), sameAsPrev = item->SameAsPrev(), pageBreak = item->PageBreakBefore();
    const TDVTag tag = item->Tag;
    bool full = false;
    if (!tail.empty()) {
      d_.InsString2(tail, i + 1, full, false, true, *item, tag);
      ++ItemsAdded;
    }
    d_.Do_DeleteSubstring(i, endOffs, -1);
    if (!head.empty()) {
      d_.Do_DeleteSubstring(i, 1, startOffs - 1);
      d_.InsString2(head, i, full, br, sameAsPrev, *d_.GetItem(i), tag);
      TakeOverStart(i, pageBreak);
      ++ItemsAdded;
      ++i;
    }
    if (NeedClearTag(n)) ClrTag(i);
    DoSetStyleNo(i, n);
    StartItem = i - 1;
    StartOffs = d_.GetOffsAfterItem(i - 1);
    EndItem = i;
    EndOffs = d_.GetOffsAfterItem(i);
  }

  // Joins equal neighbours over first-1..last+1, keeping the selection on
  // the same characters.
  void Concate(int first, int last) {
    if (first > 0) --first;
    if (last < d_.ItemCount() - 1) ++last;
    for (int i = last; i > first; --i) {
      if (!d_.DV_CanConcateItems(i - 1, d_.GetItem(i - 1), d_.GetItem(i), false)) continue;
      --ItemsAdded;
      const int32_t length = d_.ItemLength(i - 1);
      if (i == StartItem) {
        --StartItem;
        StartOffs += length;
      }
      if (i <= EndItem) {
        if (i == EndItem) EndOffs += length;
        --EndItem;
      }
      d_.Do_Concate(i - 1);
    }
  }

  int StartItem = 0, EndItem = 0;
  int32_t StartOffs = 0, EndOffs = 0;
  int ItemsAdded = 0;

 private:
  bool NeedClearTag(int32_t n) const { return (d_.Editor().EditorOptions & dvoClearTagOnStyleApp) && n >= 0; }
  void ClrTag(int i) { d_.Do_Tag(i, TDVTag{}, true); }

  std::string Copy(int i, int32_t index, int32_t count) const {
    if (count <= 0) return {};
    return DVU_Copy(d_.GetItemTextR(i), index, count, d_.GetItemOptions(i), d_.GetStyleCodePage(d_.GetItemStyle(i)));
  }

  // Text of an item of style s (in UTF-16 when unicode) in style n's form.
  std::string GetStr(const std::string& text, int32_t s, bool unicode, int32_t n) const {
    if (unicode && !d_.IsUnicodeStyle(n)) return DVU_UnicodeToAnsi(d_.GetStyleCodePage(n), text);
    if (!unicode && d_.IsUnicodeStyle(n)) return DVU_AnsiToUnicode(d_.GetStyleCodePage(s), text);
    return text;
  }

  void DoSetStyleNo(int i, int32_t n) {
    const TCustomDVItemInfo* item = d_.GetItem(i);
    const std::string text = GetStr(d_.GetItemTextR(i), item->StyleNo, item->IsUnicode(), n);
    d_.Do_ChangeText(i, text);
    d_.Do_StyleNo(i, n);
  }

  // New item i took over the start of item i+1: its checkpoint and page
  // break move to it, and i+1 continues it.
  void TakeOverStart(int i, bool pageBreak) {
    const TCustomDVItemInfo* old = d_.GetItem(i + 1);
    if (old->Checkpoint) {
      std::unique_ptr<TDVCPInfo> copy = old->Checkpoint->CreateCopy(d_.TagsArePChars());
      d_.Do_DeleteCP(i + 1);
      d_.Do_AddCP(i, std::move(copy));
    }
    bool full = false;
    d_.Do_NewLine(i + 1, true, full, -1);
    if (pageBreak) d_.Do_PageBreak(i, true);
  }

  TDVEditDVData& d_;
  int32_t userData_;
};

}  // namespace

void TDVEditDVData::ApplyStyleConversion_(int32_t userData) {
  if (FPartialSelectedItem) {
    FPartialSelectedItem->ApplyStyleConversionToPartiallySelected(userData);
    return;
  }
  TStyleConversion c(*this, userData);
  const TDVStyle* sheet = GetDVStyle();
  if (!sheet || !(sheet->TextStyles().IsValidIndex(FCurTextStyleNo) &&
                  (sheet->TextStyles()[FCurTextStyleNo].Protection & dvprDoNotAutoSwitch)))
    FPrevTextStyleNo = FCurTextStyleNo;
  const int32_t newCaretStyle = c.NewStyleNo(FCurTextStyleNo, false);
  TDVEditOperation operation(*this);

  if (!SelectionExists(false, false)) {
    const int itemNo = GetCurItemNo();
    if (itemNo >= 0 && IsEmptyText(itemNo) && c.NewStyleNo(GetItemStyle(itemNo), true) != GetItemStyle(itemNo)) {
      BeginUndoSequence(dvutStyleNo, true);
      int start, end;
      TouchedDrawRange(itemNo, itemNo, start, end);
      c.ApplyToWhole(itemNo);
      Reformat_(false, start, end, 0);
      SetCaretAtItem(itemNo, 1);
      Change();
    }
    FCurTextStyleNo = newCaretStyle;
    return;
  }

  if (!IsPaste) BeginUndoSequence(dvutStyleNo, true);
  int rawStart, rawEnd;
  int32_t rawStartOffs, rawEndOffs;
  GetSelectionBounds(rawStart, rawStartOffs, rawEnd, rawEndOffs, false);
  GetSelectionBounds(c.StartItem, c.StartOffs, c.EndItem, c.EndOffs, true);
  const bool backwards = rawStart != c.StartItem || rawStartOffs != c.StartOffs;
  TCanvas* canvas = GetCanvas();
  const int32_t widthBefore = canvas ? CalculateParaSectionsMinWidth(c.StartItem, c.EndItem, nullptr, *canvas) : 0;
  int drawStart, drawEnd, paraStart, paraEnd;
  int32_t drawStartOffs, drawEndOffs;
  GetSelBounds(drawStart, drawEnd, drawStartOffs, drawEndOffs, true);
  GetParaBounds(drawStart, drawEnd, paraStart, paraEnd);

  const int startNo = c.StartItem, endNo = c.EndItem;
  const int32_t startOffs = c.StartOffs, endOffs = c.EndOffs;
  auto coversStart = [&](int i, int32_t offs) { return offs <= GetOffsBeforeItem(i); };
  auto coversEnd = [&](int i, int32_t offs) { return offs >= GetOffsAfterItem(i); };
  if (startNo == endNo) {
    if (GetItemStyle(startNo) >= 0) {
      const bool fromStart = coversStart(startNo, startOffs), toEnd = coversEnd(startNo, endOffs);
      if (fromStart && toEnd)
        c.ApplyToWhole(startNo);
      else if (fromStart)
        c.ApplyToItemStart(startNo, endOffs);
      else if (toEnd)
        c.ApplyToItemEnd(startNo, startOffs);
      else
        c.ApplyToItemMid(startNo, startOffs, endOffs);
    }
  } else {
    // Last to first, so that a split never moves an item still to come.
    if (GetItemStyle(endNo) >= 0) {
      if (coversEnd(endNo, endOffs))
        c.ApplyToWhole(endNo);
      else
        c.ApplyToItemStart(endNo, endOffs);
    }
    for (int i = endNo - 1; i > startNo; --i) c.ApplyToWhole(i);
    if (GetItemStyle(startNo) >= 0) {
      if (coversStart(startNo, startOffs))
        c.ApplyToWhole(startNo);
      else
        c.ApplyToItemEnd(startNo, startOffs);
    }
  }
  c.Concate(c.StartItem, c.EndItem);

  const int32_t widthAfter =
      canvas ? CalculateParaSectionsMinWidth(std::min(c.StartItem, c.EndItem), std::max(c.StartItem, c.EndItem),
                                             nullptr, *canvas)
             : 0;
  const bool full = widthAfter != widthBefore && !(DocumentWidth > widthBefore && DocumentWidth > widthAfter);
  Reformat_(full, paraStart, paraEnd, c.ItemsAdded);
  if (backwards)
    SetSelectionBounds(c.EndItem, c.EndOffs, c.StartItem, c.StartOffs);
  else
    SetSelectionBounds(c.StartItem, c.StartOffs, c.EndItem, c.EndOffs);
  FCurTextStyleNo = newCaretStyle;
  Change();
}

void TDVEditDVData::ApplyParaStyle(int32_t value, bool convertMode) {
  if (FPartialSelectedItem) {
    if (convertMode)
      FPartialSelectedItem->ApplyParaStyleConversionToPartiallySelected(value);
    else
      FPartialSelectedItem->ApplyParaStyleToPartiallySelected(value);
    return;
  }
  if (ItemCount() == 0) return;
  int first, last;
  int32_t firstOffs, lastOffs;
  GetSelectionBounds(first, firstOffs, last, lastOffs, true);
  // Plain caret keys leave no selection behind: the caret's own paragraph
  // is the one to change then.
  if (first < 0) first = last = GetCurItemNo();
  if (first < 0) return;
  first = GetFirstParaItem(first);
  last = GetParaLastItemNo(last);
  int start, end;
  TouchedDrawRange(first, last, start, end);
  bool full = false;
  if (!convertMode) {
    Do_Para(first, last, full, value);
  } else {
    TStyleConversion c(*this, value);
    std::vector<int32_t> list;
    list.reserve(static_cast<size_t>(last - first + 1));
    for (int i = first; i <= last; ++i) list.push_back(c.NewStyleNo(GetItemPara(i), false));
    Do_ParaList(first, list, full);
  }
  Reformat(full, start, end, 0);
  // What the caret's paragraph is now, for the next Enter and for those who
  // follow the current style (the ruler); a selection's caret stays put.
  if (const int caretItem = GetCurItemNo(); caretItem >= 0) SetCurParaStyleNo(GetItemPara(caretItem));
  DoOnSelection();
}

}  // namespace quillet
