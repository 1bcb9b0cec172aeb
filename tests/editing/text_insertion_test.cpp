// Text at the caret: separators become paragraphs, lines and page breaks,
// list paragraphs get a marker each, the new text joins its neighbours of
// the same style, and the caret lands before or after it, each through the
// undo and redo check.
#include "engine/model/marker_list.h"
#include "insertion_test_util.h"

namespace quillet::test {
namespace {

struct SeparatorCase {
  const char* name;
  const char* text;  // UTF-8, inserted as UTF-16
  const char* expected;
  std::pair<int, int32_t> caret;
};

void PrintTo(const SeparatorCase& c, std::ostream* os) { *os << c.name; }

class Separators : public InsertionTest, public testing::WithParamInterface<SeparatorCase> {};

TEST_P(Separators, BecomeStructure) {
  const SeparatorCase& c = GetParam();
  LoadAt("P0 0\"xy\"", 0, 2);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(InsertW(c.text)); }));
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(Caret(), c.caret);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

const SeparatorCase kSeparators[] = {
    {"CrLf", "1\r\n2", "P0 0\"x1\" P0 0\"2y\"", {1, 2}},
    {"LfCr", "1\n\r2", "P0 0\"x1\" P0 0\"2y\"", {1, 2}},
    {"LoneCr", "1\r2", "P0 0\"x1\" P0 0\"2y\"", {1, 2}},
    {"TwoLineEnds", "1\n\n2", "P0 0\"x1\" P0 0\"\" P0 0\"2y\"", {2, 2}},
    {"ParagraphSeparator", "1\u20292", "P0 0\"x1\" P0 0\"2y\"", {1, 2}},
    {"LineSeparator", "1\u20282", "P0 0\"x1\" / 0\"2y\"", {1, 2}},
    {"VerticalTab", "1\v2", "P0 0\"x1\" / 0\"2y\"", {1, 2}},
    {"FormFeed", "1\f2", "P0 0\"x1\" P0 ^ 0\"2y\"", {1, 2}},
    {"TrailingLineEnd", "1\r\n", "P0 0\"x1\" P0 0\"y\"", {1, 1}},
    {"Tab", "a\tb", "P0 0\"xa        by\"", {0, 12}},
    {"ChineseIntoGbk", "中", "P0 0\"x中y\"", {0, 4}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Separators, testing::ValuesIn(kSeparators),
                         [](const testing::TestParamInfo<SeparatorCase>& info) { return info.param.name; });

TEST_F(InsertionTest, NulSeparatesLines) {
  // The table's C string stops at NUL; this one keeps it.
  LoadAt("P0 0\"xy\"", 0, 2);
  std::string text = W("1");
  text += std::string(2, '\0');
  text += W("2");
  ASSERT_TRUE(Inserting([&] { return Data().InsertTextW_(text, false); }));
  EXPECT_EQ(Doc(), "P0 0\"x1\" / 0\"2y\"");
}

TEST_F(InsertionTest, ListParagraphGetsAMarkerPerNewParagraph) {
  LoadAt("P0 mk 0\"ab\"", 1, 2);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(Insert8("1\r\n2\r\n3")); }));
  EXPECT_EQ(Doc(), "P0 mk 0\"a1\" P0 mk 0\"2\" P0 mk 0\"3b\"");
  EXPECT_EQ(Caret(), std::make_pair(5, 2));
  EXPECT_TRUE(DrawingIsFresh(Data()));
  // Each copy is counted in the root's marker list.
  EXPECT_EQ(Data().GetMarkers(false)->Count(), 3);
}

struct CaretCase {
  const char* name;
  const char* doc;
  int32_t curStyle;
  const char* text;
  bool caretBefore;
  const char* expected;
  std::pair<int, int32_t> caret;
};

void PrintTo(const CaretCase& c, std::ostream* os) { *os << c.name; }

class CaretAfterInsertion : public InsertionTest, public testing::WithParamInterface<CaretCase> {};

TEST_P(CaretAfterInsertion, LandsInTheJoinedItem) {
  const CaretCase& c = GetParam();
  LoadAt(c.doc, 0, 2);
  Data().FCurTextStyleNo = c.curStyle;
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(Insert8(c.text, c.caretBefore)); }));
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(Caret(), c.caret);
}

const CaretCase kCarets[] = {
    {"AfterJoinedBothSides", "P0 0\"ab\"", kGbk, "xy", false, "P0 0\"axyb\"", {0, 4}},
    // The text joins the item before it: the caret stays in that item.
    {"BeforeJoinedBothSides", "P0 0\"ab\"", kGbk, "xy", true, "P0 0\"axyb\"", {0, 2}},
    {"BeforeOverLines", "P0 0\"ab\"", kGbk, "x\r\ny", true, "P0 0\"ax\" P0 0\"yb\"", {0, 2}},
    {"AfterOverLines", "P0 0\"ab\"", kGbk, "x\r\ny", false, "P0 0\"ax\" P0 0\"yb\"", {1, 2}},
    {"OtherStyleAfter", "P0 1\"ab\"", kGbk, "x", false, "P0 1\"a\" 0\"x\" 1\"b\"", {1, 2}},
    {"OtherStyleBefore", "P0 1\"ab\"", kGbk, "x", true, "P0 1\"a\" 0\"x\" 1\"b\"", {1, 1}},
    {"UnicodeStyleTakesGbkText", "P0 1\"ab\"", kUni, "\xd6\xd0", false, "P0 1\"a中b\"", {0, 3}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CaretAfterInsertion, testing::ValuesIn(kCarets),
                         [](const testing::TestParamInfo<CaretCase>& info) { return info.param.name; });

TEST_F(InsertionTest, RefusedInAReadOnlyParagraph) {
  LoadAt(WithStyles("P0 0\"ab\" PR 0\"cd\""), 1, 2);
  const std::string before = DvfBytes(Data());
  EXPECT_FALSE(InsertW("x\ny"));
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(InsertionTest, EmptyTextChangesNothing) {
  LoadAt("P0 0\"ab\"", 0, 2);
  EXPECT_TRUE(InsertW(""));
  EXPECT_EQ(Doc(), "P0 0\"ab\"");
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

}  // namespace
}  // namespace quillet::test
