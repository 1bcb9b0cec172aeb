#include "engine/text/upper_case.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(UpperCase, Units) {
  const std::pair<char16_t, char16_t> cases[] = {
      {u'a', u'A'},       {u'Z', u'Z'},       {u'1', u'1'},       {0x00E9, 0x00C9}, {0x00FF, 0x0178},
      {0x0101, 0x0100},   {0x0100, 0x0100},   {0x0103, 0x0102},   {0x03C2, 0x03A3}, {0x0451, 0x0401},
      {0xFF41, 0xFF21},   {0x4E2D, 0x4E2D},   {0x00DF, 0x00DF},   {0xD801, 0xD801}, {0x10D0, 0x10D0},
      {0xFFFF, 0xFFFF},   {0x0000, 0x0000},
  };
  for (auto [in, out] : cases) EXPECT_EQ(DVU_UpperCaseUnit(in), out) << std::hex << +in;
}

TEST(UpperCase, RunsAreOrderedAndApart) {
  ASSERT_GT(kUpperCaseRunCount, 0u);
  for (size_t i = 0; i < kUpperCaseRunCount; ++i) {
    const TDVUpperCaseRun& r = kUpperCaseRuns[i];
    ASSERT_LE(r.First, r.Last) << i;
    ASSERT_GE(r.Step, 1) << i;
    ASSERT_EQ((r.Last - r.First) % r.Step, 0) << i;
    if (i > 0) {
      ASSERT_LT(kUpperCaseRuns[i - 1].Last, r.First) << i;
    }
  }
}

}  // namespace
}  // namespace quillet
