// Inserting an item at the caret: where it goes in the item list, how the
// paragraph flags of it and its neighbours change, all through the
// primitives, then the touched paragraphs laid out and the caret after it.
#include "editing/edit/edit_data.h"
#include "engine/model/item_registry.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {

bool IsFullWidth(const TCustomDVItemInfo& item) { return item.GetBoolValue(dvbpFullWidth); }

void SetFlag(TCustomDVItemInfo& item, TDVItemOptions flag, bool on) {
  item.ItemOptions = static_cast<TDVItemOptions>(on ? (item.ItemOptions | flag) : (item.ItemOptions & ~flag));
}

}  // namespace

// ---- text items ----

std::unique_ptr<TCustomDVItemInfo> TDVEditDVData::CreateTextItem(const TDVTag& tag, int32_t paraNo, bool br,
                                                                  bool sameAsPrev, int32_t styleNo) {
  std::unique_ptr<TCustomDVItemInfo> item = DocViewTextItemClass(this);
  item->StyleNo = styleNo;
  item->ParaNo = paraNo;
  item->SetSameAsPrev(sameAsPrev);
  SetFlag(*item, dvioBR, br);
  SetFlag(*item, dvioUnicode, IsUnicodeStyle(styleNo));
  item->Tag = DV_CopyTag(tag, TagsArePChars());
  return item;
}

std::unique_ptr<TCustomDVItemInfo> TDVEditDVData::CreateTextItem2(const TDVTag& tag, const TCustomDVItemInfo& source,
                                                                   bool br, bool sameAsPrev) {
  std::unique_ptr<TCustomDVItemInfo> item = DocViewTextItemClass(this);
  item->Assign(source);
  item->ItemOptions = static_cast<TDVItemOptions>(source.ItemOptions & dvioUnicode);
  item->SetSameAsPrev(sameAsPrev);
  SetFlag(*item, dvioBR, br);
  item->Tag = DV_CopyTag(tag, TagsArePChars());
  return item;
}

TCustomDVItemInfo* TDVEditDVData::InsString(std::string s, int itemNo, bool& fullReformat, bool br, bool sameAsPrev,
                                             int32_t styleNo, int32_t paraNo, const TDVTag& tag) {
  std::unique_ptr<TCustomDVItemInfo> item = CreateTextItem(tag, paraNo, br, sameAsPrev, styleNo);
  TCustomDVItemInfo* inserted = item.get();
  Do_InsertItem(itemNo, std::move(s), std::move(item), false, fullReformat);
  return inserted;
}

TCustomDVItemInfo* TDVEditDVData::InsString2(std::string s, int itemNo, bool& fullReformat, bool br,
                                              bool sameAsPrev, const TCustomDVItemInfo& source, const TDVTag& tag) {
  std::unique_ptr<TCustomDVItemInfo> item = CreateTextItem2(tag, source, br, sameAsPrev);
  TCustomDVItemInfo* inserted = item.get();
  Do_InsertItem(itemNo, std::move(s), std::move(item), false, fullReformat);
  return inserted;
}

TCustomDVItemInfo* TDVEditDVData::InsEmptyString(int itemNo, const TDVTag& tag, bool br, bool sameAsPrev,
                                                  int32_t styleNo, int32_t paraNo) {
  bool full = false;
  return InsString("", itemNo, full, br, sameAsPrev, styleNo, paraNo, tag);
}

// ---- the decision ----

