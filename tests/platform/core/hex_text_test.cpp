#include "platform/core/hex_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using namespace std::string_literals;

TEST(HexTextTest, EncodesEveryByteValue) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string hex = BytesToHex(all);
  ASSERT_EQ(hex.size(), 512u);
  for (int b = 0; b < 256; ++b) {
    static const char digits[] = "0123456789ABCDEF";
    EXPECT_EQ(hex.substr(2 * b, 2), std::string({digits[b >> 4], digits[b & 15]})) << b;
  }
  // Every length around the four-byte blocks, and back.
  for (size_t n = 0; n < 12; ++n) {
    const std::string part = all.substr(250 - n, n);
    const std::string text = BytesToHex(part);
    std::vector<uint8_t> back(n);
    EXPECT_EQ(HexToBytes(text, back.data()), n);
    EXPECT_EQ(std::string(back.begin(), back.end()), part);
  }
}

TEST(HexTextTest, DecodesEitherCaseAndStopsAtTheFirstBadPair) {
  struct Case {
    std::string text;
    size_t decoded;
    std::vector<uint8_t> bytes;  // the first `decoded` bytes
  };
  const Case cases[] = {
      {"", 0, {}},
      {"000aFf", 3, {0x00, 0x0A, 0xFF}},
      {"abC", 1, {0xAB}},  // the odd digit is the caller's
      {"0G", 0, {}},
      {"7B 1", 1, {0x7B}},
      {"7B\0"s "1", 1, {0x7B}},
      {"7B1g", 1, {0x7B}},
      {"\xB0" "A", 0, {}},  // bytes above 0x7F are not digits
      // A bad pair after a long valid run, past the first block.
      {std::string(300, 'A') + "ZZ" + "00", 150, std::vector<uint8_t>(150, 0xAA)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 20));
    std::vector<uint8_t> out(c.text.size() / 2 + 1, 0x55);
    ASSERT_EQ(HexToBytes(c.text, out.data()), c.decoded);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + static_cast<long>(c.decoded)), c.bytes);
  }
  EXPECT_EQ(HexDigitValue('f'), 15);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('g'), -1);
  EXPECT_EQ(HexDigitValue('\xC6'), -1);
}

}  // namespace
}  // namespace quillet
