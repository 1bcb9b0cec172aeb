#include "platform/core/property_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace quillet {

namespace {

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

struct TNamedInt {
  int32_t value;
  std::string_view name;
};

constexpr TNamedInt kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
};

constexpr TNamedInt kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

template <size_t N>
std::optional<std::string_view> NameOf(const TNamedInt (&table)[N], int32_t value) {
  for (const auto& e : table)
    if (e.value == value) return e.name;
  return std::nullopt;
}

template <size_t N>
std::optional<int32_t> ValueOf(const TNamedInt (&table)[N], std::string_view name) {
  for (const auto& e : table)
    if (SameTextAscii(e.name, name)) return e.value;
  return std::nullopt;
}

template <typename T>
void PutLE(uint8_t* p, T value) {
  auto u = static_cast<std::make_unsigned_t<T>>(value);
  for (size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

template <typename T>
T GetLE(const uint8_t* p) {
  std::make_unsigned_t<T> u = 0;
  for (size_t i = 0; i < sizeof(T); ++i) u |= static_cast<std::make_unsigned_t<T>>(p[i]) << (8 * i);
  return static_cast<T>(u);
}

// m / 2^shift rounded to nearest, ties to even.
uint64_t RoundShiftRight(uint64_t m, int shift) {
  if (shift <= 0) return m;
  if (shift > 64) return 0;
  if (shift == 64) return m > (uint64_t{1} << 63) ? 1 : 0;
  uint64_t q = m >> shift;
  uint64_t rem = m & ((uint64_t{1} << shift) - 1);
  uint64_t half = uint64_t{1} << (shift - 1);
  if (rem > half || (rem == half && (q & 1))) ++q;
  return q;
}

constexpr uint64_t kDoubleFracMask = (uint64_t{1} << 52) - 1;

bool IsIntegerTag(TValueType t) {
  return t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32 ||
         t == TValueType::vaInt64;
}

[[noreturn]] void WriteFault(const std::string& what) {
  throw EWriteError("Property stream: " + what);
}

}  // namespace

EPropStreamError::EPropStreamError(const std::string& detail)
    : EReadError("Invalid property stream: " + detail) {}

std::optional<std::string_view> ColorToIdent(TColor color) { return NameOf(kColors, color); }
std::optional<TColor> IdentToColor(std::string_view ident) { return ValueOf(kColors, ident); }
std::optional<std::string_view> CharsetToIdent(int charset) { return NameOf(kCharsets, charset); }
std::optional<int> IdentToCharset(std::string_view ident) { return ValueOf(kCharsets, ident); }

// ---------------------------------------------------------------------------
// 80-bit extended: sign and 15-bit exponent (bias 16383) in the top two bytes,
// a 64-bit significand with an explicit integer bit below them.

TExtended80 DoubleToExtended(double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const uint16_t sign = (bits >> 63) ? 0x8000 : 0;
  const int exp = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t frac = bits & kDoubleFracMask;
  uint64_t mant = 0;
  int exp80 = 0;
  if (exp == 0x7FF) {  // infinity or NaN, payload kept
    exp80 = 0x7FFF;
    mant = (uint64_t{1} << 63) | (frac << 11);
  } else if (exp == 0) {
    if (frac != 0) {  // subnormal double: normal in 80 bits
      const int lz = std::countl_zero(frac);
      mant = frac << lz;
      exp80 = (63 - lz) - 1074 + 16383;
    }
  } else {
    exp80 = exp - 1023 + 16383;
    mant = (uint64_t{1} << 63) | (frac << 11);
  }
  TExtended80 out{};
  PutLE<uint64_t>(out.data(), mant);
  PutLE<uint16_t>(out.data() + 8, static_cast<uint16_t>(sign | exp80));
  return out;
}

double ExtendedToDouble(const TExtended80& bytes) {
  uint64_t mant = GetLE<uint64_t>(bytes.data());
  const uint16_t se = GetLE<uint16_t>(bytes.data() + 8);
  const uint64_t sign = (se & 0x8000) ? uint64_t{1} << 63 : 0;
  const int exp = se & 0x7FFF;
  if (exp == 0x7FFF) {
    const uint64_t frac = mant & ~(uint64_t{1} << 63);
    if (frac == 0) return std::bit_cast<double>(sign | 0x7FF0000000000000);
    return std::bit_cast<double>(sign | 0x7FF8000000000000 | ((frac >> 11) & kDoubleFracMask));
  }
  if (mant == 0) return std::bit_cast<double>(sign);
  // value = mant * 2^(e - 63); the integer bit is taken as it stands, so
  // denormal and unnormal encodings convert by their value.
  int e = (exp == 0 ? 1 : exp) - 16383;
  const int lz = std::countl_zero(mant);
  mant <<= lz;
  e -= lz;
  if (e > 1023) return std::bit_cast<double>(sign | 0x7FF0000000000000);
  uint64_t out;
  if (e >= -1022) {
    // The rounded 53-bit significand carries its leading 1 into the exponent
    // field, so a round-up to 2^53 (or to infinity) falls out of the addition.
    out = (static_cast<uint64_t>(e + 1022) << 52) + RoundShiftRight(mant, 11);
  } else {
    out = RoundShiftRight(mant, -(e + 1011));  // subnormal; may round up to the smallest normal
  }
  return std::bit_cast<double>(sign | out);
}

// ---------------------------------------------------------------------------
// Writer

void TPropWriter::WriteBytes(const void* data, size_t count) {
  if (count > 0) stream_.WriteBuffer(data, static_cast<int64_t>(count));
}

void TPropWriter::WriteValueType(TValueType type) {
  const auto b = static_cast<uint8_t>(type);
  WriteBytes(&b, 1);
}

void TPropWriter::WriteTaggedLength(TValueType type, size_t length) {
  if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) WriteFault("value too long");
  uint8_t buf[5];
  buf[0] = static_cast<uint8_t>(type);
  PutLE<uint32_t>(buf + 1, static_cast<uint32_t>(length));
  WriteBytes(buf, sizeof buf);
}

