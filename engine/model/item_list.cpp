#include "engine/model/item_list.h"

#include <iterator>

#include "engine/base/dv_lists.h"

namespace quillet {

void TDVItemList::BadIndex(int index) { ThrowListIndexError(index); }

void TDVItemList::Insert(int index, std::string text, std::unique_ptr<TCustomDVItemInfo> item) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  entries_.insert(entries_.begin() + index, Entry{std::move(text), std::move(item)});
}

void TDVItemList::Delete(int first, int count) {
  if (count <= 0) return;
  if (first < 0 || first + count > Count()) ThrowListIndexError(first < 0 ? first : first + count - 1);
  entries_.erase(entries_.begin() + first, entries_.begin() + first + count);
}

int TDVItemList::IndexOf(const TCustomDVItemInfo* item) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Item.get() == item) {
      DVListSearchSteps() += i + 1;
      return static_cast<int>(i);
    }
  DVListSearchSteps() += entries_.size();
  return -1;
}

TDVItemList TDVItemList::TakeFrom(int index) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  TDVItemList taken;
  if (index == 0) {
    taken.entries_.swap(entries_);
    return taken;
  }
  const auto from = entries_.begin() + index;
  taken.entries_.assign(std::make_move_iterator(from), std::make_move_iterator(entries_.end()));
  entries_.erase(from, entries_.end());
  return taken;
}

void TDVItemList::Append(TDVItemList&& other) {
  entries_.insert(entries_.end(), std::make_move_iterator(other.entries_.begin()),
                  std::make_move_iterator(other.entries_.end()));
  other.entries_.clear();
}

}  // namespace quillet
