// The small codecs under the host's records: field splitting, hexadecimal
// text, the run-length text of seal bitmaps and the lookups.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base/doc_view_error.h"
#include "host/codec/division_string.h"
#include "host/codec/hex_codec.h"
#include "host/codec/run_length_text.h"
#include "host/codec/string_index.h"
#include "platform/core/arith.h"

namespace quillet {
namespace {

using namespace std::string_literals;
using Parts = std::vector<std::string>;

TEST(DivisionStringTest, SplitsAtTheDelimiter) {
  struct Case {
    std::string source, delimiter;
    Parts parts;
  };
  const Case cases[] = {
      {"QV;name;time;255", ";", {"QV", "name", "time", "255"}},
      {"QV;;;0", ";", {"QV", "", "", "0"}},
      {";a", ";", {"", "a"}},
      {"a;b;", ";", {"a", "b"}},
      {"a;b;;", ";", {"a", "b", ""}},
      {";", ";", {""}},
      {";;", ";", {"", ""}},
      {"", ";", {}},
      {"abc", ";", {"abc"}},
      {"\xB2\xE2;\xCA\xD4", ";", {"\xB2\xE2", "\xCA\xD4"}},
      {"a;;b", ";;", {"a;;b"}},  // only a one-character delimiter splits
      {"a;b", "", {"a;b"}},
  };
  TDivisionString division;
  division.Init();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source + " / " + c.delimiter);
    division.Run(c.source, c.delimiter);
    EXPECT_EQ(division.StrItems(), c.parts);
    EXPECT_EQ(division.StrCount(), static_cast<int>(c.parts.size()));
  }
}

TEST(DivisionStringTest, PartsBeyondTheCountRaiseTheListError) {
  TDivisionString division;
  division.Init();
  division.Run("a;b", ";");
  EXPECT_EQ(division.StrItems(1), "b");
  try {
    (void)division.StrItems(2);
    FAIL() << "no error";
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (2)");
  }
  EXPECT_THROW((void)division.StrItems(-1), EDocViewError);
}

TEST(HexCodecTest, ConvertsBothWays) {
  EXPECT_EQ(StrToHex("\x00\x0A\xFF"s), "000AFF");
  EXPECT_EQ(StrToHex(""), "");
  struct Case {
    std::string text, bytes;
  };
  const Case cases[] = {
      {"000aff", "\x00\x0A\xFF"s},
      {"000AFF", "\x00\x0A\xFF"s},
      {"ABC", "\xAB\x0C"s},  // an odd last digit is one byte
      {"f", "\x0F"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(HexToStr(c.text), c.bytes) << c.text;
}

// The message carries the offending text as it is; "%" and the like are not formats.
void ExpectInvalidInteger(const std::function<void()>& f, const std::string& shown) {
  try {
    f();
    ADD_FAILURE() << "no error for " << shown;
  } catch (const EConvertError& e) {
    EXPECT_EQ(std::string(e.what()), "'" + shown + "' is not a valid integer value");
  }
}

TEST(HexCodecTest, NonDigitsAreConversionErrors) {
  const std::pair<std::string, std::string> cases[] = {
      {"0G", "$0G"}, {"00%s", "$%s"}, {"AB%", "$%"}, {"0A 0", "$ 0"}, {"00\xB0\xA1", "$\xB0\xA1"}, {"-1", "$-1"},
  };
  for (const auto& [text, shown] : cases) ExpectInvalidInteger([&] { (void)HexToStr(text); }, shown);
}

TEST(RunLengthTextTest, UnZipExpandsGroups) {
  const std::pair<std::string, std::string> cases[] = {
      {"FF03000200", "FFFFFF0000"},  // the trailing "00" is no whole group
      {"AB00", ""},
      {"ab01", "ab"},  // values are kept as written
      {"0A0a", "0A0A0A0A0A0A0A0A0A0A"},
      {"", ""},
      {"FF0", ""},
      {"12ff", [] {
         std::string s;
         for (int i = 0; i < 255; ++i) s += "12";
         return s;
       }()},
  };
  for (const auto& [text, expanded] : cases) EXPECT_EQ(UnZip(text), expanded) << text;
}

TEST(RunLengthTextTest, UnZipRefusesBadTextAndOverlongExpansions) {
  ExpectInvalidInteger([] { (void)UnZip("FF0G"); }, "G");
  ExpectInvalidInteger([] { (void)UnZip("FF01GG01"); }, "$GG");
  ExpectInvalidInteger([] { (void)UnZip("FF-1"); }, "-");
  // 256 MiB of text needs about 526,000 full groups; one group more is refused
  // before anything is allocated.
  std::string many;
  for (size_t i = 0; i <= kMaxUnZipText / 510; ++i) many += "00FF";
  EXPECT_THROW((void)UnZip(many), EConvertError);
}

TEST(RunLengthTextTest, HexToInt) {
  const std::pair<std::string, int64_t> cases[] = {
      {"1f", 31}, {"1F", 31}, {"", 0}, {"0", 0}, {"FF", 255}, {"7FFFFFFF", 0x7FFFFFFF},
      {"FFFFFFFF", 0xFFFFFFFF}, {"00000000FFFFFFFF", 0xFFFFFFFF},  // leading zeros do not count
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(HexToInt(text), value) << text;
  ExpectInvalidInteger([] { (void)HexToInt("1g"); }, "g");
  ExpectInvalidInteger([] { (void)HexToInt(" 1"); }, " ");
  ExpectInvalidInteger([] { (void)HexToInt("100000000"); }, "100000000");
  ExpectInvalidInteger([] { (void)HexToInt(std::string(40, 'F')); }, std::string(40, 'F'));
}

TEST(StringIndexTest, FindsCharactersAndStrings) {
  EXPECT_EQ(StringIndex('c', "abcdef"), 3);
  EXPECT_EQ(StringIndex('C', "abcdef"), 3);
  EXPECT_EQ(StringIndex('g', "abcdef"), 0);
  EXPECT_EQ(StringIndex('a', ""), 0);

  const std::vector<std::string> array = {"QV", "qp", "\xB2\xE2" "a", "QP"};
  EXPECT_EQ(StringIndex("QP", array, true), 4);
  EXPECT_EQ(StringIndex("QP", array, false), 2);
  EXPECT_EQ(StringIndex("qv", array, true), 0);
  EXPECT_EQ(StringIndex("qv", array, false), 1);
  EXPECT_EQ(StringIndex("\xB2\xE2" "A", array, false), 3);
  // A trail byte that happens to be an ASCII letter is not folded: 0x81 0x41
  // and 0x81 0x61 are different characters.
  EXPECT_EQ(StringIndex("\x81\x41", {"\x81\x61"}, false), 0);
  EXPECT_EQ(StringIndex("x", {}, false), 0);
}

}  // namespace
}  // namespace quillet