void TPropWriter::WriteSignature() { WriteBytes(kPropStreamSignature.data(), kPropStreamSignature.size()); }

void TPropWriter::WritePrefix(uint8_t flags, int32_t childPos) {
  if (flags & ~(ffInherited | ffChildPos | ffInline)) WriteFault("unknown component flags");
  if (flags == 0) return;
  const uint8_t b = 0xF0 | flags;
  WriteBytes(&b, 1);
  if (flags & ffChildPos) WriteInteger(childPos);
}

void TPropWriter::WriteStr(std::string_view s) {
  if (s.size() > 255) WriteFault("name longer than 255 bytes");
  const auto len = static_cast<uint8_t>(s.size());
  WriteBytes(&len, 1);
  WriteBytes(s.data(), s.size());
}

void TPropWriter::WriteInteger(int32_t value) {
  uint8_t buf[5];
  size_t n;
  if (value >= -128 && value <= 127) {
    buf[0] = static_cast<uint8_t>(TValueType::vaInt8);
    PutLE<int8_t>(buf + 1, static_cast<int8_t>(value));
    n = 2;
  } else if (value >= -32768 && value <= 32767) {
    buf[0] = static_cast<uint8_t>(TValueType::vaInt16);
    PutLE<int16_t>(buf + 1, static_cast<int16_t>(value));
    n = 3;
  } else {
    buf[0] = static_cast<uint8_t>(TValueType::vaInt32);
    PutLE<int32_t>(buf + 1, value);
    n = 5;
  }
  WriteBytes(buf, n);
}

void TPropWriter::WriteInt64(int64_t value) {
  if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()) {
    WriteInteger(static_cast<int32_t>(value));
    return;
  }
  uint8_t buf[9];
  buf[0] = static_cast<uint8_t>(TValueType::vaInt64);
  PutLE<int64_t>(buf + 1, value);
  WriteBytes(buf, sizeof buf);
}

void TPropWriter::WriteString(std::string_view s) {
  if (s.size() <= 255) {
    const uint8_t head[2] = {static_cast<uint8_t>(TValueType::vaString), static_cast<uint8_t>(s.size())};
    WriteBytes(head, 2);
  } else {
    WriteTaggedLength(TValueType::vaLString, s.size());
  }
  WriteBytes(s.data(), s.size());
}

void TPropWriter::WriteWideString(std::u16string_view s) {
  WriteTaggedLength(TValueType::vaWString, s.size());
  std::vector<uint8_t> bytes(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) PutLE<uint16_t>(bytes.data() + 2 * i, static_cast<uint16_t>(s[i]));
  WriteBytes(bytes.data(), bytes.size());
}

