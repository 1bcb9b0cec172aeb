// The primitives that move whole items in and out of the document, replace
// them, and join two text items.
#include <algorithm>

#include "editing/edit/edit_data.h"
#include "editing/undo/undo_records.h"

namespace quillet {

std::vector<std::unique_ptr<TDVCPInfo>> TDVEditDVData::InsertBlock(int itemNo, TItemBlock block,
                                                                    bool addedFromUndo) {
  // Checkpoints come back through Do_AddCP, so that undo takes them away
  // again before the items.
  std::vector<std::unique_ptr<TDVCPInfo>> checkpoints(block.size());
  for (size_t i = 0; i < block.size(); ++i) {
    checkpoints[i] = std::move(block[i].second->Checkpoint);
    block[i].second->Inserting(this, block[i].first, false);
  }
  const int count = static_cast<int>(block.size());
  Items().InsertBlock(itemNo, std::move(block));
  for (int i = itemNo; i < itemNo + count; ++i) {
    TCustomDVItemInfo* item = GetItem(i);
    if (item->StyleNo == dvsListMarker) AddMarkerInList(i);
    item->UpdatePaletteInfo(dvpaDoNothing, false);
    if (addedFromUndo) item->MovingFromUndoList(i, this);
  }
  return checkpoints;
}

void TDVEditDVData::Do_InsertItem(int itemNo, std::string s, std::unique_ptr<TCustomDVItemInfo> item,
                                  bool addedFromUndo, bool& fullReformat) {
  TItemBlock one;
  one.emplace_back(std::move(s), std::move(item));
  std::unique_ptr<TDVCPInfo> checkpoint = std::move(InsertBlock(itemNo, std::move(one), addedFromUndo).front());
  TCustomDVItemInfo* inserted = GetItem(itemNo);
  auto info = std::make_unique<TDVUndoInsertItemInfo>();
  TDVUndoInsertItemInfo* record = info.get();
  info->ItemNo = itemNo;
  if (!Record(std::move(info))) record = nullptr;
  // A new paragraph in front of a paragraph's continuation takes the rest
  // of that paragraph with it.
  fullReformat = false;
  if (inserted->CanBeBorderStart() && itemNo + 1 < ItemCount() && !IsParaStart(itemNo + 1)) {
    const int last = GetParaLastItemNo(itemNo + 1);
    Do_Para(itemNo + 1, last, fullReformat, inserted->ParaNo);
    if (record) record->LastAffectedItemNo = last;
  }
  if (record) record->FullReformat = fullReformat;
  if (checkpoint) Do_AddCP(itemNo, std::move(checkpoint));
}

void TDVEditDVData::Do_InsertItems(int itemNo, TItemBlock list, bool addedFromUndo, bool& fullReformat) {
  fullReformat = false;
  if (list.empty()) return;
  // The list holds the items last first; the block goes in at once in
  // document order.
  std::reverse(list.begin(), list.end());
  const int count = static_cast<int>(list.size());
  std::vector<std::unique_ptr<TDVCPInfo>> checkpoints = InsertBlock(itemNo, std::move(list), addedFromUndo);
  Do_InsertItems_1(itemNo, count, fullReformat);
  for (int i = 0; i < count; ++i)
    if (checkpoints[static_cast<size_t>(i)]) Do_AddCP(itemNo + i, std::move(checkpoints[static_cast<size_t>(i)]));
}

void TDVEditDVData::Do_InsertItems_1(int itemNo, int count, bool& fullReformat) {
  fullReformat = false;
  if (count <= 0) return;
  auto info = std::make_unique<TDVUndoInsertItemsInfo>();
  TDVUndoInsertItemsInfo* record = info.get();
  info->ItemNo = itemNo;
  info->Count = count;
  if (!Record(std::move(info))) record = nullptr;
  // The paragraph the block runs into takes its style.
  const int after = itemNo + count;
  if (after < ItemCount() && !IsParaStart(after))
    Do_Para(after, GetParaLastItemNo(after), fullReformat, GetItem(after - 1)->ParaNo);
  if (record) record->FullReformat = fullReformat;
}

void TDVEditDVData::Do_DeleteItem(int itemNo, bool& fullReformat) {
  fullReformat = CalculateMinItemWidthPlusEx(itemNo) >= MinDocWidth;
  if (GetItem(itemNo)->Checkpoint) Do_DeleteCP(itemNo);
  if (!GetUndoList()) {
    ForgetItem(GetItem(itemNo));
    FreeAndDelete(itemNo);
    return;
  }
  TCustomDVItemInfo* item = GetItem(itemNo);
  ForgetItem(item);
  item->MovingToUndoList(itemNo, this);
  auto info = std::make_unique<TDVUndoDeleteItemInfo>();
  info->ItemNo = itemNo;
  info->Item = Items().TakeItem(itemNo);
  info->s = GetItemTextR(itemNo);
  Items().Delete(itemNo);
  Record(std::move(info));
}

void TDVEditDVData::Do_DeleteItems(int startItemNo, int endItemNo, bool& fullReformat) {
  fullReformat = false;
  if (endItemNo < startItemNo) return;
  fullReformat = CalculateMinItemsWidthPlusEx(startItemNo, endItemNo) >= MinDocWidth;
  for (int i = endItemNo; i >= startItemNo; --i)
    if (GetItem(i)->Checkpoint) Do_DeleteCP(i);
  const int count = endItemNo - startItemNo + 1;
  if (!GetUndoList()) {
    for (int i = startItemNo; i <= endItemNo; ++i) {
      ForgetItem(GetItem(i));
      FreeItem(i, false);
    }
    Items().Delete(startItemNo, count);
    return;
  }
  for (int i = endItemNo; i >= startItemNo; --i) {
    ForgetItem(GetItem(i));
    GetItem(i)->MovingToUndoList(i, this);
  }
  auto info = std::make_unique<TDVUndoDeleteItemsInfo>();
  info->StartItemNo = startItemNo;
  info->EndItemNo = endItemNo;
  info->FullReformat = fullReformat;
  info->List = Items().TakeBlock(startItemNo, count);
  std::reverse(info->List.begin(), info->List.end());
  Record(std::move(info));
}

namespace {

// What a new item takes over from the one it replaces.
void TakeOver(TCustomDVItemInfo& newItem, TCustomDVItemInfo& old, bool tagsArePChars) {
  newItem.ParaNo = old.ParaNo;
  newItem.ItemOptions = old.ItemOptions;
  newItem.JumpID = old.JumpID;
  newItem.DrawItemNo = old.DrawItemNo;
  newItem.Tag = DV_CopyTag(old.Tag, tagsArePChars);
  newItem.Checkpoint = std::move(old.Checkpoint);
  if (newItem.Checkpoint) newItem.Checkpoint->ItemInfo = &newItem;
}

}  // namespace

std::unique_ptr<TCustomDVItemInfo> TDVEditDVData::ExchangeItem(int itemNo, std::string s,
                                                               std::unique_ptr<TCustomDVItemInfo> newItem) {
  TCustomDVItemInfo* old = GetItem(itemNo);
  TakeOver(*newItem, *old, TagsArePChars());
  TCustomDVItemInfo* item = newItem.get();
  if (FPartialSelectedItem == old) FPartialSelectedItem = item;
  if (FCaptureMouseItem == old) FCaptureMouseItem = item;
  if (FActiveItem == old) FActiveItem = item;
  if (hotItem_ == old) hotItem_ = item;  // it took over the hot link number too
  if (ResizingControl == old) ResizingControl = nullptr;
  const bool recording = GetUndoList() != nullptr;
  if (recording) {
    old->MovingToUndoList(itemNo, this);
  } else {
    std::string oldText = GetItemTextR(itemNo);
    ItemAction(dviaDestroying, old, oldText);
    ControlAction(dvcaDestroy, itemNo, old);
  }
  std::unique_ptr<TCustomDVItemInfo> oldItem = Items().TakeItem(itemNo);
  Items().SetText(itemNo, std::move(s));
  Items().PutItem(itemNo, std::move(newItem));
  if (item->StyleNo == dvsListMarker) AddMarkerInList(itemNo);
  if (recording) return oldItem;
  InternalFreeItem(std::move(oldItem), false);
  return nullptr;
}

void TDVEditDVData::Do_ModifyItem(int itemNo, std::string s, std::unique_ptr<TCustomDVItemInfo> newItem) {
  std::string oldText = GetItemTextR(itemNo);
  std::unique_ptr<TCustomDVItemInfo> old = ExchangeItem(itemNo, std::move(s), std::move(newItem));
  if (!old) return;
  auto info = std::make_unique<TDVUndoModifyItemInfo>();
  info->ItemNo = itemNo;
  info->s = std::move(oldText);
  info->Item = std::move(old);
  Record(std::move(info));
}

void TDVEditDVData::Do_ReplaceItem(int itemNo, std::unique_ptr<TCustomDVItemInfo> newItem) {
  if (FCaptureMouseItem == GetItem(itemNo)) ReleaseMouseCapture(GetItem(itemNo));
  std::string text = GetItemTextR(itemNo);
  std::unique_ptr<TCustomDVItemInfo> old = ExchangeItem(itemNo, text, std::move(newItem));
  if (!old) return;
  auto info = std::make_unique<TDVUndoReplaceItemInfo>();
  info->ItemNo = itemNo;
  info->s = std::move(text);
  info->Item = std::move(old);
  Record(std::move(info));
}

void TDVEditDVData::Do_Concate(int itemNo) {
  TCustomDVItemInfo* first = GetItem(itemNo);
  TCustomDVItemInfo* second = GetItem(itemNo + 1);
  bool full = false;
  // An empty item is the one that goes, whatever its encoding, so the text
  // of the other one is never lost.
  if (GetItemTextR(itemNo + 1).empty()) {
    Do_DeleteItem(itemNo + 1, full);
    return;
  }
  const bool firstEmpty = GetItemTextR(itemNo).empty();
  if (second->IsUnicode() == first->IsUnicode()) {
    const int32_t styleNo = second->StyleNo;
    Do_InsertSubstring(itemNo, ItemLength(itemNo) + 1, GetItemTextR(itemNo + 1));
    Do_DeleteItem(itemNo + 1, full);
    if (firstEmpty) Do_StyleNo(itemNo, styleNo);
    return;
  }
  // Two texts of different encodings do not join; an empty first item
  // goes, and the second takes over its place at a paragraph's or line's
  // start.
  if (!firstEmpty) return;
  if (first->CanBeBorderStart() || first->BR()) {
    const bool pageBreak = first->PageBreakBefore(), br = first->BR();
    Do_NewLine(itemNo + 1, false, full, first->ParaNo);
    if (pageBreak) Do_PageBreak(itemNo + 1, true);
    if (br) Do_BR(itemNo + 1, true, full);
  }
  Do_DeleteItem(itemNo, full);
}

}  // namespace quillet
