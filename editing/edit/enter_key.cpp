// Enter splits the document at the caret: a new paragraph, or with Shift a
// new line of the same paragraph. One undo group; a list paragraph's marker
// is copied to the new paragraph; a refusal beeps and leaves no group.
#include "editing/edit/edit_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {

// What one Enter changed, for the reformat and the caret.
struct TEnterResult {
  bool Full = false;
  int ItemsAdded = 0;
  int CaretItemNo = 0;
  int32_t CaretOffs = 0;
};

}  // namespace

void TDVEditDVData::OnEnterPress_(bool shift) {
  int itemNo;
  int32_t offs;
  if (!KeyCaret(itemNo, offs)) return;
  TDVEditOperation operation(*this);
  BeginUndoSequence(dvutMiscTyping, true);
  int start, end;
  TouchedDrawRange(itemNo - 1, itemNo + 1, start, end);
  const bool atStart = CaretAtTheBeginningOfParaSection();
  const bool atEnd = CaretAtTheEndOfParaSection();
  const TDVStyle* sheet = GetDVStyle();
  TEnterResult r;
  bool f = false;
  auto collect = [&] { r.Full = r.Full || f; };
  const bool isText = GetItemStyle(itemNo) >= 0;

  if (atStart || atEnd) {
    // An empty line before (at the beginning) or after the caret's item.
    if (IsProtected(itemNo, dvprParaStartProtect)) return RefuseKey();
    const bool before = atStart && !atEnd;
    const TCustomDVItemInfo* caretItem = GetItem(itemNo);
    if (!before && isText && caretItem->StyleNo == FCurTextStyleNo && sheet &&
        sheet->TextStyles()[FCurTextStyleNo].NextStyleNo >= 0 &&
        sheet->TextStyles().IsValidIndex(sheet->TextStyles()[FCurTextStyleNo].NextStyleNo))
      FCurTextStyleNo = sheet->TextStyles()[FCurTextStyleNo].NextStyleNo;
    const int sectionEnd = GetParaEndItemNo(itemNo);
    const bool lineFollows = sectionEnd + 1 < ItemCount() && !IsParaStart(sectionEnd + 1);
    if (!shift && !before && !lineFollows && sheet) {
      const int32_t paraNo = GetItemPara(itemNo);
      const int32_t next = sheet->ParaStyles().IsValidIndex(paraNo) ? sheet->ParaStyles()[paraNo].NextParaNo : -1;
      if (IsParaProtected(paraNo, dvpaoReadOnly))
        FCurParaStyleNo = sheet->ParaStyles().IsValidIndex(next) ? next : 0;
      else if (sheet->ParaStyles().IsValidIndex(next))
        FCurParaStyleNo = next;
    }
    const int32_t styleNo = IsProtected(itemNo, dvprModifyProtect) && FCurTextStyleNo == caretItem->StyleNo
                                ? 0
                                : FCurTextStyleNo;
    const TDVTag tag = isText ? caretItem->Tag : TDVTag{};
    const bool afterMarker = itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker;
    std::unique_ptr<TCustomDVItemInfo> item = CreateTextItem(tag, FCurParaStyleNo, false, false, styleNo);
    int insertAt;
    if (before) {
      insertAt = itemNo;
      if (afterMarker) {
        // The empty line stays with the marker; the caret's item moves on.
        item->SetSameAsPrev(true);
        item->ParaNo = GetItemPara(itemNo - 1);
        Do_InsertItem(insertAt, "", std::move(item), false, f);
        collect();
        if (shift) {
          Do_NewLine(itemNo + 1, false, f, -1);
          collect();
          Do_BR(itemNo + 1, true, f);
          collect();
        } else if (ReplicateMarker(itemNo, itemNo + 1, f, true)) {
          collect();
          ++r.ItemsAdded;
        }
      } else {
        if (shift) {
          item->ParaNo = caretItem->ParaNo;
          item->SetBR(caretItem->BR());
        }
        // The page break stays with the first line of the two.
        const bool pageBreak = caretItem->PageBreakBefore();
        item->SetPageBreakBefore(pageBreak);
        Do_InsertItem(insertAt, "", std::move(item), false, f);
        collect();
        if (pageBreak) Do_PageBreak(itemNo + 1, false);
        if (shift) {
          Do_BR(itemNo + 1, true, f);
          collect();
        }
      }
      ++r.ItemsAdded;
      r.CaretItemNo = itemNo + r.ItemsAdded;
      r.CaretOffs = GetOffsBeforeItem(r.CaretItemNo);
    } else {
      insertAt = itemNo + 1;
      if (shift) {
        item->ParaNo = caretItem->ParaNo;
        item->SetBR(true);
      } else if (ReplicateMarker(itemNo, insertAt, f, true)) {
        collect();
        ++r.ItemsAdded;
        item->SetSameAsPrev(true);
        item->ParaNo = GetItemPara(insertAt);
        ++insertAt;
      }
      Do_InsertItem(insertAt, "", std::move(item), false, f);
      collect();
      ++r.ItemsAdded;
      r.CaretItemNo = insertAt;
      r.CaretOffs = 1;
    }
  } else if (isText && offs > GetOffsBeforeItem(itemNo) && offs < GetOffsAfterItem(itemNo)) {
    // Inside a text: the rest goes to a new item that starts the paragraph.
    if (IsProtected(itemNo, dvprParaStartProtect) || IsProtected(itemNo, dvprModifyProtect)) return RefuseKey();
    const TCustomDVItemInfo* text = GetItem(itemNo);
    std::string tail =
        DVU_Copy(GetItemTextR(itemNo), offs, ItemLength(itemNo) - offs + 1, text->ItemOptions,
                 GetStyleCodePage(text->StyleNo));
    std::unique_ptr<TCustomDVItemInfo> copy = DV_CreateTextCopy(*text, *this);
    copy->ItemOptions = static_cast<TDVItemOptions>(copy->ItemOptions & ~(dvioBR | dvioPageBreakBefore));
    copy->SetSameAsPrev(false);
    copy->SetBR(shift);
    Do_DeleteSubstring(itemNo, offs, -1);
    int insertAt = itemNo + 1;
    if (!shift && ReplicateMarker(itemNo, insertAt, f, true)) {
      collect();
      ++r.ItemsAdded;
      copy->SetSameAsPrev(true);
      ++insertAt;
    }
    Do_InsertItem(insertAt, std::move(tail), std::move(copy), false, f);
    collect();
    ++r.ItemsAdded;
    r.CaretItemNo = insertAt;
    r.CaretOffs = 1;
  } else {
    // Before an item inside the section, or after one: that item, or the
    // next, moves to a new paragraph (a new line with Shift).
    const int moved = offs <= GetOffsBeforeItem(itemNo) ? itemNo : itemNo + 1;
    if (IsProtected(moved, dvprParaStartProtect)) return RefuseKey();
    if (shift) {
      Do_NewLine(moved, false, f, -1);
      collect();
      Do_BR(moved, true, f);
      collect();
    } else if (ReplicateMarker(moved - 1, moved, f, true)) {
      collect();
      ++r.ItemsAdded;
    } else {
      Do_NewLine(moved, false, f, -1);
      collect();
    }
    r.CaretItemNo = moved + r.ItemsAdded;
    r.CaretOffs = GetOffsBeforeItem(r.CaretItemNo);
  }
  FinishKey(r.Full, start, end, r.ItemsAdded, r.CaretItemNo, r.CaretOffs);
}