void TPropWriter::WriteUTF8String(std::string_view s) {
  WriteTaggedLength(TValueType::vaUTF8String, s.size());
  WriteBytes(s.data(), s.size());
}

void TPropWriter::WriteBoolean(bool value) { WriteValueType(value ? TValueType::vaTrue : TValueType::vaFalse); }

void TPropWriter::WriteIdent(std::string_view ident) {
  if (SameTextAscii(ident, "False")) return WriteValueType(TValueType::vaFalse);
  if (SameTextAscii(ident, "True")) return WriteValueType(TValueType::vaTrue);
  if (SameTextAscii(ident, "Null")) return WriteValueType(TValueType::vaNull);
  if (SameTextAscii(ident, "nil")) return WriteValueType(TValueType::vaNil);
  WriteValueType(TValueType::vaIdent);
  WriteStr(ident);
}

template <typename It>
void TPropWriter::WriteSetNames(It first, It last) {
  WriteValueType(TValueType::vaSet);
  for (; first != last; ++first) {
    // An empty name would end the set early.
    if (std::string_view(*first).empty()) WriteFault("empty set element name");
    WriteStr(*first);
  }
  WriteStr("");
}

void TPropWriter::WriteSet(std::initializer_list<std::string_view> names) { WriteSetNames(names.begin(), names.end()); }
void TPropWriter::WriteSet(const std::vector<std::string>& names) { WriteSetNames(names.begin(), names.end()); }

void TPropWriter::WriteBinary(std::span<const uint8_t> bytes) {
  WriteTaggedLength(TValueType::vaBinary, bytes.size());
  WriteBytes(bytes.data(), bytes.size());
}

void TPropWriter::WriteExtended(double value) {
  const TExtended80 x = DoubleToExtended(value);
  WriteValueType(TValueType::vaExtended);
  WriteBytes(x.data(), x.size());
}

void TPropWriter::WriteSingle(float value) {
  uint8_t buf[5];
  buf[0] = static_cast<uint8_t>(TValueType::vaSingle);
  PutLE<uint32_t>(buf + 1, std::bit_cast<uint32_t>(value));
  WriteBytes(buf, sizeof buf);
}

void TPropWriter::WriteDouble(double value) {
  uint8_t buf[9];
  buf[0] = static_cast<uint8_t>(TValueType::vaDouble);
  PutLE<uint64_t>(buf + 1, std::bit_cast<uint64_t>(value));
  WriteBytes(buf, sizeof buf);
}

void TPropWriter::WriteCurrency(int64_t scaled) {
  uint8_t buf[9];
  buf[0] = static_cast<uint8_t>(TValueType::vaCurrency);
  PutLE<int64_t>(buf + 1, scaled);
  WriteBytes(buf, sizeof buf);
}

void TPropWriter::WriteDate(double days) {
  uint8_t buf[9];
  buf[0] = static_cast<uint8_t>(TValueType::vaDate);
  PutLE<uint64_t>(buf + 1, std::bit_cast<uint64_t>(days));
  WriteBytes(buf, sizeof buf);
}

void TPropWriter::WriteColor(TColor color) {
  if (auto name = ColorToIdent(color)) return WriteIdent(*name);
  WriteInteger(color);
}

void TPropWriter::WriteCharset(int charset) {
  if (auto name = CharsetToIdent(charset)) return WriteIdent(*name);
  WriteInteger(charset);
}

void TPropWriter::WriteComponentHeader(std::string_view className, std::string_view name, uint8_t flags,
                                       int32_t childPos) {
  // An empty class name would read as the end of the child list.
  if (className.empty()) WriteFault("component without a class name");
  WritePrefix(flags, childPos);
  // A length byte of 0xF0 or more would read as a prefix; a prefix with no
  // flags keeps such a name readable.
  if (flags == 0 && className.size() >= 0xF0) {
    const uint8_t b = 0xF0;
    WriteBytes(&b, 1);
  }
  WriteStr(className);
  WriteStr(name);
}

// ---------------------------------------------------------------------------
// Reader

TPropReader::TPropReader(std::span<const uint8_t> data) : data_(data) {}

