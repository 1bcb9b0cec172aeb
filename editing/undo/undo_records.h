#pragma once
// The undo records: each takes one primitive change back through the
// inverse primitive of the editable data, and answers whether undoing it
// can change the document's minimum width. W below is an item's minimum
// width (CalculateMinItemWidthPlusEx).
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editing/undo/undo_list.h"
#include "engine/base/item_types.h"
#include "engine/base/shared_routines.h"
#include "engine/model/checkpoint.h"
#include "engine/model/item_list.h"

namespace quillet {

class TDVIntPropertyOwner;

// Full-reformat test on the width before a change (records that change an
// item's text or style): false when the item's width stayed; false when
// it was below the document minimum width and that still covers the new
// one; true otherwise.
bool DVWidthChangeNeedsFullReformat(TDVEditDVData& data, int itemNo, int32_t oldW);

class TDVUndoItemNoInfo : public TDVUndoInfo {
 public:
  using TDVUndoInfo::TDVUndoInfo;
  int ItemNo = 0;
  int LastAffectedItemNo = -1;
  void SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData& data) override;
};

class TDVUndoStringInfo : public TDVUndoItemNoInfo {
 public:
  using TDVUndoItemNoInfo::TDVUndoItemNoInfo;
  std::string s;
};

class TDVUndoSubStringInfo : public TDVUndoStringInfo {
 public:
  using TDVUndoStringInfo::TDVUndoStringInfo;
  int32_t Offs = 0;
};

// Holds an item until undo hands it back; one still held when the record
// goes is announced as destroyed in the undo list, then freed.
class TDVUndoItemInfo : public TDVUndoStringInfo {
 public:
  using TDVUndoStringInfo::TDVUndoStringInfo;
  ~TDVUndoItemInfo() override;
  std::unique_ptr<TCustomDVItemInfo> Item;
};

class TDVUndoDeleteItemInfo : public TDVUndoItemInfo {
 public:
  TDVUndoDeleteItemInfo() : TDVUndoItemInfo(dvuDeleteItem) {}
  bool FullReformat = false;
  void Undo(TDVEditDVData& data) override;
  int ItemsAdded() const override { return 1; }
  bool RequiresFullReformat2(TDVEditDVData& data) override;
};

// Items with their texts, the last item first (as deletion takes them).
class TDVUndoStringItemListInfo : public TDVUndoInfo {
 public:
  using TDVUndoInfo::TDVUndoInfo;
  ~TDVUndoStringItemListInfo() override;
  TDVItemList::TBlock List;
};

class TDVUndoItemRangeInfo : public TDVUndoStringItemListInfo {
 public:
  using TDVUndoStringItemListInfo::TDVUndoStringItemListInfo;
  int StartItemNo = 0;
  int LastAffectedItemNo = -1;
  void SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData& data) override;
};

class TDVUndoDeleteItemsInfo : public TDVUndoItemRangeInfo {
 public:
  TDVUndoDeleteItemsInfo() : TDVUndoItemRangeInfo(dvuDeleteItems) {}
  int EndItemNo = 0;
  bool FullReformat = false;
  void Undo(TDVEditDVData& data) override;
  int ItemsAdded() const override { return List.empty() ? count_ : static_cast<int>(List.size()); }
  bool RequiresFullReformat2(TDVEditDVData& data) override;

 private:
  // The number of held items, kept once undo has handed them back.
  int count_ = 0;
};

class TDVUndoDeleteSubstringInfo : public TDVUndoSubStringInfo {
 public:
  TDVUndoDeleteSubstringInfo() : TDVUndoSubStringInfo(dvuDeleteSubstring) {}
  int32_t OldW = 0;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData& data) override;
};

class TDVUndoInsertItemInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoInsertItemInfo() : TDVUndoItemNoInfo(dvuInsertItem) {}
  bool FullReformat = false;
  void Undo(TDVEditDVData& data) override;
  int ItemsAdded() const override { return -1; }
  bool RequiresFullReformat1(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData&) override { return FullReformat; }
};

class TDVUndoInsertItemsInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoInsertItemsInfo() : TDVUndoItemNoInfo(dvuInsertItems) {}
  bool FullReformat = false;
  int Count = 0;
  void Undo(TDVEditDVData& data) override;
  int ItemsAdded() const override { return -Count; }
  bool RequiresFullReformat1(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData&) override { return FullReformat; }
};

class TDVUndoInsertSubstringInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoInsertSubstringInfo() : TDVUndoItemNoInfo(dvuInsertSubstring) {}
  int32_t OldW = 0;
  int32_t Offs = 0;
  int32_t Length = 0;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData& data) override;
};

// A run of typed characters, taken back one character per undo.
class TDVUndoTypingInfo : public TDVUndoInsertSubstringInfo {
 public:
  TDVUndoTypingInfo() { Action = dvuTyping; }
  bool Unicode = false;
  void Undo(TDVEditDVData& data) override;
  bool UsedUp() const override { return Length == 0; }
};

// The characters that undo took back from a typing run (last taken last),
// put back one per redo.
class TDVRedoTypingInfo : public TDVUndoSubStringInfo {
 public:
  TDVRedoTypingInfo() : TDVUndoSubStringInfo(dvuTyping) {}
  int32_t OldW = 0;
  bool Unicode = false;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData& data) override;
  bool UsedUp() const override { return s.empty(); }
  // Characters held (two bytes each in a Unicode record).
  int32_t CharCount() const { return static_cast<int32_t>(Unicode ? s.size() / 2 : s.size()); }
};

class TDVUndoNewLineInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoNewLineInfo() : TDVUndoItemNoInfo(dvuNewLine) {}
  bool FullReformat = false;
  bool WasSameAsPrev = false;
  int32_t WasParaNo = 0;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData&) override { return FullReformat; }
};

class TDVUndoBRInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoBRInfo() : TDVUndoItemNoInfo(dvuBR) {}
  bool WasBR = false;
  void Undo(TDVEditDVData& data) override;
};

class TDVUndoPageBreakInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoPageBreakInfo() : TDVUndoItemNoInfo(dvuPageBreak) {}
  bool WasPageBreak = false;
  void Undo(TDVEditDVData& data) override;
};

class TDVUndoExtraIntProperty : public TDVUndoItemNoInfo {
 public:
  TDVUndoExtraIntProperty() : TDVUndoItemNoInfo(dvuModifyItem) {}
  int32_t OldW = 0;
  int32_t OldValue = 0;
  TDVExtraItemProperty Prop = dvepUnknown;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData& data) override;
};

class TDVUndoListInfo : public TDVUndoInfo {
 public:
  using TDVUndoInfo::TDVUndoInfo;
  std::vector<int32_t> List;
};

// Each item's old paragraph style, set back directly.
class TDVUndoParaListInfo : public TDVUndoListInfo {
 public:
  TDVUndoParaListInfo() : TDVUndoListInfo(dvuPara) {}
  bool FullReformat = false;
  int StartItemNo = 0;
  void Undo(TDVEditDVData& data) override;
  void SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData&) override { return FullReformat; }
};

// One paragraph style for a range of items (through the protection rules).
class TDVUndoParaInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoParaInfo() : TDVUndoItemNoInfo(dvuPara) {}
  bool FullReformat = false;
  int32_t ParaNo = 0;
  int Count = 0;
  void Undo(TDVEditDVData& data) override;
  void SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData&) override { return FullReformat; }
};

class TDVUndoTagInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoTagInfo() : TDVUndoItemNoInfo(dvuTag) {}
  TDVTag WasTag;
  bool TagsArePChars = false;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFormat() const override { return false; }
};

class TDVUndoStyleNoInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoStyleNoInfo() : TDVUndoItemNoInfo(dvuStyleNo) {}
  int32_t OldW = 0;
  int32_t WasStyleNo = 0;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData& data) override;
};

class TDVUndoAddCPInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoAddCPInfo() : TDVUndoItemNoInfo(dvuCheckpoint) {}
  void Undo(TDVEditDVData& data) override;
};

class TDVUndoDeleteCPInfo : public TDVUndoItemNoInfo {
 public:
  TDVUndoDeleteCPInfo() : TDVUndoItemNoInfo(dvuCheckpoint) {}
  std::unique_ptr<TDVCPInfo> Checkpoint;
  bool TagsArePChars = false;
  void Undo(TDVEditDVData& data) override;
};

