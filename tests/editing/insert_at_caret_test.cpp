// Inserting an item at the caret: the caret at each kind of position, with
// a picture, a break (full-width) and a list marker, each through the undo
// and redo check; refusals beep and change no byte.
#include "caret_test_util.h"

namespace quillet::test {
namespace {

struct InsertCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  const char* kind;
  const char* expected;
  std::pair<int, int32_t> caret;  // after the new item
};

void PrintTo(const InsertCase& c, std::ostream* os) { *os << c.name; }

class InsertCases : public CaretTest, public testing::WithParamInterface<InsertCase> {};

TEST_P(InsertCases, PlacesTheItemAndItsParagraphFlags) {
  const InsertCase& c = GetParam();
  LoadAt(c.doc, c.itemNo, c.offs);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(InsertAtCaret(NewItem(c.kind))); }));
  EXPECT_EQ(Doc(), c.expected);
  EXPECT_EQ(Caret(), c.caret);
  EXPECT_EQ(beeps, 0);
}

const InsertCase kInserts[] = {
    {"PictureAtTextStart", "P0 0\"abcd\"", 0, 1, "pic", "P0 pic:10x10 0\"abcd\"", {0, 1}},
    {"PictureInTheMiddle", "P0 0\"abcd\"", 0, 3, "pic", "P0 0\"ab\" pic:10x10 0\"cd\"", {1, 1}},
    {"PictureAtTextEnd", "P0 0\"abcd\"", 0, 5, "pic", "P0 0\"abcd\" pic:10x10", {1, 1}},
    {"PictureReplacesEmptyText", "P0 0\"\"", 0, 1, "pic", "P0 pic:10x10", {0, 1}},
    {"PictureBeforePicture", "P0 pic:20x10 0\"a\"", 0, 0, "pic", "P0 pic:10x10 pic:20x10 0\"a\"", {0, 1}},
    {"PictureAfterPicture", "P0 pic:20x10 0\"a\"", 0, 1, "pic", "P0 pic:20x10 pic:10x10 0\"a\"", {1, 1}},
    {"PictureAfterMarker", "P0 mk 0\"ab\"", 1, 1, "pic", "P0 mk pic:10x10 0\"ab\"", {1, 1}},
    // The paragraph start and its page break move to the new item.
    {"PictureTakesOverParagraphStart", "P0 0\"ab\" P1 ^ 0\"cd\"", 1, 1, "pic", "P0 0\"ab\" P1 ^ pic:10x10 0\"cd\"",
     {1, 1}},
    {"PictureTakesOverLineStart", "P0 0\"ab\" / 0\"cd\"", 1, 1, "pic", "P0 0\"ab\" / pic:10x10 0\"cd\"", {1, 1}},
    // A break stands alone: the text after it starts a paragraph.
    {"BreakAtTextStart", "P1 0\"ab\"", 0, 1, "brk", "P0 brk P1 0\"ab\"", {0, 1}},
    {"BreakInTheMiddle", "P0 0\"abcd\"", 0, 3, "brk", "P0 0\"ab\" P0 brk P0 0\"cd\"", {1, 1}},
    {"BreakAtTextEnd", "P0 0\"abcd\"", 0, 5, "brk", "P0 0\"abcd\" P0 brk", {1, 1}},
    {"BreakReplacesEmptyText", "P0 0\"\"", 0, 1, "brk", "P0 brk", {0, 1}},
    {"BreakBeforePicture", "P0 pic:20x10 0\"a\"", 0, 0, "brk", "P0 brk P0 pic:20x10 0\"a\"", {0, 1}},
    {"BreakAfterPicture", "P0 pic:20x10 0\"a\"", 0, 1, "brk", "P0 pic:20x10 P0 brk P0 0\"a\"", {1, 1}},
    // After a marker the marker keeps an empty text for its paragraph.
    {"BreakAfterMarker", "P0 mk 0\"ab\"", 1, 1, "brk", "P0 mk 0\"\" P0 brk P0 0\"ab\"", {2, 1}},
    {"BreakAfterMarkerInEmptyText", "P0 mk 0\"\"", 1, 1, "brk", "P0 mk 0\"\" P0 brk", {2, 1}},
    {"MarkerReplacesEmptyText", "P0 0\"ab\" P0 0\"\"", 1, 1, "mk", "P0 0\"ab\" P0 mk", {1, 1}},
    // The marker before the empty text goes too: one marker per paragraph.
    {"MarkerReplacesEmptyTextAfterMarker", "P0 0\"ab\" P0 mk 0\"\"", 2, 1, "mk", "P0 0\"ab\" P0 mk", {1, 1}},
};

INSTANTIATE_TEST_SUITE_P(Cases, InsertCases, testing::ValuesIn(kInserts),
                         [](const testing::TestParamInfo<InsertCase>& info) { return info.param.name; });