bool TDVEditDVData::InsSomething(std::unique_ptr<TCustomDVItemInfo>& item, std::string& s, bool adjustTag,
                                 int& insertItemNo, bool& fullReformat, int& itemsAdded) {
  fullReformat = false;
  itemsAdded = 1;
  insertItemNo = -1;
  bool full = false;
  auto collect = [&] { fullReformat = fullReformat || full; };
  const bool fullWidth = IsFullWidth(*item);
  const bool isMarker = item->StyleNo == dvsListMarker;
  const int caretItemNo = DrawItems.Count() > 0 ? GetCurItemNo() : -1;
  const int32_t offs = caretItemNo >= 0 ? GetOffsetInCurItem() : 0;
  auto refuse = [&] {
    item.reset();
    Beep();
    return false;
  };

  const bool continues = caretItemNo >= 0 && !fullWidth && !isMarker;
  item->SetSameAsPrev(continues);
  item->ParaNo = continues ? GetItemPara(caretItemNo) : FCurParaStyleNo;
  if (IsParaProtected(item->ParaNo, dvpaoReadOnly)) return refuse();

  // After the insertion, the item that followed the caret continues the
  // paragraph the new item took over.
  bool joinFollowing = false;
  auto takeOverParaStart = [&](int existingNo) {
    const TCustomDVItemInfo* existing = GetItem(existingNo);
    item->SetSameAsPrev(false);
    SetFlag(*item, dvioBR, existing->BR());
    if (existing->PageBreakBefore()) item->SetPageBreakBefore(true);
    joinFollowing = true;
  };
  const bool afterMarker = caretItemNo > 0 && GetItemStyle(caretItemNo - 1) == dvsListMarker;

  if (caretItemNo < 0) {
    insertItemNo = ItemCount();
  } else if (GetItemStyle(caretItemNo) < 0) {
    // The caret at a non-text item.
    if (isMarker) {
      item.reset();
      return true;
    }
    if (offs >= 1) {
      insertItemNo = caretItemNo + 1;
      if (IsFullWidth(*GetItem(caretItemNo))) item->SetSameAsPrev(false);
    } else if (IsFromNewLine(caretItemNo)) {
      insertItemNo = caretItemNo;
      if (!fullWidth) takeOverParaStart(caretItemNo);
    } else {
      insertItemNo = caretItemNo;
      if (fullWidth && afterMarker) {
        InsEmptyString(caretItemNo, {}, false, true, FCurTextStyleNo, GetItemPara(caretItemNo));
        ++insertItemNo;
        ++itemsAdded;
      }
    }
  } else if (ItemLength(caretItemNo) == 0) {
    // The caret in an empty text item: the new item takes its place.
    if (IsSticking(caretItemNo - 1) || IsSticking(caretItemNo)) {
      item.reset();
      return false;
    }
    if (fullWidth && afterMarker) {
      insertItemNo = caretItemNo + 1;
    } else {
      const TCustomDVItemInfo* empty = GetItem(caretItemNo);
      if (IsFromNewLine(caretItemNo)) {
        item->SetSameAsPrev(false);
        if (!isMarker) SetFlag(*item, dvioBR, empty->BR());
      }
      if (empty->PageBreakBefore()) item->SetPageBreakBefore(true);
      Do_DeleteItem(caretItemNo, full);
      collect();
      item->ParaNo = FCurParaStyleNo;
      insertItemNo = caretItemNo;
      itemsAdded = 0;
      if (isMarker && caretItemNo > 0 && GetItemStyle(caretItemNo - 1) == dvsListMarker) {
        Do_DeleteItem(caretItemNo - 1, full);
        collect();
        --insertItemNo;
        --itemsAdded;
      }
    }
  } else {
    // The caret in a text.
    if (isMarker) {
      item.reset();
      return true;
    }
    const int32_t length = ItemLength(caretItemNo);
    if (offs <= 1 && !(fullWidth && afterMarker)) {
      if (IsSticking(caretItemNo - 1)) {
        item.reset();
        return false;
      }
      insertItemNo = caretItemNo;
      if (!fullWidth && IsFromNewLine(caretItemNo)) takeOverParaStart(caretItemNo);
    } else if (offs > length) {
      if (IsSticking(caretItemNo)) {
        item.reset();
        return false;
      }
      insertItemNo = caretItemNo + 1;
    } else {
      if (IsProtected(caretItemNo, dvprModifyProtect)) return refuse();
      const TCustomDVItemInfo* text = GetItem(caretItemNo);
      std::string tail = DVU_Copy(GetItemTextR(caretItemNo), offs, length - offs + 1, text->ItemOptions,
                                  GetStyleCodePage(text->StyleNo));
      std::unique_ptr<TCustomDVItemInfo> copy = DV_CreateTextCopy(*text, *this);
      copy->SetSameAsPrev(true);
      Do_DeleteSubstring(caretItemNo, offs, -1);
      Do_InsertItem(caretItemNo + 1, std::move(tail), std::move(copy), false, full);
      collect();
      insertItemNo = caretItemNo + 1;
      ++itemsAdded;
    }
  }

  if (fullWidth && insertItemNo < ItemCount()) {
    Do_NewLine(insertItemNo, false, full, -1);
    collect();
    Do_BR(insertItemNo, false, full);
    collect();
  }
  if (item->StyleNo == dvsBreak) item->ParaNo = 0;
  if (adjustTag && item->StyleNo >= 0 && !item->Tag.Int && !item->Tag.Str) {
    for (int neighbour : {insertItemNo - 1, insertItemNo}) {
      if (neighbour < 0 || neighbour >= ItemCount() || GetItemStyle(neighbour) != item->StyleNo) continue;
      item->Tag = DV_CopyTag(GetItem(neighbour)->Tag, TagsArePChars());
      break;
    }
  }
  Do_InsertItem(insertItemNo, std::move(s), std::move(item), false, full);
  collect();
  if (joinFollowing) {
    JoinParagraph(insertItemNo + 1, full);
    collect();
  }
  return true;
}

void TDVEditDVData::CaretParaBounds(int& paraStart, int& paraEnd) const {
  paraStart = paraEnd = -1;
  if (CaretDrawItemNo >= 0 && CaretDrawItemNo < DrawItems.Count())
    GetParaBounds(CaretDrawItemNo, CaretDrawItemNo, paraStart, paraEnd);
}

bool TDVEditDVData::InsertSomething(std::unique_ptr<TCustomDVItemInfo>& item, std::string& s, bool adjustTag,
                                    bool caretBefore) {
  if (FPartialSelectedItem) {
    item.reset();
    Beep();
    return false;
  }
  int start, end;
  CaretParaBounds(start, end);
  const bool isText = item->StyleNo >= 0;
  int insertItemNo, itemsAdded;
  bool full;
  if (!InsSomething(item, s, adjustTag, insertItemNo, full, itemsAdded)) return false;
  if (insertItemNo < 0) return true;  // dropped
  const bool wider = CalculateMinItemWidthPlusEx(insertItemNo) > MinDocWidth;
  Reformat_(full || wider, start, end, itemsAdded);
  const int32_t offs = caretBefore ? GetOffsBeforeItem(insertItemNo)
                                   : (isText ? GetOffsAfterItem(insertItemNo) : 1);
  SetCaretAtItem(insertItemNo, offs);
  return true;
}

}  // namespace quillet
