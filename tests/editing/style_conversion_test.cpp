// Style conversion through a handler with a fixed map: a selection inside a
// word splits the item in three, whole items rejoin their neighbours, a
// backwards selection stays backwards, text changes form between GBK and
// UTF-16 and back to the same bytes, and without a selection only the caret
// style (or an empty caret item) changes. Paragraph styles convert per
// paragraph and undo per paragraph.
#include "insertion_test_util.h"

namespace quillet::test {
namespace {

struct ConversionCase {
  const char* name;
  const char* doc;
  std::tuple<int, int32_t, int, int32_t> selection;  // as made: anchor first
  std::map<int32_t, int32_t> map;
  const char* expected;
  std::tuple<int, int32_t, int, int32_t> after;  // in document order
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

class Conversion : public InsertionTest, public testing::WithParamInterface<ConversionCase> {};

TEST_P(Conversion, RestylesExactlyTheSelection) {
  const ConversionCase& c = GetParam();
  Load(c.doc);
  const auto [s, so, e, eo] = c.selection;
  Data().SetSelectionBounds(s, so, e, eo);
  MapStyles(c.map);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().ApplyStyleConversion_(7); }));
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(lastUserData, 7);
  EXPECT_EQ(Data().UndoList->CurrentUndoType(), dvutStyleNo);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

const ConversionCase kConversions[] = {
    {"InsideAWord", "P0 0\"abcdef\"", {0, 3, 0, 5}, {{kGbk, kUni}}, "P0 0\"ab\" 1\"cd\" 0\"ef\"", {}},
    {"ItemStart", "P0 0\"abcdef\"", {0, 1, 0, 3}, {{kGbk, kUni}}, "P0 1\"ab\" 0\"cdef\"", {}},
    {"ItemEnd", "P0 0\"abcdef\"", {0, 5, 0, 7}, {{kGbk, kUni}}, "P0 0\"abcd\" 1\"ef\"", {}},
    {"WholeItemsRejoin", "P0 0\"ab\" 1\"cd\" 0\"ef\"", {1, 1, 1, 3}, {{kUni, kGbk}}, "P0 0\"abcdef\"", {}},
    {"OverSeveralItems", "P0 0\"ab\" pic:10x10 0\"cd\" P1 0\"ef\"", {0, 2, 3, 2}, {{kGbk, kUni}},
     "P0 0\"a\" 1\"b\" pic:10x10 1\"cd\" P1 1\"e\" 0\"f\"", {}},
    {"GbkToUnicode", "P0 0\"中文ab\"", {0, 1, 0, 7}, {{kGbk, kUni}}, "P0 1\"中文ab\"", {}},
    {"KeepsCheckpointOnTheFirstPiece", "P0 #cp 0\"abcd\"", {0, 3, 0, 5}, {{kGbk, kUni}},
     "P0 #cp 0\"ab\" 1\"cd\"", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Conversion, testing::ValuesIn(kConversions),
                         [](const testing::TestParamInfo<ConversionCase>& info) { return info.param.name; });

TEST_F(InsertionTest, SelectionStaysOnTheConvertedCharacters) {
  Load("P0 0\"abcdef\"");
  Data().SetSelectionBounds(0, 3, 0, 5);
  MapStyles({{kGbk, kUni}});
  Data().ApplyStyleConversion_(0);
  EXPECT_TRUE(Data().SelectionExists(false, false));
  int s, e;
  int32_t so, eo;
  Data().GetSelectionBounds(s, so, e, eo, true);
  EXPECT_EQ(s == e ? eo - so : Data().ItemLength(s) + 1 - so + eo - 1, 2);
  // The caret is at the selection's end, and may be shown.
  EXPECT_EQ(Caret(), std::make_pair(1, 3));
}

TEST_F(InsertionTest, BackwardsSelectionStaysBackwards) {
  Load("P0 0\"abcdef\"");
  Data().SetSelectionBounds(0, 5, 0, 3);
  MapStyles({{kGbk, kUni}});
  Data().ApplyStyleConversion_(0);
  EXPECT_EQ(Doc(), "P0 0\"ab\" 1\"cd\" 0\"ef\"");
  int s, e;
  int32_t so, eo;
  Data().GetSelectionBounds(s, so, e, eo, false);
  EXPECT_GT(std::make_pair(s, so), std::make_pair(e, eo));
  // At the anchor's end: the end of "ab", which is the start of "cd".
  const auto caret = Caret();
  EXPECT_TRUE(caret == std::make_pair(0, 3) || caret == std::make_pair(1, 1)) << caret.first << "," << caret.second;
}

TEST_F(InsertionTest, GbkToUnicodeAndBackGivesTheSameBytes) {
  Load("P0 0\"ab\" 0\"中文\" P1 0\"x中\"");
  const std::string before = DvfBytes(Data());
  Data().SelectAll();
  MapStyles({{kGbk, kUni}});
  Data().ApplyStyleConversion_(0);
  EXPECT_EQ(Doc(), "P0 1\"ab中文\" P1 1\"x中\"");
  Data().SelectAll();
  MapStyles({{kUni, kGbk}});
  Data().ApplyStyleConversion_(0);
  EXPECT_EQ(Doc(), "P0 0\"ab中文\" P1 0\"x中\"");
  Data().UndoList->Undo(Data());
  Data().UndoList->Undo(Data());
  EXPECT_EQ(DvfBytes(Data()), before);
}

TEST_F(InsertionTest, EmptyCaretItemTakesTheStyle) {
  LoadAt("P0 0\"ab\" P0 0\"\"", 1, 1);
  MapStyles({{kGbk, kUni}});
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { Data().ApplyStyleConversion_(0); }));
  EXPECT_EQ(Doc(), "P0 0\"ab\" P0 1\"\"");
  EXPECT_EQ(Data().FCurTextStyleNo, kUni);
  EXPECT_EQ(Data().UndoList->Count(), 1);
}

