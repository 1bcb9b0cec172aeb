// The services the editing operations stand on: sticking boundaries, the
// section edges at the caret, the Shift-selection bracket, the character
// before the caret, style bookkeeping and the search start.
#include "caret_test_util.h"
#include "platform/core/stream.h"

namespace quillet::test {
namespace {

struct StickingCase {
  const char* name;
  const char* doc;  // S: the sticking style
  int firstItemNo;
  bool sticking;
};

class Sticking : public CaretTest, public testing::WithParamInterface<StickingCase> {};

TEST_P(Sticking, BoundaryIsStickingOnlyWhenBothSidesAre) {
  Load(WithStyles(GetParam().doc));
  EXPECT_EQ(Data().IsSticking(GetParam().firstItemNo), GetParam().sticking);
  EXPECT_EQ(beeps, GetParam().sticking ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, Sticking,
    testing::Values(StickingCase{"BothSides", "P0 S\"a\" S\"b\"", 0, true},
                    StickingCase{"OneSide", "P0 S\"a\" 0\"b\"", 0, false},
                    StickingCase{"DocumentStart", "P0 S\"a\" 0\"b\"", -1, true},
                    StickingCase{"DocumentEnd", "P0 0\"a\" S\"b\"", 1, true},
                    StickingCase{"PlainEnd", "P0 S\"a\" 0\"b\"", 1, false}),
    [](const testing::TestParamInfo<StickingCase>& info) { return info.param.name; });

TEST_F(CaretTest, StickingReadsNothingInADocumentWithoutItems) {
  Data().Clear();
  EXPECT_FALSE(Data().IsSticking(-1));
  EXPECT_FALSE(Data().IsSticking(0));
  EXPECT_EQ(beeps, 0);
}

struct EdgeCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  bool atBeginning, atEnd;
};

class SectionEdges : public CaretTest, public testing::WithParamInterface<EdgeCase> {};

TEST_P(SectionEdges, FollowTheCaretAndTheParagraphFlags) {
  LoadAt(GetParam().doc, GetParam().itemNo, GetParam().offs);
  EXPECT_EQ(Data().CaretAtTheBeginningOfParaSection(), GetParam().atBeginning);
  EXPECT_EQ(Data().CaretAtTheEndOfParaSection(), GetParam().atEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Carets, SectionEdges,
    testing::Values(EdgeCase{"StartOfParagraph", "P0 0\"ab\" P0 0\"cd\"", 1, 1, true, false},
                    EdgeCase{"EndOfParagraph", "P0 0\"ab\" P0 0\"cd\"", 0, 3, false, true},
                    EdgeCase{"Middle", "P0 0\"ab\"", 0, 2, false, false},
                    EdgeCase{"EmptyLine", "P0 0\"\"", 0, 1, true, true},
                    EdgeCase{"LineBreakStartsASection", "P0 0\"ab\" / 0\"cd\"", 1, 1, true, false},
                    EdgeCase{"ContinuationIsNoStart", "P0 0\"ab\" 1\"cd\"", 1, 1, false, false},
                    EdgeCase{"AfterPictureAtEnd", "P0 0\"ab\" pic:10x10", 1, 1, false, true}),
    [](const testing::TestParamInfo<EdgeCase>& info) { return info.param.name; });

TEST_F(CaretTest, ShiftBracketExtendsASelectionFromTheCaret) {
  LoadAt("P0 0\"abcd\"", 0, 2);
  Data().StartShiftMoving();
  Data().CaretOffs += 2;
  Data().ChangeCaret(false, false, false, true);
  Data().EndShiftMoving();
  EXPECT_EQ(Selection(), std::make_tuple(0, 2, 0, 4));
}

TEST_F(CaretTest, SelectionBoundsWithoutASelectionAreTheCaret) {
  LoadAt("P0 0\"abcd\" P0 0\"ef\"", 1, 2);
  EXPECT_EQ(Selection(), std::make_tuple(1, 2, 1, 2));
}

// The character before the caret is whole: two bytes of a GBK character.
TEST_F(CaretTest, SelectBackWordTakesTheWholeCharacterBefore) {
  LoadAt("P0 0\"a中\"", 0, 4);
  Data().SelectBackWord();
  EXPECT_EQ(Selection(), std::make_tuple(0, 2, 0, 4));
}

TEST_F(CaretTest, DeletingStylesClearsUndoAndRenumbersTheCurrentStyles) {
  const int32_t unused = AddTextStyle(0);
  const int32_t used = AddTextStyle(0);
  Load("P0 " + std::to_string(used) + "\"ab\"");
  Data().SetCaretAtItem(0, 2);
  ASSERT_EQ(Data().FCurTextStyleNo, used);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    Edit(Data(), dvutInsert, 0, 0, 0, [&] { Data().Do_InsertSubstring(0, 1, "x"); });
  }));
  ASSERT_GT(Data().UndoList->Count(), 0);
  Data().FPrevTextStyleNo = unused;
  Data().DeleteUnusedStyles(true, false);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_EQ(Data().RedoList->Count(), 0);
  EXPECT_EQ(Data().FCurTextStyleNo, used - 1);
  EXPECT_EQ(Data().FPrevTextStyleNo, 0);
}

TEST_F(CaretTest, SearchStartsAtTheCaretAndCrossesItemEdges) {
  LoadAt("P0 0\"ab\" P0 0\"cd\"", 1, 1);
  int itemNo;
  int32_t offs;
  Data().SrchStart(false, itemNo, offs);
  EXPECT_EQ(std::make_pair(itemNo, offs), std::make_pair(0, 3));
  Data().SetCaretAtItem(0, 3);
  Data().SrchStart(true, itemNo, offs);
  EXPECT_EQ(std::make_pair(itemNo, offs), std::make_pair(1, 1));
  // An upward search from the second paragraph's start finds the first's.
  Data().SetCaretAtItem(1, 1);
  ASSERT_TRUE(Data().SearchText(false, true, "b", false));
  EXPECT_EQ(Caret(), std::make_pair(0, 2));
}

// Positions on a list marker move off it: forward after it or when it is
// the first item, otherwise back to the end of what precedes it.
TEST_F(CaretTest, MarkerPositionsMoveOffTheMarker) {
  Load("P0 0\"ab\" P0 mk 0\"cd\"");
  int itemNo = 1;
  int32_t offs = 1;
  Data().AdjustMarkerPos(itemNo, offs);
  EXPECT_EQ(std::make_pair(itemNo, offs), std::make_pair(2, 1));
  itemNo = 1;
  offs = 0;
  Data().AdjustMarkerPos(itemNo, offs);
  EXPECT_EQ(std::make_pair(itemNo, offs), std::make_pair(0, 3));
  Data().CaretDrawItemNo = Data().FindDrawItemByItem(1);
  Data().AdjustMarkerCaret(true, offs);
  EXPECT_EQ(std::make_pair(Data().DrawItems[Data().CaretDrawItemNo]->ItemNo, offs), std::make_pair(2, 1));
  Data().CaretDrawItemNo = Data().FindDrawItemByItem(1);
  Data().AdjustMarkerCaret(false, offs);
  EXPECT_EQ(std::make_pair(Data().DrawItems[Data().CaretDrawItemNo]->ItemNo, offs), std::make_pair(0, 3));
}

TEST_F(CaretTest, SavesBuildNoLastingHyperlinkAreas) {
  Load("P0 0\"ab\"");
  TMemoryStream rtf;
  EXPECT_TRUE(Data().SaveRTFToStream(rtf, false, clNone, nullptr));
  EXPECT_TRUE(Data().Jumps.empty());
}

}  // namespace
}  // namespace quillet::test