class TDVUndoModifyItemInfo : public TDVUndoItemInfo {
 public:
  TDVUndoModifyItemInfo() : TDVUndoItemInfo(dvuModifyItem) {}
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat1(TDVEditDVData& data) override;
};

// The item put back may differ in size, so its paragraph is formatted again.
class TDVUndoReplaceItemInfo : public TDVUndoItemInfo {
 public:
  TDVUndoReplaceItemInfo() : TDVUndoItemInfo(dvuModifyItem) {}
  void Undo(TDVEditDVData& data) override;
};

class TDVUndoChangeTextInfo : public TDVUndoStringInfo {
 public:
  TDVUndoChangeTextInfo() : TDVUndoStringInfo(dvuChangeText) {}
  int32_t OldW = 0;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData& data) override;
};

// A change of an item's own properties. CheckWidth and NeedsFormat make it
// take part in the reformat decision.
class TDVUndoModifyItemProps : public TDVUndoItemNoInfo {
 public:
  explicit TDVUndoModifyItemProps(TDVUndoAction action = dvuModifyItem) : TDVUndoItemNoInfo(action) {}
  int32_t OldW = 0;
  bool CheckWidth = false;
  bool NeedsFormat = false;
  bool RequiresFormat() const override { return NeedsFormat; }
  bool RequiresFullReformat1(TDVEditDVData& data) override;
  bool RequiresFullReformat2(TDVEditDVData& data) override;
  // Copies what the opposite record needs from this one (nothing here).
  virtual void SetOppositeUndoInfoProps(TDVUndoModifyItemProps& /*undoInfo*/) {}
};

// Opens (Opening) or closes an item-modify bracket: undo treats the records
// between two brackets as one change of the item for reformatting.
class TDVUndoModifyItemTerminator : public TDVUndoModifyItemProps {
 public:
  TDVUndoModifyItemTerminator() {
    CheckWidth = true;
    NeedsFormat = true;
  }
  bool Opening = false;
  void Undo(TDVEditDVData& data) override;
};

// An integer property of the item (or of an object inside it) by name.
// Properties may change the item's size: the record takes part in the
// reformat decision unless a descendant says otherwise.
class TDVUndoModifyItemIntProperty : public TDVUndoModifyItemProps {
 public:
  TDVUndoModifyItemIntProperty() {
    CheckWidth = true;
    NeedsFormat = true;
  }
  TDVIntPropertyOwner* SubObject = nullptr;  // null: the item
  std::string PropertyName;
  int32_t OldValue = 0;
  void Undo(TDVEditDVData& data) override;
  // The record that undoing this one records (a class of the same kind).
  virtual std::unique_ptr<TDVUndoModifyItemIntProperty> CreateOpposite() const {
    return std::make_unique<TDVUndoModifyItemIntProperty>();
  }
};

// Several integer properties: "name=value" lines of the old values.
class TDVUndoModifyItemIntProperties : public TDVUndoModifyItemProps {
 public:
  TDVUndoModifyItemIntProperties() {
    CheckWidth = true;
    NeedsFormat = true;
  }
  TDVIntPropertyOwner* SubObject = nullptr;
  std::vector<std::string> PropList;
  void Undo(TDVEditDVData& data) override;
  virtual std::unique_ptr<TDVUndoModifyItemIntProperties> CreateOpposite() const {
    return std::make_unique<TDVUndoModifyItemIntProperties>();
  }
};

// A whole undo list of an item's own (a table cell's edits), undone a
// group at a time.
class TDVCompositeUndo : public TDVUndoInfo {
 public:
  explicit TDVCompositeUndo(TCustomDVData* ownerData)
      : TDVUndoInfo(dvuModifyItem), UndoList(std::make_unique<TDVUndoList>(ownerData)) {}
  int ItemNo = 0;
  std::unique_ptr<TDVUndoList> UndoList;
  void Undo(TDVEditDVData& data) override;
  bool RequiresFormat() const override { return false; }
  void SetItemsRange(int& startItemNo, int& endItemNo, TDVEditDVData& data) override;
  bool UsedUp() const override { return UndoList->Count() == 0; }
  // Records made in a hidden editor hold items of its data until they
  // reach the document that keeps them.
  void ChangeOwnerData(TCustomDVData* ownerData) override { UndoList->SetOwnerData(ownerData); }
};

}  // namespace quillet
