#pragma once
// The class library's binary property stream: tagged values, properties,
// collections and components. Style collections, control bodies and the
// table item's component are stored in it. The reader trusts nothing it reads:
// every length is checked against the bytes that are there before anything is
// allocated, nesting is bounded, and any fault raises EPropStreamError.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/code_page.h"
#include "platform/core/colors.h"
#include "platform/core/stream.h"

namespace quillet {

// The tag byte before every value.
enum class TValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaDouble = 21,
};

// Component prefix flags; the prefix byte is 0xF0 | flags.
constexpr uint8_t ffInherited = 0x01, ffChildPos = 0x02, ffInline = 0x04;

// The first four bytes of a whole component stream.
constexpr std::string_view kPropStreamSignature = "TPF0";

// Deepest nesting of lists, collections and components the reader follows.
constexpr int kMaxPropNesting = 64;

// Every fault the reader finds. The message starts "Invalid property stream: ".
class EPropStreamError : public EReadError {
 public:
  explicit EPropStreamError(const std::string& detail);
};

// Named integers. Idents are matched without regard to ASCII case.
std::optional<std::string_view> ColorToIdent(TColor color);
std::optional<TColor> IdentToColor(std::string_view ident);
std::optional<std::string_view> CharsetToIdent(int charset);
std::optional<int> IdentToCharset(std::string_view ident);

// 80-bit x87 extended floats, little-endian, converted bit by bit so that the
// host's long double does not matter. To double: rounded to nearest, ties to
// even; too large gives infinity, too small zero. From double: exact.
using TExtended80 = std::array<uint8_t, 10>;
TExtended80 DoubleToExtended(double value);
double ExtendedToDouble(const TExtended80& bytes);

class TPropWriter {
 public:
  explicit TPropWriter(TStream& stream) : stream_(stream) {}
  TStream& Stream() { return stream_; }

  void WriteSignature();
  // Written only when some flag is set; childPos follows when ffChildPos is set.
  void WritePrefix(uint8_t flags, int32_t childPos = 0);
  // A short string with no tag (names). EWriteError past 255 bytes.
  void WriteStr(std::string_view s);
  void WritePropName(std::string_view name) { WriteStr(name); }
  void WriteValueType(TValueType type);

  // Smallest of Int8, Int16, Int32.
  void WriteInteger(int32_t value);
  // A 64-bit property: the same, with Int64 only when the value needs it.
  void WriteInt64(int64_t value);
  // String up to 255 bytes, LString beyond.
  void WriteString(std::string_view s);
  void WriteWideString(std::u16string_view s);
  void WriteUTF8String(std::string_view s);
  void WriteBoolean(bool value);
  // "False", "True", "Null" and "nil" (any case) become those tags.
  void WriteIdent(std::string_view ident);
  void WriteSet(std::initializer_list<std::string_view> names);
  void WriteSet(const std::vector<std::string>& names);
  void WriteBinary(std::span<const uint8_t> bytes);
  void WriteExtended(double value);
  void WriteSingle(float value);
  void WriteDouble(double value);
  // The 64-bit integer scaled by 10,000.
  void WriteCurrency(int64_t scaled);
  void WriteDate(double days);
  // Ident when the value has a name, else an integer.
  void WriteColor(TColor color);
  void WriteCharset(int charset);
  void WriteNull() { WriteValueType(TValueType::vaNull); }
  void WriteNil() { WriteValueType(TValueType::vaNil); }

  // A Null ends lists, collection items, collections, property lists and
  // the child list of a component alike.
  void WriteListBegin() { WriteValueType(TValueType::vaList); }
  void WriteListEnd() { WriteNull(); }
  void WriteCollectionBegin() { WriteValueType(TValueType::vaCollection); }
  void WriteCollectionItemBegin() { WriteListBegin(); }
  void WriteCollectionItemEnd() { WriteListEnd(); }
  void WriteCollectionEnd() { WriteListEnd(); }

  // Prefix (when flags are set), class name, name. Then come the properties,
  // WriteListEnd, the children, WriteListEnd.
  void WriteComponentHeader(std::string_view className, std::string_view name, uint8_t flags = 0,
                            int32_t childPos = 0);

