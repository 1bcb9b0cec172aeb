#pragma once
// The stored properties of the style classes, one table per class: each entry
// names a published property and knows whether it is stored, how its value is
// written and how it is read back into its field. Writing walks a table in
// order; reading looks names up in it. Shared by the text, paragraph and
// list style streams.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/style/list_style.h"
#include "engine/style/style_base.h"
#include "platform/core/property_stream.h"

namespace quillet {

// What reading needs beyond the bytes: where list levels look their image
// lists up (the document whose stream is being read), or nowhere.
struct TStyleReadContext {
  TDVImageListLookup imageListNeeded;
};

template <class T>
struct TStoredProp {
  std::string_view name;
  std::function<bool(const T&)> stored;
  std::function<void(TPropWriter&, const T&)> write;  // the value, without the name
  std::function<void(TPropReader&, T&, const TStyleReadContext&)> read;
};

template <class T>
using TStoredProps = std::vector<TStoredProp<T>>;

// The stored properties in table order.
template <class T>
void WriteStoredProps(TPropWriter& writer, const TStoredProps<T>& props, const T& object) {
  for (const auto& p : props) {
    if (!p.stored(object)) continue;
    writer.WritePropName(p.name);
    p.write(writer, object);
  }
}

// Reads one property whose name has been read. Unknown names (properties of
// other versions) are skipped; false when the name is not in the table.
template <class T>
bool ReadStoredProp(TPropReader& reader, std::string_view name, const TStoredProps<T>& props, T& object,
                    const TStyleReadContext& context) {
  for (const auto& p : props) {
    if (p.name != name) continue;
    p.read(reader, object, context);
    return true;
  }
  return false;
}

// The name of every member of an enumeration or a set, in ordinal order.
using TIdentNames = std::span<const std::string_view>;

// The ordinal of a name, matched without regard to ASCII case; a name the
// type does not have is a read error.
int IdentOrdinal(TPropReader& reader, std::string_view ident, TIdentNames names);

// Field is the type of what get returns a reference to. Integers of a field
// narrower than 32 bits that do not fit it are a read error.
template <class T, class Get>
TStoredProp<T> IntProp(std::string_view name, Get get, int32_t def) {
  using Field = std::remove_cvref_t<decltype(get(std::declval<T&>()))>;
  return {name, [get, def](const T& o) { return static_cast<int32_t>(get(o)) != def; },
          [get](TPropWriter& w, const T& o) { w.WriteInteger(static_cast<int32_t>(get(o))); },
          [get](TPropReader& r, T& o, const TStyleReadContext&) {
            const int32_t v = r.ReadInteger();
            if (v < std::numeric_limits<Field>::min() || v > std::numeric_limits<Field>::max())
              r.Fail("value " + std::to_string(v) + " out of range");
            get(o) = static_cast<Field>(v);
          }};
}

// An integer that is brought into [lo, hi] when read.
template <class T, class Get>
TStoredProp<T> ClampedIntProp(std::string_view name, Get get, int32_t def, int32_t lo, int32_t hi) {
  TStoredProp<T> p = IntProp<T>(name, get, def);
  p.read = [get, lo, hi](TPropReader& r, T& o, const TStyleReadContext&) {
    get(o) = std::clamp(r.ReadInteger(), lo, hi);
  };
  return p;
}

template <class T, class Get>
TStoredProp<T> BoolProp(std::string_view name, Get get, bool def) {
  return {name, [get, def](const T& o) { return get(o) != def; },
          [get](TPropWriter& w, const T& o) { w.WriteBoolean(get(o)); },
          [get](TPropReader& r, T& o, const TStyleReadContext&) { get(o) = r.ReadBoolean(); }};
}

template <class T, class Get>
TStoredProp<T> ColorProp(std::string_view name, Get get, TColor def) {
  return {name, [get, def](const T& o) { return get(o) != def; },
          [get](TPropWriter& w, const T& o) { w.WriteColor(get(o)); },
          [get](TPropReader& r, T& o, const TStyleReadContext&) { get(o) = r.ReadColor(); }};
}

// def < 0: no declared default, always stored.
template <class T, class Get>
TStoredProp<T> CharsetProp(std::string_view name, Get get, int def) {
  return {name, [get, def](const T& o) { return def < 0 || get(o) != def; },
          [get](TPropWriter& w, const T& o) { w.WriteCharset(get(o)); },
          [get](TPropReader& r, T& o, const TStyleReadContext&) { get(o) = static_cast<uint8_t>(r.ReadCharset()); }};
}

// Written even when empty: every string property of the styles starts
// non-empty, so leaving an empty one out would read back as that start value.
template <class T, class Get>
TStoredProp<T> StringProp(std::string_view name, Get get) {
  return {name, [](const T&) { return true; }, [get](TPropWriter& w, const T& o) { w.WriteString(get(o)); },
          [get](TPropReader& r, T& o, const TStyleReadContext&) { get(o) = r.ReadString(); }};
}

template <class T, class Get>
TStoredProp<T> EnumProp(std::string_view name, Get get, int def, TIdentNames names) {
  using Field = std::remove_cvref_t<decltype(get(std::declval<T&>()))>;
  return {name, [get, def](const T& o) { return static_cast<int>(get(o)) != def; },
          [get, names](TPropWriter& w, const T& o) {
            const auto ordinal = static_cast<size_t>(get(o));
            if (ordinal >= names.size()) throw EWriteError("Property stream: enumeration value out of range");
            w.WriteIdent(names[ordinal]);
          },
          [get, names](TPropReader& r, T& o, const TStyleReadContext&) {
            get(o) = static_cast<Field>(IdentOrdinal(r, r.ReadIdent(), names));
          }};
}

// A set held as bits, member n in bit n. def < 0: no declared default,
// always stored.
template <class T, class Get>
TStoredProp<T> SetProp(std::string_view name, Get get, int def, TIdentNames names) {
  using Field = std::remove_cvref_t<decltype(get(std::declval<T&>()))>;
  return {name, [get, def](const T& o) { return def < 0 || static_cast<int>(get(o)) != def; },
          [get, names](TPropWriter& w, const T& o) {
            std::vector<std::string> members;
            for (size_t i = 0; i < names.size(); ++i)
              if (static_cast<unsigned>(get(o)) & (1u << i)) members.emplace_back(names[i]);
            w.WriteSet(members);
          },
          [get, names](TPropReader& r, T& o, const TStyleReadContext&) {
            unsigned bits = 0;
            for (const std::string& member : r.ReadSet()) bits |= 1u << IdentOrdinal(r, member, names);
            get(o) = static_cast<Field>(bits);
          }};
}

// The entry stored only while present(object) holds as well (a part that
// exists only once it has been asked for).
template <class T, class Present>
TStoredProp<T> Within(TStoredProp<T> prop, Present present) {
  prop.stored = [present, stored = std::move(prop.stored)](const T& o) { return present(o) && stored(o); };
  return prop;
}

// The published properties of every style (the base class's), and those of
// list styles beyond them.
const TStoredProps<TCustomDVInfo>& BaseStyleProps();
class TDVListInfo;
const TStoredProps<TDVListInfo>& ListStyleProps();

// One style's property list up to and including its Null: the base
// properties, then the class's own.
template <class T>
void ReadStyleProps(TPropReader& reader, T& style, const TStoredProps<T>& own, const TStyleReadContext& context) {
  while (!reader.EndOfList()) {
    const std::string name = reader.ReadPropName();
    if (!ReadStoredProp<TCustomDVInfo>(reader, name, BaseStyleProps(), style, context) &&
        !ReadStoredProp(reader, name, own, style, context))
      reader.SkipValue();
  }
  reader.ReadListEnd();
}

template <class T>
void WriteStyleProps(TPropWriter& writer, const T& style, const TStoredProps<T>& own) {
  WriteStoredProps<TCustomDVInfo>(writer, BaseStyleProps(), style);
  WriteStoredProps(writer, own, style);
  writer.WriteListEnd();
}

}  // namespace quillet
