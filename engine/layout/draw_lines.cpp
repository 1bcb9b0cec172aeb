#include "engine/layout/draw_lines.h"

#include <algorithm>
#include <iterator>

#include "engine/base/doc_view_error.h"
#include "engine/base/dv_lists.h"
#include "engine/model/dv_data.h"

namespace quillet {

void TDVDrawLineInfo::SetData(int32_t left, int32_t top, int32_t itemNo, bool fromNewLine) {
  Left = left;
  Top = top;
  ItemNo = itemNo;
  FromNewLine = fromNewLine;
}

void TDVDrawLineInfo::SetSize(int32_t width, int32_t height) {
  Width = width;
  Height = height;
}

void TDVDrawLines::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
}

void TDVDrawLines::MoveGap(size_t index, size_t room) {
  if (gapLen_ < room) {
    // Room for a run of insertions at once, so that a long one (an undone
    // deletion) does not widen the gap once per item.
    const size_t grow = std::max({room - gapLen_, size_t{64}, items_.size() / 8});
    std::vector<std::unique_ptr<TDVDrawLineInfo>> slots(grow);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(gapStart_ + gapLen_),
                  std::make_move_iterator(slots.begin()), std::make_move_iterator(slots.end()));
    gapLen_ += grow;
  }
  // Without room the entries stay where they are (and none moves onto itself).
  if (gapLen_ == 0) {
    gapStart_ = index;
    return;
  }
  const auto at = [this](size_t i) { return items_.begin() + static_cast<std::ptrdiff_t>(i); };
  if (index < gapStart_)
    std::move_backward(at(index), at(gapStart_), at(gapStart_ + gapLen_));
  else if (index > gapStart_)
    std::move(at(gapStart_ + gapLen_), at(index + gapLen_), at(gapStart_));
  gapStart_ = index;
}

void TDVDrawLines::Put(int index, std::unique_ptr<TDVDrawLineInfo> item) {
  CheckIndex(index);
  items_[Slot(index)] = std::move(item);
}

int TDVDrawLines::Add(std::unique_ptr<TDVDrawLineInfo> item) {
  if (gapLen_ == 0) {
    items_.push_back(std::move(item));
    gapStart_ = items_.size();
  } else {
    Insert(Count(), std::move(item));
  }
  return Count() - 1;
}

void TDVDrawLines::Insert(int index, std::unique_ptr<TDVDrawLineInfo> item) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  if (markedCount_ > 0 && index >= firstMarked_ && index <= firstMarked_ + markedCount_) {
    // Any place inside the empty range, or just after it, ends up at the
    // same spot once the range is closed: reuse its first slot.
    items_[Slot(firstMarked_)] = std::move(item);
    ++firstMarked_;
    --markedCount_;
    return;
  }
  if (marking_ && (index < firstMarked_ || (markedCount_ == 0 && index == firstMarked_))) ++firstMarked_;
  MoveGap(static_cast<size_t>(index), 1);
  items_[gapStart_] = std::move(item);
  ++gapStart_;
  --gapLen_;
}

void TDVDrawLines::Delete(int index) {
  CheckIndex(index);
  DeleteRange(index, index);
}

void TDVDrawLines::Clear() {
  items_.clear();
  gapStart_ = gapLen_ = 0;
  firstMarked_ = -1;
  markedCount_ = 0;
  marking_ = false;
}

int TDVDrawLines::IndexOf(const TDVDrawLineInfo* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[Slot(i)].get() == item) return i;
  return -1;
}

void TDVDrawLines::MarkForDelete(int first, int last) {
  if (markedCount_ > 0) throw EDocViewError("Drawing items are already marked for deletion");
  if (first < 0 || first > Count()) ThrowListIndexError(first);
  if (last < first - 1 || last >= Count()) ThrowListIndexError(last);
  for (int i = first; i <= last; ++i) items_[Slot(i)].reset();
  firstMarked_ = first;
  markedCount_ = last - first + 1;
  marking_ = true;
}

void TDVDrawLines::DeleteMarked() {
  if (markedCount_ > 0) DeleteRange(firstMarked_, firstMarked_ + markedCount_ - 1);
  markedCount_ = 0;
  marking_ = false;
}

void TDVDrawLines::DeleteRange(int first, int last) {
  if (last < first) return;
  CheckIndex(first);
  CheckIndex(last);
  // The gap moves to just after the range and takes it in.
  MoveGap(static_cast<size_t>(last) + 1, 0);
  const size_t count = static_cast<size_t>(last - first) + 1;
  for (size_t i = static_cast<size_t>(first); i <= static_cast<size_t>(last); ++i) items_[i].reset();
  gapStart_ -= count;
  gapLen_ += count;
  if (markedCount_ > 0) {
    // Keep the marked range pointing at the same empty slots.
    const int markEnd = firstMarked_ + markedCount_;  // exclusive
    const int overlap = std::max(0, std::min(markEnd, last + 1) - std::max(firstMarked_, first));
    const int removedBefore = std::max(0, std::min(firstMarked_, last + 1) - first);
    firstMarked_ -= removedBefore;
    markedCount_ -= overlap;
  }
}

namespace {

// The bytes of characters [start, start + count) (0-based), `unit` bytes per
// character, clamped to the whole characters the text holds.
std::string CopyChars(const std::string& text, int64_t start, int64_t count, int64_t unit) {
  const int64_t available = static_cast<int64_t>(text.size()) / unit;
  if (start < 0) {
    count += start;
    start = 0;
  }
  if (count <= 0 || start >= available) return {};
  count = std::min(count, available - start);
  return text.substr(static_cast<size_t>(start * unit), static_cast<size_t>(count * unit));
}

}  // namespace

std::string TDVDrawLines::GetString(int index, const TCustomDVData& data) const {
  const TDVDrawLineInfo* info = Items(index);
  if (info == nullptr) return {};
  const int64_t unit = (data.GetItemOptions(info->ItemNo) & dvioUnicode) ? 2 : 1;
  return CopyChars(data.GetItemTextR(info->ItemNo), int64_t{info->Offs} - 1, info->Length, unit);
}

std::string TDVDrawLines::GetSubString(int index, const TCustomDVData& data, int from, int count) const {
  const TDVDrawLineInfo* info = Items(index);
  if (info == nullptr) return {};
  if (from < 1) from = 1;
  const int64_t left = int64_t{info->Length} - (from - 1);
  const int64_t unit = (data.GetItemOptions(info->ItemNo) & dvioUnicode) ? 2 : 1;
  return CopyChars(data.GetItemTextR(info->ItemNo), int64_t{info->Offs} - 1 + (from - 1),
                   std::min<int64_t>(count, left), unit);
}

}  // namespace quillet
