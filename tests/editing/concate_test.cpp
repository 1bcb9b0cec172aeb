// Joining two text items: every pairing of empty and non-empty items of the
// two encodings, through Undo and Redo.
#include <gtest/gtest.h>

#include "edit_test_util.h"

namespace quillet::test {
namespace {

struct ConcateCase {
  const char* name;
  const char* fixture;
  int itemNo;
  const char* expected;
};

void PrintTo(const ConcateCase& c, std::ostream* os) { *os << c.name; }

const ConcateCase kConcates[] = {
    {"BothGbk", R"(P0 0"ab" 0"中")", 0, R"(P0 0"ab中")"},
    {"BothUnicode", R"(P0 1"ab" 1"中")", 0, R"(P0 1"ab中")"},
    {"EmptyGbkThenGbk", R"(P0 0"" 2"cd")", 0, R"(P0 2"cd")"},
    {"EmptyUnicodeThenUnicode", R"(P0 1"" 1"cd")", 0, R"(P0 1"cd")"},
    {"EmptyGbkThenUnicode", R"(P1 ^ 0"" 1"cd")", 0, R"(P1 ^ 1"cd")"},
    {"EmptyUnicodeThenGbk", R"(P0 1"" 0"cd")", 0, R"(P0 0"cd")"},
    {"EmptyOnLineThenUnicode", R"(P0 0"x" / 0"" 1"cd")", 1, R"(P0 0"x" / 1"cd")"},
    {"GbkThenEmptyGbk", R"(P0 0"ab" 0"")", 0, R"(P0 0"ab")"},
    // The empty second item goes, not the text before it.
    {"UnicodeThenEmptyGbk", R"(P0 1"ab" 0"")", 0, R"(P0 1"ab")"},
    {"GbkThenEmptyUnicode", R"(P0 0"ab" 1"")", 0, R"(P0 0"ab")"},
    {"UnicodeThenEmptyUnicode", R"(P0 1"ab" 1"")", 0, R"(P0 1"ab")"},
    {"BothEmpty", R"(P0 0"" 1"")", 0, R"(P0 0"")"},
};

class ConcateTest : public EditTest, public testing::WithParamInterface<ConcateCase> {};

TEST_P(ConcateTest, JoinsAndUndoes) {
  const ConcateCase& c = GetParam();
  Load(c.fixture);
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    Edit(Data(), dvutDelete, c.itemNo, c.itemNo + 1, -1, [&] { Data().Do_Concate(c.itemNo); });
  }));
  EXPECT_EQ(Doc(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Edit, ConcateTest, testing::ValuesIn(kConcates),
                         [](const testing::TestParamInfo<ConcateCase>& info) { return info.param.name; });

// Two texts of different encodings stay apart: neither is lost.
TEST_F(EditTest, ConcateOfTwoEncodingsKeepsBoth) {
  Load(R"(P0 0"ab" 1"中")");
  Edit(Data(), dvutDelete, 0, 1, 0, [&] { Data().Do_Concate(0); });
  EXPECT_EQ(Doc(), R"(P0 0"ab" 1"中")");
}

}  // namespace
}  // namespace quillet::test