TPropReader::TPropReader(std::vector<uint8_t>&& data) : owned_(std::move(data)), data_(owned_) {}

TPropReader::TPropReader(TStream& stream, int64_t count) {
  const int64_t start = stream.GetPosition();
  const int64_t remaining = std::max<int64_t>(stream.GetSize() - start, 0);
  if (count < 0) count = remaining;
  if (count > remaining) throw EPropStreamError("length past the end of the data");
  owned_.resize(static_cast<size_t>(count));
  stream.ReadBuffer(owned_.data(), count);
  data_ = owned_;
  stream_ = &stream;
  streamStart_ = start;
}

TPropReader::~TPropReader() {
  if (!stream_) return;
  try {
    stream_->Seek(streamStart_ + static_cast<int64_t>(pos_), TSeekOrigin::soBeginning);
  } catch (...) {
    // A stream that cannot seek back is left where the read ended.
  }
}

TPropReader::TNest::TNest(TPropReader& reader) : reader_(reader) {
  if (++reader_.depth_ > kMaxPropNesting) {
    --reader_.depth_;
    reader_.Fail("nesting deeper than " + std::to_string(kMaxPropNesting) + " levels");
  }
}

void TPropReader::Fail(const std::string& what) const {
  throw EPropStreamError(what + " at offset " + std::to_string(pos_));
}

void TPropReader::Unexpected(std::string_view wanted, TValueType found) const {
  throw EPropStreamError("expected " + std::string(wanted) + ", found value tag " +
                         std::to_string(static_cast<int>(found)) + " at offset " + std::to_string(tagPos_));
}

const uint8_t* TPropReader::Take(size_t count) {
  if (count > data_.size() - pos_) Fail("unexpected end of data");
  const uint8_t* p = data_.data() + pos_;
  pos_ += count;
  return p;
}

size_t TPropReader::TakeLength32() {
  const uint32_t len = GetLE<uint32_t>(Take(4));
  if (len > data_.size() - pos_) Fail("length " + std::to_string(len) + " past the end of the data");
  return len;
}

std::string TPropReader::TakeBytes(size_t count) {
  const uint8_t* p = Take(count);
  return std::string(reinterpret_cast<const char*>(p), count);
}

TValueType TPropReader::NextValue() {
  if (AtEnd()) Fail("unexpected end of data");
  const uint8_t b = data_[pos_];
  if (b > static_cast<uint8_t>(TValueType::vaDouble)) Fail("unknown value tag " + std::to_string(b));
  return static_cast<TValueType>(b);
}

TValueType TPropReader::ReadValueType() {
  const TValueType t = NextValue();
  tagPos_ = pos_++;
  return t;
}

bool TPropReader::EndOfList() {
  // Raw byte: what follows may be a name, whose length byte is not a tag.
  if (AtEnd()) Fail("list not ended before the end of data");
  return data_[pos_] == 0;
}

void TPropReader::ReadListBegin() {
  const TValueType t = ReadValueType();
  if (t != TValueType::vaList) Unexpected("a list", t);
}

void TPropReader::ReadListEnd() {
  if (AtEnd()) Fail("list not ended before the end of data");
  if (data_[pos_] != 0) Fail("expected the end of a list");
  ++pos_;
}

void TPropReader::ReadCollectionBegin() {
  const TValueType t = ReadValueType();
  if (t != TValueType::vaCollection) Unexpected("a collection", t);
}

void TPropReader::ReadCollectionItemBegin() {
  if (IsIntegerTag(NextValue())) ReadInt64();  // item order, not used
  ReadListBegin();
}

int64_t TPropReader::ReadIntegerOf(TValueType type) {
  switch (type) {
    case TValueType::vaInt8: return GetLE<int8_t>(Take(1));
    case TValueType::vaInt16: return GetLE<int16_t>(Take(2));
    case TValueType::vaInt32: return GetLE<int32_t>(Take(4));
    case TValueType::vaInt64: return GetLE<int64_t>(Take(8));
    default: Unexpected("an integer", type);
  }
}

int32_t TPropReader::ReadInteger() {
  const int64_t v = ReadIntegerOf(ReadValueType());
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    Fail("integer " + std::to_string(v) + " out of range");
  return static_cast<int32_t>(v);
}

int64_t TPropReader::ReadInt64() { return ReadIntegerOf(ReadValueType()); }

