// DVF and RTF streams at the caret. The reader puts the first item in
// through the caret insertion (protection, splitting the caret's item) and
// the others straight into the list; the block is then recorded as one
// insertion and joined with its neighbours. A stream that cannot be read
// leaves the document as it was and no undo group.
#include "editing/edit/edit_data.h"
#include "editing/control/editor.h"
#include "engine/model/item_registry.h"
#include "platform/core/scoped_value.h"

namespace quillet {

bool TDVEditDVData::InsertFirstDVFItem(int& index, std::string& text, std::unique_ptr<TCustomDVItemInfo>& item,
                                       bool editFlag) {
  if (!readAtCaret_) return TDocViewDVData::InsertFirstDVFItem(index, text, item, editFlag);
  TReadAtCaret& at = *readAtCaret_;
  at.HadCheckpoint = item->Checkpoint != nullptr;
  int insertItemNo = -1;
  if (!InsSomething(item, text, true, insertItemNo, at.Full, at.ItemsAdded) || insertItemNo < 0) {
    at.Refused = true;
    return false;
  }
  at.FirstNo = index = insertItemNo;
  return true;
}

int TDVEditDVData::ReadInsertionIndex() const {
  const int itemNo = GetCurItemNo();
  if (itemNo < 0) return ItemCount();
  const int32_t offs = GetOffsetInCurItem();
  const bool atEnd = GetItemStyle(itemNo) >= 0 ? offs >= GetOffsAfterItem(itemNo) : offs >= 1;
  return atEnd ? itemNo + 1 : itemNo;
}

void TDVEditDVData::UndoFailedReading(const TReadAtCaret& at) {
  // Without recording nothing can be taken back.
  TDVUndoInfos* group = GetUndoList() ? UndoList->Top() : nullptr;
  if (group && at.FirstNo >= 0) {
    // The reader removed the first item unrecorded: a stand-in takes its
    // place so that the records made around it undo as they were made.
    InsertItemDirectly(at.FirstNo, "", CreateTextItem({}, 0, false, true, 0));
    if (at.HadCheckpoint) AttachCheckpoint(at.FirstNo, std::make_unique<TDVCPInfo>());
  }
  if (group) {
    const TScopedValue<TDVUndoDest> silent(UndoDest, udNone);
    group->PerformUndo(*this, false);
    UndoList->Pop();
  }
  Format();
  Invalidate();
}

void TDVEditDVData::FinishReading(const TReadAtCaret& at, int lastItemNo, int paraStart, int paraEnd) {
  int firstItemNo = at.FirstNo;
  bool full = false;
  Do_InsertItems_1(firstItemNo + 1, lastItemNo - firstItemNo, full);
  full = full || at.Full || CalculateMinItemsWidthPlusEx(firstItemNo, lastItemNo) > DocumentWidth;
  int itemsAdded = at.ItemsAdded + lastItemNo - firstItemNo;
  int32_t caretOffs = GetOffsAfterItem(lastItemNo);
  ConcateAfterAdding(firstItemNo, lastItemNo, caretOffs, itemsAdded);
  Reformat_(full, paraStart, paraEnd, itemsAdded);
  if (lastItemNo < 0) {
    lastItemNo = 0;
    caretOffs = GetOffsBeforeItem(0);
  }
  SetCaretAtItem(lastItemNo, caretOffs);
  Change();
}

bool TDVEditDVData::InsertDVFFromStreamEd_(TStream& stream) {
  int index = ReadInsertionIndex();
  int paraStart, paraEnd;
  CaretParaBounds(paraStart, paraEnd);
  TDVEditOperation operation(*this);
  BeginUndoSequence(dvutInsert, true);
  TReadAtCaret at;
  TColor color = clNone;
  int nonFirstItemsAdded = 0;
  bool ok;
  {
    const TScopedValue<TReadAtCaret*> reading(readAtCaret_, &at);
    // The stream's reviewer and annotation lines are its own document's.
    const TScopedValue<TQvDvData> hostLines(HostLines(), HostLines());
    ok = InsertDVFFromStream_(stream, index, -1, false, false, true, color, nullptr, nullptr, nonFirstItemsAdded);
  }
  if (!ok) {
    UndoFailedReading(at);
    // A refusal has beeped already.
    if (!at.Refused) Beep();
    return false;
  }
  if (at.FirstNo < 0) {
    UndoList->PopIfEmpty();
    return true;
  }
  if (color != clNone) Editor().Color = color;
  FinishReading(at, at.FirstNo + nonFirstItemsAdded, paraStart, paraEnd);
  return true;
}

bool TDVEditDVData::InsertRTFFromStreamEd_(TStream& stream) {
  TDVRTFReaderProperties* properties = GetRTFProperties();
  if (!properties) return false;
  int index = ReadInsertionIndex();
  int paraStart, paraEnd;
  CaretParaBounds(paraStart, paraEnd);
  TDVEditOperation operation(*this);
  BeginUndoSequence(dvutInsert, true);
  TReadAtCaret at;
  TDVRTFErrorCode code;
  {
    const TScopedValue<TReadAtCaret*> reading(readAtCaret_, &at);
    code = properties->InsertFromStreamEd(stream, *this, index);
  }
  if (code != rtf_ec_OK) {
    UndoFailedReading(at);
    if (!at.Refused) Beep();
    return false;
  }
  if (at.Refused || at.FirstNo < 0 || index < at.FirstNo) {
    UndoList->PopIfEmpty();
    return true;
  }
  FinishReading(at, index, paraStart, paraEnd);
  return true;
}

}  // namespace quillet
