// Text search: forwards or backwards from the caret, in the documents of
// items that hold them too (table cells), selecting the match.
//
// Item text is decoded before it is compared: 8-bit text one UTF-16 unit per
// character in the code page of its text style, Unicode text as its code
// units. So a pattern never matches across a lead and a trail byte, case
// folding never touches a trail byte, and a Unicode item is not narrowed to
// a code page that loses the characters being looked for.
#include <algorithm>

#include "engine/layout/formatted_data.h"
#include "engine/text/item_text.h"
#include "engine/text/upper_case.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

// An item's text as the search sees it. Positions 0..Units.size() stand
// between units; Offs maps each to the item's caret offset.
struct TSearchText {
  std::u16string Units;
  std::vector<int32_t> Offs;
  std::vector<bool> Boundary;   // per position: a match may start or end here
  std::vector<bool> Delimiter;  // per unit: the character is a word delimiter
};

void UpperCase(std::u16string& s) {
  for (char16_t& c : s) c = DVU_UpperCaseUnit(c);
}

TSearchText DecodeItem(const TCustomDVData& data, int itemNo, bool matchCase) {
  TSearchText t;
  const std::string& text = data.GetItemTextR(itemNo);
  const TDVItemOptions options = data.GetItemOptions(itemNo);
  const int codePage = data.GetStyleCodePage(data.GetItemStyle(itemNo));
  if (options & dvioUnicode) {
    t.Units = DVU_Units(text);
    const int length = static_cast<int>(t.Units.size());
    t.Boundary.assign(t.Units.size() + 1, false);
    // Only where the caret may stand: never inside a surrogate pair or
    // before a combining mark.
    for (int i = 1; i <= length; i = DVU_NextCharIndex(text, i, options, codePage)) t.Boundary[i - 1] = true;
    t.Boundary[t.Units.size()] = true;
    for (int i = 0; i <= length; ++i) t.Offs.push_back(i + 1);
    for (char16_t c : t.Units) t.Delimiter.push_back(data.IsDelimiterW(c));
  } else {
    TCodePageUnits& units = SharedCodePageUnits(codePage);
    for (size_t i = 0; i < text.size();) {
      uint16_t code;
      const size_t length = units.CharAt(text, i, code);
      t.Units.push_back(units.Unit(code));
      t.Offs.push_back(static_cast<int32_t>(i + 1));
      t.Delimiter.push_back(length == 1 && data.IsDelimiterA(text[i]));
      i += length;
    }
    t.Offs.push_back(static_cast<int32_t>(text.size() + 1));
    t.Boundary.assign(t.Units.size() + 1, true);
  }
  if (!matchCase) UpperCase(t.Units);
  return t;
}

// The first (down) or last match of s that starts at or after position lo
// and ends at or before position hi; -1 when none. Matches are looked for
// left to right, each search continuing after the previous match, so they
// never overlap. A whole word has a delimiter or the item's edge on both
// sides; the edges of the searched part do not count as word ends.
int FindMatch(const TSearchText& t, std::u16string_view s, size_t lo, size_t hi, bool down, bool wholeWord) {
  const std::u16string_view units(t.Units);
  const size_t n = units.size(), m = s.size();
  int found = -1;
  for (size_t from = lo;;) {
    const size_t p = units.find(s, from);
    if (p == std::u16string_view::npos || p + m > hi) break;
    if (!t.Boundary[p] || !t.Boundary[p + m]) {
      from = p + 1;
      continue;
    }
    if (!wholeWord || ((p == 0 || t.Delimiter[p - 1]) && (p + m == n || t.Delimiter[p + m]))) {
      found = static_cast<int>(p);
      if (down) break;
    }
    from = p + m;
  }
  return found;
}

}  // namespace

bool TCustomDVFormattedData::SearchText(bool down, bool matchCase, const std::string& s, bool wholeWord) {
  return SearchTextW(down, matchCase, MultiByteToWideChar(GetDefaultCodePage(), s), wholeWord);
}

