#include "engine/model/item_list.h"

#include <algorithm>
#include <iterator>

#include "engine/base/dv_lists.h"

namespace quillet {

void TDVItemList::BadIndex(int index) { ThrowListIndexError(index); }

void TDVItemList::MoveGap(size_t index, size_t room) {
  if (gapLen_ < room) {
    // Room for a run of insertions at once (a document read or pasted item
    // by item), so that the gap is not widened once per entry.
    const size_t grow = std::max({room - gapLen_, size_t{64}, entries_.size() / 8});
    std::vector<Entry> room(grow);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(gapStart_ + gapLen_),
                    std::make_move_iterator(room.begin()), std::make_move_iterator(room.end()));
    gapLen_ += grow;
  }
  // Without room the entries stay where they are (and none moves onto itself).
  if (gapLen_ == 0) {
    gapStart_ = index;
    return;
  }
  const auto at = [this](size_t i) { return entries_.begin() + static_cast<std::ptrdiff_t>(i); };
  if (index < gapStart_)
    std::move_backward(at(index), at(gapStart_), at(gapStart_ + gapLen_));
  else if (index > gapStart_)
    std::move(at(gapStart_ + gapLen_), at(index + gapLen_), at(gapStart_));
  gapStart_ = index;
}

void TDVItemList::Insert(int index, std::string text, std::unique_ptr<TCustomDVItemInfo> item) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  if (gapLen_ == 0 && static_cast<size_t>(index) == entries_.size()) {
    // Appending to a list without a gap: the vector grows as it would.
    entries_.push_back(Entry{std::move(text), std::move(item)});
    gapStart_ = entries_.size();
    return;
  }
  MoveGap(static_cast<size_t>(index), 1);
  entries_[gapStart_] = Entry{std::move(text), std::move(item)};
  ++gapStart_;
  --gapLen_;
}

void TDVItemList::Delete(int first, int count) {
  if (count <= 0) return;
  if (first < 0 || first + count > Count()) ThrowListIndexError(first < 0 ? first : first + count - 1);
  MoveGap(static_cast<size_t>(first + count), 0);
  for (size_t i = static_cast<size_t>(first); i < static_cast<size_t>(first + count); ++i) entries_[i] = Entry{};
  gapStart_ -= static_cast<size_t>(count);
  gapLen_ += static_cast<size_t>(count);
}

int TDVItemList::IndexOf(const TCustomDVItemInfo* item) const {
  const int count = Count();
  for (int i = 0; i < count; ++i)
    if (entries_[Slot(i)].Item.get() == item) {
      DVListSearchSteps() += static_cast<size_t>(i) + 1;
      return i;
    }
  DVListSearchSteps() += static_cast<size_t>(count);
  return -1;
}

TDVItemList TDVItemList::TakeFrom(int index) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  TDVItemList taken;
  if (index == 0) {
    taken.entries_.swap(entries_);
    std::swap(taken.gapStart_, gapStart_);
    std::swap(taken.gapLen_, gapLen_);
    return taken;
  }
  // The gap goes to the end, where it is dropped with the entries taken.
  MoveGap(static_cast<size_t>(Count()), 0);
  const auto from = entries_.begin() + index, to = entries_.begin() + Count();
  taken.entries_.assign(std::make_move_iterator(from), std::make_move_iterator(to));
  taken.gapStart_ = taken.entries_.size();
  entries_.erase(from, entries_.end());
  gapStart_ = entries_.size();
  gapLen_ = 0;
  return taken;
}

void TDVItemList::Append(TDVItemList&& other) {
  // Both gaps to the end first: neither moves the list's content.
  MoveGap(static_cast<size_t>(Count()), 0);
  other.MoveGap(static_cast<size_t>(other.Count()), 0);
  const size_t count = static_cast<size_t>(other.Count());
  if (count <= gapLen_) {
    std::move(other.entries_.begin(), other.entries_.begin() + static_cast<std::ptrdiff_t>(count),
              entries_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
    gapStart_ += count;
    gapLen_ -= count;
  } else {
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(gapStart_),
                    std::make_move_iterator(other.entries_.begin()),
                    std::make_move_iterator(other.entries_.begin() + static_cast<std::ptrdiff_t>(count)));
    gapStart_ += count;
  }
  other.Clear();
}

}  // namespace quillet
