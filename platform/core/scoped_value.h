#pragma once
// Sets a flag, mode or value for the duration of a scope and restores what it
// was before on every way out, exceptions included.
#include <utility>

namespace quillet {

template <class T>
class TScopedValue {
 public:
  TScopedValue(T& target, T value) : target_(target), saved_(std::move(target)) { target_ = std::move(value); }
  ~TScopedValue() { target_ = std::move(saved_); }
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;

 private:
  T& target_;
  T saved_;
};

// Sets the bits of a flag set for the scope; restores the set as it was.
template <class T>
class TScopedFlags {
 public:
  TScopedFlags(T& target, T flags) : target_(target), saved_(target) { target_ = static_cast<T>(target_ | flags); }
  ~TScopedFlags() { target_ = saved_; }
  TScopedFlags(const TScopedFlags&) = delete;
  TScopedFlags& operator=(const TScopedFlags&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace quillet