std::string TPropReader::ReadString(int codePage) {
  const TValueType t = ReadValueType();
  switch (t) {
    case TValueType::vaString: return TakeBytes(TakeByte());
    case TValueType::vaLString: return TakeBytes(TakeLength32());
    case TValueType::vaWString: --pos_; return WideCharToMultiByte(codePage, ReadWideString(codePage));
    case TValueType::vaUTF8String: return WideCharToMultiByte(codePage, Utf8ToUtf16(TakeBytes(TakeLength32())));
    default: Unexpected("a string", t);
  }
}

std::u16string TPropReader::ReadWideString(int codePage) {
  const TValueType t = ReadValueType();
  switch (t) {
    case TValueType::vaString: return MultiByteToWideChar(codePage, TakeBytes(TakeByte()));
    case TValueType::vaLString: return MultiByteToWideChar(codePage, TakeBytes(TakeLength32()));
    case TValueType::vaUTF8String: return Utf8ToUtf16(TakeBytes(TakeLength32()));
    case TValueType::vaWString: {
      const uint32_t count = GetLE<uint32_t>(Take(4));
      if (count > (data_.size() - pos_) / 2)
        Fail("length " + std::to_string(count) + " past the end of the data");
      const uint8_t* p = Take(size_t{count} * 2);
      std::u16string s(count, u'\0');
      for (size_t i = 0; i < count; ++i) s[i] = static_cast<char16_t>(GetLE<uint16_t>(p + 2 * i));
      return s;
    }
    default: Unexpected("a string", t);
  }
}

std::string TPropReader::ReadUTF8String(int codePage) {
  if (NextValue() == TValueType::vaUTF8String) {
    ReadValueType();
    return TakeBytes(TakeLength32());
  }
  return Utf16ToUtf8(ReadWideString(codePage));
}

std::string TPropReader::ReadIdent() {
  const TValueType t = ReadValueType();
  switch (t) {
    case TValueType::vaIdent: return ReadStr();
    case TValueType::vaFalse: return "False";
    case TValueType::vaTrue: return "True";
    case TValueType::vaNull: return "Null";
    case TValueType::vaNil: return "nil";
    default: Unexpected("an identifier", t);
  }
}

bool TPropReader::ReadBoolean() {
  const TValueType t = ReadValueType();
  if (t == TValueType::vaTrue) return true;
  if (t == TValueType::vaFalse) return false;
  Unexpected("a boolean", t);
}

std::vector<std::string> TPropReader::ReadSet() {
  const TValueType t = ReadValueType();
  if (t != TValueType::vaSet) Unexpected("a set", t);
  std::vector<std::string> names;
  for (;;) {  // each name takes at least one byte, so this ends with the data
    std::string name = ReadStr();
    if (name.empty()) break;
    names.push_back(std::move(name));
  }
  return names;
}

std::vector<uint8_t> TPropReader::ReadBinary() {
  const TValueType t = ReadValueType();
  if (t != TValueType::vaBinary) Unexpected("binary data", t);
  const size_t len = TakeLength32();
  const uint8_t* p = Take(len);
  return std::vector<uint8_t>(p, p + len);
}

double TPropReader::ReadFloat() {
  const TValueType t = ReadValueType();
  switch (t) {
    case TValueType::vaExtended: {
      TExtended80 x;
      std::memcpy(x.data(), Take(x.size()), x.size());
      return ExtendedToDouble(x);
    }
    case TValueType::vaSingle: return std::bit_cast<float>(GetLE<uint32_t>(Take(4)));
    case TValueType::vaDouble:
    case TValueType::vaDate: return std::bit_cast<double>(GetLE<uint64_t>(Take(8)));
    case TValueType::vaCurrency: return static_cast<double>(GetLE<int64_t>(Take(8))) / 10000.0;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: return static_cast<double>(ReadIntegerOf(t));
    default: Unexpected("a number", t);
  }
}

int64_t TPropReader::ReadCurrency() {
  const TValueType t = ReadValueType();
  if (t != TValueType::vaCurrency) Unexpected("a currency value", t);
  return GetLE<int64_t>(Take(8));
}

