#pragma once
// The engine's small containers: an owning object list, a list of integers
// and a list of colours.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/colors.h"

namespace quillet {

// A list that owns its objects: Delete and Clear free them.
template <class T>
class TDVList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  T* Items(int index) const { return items_[static_cast<size_t>(CheckedIndex(index))].get(); }
  T* operator[](int index) const { return Items(index); }
  int Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return Count() - 1;
  }
  void Insert(int index, std::unique_ptr<T> item) {
    items_.insert(items_.begin() + CheckedInsertIndex(index), std::move(item));
  }
  void Delete(int index) { items_.erase(items_.begin() + CheckedIndex(index)); }
  // Removes the entry without freeing: ownership goes to the caller.
  std::unique_ptr<T> DeleteAsPointer(int index) {
    auto it = items_.begin() + CheckedIndex(index);
    std::unique_ptr<T> item = std::move(*it);
    items_.erase(it);
    return item;
  }
  void Clear() { items_.clear(); }
  int IndexOf(const T* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
  }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  int CheckedIndex(int index) const;
  int CheckedInsertIndex(int index) const;
  std::vector<std::unique_ptr<T>> items_;
};

// A bad list index raises EDocViewError with the class library's text,
// "List index out of bounds (N)", so the engine's callers catch one kind of error.
[[noreturn]] void ThrowListIndexError(int index);

// The entries that searches of the document's item and marker lists have
// visited in this thread. A load, insertion or drain that searched a list once
// per item would make it grow with the square of the document; tests hold
// those paths to linear work with it instead of timing them.
inline uint64_t& DVListSearchSteps() {
  thread_local uint64_t steps = 0;
  return steps;
}

template <class T>
int TDVList<T>::CheckedIndex(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return index;
}
template <class T>
int TDVList<T>::CheckedInsertIndex(int index) const {
  if (index < 0 || index > Count()) ThrowListIndexError(index);
  return index;
}

class TDVIntegerList {
 public:
  TDVIntegerList() = default;
  // Count copies of Value.
  static TDVIntegerList CreateEx(int count, int32_t value);
  static TDVIntegerList CreateCopy(const TDVIntegerList& source) { return source; }
  virtual ~TDVIntegerList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  int Add(int32_t value);
  void Insert(int index, int32_t value);
  void Delete(int index);
  void Clear() { items_.clear(); }
  int32_t Get(int index) const;
  void Put(int index, int32_t value);
  int32_t operator[](int index) const { return Get(index); }
  int IndexOf(int32_t value) const;
  // Clears, then copies all values in order.
  void Assign(const TDVIntegerList& source) { items_ = source.items_; }
  // The index of Value, appended first when absent.
  int AddUnique(int32_t value);
  // Ascending. Compares, never subtracts: the difference of two colours overflows.
  void Sort();
  const std::vector<int32_t>& Values() const { return items_; }

 protected:
  std::vector<int32_t> items_;
};

class TDVColorList : public TDVIntegerList {
 public:
  // Adds a colour not yet present; clNone is never added. Answers its index, -1 for clNone.
  int AddUnique(TColor color);
};

}  // namespace quillet
