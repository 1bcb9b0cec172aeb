#include "editing/undo/undo_records.h"

#include <algorithm>

#include "editing/edit/edit_data.h"
#include "engine/model/int_props.h"
#include "engine/text/item_text.h"

namespace quillet {

namespace {

int32_t W(TDVEditDVData& data, int itemNo) { return data.CalculateMinItemWidthPlusEx(itemNo); }

// An item still held by a record when the record goes: announced as
// destroyed in the undo list, then freed.
void DestroyHeldItem(TCustomDVData* owner, std::string& text, std::unique_ptr<TCustomDVItemInfo>& item) {
  if (!item) return;
  if (owner) {
    owner->ItemAction(dviaDestroying, item.get(), text);
    owner->ControlAction(dvcaDestroyInUndoList, -1, item.get());
  }
  item.reset();
}

}  // namespace

bool DVWidthChangeNeedsFullReformat(TDVEditDVData& data, int itemNo, int32_t oldW) {
  const int32_t newW = W(data, itemNo);
  if (newW == oldW) return false;
  if (oldW < data.MinDocWidth && data.MinDocWidth >= newW) return false;
  return true;
}

void TDVUndoItemNoInfo::SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData&) {
  startItemNo = ItemNo;
  endItemNo = LastAffectedItemNo == -1 ? ItemNo : LastAffectedItemNo;
}

TDVUndoItemInfo::~TDVUndoItemInfo() { DestroyHeldItem(GetUndoListOwnerDVData(), s, Item); }

TDVUndoStringItemListInfo::~TDVUndoStringItemListInfo() {
  for (auto& [text, item] : List) DestroyHeldItem(GetUndoListOwnerDVData(), text, item);
}

// The held items are not in the document yet: the range is where they go.
void TDVUndoItemRangeInfo::SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData&) {
  startItemNo = StartItemNo;
  endItemNo = LastAffectedItemNo == -1 ? StartItemNo : LastAffectedItemNo;
}

// ---- items in and out ----

void TDVUndoDeleteItemInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  data.Do_InsertItem(ItemNo, std::move(s), std::move(Item), true, full);
  FullReformat = FullReformat || full;
}

bool TDVUndoDeleteItemInfo::RequiresFullReformat2(TDVEditDVData& data) {
  return FullReformat || W(data, ItemNo) > data.MinDocWidth;
}

void TDVUndoDeleteItemsInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  count_ = static_cast<int>(List.size());
  data.Do_InsertItems(StartItemNo, std::move(List), true, full);
  List.clear();
  EndItemNo = StartItemNo + count_ - 1;
  FullReformat = FullReformat || full;
}

bool TDVUndoDeleteItemsInfo::RequiresFullReformat2(TDVEditDVData& data) {
  return FullReformat || data.CalculateMinItemsWidthPlusEx(StartItemNo, EndItemNo) > data.MinDocWidth;
}

void TDVUndoInsertItemInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  data.Do_DeleteItem(ItemNo, full);
}

bool TDVUndoInsertItemInfo::RequiresFullReformat1(TDVEditDVData& data) {
  return W(data, ItemNo) >= data.MinDocWidth;
}

void TDVUndoInsertItemsInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  data.Do_DeleteItems(ItemNo, ItemNo + Count - 1, full);
}

bool TDVUndoInsertItemsInfo::RequiresFullReformat1(TDVEditDVData& data) {
  return data.CalculateMinItemsWidthPlusEx(ItemNo, ItemNo + Count - 1) >= data.MinDocWidth;
}

void TDVUndoModifyItemInfo::Undo(TDVEditDVData& data) { data.Do_ModifyItem(ItemNo, std::move(s), std::move(Item)); }

bool TDVUndoModifyItemInfo::RequiresFullReformat1(TDVEditDVData& data) {
  if (!Item) return false;
  TCanvas* canvas = data.GetCanvas();
  const int32_t heldW = Item->GetMinWidth(nullptr, canvas, &data);
  const int32_t currentW = data.GetItem(ItemNo)->GetMinWidth(nullptr, canvas, &data);
  const int32_t docW = data.MinDocWidth;
  return heldW != currentW && (heldW > docW || W(data, ItemNo) >= docW);
}

void TDVUndoReplaceItemInfo::Undo(TDVEditDVData& data) { data.Do_ReplaceItem(ItemNo, std::move(Item)); }

// ---- text ----

void TDVUndoDeleteSubstringInfo::Undo(TDVEditDVData& data) {
  OldW = W(data, ItemNo);
  data.Do_InsertSubstring(ItemNo, Offs, s);
}

bool TDVUndoDeleteSubstringInfo::RequiresFullReformat2(TDVEditDVData& data) {
  return DVWidthChangeNeedsFullReformat(data, ItemNo, OldW);
}

void TDVUndoInsertSubstringInfo::Undo(TDVEditDVData& data) {
  OldW = W(data, ItemNo);
  data.Do_DeleteSubstring(ItemNo, Offs, Length);
}

bool TDVUndoInsertSubstringInfo::RequiresFullReformat2(TDVEditDVData& data) {
  return DVWidthChangeNeedsFullReformat(data, ItemNo, OldW);
}

void TDVUndoChangeTextInfo::Undo(TDVEditDVData& data) {
  OldW = W(data, ItemNo);
  data.Do_ChangeText(ItemNo, s);
}

bool TDVUndoChangeTextInfo::RequiresFullReformat2(TDVEditDVData& data) {
  return DVWidthChangeNeedsFullReformat(data, ItemNo, OldW);
}