TColor TPropReader::ReadColor() {
  const TValueType t = NextValue();
  if (IsIntegerTag(t)) return ReadInteger();
  if (t != TValueType::vaIdent) {
    ReadValueType();
    Unexpected("a colour", t);
  }
  ReadValueType();
  const std::string name = ReadStr();
  if (auto c = IdentToColor(name)) return *c;
  Fail("unknown colour name \"" + name + "\"");
}

int TPropReader::ReadCharset() {
  const TValueType t = NextValue();
  if (IsIntegerTag(t)) {
    const int32_t v = ReadInteger();
    if (v < 0 || v > 255) Fail("charset " + std::to_string(v) + " out of range");
    return v;
  }
  if (t != TValueType::vaIdent) {
    ReadValueType();
    Unexpected("a charset", t);
  }
  ReadValueType();
  const std::string name = ReadStr();
  if (auto c = IdentToCharset(name)) return *c;
  Fail("unknown charset name \"" + name + "\"");
}

std::string TPropReader::ReadStr() { return TakeBytes(TakeByte()); }

void TPropReader::ReadSignature() {
  if (data_.size() - pos_ < kPropStreamSignature.size() ||
      std::memcmp(data_.data() + pos_, kPropStreamSignature.data(), kPropStreamSignature.size()) != 0)
    Fail("missing TPF0 signature");
  pos_ += kPropStreamSignature.size();
}

TFilerPrefix TPropReader::ReadPrefix() {
  TFilerPrefix prefix;
  if (AtEnd() || (data_[pos_] & 0xF0) != 0xF0) return prefix;
  prefix.flags = data_[pos_] & 0x0F;
  if (prefix.flags & ~(ffInherited | ffChildPos | ffInline)) Fail("unknown component flags");
  ++pos_;
  if (prefix.flags & ffChildPos) prefix.childPos = ReadInteger();
  return prefix;
}

void TPropReader::SkipValue() {
  const TValueType t = ReadValueType();
  switch (t) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil: return;
    case TValueType::vaList: {
      TNest nest(*this);
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    }
    case TValueType::vaInt8: Take(1); return;
    case TValueType::vaInt16: Take(2); return;
    case TValueType::vaInt32:
    case TValueType::vaSingle: Take(4); return;
    case TValueType::vaExtended: Take(10); return;
    case TValueType::vaInt64:
    case TValueType::vaCurrency:
    case TValueType::vaDate:
    case TValueType::vaDouble: Take(8); return;
    case TValueType::vaString:
    case TValueType::vaIdent: Take(TakeByte()); return;
    case TValueType::vaLString:
    case TValueType::vaBinary:
    case TValueType::vaUTF8String: Take(TakeLength32()); return;
    case TValueType::vaWString: --pos_; ReadWideString(CP_ACP); return;
    case TValueType::vaSet:
      while (TakeByte() != 0) Take(data_[pos_ - 1]);
      return;
    case TValueType::vaCollection: {
      TNest nest(*this);
      while (!EndOfList()) {
        ReadCollectionItemBegin();
        while (!EndOfList()) SkipProperty();
        ReadListEnd();
      }
      ReadListEnd();
      return;
    }
  }
}

void TPropReader::SkipProperty() {
  ReadStr();
  SkipValue();
}

// ---------------------------------------------------------------------------
// Tree

namespace {
TPropValue Of(TPropKind kind) {
  TPropValue v;
  v.kind = kind;
  return v;
}
}  // namespace

