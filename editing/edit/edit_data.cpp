// The editable data's life cycle, recording, paragraph routines and the
// reformatting after a change.
#include "editing/edit/edit_data.h"

#include <algorithm>

#include "editing/control/editor.h"
#include "engine/model/item_registry.h"
#include "engine/style/style_sheet.h"
#include "platform/core/scoped_value.h"

namespace quillet {

TDVEditDVData::TDVEditDVData(TCustomDocViewEdit& editor)
    : TDocViewDVData(editor),
      UndoList(std::make_unique<TDVUndoList>(GetAbsoluteRootData())),
      RedoList(std::make_unique<TDVUndoList>(GetAbsoluteRootData())) {}

TDVEditDVData::~TDVEditDVData() {
  // Records announce the items they still hold while the data still answers.
  UndoList->Clear();
  RedoList->Clear();
}

TCustomDocViewEdit& TDVEditDVData::Editor() const { return static_cast<TCustomDocViewEdit&>(DocView()); }

void TDVEditDVData::ClearTemporal() {
  ReleaseHotItem();
  CharEnds.clear();
  CaretDrawItemNo = -1;
  CaretOffs = -1;
  TDocViewDVData::ClearTemporal();
}

void TDVEditDVData::Clear() {
  TDocViewDVData::Clear();
  if (!DocView().Destroying()) Editor().Modified = false;
  UndoList->Clear();
  RedoList->Clear();
  FCurParaStyleNo = 0;
  FCurTextStyleNo = 0;
}

// ---- recording ----

TDVUndoList* TDVEditDVData::GetUndoList() {
  if (UndoDest == udUndo && UndoList->Limit != 0) return UndoList.get();
  if (UndoDest == udRedo) return RedoList.get();
  return nullptr;
}

bool TDVEditDVData::Record(std::unique_ptr<TDVUndoInfo> info) {
  TDVUndoList* list = GetUndoList();
  if (!list) return false;
  list->AddInfo(std::move(info));
  return true;
}

void TDVEditDVData::BeginUndoSequence(TDVUndoType undoType, bool allowFinalize) {
  BeginNamedUndoSequence(undoType, "", allowFinalize);
}

void TDVEditDVData::BeginNamedUndoSequence(TDVUndoType undoType, const std::string& caption, bool allowFinalize) {
  if (allowFinalize && !(State & dvstFinalizingUndo)) {
    TScopedFlags<TDVStates> finalizing(State, dvstFinalizingUndo);
    TCustomDVItemInfo* item = FPartialSelectedItem ? FPartialSelectedItem : GetChosenItem();
    if (item) item->FinalizeUndoGroup();
  }
  UndoDest = UndoList->BeginItem(undoType, caption, GetCurItemNo(), GetOffsetInCurItem()) ? udUndo : udNone;
}

void TDVEditDVData::BeginRedoSequence(TDVUndoType undoType, const std::string& caption) {
  UndoDest = RedoList->BeginItem(undoType, caption, GetCurItemNo(), GetOffsetInCurItem()) ? udRedo : udNone;
}

void TDVEditDVData::SetUndoGroupMode(bool groupUndo) {
  if (groupUndo)
    ++UndoList->GroupModeCount;
  else
    --UndoList->GroupModeCount;
}

// ---- paragraphs ----

int TDVEditDVData::GetParaEndItemNo(int itemNo) const {
  int i = itemNo + 1;
  while (i < ItemCount() && !IsFromNewLine(i)) ++i;
  return i - 1;
}

int TDVEditDVData::GetParaLastItemNo(int itemNo) const {
  int i = itemNo + 1;
  while (i < ItemCount() && !IsParaStart(i)) ++i;
  return i - 1;
}

bool TDVEditDVData::WidthChangeNeedsFull(int32_t before, int32_t after) const {
  return after != before && (after > MinDocWidth || before >= MinDocWidth);
}

int32_t TDVEditDVData::ParaMinWidth(int itemNo) {
  return CalculateMinItemsWidthPlusEx(GetFirstParaItem(itemNo), GetParaLastItemNo(itemNo));
}

void TDVEditDVData::SetParaStyle(int startItemNo, int endItemNo, bool& fullReformat, int32_t paraNo) {
  const int32_t before = CalculateMinItemsWidthPlusEx(startItemNo, endItemNo);
  const TDVStyle* sheet = GetDVStyle();
  for (int i = startItemNo; i <= endItemNo; ++i) {
    TCustomDVItemInfo* item = GetItem(i);
    const bool isProtected = sheet && sheet->ParaStyles().IsValidIndex(item->ParaNo) &&
                             (sheet->ParaStyles()[item->ParaNo].Options & dvpaoStyleProtect);
    if (!isProtected) item->ParaNo = paraNo;
  }
  const int32_t after = CalculateMinItemsWidthPlusEx(startItemNo, endItemNo);
  fullReformat = !(after <= MinDocWidth && MinDocWidth > before);
}

// ---- formatting after a change ----

void TDVEditDVData::Reformat_(bool fullFormat, int startDrawItemNo, int endDrawItemNo, int itemsAdded) {
  TCanvas* canvas = GetCanvas();
  if (!canvas) return;
  const bool whole = startDrawItemNo < 0 || DrawItems.Count() == 0 ||
                     (fullFormat && MinDocWidthChanged(startDrawItemNo, endDrawItemNo, itemsAdded));
  if (whole) {
    Format();
    Invalidate();
    return;
  }
  FormatParasExact(startDrawItemNo, endDrawItemNo, itemsAdded);
}

bool TDVEditDVData::MinDocWidthChanged(int startDrawItemNo, int endDrawItemNo, int itemsAdded) {
  TCanvas* canvas = GetCanvas();
  const int count = ItemCount(), drawCount = DrawItems.Count();
  if (!canvas || count == 0 || drawCount == 0) return true;
  startDrawItemNo = std::clamp(startDrawItemNo, 0, drawCount - 1);
  endDrawItemNo = std::clamp(endDrawItemNo, startDrawItemNo, drawCount - 1);
  const int first = GetFirstParaSectionItem(std::clamp(DrawItems[startDrawItemNo]->ItemNo, 0, count - 1));
  const int last = static_cast<int>(
      std::clamp<int64_t>(int64_t{DrawItems[endDrawItemNo]->ItemNo} + itemsAdded, first, count - 1));
  // The changed sections.
  const int32_t changed = CalculateParaSectionsMinWidth(first, last, nullptr, *canvas);
  if (changed > MinDocWidth) return true;
  if (changed == MinDocWidth) return false;
  // Narrower: the width stays while another section is as wide (one that
  // is wider would be a change too).
  for (int pass = 0; pass < 2; ++pass) {
    const int from = pass == 0 ? 0 : last + 1, to = pass == 0 ? first : count;
    for (int i = from; i < to; ++i) {
      if (i != 0 && !IsFromNewLine(i)) continue;
      const int32_t width = CalculateParaSectionsMinWidth(i, i, nullptr, *canvas);
      if (width >= MinDocWidth) return width != MinDocWidth;
    }
  }
  return true;
}

void TDVEditDVData::Reformat(bool fullFormat, int startDrawItemNo, int endDrawItemNo, int itemsAdded) {
  int startItemNo, endItemNo;
  int32_t startOffs, endOffs;
  StoreSelBounds(startItemNo, endItemNo, startOffs, endOffs, false);
  if (fullFormat || startDrawItemNo < 0) {
    Format();
    Invalidate();
  } else {
    FormatParas(startDrawItemNo, endDrawItemNo, itemsAdded);
  }
  RestoreSelBounds(startItemNo, endItemNo, startOffs, endOffs);
}

void TDVEditDVData::BeginItemModify(int itemNo, int32_t& width) { width = CalculateMinItemWidthPlusEx(itemNo); }

void TDVEditDVData::EndItemModify(int itemNo, int32_t oldWidth) {
  const int32_t newWidth = CalculateMinItemWidthPlusEx(itemNo);
  const bool full = newWidth != oldWidth && (oldWidth >= DocumentWidth || newWidth > DocumentWidth);
  int first = FindDrawItemByItem(itemNo), last = first;
  while (last + 1 < DrawItems.Count() && DrawItems[last + 1]->ItemNo == itemNo) ++last;
  int start = -1, end = -1;
  if (first >= 0) GetParaBounds(first, last, start, end);
  Reformat(full, start, end, 0);
}

void TDVEditDVData::ChangeEx(bool clearRedo) { Editor().DoChange(clearRedo); }

// ---- shared steps of the primitives ----

void TDVEditDVData::ForgetItem(const TCustomDVItemInfo* item) {
  if (FCaptureMouseItem == item) FCaptureMouseItem = nullptr;
  if (FActiveItem == item) FActiveItem = nullptr;
  if (hotItem_ == item) MakeCold();
  if (FPartialSelectedItem == item) FPartialSelectedItem = nullptr;
  if (ResizingControl == item) ResizingControl = nullptr;
}

void TDVEditDVData::FreeAndDelete(int itemNo) {
  FreeItem(itemNo, false);
  Items().Delete(itemNo);
}

void TDVEditDVData::SetItemText(int itemNo, std::string text) {
  ItemAction(dviaTextModifying, GetItem(itemNo), text);
  SetItemTextR(itemNo, std::move(text));
}

std::unique_ptr<TCustomDVItemInfo> DV_CreateTextCopy(const TCustomDVItemInfo& item, TCustomDVData& dvData) {
  std::unique_ptr<TCustomDVItemInfo> copy = DocViewTextItemClass(&dvData);
  copy->Assign(item);
  copy->SetSameAsPrev(item.SameAsPrev());
  copy->ItemOptions = static_cast<TDVItemOptions>((copy->ItemOptions & ~dvioUnicode) | (item.ItemOptions & dvioUnicode));
  copy->Tag = DV_CopyTag(item.Tag, dvData.TagsArePChars());
  return copy;
}

}  // namespace quillet