  // Name, then value.
  void WriteIntegerProp(std::string_view name, int32_t value) {
    WritePropName(name);
    WriteInteger(value);
  }
  void WriteStringProp(std::string_view name, std::string_view value) {
    WritePropName(name);
    WriteString(value);
  }
  void WriteBooleanProp(std::string_view name, bool value) {
    WritePropName(name);
    WriteBoolean(value);
  }
  void WriteIdentProp(std::string_view name, std::string_view value) {
    WritePropName(name);
    WriteIdent(value);
  }
  void WriteColorProp(std::string_view name, TColor value) {
    WritePropName(name);
    WriteColor(value);
  }
  void WriteCharsetProp(std::string_view name, int value) {
    WritePropName(name);
    WriteCharset(value);
  }
  void WriteSetProp(std::string_view name, const std::vector<std::string>& value) {
    WritePropName(name);
    WriteSet(value);
  }
  void WriteBinaryProp(std::string_view name, std::span<const uint8_t> value) {
    WritePropName(name);
    WriteBinary(value);
  }

 private:
  void WriteBytes(const void* data, size_t count);
  void WriteTaggedLength(TValueType type, size_t length);
  template <typename It>
  void WriteSetNames(It first, It last);

  TStream& stream_;
};

struct TFilerPrefix {
  uint8_t flags = 0;
  int32_t childPos = 0;
};

class TPropReader {
 public:
  // Reads straight from the bytes, which must outlive the reader.
  explicit TPropReader(std::span<const uint8_t> data);
  // Owns the bytes (so a temporary buffer cannot dangle).
  explicit TPropReader(std::vector<uint8_t>&& data);
  // Takes `count` bytes (all that remain when negative) from the stream's
  // position; when the reader goes away the stream is left just after what was read.
  explicit TPropReader(TStream& stream, int64_t count = -1);
  ~TPropReader();
  TPropReader(const TPropReader&) = delete;
  TPropReader& operator=(const TPropReader&) = delete;

  size_t Position() const { return pos_; }
  size_t Size() const { return data_.size(); }
  bool AtEnd() const { return pos_ >= data_.size(); }

  // The next tag, not consumed; an unknown tag or the end of the data fails.
  TValueType NextValue();
  TValueType ReadValueType();
  // True when a Null comes next (not consumed).
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  void ReadCollectionBegin();
  // Skips an optional integer item order, then reads the item's List.
  void ReadCollectionItemBegin();

  // Int8, Int16, Int32, and Int64 when the value fits in 32 bits.
  int32_t ReadInteger();
  // Any integer tag.
  int64_t ReadInt64();
  // String, LString, WString or UTF8String; the Unicode forms are converted
  // to 8-bit text in the code page, and 8-bit text from it.
  std::string ReadString(int codePage = CP_ACP);
  std::u16string ReadWideString(int codePage = CP_ACP);
  // UTF8String as it stands; the other string forms converted to UTF-8.
  std::string ReadUTF8String(int codePage = CP_ACP);
  // Ident, or the False, True, Null and Nil tags as "False", "True", "Null", "nil".
  std::string ReadIdent();
  bool ReadBoolean();
  std::vector<std::string> ReadSet();
  std::vector<uint8_t> ReadBinary();
  // Any float tag or an integer; Currency is unscaled.
  double ReadFloat();
  // The 64-bit integer scaled by 10,000.
  int64_t ReadCurrency();
  // An integer, or a name from the colour / charset tables.
  TColor ReadColor();
  int ReadCharset();

  std::string ReadStr();
  std::string ReadPropName() { return ReadStr(); }
  void ReadSignature();
  // Consumes a prefix byte when one is there; flags 0 when none.
  TFilerPrefix ReadPrefix();

  // Skips one value of any kind, nested ones included.
  void SkipValue();
  // A name and its value.
  void SkipProperty();