TPropValue TPropValue::Null() { return {}; }
TPropValue TPropValue::Nil() { return Of(TPropKind::Nil); }
TPropValue TPropValue::Integer(int64_t v) {
  TPropValue r = Of(TPropKind::Integer);
  r.integer = v;
  return r;
}
TPropValue TPropValue::Boolean(bool v) {
  TPropValue r = Of(TPropKind::Boolean);
  r.integer = v ? 1 : 0;
  return r;
}
TPropValue TPropValue::Extended(double v) {
  TPropValue r = Of(TPropKind::Extended);
  r.number = v;
  return r;
}
TPropValue TPropValue::Single(float v) {
  TPropValue r = Of(TPropKind::Single);
  r.number = v;
  return r;
}
TPropValue TPropValue::Double(double v) {
  TPropValue r = Of(TPropKind::Double);
  r.number = v;
  return r;
}
TPropValue TPropValue::Currency(int64_t scaled) {
  TPropValue r = Of(TPropKind::Currency);
  r.integer = scaled;
  return r;
}
TPropValue TPropValue::Date(double days) {
  TPropValue r = Of(TPropKind::Date);
  r.number = days;
  return r;
}
TPropValue TPropValue::String(std::string v) {
  TPropValue r = Of(TPropKind::String);
  r.text = std::move(v);
  return r;
}
TPropValue TPropValue::WideString(std::u16string v) {
  TPropValue r = Of(TPropKind::WideString);
  r.wide = std::move(v);
  return r;
}
TPropValue TPropValue::UTF8String(std::string v) {
  TPropValue r = Of(TPropKind::UTF8String);
  r.text = std::move(v);
  return r;
}
TPropValue TPropValue::Ident(std::string v) {
  TPropValue r = Of(TPropKind::Ident);
  r.text = std::move(v);
  return r;
}
TPropValue TPropValue::Set(std::vector<std::string> v) {
  TPropValue r = Of(TPropKind::Set);
  r.names = std::move(v);
  return r;
}
TPropValue TPropValue::Binary(std::vector<uint8_t> v) {
  TPropValue r = Of(TPropKind::Binary);
  r.bytes = std::move(v);
  return r;
}
TPropValue TPropValue::List(std::vector<TPropValue> v) {
  TPropValue r = Of(TPropKind::List);
  r.list = std::move(v);
  return r;
}
TPropValue TPropValue::Collection(std::vector<TPropList> v) {
  TPropValue r = Of(TPropKind::Collection);
  r.items = std::move(v);
  return r;
}

bool TPropValue::operator==(const TPropValue& o) const {
  return kind == o.kind && integer == o.integer && number == o.number && text == o.text && wide == o.wide &&
         names == o.names && bytes == o.bytes && list == o.list && items == o.items;
}

const TPropValue* FindProp(const TPropList& props, std::string_view name) {
  for (const auto& p : props)
    if (p.name == name) return &p.value;
  return nullptr;
}

TPropValue ReadValue(TPropReader& reader) {
  switch (reader.NextValue()) {
    case TValueType::vaNull: reader.ReadValueType(); return TPropValue::Null();
    case TValueType::vaNil: reader.ReadValueType(); return TPropValue::Nil();
    case TValueType::vaFalse:
    case TValueType::vaTrue: return TPropValue::Boolean(reader.ReadBoolean());
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: return TPropValue::Integer(reader.ReadInt64());
    case TValueType::vaExtended: return TPropValue::Extended(reader.ReadFloat());
    case TValueType::vaSingle: return TPropValue::Single(static_cast<float>(reader.ReadFloat()));
    case TValueType::vaDouble: return TPropValue::Double(reader.ReadFloat());
    case TValueType::vaDate: return TPropValue::Date(reader.ReadFloat());
    case TValueType::vaCurrency: return TPropValue::Currency(reader.ReadCurrency());
    case TValueType::vaString:
    case TValueType::vaLString: return TPropValue::String(reader.ReadString());
    case TValueType::vaWString: return TPropValue::WideString(reader.ReadWideString());
    case TValueType::vaUTF8String: return TPropValue::UTF8String(reader.ReadUTF8String());
    case TValueType::vaIdent: {
      // The writer turns these names into tags; reading them as the tags'
      // values keeps a second write identical to the first.
      std::string ident = reader.ReadIdent();
      if (SameTextAscii(ident, "False")) return TPropValue::Boolean(false);
      if (SameTextAscii(ident, "True")) return TPropValue::Boolean(true);
      if (SameTextAscii(ident, "Null")) return TPropValue::Null();
      if (SameTextAscii(ident, "nil")) return TPropValue::Nil();
      return TPropValue::Ident(std::move(ident));
    }
    case TValueType::vaSet: return TPropValue::Set(reader.ReadSet());
    case TValueType::vaBinary: return TPropValue::Binary(reader.ReadBinary());
    case TValueType::vaList: {
      TPropReader::TNest nest(reader);
      reader.ReadListBegin();
      std::vector<TPropValue> list;
      while (!reader.EndOfList()) {
        list.push_back(ReadValue(reader));
        if (list.back().kind == TPropKind::Null) reader.Fail("a Null identifier inside a list");
      }
      reader.ReadListEnd();
      return TPropValue::List(std::move(list));
    }
    case TValueType::vaCollection: {
      TPropReader::TNest nest(reader);
      reader.ReadCollectionBegin();
      std::vector<TPropList> items;
      while (!reader.EndOfList()) {
        reader.ReadCollectionItemBegin();
        items.push_back(ReadProperties(reader));
      }
      reader.ReadListEnd();
      return TPropValue::Collection(std::move(items));
    }
  }
  reader.Fail("unknown value tag");  // NextValue lets none through
}

