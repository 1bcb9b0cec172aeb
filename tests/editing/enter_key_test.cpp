// Enter and Shift+Enter at each kind of caret position, a list paragraph's
// marker copied, the next styles of a heading taken over, refusals beeping
// without a group, and page breaks, each through the undo and redo check.
#include "insertion_test_util.h"

namespace quillet::test {
namespace {

struct EnterCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  bool shift;
  const char* expected;
  std::pair<int, int32_t> caret;
};

void PrintTo(const EnterCase& c, std::ostream* os) { *os << c.name; }

class Enter : public InsertionTest, public testing::WithParamInterface<EnterCase> {};

TEST_P(Enter, SplitsAtTheCaret) {
  const EnterCase& c = GetParam();
  LoadAt(c.doc, c.itemNo, c.offs);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().OnEnterPress_(c.shift); }));
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(Caret(), c.caret);
  EXPECT_EQ(beeps, 0);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

const EnterCase kEnter[] = {
    // The rest keeps the style and takes a copy of the tag.
    {"MidText", "P1 @7 0\"abcd\"", 0, 3, false, "P1 @7 0\"ab\" P1 @7 0\"cd\"", {1, 1}},
    {"ShiftMidText", "P0 0\"abcd\"", 0, 3, true, "P0 0\"ab\" / 0\"cd\"", {1, 1}},
    {"EndOfParagraph", "P0 0\"ab\" P1 0\"c\"", 0, 3, false, "P0 0\"ab\" P0 0\"\" P1 0\"c\"", {1, 1}},
    {"StartOfParagraph", "P0 0\"x\" P1 0\"ab\"", 1, 1, false, "P0 0\"x\" P1 0\"\" P1 0\"ab\"", {2, 1}},
    {"ShiftAtEnd", "P0 0\"ab\"", 0, 3, true, "P0 0\"ab\" / 0\"\"", {1, 1}},
    {"ShiftAtStart", "P0 0\"x\" P1 0\"ab\"", 1, 1, true, "P0 0\"x\" P1 0\"\" / 0\"ab\"", {2, 1}},
    {"BetweenItems", "P0 0\"ab\" 1\"cd\"", 1, 1, false, "P0 0\"ab\" P0 1\"cd\"", {1, 1}},
    {"ShiftBetweenItems", "P0 0\"ab\" 1\"cd\"", 1, 1, true, "P0 0\"ab\" / 1\"cd\"", {1, 1}},
    {"PageBreakStaysWithTheFirstLine", "P0 0\"x\" P0 ^ 0\"ab\"", 1, 1, false, "P0 0\"x\" P0 ^ 0\"\" P0 0\"ab\"",
     {2, 1}},
    {"ListMidText", "P0 mk 0\"abcd\"", 1, 3, false, "P0 mk 0\"ab\" P0 mk 0\"cd\"", {3, 1}},
    {"ListEnd", "P0 mk 0\"ab\"", 1, 3, false, "P0 mk 0\"ab\" P0 mk 0\"\"", {3, 1}},
    {"ListStart", "P0 mk 0\"ab\"", 1, 1, false, "P0 mk 0\"\" P0 mk 0\"ab\"", {3, 1}},
    {"ListShiftMid", "P0 mk 0\"abcd\"", 1, 3, true, "P0 mk 0\"ab\" / 0\"cd\"", {2, 1}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Enter, testing::ValuesIn(kEnter),
                         [](const testing::TestParamInfo<EnterCase>& info) { return info.param.name; });

TEST_F(InsertionTest, EnterAtAHeadingsEndTakesItsNextStyles) {
  const int32_t heading = AddTextStyle(0);
  sheet.TextStyles()[heading].NextStyleNo = kUni;
  sheet.ParaStyles()[kIndentPara].NextParaNo = kPlainPara;
  LoadAt("P1 " + std::to_string(heading) + "\"Title\"", 0, 6);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().OnEnterPress_(false); }));
  EXPECT_EQ(Doc(), "P1 " + std::to_string(heading) + "\"Title\" P0 1\"\"");
  EXPECT_EQ(Data().FCurTextStyleNo, kUni);
  EXPECT_EQ(Data().FCurParaStyleNo, kPlainPara);
}

TEST_F(InsertionTest, EnterBeforeAParaStartProtectedItemBeeps) {
  const std::string protectedNo = std::to_string(AddTextStyle(dvprParaStartProtect));
  for (int32_t offs : {1, 3}) {
    LoadAt("P0 0\"ab\" " + protectedNo + "\"cd\"", offs == 1 ? 1 : 0, offs);
    const std::string before = DvfBytes(Data());
    beeps = 0;
    Data().OnEnterPress_(false);
    EXPECT_EQ(DvfBytes(Data()), before);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(Data().UndoList->Count(), 0);
  }
}

TEST_F(InsertionTest, EnterInsideModifyProtectedTextBeeps) {
  LoadAt("P0 2\"abcd\"", 0, 3);
  const std::string before = DvfBytes(Data());
  Data().OnEnterPress_(false);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

struct PageBreakCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  const char* expected;
};

void PrintTo(const PageBreakCase& c, std::ostream* os) { *os << c.name; }

class PageBreak : public InsertionTest, public testing::WithParamInterface<PageBreakCase> {};

TEST_P(PageBreak, GoesBeforeTheCaretsParagraphInOneGroup) {
  const PageBreakCase& c = GetParam();
  LoadAt(c.doc, c.itemNo, c.offs);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().InsertPageBreak(); }));
  EXPECT_EQ(Doc(), c.expected);
  Data().UndoList->Undo(Data());
  Data().RedoList->Redo(Data());
  EXPECT_EQ(Data().UndoList->Count(), 1);
  EXPECT_EQ(Data().UndoList->CurrentUndoType(), dvutInsertPageBreak);
}

const PageBreakCase kPageBreaks[] = {
    {"MidText", "P0 0\"abcd\"", 0, 3, "P0 0\"ab\" P0 ^ 0\"cd\""},
    {"ParagraphStart", "P0 0\"ab\" P1 0\"cd\"", 1, 1, "P0 0\"ab\" P1 ^ 0\"cd\""},
    {"LineStart", "P0 0\"ab\" / 0\"cd\"", 1, 1, "P0 0\"ab\" P0 ^ 0\"cd\""},
    {"ListParagraph", "P0 0\"ab\" P0 mk 0\"cd\"", 2, 1, "P0 0\"ab\" P0 ^ mk 0\"cd\""},
};

INSTANTIATE_TEST_SUITE_P(Cases, PageBreak, testing::ValuesIn(kPageBreaks),
                         [](const testing::TestParamInfo<PageBreakCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quillet::test
