// Revision tracking: what a reviewer inserts takes the "inserted" style the
// host's conversion handler answers, what the reviewer deletes stays in the
// "deleted" style, and pictures, which carry no text style, are marked by
// their names.
#include "editing/control/editor.h"
#include "editing/table/table_types.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

bool IsPicture(int32_t styleNo) { return styleNo == dvsPicture || styleNo == dvsHotPicture; }

}  // namespace

std::string TCustomDocViewEdit::InsertedPictureName() const { return TraceUserName + Utf8ToAnsi("插入的图片"); }
std::string TCustomDocViewEdit::DeletedPictureName() const { return TraceUserName + Utf8ToAnsi("删除的图片"); }

bool TCustomDocViewEdit::IsOwnInsertion(int itemNo) const {
  const TDVEditDVData& data = EditData();
  const int32_t styleNo = data.GetItemStyle(itemNo);
  if (IsPicture(styleNo)) return data.GetItemTextR(itemNo) == InsertedPictureName();
  if (styleNo < 0 || !Style() || !Style()->TextStyles().IsValidIndex(styleNo)) return false;
  const TFontInfo& font = Style()->TextStyles()[styleNo];
  return font.Color == TraceUserColor && (font.Style & fsUnderline);
}

void TCustomDocViewEdit::ApplyTraceConversion(int32_t code) {
  if (!OnStyleConversion) return;
  FCurStyleConversion = OnStyleConversion;
  EditData().ApplyStyleConversion_(code);
}

void TCustomDocViewEdit::MarkTracedInsertion() {
  if (TraceOn) ApplyTraceConversion(Orvane_TraceSaveInsert);
}

bool TCustomDocViewEdit::PrepareTextInput(std::u16string_view text, std::string& bytes) {
  TDVEditDVData& data = EditData();
  MarkTracedInsertion();
  const std::string units = DVU_UnitBytes(text);
  if (data.IsUnicodeStyle(data.FCurTextStyleNo)) {
    bytes = units;
    return true;
  }
  const int codePage = data.GetStyleCodePage(data.FCurTextStyleNo);
  bytes = DVU_UnicodeToAnsi(codePage, units);
  if (DVU_AnsiToUnicode(codePage, bytes) == units) return true;
  // Rather than "?", the text goes in the sheet's Unicode style (marked
  // again: the handler answers per style).
  const int32_t unicodeStyle = Style()->DefUnicodeStyle;
  if (!Style()->TextStyles().IsValidIndex(unicodeStyle)) {
    data.Beep();
    return false;
  }
  SetCurTextStyleNo(unicodeStyle);
  MarkTracedInsertion();
  if (data.IsUnicodeStyle(data.FCurTextStyleNo)) {
    bytes = units;
    return true;
  }
  data.Beep();
  return false;
}

bool TCustomDocViewEdit::InsertPreparedText(std::u16string_view text, bool caretBefore) {
  std::string bytes;
  if (!PrepareTextInput(text, bytes)) return false;
  TDVEditDVData& data = EditData();
  return data.IsUnicodeStyle(data.FCurTextStyleNo) ? data.InsertTextW_(bytes, caretBefore)
                                                   : data.InsertText_(bytes, caretBefore);
}

bool TCustomDocViewEdit::DeleteSelectionTraced() {
  TDVEditDVData& data = EditData();
  if (!TraceOn || !data.SelectionExists(false, false)) return data.DeleteSelection_();
  return TraceDeleteSelection();
}

