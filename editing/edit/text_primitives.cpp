// The primitives that change an item's text or text style.
#include <algorithm>

#include "editing/edit/edit_data.h"
#include "editing/undo/undo_records.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"

namespace quillet {

void TDVEditDVData::Do_DeleteSubstring(int itemNo, int index, int count) {
  const std::string& text = GetItemTextR(itemNo);
  const TDVItemOptions options = GetItemOptions(itemNo);
  const int length = DVU_Length(text, options);
  if (count == -1) count = length - index + 1;
  if (count <= 0 || index < 1 || index > length) return;
  const int codePage = GetStyleCodePage(GetItemStyle(itemNo));
  std::string deleted = DVU_Copy(text, index, count, options, codePage);
  if (deleted.empty()) return;
  std::string changed = text;
  DVU_Delete(changed, index, count, options, codePage);
  SetItemText(itemNo, std::move(changed));
  auto info = std::make_unique<TDVUndoDeleteSubstringInfo>();
  info->ItemNo = itemNo;
  info->Offs = index;
  info->s = std::move(deleted);
  Record(std::move(info));
}

void TDVEditDVData::Do_InsertSubstring(int itemNo, int index, const std::string& s) {
  if (s.empty()) return;
  if (itemNo < 0 || itemNo >= ItemCount() || GetItemStyle(itemNo) < 0) throw EDocViewError("Undo error");
  const TDVItemOptions options = GetItemOptions(itemNo);
  std::string text = GetItemTextR(itemNo);
  index = std::clamp(index, 1, DVU_Length(text, options) + 1);
  DVU_Insert(s, text, index, options, GetStyleCodePage(GetItemStyle(itemNo)));
  SetItemText(itemNo, std::move(text));
  auto info = std::make_unique<TDVUndoInsertSubstringInfo>();
  info->ItemNo = itemNo;
  info->Offs = index;
  info->Length = DVU_Length(s, options);
  Record(std::move(info));
}

void TDVEditDVData::Do_ChangeText(int itemNo, const std::string& s) {
  if (GetItemTextR(itemNo) == s) return;
  auto info = std::make_unique<TDVUndoChangeTextInfo>();
  info->ItemNo = itemNo;
  info->s = GetItemTextR(itemNo);
  SetItemText(itemNo, s);
  Record(std::move(info));
}

void TDVEditDVData::Do_StyleNo(int itemNo, int32_t styleNo) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  if (item->StyleNo < 0 || item->StyleNo == styleNo) return;
  auto info = std::make_unique<TDVUndoStyleNoInfo>();
  info->ItemNo = itemNo;
  info->WasStyleNo = item->StyleNo;
  item->StyleNo = styleNo;
  if (IsUnicodeStyle(styleNo))
    item->ItemOptions |= dvioUnicode;
  else
    item->ItemOptions &= static_cast<TDVItemOptions>(~dvioUnicode);
  Record(std::move(info));
}

}  // namespace quillet
