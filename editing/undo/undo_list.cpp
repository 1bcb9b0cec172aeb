#include "editing/undo/undo_list.h"

#include <algorithm>

#include "editing/edit/edit_data.h"
#include "editing/undo/undo_records.h"
#include "engine/base/doc_view_error.h"

namespace quillet {

TCustomDVData* TDVUndoInfo::GetUndoListOwnerDVData() const { return FUndoList ? FUndoList->OwnerData() : nullptr; }

// ---- the group ----

bool TDVUndoInfos::IsTypingGroup() const { return Count() == 1 && Items(0)->Action == dvuTyping; }

bool TDVUndoInfos::CanDelete() const { return Count() == 0 || Count() > 1 || Items(0)->UsedUp(); }

void TDVUndoInfos::ChangeUndoList(TDVUndoList* list) {
  for (const auto& info : *this) {
    info->FUndoList = list;
    info->ChangeOwnerData(list->OwnerData());
  }
}

void TDVUndoInfos::Undo(TDVEditDVData& data, bool reformat) {
  data.BeginRedoSequence(UndoType, Caption);
  PerformUndo(data, reformat);
}

void TDVUndoInfos::Redo(TDVEditDVData& data, bool reformat) {
  data.BeginNamedUndoSequence(UndoType, Caption, true);
  PerformUndo(data, reformat);
}

void TDVUndoInfos::PerformUndo(TDVEditDVData& data, bool reformat) {
  if (Count() == 0) return;
  data.Deselect(nullptr, true);
  // The items the group touches, in the document as it is now: each
  // record's range, widened by what the records undone before it add. A
  // record's own added items are not counted into its end: the reformat
  // below lays out the added items after the end it is given, and counting
  // them twice would lay out as many paragraphs again.
  bool needFormat = false;
  int start = data.ItemCount() - 1, end = 0, added = 0;
  for (int i = Count() - 1; i >= 0; --i) {
    TDVUndoInfo* info = Items(i);
    needFormat = needFormat || info->RequiresFormat();
    int s = start, e = end;
    info->SetItemsRange(s, e, data);
    if (added > 0) e += added;
    added += info->ItemsAdded();
    start = std::min(start, s);
    end = std::max(end, e);
  }
  if (end < start) std::swap(start, end);
  start = std::max(start, 0);
  end = std::max(end, start);
  if (end + added < start) end = start - added;
  if (end >= data.ItemCount()) end = data.ItemCount() - 1;
  int startDrawItemNo = -1, endDrawItemNo = -1;
  if (data.DrawItems.Count() > 0 && data.ItemCount() > 0) {
    int32_t offs = 0;
    data.Item2DrawItem(std::clamp(start, 0, data.ItemCount() - 1), data.GetOffsBeforeItem(std::max(start, 0)),
                       startDrawItemNo, offs);
    const int last = std::clamp(end, 0, data.ItemCount() - 1);
    data.Item2DrawItem(last, data.GetOffsAfterItem(last), endDrawItemNo, offs);
    if (startDrawItemNo < 0) startDrawItemNo = 0;
    if (endDrawItemNo < 0) endDrawItemNo = data.DrawItems.Count() - 1;
    data.GetParaBounds(startDrawItemNo, endDrawItemNo, startDrawItemNo, endDrawItemNo);
  }

  // Records run backwards, so a bracket is met at its closing terminator.
  bool fullReformat = false;
  int bracketDepth = 0;
  int32_t bracketW = 0;
  for (int i = Count() - 1; i >= 0; --i) {
    TDVUndoInfo* info = Items(i);
    auto* terminator = dynamic_cast<TDVUndoModifyItemTerminator*>(info);
    const bool closing = terminator && !terminator->Opening;
    const bool opening = terminator && terminator->Opening;
    if (bracketDepth == 0 && needFormat) fullReformat = fullReformat || info->RequiresFullReformat1(data);
    if (closing && bracketDepth++ == 0) bracketW = terminator->OldW;
    if (opening && bracketDepth > 0 && --bracketDepth == 0) terminator->OldW = bracketW;
    info->Undo(data);
    if (bracketDepth == 0 && needFormat) fullReformat = fullReformat || info->RequiresFullReformat2(data);
  }

  if (reformat && needFormat && startDrawItemNo >= 0) {
    if (fullReformat && data.GetCanvas() && data.MinDocWidthChanged(startDrawItemNo, endDrawItemNo, added))
      data.Format();
    else
      data.FormatParas(startDrawItemNo, endDrawItemNo, added);
  } else if (reformat && needFormat) {
    data.Format();
  }
  if (!data.GetInplaceEditor() && CaretItemNo >= 0 && CaretItemNo < data.ItemCount() &&
      data.DrawItems.Count() > 0)
    data.SetSelectionBounds(CaretItemNo, CaretOffs, CaretItemNo, CaretOffs);
  data.Invalidate();
}

// ---- the list ----

void TDVUndoList::FreeEmptyTop() {
  if (Count() > 0 && Top()->Count() == 0) Delete(Count() - 1);
}

bool TDVUndoList::BeginItem(TDVUndoType undoType, const std::string& caption, int caretItemNo, int32_t caretOffs) {
  if (Limit == 0) return false;
  if (GroupModeCount >= 1 && Count() > 0 && !Top()->IsTypingGroup()) return true;
  // An empty top group is replaced before the limit counts it, so that a
  // full list never loses a real group for it.
  std::string groupCaption = caption;
  if (Count() > 0 && Top()->Count() == 0) {
    caretItemNo = Top()->CaretItemNo;
    caretOffs = Top()->CaretOffs;
    groupCaption = Top()->Caption;
    Delete(Count() - 1);
  }
  if (Limit > 0 && Count() >= Limit) Delete(0);
  auto group = std::make_unique<TDVUndoInfos>();
  group->UndoType = undoType;
  group->Caption = std::move(groupCaption);
  group->CaretItemNo = caretItemNo;
  group->CaretOffs = caretOffs;
  Add(std::move(group));
  return true;
}

void TDVUndoList::AddInfo(std::unique_ptr<TDVUndoInfo> info) {
  if (Count() == 0) throw EDocViewError("Can't modify empty undo list");
  if (Top()->IsTypingGroup()) throw EDocViewError("Incorrect adding into undo list");
  info->FUndoList = this;
  Top()->Add(std::move(info));
}

void TDVUndoList::SetOwnerData(TCustomDVData* ownerData) {
  ownerData_ = ownerData;
  for (const auto& group : *this) group->ChangeUndoList(this);
}

void TDVUndoList::AddInfos(std::unique_ptr<TDVUndoInfos> infos) {
  infos->ChangeUndoList(this);
  Add(std::move(infos));
}

void TDVUndoList::AddTyping(int itemNo, int32_t offs, bool unicode) {
  if (Limit == 0) return;
  FreeEmptyTop();
  if (TDVUndoInfos* top = Top(); top && top->Count() > 0) {
    auto* typing = dynamic_cast<TDVUndoTypingInfo*>(top->Items(0));
    if (typing && typing->ItemNo == itemNo && offs == typing->Offs + typing->Length) {
      ++typing->Length;
      ++top->CaretOffs;
      return;
    }
  }
  if (!BeginItem(dvutTyping, "", itemNo, offs)) return;
  auto info = std::make_unique<TDVUndoTypingInfo>();
  info->ItemNo = itemNo;
  info->Offs = offs;
  info->Length = 1;
  info->Unicode = unicode;
  info->FUndoList = this;
  Top()->Add(std::move(info));
}

void TDVUndoList::AddUntyping(const std::string& s, int itemNo, int32_t offs) {
  FreeEmptyTop();
  if (TDVUndoInfos* top = Top(); top && top->Count() > 0) {
    auto* redo = dynamic_cast<TDVRedoTypingInfo*>(top->Items(0));
    if (redo && redo->ItemNo == itemNo && redo->Offs - redo->CharCount() == offs) {
      redo->s += s;
      --top->CaretOffs;
      return;
    }
  }
  if (!BeginItem(dvutTyping, "", itemNo, offs)) return;
  auto info = std::make_unique<TDVRedoTypingInfo>();
  info->ItemNo = itemNo;
  info->Offs = offs;
  info->s = s;
  info->Unicode = s.size() > 1;
  info->FUndoList = this;
  Top()->Add(std::move(info));
}

void TDVUndoList::PopIfEmpty() {
  if (GroupModeCount < 1) FreeEmptyTop();
}

void TDVUndoList::Pop() {
  TDVUndoInfos* top = Top();
  if (!top) return;
  if (top->CanDelete()) {
    Delete(Count() - 1);
    return;
  }
  if (dynamic_cast<TDVUndoTypingInfo*>(top->Items(0)))
    --top->CaretOffs;
  else if (dynamic_cast<TDVRedoTypingInfo*>(top->Items(0)))
    ++top->CaretOffs;
}

void TDVUndoList::Undo(TDVEditDVData& data) {
  if (Count() == 0) throw EDocViewError("Undo buffer is empty");
  TDVEditOperation operation(data);
  Top()->Undo(data, true);
  Pop();
}

void TDVUndoList::Redo(TDVEditDVData& data) {
  if (Count() == 0) throw EDocViewError("Undo buffer is empty");
  TDVEditOperation operation(data);
  Top()->Redo(data, true);
  Pop();
}

TDVUndoType TDVUndoList::CurrentUndoType() const { return Count() > 0 ? Top()->UndoType : dvutNone; }

std::string TDVUndoList::CurrentUndoCaption() const { return Count() > 0 ? Top()->Caption : std::string(); }

}  // namespace quillet