bool TCustomDocViewEdit::TraceDeleteSelection() {
  TDVEditDVData& data = EditData();
  int startNo, endNo;
  int32_t startOffs, endOffs;
  data.GetSelectionBoundsEx(startNo, startOffs, endNo, endOffs, true);
  if (startNo < 0 || endNo < startNo) return data.DeleteSelection_();
  // A table blocks the deletion before anything is marked.
  for (int i = startNo; i <= endNo; ++i)
    if (data.GetItemStyle(i) == dvsTable) {
      data.Beep();
      return false;
    }
  const bool single = startNo == endNo;
  int ownCount = 0;
  int32_t lastTextStyle = -1;
  bool deleteNow = false, stopped = false;
  TDVEditOperation operation(data);
  data.BeginUndoSequence(dvutDelete, true);
  {
    // Every mark of the deletion joins its one group.
    TDVUndoGroupMode group(data);
    for (int i = startNo; i <= endNo; ++i) {
      const int32_t styleNo = data.GetItemStyle(i);
      if (styleNo >= 0) lastTextStyle = styleNo;
      if (styleNo < 0 && !IsPicture(styleNo)) continue;
      const bool own = IsOwnInsertion(i);
      if (single)
        deleteNow = own;
      else if (own)
        ++ownCount;
      if (IsPicture(styleNo) && !own && !deleteNow) {
        std::string name;
        TGraphic* graphic;
        TDVVAlign vAlign;
        TDVTag tag;
        data.GetPictureInfo(i, name, graphic, vAlign, tag);
        SetPictureInfoEdMy(i, DeletedPictureName(), nullptr, vAlign, tag);
      }
    }
    if (ownCount > 0 && ownCount != endNo - startNo + 1) {
      // Own insertions mixed with other items: neither deleted nor marked.
      stopped = true;
    } else {
      // The caret's style after the marking is the deleted form of the
      // last text's.
      if (lastTextStyle >= 0) SetCurTextStyleNo(lastTextStyle);
      if (deleteNow || ownCount > 0) data.DeleteSelection_();
      ApplyTraceConversion(Orvane_TraceSaveDelet);
      data.CaretMoveNext();
    }
  }
  data.UndoList->PopIfEmpty();
  Invalidate();
  return !stopped;
}

bool TCustomDocViewEdit::SelectCharBeforeCaret() {
  TDVEditDVData& data = EditData();
  int itemNo = data.GetCurItemNo();
  int32_t offs = data.GetOffsetInCurItem();
  if (itemNo < 0) return false;
  if (offs <= data.GetOffsBeforeItem(itemNo)) {
    // Between two items the character before is the previous item's last.
    if (itemNo == 0 || data.IsFromNewLine(itemNo)) return false;
    --itemNo;
    offs = data.GetOffsAfterItem(itemNo);
  }
  const int32_t start = data.GetItemStyle(itemNo) >= 0 ? data.PrevCharStr(data.GetItemTextR(itemNo), itemNo, offs)
                                                       : data.GetOffsBeforeItem(itemNo);
  data.SetSelectionBounds(itemNo, start, itemNo, offs);
  return true;
}

bool TCustomDocViewEdit::SelectCharAfterCaret() {
  TDVEditDVData& data = EditData();
  int itemNo = data.GetCurItemNo();
  int32_t offs = data.GetOffsetInCurItem();
  if (itemNo < 0) return false;
  if (offs >= data.GetOffsAfterItem(itemNo)) {
    if (itemNo + 1 >= data.ItemCount() || data.IsFromNewLine(itemNo + 1)) return false;
    ++itemNo;
    offs = data.GetOffsBeforeItem(itemNo);
  }
  const int32_t end = data.GetItemStyle(itemNo) >= 0 ? data.NextCharStr(data.GetItemTextR(itemNo), itemNo, offs)
                                                     : data.GetOffsAfterItem(itemNo);
  data.SetSelectionBounds(itemNo, offs, itemNo, end);
  return true;
}

bool TCustomDocViewEdit::TraceMarkSelectedChar() {
  TDVEditDVData& data = EditData();
  int itemNo, endNo;
  int32_t offs, endOffs;
  data.GetSelectionBoundsEx(itemNo, offs, endNo, endOffs, true);
  const int32_t styleNo = data.GetItemStyle(itemNo);
  if (IsPicture(styleNo)) {
    const bool own = IsOwnInsertion(itemNo);
    TraceDeleteSelection();
    return !own;
  }
  if (styleNo >= 0 && IsOwnInsertion(itemNo)) {
    data.DeleteSelection_();
    return false;
  }
  ApplyTraceConversion(Orvane_TraceSaveDelet);
  data.CaretMoveBack();
  return true;
}

void TCustomDocViewEdit::TraceBackSpace() {
  TDVEditDVData& data = EditData();
  // Marked, the character stays and the caret passes it.
  if (SelectCharBeforeCaret() && !TraceMarkSelectedChar()) {
    Refresh();
    return;
  }
  if (data.OnLeftPress(false, false) && OnCaretGetOut) OnCaretGetOut(*this, dvdLeft);
  Refresh();
}

void TCustomDocViewEdit::TraceDelete() {
  TDVEditDVData& data = EditData();
  if (SelectCharAfterCaret()) {
    TraceMarkSelectedChar();
  } else if (data.OnRightPress(false, false)) {
    // At the document's end there is nothing to delete.
    if (OnCaretGetOut) OnCaretGetOut(*this, dvdRight);
  }
  Refresh();
}

}  // namespace quillet