void WriteValue(TPropWriter& writer, const TPropValue& value) {
  switch (value.kind) {
    case TPropKind::Null: return writer.WriteNull();
    case TPropKind::Nil: return writer.WriteNil();
    case TPropKind::Integer: return writer.WriteInt64(value.integer);
    case TPropKind::Boolean: return writer.WriteBoolean(value.integer != 0);
    case TPropKind::Extended: return writer.WriteExtended(value.number);
    case TPropKind::Single: return writer.WriteSingle(static_cast<float>(value.number));
    case TPropKind::Double: return writer.WriteDouble(value.number);
    case TPropKind::Currency: return writer.WriteCurrency(value.integer);
    case TPropKind::Date: return writer.WriteDate(value.number);
    case TPropKind::String: return writer.WriteString(value.text);
    case TPropKind::WideString: return writer.WriteWideString(value.wide);
    case TPropKind::UTF8String: return writer.WriteUTF8String(value.text);
    case TPropKind::Ident: return writer.WriteIdent(value.text);
    case TPropKind::Set: return writer.WriteSet(value.names);
    case TPropKind::Binary: return writer.WriteBinary(value.bytes);
    case TPropKind::List:
      writer.WriteListBegin();
      for (const auto& v : value.list) {
        // A Null tag inside a list would end it.
        if (v.kind == TPropKind::Null || (v.kind == TPropKind::Ident && SameTextAscii(v.text, "Null")))
          WriteFault("a Null inside a list");
        WriteValue(writer, v);
      }
      return writer.WriteListEnd();
    case TPropKind::Collection:
      writer.WriteCollectionBegin();
      for (const auto& item : value.items) {
        writer.WriteCollectionItemBegin();
        WriteProperties(writer, item);  // its Null ends the item
      }
      return writer.WriteCollectionEnd();
  }
}

TPropList ReadProperties(TPropReader& reader) {
  TPropList props;
  while (!reader.EndOfList()) {
    std::string name = reader.ReadPropName();
    props.push_back({std::move(name), ReadValue(reader)});
  }
  reader.ReadListEnd();
  return props;
}

void WriteProperties(TPropWriter& writer, const TPropList& props) {
  for (const auto& p : props) {
    if (p.name.empty()) WriteFault("a property without a name");  // would end the list
    writer.WritePropName(p.name);
    WriteValue(writer, p.value);
  }
  writer.WriteListEnd();
}

TPropObject ReadComponent(TPropReader& reader) {
  TPropReader::TNest nest(reader);
  TPropObject obj;
  const TFilerPrefix prefix = reader.ReadPrefix();
  obj.flags = prefix.flags;
  obj.childPos = prefix.childPos;
  obj.className = reader.ReadStr();
  if (obj.className.empty()) reader.Fail("a component without a class name");
  obj.name = reader.ReadStr();
  obj.properties = ReadProperties(reader);
  while (!reader.EndOfList()) obj.children.push_back(ReadComponent(reader));
  reader.ReadListEnd();
  return obj;
}

void WriteComponent(TPropWriter& writer, const TPropObject& object) {
  writer.WriteComponentHeader(object.className, object.name, object.flags, object.childPos);
  WriteProperties(writer, object.properties);
  for (const auto& child : object.children) WriteComponent(writer, child);
  writer.WriteListEnd();
}

TPropObject ReadComponentStream(std::span<const uint8_t> bytes, bool withSignature) {
  TPropReader reader(bytes);
  if (withSignature) reader.ReadSignature();
  return ReadComponent(reader);
}

std::vector<uint8_t> WriteComponentStream(const TPropObject& object, bool withSignature) {
  TMemoryStream stream;
  TPropWriter writer(stream);
  if (withSignature) writer.WriteSignature();
  WriteComponent(writer, object);
  return stream.Bytes();
}

}  // namespace quillet
