// The primitives of an item's properties: extra properties, tags,
// checkpoints, integer properties by name and item-modify brackets.
#include "editing/edit/edit_data.h"
#include "editing/undo/undo_records.h"
#include "platform/core/arith.h"

namespace quillet {

void TDVEditDVData::Do_ExtraIntProperty(int itemNo, TDVExtraItemProperty prop, int32_t value) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  int32_t old = 0;
  if (!item->GetExtraIntProperty(prop, old) || old == value) return;
  auto info = std::make_unique<TDVUndoExtraIntProperty>();
  info->ItemNo = itemNo;
  info->Prop = prop;
  info->OldValue = old;
  if (!item->SetExtraIntProperty(prop, value)) return;
  Record(std::move(info));
}

void TDVEditDVData::Do_Tag(int itemNo, TDVTag tag, bool assignAsIs) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  const bool pchars = TagsArePChars();
  if (DV_CompareTags(item->Tag, tag, pchars)) return;
  auto info = std::make_unique<TDVUndoTagInfo>();
  info->ItemNo = itemNo;
  info->TagsArePChars = pchars;
  info->WasTag = std::move(item->Tag);
  item->Tag = assignAsIs ? std::move(tag) : DV_CopyTag(tag, pchars);
  Record(std::move(info));
}

void TDVEditDVData::Do_AddCP(int itemNo, std::unique_ptr<TDVCPInfo> checkpoint) {
  AttachCheckpoint(itemNo, std::move(checkpoint));
  auto info = std::make_unique<TDVUndoAddCPInfo>();
  info->ItemNo = itemNo;
  Record(std::move(info));
}

void TDVEditDVData::Do_DeleteCP(int itemNo) {
  TDVCPInfo* checkpoint = itemNo == -1 ? NotAddedCP() : GetItem(itemNo)->Checkpoint.get();
  if (!checkpoint) throw EDocViewError("Checkpoint error");
  std::unique_ptr<TDVCPInfo> owned = UnlinkCheckpoint(checkpoint, true);
  if (LastRaisedCP == checkpoint) LastRaisedCP = nullptr;
  auto info = std::make_unique<TDVUndoDeleteCPInfo>();
  info->ItemNo = itemNo;
  info->TagsArePChars = TagsArePChars();
  info->Checkpoint = std::move(owned);
  Record(std::move(info));
}

namespace {

TDVIntPropertyOwner& PropertyOwner(TCustomDVItemInfo& item, TDVIntPropertyOwner* subObject) {
  return subObject ? *subObject : item;
}

}  // namespace

TDVUndoModifyItemProps* TDVEditDVData::Do_ModifyItemIntProperty(
    int itemNo, TDVIntPropertyOwner* subObject, const std::string& propName, int32_t value,
    std::unique_ptr<TDVUndoModifyItemIntProperty> record) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  TDVIntPropertyOwner& owner = PropertyOwner(*item, subObject);
  int32_t old = 0;
  if (!owner.GetIntPropertyByName(propName, old) || old == value) return nullptr;
  item->BeforeUndoChangeProperty();
  const bool set = owner.SetIntPropertyByName(propName, value);
  item->AfterUndoChangeProperty();
  if (!set) return nullptr;
  record->ItemNo = itemNo;
  record->SubObject = subObject;
  record->PropertyName = propName;
  record->OldValue = old;
  TDVUndoModifyItemProps* result = record.get();
  return Record(std::move(record)) ? result : nullptr;
}

TDVUndoModifyItemProps* TDVEditDVData::Do_ModifyItemIntProperties(
    int itemNo, TDVIntPropertyOwner* subObject, const std::vector<std::string>& propList,
    std::unique_ptr<TDVUndoModifyItemIntProperties> record) {
  TCustomDVItemInfo* item = GetItem(itemNo);
  TDVIntPropertyOwner& owner = PropertyOwner(*item, subObject);
  std::vector<std::string> oldValues;
  item->BeforeUndoChangeProperty();
  for (auto line = propList.rbegin(); line != propList.rend(); ++line) {
    const size_t eq = line->find('=');
    if (eq == std::string::npos) continue;
    const std::string name = line->substr(0, eq);
    const std::optional<int32_t> value = ParseInt32(std::string_view(*line).substr(eq + 1));
    int32_t old = 0;
    if (!value || !owner.GetIntPropertyByName(name, old) || old == *value) continue;
    if (owner.SetIntPropertyByName(name, *value)) oldValues.insert(oldValues.begin(), name + "=" + std::to_string(old));
  }
  item->AfterUndoChangeProperty();
  if (oldValues.empty()) return nullptr;
  record->ItemNo = itemNo;
  record->SubObject = subObject;
  record->PropList = std::move(oldValues);
  TDVUndoModifyItemProps* result = record.get();
  return Record(std::move(record)) ? result : nullptr;
}

void TDVEditDVData::Do_ItemModifyTerminator(int itemNo, bool opening) {
  auto info = std::make_unique<TDVUndoModifyItemTerminator>();
  info->ItemNo = itemNo;
  info->Opening = opening;
  Record(std::move(info));
}

}  // namespace quillet
