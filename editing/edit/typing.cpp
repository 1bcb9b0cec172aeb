// Typing at the caret: into the caret's item when it has the current text
// style and allows it, else as a new item. One typed character joins the
// previous typing record, so that Undo takes a typed run back character by
// character.
#include "editing/edit/edit_data.h"
#include "engine/layout/line_layout.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {

// Whether s is one whole character of an item in that form: one byte, or
// one UTF-16 unit that is not half of a pair.
bool IsOneTypingStep(const std::string& s, bool unicode) {
  if (!unicode) return s.size() == 1;
  if (s.size() != 2) return false;
  const auto unit = static_cast<char16_t>(static_cast<uint8_t>(s[0]) | (static_cast<uint8_t>(s[1]) << 8));
  return unit < 0xD800 || unit > 0xDFFF;
}

}  // namespace

void TDVEditDVData::InsertTextTyping(const std::string& s) {
  if (!GetDVStyle() || FPartialSelectedItem || !CanDelete() || CharEnds.empty() || CaretOffs < 0) {
    Beep();
    return;
  }
  if (s.empty()) return;
  int itemNo = GetCurItemNo();
  int32_t offs = GetOffsetInCurItem();
  if (IsItemParaProtected(itemNo)) {
    Beep();
    return;
  }
  // A new item of the current style at the caret, in a group of its own.
  auto insertNew = [this, &s] {
    TDVEditOperation operation(*this);
    BeginUndoSequence(dvutInsert, true);
    std::unique_ptr<TCustomDVItemInfo> item = CreateTextItem({}, FCurParaStyleNo, false, false, FCurTextStyleNo);
    std::string text = s;
    if (InsertSomething(item, text, false, false)) Change();
    UndoList->PopIfEmpty();
  };
  if (GetItemStyle(itemNo) != FCurTextStyleNo) {
    // At the end of an item, the next one of the paragraph takes the text
    // when it has the current style.
    const bool atEnd = offs >= GetOffsAfterItem(itemNo);
    if (!atEnd || itemNo + 1 >= ItemCount() || IsFromNewLine(itemNo + 1) ||
        GetItemStyle(itemNo + 1) != FCurTextStyleNo)
      return insertNew();
    ++itemNo;
    offs = GetOffsBeforeItem(itemNo);
  }
  if (IsProtected(itemNo, dvprConcateProtect)) return insertNew();
  if (IsProtected(itemNo, dvprModifyProtect)) {
    if (offs > GetOffsBeforeItem(itemNo) && offs < GetOffsAfterItem(itemNo)) {
      Beep();
      return;
    }
    return insertNew();
  }

  TDVEditOperation operation(*this);
  int start = -1, end = -1;
  TouchedDrawRange(itemNo, itemNo, start, end);
  const TCustomDVItemInfo* item = GetItem(itemNo);
  const bool unicode = item->IsUnicode();
  const bool empty = ItemLength(itemNo) == 0;
  const bool paraChanges = empty && GetItemPara(itemNo) != FCurParaStyleNo;
  const int32_t before = CalculateMinItemWidthPlusEx(itemNo);
  if (IsOneTypingStep(s, unicode) && !paraChanges) {
    std::string text = GetItemTextR(itemNo);
    DVU_Insert(s, text, offs, item->ItemOptions, GetStyleCodePage(item->StyleNo));
    SetItemText(itemNo, std::move(text));
    UndoList->AddTyping(itemNo, offs, unicode);
  } else {
    // Several characters (a double-byte one, a surrogate pair) or an empty
    // item taking the current paragraph style: one group, undone whole.
    BeginUndoSequence(dvutMiscTyping, true);
    if (paraChanges) ApplyParaStyle(itemNo, FCurParaStyleNo);
    Do_InsertSubstring(itemNo, offs, s);
  }
  const int32_t length = DVU_Length(s, item->ItemOptions);
  {
    // The caret's line is the item the reformat has just measured.
    TDVKeptItemMeasure kept(*this, itemNo);
    Reformat_(WidthChangeNeedsFull(before, CalculateMinItemWidthPlusEx(itemNo)), start, end, 0);
    SetCaretAtItem(itemNo, offs + length);
  }
  Change();
}

void TDVEditDVData::KeyPress(char key) {
  if (!GetDVStyle() || FPartialSelectedItem || !CanDelete()) {
    Beep();
    return;
  }
  // The editor assembles double-byte characters before they come here.
  if (static_cast<uint8_t>(key) > 127) return;
  std::string s(1, key);
  if (IsUnicodeStyle(FCurTextStyleNo)) s = DVU_AnsiToUnicode(GetStyleCodePage(FCurTextStyleNo), s);
  if (!s.empty()) InsertTextTyping(s);
}

}  // namespace quillet