void TDVEditDVData::InsertPageBreak() {
  if (CharEnds.empty() || CaretOffs < 0) return;
  TDVEditOperation operation(*this);
  BeginUndoSequence(dvutInsertPageBreak, true);
  bool refused = false;
  {
    TDVUndoGroupMode group(*this);
    // Whether the caret stands at the start of a paragraph (after its marker).
    auto atParaStart = [this] {
      const int itemNo = GetCurItemNo();
      const bool afterMarker = itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker;
      return GetOffsetInCurItem() <= GetOffsBeforeItem(itemNo) && (IsFromNewLine(itemNo) || afterMarker);
    };
    if (!atParaStart()) {
      OnEnterPress_(false);
      // Enter refused (and beeped): no page break either.
      refused = !atParaStart();
    }
    if (!refused) {
      int itemNo = GetCurItemNo();
      if (itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker) --itemNo;
      int start, end;
      TouchedDrawRange(itemNo, itemNo, start, end);
      bool full = false;
      Do_BR(itemNo, false, full);
      Do_PageBreak(itemNo, true);
      Reformat_(full, start, end, 0);
      SetCaretAtItem(GetCurItemNo(), GetOffsetInCurItem());
    }
  }
  if (!refused) Change();
  UndoList->PopIfEmpty();
}

}  // namespace quillet
