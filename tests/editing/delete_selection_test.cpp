// Deleting the selection: paragraphs joined with the first one's style, an
// empty line left where a whole paragraph went, and the protection rules,
// each through the undo and redo check.
#include "caret_test_util.h"

namespace quillet::test {
namespace {

struct DeleteCase {
  const char* name;
  const char* doc;  // R, S, D as WithStyles replaces them
  int startItemNo;
  int32_t startOffs;
  int endItemNo;
  int32_t endOffs;
  const char* expected;  // null: refused
  std::pair<int, int32_t> caret;
};

void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }

class DeleteSelection : public CaretTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteSelection, RemovesTheSelectionOrRefusesWholly) {
  const DeleteCase& c = GetParam();
  const std::string doc = WithStyles(c.doc);
  Load(doc);
  Data().SetSelectionBounds(c.startItemNo, c.startOffs, c.endItemNo, c.endOffs);
  if (!c.expected) {
    const std::string before = DvfBytes(Data());
    EXPECT_FALSE(Data().DeleteSelection_());
    EXPECT_EQ(DvfBytes(Data()), before);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(Data().UndoList->Count(), 0);
    return;
  }
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(Data().DeleteSelection_()); }));
  EXPECT_EQ(Doc(), WithStyles(c.expected));
  EXPECT_EQ(Caret(), c.caret);
  EXPECT_EQ(beeps, 0);
}

const DeleteCase kDeletes[] = {
    {"PartOfText", "P0 0\"abcd\"", 0, 2, 0, 4, "P0 0\"ad\"", {0, 2}},
    {"AcrossParagraphsFirstStyleWins", "P0 0\"abc\" P1 0\"def\"", 0, 2, 1, 2, "P0 0\"aef\"", {0, 2}},
    {"ItemsBetweenGo", "P0 0\"ab\" P1 0\"cd\" P0 0\"ef\"", 0, 2, 2, 2, "P0 0\"af\"", {0, 2}},
    // A whole one-item paragraph leaves an empty line in its style.
    {"WholeParagraphLeavesEmptyLine", "P0 0\"ab\" P1 0\"cd\" P0 0\"ef\"", 1, 1, 1, 3, "P0 0\"ab\" P1 0\"\" P0 0\"ef\"",
     {1, 1}},
    {"WholeFirstParagraph", "P1 0\"ab\" P0 0\"cd\"", 0, 1, 0, 3, "P1 0\"\" P0 0\"cd\"", {0, 1}},
    // The item after a deleted paragraph start starts the paragraph.
    {"ParagraphStartPassesOn", "P1 pic:10x10 0\"cd\"", 0, 0, 0, 1, "P1 0\"cd\"", {0, 1}},
    {"PictureInsideParagraph", "P0 0\"ab\" pic:10x10 1\"cd\"", 1, 0, 1, 1, "P0 0\"ab\" 1\"cd\"", {0, 3}},
    {"DeleteProtectedInPart", "P0 D\"abcd\"", 0, 2, 0, 4, "P0 D\"ad\"", {0, 2}},
    {"DeleteProtectedWhole", "P0 D\"abcd\"", 0, 1, 0, 5, nullptr, {}},
    {"ModifyProtectedWhole", "P0 0\"x\" 2\"abcd\" 0\"y\"", 1, 1, 1, 5, "P0 0\"xy\"", {0, 2}},
    {"ModifyProtectedInPart", "P0 0\"x\" 2\"abcd\" 0\"y\"", 1, 2, 1, 4, nullptr, {}},
    {"DeleteProtectedBetween", "P0 0\"ab\" D\"cd\" 1\"ef\"", 0, 2, 2, 2, nullptr, {}},
    {"ReadOnlyParagraphEntered", "P0 0\"ab\" PR 0\"cd\"", 0, 2, 1, 2, nullptr, {}},
    {"ReadOnlyParagraphLeftAtItsEnd", "P0 0\"ab\" PR 0\"cd\"", 0, 2, 1, 3, nullptr, {}},
    {"ReadOnlyParagraphFromItsStart", "PR 0\"ab\" P0 0\"cd\"", 0, 1, 1, 2, "P0 0\"d\"", {0, 1}},
    {"ReadOnlyParagraphFromItsMiddle", "PR 0\"ab\" P0 0\"cd\"", 0, 2, 1, 2, nullptr, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DeleteSelection, testing::ValuesIn(kDeletes),
                         [](const testing::TestParamInfo<DeleteCase>& info) { return info.param.name; });

TEST_F(CaretTest, NothingSelectedDeletesNothing) {
  LoadAt("P0 0\"ab\"", 0, 2);
  EXPECT_TRUE(Data().DeleteSelection_());
  EXPECT_EQ(Doc(), "P0 0\"ab\"");
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

}  // namespace
}  // namespace quillet::test
