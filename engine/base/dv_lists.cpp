#include "engine/base/dv_lists.h"

#include <algorithm>
#include <string>

#include "engine/base/doc_view_error.h"

namespace quillet {

void ThrowListIndexError(int index) {
  throw EDocViewError("List index out of bounds (" + std::to_string(index) + ")");
}

TDVIntegerList TDVIntegerList::CreateEx(int count, int32_t value) {
  TDVIntegerList list;
  if (count > 0) list.items_.assign(static_cast<size_t>(count), value);
  return list;
}

int TDVIntegerList::Add(int32_t value) {
  items_.push_back(value);
  return Count() - 1;
}

void TDVIntegerList::Insert(int index, int32_t value) {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  items_.insert(items_.begin() + index, value);
}

void TDVIntegerList::Delete(int index) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  items_.erase(items_.begin() + index);
}

int32_t TDVIntegerList::Get(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return items_[static_cast<size_t>(index)];
}

void TDVIntegerList::Put(int index, int32_t value) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  items_[static_cast<size_t>(index)] = value;
}

int TDVIntegerList::IndexOf(int32_t value) const {
  auto it = std::find(items_.begin(), items_.end(), value);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TDVIntegerList::AddUnique(int32_t value) {
  int index = IndexOf(value);
  return index >= 0 ? index : Add(value);
}

void TDVIntegerList::Sort() {
  // std::sort with operator<: a comparison, so system colours (negative values)
  // next to large positive ones cannot overflow as a difference would.
  std::sort(items_.begin(), items_.end());
}

int TDVColorList::AddUnique(TColor color) {
  if (color == clNone) return -1;
  return TDVIntegerList::AddUnique(color);
}

}  // namespace quillet
