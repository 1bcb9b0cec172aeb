#pragma once
// Undo and redo: the list of groups (one per user-level operation), the
// group, and the abstract record. Undoing a group replays its records from
// the last to the first through the editing primitives, which record their
// own inverses into the other list.
#include <cstdint>
#include <string>

#include "editing/undo/undo_types.h"
#include "engine/base/dv_lists.h"

namespace quillet {

class TCustomDVData;
class TDVEditDVData;
class TDVUndoList;

// A recorded change. The reformat answers let undo decide between
// formatting the touched paragraphs and the whole document.
class TDVUndoInfo {
 public:
  explicit TDVUndoInfo(TDVUndoAction action) : Action(action) {}
  virtual ~TDVUndoInfo() = default;
  TDVUndoInfo(const TDVUndoInfo&) = delete;
  TDVUndoInfo& operator=(const TDVUndoInfo&) = delete;

  TDVUndoAction Action;
  // The list whose group holds the record; set when it is added.
  TDVUndoList* FUndoList = nullptr;
  TCustomDVData* GetUndoListOwnerDVData() const;

  // Asked before the record is undone, and after.
  virtual bool RequiresFullReformat1(TDVEditDVData& /*data*/) { return false; }
  virtual bool RequiresFullReformat2(TDVEditDVData& /*data*/) { return false; }
  virtual bool RequiresFormat() const { return true; }
  virtual void Undo(TDVEditDVData& data) = 0;
  // The items the undo touches, in the document as it is before the undo.
  virtual void SetItemsRange(int& /*startItemNo*/, int& /*endItemNo*/, TDVEditDVData& /*data*/) {}
  // Items the undo adds (negative: removes).
  virtual int ItemsAdded() const { return 0; }
  // Whether the record still has something to undo (typing records are
  // undone a character at a time).
  virtual bool UsedUp() const { return true; }
  // The record moved into a list of another document's data (a cell's
  // changes kept by the document that holds the table).
  virtual void ChangeOwnerData(TCustomDVData* /*ownerData*/) {}
};

// A group: the records of one operation in the order they were made.
class TDVUndoInfos : public TDVList<TDVUndoInfo> {
 public:
  std::string Caption;
  TDVUndoType UndoType = dvutNone;
  // The caret when the group began; it returns there after undo or redo.
  int CaretItemNo = -1;
  int32_t CaretOffs = -1;

  // Through the data's redo sequence (Undo) or undo sequence (Redo).
  void Undo(TDVEditDVData& data, bool reformat);
  void Redo(TDVEditDVData& data, bool reformat);
  void PerformUndo(TDVEditDVData& data, bool reformat);
  bool CanDelete() const;
  // The records now belong to list (and to its data).
  void ChangeUndoList(TDVUndoList* list);
  // A group of exactly one typing record never receives other records.
  bool IsTypingGroup() const;
};

class TDVUndoList : public TDVList<TDVUndoInfos> {
 public:
  explicit TDVUndoList(TCustomDVData* ownerData) : ownerData_(ownerData) {}
  TCustomDVData* OwnerData() const { return ownerData_; }
  // The list and every record in it now belong to ownerData.
  void SetOwnerData(TCustomDVData* ownerData);

  // -1: unlimited; 0: nothing is recorded; N: at most N groups.
  int Limit = -1;
  // While 1 or more, successive sequences go into the same group.
  int GroupModeCount = 0;

  TDVUndoInfos* Top() const { return Count() > 0 ? Items(Count() - 1) : nullptr; }
  // Opens a group; false when nothing is to be recorded.
  bool BeginItem(TDVUndoType undoType, const std::string& caption, int caretItemNo, int32_t caretOffs);
  // "Can't modify empty undo list" without a group, "Incorrect adding into
  // undo list" into a typing group.
  void AddInfo(std::unique_ptr<TDVUndoInfo> info);
  void AddInfos(std::unique_ptr<TDVUndoInfos> infos);
  // One typed character at offs; joins the top typing record when it
  // continues it.
  void AddTyping(int itemNo, int32_t offs, bool unicode);
  // One character taken back by undo (s: its bytes); offs is the caret
  // after it.
  void AddUntyping(const std::string& s, int itemNo, int32_t offs);
  void PopIfEmpty();
  void Pop();
  // "Undo buffer is empty" on an empty list.
  void Undo(TDVEditDVData& data);
  void Redo(TDVEditDVData& data);
  TDVUndoType CurrentUndoType() const;
  std::string CurrentUndoCaption() const;

 private:
  void FreeEmptyTop();
  TCustomDVData* ownerData_;
};

}  // namespace quillet
