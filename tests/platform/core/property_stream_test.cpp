#include "platform/core/property_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <random>

namespace quillet {
namespace {

using Bytes = std::vector<uint8_t>;

// Bytes from a literal; adjacent literals keep hex escapes apart ("\x06" "ab").
template <size_t N>
Bytes Raw(const char (&s)[N]) {
  return Bytes(s, s + N - 1);
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Written(const std::function<void(TPropWriter&)>& write) {
  TMemoryStream stream;
  TPropWriter writer(stream);
  write(writer);
  return stream.Bytes();
}

TPropValue RoundTrip(const TPropValue& value) {
  const Bytes bytes = Written([&](TPropWriter& w) { WriteValue(w, value); });
  TPropReader reader(bytes);
  TPropValue back = ReadValue(reader);
  EXPECT_TRUE(reader.AtEnd());
  return back;
}

TPropList Props(std::initializer_list<std::pair<const char*, TPropValue>> list) {
  TPropList props;
  for (const auto& [name, value] : list) props.push_back({name, value});
  return props;
}

// --- Round trips -----------------------------------------------------------

TEST(PropStreamTest, EveryValueKindRoundTrips) {
  const std::string long8(300, 'x');
  // A list style: its "Levels" collection nested inside a collection item.
  const TPropValue listStyles = TPropValue::Collection({
      Props({{"StyleName", TPropValue::String("List Style")},
             {"Levels", TPropValue::Collection({
                            Props({{"ListType", TPropValue::Ident("dvlstDecimal")},
                                   {"FormatString", TPropValue::String("%0:s.")}}),
                            Props({{"Options", TPropValue::Set({})}}),
                            {},
                        })}}),
  });
  const struct {
    const char* name;
    TPropValue value;
  } cases[] = {
      {"nil", TPropValue::Nil()},
      {"null", TPropValue::Null()},
      {"zero", TPropValue::Integer(0)},
      {"int16", TPropValue::Integer(-300)},
      {"int32 max", TPropValue::Integer(std::numeric_limits<int32_t>::max())},
      {"int32 min", TPropValue::Integer(std::numeric_limits<int32_t>::min())},
      {"int64", TPropValue::Integer(-(int64_t{1} << 40))},
      {"int64 min", TPropValue::Integer(std::numeric_limits<int64_t>::min())},
      {"true", TPropValue::Boolean(true)},
      {"false", TPropValue::Boolean(false)},
      {"extended", TPropValue::Extended(-1234.5678)},
      {"extended tiny", TPropValue::Extended(std::numeric_limits<double>::denorm_min())},
      {"extended huge", TPropValue::Extended(std::numeric_limits<double>::max())},
      {"single", TPropValue::Single(0.1f)},
      {"double", TPropValue::Double(std::numbers::pi)},
      {"currency", TPropValue::Currency(-123456789)},
      {"date", TPropValue::Date(45000.75)},
      {"empty string", TPropValue::String("")},
      {"string with zero byte", TPropValue::String(std::string("a\0b\xBA\xBA", 5))},
      {"long string", TPropValue::String(long8)},
      {"wide string", TPropValue::WideString(u"\u6C49\u5B57\xD83D")},  // a lone surrogate stays as it is
      {"utf8 string", TPropValue::UTF8String("\xE6\xB1\x89")},
      {"ident", TPropValue::Ident("dvaJustify")},
      {"set", TPropValue::Set({"fsBold", "fsItalic"})},
      {"empty set", TPropValue::Set({})},
      {"binary", TPropValue::Binary({0, 1, 0xFF, 0})},
      {"empty binary", TPropValue::Binary({})},
      {"list", TPropValue::List({TPropValue::Integer(1), TPropValue::List({}), TPropValue::Nil(),
                                 TPropValue::String("s")})},
      {"collection", listStyles},
      {"empty collection", TPropValue::Collection({})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RoundTrip(c.value), c.value);
  }
}

TEST(PropStreamTest, ComponentTreeRoundTripsWithAndWithoutSignature) {
  TPropObject cell{"TD", "", 0, 0,
                   Props({{"C.Color", TPropValue::Ident("clYellow")},
                          {"Data", TPropValue::Binary({4, 0, 0, 0, 1, 2, 3, 4})}}),
                   {}};
  TPropObject table{"TDVTableSW", "Table1", ffInherited, 0,
                    Props({{"T.BestWidth", TPropValue::Integer(-50)},
                           {"T.Options", TPropValue::Set({"dvtoEditing"})}}),
                    {cell, TPropObject{"TD", "Second", ffChildPos | ffInline, 7, {}, {}}}};
  for (bool signature : {true, false}) {
    SCOPED_TRACE(signature);
    const Bytes bytes = WriteComponentStream(table, signature);
    EXPECT_EQ(bytes[0] == 'T', signature);
    EXPECT_EQ(ReadComponentStream(bytes, signature), table);
  }
}

TEST(PropStreamTest, TypedReadersReadWhatTypedWritersWrite) {
  const Bytes bytes = Written([](TPropWriter& w) {
    w.WriteIntegerProp("Size", 10);
    w.WriteStringProp("FontName", "Arial");
    w.WriteBooleanProp("Jump", true);
    w.WriteIdentProp("Alignment", "dvaCenter");
    w.WriteColorProp("Border.Color", clWindowText);
    w.WriteCharsetProp("Charset", GB2312_CHARSET);
    w.WriteSetProp("Style", {"fsBold"});
    w.WriteBinaryProp("Data", Bytes{9, 8});
    w.WritePropName("Ratio");
    w.WriteDouble(0.25);
    w.WritePropName("Big");
    w.WriteInt64(int64_t{1} << 33);
    w.WritePropName("Price");
    w.WriteCurrency(25000);
    w.WriteListEnd();
  });
  TPropReader r(bytes);
  EXPECT_EQ(r.ReadPropName(), "Size");
  EXPECT_EQ(r.ReadInteger(), 10);
  EXPECT_EQ(r.ReadPropName(), "FontName");
  EXPECT_EQ(r.ReadString(), "Arial");
  EXPECT_EQ(r.ReadPropName(), "Jump");
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadPropName(), "Alignment");
  EXPECT_EQ(r.ReadIdent(), "dvaCenter");
  EXPECT_EQ(r.ReadPropName(), "Border.Color");
  EXPECT_EQ(r.ReadColor(), clWindowText);
  EXPECT_EQ(r.ReadPropName(), "Charset");
  EXPECT_EQ(r.ReadCharset(), GB2312_CHARSET);
  EXPECT_EQ(r.ReadPropName(), "Style");
  EXPECT_EQ(r.ReadSet(), std::vector<std::string>{"fsBold"});
  EXPECT_EQ(r.ReadPropName(), "Data");
  EXPECT_EQ(r.ReadBinary(), (Bytes{9, 8}));
  EXPECT_EQ(r.ReadPropName(), "Ratio");
  EXPECT_EQ(r.ReadFloat(), 0.25);
  EXPECT_EQ(r.ReadPropName(), "Big");
  EXPECT_EQ(r.ReadInt64(), int64_t{1} << 33);
  EXPECT_EQ(r.ReadPropName(), "Price");
  EXPECT_EQ(r.ReadCurrency(), 25000);
  EXPECT_TRUE(r.EndOfList());
  r.ReadListEnd();
  EXPECT_TRUE(r.AtEnd());
}

TEST(PropStreamTest, EveryNamedColourAndCharsetRoundTripsAsAnIdent) {
  const TColor named[] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
                          clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite,
                          clMoneyGreen, clSkyBlue, clCream, clMedGray, clNone, clDefault};
  std::vector<TColor> colors(std::begin(named), std::end(named));
  for (int i = 0; i <= 30; ++i)
    if (i != 25) colors.push_back(SysColor(i));  // index 25 has no name
  const int charsets[] = {0, 1, 2, 77, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 255};
  const Bytes bytes = Written([&](TPropWriter& w) {
    for (TColor c : colors) w.WriteColor(c);
    for (int cs : charsets) w.WriteCharset(cs);
  });
  TPropReader r(bytes);
  for (TColor c : colors) {
    SCOPED_TRACE(c);
    ASSERT_EQ(r.NextValue(), TValueType::vaIdent);
    EXPECT_EQ(r.ReadColor(), c);
  }
  for (int cs : charsets) {
    SCOPED_TRACE(cs);
    ASSERT_EQ(r.NextValue(), TValueType::vaIdent);
    EXPECT_EQ(r.ReadCharset(), cs);
  }
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(ColorToIdent(SysColor(25)), std::nullopt);
  EXPECT_EQ(ColorToIdent(0x123456), std::nullopt);
  EXPECT_EQ(CharsetToIdent(3), std::nullopt);
}

// --- Exact encodings -------------------------------------------------------

TEST(PropStreamTest, WritesTheExpectedBytes) {
  const std::string s256(256, 'a');
  const struct {
    const char* name;
    std::function<void(TPropWriter&)> write;
    Bytes expected;
  } cases[] = {
      {"int8 -1", [](auto& w) { w.WriteInteger(-1); }, Raw("\x02\xFF")},
      {"int8 127", [](auto& w) { w.WriteInteger(127); }, Raw("\x02\x7F")},
      {"int16 128", [](auto& w) { w.WriteInteger(128); }, Raw("\x03\x80\x00")},
      {"int16 -32768", [](auto& w) { w.WriteInteger(-32768); }, Raw("\x03\x00\x80")},
      {"int32 -32769", [](auto& w) { w.WriteInteger(-32769); }, Raw("\x04\xFF\x7F\xFF\xFF")},
      {"small int64", [](auto& w) { w.WriteInt64(5); }, Raw("\x02\x05")},
      {"int64", [](auto& w) { w.WriteInt64(int64_t{1} << 32); }, Raw("\x13\x00\x00\x00\x00\x01\x00\x00\x00")},
      {"string", [](auto& w) { w.WriteString("ab"); }, Raw("\x06\x02" "ab")},
      {"string 255", [](auto& w) { w.WriteString(std::string(255, 'a')); },
       Raw("\x06\xFF") + Bytes(255, 'a')},
      {"lstring 256", [&](auto& w) { w.WriteString(s256); }, Raw("\x0C\x00\x01\x00\x00") + Bytes(256, 'a')},
      {"wide string", [](auto& w) { w.WriteWideString(u"A\u6C49"); }, Raw("\x12\x02\x00\x00\x00" "A\x00\x49\x6C")},
      {"utf8 string", [](auto& w) { w.WriteUTF8String("\xE6\xB1\x89"); }, Raw("\x14\x03\x00\x00\x00\xE6\xB1\x89")},
      {"ident", [](auto& w) { w.WriteIdent("dvaLeft"); }, Raw("\x07\x07" "dvaLeft")},
      {"ident True", [](auto& w) { w.WriteIdent("True"); }, Raw("\x09")},
      {"ident false", [](auto& w) { w.WriteIdent("false"); }, Raw("\x08")},
      {"ident NULL", [](auto& w) { w.WriteIdent("NULL"); }, Raw("\x00")},
      {"ident nil", [](auto& w) { w.WriteIdent("Nil"); }, Raw("\x0D")},
      {"boolean", [](auto& w) { w.WriteBoolean(false); }, Raw("\x08")},
      {"colour clRed", [](auto& w) { w.WriteColor(clRed); }, Raw("\x07\x05" "clRed")},
      {"system colour", [](auto& w) { w.WriteColor(clBtnFace); }, Raw("\x07\x09" "clBtnFace")},
      {"unnamed colour", [](auto& w) { w.WriteColor(0x123456); }, Raw("\x04\x56\x34\x12\x00")},
      {"unnamed system colour", [](auto& w) { w.WriteColor(SysColor(25)); }, Raw("\x04\x19\x00\x00\x80")},
      {"charset", [](auto& w) { w.WriteCharset(GB2312_CHARSET); }, Raw("\x07\x0E" "GB2312_CHARSET")},
      {"unnamed charset", [](auto& w) { w.WriteCharset(100); }, Raw("\x02\x64")},
      {"set", [](auto& w) { w.WriteSet({"fsBold", "fsUnderline"}); },
       Raw("\x0B\x06" "fsBold" "\x0B" "fsUnderline" "\x00")},
      {"empty set", [](auto& w) { w.WriteSet({}); }, Raw("\x0B\x00")},
      {"binary", [](auto& w) { w.WriteBinary(Bytes{1, 2}); }, Raw("\x0A\x02\x00\x00\x00\x01\x02")},
      {"extended 1", [](auto& w) { w.WriteExtended(1.0); }, Raw("\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x3F")},
      {"extended -2.5", [](auto& w) { w.WriteExtended(-2.5); }, Raw("\x05\x00\x00\x00\x00\x00\x00\x00\xA0\x00\xC0")},
      {"single", [](auto& w) { w.WriteSingle(1.0f); }, Raw("\x0F\x00\x00\x80\x3F")},
      {"double", [](auto& w) { w.WriteDouble(1.0); }, Raw("\x15\x00\x00\x00\x00\x00\x00\xF0\x3F")},
      {"date", [](auto& w) { w.WriteDate(2.0); }, Raw("\x11\x00\x00\x00\x00\x00\x00\x00\x40")},
      {"currency", [](auto& w) { w.WriteCurrency(12345); }, Raw("\x10\x39\x30\x00\x00\x00\x00\x00\x00")},
      {"collection", [](auto& w) {
         w.WriteCollectionBegin();
         w.WriteCollectionItemBegin();
         w.WriteIntegerProp("Size", 12);
         w.WriteCollectionItemEnd();
         w.WriteCollectionEnd();
       },
       Raw("\x0E\x01\x04" "Size" "\x02\x0C\x00\x00")},
      {"no prefix without flags", [](auto& w) { w.WritePrefix(0, 9); }, Bytes{}},
      {"prefix", [](auto& w) { w.WritePrefix(ffChildPos | ffInline, 3); }, Raw("\xF6\x02\x03")},
      {"signature", [](auto& w) { w.WriteSignature(); }, Raw("TPF0")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Written(c.write), c.expected);
  }
}

TEST(PropStreamTest, NestedComponentStreamHasTheExactLayout) {
  TPropObject child{"TD", "", ffChildPos | ffInline, 2, {}, {}};
  TPropObject root{"TTable", "T1", 0, 0, Props({{"Width", TPropValue::Integer(10)}}), {child}};
  const Bytes expected = Raw("TPF0" "\x06" "TTable" "\x02" "T1" "\x05" "Width" "\x02\x0A" "\x00"
                             "\xF6\x02\x02" "\x02" "TD" "\x00" "\x00" "\x00"
                             "\x00");
  EXPECT_EQ(WriteComponentStream(root), expected);
  EXPECT_EQ(ReadComponentStream(expected), root);

  // A bare 0xF0 prefix carries no flags and is accepted.
  const TPropObject plain = ReadComponentStream(Raw("\xF0\x02" "TD" "\x00\x00\x00"), false);
  EXPECT_EQ(plain.className, "TD");
  EXPECT_EQ(plain.flags, 0);
}

TEST(PropStreamTest, ClassNameThatLooksLikeAPrefixKeepsItsMeaning) {
  const TPropObject obj{std::string(0xF5, 'C'), "n", 0, 0, {}, {}};
  const Bytes bytes = WriteComponentStream(obj, false);
  EXPECT_EQ(bytes[0], 0xF0);
  EXPECT_EQ(ReadComponentStream(bytes, false), obj);
}

// --- Extended floats -------------------------------------------------------

TEST(PropStreamTest, ExtendedConvertsBothWays) {
  const double doubles[] = {0.0, -0.0, 1.0, -2.5, std::numbers::pi, 1e-310, std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
  for (double d : doubles) {
    SCOPED_TRACE(d);
    const double back = ExtendedToDouble(DoubleToExtended(d));
    EXPECT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(d));
  }
  EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")))));

  auto ext = [](uint16_t signExp, uint64_t mant) {
    TExtended80 x;
    for (int i = 0; i < 8; ++i) x[i] = static_cast<uint8_t>(mant >> (8 * i));
    x[8] = static_cast<uint8_t>(signExp);
    x[9] = static_cast<uint8_t>(signExp >> 8);
    return x;
  };
  const double one = 1.0, oneUp = std::nextafter(1.0, 2.0);
  const struct {
    const char* name;
    TExtended80 x;
    double expected;
  } cases[] = {
      {"pi rounds to the nearest double", ext(0x4000, 0xC90FDAA22168C235), std::numbers::pi},
      {"halfway rounds to even (down)", ext(0x3FFF, 0x8000000000000400), one},
      {"halfway rounds to even (up)", ext(0x3FFF, 0x8000000000000C00), std::nextafter(oneUp, 2.0)},
      {"above halfway rounds up", ext(0x3FFF, 0x8000000000000401), oneUp},
      {"carry into the exponent", ext(0x3FFF, 0xFFFFFFFFFFFFFFFF), 2.0},
      {"beyond double range", ext(0x43FF, 0x8000000000000000), std::numeric_limits<double>::infinity()},
      {"rounds up to infinity", ext(0x43FE, 0xFFFFFFFFFFFFFFFF), std::numeric_limits<double>::infinity()},
      {"smallest subnormal", ext(0x3BCD, 0x8000000000000000), std::numeric_limits<double>::denorm_min()},
      {"half the smallest subnormal ties to zero", ext(0x3BCC, 0x8000000000000000), 0.0},
      {"just over half rounds up", ext(0x3BCC, 0x8000000000000001), std::numeric_limits<double>::denorm_min()},
      {"far below range", ext(0x0001, 0x8000000000000000), 0.0},
      {"negative", ext(0xC000, 0x8000000000000000), -2.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtendedToDouble(c.x), c.expected);
  }
}

// Where the host's long double is the x87 format, its own conversion is the
// reference for random encodings.
TEST(PropStreamTest, ExtendedAgreesWithTheHostFormatWhereItHasOne) {
  if constexpr (std::numeric_limits<long double>::digits != 64) {
    GTEST_SKIP() << "long double is not the 80-bit format here";
  } else {
    std::mt19937_64 rng(12345);
    for (int i = 0; i < 20000; ++i) {
      uint64_t mant = rng();
      // Exponents around the double range and its edges, plus anywhere.
      uint16_t exp = (i % 2) ? static_cast<uint16_t>(15309 - 70 + rng() % 2200) : static_cast<uint16_t>(rng() % 0x7FFF);
      if (exp == 0) mant &= ~(uint64_t{1} << 63);
      else mant |= uint64_t{1} << 63;
      const uint16_t se = static_cast<uint16_t>(exp | ((rng() & 1) ? 0x8000 : 0));
      TExtended80 x;
      for (int b = 0; b < 8; ++b) x[b] = static_cast<uint8_t>(mant >> (8 * b));
      x[8] = static_cast<uint8_t>(se);
      x[9] = static_cast<uint8_t>(se >> 8);
      long double ld = 0;
      std::memcpy(&ld, x.data(), 10);
      const double expected = static_cast<double>(ld);
      ASSERT_EQ(std::bit_cast<uint64_t>(ExtendedToDouble(x)), std::bit_cast<uint64_t>(expected))
          << "exponent " << exp << " mantissa " << std::hex << mant;
      // And back: the host's encoding of that double, byte for byte.
      TExtended80 host{};
      const long double widened = expected;
      std::memcpy(host.data(), &widened, host.size());
      ASSERT_EQ(DoubleToExtended(expected), host);
    }
  }
}

// --- Reader behaviour ------------------------------------------------------

TEST(PropStreamTest, ReaderAcceptsTheAlternativeForms) {
  // Int64 where a 32-bit value is asked for: only in range.
  {
    TPropReader r(Raw("\x13\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "\x13\x00\x00\x00\x80\x00\x00\x00\x00"));
    EXPECT_EQ(r.ReadInteger(), -1);
    EXPECT_THROW(r.ReadInteger(), EPropStreamError);
  }
  // The special tags read as identifiers.
  {
    TPropReader r(Raw("\x09\x08\x00\x0D"));
    EXPECT_EQ(r.ReadIdent(), "True");
    EXPECT_EQ(r.ReadIdent(), "False");
    EXPECT_EQ(r.ReadIdent(), "Null");
    EXPECT_EQ(r.ReadIdent(), "nil");
  }
  // Colours and charsets by number or by name in any case.
  {
    TPropReader r(Raw("\x07\x05" "CLRED" "\x04\x0F\x00\x00\x80" "\x07\x0C" "ansi_charset" "\x03\xCC\x00"));
    EXPECT_EQ(r.ReadColor(), 0x0000FF);
    EXPECT_EQ(r.ReadColor(), clBtnFace);
    EXPECT_EQ(r.ReadCharset(), ANSI_CHARSET);
    EXPECT_EQ(r.ReadCharset(), RUSSIAN_CHARSET);
  }
  // Floats from every float tag and from integers.
  {
    const Bytes b = Written([](TPropWriter& w) {
      w.WriteExtended(0.5);
      w.WriteSingle(0.5f);
      w.WriteDate(0.5);
      w.WriteCurrency(5000);
      w.WriteInteger(-3);
    });
    TPropReader r(b);
    for (double expected : {0.5, 0.5, 0.5, 0.5, -3.0}) EXPECT_EQ(r.ReadFloat(), expected);
  }
}

TEST(PropStreamTest, ReadStringConvertsUnicodeFormsWithTheCodePage) {
  const Bytes b = Written([](TPropWriter& w) {
    w.WriteWideString(u"\u6C49A");
    w.WriteUTF8String("\xE6\xB1\x89" "A");
    w.WriteString("\xBA\xBA" "A");
    w.WriteString("\xBA\xBA");
  });
  TPropReader r(b);
  EXPECT_EQ(r.ReadString(936), "\xBA\xBA" "A");
  EXPECT_EQ(r.ReadString(936), "\xBA\xBA" "A");
  EXPECT_EQ(r.ReadWideString(936), u"\u6C49A");
  EXPECT_EQ(r.ReadUTF8String(936), "\xE6\xB1\x89");
}

TEST(PropStreamTest, CollectionItemOrderIsAcceptedAndIgnored) {
  // Two text styles, the first item preceded by an order integer.
  const Bytes bytes = Raw("\x0E"
                          "\x02\x05" "\x01" "\x05" "Color" "\x07\x05" "clRed" "\x04" "Size" "\x02\x0C" "\x00"
                          "\x01" "\x04" "Size" "\x02\x09" "\x00"
                          "\x00");
  {
    TPropReader r(bytes);
    EXPECT_EQ(r.NextValue(), TValueType::vaCollection);
    r.ReadCollectionBegin();
    std::vector<std::pair<TColor, int>> styles;
    while (!r.EndOfList()) {
      r.ReadCollectionItemBegin();
      TColor color = clBlack;
      int size = 10;
      while (!r.EndOfList()) {
        const std::string name = r.ReadPropName();
        if (name == "Color") color = r.ReadColor();
        else if (name == "Size") size = r.ReadInteger();
        else r.SkipValue();
      }
      r.ReadListEnd();
      styles.emplace_back(color, size);
    }
    r.ReadListEnd();
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(styles, (std::vector<std::pair<TColor, int>>{{clRed, 12}, {clBlack, 9}}));
  }
  {
    TPropReader r(bytes);
    const TPropValue v = ReadValue(r);
    ASSERT_EQ(v.items.size(), 2u);
    EXPECT_EQ(*FindProp(v.items[0], "Color"), TPropValue::Ident("clRed"));
    // Written back without the order.
    const Bytes again = Written([&](TPropWriter& w) { WriteValue(w, v); });
    EXPECT_EQ(again, Bytes(bytes.begin(), bytes.begin() + 1) + Bytes(bytes.begin() + 3, bytes.end()));
  }
}

TEST(PropStreamTest, SkipValueStepsOverEveryKind) {
  TPropValue all = TPropValue::List({
      TPropValue::Nil(), TPropValue::Integer(1), TPropValue::Integer(1000), TPropValue::Integer(100000),
      TPropValue::Integer(int64_t{1} << 40), TPropValue::Boolean(true), TPropValue::Extended(1),
      TPropValue::Single(1), TPropValue::Double(1), TPropValue::Currency(1), TPropValue::Date(1),
      TPropValue::String("s"), TPropValue::String(std::string(400, 's')), TPropValue::WideString(u"w"),
      TPropValue::UTF8String("u"), TPropValue::Ident("i"), TPropValue::Set({"a", "b"}),
      TPropValue::Binary({1, 2, 3}),
      TPropValue::Collection({Props({{"A", TPropValue::Collection({{}})}}), {}}),
  });
  const Bytes bytes = Written([&](TPropWriter& w) {
    WriteValue(w, all);
    w.WriteInteger(77);
    w.WriteStr("Prop");
    WriteValue(w, all);
    w.WriteInteger(78);
  });
  TPropReader r(bytes);
  r.SkipValue();
  EXPECT_EQ(r.ReadInteger(), 77);
  r.SkipProperty();
  EXPECT_EQ(r.ReadInteger(), 78);
  EXPECT_TRUE(r.AtEnd());
}

TEST(PropStreamTest, StreamReaderLeavesTheStreamAfterWhatItRead) {
  TMemoryStream stream(Raw("xx" "\x02\x07" "\x02\x08"));
  stream.SetPosition(2);
  {
    TPropReader r(stream);
    EXPECT_EQ(r.ReadInteger(), 7);
  }
  EXPECT_EQ(stream.GetPosition(), 4);
  {
    TPropReader r(stream, 1);  // a block shorter than the value
    EXPECT_THROW(r.ReadInteger(), EPropStreamError);
  }
  EXPECT_THROW(TPropReader(stream, 100), EPropStreamError);
}

// --- Bad input -------------------------------------------------------------

Bytes Repeat(const Bytes& b, int n) {
  Bytes out;
  for (int i = 0; i < n; ++i) out = out + b;
  return out;
}

TEST(PropStreamTest, MalformedValuesAreRejected) {
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"no data", {}},
      {"truncated string length", Raw("\x06")},
      {"string past the end", Raw("\x06\x05" "abc")},
      {"truncated lstring length", Raw("\x0C\x00\x01")},
      {"lstring past the end", Raw("\x0C\xFF\xFF\xFF\xFF" "a")},
      {"huge binary length", Raw("\x0A\xFF\xFF\xFF\x7F")},
      {"huge wide string length", Raw("\x12\xFF\xFF\xFF\xFF" "ab")},
      {"odd wide string bytes", Raw("\x12\x02\x00\x00\x00" "abc")},
      {"truncated int32", Raw("\x04\x01\x02")},
      {"truncated extended", Raw("\x05\x00\x00\x00\x00")},
      {"unknown tag", Raw("\x16")},
      {"unknown tag 0xFF", Raw("\xFF")},
      {"unknown tag inside a list", Raw("\x01\x02\x01\x40\x00")},
      {"list that never ends", Raw("\x01\x02\x01\x02\x02")},
      {"unterminated set", Raw("\x0B\x03" "abc")},
      {"set name past the end", Raw("\x0B\x09" "ab")},
      {"collection item without a list", Raw("\x0E\x06\x01" "a" "\x00")},
      {"collection that never ends", Raw("\x0E\x01\x00")},
      {"property with no value", Raw("\x0E\x01\x04" "Size")},
      {"null identifier inside a list", Raw("\x01\x07\x04" "null" "\x00")},
      {"too deep", Repeat(Raw("\x01"), kMaxPropNesting + 1) + Repeat(Raw("\x00"), kMaxPropNesting + 1)},
      {"too deep in collections",
       Repeat(Raw("\x0E\x01\x01" "C"), kMaxPropNesting + 1) + Raw("\x02\x01") + Repeat(Raw("\x00\x00"), kMaxPropNesting + 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    {
      TPropReader r(c.bytes);
      EXPECT_THROW(ReadValue(r), EPropStreamError);
    }
    if (std::string_view(c.name) != "null identifier inside a list") {
      TPropReader r(c.bytes);
      EXPECT_THROW(r.SkipValue(), EPropStreamError);
    }
  }
  // The nesting limit itself is allowed.
  TPropReader r(Repeat(Raw("\x01"), kMaxPropNesting) + Repeat(Raw("\x00"), kMaxPropNesting));
  EXPECT_EQ(ReadValue(r).kind, TPropKind::List);
}

TEST(PropStreamTest, MalformedComponentsAreRejected) {
  const Bytes nested = Raw("TPF0") + Repeat(Raw("\x02" "TX" "\x00\x00"), kMaxPropNesting + 1) +
                       Repeat(Raw("\x00"), kMaxPropNesting + 1);
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"truncated signature", Raw("TPF")},
      {"wrong signature", Raw("TPF1" "\x02" "TX" "\x00\x00\x00")},
      {"no class name", Raw("TPF0" "\x00\x00\x00\x00")},
      {"class name past the end", Raw("TPF0" "\x09" "TX")},
      {"properties never end", Raw("TPF0" "\x02" "TX" "\x00" "\x01" "A" "\x02\x01")},
      {"children never end", Raw("TPF0" "\x02" "TX" "\x00" "\x00")},
      {"unknown prefix flags", Raw("TPF0" "\xF8\x02" "TX" "\x00\x00\x00")},
      {"child position missing", Raw("TPF0" "\xF2")},
      {"child position not an integer", Raw("TPF0" "\xF2\x06\x01" "a" "\x02" "TX" "\x00\x00\x00")},
      {"components too deep", nested},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ReadComponentStream(c.bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EReadError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Invalid property stream: ", 0), 0u) << e.what();
    }
  }
}

TEST(PropStreamTest, TypedReadersRejectTheWrongKind) {
  const struct {
    const char* name;
    Bytes bytes;
    std::function<void(TPropReader&)> read;
  } cases[] = {
      {"integer from a string", Raw("\x06\x01" "1"), [](auto& r) { r.ReadInteger(); }},
      {"boolean from an ident", Raw("\x07\x03" "Yes"), [](auto& r) { r.ReadBoolean(); }},
      {"string from an integer", Raw("\x02\x01"), [](auto& r) { r.ReadString(); }},
      {"unknown colour name", Raw("\x07\x06" "clPink"), [](auto& r) { r.ReadColor(); }},
      {"colour from a string", Raw("\x06\x05" "clRed"), [](auto& r) { r.ReadColor(); }},
      {"charset out of range", Raw("\x03\x2C\x01"), [](auto& r) { r.ReadCharset(); }},
      {"unknown charset name", Raw("\x07\x03" "BIG"), [](auto& r) { r.ReadCharset(); }},
      {"list begin from a collection", Raw("\x0E\x00"), [](auto& r) { r.ReadListBegin(); }},
      {"list end from a value", Raw("\x02\x00"), [](auto& r) { r.ReadListEnd(); }},
      {"currency from a double", Raw("\x15\x00\x00\x00\x00\x00\x00\xF0\x3F"), [](auto& r) { r.ReadCurrency(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TPropReader r(c.bytes);
    EXPECT_THROW(c.read(r), EPropStreamError);
  }
}

TEST(PropStreamTest, WriterRefusesWhatCannotBeReadBack) {
  TMemoryStream stream;
  TPropWriter w(stream);
  EXPECT_THROW(w.WriteStr(std::string(256, 'n')), EWriteError);
  EXPECT_THROW(w.WriteSet({"a", ""}), EWriteError);
  EXPECT_THROW(w.WriteComponentHeader("", "x"), EWriteError);
  EXPECT_THROW(WriteValue(w, TPropValue::List({TPropValue::Null()})), EWriteError);
  EXPECT_THROW(WriteValue(w, TPropValue::List({TPropValue::Ident("null")})), EWriteError);
  EXPECT_THROW(WriteProperties(w, Props({{"", TPropValue::Integer(1)}})), EWriteError);
}

}  // namespace
}  // namespace quillet
