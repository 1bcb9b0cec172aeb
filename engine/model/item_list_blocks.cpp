// Block moves of the item list: an edit that inserts or removes many items
// (and its undo) shifts the entries after them once, not once per item.
#include <iterator>

#include "engine/base/dv_lists.h"
#include "engine/model/item_list.h"

namespace quillet {

void TDVItemList::InsertBlock(int index, TBlock block) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  std::vector<Entry> entries;
  entries.reserve(block.size());
  for (auto& [text, item] : block) entries.push_back(Entry{std::move(text), std::move(item)});
  entries_.insert(entries_.begin() + index, std::make_move_iterator(entries.begin()),
                  std::make_move_iterator(entries.end()));
}

TDVItemList::TBlock TDVItemList::TakeBlock(int first, int count) {
  TBlock block;
  if (count <= 0) return block;
  if (first < 0 || first + count > Count()) ThrowListIndexError(first < 0 ? first : first + count - 1);
  block.reserve(static_cast<size_t>(count));
  const auto begin = entries_.begin() + first, end = begin + count;
  for (auto it = begin; it != end; ++it) block.emplace_back(std::move(it->Text), std::move(it->Item));
  entries_.erase(begin, end);
  return block;
}

}  // namespace quillet
