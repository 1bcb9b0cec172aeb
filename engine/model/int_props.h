#pragma once
// Integer properties set and read by name: one table per class (name,
// getter, setter). Undo of a property change sets the old value back by its
// name, and the table item's stream stores its properties through the same
// table.
#include <cstdint>
#include <span>
#include <string_view>

namespace quillet {

template <class T>
struct TDVIntProp {
  std::string_view Name;
  int32_t (*Get)(const T&);
  // False when the value is out of the property's range (nothing is set).
  bool (*Set)(T&, int32_t);
};

template <class T>
using TDVIntProps = std::span<const TDVIntProp<T>>;

template <class T>
const TDVIntProp<T>* FindIntProp(TDVIntProps<T> props, std::string_view name) {
  for (const auto& p : props)
    if (p.Name == name) return &p;
  return nullptr;
}

// What has integer properties by name: items, and objects inside items
// (the cells of a table).
class TDVIntPropertyOwner {
 public:
  virtual ~TDVIntPropertyOwner() = default;
  // False when there is no property of that name.
  virtual bool GetIntPropertyByName(std::string_view /*name*/, int32_t& /*value*/) const { return false; }
  // False when there is none or the value is refused.
  virtual bool SetIntPropertyByName(std::string_view /*name*/, int32_t /*value*/) { return false; }

 protected:
  // The lookups of a class with its own table; a name it lacks goes on to
  // the base class (the caller's fallback).
  template <class T>
  static bool GetFrom(TDVIntProps<T> props, const T& object, std::string_view name, int32_t& value) {
    const TDVIntProp<T>* p = FindIntProp(props, name);
    if (!p) return false;
    value = p->Get(object);
    return true;
  }
  // 1: set, 0: refused, -1: not in the table.
  template <class T>
  static int SetIn(TDVIntProps<T> props, T& object, std::string_view name, int32_t value) {
    const TDVIntProp<T>* p = FindIntProp(props, name);
    if (!p) return -1;
    return p->Set(object, value) ? 1 : 0;
  }
  // The class's own table, then its base class's properties.
  template <class T, class Base>
  static bool GetWithBase(TDVIntProps<T> props, const T& object, std::string_view name, int32_t& value) {
    return GetFrom(props, object, name, value) || object.Base::GetIntPropertyByName(name, value);
  }
  template <class T, class Base>
  static bool SetWithBase(TDVIntProps<T> props, T& object, std::string_view name, int32_t value) {
    const int r = SetIn(props, object, name, value);
    return r < 0 ? object.Base::SetIntPropertyByName(name, value) : r == 1;
  }
};

}  // namespace quillet