  // One level of nesting for as long as it lives; fails past kMaxPropNesting.
  // Code that recurses through components (a cell inside a table) holds one per level.
  class TNest {
   public:
    explicit TNest(TPropReader& reader);
    ~TNest() { --reader_.depth_; }
    TNest(const TNest&) = delete;
    TNest& operator=(const TNest&) = delete;

   private:
    TPropReader& reader_;
  };
  int Depth() const { return depth_; }

  [[noreturn]] void Fail(const std::string& what) const;

 private:
  const uint8_t* Take(size_t count);
  uint8_t TakeByte() { return *Take(1); }
  size_t TakeLength32();
  std::string TakeBytes(size_t count);
  int64_t ReadIntegerOf(TValueType type);
  [[noreturn]] void Unexpected(std::string_view wanted, TValueType found) const;

  std::vector<uint8_t> owned_;
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  size_t tagPos_ = 0;  // where the last value tag was, for messages
  int depth_ = 0;
  TStream* stream_ = nullptr;
  int64_t streamStart_ = 0;
};

// --- A generic tree of values, for callers that hold a stream as data ---

enum class TPropKind : uint8_t {
  Null,
  Nil,
  Integer,
  Boolean,
  Extended,
  Single,
  Double,
  Currency,
  Date,
  String,
  WideString,
  UTF8String,
  Ident,
  Set,
  Binary,
  List,
  Collection,
};

struct TProp;
using TPropList = std::vector<TProp>;  // properties in stream order

struct TPropValue {
  TPropKind kind = TPropKind::Null;
  int64_t integer = 0;                // Integer, Boolean (0/1), Currency (scaled by 10,000)
  double number = 0;                  // Extended, Single, Double, Date
  std::string text;                   // String, UTF8String, Ident
  std::u16string wide;                // WideString
  std::vector<std::string> names;     // Set
  std::vector<uint8_t> bytes;         // Binary
  std::vector<TPropValue> list;       // List
  std::vector<TPropList> items;       // Collection

  static TPropValue Null();
  static TPropValue Nil();
  static TPropValue Integer(int64_t v);
  static TPropValue Boolean(bool v);
  static TPropValue Extended(double v);
  static TPropValue Single(float v);
  static TPropValue Double(double v);
  static TPropValue Currency(int64_t scaled);
  static TPropValue Date(double days);
  static TPropValue String(std::string v);
  static TPropValue WideString(std::u16string v);
  static TPropValue UTF8String(std::string v);
  static TPropValue Ident(std::string v);
  static TPropValue Set(std::vector<std::string> v);
  static TPropValue Binary(std::vector<uint8_t> v);
  static TPropValue List(std::vector<TPropValue> v);
  static TPropValue Collection(std::vector<TPropList> v);

  bool operator==(const TPropValue& other) const;
};

struct TProp {
  std::string name;
  TPropValue value;
  bool operator==(const TProp& other) const = default;
};

// The first property of that name (exact), or null.
const TPropValue* FindProp(const TPropList& props, std::string_view name);

struct TPropObject {
  std::string className;
  std::string name;
  uint8_t flags = 0;     // ffInherited | ffChildPos | ffInline
  int32_t childPos = 0;  // meaningful with ffChildPos
  TPropList properties;
  std::vector<TPropObject> children;
  bool operator==(const TPropObject& other) const = default;
};

// One value of any kind. An item order before a collection item is dropped.
TPropValue ReadValue(TPropReader& reader);
// EWriteError for what the stream cannot hold (a Null inside a list).
void WriteValue(TPropWriter& writer, const TPropValue& value);
// Properties up to and including the Null that ends them.
TPropList ReadProperties(TPropReader& reader);
void WriteProperties(TPropWriter& writer, const TPropList& props);

// A component without the signature; every property holds one value, so a
// defined property that writes several values (the table's cells) needs the
// caller's own reading.
TPropObject ReadComponent(TPropReader& reader);
void WriteComponent(TPropWriter& writer, const TPropObject& object);

// Whole streams. Bytes after the component are ignored.
TPropObject ReadComponentStream(std::span<const uint8_t> bytes, bool withSignature = true);
std::vector<uint8_t> WriteComponentStream(const TPropObject& object, bool withSignature = true);

}  // namespace quillet
