// Block moves of the item list: an edit that inserts or removes many items
// (and its undo) moves the entries between the gap and the edit once, not
// once per item.
#include <iterator>

#include "engine/base/dv_lists.h"
#include "engine/model/item_list.h"

namespace quillet {

void TDVItemList::InsertBlock(int index, TBlock block) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  MoveGap(static_cast<size_t>(index), block.size());
  for (auto& [text, item] : block) {
    entries_[gapStart_] = Entry{std::move(text), std::move(item)};
    ++gapStart_;
    --gapLen_;
  }
}

TDVItemList::TBlock TDVItemList::TakeBlock(int first, int count) {
  TBlock block;
  if (count <= 0) return block;
  if (first < 0 || first + count > Count()) ThrowListIndexError(first < 0 ? first : first + count - 1);
  block.reserve(static_cast<size_t>(count));
  MoveGap(static_cast<size_t>(first + count), 0);
  for (size_t i = static_cast<size_t>(first); i < static_cast<size_t>(first + count); ++i) {
    block.emplace_back(std::move(entries_[i].Text), std::move(entries_[i].Item));
    entries_[i] = Entry{};
  }
  gapStart_ -= static_cast<size_t>(count);
  gapLen_ += static_cast<size_t>(count);
  return block;
}

}  // namespace quillet