TEST_F(InsertionTest, WithoutSelectionOnlyTheCaretStyleChanges) {
  LoadAt("P0 0\"abc\"", 0, 2);
  const std::string before = DvfBytes(Data());
  MapStyles({{kGbk, kUni}});
  Data().ApplyStyleConversion_(3);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_EQ(Data().FCurTextStyleNo, kUni);
  EXPECT_FALSE(lastAppliedToText);
  EXPECT_EQ(Data().FPrevTextStyleNo, kGbk);
}

TEST_F(InsertionTest, TagsClearedOnlyWhenAsked) {
  for (bool clear : {false, true}) {
    Load("P0 @5 0\"abcdef\"");
    editor->EditorOptions = clear ? TDVEditorOptions{dvoClearTagOnStyleApp} : TDVEditorOptions{0};
    Data().SetSelectionBounds(0, 3, 0, 5);
    MapStyles({{kGbk, kUni}});
    Data().ApplyStyleConversion_(0);
    EXPECT_EQ(Doc(), clear ? "P0 @5 0\"ab\" 1\"cd\" @5 0\"ef\"" : "P0 @5 0\"ab\" @5 1\"cd\" @5 0\"ef\"");
  }
}

TEST_F(InsertionTest, ParagraphStylesConvertPerParagraphAndUndo) {
  Load("P0 0\"ab\" / 0\"cd\" P1 0\"ef\" P0 0\"gh\"");
  Data().SetSelectionBounds(1, 2, 2, 2);
  MapStyles({{kPlainPara, kIndentPara}, {kIndentPara, kPlainPara}});
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    TDVEditOperation operation(Data());
    Data().BeginUndoSequence(dvutPara, true);
    Data().ApplyParaStyle(kIndentPara, true);
    Data().Change();
  }));
  EXPECT_EQ(Doc(), "P1 0\"ab\" / 0\"cd\" P0 0\"ef\" P0 0\"gh\"");
  EXPECT_EQ(lastUserData, kIndentPara);
  EXPECT_FALSE(lastAppliedToText);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

TEST_F(InsertionTest, ParagraphStyleSetOnEveryTouchedParagraph) {
  Load("P0 0\"ab\" P1 0\"cd\" P0 0\"ef\"");
  Data().SetSelectionBounds(0, 2, 1, 2);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    TDVEditOperation operation(Data());
    Data().BeginUndoSequence(dvutPara, true);
    Data().ApplyParaStyle(kProtectedPara, false);
    Data().Change();
  }));
  EXPECT_EQ(Doc(), "P2 0\"ab\" P2 0\"cd\" P0 0\"ef\"");
}

}  // namespace
}  // namespace quillet::test
