#include "platform/core/arith.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillet {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(ArithMulDiv, RoundsHalvesAwayFromZero) {
  struct Case {
    int32_t a, b, c, expected;
  } cases[] = {
      {5, 1, 2, 3},    {-5, 1, 2, -3},  {5, -1, 2, -3},  {-5, -1, 2, 3},   {5, 1, -2, -3},
      {7, 1, 3, 2},    {8, 1, 3, 3},    {-7, 1, 3, -2},  {-8, 1, 3, -3},   {1, 1, 3, 0},
      {12, 96, 72, 16}, {10, 144, 96, 15}, {3, 1, 2, 2},  {0, 5, 7, 0},     {1, 1, 2, 1},
      // 64-bit intermediate: the product does not fit in 32 bits, the quotient does.
      {kMax, kMax, kMax, kMax}, {kMin, kMin, kMin, kMin}, {100000, 100000, 100000, 100000},
  };
  for (const auto& t : cases)
    EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected) << t.a << " * " << t.b << " / " << t.c;
}

TEST(ArithMulDiv, ZeroDivisorAndOverflowAnswerMinusOne) {
  EXPECT_EQ(MulDiv(10, 10, 0), -1);
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
  EXPECT_EQ(MulDiv(kMax, 2, 1), -1);
  EXPECT_EQ(MulDiv(kMin, 1, -1), -1);  // 2^31 does not fit
  EXPECT_EQ(MulDiv(kMin, -1, 1), -1);
}

TEST(ArithParseInt, AcceptsOnlyWholeDecimalText) {
  struct Case {
    const char* text;
    std::optional<int64_t> expected;
  } cases[] = {
      {"0", 0},
      {"+17", 17},
      {"-17", -17},
      {"007", 7},
      {"9223372036854775807", std::numeric_limits<int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
      {"9223372036854775808", std::nullopt},
      {"-9223372036854775809", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+-1", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"12a", std::nullopt},
      {"0x10", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const auto& t : cases) EXPECT_EQ(ParseInt64(t.text), t.expected) << '"' << t.text << '"';
}

TEST(ArithParseInt, Int32RangeIsChecked) {
  EXPECT_EQ(ParseInt32("2147483647"), kMax);
  EXPECT_EQ(ParseInt32("-2147483648"), kMin);
  EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInt32("-2147483649"), std::nullopt);
  EXPECT_EQ(ParseInt32("4294967296"), std::nullopt);  // would wrap to 0 if truncated
}

TEST(ArithParseInt, StrToIntOptReadsDecimalAndDollarHexadecimal) {
  const struct {
    const char* text;
    std::optional<int32_t> expected;
  } cases[] = {
      {"12", 12},          {"-12", -12},       {"$1F", 31},         {"$ff", 255},
      {"-$10", -16},       {"+$10", 16},       {"$80000005", static_cast<int32_t>(0x80000005u)},
      {"$FFFFFFFF", -1},   {"$100000000", std::nullopt},            {"$", std::nullopt},
      {"-$", std::nullopt}, {"$1G", std::nullopt}, {"x10", std::nullopt}, {"2147483648", std::nullopt},
      {"", std::nullopt},  {" 1", std::nullopt},
  };
  for (const auto& t : cases) EXPECT_EQ(StrToIntOpt(t.text), t.expected) << '"' << t.text << '"';
}

TEST(ArithText, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(0xABC, 2), "ABC");
  EXPECT_EQ(IntToHex(0xAB, 6), "0000AB");
  EXPECT_EQ(IntToHex(0xFFFFFFFFFFFFFFFFull, 1), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(5, -3), "5");
}

}  // namespace
}  // namespace quillet
