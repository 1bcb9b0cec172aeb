#pragma once
// A reference to an object someone else owns that reads as none once the
// object is going. The object hands out a weak token of its lifetime
// (Lifetime()), which expires when it is destroyed.
#include <memory>

namespace quillet {

template <class T>
class TLifetimeRef {
 public:
  TLifetimeRef() = default;
  TLifetimeRef(T* object) { *this = object; }  // NOLINT: converts like a pointer
  TLifetimeRef& operator=(T* object) {
    object_ = object;
    life_ = object ? object->Lifetime() : std::weak_ptr<void>();
    return *this;
  }
  T* get() const { return life_.expired() ? nullptr : object_; }

 private:
  T* object_ = nullptr;
  std::weak_ptr<void> life_;
};

}  // namespace quillet