struct RefusalCase {
  const char* name;
  const char* doc;  // R: a read-only paragraph style, S: a sticking text style
  int itemNo;
  int32_t offs;
  const char* kind;
  bool beeps;  // a dropped list marker reports success without a beep
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class InsertRefusal : public CaretTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(InsertRefusal, ChangesNoByteAndLeavesNoUndoGroup) {
  const RefusalCase& c = GetParam();
  LoadAt(WithStyles(c.doc), c.itemNo, c.offs);
  const std::string before = DvfBytes(Data());
  EXPECT_EQ(InsertAtCaret(NewItem(c.kind)), !c.beeps);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, c.beeps ? 1 : 0);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

const RefusalCase kRefusals[] = {
    {"ReadOnlyParagraph", "PR 0\"abcd\"", 0, 3, "pic", true},
    {"StickingBoundaryAtTextEnd", "P0 S\"ab\" S\"cd\"", 0, 3, "pic", true},
    {"StickingBoundaryAtTextStart", "P0 S\"ab\" S\"cd\"", 1, 1, "pic", true},
    {"StickingAroundEmptyText", "P0 S\"ab\" S\"\"", 1, 1, "pic", true},
    {"ModifyProtectedText", "P0 2\"abcd\"", 0, 3, "pic", true},
    // A list marker goes only into an empty line; elsewhere it is dropped.
    {"MarkerAtTextStart", "P0 0\"abcd\"", 0, 1, "mk", false},
    {"MarkerInText", "P0 0\"abcd\"", 0, 3, "mk", false},
    {"MarkerAtTextEnd", "P0 0\"abcd\"", 0, 5, "mk", false},
    {"MarkerBeforePicture", "P0 pic:20x10", 0, 0, "mk", false},
    {"MarkerBesidePicture", "P0 pic:20x10", 0, 1, "mk", false},
    {"MarkerAfterMarker", "P0 mk 0\"ab\"", 1, 1, "mk", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, InsertRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

// Tag inheritance: a new text without a tag takes the tag of the text of
// its own style beside it, when the caller asks.
struct TagCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  int32_t styleNo, tag;  // of the new text "x"
  bool adjustTag;
  const char* expected;
};

void PrintTo(const TagCase& c, std::ostream* os) { *os << c.name; }

class AdjustTag : public CaretTest, public testing::WithParamInterface<TagCase> {};

TEST_P(AdjustTag, NewTextTakesItsSameStyleNeighboursTag) {
  const TagCase& c = GetParam();
  LoadAt(c.doc, c.itemNo, c.offs);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    ASSERT_TRUE(InsertAtCaret(Data().CreateTextItem(TDVTag{c.tag, {}}, 0, false, true, c.styleNo), "x", c.adjustTag));
  }));
  EXPECT_EQ(Doc(), c.expected);
}

const TagCase kTags[] = {
    {"FromTheTextBefore", "P0 @7 0\"ab\"", 0, 3, kGbk, 0, true, "P0 @7 0\"ab\" @7 0\"x\""},
    {"FromTheTextAfter", "P0 @7 0\"ab\"", 0, 1, kGbk, 0, true, "P0 @7 0\"x\" @7 0\"ab\""},
    {"FromTheSplitText", "P0 @7 0\"ab\"", 0, 2, kGbk, 0, true, "P0 @7 0\"a\" @7 0\"x\" @7 0\"b\""},
    {"NotFromAnotherStyle", "P0 @7 1\"ab\"", 0, 3, kGbk, 0, true, "P0 @7 1\"ab\" 0\"x\""},
    {"NotOverItsOwnTag", "P0 @7 0\"ab\"", 0, 3, kGbk, 9, true, "P0 @7 0\"ab\" @9 0\"x\""},
    {"NotUnasked", "P0 @7 0\"ab\"", 0, 3, kGbk, 0, false, "P0 @7 0\"ab\" 0\"x\""},
};

INSTANTIATE_TEST_SUITE_P(Cases, AdjustTag, testing::ValuesIn(kTags),
                         [](const testing::TestParamInfo<TagCase>& info) { return info.param.name; });

TEST_F(CaretTest, InsertedPictureAndSplitUndoAsOneStep) {
  LoadAt("P0 0\"abcd\"", 0, 3);
  ASSERT_TRUE(InsertAtCaret(NewItem("pic")));
  ASSERT_EQ(Data().UndoList->Count(), 1);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Doc(), "P0 0\"abcd\"");
}

TEST_F(CaretTest, TextItemsTakeTheirStylesEncodingAndTag) {
  Load("P0 0\"ab\"");
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    Edit(Data(), dvutInsert, 0, 0, 1, [&] {
      bool full = false;
      Data().InsString(ItemText("中", true), 1, full, false, true, kUni, 0, TDVTag{5, {}});
      Data().InsEmptyString(2, {}, true, false, kGbk, 0);
    });
  }));
  EXPECT_EQ(Doc(), "P0 0\"ab\" @5 1\"中\" / 0\"\"");
  std::unique_ptr<TCustomDVItemInfo> copy = Data().CreateTextItem2({}, *Data().GetItem(1), true, false);
  EXPECT_TRUE(copy->IsUnicode());
  EXPECT_TRUE(copy->BR());
  EXPECT_EQ(copy->Tag.Int, 0);
}

}  // namespace
}  // namespace quillet::test
