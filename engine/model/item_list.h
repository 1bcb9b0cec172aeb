#pragma once
// The item list of a document: entry i holds item i's text and the item.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/item_info.h"

namespace quillet {

// The entries are kept with a gap of free room where the last insertion or
// deletion was: typing into a long document moves only the entries between
// the gap and the caret, never all those after it.
class TDVItemList {
 public:
  int Count() const { return static_cast<int>(entries_.size() - gapLen_); }
  bool Empty() const { return Count() == 0; }

  const std::string& Text(int index) const { return entries_[Checked(index)].Text; }
  std::string& MutableText(int index) { return entries_[Checked(index)].Text; }
  void SetText(int index, std::string text) { entries_[Checked(index)].Text = std::move(text); }
  // Null only while an entry's item is being freed or moved.
  TCustomDVItemInfo* Item(int index) const { return entries_[Checked(index)].Item.get(); }
  TCustomDVItemInfo* Last() const { return Empty() ? nullptr : entries_[Slot(Count() - 1)].Item.get(); }

  void Add(std::string text, std::unique_ptr<TCustomDVItemInfo> item) { Insert(Count(), std::move(text), std::move(item)); }
  void Insert(int index, std::string text, std::unique_ptr<TCustomDVItemInfo> item);
  // Puts an item into an entry that has none (after TakeItem).
  void PutItem(int index, std::unique_ptr<TCustomDVItemInfo> item) { entries_[Checked(index)].Item = std::move(item); }
  // Takes the item out of its entry, which stays with no item.
  std::unique_ptr<TCustomDVItemInfo> TakeItem(int index) { return std::move(entries_[Checked(index)].Item); }
  // Removes count entries from first, freeing any items still in them.
  void Delete(int first, int count = 1);
  void Clear() {
    entries_.clear();
    gapStart_ = gapLen_ = 0;
  }
  void Reserve(int count) { entries_.reserve(static_cast<size_t>(std::max(count, 0)) + gapLen_); }
  // Hands the entries from index on over at once; this list keeps its room.
  TDVItemList TakeFrom(int index);
  // Moves every entry of other to the end; when memory runs out, neither
  // list changes.
  void Append(TDVItemList&& other);
  // A linear search: never once per item of a pass over the document.
  int IndexOf(const TCustomDVItemInfo* item) const;

  // ---- moving blocks of entries (editing and its undo) ----
  // A run of entries in document order, as a block moves in or out.
  using TBlock = std::vector<std::pair<std::string, std::unique_ptr<TCustomDVItemInfo>>>;
  // Inserts the block before index in one move of the entries after it.
  void InsertBlock(int index, TBlock block);
  // Removes count entries from first and hands them over in order.
  TBlock TakeBlock(int first, int count);

 private:
  struct Entry {
    std::string Text;
    std::unique_ptr<TCustomDVItemInfo> Item;
  };
  size_t Slot(int index) const {
    return static_cast<size_t>(index) < gapStart_ ? static_cast<size_t>(index) : static_cast<size_t>(index) + gapLen_;
  }
  // Inline: every item access of layout and editing passes here.
  size_t Checked(int index) const {
    if (static_cast<size_t>(index) >= entries_.size() - gapLen_) BadIndex(index);
    return Slot(index);
  }
  [[noreturn]] static void BadIndex(int index);
  // Moves the gap to stand before index, at least `room` entries wide.
  void MoveGap(size_t index, size_t room);
  // Entries [0, gapStart_) and [gapStart_ + gapLen_, size) hold the list;
  // the gap's entries are empty.
  std::vector<Entry> entries_;
  size_t gapStart_ = 0, gapLen_ = 0;
};

}  // namespace quillet