void TDVUndoTypingInfo::Undo(TDVEditDVData& data) {
  OldW = W(data, ItemNo);
  if (Length <= 0) return;
  std::string text = data.GetItemTextR(ItemNo);
  const size_t unit = Unicode ? 2 : 1;
  const size_t at = static_cast<size_t>(Offs + Length - 2) * unit;
  if (at + unit > text.size()) return;
  std::string character = text.substr(at, unit);
  text.erase(at, unit);
  --Length;
  data.SetItemTextR(ItemNo, std::move(text));
  data.RedoList->AddUntyping(character, ItemNo, Offs + Length + 1);
}

void TDVRedoTypingInfo::Undo(TDVEditDVData& data) {
  OldW = W(data, ItemNo);
  if (s.empty()) return;
  const size_t unit = Unicode ? 2 : 1;
  const int32_t n = CharCount();
  std::string character = s.substr(s.size() - unit);
  s.erase(s.size() - unit);
  std::string text = data.GetItemTextR(ItemNo);
  const size_t at = std::min(static_cast<size_t>(std::max(Offs - n - 1, 0)) * unit, text.size());
  text.insert(at, character);
  data.SetItemTextR(ItemNo, std::move(text));
  data.UndoList->AddTyping(ItemNo, Offs - n, Unicode);
}

bool TDVRedoTypingInfo::RequiresFullReformat2(TDVEditDVData& data) {
  return DVWidthChangeNeedsFullReformat(data, ItemNo, OldW);
}

// ---- flags, styles and properties ----

void TDVUndoNewLineInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  data.Do_NewLine(ItemNo, WasSameAsPrev, full, WasParaNo);
  FullReformat = FullReformat || full;
}

void TDVUndoBRInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  data.Do_BR(ItemNo, WasBR, full);
}

void TDVUndoPageBreakInfo::Undo(TDVEditDVData& data) { data.Do_PageBreak(ItemNo, WasPageBreak); }

void TDVUndoExtraIntProperty::Undo(TDVEditDVData& data) {
  OldW = W(data, ItemNo);
  data.Do_ExtraIntProperty(ItemNo, Prop, OldValue);
}

bool TDVUndoExtraIntProperty::RequiresFullReformat2(TDVEditDVData& data) {
  return DVWidthChangeNeedsFullReformat(data, ItemNo, OldW);
}

void TDVUndoParaListInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  data.Do_ParaList(StartItemNo, List, full);
  FullReformat = FullReformat || full;
}

void TDVUndoParaListInfo::SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData&) {
  startItemNo = StartItemNo;
  endItemNo = StartItemNo + static_cast<int>(List.size());
}

void TDVUndoParaInfo::Undo(TDVEditDVData& data) {
  bool full = false;
  data.Do_Para(ItemNo, ItemNo + Count - 1, full, ParaNo);
  FullReformat = FullReformat || full;
}

void TDVUndoParaInfo::SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData&) {
  startItemNo = ItemNo;
  endItemNo = ItemNo + Count;
}

void TDVUndoTagInfo::Undo(TDVEditDVData& data) { data.Do_Tag(ItemNo, std::move(WasTag), true); }

void TDVUndoStyleNoInfo::Undo(TDVEditDVData& data) {
  OldW = W(data, ItemNo);
  data.Do_StyleNo(ItemNo, WasStyleNo);
}

bool TDVUndoStyleNoInfo::RequiresFullReformat2(TDVEditDVData& data) {
  return DVWidthChangeNeedsFullReformat(data, ItemNo, OldW);
}

void TDVUndoAddCPInfo::Undo(TDVEditDVData& data) { data.Do_DeleteCP(ItemNo); }

void TDVUndoDeleteCPInfo::Undo(TDVEditDVData& data) { data.Do_AddCP(ItemNo, std::move(Checkpoint)); }

// ---- item-modify brackets and properties by name ----

bool TDVUndoModifyItemProps::RequiresFullReformat1(TDVEditDVData& data) {
  if (!CheckWidth || !NeedsFormat) return false;
  OldW = W(data, ItemNo);
  return OldW >= data.MinDocWidth;
}

bool TDVUndoModifyItemProps::RequiresFullReformat2(TDVEditDVData& data) {
  if (!CheckWidth || !NeedsFormat) return false;
  const int32_t newW = W(data, ItemNo);
  return newW != OldW && newW > data.MinDocWidth;
}

void TDVUndoModifyItemTerminator::Undo(TDVEditDVData& data) { data.Do_ItemModifyTerminator(ItemNo, !Opening); }

void TDVUndoModifyItemIntProperty::Undo(TDVEditDVData& data) {
  if (TDVUndoModifyItemProps* opposite =
          data.Do_ModifyItemIntProperty(ItemNo, SubObject, PropertyName, OldValue, CreateOpposite()))
    SetOppositeUndoInfoProps(*opposite);
}

void TDVUndoModifyItemIntProperties::Undo(TDVEditDVData& data) {
  if (TDVUndoModifyItemProps* opposite =
          data.Do_ModifyItemIntProperties(ItemNo, SubObject, PropList, CreateOpposite()))
    SetOppositeUndoInfoProps(*opposite);
}

void TDVCompositeUndo::Undo(TDVEditDVData& data) {
  if (UndoList->Count() > 0) UndoList->Undo(data);
}

void TDVCompositeUndo::SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData&) {
  startItemNo = ItemNo;
  endItemNo = ItemNo;
}

}  // namespace quillet
