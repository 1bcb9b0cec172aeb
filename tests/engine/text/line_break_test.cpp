#include "engine/text/line_break.h"

#include <gtest/gtest.h>

#include <vector>

#include "text_test_util.h"

namespace quillet {
namespace {

using test::U16;

struct ClassRow {
  char16_t first, last;
  TDVLineBreakClass cls;
};

// Every assignment the engine promises, several of which differ from today's
// Unicode data (U+000B, U+3000, U+3001, U+3002, U+0029 and others).
const ClassRow kClassRows[] = {
    {0x0000, 0x0008, dvu_lb_CM}, {0x000B, 0x000B, dvu_lb_CM}, {0x000E, 0x001F, dvu_lb_CM},
    {0x007F, 0x009F, dvu_lb_CM}, {0x0009, 0x0009, dvu_lb_BA}, {0x000A, 0x000A, dvu_lb_AL},
    {0x000C, 0x000D, dvu_lb_AL}, {0x0020, 0x0020, dvu_lb_AL}, {0x0021, 0x0021, dvu_lb_EX},
    {0x003F, 0x003F, dvu_lb_EX}, {0x0022, 0x0022, dvu_lb_QU}, {0x0027, 0x0027, dvu_lb_QU},
    {0x0024, 0x0024, dvu_lb_PR}, {0x002B, 0x002B, dvu_lb_PR}, {0x005C, 0x005C, dvu_lb_PR},
    {0x0025, 0x0025, dvu_lb_PO}, {0x0028, 0x0028, dvu_lb_OP}, {0x005B, 0x005B, dvu_lb_OP},
    {0x007B, 0x007B, dvu_lb_OP}, {0x0029, 0x0029, dvu_lb_CL}, {0x005D, 0x005D, dvu_lb_CL},
    {0x007D, 0x007D, dvu_lb_CL}, {0x002C, 0x002C, dvu_lb_IS}, {0x002E, 0x002E, dvu_lb_IS},
    {0x003A, 0x003B, dvu_lb_IS}, {0x002D, 0x002D, dvu_lb_HY}, {0x002F, 0x002F, dvu_lb_SY},
    {0x0030, 0x0039, dvu_lb_NU}, {0x007C, 0x007C, dvu_lb_BA}, {0x00AD, 0x00AD, dvu_lb_BA},
    {0x00A0, 0x00A0, dvu_lb_GL}, {0x2007, 0x2007, dvu_lb_GL}, {0x2011, 0x2011, dvu_lb_GL},
    {0x202F, 0x202F, dvu_lb_GL}, {0x2060, 0x2060, dvu_lb_GL}, {0xFEFF, 0xFEFF, dvu_lb_GL},
    {0x00B4, 0x00B4, dvu_lb_BB}, {0x2000, 0x2006, dvu_lb_BA}, {0x2008, 0x200A, dvu_lb_BA},
    {0x2010, 0x2010, dvu_lb_BA}, {0x2012, 0x2013, dvu_lb_BA}, {0x200B, 0x200B, dvu_lb_ZW},
    {0x2014, 0x2014, dvu_lb_B2}, {0x2024, 0x2026, dvu_lb_IN}, {0x3000, 0x3000, dvu_lb_ID},
    {0x3001, 0x3002, dvu_lb_CL}, {0x3005, 0x3005, dvu_lb_NS}, {0x301C, 0x301C, dvu_lb_NS},
    {0x303B, 0x303C, dvu_lb_NS}, {0x3041, 0x3041, dvu_lb_NS}, {0x3043, 0x3043, dvu_lb_NS},
    {0x30A1, 0x30A1, dvu_lb_NS}, {0x30FB, 0x30FB, dvu_lb_NS}, {0x30FD, 0x30FD, dvu_lb_NS},
    {0x3008, 0x3008, dvu_lb_OP}, {0x300A, 0x300A, dvu_lb_OP}, {0x300C, 0x300C, dvu_lb_OP},
    {0x300E, 0x300E, dvu_lb_OP}, {0x3010, 0x3010, dvu_lb_OP}, {0x3009, 0x3009, dvu_lb_CL},
    {0x300B, 0x300B, dvu_lb_CL}, {0x300D, 0x300D, dvu_lb_CL}, {0x300F, 0x300F, dvu_lb_CL},
    {0x3011, 0x3011, dvu_lb_CL}, {0x3400, 0x4DB5, dvu_lb_ID}, {0x4E00, 0x9FA5, dvu_lb_ID},
    {0xAC00, 0xD7A3, dvu_lb_ID}, {0xF900, 0xFA2D, dvu_lb_ID}, {0xFF01, 0xFF01, dvu_lb_EX},
    {0xFF1F, 0xFF1F, dvu_lb_EX}, {0xFF08, 0xFF08, dvu_lb_OP}, {0xFF3B, 0xFF3B, dvu_lb_OP},
    {0xFF5B, 0xFF5B, dvu_lb_OP}, {0xFF09, 0xFF09, dvu_lb_CL}, {0xFF0C, 0xFF0C, dvu_lb_CL},
    {0xFF0E, 0xFF0E, dvu_lb_CL}, {0xFF3D, 0xFF3D, dvu_lb_CL}, {0xFF5D, 0xFF5D, dvu_lb_CL},
    {0xFF1A, 0xFF1B, dvu_lb_NS},
    // Without a class of their own: letters, complex-context scripts (Thai),
    // surrogates, private use, unassigned code units.
    {0x0041, 0x005A, dvu_lb_AL}, {0x0E01, 0x0E01, dvu_lb_AL}, {0xD800, 0xDFFF, dvu_lb_AL},
    {0xE000, 0xF8FF, dvu_lb_AL}, {0xFFFF, 0xFFFF, dvu_lb_AL},
    // Combining marks.
    {0x0300, 0x0300, dvu_lb_CM},
};

TEST(LineBreakClass, EveryListedCodeUnitHasItsClass) {
  for (const auto& row : kClassRows) {
    for (uint32_t c = row.first; c <= row.last; ++c)
      ASSERT_EQ(GetCharLineBreakClass(static_cast<char16_t>(c)), row.cls) << std::hex << "U+" << c;
  }
}

TEST(LineBreakClass, RunsCoverTheBmpInOrder) {
  ASSERT_GT(kLineBreakRunCount, 1u);
  EXPECT_EQ(kLineBreakRuns[0].First, 0);
  for (size_t i = 1; i < kLineBreakRunCount; ++i) {
    ASSERT_LT(kLineBreakRuns[i - 1].First, kLineBreakRuns[i].First) << i;
    ASSERT_NE(kLineBreakRuns[i - 1].Class, kLineBreakRuns[i].Class) << i;  // runs are merged
  }
}

TEST(LineBreakPairs, TellingCells) {
  struct Cell {
    TDVLineBreakClass before, after;
    TDVBreakAction action;
  } cells[] = {
      {dvu_lb_OP, dvu_lb_AL, bk_PBK}, {dvu_lb_OP, dvu_lb_CM, bk_IBK}, {dvu_lb_AL, dvu_lb_CL, bk_PBK},
      {dvu_lb_ID, dvu_lb_ID, bk_DBK}, {dvu_lb_AL, dvu_lb_AL, bk_IBK}, {dvu_lb_B2, dvu_lb_B2, bk_PBK},
      {dvu_lb_ZW, dvu_lb_CL, bk_DBK}, {dvu_lb_ZW, dvu_lb_ZW, bk_PBK}, {dvu_lb_PR, dvu_lb_ID, bk_IBK},
      {dvu_lb_NU, dvu_lb_PO, bk_IBK}, {dvu_lb_ID, dvu_lb_PO, bk_IBK}, {dvu_lb_CL, dvu_lb_NS, bk_PBK},
      {dvu_lb_BB, dvu_lb_OP, bk_IBK}, {dvu_lb_HY, dvu_lb_AL, bk_DBK}, {dvu_lb_CM, dvu_lb_ID, bk_DBK},
  };
  for (const auto& c : cells) EXPECT_EQ(BreakPairs[c.before][c.after], c.action) << +c.before << ' ' << +c.after;
}

TEST(FindLineBreak, Cases) {
  struct Case {
    const char* what;
    std::u16string text;
    int pos;
    int expected;
  } cases[] = {
      {"break before the second word keeps the space", u"abc def", 5, 3},
      {"the first character that does not fit is a space", u"abc def", 3, 3},
      {"every space after the break stays", u"ab   cd", 6, 4},
      {"one long word offers no break", u"abcdef", 4, -1},
      {"nothing before position 0", u"ab cd", 0, -1},
      {"between two ideographs", u"中文字", 2, 1},
      {"a closing bracket never starts a line", u"中文）", 2, 0},
      {"nor an ideographic full stop", u"中文。", 2, 0},
      {"nor an ideographic comma", u"中文、", 2, 0},
      {"an opening bracket never ends a line", u"中（文", 2, 0},
      {"a no-break space joins its neighbours", u"ab\u00A0cd", 4, -1},
      {"after a hyphen", u"well-known", 7, 4},
      {"after a zero-width space", u"ab\u200Bcd", 4, 2},
      {"between an ideograph and a Latin word", u"中ab", 2, 0},
      {"between a Latin word and an ideograph", u"ab中", 2, 1},
      {"an ideographic space is ideographic", u"中\u3000文", 2, 1},
      {"never before a combining mark", u"中e\u0301", 2, 0},
      {"never inside a surrogate pair", u"ab\U0001F600", 3, -1},
      {"position past the text", u"ab cd", 5, -1},
      {"negative position", u"ab cd", -1, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(DVU_FindLineBreak(U16(c.text), c.pos), c.expected) << c.what;
  // An odd last byte is not a unit.
  EXPECT_EQ(DVU_FindLineBreak(U16(u"ab cd") + "x", 5), -1);
}

}  // namespace
}  // namespace quillet