bool TCustomDVFormattedData::SearchTextW(bool down, bool matchCase, std::u16string_view s, bool wholeWord) {
  if (s.empty() || ItemCount() == 0) return false;
  std::u16string pattern(s);
  if (!matchCase) UpperCase(pattern);
  const int step = down ? 1 : -1;

  // A search inside the chosen sub-document (or the item holding a partial
  // selection) goes on from there through that item's documents.
  TCustomDVItemInfo* subItem = GetChosenItem();
  if (!subItem) subItem = FPartialSelectedItem;
  if (subItem) {
    std::unique_ptr<TDVStoreSubDVData> store;
    TCustomDVData* sub = subItem->GetSubDVData(store, down ? dvdChosenDown : dvdChosenUp);
    if (sub && SearchInItem(*subItem, sub, store, down, matchCase, pattern, wholeWord)) return true;
  }

  int itemNo;
  int32_t offs;
  SrchStart(down, itemNo, offs);
  if (itemNo >= ItemCount()) return false;
  if (subItem && GetItem(itemNo) == subItem) {
    itemNo += step;
  } else if (GetItemStyle(itemNo) >= 0) {
    if (SearchInTextItem(itemNo, offs, down, matchCase, pattern, wholeWord)) return true;
    itemNo += step;
  } else if (down ? offs > 0 : offs < 1) {
    // The caret is past the object; one it stands before (a table at the
    // top of the view) is searched with the rest.
    itemNo += step;
  }
  for (; itemNo >= 0 && itemNo < ItemCount(); itemNo += step) {
    TCustomDVItemInfo* item = GetItem(itemNo);
    if (item->StyleNo < 0) {
      std::unique_ptr<TDVStoreSubDVData> store;
      TCustomDVData* sub = item->GetSubDVData(store, down ? dvdFirst : dvdLast);
      if (sub && SearchInItem(*item, sub, store, down, matchCase, pattern, wholeWord)) return true;
    } else if (SearchInTextItem(itemNo, down ? GetOffsBeforeItem(itemNo) : GetOffsAfterItem(itemNo), down,
                                matchCase, pattern, wholeWord)) {
      return true;
    }
  }
  return false;
}

bool TCustomDVFormattedData::SearchInItem(TCustomDVItemInfo& item, TCustomDVData* sub,
                                          std::unique_ptr<TDVStoreSubDVData>& store, bool down, bool matchCase,
                                          std::u16string_view s, bool wholeWord) {
  for (; sub; sub = item.GetSubDVData(store, down ? dvdNext : dvdPrev)) {
    auto* formatted = dynamic_cast<TCustomDVFormattedData*>(sub);
    if (formatted && formatted->SearchTextW(down, matchCase, s, wholeWord)) {
      // The match is the selection now; a selection left here would be the
      // next search's start and find the same match again.
      Deselect(&item, false);
      item.ChooseSubDVData(store.get());
      return true;
    }
  }
  return false;
}

bool TCustomDVFormattedData::SearchInTextItem(int itemNo, int32_t offs, bool down, bool matchCase,
                                              std::u16string_view s, bool wholeWord) {
  const TSearchText t = DecodeItem(*this, itemNo, matchCase);
  // Down: matches from the caret on; up: matches that end at the caret or
  // before it.
  size_t lo = 0, hi = t.Units.size();
  if (down) {
    lo = static_cast<size_t>(std::lower_bound(t.Offs.begin(), t.Offs.end(), offs) - t.Offs.begin());
  } else {
    const auto after = std::upper_bound(t.Offs.begin(), t.Offs.end(), offs);
    if (after == t.Offs.begin()) return false;
    hi = static_cast<size_t>(after - t.Offs.begin()) - 1;
  }
  if (lo > hi) return false;
  const int p = FindMatch(t, s, lo, hi, down, wholeWord);
  if (p < 0) return false;
  const int32_t start = t.Offs[static_cast<size_t>(p)], end = t.Offs[static_cast<size_t>(p) + s.size()];
  SrchSelectIt(itemNo, start, end - start, !down);
  return true;
}

void TCustomDVFormattedData::SrchStart(bool down, int& itemNo, int32_t& offs) {
  if (SelectionExists(true, false) && FSelEndNo >= 0) {
    DrawItem2Item(FSelEndNo, FSelEndOffs, itemNo, offs);
    return;
  }
  // The selection is in the chosen sub-document: go on from its item.
  if (TCustomDVItemInfo* chosen = GetChosenItem()) {
    itemNo = GetItemNo(chosen);
    offs = 0;
    if (itemNo >= 0) return;
  }
  itemNo = std::max(down ? GetFirstItemVisible() : GetLastItemVisible(), 0);
  if (itemNo >= ItemCount()) return;
  // Up from the end: the whole of the last visible item.
  offs = down ? GetOffsBeforeItem(itemNo) : GetOffsAfterItem(itemNo) + 1;
}

void TCustomDVFormattedData::SrchSelectIt(int itemNo, int32_t offs, int32_t len, bool invert) {
  DeselectPartiallySelectedItem(nullptr);
  if (invert)
    RestoreSelBounds(itemNo, itemNo, offs + len, offs);
  else
    RestoreSelBounds(itemNo, itemNo, offs, offs + len);
  if (FSelStartNo >= 0) {
    const TDVDrawLineInfo* d = DrawItems[FSelStartNo];
    ShowRectangle(d->Left, d->Top, d->Width, d->Height);
  }
  Invalidate();
  DoOnSelection();
  DoSelect();
}

}  // namespace quillet
