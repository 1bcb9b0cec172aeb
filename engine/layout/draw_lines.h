#pragma once
// Drawing items: the pieces of items that layout places on screen lines, and
// the list a formatted document keeps them in, in document order.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class TCustomDVData;

class TDVDrawLineInfo {
 public:
  TDVDrawLineInfo() = default;
  virtual ~TDVDrawLineInfo() = default;
  TDVDrawLineInfo(const TDVDrawLineInfo&) = delete;
  TDVDrawLineInfo& operator=(const TDVDrawLineInfo&) = delete;

  // A new drawing item of class T, set up through the virtual SetData and
  // SetSize so that a descendant's overrides are used.
  template <class T = TDVDrawLineInfo>
  static std::unique_ptr<T> CreateEx(int32_t left, int32_t top, int32_t width, int32_t height, int32_t itemNo,
                                     bool fromNewLine) {
    auto info = std::make_unique<T>();
    info->SetData(left, top, itemNo, fromNewLine);
    info->SetSize(width, height);
    return info;
  }

  virtual void SetData(int32_t left, int32_t top, int32_t itemNo, bool fromNewLine);
  virtual void SetSize(int32_t width, int32_t height);
  // Splitting over pages; only drawing items of tall content can split.
  virtual bool InitSplit() { return false; }
  virtual bool CanSplitFirst(int32_t /*y*/) { return false; }
  virtual bool SplitAt(int32_t /*y*/) { return false; }

  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  int32_t ItemNo = 0;
  // 1-based start and length of the piece within the item's text, in
  // characters (UTF-16 code units for a Unicode item, bytes otherwise).
  int32_t Offs = 1, Length = 1;
  int32_t SpaceBefore = 0, ExtraSpaceBelow = 0;
  bool FromNewLine = false;
};

// Owns its drawing items. Partial reformatting marks a range for deletion
// (MarkForDelete frees the items and leaves empty slots), refills the slots
// with Insert, and removes what is left with DeleteMarked. Marked slots hold
// null, never a freed object. The slots are kept with a gap of free room
// where the last edit was: an insertion or deletion moves only the slots
// between the gap and its place, never the rest of a long document.
class TDVDrawLines {
 public:
  TDVDrawLines() = default;
  TDVDrawLines(TDVDrawLines&&) = default;
  TDVDrawLines& operator=(TDVDrawLines&&) = default;

  int Count() const { return static_cast<int>(items_.size() - gapLen_); }
  // Null for a marked slot. A bad index raises the list index error.
  TDVDrawLineInfo* Items(int index) const {
    if (static_cast<size_t>(index) >= items_.size() - gapLen_) CheckIndex(index);
    return items_[Slot(index)].get();
  }
  TDVDrawLineInfo* operator[](int index) const { return Items(index); }
  TDVDrawLineInfo* Get(int index) const { return Items(index); }
  // Replaces (and frees) the item in the slot.
  void Put(int index, std::unique_ptr<TDVDrawLineInfo> item);

  int Add(std::unique_ptr<TDVDrawLineInfo> item);
  // While slots are marked, an Index anywhere from FirstMarked up to just
  // after the marked range fills the slot at FirstMarked: the item lands
  // after the ones already refilled and before the items that follow the
  // range, which is where it stays once DeleteMarked closes the gap. An
  // Index before the range is a normal insertion (the range moves up one);
  // after it, a normal insertion too. Without marks, a normal insertion.
  // When the marked slots are used up before DeleteMarked, an Index just
  // after the refilled ones is a normal insertion there.
  void Insert(int index, std::unique_ptr<TDVDrawLineInfo> item);
  // Frees the item and removes its slot.
  void Delete(int index);
  void Clear();
  int IndexOf(const TDVDrawLineInfo* item) const;

  // Frees the items first..last and keeps their slots. Last = first - 1
  // marks nothing. Marking again before DeleteMarked is an error: the slots
  // of the first range would be lost track of.
  void MarkForDelete(int first, int last);
  // Removes the marked slots that were not refilled.
  void DeleteMarked();
  // Removes the slots first..last; items still in them are freed with them
  // (the list owns them).
  void DeleteRange(int first, int last);
  int FirstMarked() const { return firstMarked_; }
  int MarkedCount() const { return markedCount_; }

  // The drawing item's characters Offs..Offs+Length-1 of its item's text,
  // two bytes per character for a Unicode item. Clamped to the text; empty
  // for a marked slot.
  std::string GetString(int index, const TCustomDVData& data) const;
  // From the 1-based position `from` within the drawing item, at most
  // `count` characters, never past the drawing item's end.
  std::string GetSubString(int index, const TCustomDVData& data, int from, int count) const;

 private:
  void CheckIndex(int index) const;
  size_t Slot(int index) const {
    return static_cast<size_t>(index) < gapStart_ ? static_cast<size_t>(index) : static_cast<size_t>(index) + gapLen_;
  }
  // Moves the gap to stand before index, at least `room` slots wide.
  void MoveGap(size_t index, size_t room);
  // Slots [0, gapStart_) and [gapStart_ + gapLen_, size) hold the list;
  // the gap's slots hold null.
  std::vector<std::unique_ptr<TDVDrawLineInfo>> items_;
  size_t gapStart_ = 0, gapLen_ = 0;
  int firstMarked_ = -1;
  int markedCount_ = 0;
  // Between MarkForDelete and DeleteMarked.
  bool marking_ = false;
};

}  // namespace quillet
